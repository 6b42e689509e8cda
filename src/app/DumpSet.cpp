#include "app/DumpSet.h"

#include "platform/text/TextFile.h"
#include "state/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvane::app {

namespace {

bool exists(const QString& folder) { return QFileInfo(folder).isDir(); }

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

bool renameFolder(const QString& from, const QString& to, QString* error)
{
    if (QDir().rename(from, to))
        return true;
    *error = QStringLiteral("Cannot rename %1 to %2.").arg(native(from), native(to));
    return false;
}

QString markerOf(const QString& folder) { return folder + QLatin1Char('/') + QLatin1String(DumpSetCompleteMarker); }

// The marker goes first: a set whose removal stops half-way must not pass for complete.
bool removeFolder(const QString& folder, QString* error)
{
    if (!QFileInfo::exists(folder))
        return true;
    QFile::remove(markerOf(folder));
    if (!QFileInfo::exists(markerOf(folder)) && QDir(folder).removeRecursively())
        return true;
    *error = QStringLiteral("Cannot delete %1.").arg(native(folder));
    return false;
}

} // namespace

QString dumpFolder() { return programPath(QLatin1String(paths::DumpFolder)); }
QString newDumpFolder() { return dumpFolder() + QStringLiteral(".new"); }
QString oldDumpFolder() { return dumpFolder() + QStringLiteral(".old"); }

bool prepareNewDumpSet(QString* error)
{
    const QString folder = newDumpFolder();
    if (!removeFolder(folder, error))
        return false;
    if (QDir().mkpath(folder))
        return true;
    *error = QStringLiteral("Cannot create the folder %1.").arg(native(folder));
    return false;
}

bool markDumpSetComplete(const QString& folder, QString* error)
{
    return text::writeFileAtomically(markerOf(folder), QByteArrayLiteral("complete\r\n"), error);
}

bool isDumpSetComplete(const QString& folder) { return QFileInfo(markerOf(folder)).isFile(); }

void discardNewDumpSet()
{
    QString ignored;
    removeFolder(newDumpFolder(), &ignored);
}

bool swapInNewDumpSet(QString* error)
{
    const QString current = dumpFolder(), fresh = newDumpFolder(), old = oldDumpFolder();
    if (!removeFolder(old, error))
        return false;
    const bool hadCurrent = exists(current);
    if (hadCurrent && !renameFolder(current, old, error))
        return false;
    if (!renameFolder(fresh, current, error)) {
        if (hadCurrent)
            QDir().rename(old, current); // the next start puts it back if this fails too
        return false;
    }
    // The new set is in place; an .old left behind here is removed by the next start.
    QString ignored;
    removeFolder(old, &ignored);
    return true;
}

bool recoverDumpSet(DumpSetRecovery* what, QString* error)
{
    const QString current = dumpFolder(), fresh = newDumpFolder(), old = oldDumpFolder();
    *what = DumpSetRecovery::Nothing;
    if (exists(fresh)) {
        if (isDumpSetComplete(fresh)) {
            if (exists(current)) {
                if (!removeFolder(old, error) || !renameFolder(current, old, error))
                    return false;
            }
            if (!renameFolder(fresh, current, error))
                return false;
            *what = DumpSetRecovery::Completed;
        } else {
            if (!removeFolder(fresh, error))
                return false;
            *what = DumpSetRecovery::RolledBack;
        }
    }
    if (exists(old)) {
        if (exists(current))
            return removeFolder(old, error);
        if (!renameFolder(old, current, error))
            return false;
        *what = DumpSetRecovery::RolledBack;
    }
    return true;
}

} // namespace quorvane::app
