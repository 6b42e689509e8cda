#pragma once

#include <QString>

namespace quorvane::app {

// The dumps are replaced as one set. The shutdown writes a new set into a sibling folder, marks it complete
// with a file written last, and swaps it in by renames:
//   AccessData.new (complete)  ->  AccessData -> AccessData.old,  AccessData.new -> AccessData,  delete .old
// A start that finds a swap cut short finishes it or undoes it, so the reload always meets one whole set.

QString dumpFolder();    // <program folder>/AccessData
QString newDumpFolder(); // AccessData.new
QString oldDumpFolder(); // AccessData.old

// The file that marks a new set complete; written after every dump of the set.
inline constexpr const char* DumpSetCompleteMarker = ".complete";

// An empty AccessData.new, whatever an earlier attempt left there.
bool prepareNewDumpSet(QString* error);
bool markDumpSetComplete(const QString& folder, QString* error);
bool isDumpSetComplete(const QString& folder);
// Removes AccessData.new (after a failed shutdown).
void discardNewDumpSet();

// Puts the complete AccessData.new in the place of AccessData. A failure before AccessData.new has taken
// its place leaves AccessData as it was.
bool swapInNewDumpSet(QString* error);

enum class DumpSetRecovery {
    Nothing,    // one set, as an orderly shutdown leaves it
    Completed,  // a complete new set had not been swapped in yet: it is now
    RolledBack, // an incomplete new set was dropped, or the old set put back
};

// Brings the dump folders back to one set after a shutdown that was cut short.
bool recoverDumpSet(DumpSetRecovery* what, QString* error);

} // namespace quorvane::app
