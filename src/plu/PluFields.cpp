#include "plu/PluFields.h"

#include "plu/PluEditorValues.h"

namespace quorvane {

namespace f = records::plu;

namespace {

using enum fields::Kind;
using fields::PriceDecimals;
using fields::WeightDecimals;
constexpr auto Always = fields::Write::Always;

using C = ChangeForm;
using L = LeaveCheck;
using A = ComparedAs;
using V = ViewForm;
using E = PluEditorValues;
using B = records::BarcodeControls;
constexpr auto boxText = &records::BarcodeBox::text;

// The range of a box taking `digits` digits.
constexpr PluColumns digits(int count, qint64 min = 0)
{
    qint64 max = 1;
    for (int i = 0; i < count; ++i)
        max *= 10;
    return {.min = min, .max = max - 1};
}

// A number box: its range and its rules.
PluColumns box(PluColumns range, BoxRules rules)
{
    range.box = rules;
    return range;
}

// How the received PLU's view shows it.
PluColumns viewed(PluColumns columns, ViewForm form)
{
    columns.view = form;
    return columns;
}

// Where a row's value lives: the end of a path of members, an array's element given by its index, from the editor's
// values.
template<class T, class M> constexpr auto& step(T& in, M T::*member) { return in.*member; }
template<class T> constexpr auto& step(T& in, int index) { return in[index]; }
template<auto First, auto... Rest, class T> constexpr auto& follow(T& in)
{
    if constexpr (sizeof...(Rest) == 0)
        return step(in, First);
    else
        return follow<Rest...>(step(in, First));
}
template<auto... Path> auto& at(PluEditorValues& tab) { return follow<Path...>(tab); }

} // namespace

// Made on first use: the control tables that attach the box rules are made before main().
const QList<PluField>& pluFields()
{
    // clang-format off
    static const QList<PluField> rows{
        // Page 1
        {.control = "meditPLU", .field = f::PLU_No, .kind = Whole, .write = Always, .maxChars = 6, .focusLimit = 6, .extra = box(digits(6, 1), {.change = C::AnyLeadingZero, .check = L::PluNumber}), .value = at<&E::meditPLU>},
        {.control = "txtName", .field = f::PLU_CommodityFirst, .kind = Text, .maxChars = 100, .focusLimit = 100, .extra = {.view = V::FirstLine50}, .value = at<&E::txtName>},
        {.control = "meditDescription", .field = f::PLU_Description, .kind = Text, .flag = f::Stat2_Description, .extra = {.view = V::FirstLine50}, .value = at<&E::meditDescription>},
        {.control = "meditUPrice", .field = f::PLU_UPrice, .kind = Amount, .decimals = PriceDecimals, .maxChars = 6, .focusLimit = 6, .extra = box(digits(6), {.change = C::Decimal, .check = L::DiscountValues1}), .value = at<&E::meditUPrice>},
        {.control = "meditTare", .field = f::PLU_Tare, .kind = Amount, .decimals = WeightDecimals, .maxChars = 4, .focusLimit = 4, .flag = f::Stat2_PLUTare, .extra = box(digits(4), {.change = C::Decimal}), .value = at<&E::meditTare>},
        {.control = "chkWeighed", .field = f::Stat1_Unit, .kind = CheckBox, .value = at<&E::chkWeighed>},
        {.control = "combSymbol", .field = f::Stat1_PBPreUnit, .kind = ListPosition, .value = at<&E::combSymbol>},
        {.control = "meditCoupledPLU", .field = f::PLU_CoupledPLUNo, .kind = Whole, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_CoupledPLU, .extra = box(digits(6), {.change = C::WholeNumber}), .value = at<&E::meditCoupledPLU>},
        {.control = "chkUPoverride", .field = f::Stat1_UPriceOV, .kind = StatusBit, .value = at<&E::chkUPoverride>},
        {.control = "chknegativePLU", .field = f::Stat1_NegativePLU, .kind = StatusBit, .value = at<&E::chknegativePLU>},
        {.control = "combMG", .field = f::PLU_MG, .kind = Whole, .write = Always, .flag = f::Stat2_MGCode, .extra = {.min = 0, .max = 997, .viewControl = "meditMG"}, .value = at<&E::combMG>},
        {.control = "meditCost", .field = f::PLU_Cost, .kind = Amount, .decimals = PriceDecimals, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_PLUCost, .extra = box(digits(6), {.change = C::Decimal}), .value = at<&E::meditCost>},
        {.control = "combMemDiscType", .field = f::Stat1_MemPriceType, .kind = ListPosition, .value = at<&E::combMemDiscType>},
        {.control = "meditMemDisc(1)", .field = f::PLU_MemDisc1, .kind = Amount, .decimals = PriceDecimals, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = box(digits(6), {.change = C::Decimal}), .value = at<&E::meditMemDisc, 1>},
        {.control = "meditMemDisc(2)", .field = f::PLU_MemDisc2, .kind = Amount, .decimals = PriceDecimals, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = box(digits(6), {.change = C::Decimal}), .value = at<&E::meditMemDisc, 2>},
        {.control = "meditMemDisc(3)", .field = f::PLU_MemDisc3, .kind = Amount, .decimals = PriceDecimals, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = box(digits(6), {.change = C::Decimal}), .value = at<&E::meditMemDisc, 3>},
        {.control = "meditMemDisc(4)", .field = f::PLU_MemDisc4, .kind = Amount, .decimals = PriceDecimals, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_MemDisc, .extra = box(digits(6), {.change = C::Decimal}), .value = at<&E::meditMemDisc, 4>},
        // Page 2
        {.control = "meditItemCode", .field = f::PLU_EANItemCode, .kind = Text, .maxChars = 3, .focusLimit = 3, .flag = f::Stat2_ItemCode, .extra = box({}, {.compared = A::Text}), .value = at<&E::barcode, &B::itemCode, boxText>},
        {.control = "combRSData", .field = f::PLU_RSData, .kind = ListPosition, .flag = f::Stat2_RSData, .value = at<&E::combRSData>},
        {.control = "combBarcodeFormat", .field = f::PLU_BarFormat, .kind = ListPosition, .extra = {.view = V::BarFormats}, .value = at<&E::combBarcodeFormat>},
        {.control = "meditFlagCode1", .field = f::PLU_EANFlags, .kind = Whole, .write = Always, .maxChars = 1, .focusLimit = 1, .extra = box(digits(1), {.compared = A::TensDigit}), .value = at<&E::barcode, &B::flagCode1, boxText>},
        {.control = "meditFlagCode2", .field = f::PLU_EANFlags, .kind = Whole, .write = Always, .maxChars = 1, .focusLimit = 1, .extra = box(digits(1), {.compared = A::UnitsDigit}), .value = at<&E::barcode, &B::flagCode2, boxText>},
        {.control = "meditTaxNum", .field = f::PLU_TaxNo, .kind = Whole, .maxChars = 1, .focusLimit = 1, .flag = f::Stat2_TaxNo, .extra = box(digits(1), {.change = C::WholeNumber}), .value = at<&E::meditTaxNum>},
        {.control = "meditTax2Num", .field = f::PLU_Tax2No, .kind = Whole, .maxChars = 1, .focusLimit = 1, .flag = f::Stat2_Tax2No, .extra = box(digits(1), {.change = C::WholeNumber}), .value = at<&E::meditTax2Num>},
        {.control = "meditDiscScheNum", .field = f::PLU_DiscScheNo, .kind = Whole, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_DiscScheNo, .extra = box(digits(6), {.change = C::WholeNumber}), .value = at<&E::meditDiscScheNum>},
        {.control = "meditPriScheNum", .field = f::PLU_PriScheNo, .kind = Whole, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_PriScheNo, .extra = box(digits(6), {.change = C::WholeNumber}), .value = at<&E::meditPriScheNum>},
        {.control = "meditIngrNum", .field = f::PLU_IngredientNo, .kind = Whole, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_IngredientNo, .extra = box(digits(6), {.change = C::WholeNumber}), .value = at<&E::meditIngrNum>},
        {.control = "meditSMsgNum", .field = f::PLU_SPMessageNo, .kind = Whole, .maxChars = 6, .focusLimit = 6, .flag = f::Stat2_SPMessageNo, .extra = box(digits(6), {.change = C::WholeNumber}), .value = at<&E::meditSMsgNum>},
        // Page 3
        {.control = "combDiscType", .field = f::PLU_Disc_Type, .kind = ListPosition, .flag = f::Stat2_Discount, .value = at<&E::combDiscType>},
        {.control = "DTPickerStartDate", .field = f::PLU_Disc_SDate, .kind = Date, .value = at<&E::DTPickerStartDate>},
        {.control = "DTPickerStartTime", .field = f::PLU_Disc_STime, .kind = Time, .value = at<&E::DTPickerStartTime>},
        {.control = "DTPickerEndDate", .field = f::PLU_Disc_EDate, .kind = Date, .value = at<&E::DTPickerEndDate>},
        {.control = "DTPickerEndTime", .field = f::PLU_Disc_ETime, .kind = Time, .value = at<&E::DTPickerEndTime>},
        {.control = "meditDiscDayOfWeek", .field = f::PLU_DisDayOfWeek, .kind = DayMask, .write = Always, .maxChars = 7, .focusLimit = 7, .flag = f::Stat2_Discount, .extra = box({.min = 0, .max = 127}, {.compared = A::DayMask}), .value = at<&E::meditDiscDayOfWeek>},
        {.control = "meditDiscLimit1", .field = f::PLU_Disc_1stLim, .kind = Amount, .write = Always, .maxChars = 5, .focusLimit = 4, .extra = viewed(box(digits(4), {.change = C::Decimal, .check = L::DiscountLimits1}), V::LimitByUnit), .value = at<&E::meditDiscLimit1>},
        {.control = "meditDiscLimit2", .field = f::PLU_Disc_2ndLim, .kind = Amount, .write = Always, .maxChars = 5, .focusLimit = 4, .extra = viewed(box(digits(4), {.change = C::Decimal, .check = L::DiscountLimits2}), V::LimitByUnit), .value = at<&E::meditDiscLimit2>},
        {.control = "meditDiscLmtPer1", .field = f::PLU_Disc_Within1stL, .kind = Amount, .write = Always, .maxChars = 6, .focusLimit = 6, .extra = viewed(box(digits(6), {.percentByDiscType = true, .change = C::Decimal, .check = L::DiscountValues1}), V::AmountByDiscType), .value = at<&E::meditDiscLmtPer1>},
        {.control = "meditDiscLmtPer2", .field = f::PLU_Disc_Within2ndL, .kind = Amount, .write = Always, .maxChars = 6, .focusLimit = 6, .extra = viewed(box(digits(6), {.percentByDiscType = true, .change = C::Decimal, .check = L::DiscountValues2}), V::AmountByDiscType), .value = at<&E::meditDiscLmtPer2>},
        {.control = "chkPricePriority", .field = f::Stat1_PricePriority, .kind = StatusBit, .value = at<&E::chkPricePriority>},
    };
    // clang-format on
    return rows;
}

const PluField* pluField(const QString& control)
{
    for (const PluField& row : pluFields())
        if (control == QLatin1String(row.control))
            return &row;
    return nullptr;
}

const PluField* pluField(f::Field field)
{
    for (const PluField& row : pluFields())
        if (row.field == field)
            return &row;
    return nullptr;
}

} // namespace quorvane
