#include "plu/PluTransfers.h"

#include "datafiles/DataFileWriters.h"
#include "plu/PluEditorHost.h"
#include "plu/PluRowBinding.h"
#include "plu/PluSave.h"
#include "plu/ReceivedPlus.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"

namespace quorvane {

namespace {

// The editor written into its row (a new PLU appended) and the row marked, in one transaction. The row's rowid;
// none when a box does not read as a number (shown; nothing written).
std::optional<qint64> saveMarked(PluEditorHost& host, const PluEditorValues& tab)
{
    PluEditorState& s = gPluEditor();
    const quint8 wasNew = s.gNewPLU;
    try {
        db::Transaction tx(gDBConnection);
        TakePLUFromTab(tab);
        gRsPLU.setValue(QStringLiteral("Is_Selected"), 1);
        gRsPLU.update();
        tx.commit();
    } catch (const PluInputError& e) {
        s.gNewPLU = wasNew;
        host.showInputError(e);
        return std::nullopt;
    } catch (...) {
        gRsPLU.cancelUpdate();
        s.gNewPLU = wasNew;
        throw;
    }
    return gRsPLU.rowids().at(gRsPLU.absolutePosition());
}

} // namespace

QString pluDataFileName() { return datafiles::dataFileOf("KVB_25"); }

namespace {

TransferRequest pluRequest(TransferMode mode) { return {.mode = mode, .files = {pluDataFileName()}}; }

} // namespace

bool SendCurrentPLU(PluEditorHost& host, const PluTransferSeams& seams)
{
    const PluEditorValues tab = host.editorValues();
    if (!PLUNumberAccepted(host, tab.meditPLU))
        return false;
    const std::optional<qint64> rowid = saveMarked(host, tab);
    if (!rowid)
        return false;

    // Whatever the transfer did, the row is unmarked and the list reloaded, which drops the list's other marks.
    const auto finish = [&] {
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=0 WHERE rowid=?"), {*rowid});
        gPluEditor().gPLUChanged = 0;
        host.refreshPLUList();
        host.setEditModeButtons();
    };
    try {
        // One connection sees its own writes: a mark it cannot see was not written.
        if (!gDBConnection.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM KVB_25 WHERE Is_Selected<>0)")).toBool())
            throw db::DbError(gLangMsg.text(QStringLiteral("dbWriteErr")),
                              QStringLiteral("The send mark of PLU %1 is not in the table.").arg(tab.meditPLU));
        try {
            records::EncodePLURecord(gRsPLU, true);
        } catch (const records::CodecError& e) {
            // The data file is written from the fields; only the stored record stays as it was.
            seams.warn(QStringLiteral("pluRecordKept"),
                       gLangMsg.text(QStringLiteral("pluRecordKept")) + QLatin1Char('\n') + e.message());
        }
        records::ClearBarFormatMemories();
        seams.transfer(pluRequest(TransferSend), true);
    } catch (...) {
        try {
            finish();
        } catch (...) {
            // The first failure is the one to show.
        }
        throw;
    }
    finish();
    return true;
}

bool SendMarkedPLUs(PluEditorHost& host, const PluTransferSeams& seams)
{
    if (AskSavePLUChanges(host) == SaveAnswer::Cancelled)
        return false;
    seams.transfer(pluRequest(TransferSend), true);
    return true;
}

bool DeletePLUsOnScale(PluEditorHost& host, const PluTransferSeams& seams)
{
    if (AskSavePLUChanges(host) == SaveAnswer::Cancelled)
        return false;
    seams.transfer(pluRequest(TransferDelete), true);
    return true;
}

bool FetchPLUs(PluEditorHost& host, const PluTransferSeams& seams)
{
    if (AskSavePLUChanges(host) == SaveAnswer::Cancelled)
        return false;
    // No loader empties its table: rows left by an earlier failure would be reviewed again.
    EmptyReceivedPLUs();
    TransferRequest request = pluRequest(TransferFetch);
    request.lineCheck = receivedLineCheck();
    bool received = false;
    try {
        const std::optional<TransferOutcome> outcome = seams.transfer(request, false);
        if (outcome && outcome->linesLeftOut.count > 0)
            seams.warn(QStringLiteral("receivedLinesLeftOut"),
                       gLangMsg.text(QStringLiteral("receivedLinesLeftOut")) + QLatin1Char('\n')
                           + outcome->linesLeftOut.namedText());
        received = HasReceivedPLUs();
        if (received)
            seams.review();
    } catch (...) {
        try {
            EmptyReceivedPLUs();
        } catch (...) {
            // The first failure is the one to show.
        }
        throw;
    }
    EmptyReceivedPLUs();
    if (received) {
        gDBConnection.exec(QStringLiteral("UPDATE KVB_25 SET Is_Selected=0 WHERE Is_Selected<>0"));
        host.refreshPLUList();
    }
    return received;
}

} // namespace quorvane
