#include "plu/PluSave.h"

#include "plu/PluEditorHost.h"
#include "plu/PluFields.h"
#include "plu/PluRowBinding.h"
#include "settings/FieldKinds.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

namespace quorvane {

namespace {

bool hasCurrentRow() { return gRsPLU.isOpen() && gRsPLU.absolutePosition() >= 0; }

// What goes back into a refused number box: the current row's number; the proposed one when no row is current,
// or for a new PLU when `proposedForNew`.
qint32 refusedNumberPutBack(bool proposedForNew)
{
    const PluEditorState& s = gPluEditor();
    const bool proposed = !hasCurrentRow() || (proposedForNew && s.gNewPLU == 1);
    return proposed ? s.gNewPLUNo : qint32(gRsPLU.intValue(QStringLiteral("PLU_No")));
}

// SavePLU; `showRow` becomes gCurPLURow once the checks have passed, before the list is loaded again.
bool savePLU(PluEditorHost& host, std::optional<qint32> showRow)
{
    PluEditorState& s = gPluEditor();
    const PluEditorValues tab = host.editorValues();
    if (!PLUNumberAccepted(host, tab.meditPLU))
        return false;
    const quint8 wasNew = s.gNewPLU;
    try {
        db::Transaction tx(gDBConnection);
        TakePLUFromTab(tab);
        gRsPLU.update();
        tx.commit();
    } catch (const PluInputError& e) {
        host.showInputError(e);
        return false;
    } catch (...) {
        gRsPLU.cancelUpdate();
        s.gNewPLU = wasNew;
        throw;
    }
    s.gNewPLU = 0;
    s.gPLUChanged = 0;
    if (showRow)
        s.gCurPLURow = *showRow;
    host.setEditModeButtons();
    host.refreshPLUList();
    return true;
}

} // namespace

bool PLUNumberAccepted(PluEditorHost& host, const QString& meditPLU)
{
    const PluField& numberRow = *pluField(QStringLiteral("meditPLU"));
    qint32 number = 0;
    try {
        number = qint32(*pluBoxValue(numberRow, meditPLU, fields::currentFormat()));
    } catch (const PluInputError& e) {
        host.showInputError(e);
        return false;
    }
    if (number < numberRow.extra.min) {
        ShowInputRangeError(host, qint32(numberRow.extra.min - 1), OutOfRange::TooSmall);
        return false;
    }
    if (number > numberRow.extra.max) {
        ShowInputRangeError(host, qint32(numberRow.extra.max + 1), OutOfRange::TooLarge);
        return false;
    }
    return CheckPLUOverlap(host, number) != OverlapCheck::Taken;
}

QString inputRangeErrorText(qint32 limit, OutOfRange refused)
{
    return gLangMsg.text(QStringLiteral("inputErr"))
        + (refused == OutOfRange::TooSmall ? QLatin1Char('>') : QLatin1Char('<')) + QString::number(limit)
        + QLatin1Char('!');
}

void ShowInputRangeError(PluEditorHost& host, qint32 limit, OutOfRange refused)
{
    host.showError(QStringLiteral("inputErr"), inputRangeErrorText(limit, refused));
    host.refusePLUNumber(refusedNumberPutBack(false), false);
}

OverlapCheck CheckPLUOverlap(PluEditorHost& host, qint32 number)
{
    const bool emptyList = !gRsPLU.isOpen() || gRsPLU.recordCount() == 0;
    if (!emptyList && gPluEditor().gNewPLU != 1 && hasCurrentRow()
        && gRsPLU.intValue(QStringLiteral("PLU_No")) == number)
        return OverlapCheck::NotNeeded;
    const bool taken = gDBConnection
                           .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM KVB_25 WHERE PLU_No=? AND ST_No=?)"),
                                   {number, gStoreTree().gCurStoreNo})
                           .toBool();
    if (!taken)
        return OverlapCheck::Free;
    host.showError(QStringLiteral("overlap"), gLangMsg.text(QStringLiteral("overlap")));
    host.refusePLUNumber(refusedNumberPutBack(true), true);
    return OverlapCheck::Taken;
}

bool SavePLU(PluEditorHost& host) { return savePLU(host, std::nullopt); }

SaveAnswer AskSavePLUChanges(PluEditorHost& host)
{
    host.commitFocusedField();
    PluEditorState& s = gPluEditor();
    if (s.gPLUChanged != 1)
        return SaveAnswer::Unchanged;
    switch (host.askSaveChanges()) {
    case PluAnswer::Yes: {
        // A stopped save leaves gCurPLURow on the shown PLU, and the caller stops.
        const bool saved = savePLU(host, host.gridCurrentRow());
        host.setEditModeButtons();
        return saved ? SaveAnswer::Saved : SaveAnswer::Cancelled;
    }
    case PluAnswer::No:
        s.gPLUChanged = 0;
        s.gNewPLU = 0;
        host.setEditModeButtons();
        return SaveAnswer::Dropped;
    case PluAnswer::Cancel:
        break;
    }
    return SaveAnswer::Cancelled;
}

} // namespace quorvane
