#include "records/PluLayout.h"

#include <QtGlobal>

namespace quorvane::records {

using namespace plu;

namespace {

bool widthFits(const PluPart& p)
{
    switch (p.wire) {
    case PluWire::Bcd:
        return p.width >= 1 && p.width <= 4;
    case PluWire::Byte:
        return p.width == 1;
    case PluWire::ItemCode:
        return p.width == 6;
    case PluWire::TextBlock:
        return p.width == 0;
    }
    return false;
}

bool formFits(const PluPart& p)
{
    switch (p.form) {
    case PluColumn::Head:
        return p.wire == PluWire::ItemCode;
    case PluColumn::Text:
        return p.wire == PluWire::TextBlock;
    case PluColumn::None:
        return p.column < 0 && p.fetched < 0 && p.wire != PluWire::ItemCode && p.wire != PluWire::TextBlock;
    default:
        return p.wire == PluWire::Bcd || p.wire == PluWire::Byte;
    }
}

} // namespace

void checkPluLayout(std::span<const PluPart> parts)
{
    bool flagSeen[Count] = {}, fieldSeen[Count] = {};
    int column = 0, fetched = 0; // the first column a later row may take
    for (size_t i = 0; i < parts.size(); ++i) {
        const PluPart& p = parts[i];
        const auto fault = [&](const char* why) {
            qFatal("PLU layout row %d (%s): %s", int(i + 1), name(p.field), why);
        };
        const bool sameFlag = i > 0 && parts[i - 1].flag == p.flag;
        const bool flagShared = sameFlag || (i + 1 < parts.size() && parts[i + 1].flag == p.flag);
        if (p.flag < Stat2_MGCode || p.flag > Stat2_RSData)
            fault("its flag is no Stat2_ presence flag");
        if (flagSeen[p.flag] && !sameFlag)
            fault("its flag has rows before, apart from it");
        if (p.field < 0 || p.field >= Stat1_Unit || fieldSeen[p.field])
            fault("its field is no PLU_ value or has a row before");
        // A text goes from a too long record by its flag, and the item code's flag also says what the data file's EAN
        // column holds: each has its flag to itself.
        if (flagShared && (p.wire == PluWire::ItemCode || p.wire == PluWire::TextBlock))
            fault("its flag carries more than its own field");
        if (!widthFits(p))
            fault("its width is not one its wire has");
        if (!formFits(p))
            fault("its data-file form does not fit its wire or its columns");
        if (p.column >= 0 && p.column < column)
            fault("its data-file column stands before the end of the previous row's");
        if (p.fetched >= 0 && (p.fetched < fetched || p.fetched < p.column))
            fault("its fetched column stands before the end of the previous row's or before its own");
        flagSeen[p.flag] = fieldSeen[p.field] = true;
        if (p.column >= 0)
            column = p.column + pluColumnCount(p.form);
        if (p.fetched >= 0)
            fetched = p.fetched + pluColumnCount(p.form);
    }
    for (int f = Stat2_MGCode; f <= Stat2_RSData; ++f)
        if (!flagSeen[f])
            qFatal("PLU layout: no row carries %s", name(Field(f)));
}

} // namespace quorvane::records
