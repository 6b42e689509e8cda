#include "plu/PluCommands.h"

#include "platform/events/EventPump.h"
#include "plu/PluEditorHost.h"
#include "plu/PluFreeNumbers.h"
#include "plu/PluList.h"
#include "plu/PluRowBinding.h"
#include "plu/PluSave.h"
#include "records/EanData.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

namespace quorvane {

namespace {

bool listHasRows() { return gRsPLU.isOpen() && gRsPLU.recordCount() > 0; }

bool stopped(PluEditorHost& host) { return AskSavePLUChanges(host) == SaveAnswer::Cancelled; }

// The editor's values with the listed row at that grid row shown in them, the row's pending edits dropped.
PluEditorValues showListRow(PluEditorHost& host, int gridRow)
{
    PluEditorValues values = host.editorValues();
    ClearPLUTab(values);
    ShowPLUInTab(gridRow - 1, values);
    return values;
}

} // namespace

bool EnterEditMode()
{
    PluEditorState& s = gPluEditor();
    s.gHideSelectedCol = 1;
    s.gNewPLU = 0;
    return listHasRows();
}

std::optional<bool> EnterDisplayMode(PluEditorHost& host)
{
    PluEditorState& s = gPluEditor();
    s.gHideSelectedCol = 0;
    if (stopped(host)) {
        // The edit-mode buttons stay, so the rules stay those of edit mode too.
        s.gHideSelectedCol = 1;
        return std::nullopt;
    }
    return listHasRows();
}

std::optional<NewPLUEditor> NewPLUCommand(PluEditorHost& host, const QDate& today)
{
    if (stopped(host))
        return std::nullopt;
    PluEditorState& s = gPluEditor();
    NewPLUEditor out{host.editorValues(), {}};
    PluEditorValues& v = out.values;
    out.captions = ApplyPLUEditorCaptions(v, today);
    ClearPLUTab(v);
    s.gNewPLU = 1;
    s.gTextBuf3 = s.gTextBuf1 = s.gTextBuf0 = TextBuffer();
    if (const std::optional<qint32> n = lowestFreePLUNumber(gStoreTree().gCurStoreNo)) {
        v.meditPLU = QString::number(*n);
        s.gNewPLUNo = *n;
    }
    MGComboFill groups = FillMGCombo(MGChoice::TreeGroup);
    v.combMG = groups.combMG;
    v.meditDepartment = groups.meditDepartment;
    v.barcode.itemCode.text = v.meditPLU;
    v.barcode = records::SetBarcodeFlagControls(v.combBarcodeFormat, s.gHideSelectedCol, gRsPLU, v.barcode);
    s.gPLUChanged = 1;
    return out;
}

FreeNumberProposal CopyPLUCommand()
{
    const FreeNumberProposal p = ProposeFreePLUNumber();
    gPluEditor().gNewPLU = 1;
    return p;
}

PluEditorValues CancelPLUCommand(PluEditorHost& host)
{
    PluEditorState& s = gPluEditor();
    s.gPLUChanged = 0;
    if (!listHasRows()) {
        PluEditorValues values = host.editorValues();
        ClearPLUTab(values);
        values.meditPLU.clear();
        s.gNewPLU = 0;
        return values;
    }
    gRsPLU.cancelUpdate();
    return showListRow(host, qBound(1, host.gridCurrentRow(), gRsPLU.recordCount()));
}

UpdatedPLU UpdatePLUCommand(PluEditorHost& host)
{
    UpdatedPLU out;
    out.saved = SavePLU(host);
    out.values = host.editorValues();
    out.discount = DiscTypeClick(out.values);
    return out;
}

bool DeletePLUCommand(PluEditorHost& host) { return !stopped(host) && DeletePLU(host); }

void deletePLURows(const QVector<qint64>& rowids)
{
    // A few hundred rows a statement: far fewer statements than rows, well inside SQLite's limit of values.
    constexpr qsizetype Chunk = 500;
    EventPump pump;
    db::Transaction tx(gDBConnection);
    for (qsizetype first = 0; first < rowids.size(); first += Chunk) {
        const qsizetype n = qMin(Chunk, rowids.size() - first);
        QStringList marks(n, QStringLiteral("?"));
        QVariantList values;
        values.reserve(n);
        for (qsizetype i = first; i < first + n; ++i)
            values << rowids[i];
        gDBConnection.exec(QStringLiteral("DELETE FROM KVB_25 WHERE rowid IN (%1)").arg(marks.join(QLatin1Char(','))),
                           values);
        pump();
    }
    tx.commit();
}

bool DeleteAllPLUCommand(PluEditorHost& host)
{
    if (stopped(host))
        return false;
    if (host.ask(QStringLiteral("delAllPLU"), gLangMsg.text(QStringLiteral("delAllPLU"))) != PluAnswer::Yes)
        return false;
    if (gRsPLU.isOpen()) {
        gRsPLU.cancelUpdate();
        deletePLURows(gRsPLU.rowids());
    }
    gPluEditor().gCurPLURow = 1;
    host.refreshPLUList();
    return true;
}

std::optional<SteppedPLU> StepPLUCommand(PluEditorHost& host, int direction)
{
    if (stopped(host) || !listHasRows())
        return std::nullopt;
    PluEditorState& s = gPluEditor();
    SteppedPLU out;
    out.previousRow = s.gCurPLURow;
    out.row = qBound(1, host.gridCurrentRow() + direction, gRsPLU.recordCount());
    out.values = showListRow(host, out.row);
    s.gCurPLURow = out.row;
    return out;
}

bool RefreshPLUCommand(PluEditorHost& host)
{
    if (stopped(host))
        return false;
    host.refreshPLUList();
    return true;
}

} // namespace quorvane
