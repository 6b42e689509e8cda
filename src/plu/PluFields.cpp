#include "plu/PluFields.h"

namespace quorvane {

namespace f = records::plu;

namespace {

using enum fields::Kind;
using fields::PriceDecimals;
using fields::WeightDecimals;
constexpr auto Always = fields::Write::Always;

// The range of a box taking `digits` digits.
constexpr PluColumns digits(int count, qint64 min = 0)
{
    qint64 max = 1;
    for (int i = 0; i < count; ++i)
        max *= 10;
    return {min, max - 1};
}

// clang-format off
const QList<PluField> kPluFields{
    // Page 1
    {.control = "meditPLU", .field = f::PLU_No, .kind = Whole, .write = Always, .focusLimit = 6, .extra = digits(6, 1)},
    {.control = "txtName", .field = f::PLU_CommodityFirst, .kind = Text, .focusLimit = 100},
    {.control = "meditDescription", .field = f::PLU_Description, .kind = Text, .flag = f::Stat2_Description},
    {.control = "meditUPrice", .field = f::PLU_UPrice, .kind = Amount, .decimals = PriceDecimals, .focusLimit = 6, .extra = digits(6)},
    {.control = "meditTare", .field = f::PLU_Tare, .kind = Amount, .decimals = WeightDecimals, .focusLimit = 4, .flag = f::Stat2_PLUTare, .extra = digits(4)},
    {.control = "chkWeighed", .field = f::Stat1_Unit, .kind = CheckBox},
    {.control = "combSymbol", .field = f::Stat1_PBPreUnit, .kind = ListPosition},
    {.control = "meditCoupledPLU", .field = f::PLU_CoupledPLUNo, .kind = Whole, .focusLimit = 6, .flag = f::Stat2_CoupledPLU, .extra = digits(6)},
    {.control = "chkUPoverride", .field = f::Stat1_UPriceOV, .kind = StatusBit},
    {.control = "chknegativePLU", .field = f::Stat1_NegativePLU, .kind = StatusBit},
    {.control = "combMG", .field = f::PLU_MG, .kind = Whole, .write = Always, .flag = f::Stat2_MGCode, .extra = {0, 997}},
    {.control = "meditCost", .field = f::PLU_Cost, .kind = Amount, .decimals = PriceDecimals, .focusLimit = 6, .flag = f::Stat2_PLUCost, .extra = digits(6)},
    {.control = "combMemDiscType", .field = f::Stat1_MemPriceType, .kind = ListPosition},
    {.control = "meditMemDisc(1)", .field = f::PLU_MemDisc1, .kind = Amount, .decimals = PriceDecimals, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = digits(6)},
    {.control = "meditMemDisc(2)", .field = f::PLU_MemDisc2, .kind = Amount, .decimals = PriceDecimals, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = digits(6)},
    {.control = "meditMemDisc(3)", .field = f::PLU_MemDisc3, .kind = Amount, .decimals = PriceDecimals, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = digits(6)},
    {.control = "meditMemDisc(4)", .field = f::PLU_MemDisc4, .kind = Amount, .decimals = PriceDecimals, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = digits(6)},
    // Page 2
    {.control = "meditItemCode", .field = f::PLU_EANItemCode, .kind = Text, .focusLimit = 3, .flag = f::Stat2_ItemCode},
    {.control = "combRSData", .field = f::PLU_RSData, .kind = ListPosition, .flag = f::Stat2_RSData},
    {.control = "combBarcodeFormat", .field = f::PLU_BarFormat, .kind = ListPosition},
    {.control = "meditFlagCode1", .field = f::PLU_EANFlags, .kind = Whole, .write = Always, .focusLimit = 1, .extra = digits(1)},
    {.control = "meditFlagCode2", .field = f::PLU_EANFlags, .kind = Whole, .write = Always, .focusLimit = 1, .extra = digits(1)},
    {.control = "meditTaxNum", .field = f::PLU_TaxNo, .kind = Whole, .focusLimit = 1, .flag = f::Stat2_TaxNo, .extra = digits(1)},
    {.control = "meditTax2Num", .field = f::PLU_Tax2No, .kind = Whole, .focusLimit = 1, .flag = f::Stat2_Tax2No, .extra = digits(1)},
    {.control = "meditDiscScheNum", .field = f::PLU_DiscScheNo, .kind = Whole, .focusLimit = 6, .flag = f::Stat2_DiscScheNo, .extra = digits(6)},
    {.control = "meditPriScheNum", .field = f::PLU_PriScheNo, .kind = Whole, .focusLimit = 6, .flag = f::Stat2_PriScheNo, .extra = digits(6)},
    {.control = "meditIngrNum", .field = f::PLU_IngredientNo, .kind = Whole, .focusLimit = 6, .flag = f::Stat2_IngredientNo, .extra = digits(6)},
    {.control = "meditSMsgNum", .field = f::PLU_SPMessageNo, .kind = Whole, .focusLimit = 6, .flag = f::Stat2_SPMessageNo, .extra = digits(6)},
    // Page 3
    {.control = "combDiscType", .field = f::PLU_Disc_Type, .kind = ListPosition, .flag = f::Stat2_Discount},
    {.control = "DTPickerStartDate", .field = f::PLU_Disc_SDate, .kind = Date},
    {.control = "DTPickerStartTime", .field = f::PLU_Disc_STime, .kind = Time},
    {.control = "DTPickerEndDate", .field = f::PLU_Disc_EDate, .kind = Date},
    {.control = "DTPickerEndTime", .field = f::PLU_Disc_ETime, .kind = Time},
    {.control = "meditDiscDayOfWeek", .field = f::PLU_DisDayOfWeek, .kind = DayMask, .write = Always, .focusLimit = 7, .flag = f::Stat2_Discount, .extra = {0, 127}},
    {.control = "meditDiscLimit1", .field = f::PLU_Disc_1stLim, .kind = Amount, .write = Always, .focusLimit = 5, .extra = digits(4)},
    {.control = "meditDiscLimit2", .field = f::PLU_Disc_2ndLim, .kind = Amount, .write = Always, .focusLimit = 5, .extra = digits(4)},
    {.control = "meditDiscLmtPer1", .field = f::PLU_Disc_Within1stL, .kind = Amount, .write = Always, .focusLimit = 6, .extra = digits(6)},
    {.control = "meditDiscLmtPer2", .field = f::PLU_Disc_Within2ndL, .kind = Amount, .write = Always, .focusLimit = 6, .extra = digits(6)},
    {.control = "chkPricePriority", .field = f::Stat1_PricePriority, .kind = StatusBit},
};
// clang-format on

} // namespace

const QList<PluField>& pluFields() { return kPluFields; }

const PluField* pluField(const QString& control)
{
    for (const PluField& row : kPluFields)
        if (control == QLatin1String(row.control))
            return &row;
    return nullptr;
}

const PluField* pluField(f::Field field)
{
    for (const PluField& row : kPluFields)
        if (row.field == field)
            return &row;
    return nullptr;
}

} // namespace quorvane
