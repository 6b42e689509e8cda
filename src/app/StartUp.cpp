#include "app/StartUp.h"

#include "app/DumpSet.h"
#include "app/SingleInstance.h"
#include "app/TableDumps.h"
#include "app/WorkingDatabase.h"
#include "platform/events/DoEvents.h"
#include "platform/text/Paths.h"
#include "presetkeys/PresetKeyTable.h"
#include "records/ScaleRecordDumps.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace quorvane::app {

namespace {

QStringList& tablesNotApplied() { return programState().tablesNotApplied; }

bool readSettings(QString* error)
{
    const QString path = programPath(QLatin1String(paths::SettingsFile));
    gSettings() = SettingsRecord{};
    SettingsFileError e;
    if (readSettingsFile(path, &gSettings(), &e))
        return true;
    *error = e.line > 0 ? QStringLiteral("Quorvane cannot start: the settings file %1 cannot be read at line %2: %3.")
                              .arg(text::nativePath(path))
                              .arg(e.line)
                              .arg(e.message)
                        : QStringLiteral("Quorvane cannot start: %1").arg(e.message);
    return false;
}

// The PLUs whose store, or section other than 0 ("Not Used"), no row holds, so that the tree shows them under no
// store or no section: "PLU 5 (store 7)", "PLU 9 (store 1, section 4)". Read from the rows the reload held, as
// reading the PLU table back would cost a tenth of the start.
QStringList plusWithoutTheirNode(const records::HeldPluRows& plus)
{
    namespace plu = records::plu;
    const qsizetype width = plus.fields.size(), number = plus.fields.indexOf(plu::PLU_No),
                    store = plus.fields.indexOf(plu::ST_No), section = plus.fields.indexOf(plu::SECT_No);
    if (number < 0 || store < 0)
        return {};
    QSet<qint64> stores;
    QSet<QPair<qint64, qint64>> sections;
    for (db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT ST_No FROM STORE")); st.step();)
        stores.insert(st.columnInt(0));
    for (db::Statement st = gDBConnection.prepare(QStringLiteral("SELECT ST_No, SECT_No FROM SECT")); st.step();)
        sections.insert({st.columnInt(0), st.columnInt(1)});
    constexpr int listedAtMost = 20;
    QStringList named;
    qint64 more = 0;
    for (qsizetype i = 0; i < plus.rowCount(); ++i) {
        const QVariant* row = plus.values.constData() + i * width;
        const qint64 st = row[store].toLongLong(), sect = section < 0 ? 0 : row[section].toLongLong();
        const bool storeExists = stores.contains(st);
        if (storeExists && (sect == 0 || sections.contains({st, sect})))
            continue;
        if (named.size() == listedAtMost) {
            ++more;
            continue;
        }
        const QString no = QString::number(row[number].toLongLong());
        named << (storeExists ? QStringLiteral("PLU %1 (store %2, section %3)").arg(no).arg(st).arg(sect)
                              : QStringLiteral("PLU %1 (store %2)").arg(no).arg(st));
    }
    if (more > 0)
        named << QStringLiteral("and %1 more").arg(more);
    return named;
}

// The text dumps, the record dumps and the decoded records land together or not at all. A text dump whose
// rows are not those its set was saved with is said, by table, in `shortOf`.
bool reloadDumps(QStringList* messages, QHash<QString, QString>* shortOf, QStringList* homeless, QString* error)
{
    const QString folder = dumpFolder();
    QList<TextDumpShortfall> shortfalls;
    records::HeldPluRows plus; // written once each, whole, by the record reload
    try {
        db::Transaction tx(gDBConnection);
        if (!LoadTablesFromText(folder, error, dumpRowCounts(folder), &shortfalls, &plus)
            || !records::LoadBinDataFromFiles(folder, messages, error, &tablesNotApplied(), &plus))
            return false;
        *homeless = plusWithoutTheirNode(plus);
        for (const TextDumpShortfall& s : std::as_const(shortfalls)) {
            tablesNotApplied() << s.table;
            shortOf->insert(s.table,
                            s.cut ? QStringLiteral("%1 ends inside a row: %2 whole rows of %3 are loaded. ")
                                        .arg(s.file)
                                        .arg(s.rows)
                                        .arg(s.expected)
                                  : QStringLiteral("%1 holds %2 rows, not the %3 it was saved with. ")
                                        .arg(s.file)
                                        .arg(s.rows)
                                        .arg(s.expected));
        }
        tablesNotApplied().removeDuplicates();
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

// The offer of a database the last exit kept: when and where it was kept.
QString keptOffer(const KeptDatabase& kept)
{
    return gLangMsg.text(QStringLiteral("keptDbOffer")) + QLatin1Char('\n')
        + kept.keptAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('\n') + text::nativePath(kept.path);
}

// Names the dump files that are not as their set was saved, or all of a set without a marker, and counts their
// tables as not applied, so the next exit keeps their dumps as they are. Returns those tables.
QStringList sayDumpSetCheck(const DumpSetCheck& check, QStringList* messages)
{
    QStringList files, tables;
    for (const DumpFileDamage& d : check.damaged) {
        files << (d.why.isEmpty() ? d.file : QStringLiteral("%1: %2").arg(d.file, d.why));
        for (const TableDump& t : tableDumps())
            if (dumpFilesOf(t.table).contains(d.file) && !tables.contains(t.table))
                tables << t.table;
    }
    if (files.isEmpty())
        return tables;
    *messages << (check.unmarked ? gLangMsg.text(QStringLiteral("dumpSetUnmarked")) + QLatin1Char('\n')
                          + files.join(QStringLiteral(", "))
                                 : gLangMsg.text(QStringLiteral("dumpFilesChanged")) + QLatin1Char('\n')
                          + files.join(QLatin1Char('\n')));
    tablesNotApplied() << tables;
    return tables;
}

// What becomes of a table whose dumps were not applied whole, for the message at the end of start-up, after
// `said`; without it a text dump that is missing or empty, and so gave its records no rows, is named.
QString keptAtNextExit(const QString& table, QString said)
{
    const QStringList files = dumpFilesOf(table); // the text dump first
    QStringList kept;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QFileInfo info(dumpFolder() + QLatin1Char('/') + files[i]);
        if (info.isFile())
            kept << files[i];
        if (i == 0 && said.isEmpty() && (!info.isFile() || info.size() == 0))
            said = QStringLiteral("%1 is %2. ")
                       .arg(files[i], info.isFile() ? QStringLiteral("empty") : QStringLiteral("missing"));
    }
    if (kept.isEmpty())
        return said.trimmed();
    return said
        + (kept.size() == 1
               ? QStringLiteral("The next exit keeps %1 as it is now, with \".bak\" added to its name.")
               : QStringLiteral("The next exit keeps %1 as they are now, with \".bak\" added to their names."))
              .arg(kept.join(QStringLiteral(" and ")));
}

// The records the record dumps cannot build themselves: a preset key's needs the keys per page of its layout,
// read once from the preset-key file for the whole exit. A layout the file lacks declines the row.
records::RecordEncoders exitEncoders(presetkeys::LayoutKeyCounts& layouts)
{
    return {{QStringLiteral("KVB_41"), [&layouts](const db::Recordset& row, QStringList*) {
                 return presetkeys::presetKeyRecordOfRow(row, layouts);
             }}};
}

// The groups of the language menu, and the one the settings name when it is none of them.
QStringList languageGroups()
{
    QStringList groups;
    for (int index = 0; !languageNameFor(index).isEmpty(); ++index)
        groups << languageNameFor(index);
    if (const QString current = gSettings().gLanguageName; !current.isEmpty() && !groups.contains(current))
        groups << current;
    return groups;
}

QStringList filesNotApplied()
{
    QStringList files;
    for (const QString& table : std::as_const(tablesNotApplied()))
        files << dumpFilesOf(table);
    return files;
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
    // A damaged language or parameter file is said at the end; the program goes on with the texts it has.
    QStringList messages;
    if (const QStringList problems = textFileProblems(languageGroups()); !problems.isEmpty())
        messages << gLangMsg.text(QStringLiteral("langFileErr")) + QLatin1Char('\n') + problems.join(QLatin1Char('\n'));

    // A database that the last exit kept because it could not save is offered back before one is built.
    const std::optional<KeptDatabase> kept = keptWorkingDatabase();
    QString movedAside;
    bool resumed = false;
    if (kept && view.askYesNo(QStringLiteral("keptDbOffer"), keptOffer(*kept))) {
        resumed = adoptKeptDatabase(*kept, &movedAside, &error);
        if (resumed && !OpenDatabase(&error)) {
            CloseDatabase();
            giveBackKeptDatabase(*kept);
            resumed = false;
        }
        if (!resumed)
            view.showMessage(gLangMsg.text(QStringLiteral("keptDbUnusable")) + QLatin1Char('\n')
                                 + text::nativePath(kept->path) + QLatin1Char('\n') + error,
                             MessageIcon::Exclamation);
    }
    if (!resumed && !BuildWorkingDatabase(&movedAside, &error)) {
        view.showMessage(error, MessageIcon::Critical);
        return false;
    }

    // From here a failure removes the working database it built, or gives back the kept one, so nothing is left
    // changed.
    auto abandon = [&](const QString& message, MessageIcon icon) {
        CloseDatabase();
        QString ignored;
        if (resumed)
            giveBackKeptDatabase(*kept);
        else
            DeleteWorkingDatabase(&ignored);
        view.showMessage(message, icon);
        return false;
    };
    if (!resumed && !OpenDatabase())
        return abandon(gLangMsg.text(QStringLiteral("linkADO")), MessageIcon::Critical);

    RecoveredSet recovered = RecoveredSet::AsItWas;
    if (!recoverDumpSet(&messages, &error, &recovered))
        return abandon(
            QStringLiteral("Quorvane cannot start: the folder of the saved data cannot be restored: %1").arg(error),
            MessageIcon::Critical);
    // Which data are loaded depends on how far the exit of that run came. (A database left beside a kept one is
    // from a start cut short before it asked no more, so it holds no work; taking the kept one moves it aside.)
    if (!movedAside.isEmpty() && !resumed)
        view.showMessage((recovered == RecoveredSet::CutShortExit ? gLangMsg.text(QStringLiteral("crashAfterSaving"))
                                                                  : gLangMsg.text(QStringLiteral("crashKeptDb")))
                             + QLatin1Char('\n') + text::nativePath(movedAside),
                         MessageIcon::Information);
    tablesNotApplied().clear();
    QHash<QString, QString> shortOf;
    QStringList covered; // tables whose files the check of the set has named
    QStringList homeless;
    if (!resumed) {
        covered = sayDumpSetCheck(checkDumpSet(dumpFolder()), &messages);
        if (!reloadDumps(&messages, &shortOf, &homeless, &error))
            return abandon(QStringLiteral("Quorvane cannot start: the saved data cannot be loaded.\n%1\nThe saved "
                                          "data have not been changed.")
                               .arg(error),
                           MessageIcon::Critical);
    }
    forgetKeptDatabases(); // asked once: a database not taken stays where it is, named in the question

    for (const QString& table : std::as_const(tablesNotApplied()))
        if (!covered.contains(table) || shortOf.contains(table))
            messages << keptAtNextExit(table, shortOf.value(table));
    if (!homeless.isEmpty())
        messages << gLangMsg.text(QStringLiteral("pluNodeMissing")) + QLatin1Char('\n')
                + homeless.join(QStringLiteral(", "));

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
    SwapResult swap = SwapResult::NotSwapped;
    presetkeys::LayoutKeyCounts layouts;
    DumpRowCounts rows;
    DumpSeals seals;
    try {
        if (prepareNewDumpSet(&r.warnings, &error) && SaveTablesToText(target, &error, &rows, sealInto(&seals))
            && records::SaveBinDataToFiles(target, dumpFolder(), &r.warnings, &error, exitEncoders(layouts),
                                           sealInto(&seals))
            && keepPreviousFiles(filesNotApplied(), &error)) {
            const QList<UncopiedEntry> uncopied = carryOtherEntries();
            if (markDumpSetComplete(target, rows, seals, &error))
                swap = swapInNewDumpSet(&r.warnings, &error, uncopied);
        }
    } catch (const db::DbError& e) {
        error = e.message();
    }
    if (swap == SwapResult::NotSwapped)
        discardNewDumpSet();
    else
        tablesNotApplied().clear(); // their files are kept in the new set
    CloseDatabase();
    const QString offered = gLangMsg.text(QStringLiteral("keptDbNextStart"));
    releaseTextCollections();
    const QString database = text::nativePath(workingDatabasePath());
    switch (swap) {
    case SwapResult::Swapped:
        if (!DeleteWorkingDatabase(&error))
            r.warnings << error;
        break;
    case SwapResult::NotSwapped: {
        // The work of the run is offered back at the next start.
        const QString kept = keepWorkingDatabase();
        r.error = QStringLiteral("The data cannot be saved: %1\nThe data saved at the last exit are unchanged, and the "
                                 "working database has been kept as %2.")
                      .arg(error, text::nativePath(kept));
        if (kept != workingDatabasePath())
            r.error += QLatin1Char(' ') + offered;
        break;
    }
    case SwapResult::OldSetLeft:
        r.error = QStringLiteral("The data have been saved in %1, but the data saved at the exit before cannot be "
                                 "cleared away: %2\nDelete it while Quorvane is not running, or the next exit cannot "
                                 "save. The working database %3 has been kept.")
                      .arg(text::nativePath(dumpFolder()), error, database);
        break;
    }
    releaseInstanceLock();
    r.saved = swap == SwapResult::Swapped;
    return r;
}

} // namespace quorvane::app
