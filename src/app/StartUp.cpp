#include "app/StartUp.h"

#include "app/DumpSet.h"
#include "app/SingleInstance.h"
#include "app/TableDumps.h"
#include "app/WorkingDatabase.h"
#include "platform/events/DoEvents.h"
#include "records/ScaleRecordDumps.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QDir>
#include <QFileInfo>

namespace quorvane::app {

namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

bool readSettings(QString* error)
{
    const QString path = programPath(QLatin1String(paths::SettingsFile));
    gSettings() = SettingsRecord{};
    SettingsFileError e;
    if (readSettingsFile(path, &gSettings(), &e))
        return true;
    *error = e.line > 0 ? QStringLiteral("Quorvane cannot start: the settings file %1 cannot be read at line %2: %3.")
                              .arg(native(path))
                              .arg(e.line)
                              .arg(e.message)
                        : QStringLiteral("Quorvane cannot start: %1").arg(e.message);
    return false;
}

// The text dumps, the record dumps and the decoded records land together or not at all.
bool reloadDumps(QStringList* messages, QString* error)
{
    const QString folder = dumpFolder();
    try {
        db::Transaction tx(gDBConnection);
        if (!LoadTablesFromText(folder, error) || !records::LoadBinDataFromFiles(folder, messages, error))
            return false;
        for (const char* table : {"KVB_20", "KVB_23", "KVB_14"})
            if (!records::DecodeKVBRecords(QLatin1String(table), error))
                return false;
        tx.commit();
    } catch (const db::DbError& e) {
        *error = e.message();
        return false;
    }
    return true;
}

} // namespace

bool CheckSourceFiles()
{
    for (const char* file : {paths::LanguageFile, paths::ParameterFile, paths::SettingsFile})
        if (!QFileInfo(programPath(QLatin1String(file))).isFile())
            return false;
    return true;
}

bool RunStartUp(StartUpView& view)
{
    view.setProgressText(QStringLiteral("Loading Setting ..."));
    if (!CheckSourceFiles()) {
        view.showMessage(QStringLiteral("Some source file is not exist!"), MessageIcon::Exclamation);
        return false;
    }
    QString error;
    if (!readSettings(&error)) {
        view.showMessage(error, MessageIcon::Critical);
        return false;
    }
    view.showLoadingWindow();
    DoEvents();

    const QList<TextCollectionSource>& sources = textCollectionSources();
    loadTextCollection(sources.first(), gSettings().gLanguageName); // frm_OTHER: the texts of this window
    view.setProgressText(gLangOther.text(QStringLiteral("loadSHOW2")));
    DoEvents();
    for (qsizetype i = 1; i < sources.size(); ++i)
        loadTextCollection(sources[i], gSettings().gLanguageName);
    view.setProgressText(gLangOther.text(QStringLiteral("loadSHOW3")));
    DoEvents();

    QString movedAside;
    if (!BuildWorkingDatabase(&movedAside, &error)) {
        view.showMessage(error, MessageIcon::Critical);
        return false;
    }
    if (!movedAside.isEmpty())
        view.showMessage(QStringLiteral("The last run of Quorvane did not end normally. Its working database has "
                                        "been kept as %1; the data saved at the last orderly exit are loaded.")
                             .arg(native(movedAside)),
                         MessageIcon::Information);

    // From here a failure removes the working database it built, so nothing is left changed.
    auto abandon = [&](const QString& message, MessageIcon icon) {
        CloseDatabase();
        QString ignored;
        DeleteWorkingDatabase(&ignored);
        view.showMessage(message, icon);
        return false;
    };
    if (!OpenDatabase())
        return abandon(gLangMsg.text(QStringLiteral("linkADO")), MessageIcon::Critical);

    DumpSetRecovery recovery;
    if (!recoverDumpSet(&recovery, &error))
        return abandon(
            QStringLiteral("Quorvane cannot start: the folder of the saved data cannot be restored: %1").arg(error),
            MessageIcon::Critical);
    QStringList messages;
    if (!reloadDumps(&messages, &error))
        return abandon(QStringLiteral("Quorvane cannot start: the saved data cannot be loaded.\n%1\nThe saved data "
                                      "have not been changed.")
                           .arg(error),
                       MessageIcon::Critical);

    view.showMainWindow();
    if (!messages.isEmpty())
        view.showMessage(messages.join(QLatin1Char('\n')), MessageIcon::Exclamation);
    return true;
}

ShutdownResult EndProgram()
{
    ShutdownResult r;
    QString error;
    const QString target = newDumpFolder();
    bool ok = false;
    try {
        ok = prepareNewDumpSet(&error) && SaveTablesToText(target, &error)
            && records::SaveBinDataToFiles(target, dumpFolder(), &r.warnings, &error)
            && markDumpSetComplete(target, &error) && swapInNewDumpSet(&error);
    } catch (const db::DbError& e) {
        error = e.message();
    }
    if (!ok)
        discardNewDumpSet();
    CloseDatabase();
    releaseTextCollections();
    if (ok) {
        if (!DeleteWorkingDatabase(&error))
            r.warnings << error;
    } else {
        r.error = QStringLiteral("The data cannot be saved: %1\nThe data saved at the last exit are unchanged, and the "
                                 "working database %2 has been kept.")
                      .arg(error, native(workingDatabasePath()));
    }
    releaseInstanceLock();
    r.saved = ok;
    return r;
}

} // namespace quorvane::app
