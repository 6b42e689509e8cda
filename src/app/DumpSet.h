#pragma once

#include "app/TableDumps.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane::app {

// The dumps are replaced as one set. The shutdown writes a new set into a sibling folder, marks it complete
// with a file written last, and swaps it in by renames:
//   AccessData.new (complete)  ->  AccessData -> AccessData.old,  AccessData.new -> AccessData,  delete .old
// A start that finds a swap cut short finishes it or undoes it, so the reload always meets one whole set.
// A folder of an earlier attempt that cannot be deleted is moved aside under a dated name; one that cannot be
// moved either is named to the operator, and never keeps the saved data from being loaded.

QString dumpFolder();    // <program folder>/AccessData
QString newDumpFolder(); // AccessData.new
QString oldDumpFolder(); // AccessData.old

// The file that marks a new set complete; written after every dump of the set.
inline constexpr const char* DumpSetCompleteMarker = ".complete";

// An empty AccessData.new. What an earlier attempt left there is deleted or moved aside (said in `notes`).
bool prepareNewDumpSet(QStringList* notes, QString* error);
// A file or folder of AccessData that could not be copied into the new set, and why.
struct UncopiedEntry {
    QString name;
    QString why;
};
// Copies into AccessData.new, unchanged, every file and folder of AccessData that the new set does not
// hold (an operator's copy, a note, a kept file): the set carries what the program does not write. What
// cannot be copied stays in the old set, and the swap moves it over.
QList<UncopiedEntry> carryOtherEntries();
// Copies each of the named files of AccessData into AccessData.new under its name followed by ".bak" (".bak.2"
// … when that is taken), so the files a start-up could not apply whole outlive the next set.
bool keepPreviousFiles(const QStringList& files, QString* error);
// The dump files of a table, text dump first, as named in the dump folder.
QStringList dumpFilesOf(const QString& table);

// What the marker says of a dump file, so that the next start can tell whether it is still as it was written.
struct DumpFileSeal {
    qint64 size = 0;
    QByteArray sha256; // 32 bytes
};
using DumpSeals = QMap<QString, DumpFileSeal>;
// Seals each file the dumps write into `seals`, from the bytes written: nothing is read back.
records::DumpWritten sealInto(DumpSeals* seals);

// The marker says "complete", then lists each text dump of the set with its rows ("tempstore.txt 3"), then
// each dump file with its size and SHA-256 ("tempstore.txt size 57 sha256 <64 hex digits>").
bool markDumpSetComplete(const QString& folder, const DumpRowCounts& rows, const DumpSeals& seals, QString* error);
bool isDumpSetComplete(const QString& folder);
// The rows the marker of `folder` lists for each text dump: none for a marker of only "complete" (as an
// earlier exit wrote it) or for no marker.
DumpRowCounts dumpRowCounts(const QString& folder);

// A dump file that is not as its set was saved, and how; `why` is empty where the set has no marker to tell.
struct DumpFileDamage {
    QString file;
    QString why;
};
struct DumpSetCheck {
    bool unmarked = false;         // dump files without a marker: the exit that wrote them did not end
    QList<DumpFileDamage> damaged; // unmarked: every dump file there is
};
// Checks the dump files of `folder` against the sizes and checksums its marker lists. A marker that lists none,
// as the exits before checksums wrote it, is taken as it was: its row counts are what the reload checks.
DumpSetCheck checkDumpSet(const QString& folder);
// Removes AccessData.new (after a failed shutdown).
void discardNewDumpSet();

enum class SwapResult {
    Swapped,    // the new set is AccessData
    NotSwapped, // AccessData is as it was
    OldSetLeft, // the new set is AccessData, but AccessData.old could neither be deleted nor moved aside
};
// Puts the complete AccessData.new in the place of AccessData. `notes` names a folder moved aside. The
// entries that could not be copied are then moved from the old set into the new one; when one cannot be
// moved either, the old set is kept under a dated name beside it, and `notes` says where the entry is.
SwapResult swapInNewDumpSet(QStringList* notes, QString* error, const QList<UncopiedEntry>& uncopied = {});

// Which set recoverDumpSet() left in AccessData.
enum class RecoveredSet {
    AsItWas,      // no exit was cut short during its swap
    CutShortExit, // an exit was cut short after its set was complete: that set, the newer one
    EarlierSet,   // an exit was cut short before its set was complete: the set of the exit before
};
// Brings the dump folders back to one set after a shutdown that was cut short. A folder of an earlier
// attempt that cannot be removed is named in `notes` and start-up goes on; false only when no set can be
// put in place.
bool recoverDumpSet(QStringList* notes, QString* error, RecoveredSet* recovered = nullptr);

// Test seam: asked before every rename and delete of a dump folder, and before an entry of AccessData is
// copied or moved into the new set; false makes the operation fail as a refusal of the file system would.
// Empty, as resetProgramState() leaves it: every operation is tried.
enum class FolderOperation { Rename, Delete, Copy };
using FolderOperationCheck = std::function<bool(FolderOperation operation, const QString& folder)>;
void setFolderOperationCheck(FolderOperationCheck check);

} // namespace quorvane::app
