#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// What the send options do to the tables before a transfer (the dialog is transfer/ui/frmDownLoad.h).

// Marks a whole table for sending: "KVB_14" every flexible barcode; "KVB_20" or "KVB_23" the departments or main
// groups of the current store (gCurStoreNo), every other store's rows unmarked. Any other name does nothing.
// Database failures throw db::DbError.
void MarkStoreForDownload(const QString& table);

// The outcome of a pass over the PLUs marked for sending.
struct PluRecordPass {
    int built = 0;    // records built and saved
    QStringList kept; // the PLUs whose record could not be built, each with the reason: they keep their old one
};

// Builds the scale record of every KVB_25 row marked for sending, inherited bar formats resolved, and saves it
// with the packed flag bytes and the composed item-code data, in stored order and in one transaction, pumping
// events as it goes. A PLU whose record cannot be built keeps its previous record and the pass goes on. A
// database failure rolls the whole pass back and throws db::DbError. A pass that built records empties both
// bar-format memories at its end.
PluRecordPass EncodeMarkedPluRecords();

} // namespace quorvane
