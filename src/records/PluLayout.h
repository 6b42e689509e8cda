#pragma once

#include "records/PluRow.h"

#include <span>
#include <type_traits>
#include <utility>

namespace quorvane::records {

// The optional fields of a PLU, one table read by the record's encoder and decoder, the data-file writer and the
// received-PLU loader: per field, the Stat2_ flag that says it is carried, how the scale record carries it (rows in
// record order, the rows of one flag together) and its column in "PLU0UALL.csv". What no row can say stays named
// code beside its reader: the item-code data's composition, the text blocks' walk, the data file's own columns.

enum class PluWire : quint8 {
    Bcd,       // packed decimal of `width` bytes
    Byte,      // one plain byte; decoded, a value above `most` reads as `most`
    ItemCode,  // PLU_EANData, composed from the item code, its 12 digits two to a byte
    TextBlock, // a text block, as long as its lines make it (width 0)
};

// How the data file writes a field, and how the loader takes it back from a fetched file.
enum class PluColumn : quint8 {
    Number, // the value while its flag is set, else 0; fetched, a value other than 0 is taken with its flag
    Kept,   // written as Number; fetched, taken whatever it is, without the flag
    Date,   // day x 10000 + month x 100 + year written YYMMDD, "000000" without the flag; fetched, turned back
    Time,   // the value, "0000" without the flag; fetched as Kept
    Days,   // seven columns "1" or "0", the bit of 64 first, all "0" without the flag; fetched, the mask they spell
    Text,   // the font code, then the first line between double quotes; "0" and an empty column without the flag
    Head,   // within the head of the line, with the fields every PLU has
    None,   // not in the data file
};

struct PluPart {
    plu::Field flag;
    plu::Field field;
    quint8 width; // bytes in the record
    PluWire wire;
    quint8 most; // a Byte's greatest value
    PluColumn form;
    qint8 column;  // in the data file the program writes; -1: none
    qint8 fetched; // in a fetched data file, before the extra pieces of texts with commas; -1: not read
};

// The columns one field takes in the data file.
constexpr int pluColumnCount(PluColumn form) { return form == PluColumn::Days ? 7 : form == PluColumn::Text ? 2 : 1; }

namespace detail {
using namespace plu;
using enum PluWire;
using enum PluColumn;
// clang-format off
inline constexpr PluPart kPluParts[] = {
    // flag              field            width wire        most form    column fetched
    {Stat2_ItemCode,     PLU_EANData,          6, ItemCode,    0, Head,    7,  7},
    {Stat2_MGCode,       PLU_MG,               2, Bcd,         0, Number,  9,  9},
    {Stat2_PLUTare,      PLU_Tare,             2, Bcd,         0, Number, 10, 10},
    {Stat2_CoupledPLU,   PLU_CoupledPLUNo,     4, Bcd,         0, Number, 11, 11},
    {Stat2_TaxNo,        PLU_TaxNo,            1, Bcd,         0, Number, 12, 12},
    {Stat2_Tax2No,       PLU_Tax2No,           1, Bcd,         0, Number, 13, 13},
    {Stat2_Discount,     PLU_Disc_SDate,       4, Bcd,         0, Date,   14, 14},
    {Stat2_Discount,     PLU_Disc_STime,       2, Bcd,         0, Time,   15, 15},
    {Stat2_Discount,     PLU_Disc_EDate,       4, Bcd,         0, Date,   16, 16},
    {Stat2_Discount,     PLU_Disc_ETime,       2, Bcd,         0, Time,   17, 17},
    {Stat2_Discount,     PLU_Disc_1stLim,      4, Bcd,         0, Kept,   18, 18},
    {Stat2_Discount,     PLU_Disc_Within1stL,  4, Bcd,         0, Kept,   19, 19},
    {Stat2_Discount,     PLU_Disc_2ndLim,      4, Bcd,         0, Kept,   20, 20},
    {Stat2_Discount,     PLU_Disc_Within2ndL,  4, Bcd,         0, Kept,   21, 21},
    {Stat2_Discount,     PLU_Disc_Type,        1, Byte,        6, Number, 22, 22},
    {Stat2_Discount,     PLU_DisDayOfWeek,     1, Byte,      255, Days,   23, 23},
    {Stat2_MemPrice,     PLU_MemPrice,         4, Bcd,         0, None,   -1, -1},
    {Stat2_SPMessageNo,  PLU_SPMessageNo,      4, Bcd,         0, Number, 31, 31},
    {Stat2_IngredientNo, PLU_IngredientNo,     4, Bcd,         0, Number, 32, 32},
    {Stat2_DiscScheNo,   PLU_DiscScheNo,       4, Bcd,         0, Number, 33, 33},
    {Stat2_PriScheNo,    PLU_PriScheNo,        4, Bcd,         0, Number, 34, 34},
    {Stat2_Commodity,    PLU_Commodity,        0, TextBlock,   0, Text,   35, 35},
    {Stat2_Description,  PLU_Description,      0, TextBlock,   0, Text,   37, 37},
    {Stat2_MemDisc,      PLU_MemDisc1,         4, Bcd,         0, Number, 40, 40},
    {Stat2_MemDisc,      PLU_MemDisc2,         4, Bcd,         0, Number, 41, 41},
    {Stat2_MemDisc,      PLU_MemDisc3,         4, Bcd,         0, Number, 42, 42},
    {Stat2_MemDisc,      PLU_MemDisc4,         4, Bcd,         0, Number, 43, 43},
    {Stat2_PLUCost,      PLU_Cost,             4, Bcd,         0, Number, 44, -1},
    {Stat2_RSData,       PLU_RSData,           1, Byte,        3, Number, 48, 53},
};
// clang-format on
} // namespace detail
inline constexpr auto& kPluParts = detail::kPluParts;
inline constexpr int kPluPartCount = int(std::size(kPluParts));

// Calls `step` with each row's index, a std::integral_constant, in table order. Unrolled, so each row's case is
// chosen at compile time and a codec runs as fast as one written out field by field.
template<class Step> constexpr void forEachPluPart(Step&& step)
{
    [&]<int... I>(std::integer_sequence<int, I...>) { (step(std::integral_constant<int, I>()), ...); }
    (std::make_integer_sequence<int, kPluPartCount>());
}

// Stops the program, naming the row, on a table its readers cannot follow: a flag that is no Stat2_ flag or carries
// nothing, the rows of one flag apart, a field twice, a width its wire cannot have, a form that does not fit the
// wire, columns out of order.
void checkPluLayout(std::span<const PluPart> parts);

// Checked once, as the program starts, before any reader runs.
inline const bool kPluLayoutChecked = (checkPluLayout(kPluParts), true);

} // namespace quorvane::records
