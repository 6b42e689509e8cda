#include "app/DumpSet.h"

#include "platform/Error.h"
#include "platform/StateReset.h"
#include "platform/text/Paths.h"
#include "platform/text/TextFile.h"
#include "state/ProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/evp.h>

#include <optional>

namespace quorvane::app {

namespace {

// A test seam: every operation is tried again after a reset of the program state.
FolderOperationCheck gFolderOperationCheck;
const ResetWithState kResetCheck([] { gFolderOperationCheck = nullptr; });

bool allowed(FolderOperation operation, const QString& folder)
{
    return !gFolderOperationCheck || gFolderOperationCheck(operation, folder);
}

bool exists(const QString& folder) { return QFileInfo(folder).isDir(); }
bool taken(const QString& path) { return QFileInfo::exists(path) || QFileInfo(path).isSymLink(); }

QString inFolder(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }

bool renameFolder(const QString& from, const QString& to, QString* error)
{
    if (allowed(FolderOperation::Rename, from) && QDir().rename(from, to))
        return true;
    return failWith(error, QStringLiteral("Cannot rename %1 to %2.").arg(text::nativePath(from), text::nativePath(to)));
}

QString markerOf(const QString& folder) { return inFolder(folder, QLatin1String(DumpSetCompleteMarker)); }

// Through the processor's SHA instructions where it has them: Qt's own SHA-256 would add a fifth to the exit.
QByteArray sha256(QByteArrayView bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), size_t(bytes.size()), digest, &size, EVP_sha256(), nullptr) == 1)
        return QByteArray(reinterpret_cast<const char*>(digest), int(size));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The lines of a marker after "complete", split at their blanks; none when there is no marker.
std::optional<QList<QStringList>> markerLines(const QString& folder)
{
    QByteArray bytes;
    if (!text::readFile(markerOf(folder), &bytes))
        return std::nullopt;
    QList<QStringList> lines;
    const QStringList all = text::splitLines(QString::fromUtf8(bytes));
    for (qsizetype i = 1; i < all.size(); ++i)
        lines << all[i].split(QLatin1Char(' '));
    return lines;
}

// The marker goes first: a set whose removal stops half-way must not pass for complete.
bool removeFolder(const QString& folder, QString* error)
{
    if (!taken(folder))
        return true;
    if (allowed(FolderOperation::Delete, folder)) {
        QFile::remove(markerOf(folder));
        if (!QFileInfo::exists(markerOf(folder)) && QDir(folder).removeRecursively())
            return true;
    }
    return failWith(error, QStringLiteral("Cannot delete %1.").arg(text::nativePath(folder)));
}

// Removes a folder an earlier attempt left; one that cannot be removed is moved aside under a dated name
// (said in `notes`), so it never stands in the way. False when it stays where it is.
bool clearAway(const QString& folder, QStringList* notes, QString* error)
{
    if (removeFolder(folder, error))
        return true;
    const QString aside = text::datedSiblingName(folder);
    if (!renameFolder(folder, aside, nullptr))
        return failWith(error,
                        QStringLiteral("%1 can neither be deleted nor moved aside.").arg(text::nativePath(folder)));
    notes->append(QStringLiteral("The folder %1 could not be deleted; it has been kept as %2.")
                      .arg(text::nativePath(folder), text::nativePath(aside)));
    return true;
}

// Removes a file, link or folder, whatever it holds.
void removeEntry(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else if (taken(path))
        QFile::remove(path);
}

// Moves the entries the new set could not copy from the old set into the new one. One that cannot be moved
// either keeps the old set from being deleted: it is kept under a dated name, and `notes` says where.
bool carryUncopied(const QList<UncopiedEntry>& uncopied, QStringList* notes, QString* error)
{
    const QString current = dumpFolder(), old = oldDumpFolder();
    QList<UncopiedEntry> left;
    for (const UncopiedEntry& e : uncopied) {
        const QString from = inFolder(old, e.name), to = inFolder(current, e.name);
        if (!taken(to) && allowed(FolderOperation::Rename, from) && QDir().rename(from, to))
            notes->append(QStringLiteral("%1 could not be copied into the newly saved data (%2); it has been moved "
                                         "there unchanged.")
                              .arg(e.name, e.why));
        else
            left << e;
    }
    if (left.isEmpty())
        return true;
    const QString aside = text::datedSiblingName(old);
    const bool kept = renameFolder(old, aside, error);
    for (const UncopiedEntry& e : left)
        notes->append(QStringLiteral("%1 could not be carried into the newly saved data (%2); it is kept in %3.")
                          .arg(e.name, e.why, text::nativePath(kept ? aside : old)));
    return kept;
}

} // namespace

QString dumpFolder() { return programPath(QLatin1String(paths::DumpFolder)); }
QString newDumpFolder() { return dumpFolder() + QStringLiteral(".new"); }
QString oldDumpFolder() { return dumpFolder() + QStringLiteral(".old"); }

void setFolderOperationCheck(FolderOperationCheck check) { gFolderOperationCheck = std::move(check); }

bool prepareNewDumpSet(QStringList* notes, QString* error)
{
    const QString folder = newDumpFolder();
    if (!clearAway(folder, notes, error))
        return false;
    if (QDir().mkpath(folder))
        return true;
    return failWith(error, QStringLiteral("Cannot create the folder %1.").arg(text::nativePath(folder)));
}

bool keepPreviousFiles(const QStringList& files, QString* error)
{
    const QString current = dumpFolder(), fresh = newDumpFolder();
    for (const QString& file : files) {
        const QString source = inFolder(current, file);
        if (!QFileInfo(source).isFile())
            continue;
        QByteArray bytes;
        if (!text::readFile(source, &bytes, error))
            return false;
        // A file that fails again the same way is kept once; an earlier copy is never replaced.
        QString name = file + QStringLiteral(".bak");
        bool kept = false;
        for (int n = 2; !kept && (taken(inFolder(current, name)) || taken(inFolder(fresh, name))); ++n) {
            QByteArray earlier;
            kept = text::readFile(inFolder(current, name), &earlier) && earlier == bytes;
            name = file + QStringLiteral(".bak.") + QString::number(n);
        }
        if (!kept && !text::writeFileAtomically(inFolder(fresh, name), bytes, error))
            return false;
    }
    return true;
}

QList<UncopiedEntry> carryOtherEntries()
{
    const QString current = dumpFolder(), fresh = newDumpFolder();
    const QStringList names = QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                      | QDir::NoDotAndDotDot);
    QList<UncopiedEntry> uncopied;
    for (const QString& name : names) {
        // The marker is the new set's own, written last.
        if (name == QLatin1String(DumpSetCompleteMarker) || taken(inFolder(fresh, name)))
            continue;
        const QString source = inFolder(current, name), target = inFolder(fresh, name);
        QString why;
        if (allowed(FolderOperation::Copy, source) && text::copyEntry(source, target, &why))
            continue;
        // One entry the program cannot read must not keep the data from being saved.
        removeEntry(target); // what a folder's copy got as far as
        uncopied << UncopiedEntry{
            name, why.isEmpty() ? QStringLiteral("Cannot read %1.").arg(text::nativePath(source)) : why};
    }
    return uncopied;
}

QStringList dumpFilesOf(const QString& table)
{
    QStringList files;
    for (const TableDump& d : tableDumps())
        if (d.table == table)
            files << d.file;
    if (const QString records = records::recordDumpFile(table); !records.isEmpty())
        files << records;
    return files;
}

records::DumpWritten sealInto(DumpSeals* seals)
{
    return [seals](const QString& file, QByteArrayView bytes) {
        seals->insert(file, DumpFileSeal{bytes.size(), sha256(bytes)});
    };
}

// A line the earlier exits do not read (they take the last word of a line for its rows) seals a file.
bool markDumpSetComplete(const QString& folder, const DumpRowCounts& rows, const DumpSeals& seals, QString* error)
{
    QByteArray marker = QByteArrayLiteral("complete\r\n");
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        marker += it.key().toUtf8() + ' ' + QByteArray::number(it.value()) + "\r\n";
    for (auto it = seals.cbegin(); it != seals.cend(); ++it)
        marker += it.key().toUtf8() + " size " + QByteArray::number(it->size) + " sha256 " + it->sha256.toHex()
            + "\r\n";
    return text::writeFileAtomically(markerOf(folder), marker, error);
}

DumpRowCounts dumpRowCounts(const QString& folder)
{
    DumpRowCounts rows;
    for (const QStringList& line : markerLines(folder).value_or(QList<QStringList>())) {
        bool ok = false;
        const qint64 n = line.size() == 2 ? line[1].toLongLong(&ok) : -1;
        if (ok && n >= 0) // a line that cannot be read counts nothing
            rows.insert(line[0], n);
    }
    return rows;
}

DumpSetCheck checkDumpSet(const QString& folder)
{
    DumpSetCheck check;
    const std::optional<QList<QStringList>> marker = markerLines(folder);
    DumpSeals seals;
    for (const QStringList& line : marker.value_or(QList<QStringList>())) {
        bool ok = false;
        const qint64 size = line.size() == 5 && line[1] == QLatin1String("size") ? line[2].toLongLong(&ok) : -1;
        if (ok && line[3] == QLatin1String("sha256"))
            seals.insert(line[0], DumpFileSeal{size, QByteArray::fromHex(line[4].toLatin1())});
    }
    if (marker && seals.isEmpty())
        return check;
    for (const TableDump& d : tableDumps())
        for (const QString& file : dumpFilesOf(d.table)) {
            const QFileInfo info(inFolder(folder, file));
            if (!marker) {
                if (info.isFile())
                    check.damaged << DumpFileDamage{file, QString()};
                continue;
            }
            const auto seal = seals.constFind(file);
            if (seal == seals.cend())
                continue; // not written by the exit that sealed the set
            QByteArray bytes;
            if (!info.isFile())
                check.damaged << DumpFileDamage{file, QStringLiteral("it is missing")};
            else if (info.size() != seal->size)
                check.damaged << DumpFileDamage{
                    file,
                    QStringLiteral("it holds %1 bytes, not the %2 it was saved with").arg(info.size()).arg(seal->size)};
            else if (QString why; !text::readFile(info.filePath(), &bytes, &why))
                check.damaged << DumpFileDamage{file, why};
            else if (sha256(bytes) != seal->sha256)
                check.damaged << DumpFileDamage{file, QStringLiteral("its bytes are not those it was saved with")};
        }
    check.unmarked = !marker && !check.damaged.isEmpty();
    return check;
}

bool isDumpSetComplete(const QString& folder) { return QFileInfo(markerOf(folder)).isFile(); }

void discardNewDumpSet() { removeFolder(newDumpFolder(), nullptr); }

SwapResult swapInNewDumpSet(QStringList* notes, QString* error, const QList<UncopiedEntry>& uncopied)
{
    const QString current = dumpFolder(), fresh = newDumpFolder(), old = oldDumpFolder();
    if (!clearAway(old, notes, error))
        return SwapResult::NotSwapped;
    const bool hadCurrent = exists(current);
    if (hadCurrent && !renameFolder(current, old, error))
        return SwapResult::NotSwapped;
    if (!renameFolder(fresh, current, error)) {
        if (hadCurrent)
            renameFolder(old, current, nullptr); // the next start puts it back if this fails too
        return SwapResult::NotSwapped;
    }
    if (uncopied.isEmpty())
        return clearAway(old, notes, error) ? SwapResult::Swapped : SwapResult::OldSetLeft;
    // The old set holds what could not be copied: it is deleted only once that has been moved out.
    if (!carryUncopied(uncopied, notes, error))
        return SwapResult::OldSetLeft;
    return exists(old) && !clearAway(old, notes, error) ? SwapResult::OldSetLeft : SwapResult::Swapped;
}

bool recoverDumpSet(QStringList* notes, QString* error, RecoveredSet* recovered)
{
    RecoveredSet ignored;
    RecoveredSet& set = recovered ? *recovered : ignored;
    set = RecoveredSet::AsItWas;
    const QString current = dumpFolder(), fresh = newDumpFolder(), old = oldDumpFolder();
    // What cannot be cleared away is named; the set in AccessData is loaded all the same.
    auto leftOver = [&](const QString& folder) {
        QString why;
        if (!clearAway(folder, notes, &why))
            notes->append(QStringLiteral("%1 It is left from an exit that was cut short and has not been loaded. "
                                         "Delete it while Quorvane is not running.")
                              .arg(why));
    };
    if (exists(fresh)) {
        if (isDumpSetComplete(fresh)) {
            if (exists(current) && (!clearAway(old, notes, error) || !renameFolder(current, old, error)))
                return false;
            if (!renameFolder(fresh, current, error))
                return false;
            set = RecoveredSet::CutShortExit;
        } else {
            leftOver(fresh);
            set = RecoveredSet::EarlierSet;
        }
    }
    if (exists(old)) {
        // Beside AccessData, the old set is left by a swap that had put the new set in place.
        if (exists(current)) {
            leftOver(old);
            if (set == RecoveredSet::AsItWas)
                set = RecoveredSet::CutShortExit;
        } else if (!renameFolder(old, current, error)) {
            return false;
        } else {
            set = RecoveredSet::EarlierSet;
        }
    }
    return true;
}

} // namespace quorvane::app
