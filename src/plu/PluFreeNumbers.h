#pragma once

#include <QString>

#include <optional>

namespace quorvane {

// The lowest number from 1 to 999996 that no KVB_25 row of the store uses, from one query; none when all
// are taken. Numbers outside that range do not count.
std::optional<qint32> lowestFreePLUNumber(qint16 storeNo);
// Its query; the store number is its one value.
QString lowestFreePLUNumberQuery();

// The copy command's proposal. Outside edit mode nothing happens (editMode false). In edit mode the lowest
// free number of gCurStoreNo, also kept in gNewPLUNo, goes into meditPLU with its text selected (none when
// every number is taken: meditPLU and gNewPLUNo keep theirs); then page 1 is selected and meditPLU focused.
struct FreeNumberProposal {
    bool editMode = false;
    std::optional<qint32> number;
};
FreeNumberProposal ProposeFreePLUNumber();

} // namespace quorvane
