#include "support/LanguageFileLayout.h"

#include "app/ui/frmEnd.h"
#include "app/ui/frmLoading.h"
#include "mainwindow/ui/frmMain.h"
#include "mainwindow/ui/frmProperties.h"
#include "mainwindow/ui/frmScProperties.h"
#include "mainwindow/ui/frmSearch.h"
#include "otherfiles/ui/frmOtherFile.h"
#include "otherfiles/ui/frmScrollMSG.h"
#include "platform/text/Ansi.h"
#include "platform/ui/ControlTable.h"
#include "platform/ui/MenuTable.h"
#include "plu/ui/frmStringEdit.h"
#include "plu/ui/frmUpload.h"
#include "presetkeys/ui/frmAutoPresetKey.h"
#include "presetkeys/ui/frmFlexiBarcode.h"
#include "presetkeys/ui/frmPresetKey.h"
#include "presetkeys/ui/frmPutPreKey.h"
#include "reports/ui/frmExportReportData.h"
#include "reports/ui/frmImportOrExport.h"
#include "reports/ui/frmResetReportData.h"
#include "settings/TextCollections.h"
#include "settings/ui/frmAbout.h"
#include "settings/ui/frmScale.h"
#include "settings/ui/frmTranslate.h"
#include "state/ProgramFolder.h"
#include "state/TextCollectionsState.h"
#include "state/TwoLevelReader.h"
#include "transfer/ui/frmDownLoad.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

namespace {

const QString DataDir = QStringLiteral(QUORVANE_SOURCE_DATA_DIR);
const QString SourceDir = QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/../src");
const QStringList Groups{QStringLiteral("Standard"), QStringLiteral("Chinese"), QStringLiteral("Other")};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Lookup {
    QString collection;
    QString key;
    QString where;
};

// Every control table and menu table of the program, by the name it is defined under. A window's table is added
// here when the window is written; the test fails while one is missing.
struct Tables {
    QMap<QString, const ui::ControlTable*> controls{
        {QStringLiteral("frmFTPDataTrans::kControls"), &frmFTPDataTrans::kControls},
        {QStringLiteral("frmLoading::kControls"), &frmLoading::kControls},
        {QStringLiteral("frmEnd::kControls"), &frmEnd::kControls},
        {QStringLiteral("frmMain::kControls"), &frmMain::kControls},
        {QStringLiteral("frmMain::kPluEditor"), &frmMain::kPluEditor},
        {QStringLiteral("frmPresetKey::kControls"), &frmPresetKey::kControls},
        {QStringLiteral("frmScale::kControls"), &frmScale::kControls},
        {QStringLiteral("frmAbout::kControls"), &frmAbout::kControls},
        {QStringLiteral("frmTranslate::kControls"), &frmTranslate::kControls},
        {QStringLiteral("frmExportReportData::kControls"), &frmExportReportData::kControls},
        {QStringLiteral("frmExportReportData::kFileButtons"), &frmExportReportData::kFileButtons},
        {QStringLiteral("frmResetReportData::kControls"), &frmResetReportData::kControls},
        {QStringLiteral("frmImportOrExport::kControls"), &frmImportOrExport::kControls},
        {QStringLiteral("frmProperties::kControls"), &frmProperties::kControls},
        {QStringLiteral("frmScProperties::kControls"), &frmScProperties::kControls},
        {QStringLiteral("frmSearch::kControls"), &frmSearch::kControls},
        {QStringLiteral("frmDownLoad::kControls"), &frmDownLoad::kControls},
        {QStringLiteral("frmPutPreKey::kControls"), &frmPutPreKey::kControls},
        {QStringLiteral("frmAutoPresetKey::kControls"), &frmAutoPresetKey::kControls},
        {QStringLiteral("frmFlexiBarcode::kControls"), &frmFlexiBarcode::kControls},
        {QStringLiteral("frmStringEdit::kControls"), &frmStringEdit::kControls},
        {QStringLiteral("frmUpload::kControls"), &plu::frmUpload::kControls},
        {QStringLiteral("frmUpload::kRecordView"), &plu::frmUpload::kRecordView},
        {QStringLiteral("frmScrollMSG::kControls"), &frmScrollMSG::kControls},
        {QStringLiteral("frmOtherFile::kControls"), &frmOtherFile::kControls},
        {QStringLiteral("frmOtherFile::kScheduleLabels"), &frmOtherFile::kScheduleLabels},
    };
    QMap<QString, const ui::MenuTable*> menus{
        {QStringLiteral("frmMain::kMenus"), &frmMain::kMenus},
    };
};

// A language or parameter file damaged as a copy, an editor or a disk can leave it.
struct DamagedFile {
    const char* file = "ini/language.ini";
    QByteArray (*damage)(const QByteArray& shipped) = [](const QByteArray& shipped) { return shipped; };
    QStringList said = {};     // by textFileProblems, each relative to the program folder
    const char* writeErr = ""; // msgbox's fileWriteErr after loading the Chinese group; empty: not checked
};

} // namespace

Q_DECLARE_METATYPE(DamagedFile)

class TestLanguageFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setProgramFolder(DataDir); }

    void layout_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("language.ini") << QString::fromLatin1(paths::LanguageFile);
        QTest::newRow("ParameterPLU.ini") << QString::fromLatin1(paths::ParameterFile);
    }

    void layout()
    {
        QFETCH(QString, file);
        const QString fault = test::languageFileLayoutFault(readAll(programPath(file)), test::textSectionsOf(file),
                                                            true);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void everyKeyLookedUpIsInEveryGroup()
    {
        // Collection variables in loading order, as the collection table names them.
        const QString table = QString::fromUtf8(readAll(SourceDir + QStringLiteral("/settings/TextCollections.cpp")));
        static const QRegularExpression entry(QStringLiteral("\\{&(g\\w+),\\s*\\w+,\\s*\"(\\w+)\"\\}"));
        QHash<QString, TextCollectionSource> byName;
        qsizetype index = 0;
        for (auto it = entry.globalMatch(table); it.hasNext(); ++index) {
            const auto m = it.next();
            QVERIFY(index < textCollectionSources().size());
            const TextCollectionSource& s = textCollectionSources()[index];
            QCOMPARE(m.captured(2), QLatin1String(s.section));
            byName.insert(m.captured(1), s);
        }
        QCOMPARE(byName.size(), 33);

        // langMsg(key) is gLangMsg's text of the key; the helper's own lookup is checked at its callers.
        static const QRegularExpression call(
            QStringLiteral("\\b(?:(g(?:Lang|Par)\\w+)\\s*\\.\\s*(?:text|value)|langMsg)\\s*\\(\\s*"
                           "(QStringLiteral\\s*\\(\\s*\"([^\"]*)\"\\s*\\))?"));
        const QString langMsgHelper = QStringLiteral("settings/ui/LangMsg");
        QList<Lookup> lookups;
        QStringList nonLiteral;
        QDirIterator files(SourceDir, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            if (path.contains(langMsgHelper))
                continue;
            const QString source = QString::fromUtf8(readAll(path));
            for (auto it = call.globalMatch(source); it.hasNext();) {
                const auto m = it.next();
                const QString where = QStringLiteral("%1:%2")
                                          .arg(QDir(SourceDir).relativeFilePath(path))
                                          .arg(source.left(m.capturedStart()).count(QLatin1Char('\n')) + 1);
                if (m.captured(2).isEmpty())
                    nonLiteral << where;
                else
                    lookups << Lookup{m.captured(1).isEmpty() ? QStringLiteral("gLangMsg") : m.captured(1),
                                      m.captured(3), where};
            }
        }
        QVERIFY2(nonLiteral.isEmpty(),
                 qPrintable(QStringLiteral("texts must be looked up by a QStringLiteral key: ")
                            + nonLiteral.join(QLatin1Char(' '))));
        QVERIFY(lookups.size() >= 4);

        QStringList missing;
        for (const Lookup& l : std::as_const(lookups)) {
            QVERIFY2(byName.contains(l.collection), qPrintable(l.where));
            const TextCollectionSource& s = byName[l.collection];
            for (const QString& group : Groups) {
                LangCollection c;
                LoadSectionToCollection(programPath(QLatin1String(s.file)), group, QLatin1String(s.section), c);
                if (!c.contains(l.key))
                    missing << QStringLiteral("%1 [%2] <%3> (%4)").arg(l.key, QLatin1String(s.section), group, l.where);
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
    }

    // The caption keys of the control and menu tables are looked up as the literal keys above are.
    void everyTableCaptionIsInEveryGroup()
    {
        const Tables tables;
        // Each table defined in the sources is listed.
        static const QRegularExpression definition(
            QStringLiteral("\\bconst\\s+(?:ui::)?(?:ControlTable|MenuTable)\\s+(\\w+::\\w+)\\s*[{=]"));
        QStringList defined;
        QDirIterator files(SourceDir, {QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString source = QString::fromUtf8(readAll(files.next()));
            for (auto it = definition.globalMatch(source); it.hasNext();)
                defined << it.next().captured(1);
        }
        QStringList listed = tables.controls.keys() + tables.menus.keys();
        defined.sort();
        listed.sort();
        QCOMPARE(defined, listed);

        QList<Lookup> lookups; // collection here: the section
        for (auto it = tables.controls.constBegin(); it != tables.controls.constEnd(); ++it) {
            const ui::ControlTable& t = *it.value();
            QStringList keys;
            if (t.title)
                keys << QLatin1String(t.title);
            for (const ui::Control& c : t.controls)
                if (!c.captionKey().isEmpty())
                    keys << c.captionKey();
            for (const QString& key : std::as_const(keys))
                lookups << Lookup{QLatin1String(t.section), key, it.key()};
        }
        for (auto it = tables.menus.constBegin(); it != tables.menus.constEnd(); ++it)
            for (const ui::MenuEntry& e : it.value()->entries)
                if (!e.captionKey().isEmpty())
                    lookups << Lookup{QLatin1String(it.value()->section), e.captionKey(), it.key()};
        QVERIFY(!lookups.isEmpty());

        const QStringList sections = test::textSectionsOf(QLatin1String(paths::LanguageFile));
        QStringList missing;
        for (const Lookup& l : std::as_const(lookups)) {
            QVERIFY2(sections.contains(l.collection),
                     qPrintable(l.where + QStringLiteral(": no language section ") + l.collection));
            for (const QString& group : Groups) {
                LangCollection c;
                LoadSectionToCollection(programPath(QLatin1String(paths::LanguageFile)), group, l.collection, c);
                if (!c.contains(l.key))
                    missing << QStringLiteral("%1 [%2] <%3> (%4)").arg(l.key, l.collection, group, l.where);
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
    }

    // The committed files are what the generator makes of its tables.
    void filesMatchTheirTables()
    {
        QProcess gen;
        gen.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/../scripts/gen_ini.py"), QStringLiteral("--check")});
        QVERIFY(gen.waitForFinished(30000));
        QVERIFY2(gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0,
                 gen.readAllStandardError().constData());
    }

    // Start-up names each file it cannot read and each group it lacks; the texts that report failures are there
    // all the same.
    void damagedFiles_data()
    {
        QTest::addColumn<DamagedFile>("row");
        // clang-format off
        QTest::newRow("shipped") << DamagedFile{.writeErr = "无法写入文件："};
        QTest::newRow("empty") << DamagedFile{.damage = [](const QByteArray&) { return QByteArray(); }, .said = {"ini/language.ini"}, .writeErr = "The file could not be written:"};
        QTest::newRow("cut in half") << DamagedFile{.damage = [](const QByteArray& b) { return b.left(b.indexOf("\r\n", b.size() / 2) + 2); }, .said = {"ini/language.ini: <Chinese>, <Other>"}};
        QTest::newRow("UTF-16") << DamagedFile{.damage = [](const QByteArray& b) { const QString t = text::decode(b, text::Encoding::Gb18030); return QByteArray("\xff\xfe") + QByteArray(reinterpret_cast<const char*>(t.utf16()), t.size() * 2); }, .said = {"ini/language.ini"}};
        QTest::newRow("random bytes") << DamagedFile{.file = "ini/ParameterPLU.ini", .damage = [](const QByteArray&) { QByteArray b(4096, 0); QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(b.data()), b.size() / 4); return b; }, .said = {"ini/ParameterPLU.ini"}};
        QTest::newRow("a group missing") << DamagedFile{.file = "ini/ParameterPLU.ini", .damage = [](const QByteArray& b) { return QByteArray(b).replace("<Other>", "<Others>"); }, .said = {"ini/ParameterPLU.ini: <Other>"}};
        // clang-format on
    }
    void damagedFiles()
    {
        QFETCH(DamagedFile, row);
        QTemporaryDir folder;
        QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("ini"))));
        for (const char* file : {"ini/language.ini", "ini/ParameterPLU.ini"}) {
            const QByteArray shipped = readAll(DataDir + QLatin1Char('/') + QLatin1String(file));
            QFile out(folder.filePath(QLatin1String(file)));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(qstrcmp(file, row.file) == 0 ? row.damage(shipped) : shipped);
        }
        setProgramFolder(folder.path());
        const auto restore = qScopeGuard([] { setProgramFolder(DataDir); });
        QStringList said;
        for (const QString& line : std::as_const(row.said))
            said << folder.filePath(line);
        QCOMPARE(textFileProblems(Groups), said);
        for (const TextCollectionSource& source : textCollectionSources())
            if (source.collection == &gLangMsg)
                loadTextCollection(source, QStringLiteral("Chinese"));
        if (*row.writeErr)
            QCOMPARE(gLangMsg.text(QStringLiteral("fileWriteErr")), QString::fromUtf8(row.writeErr));
        QVERIFY(gLangMsg.contains(QStringLiteral("langFileErr")));
    }

    void missingKeyAndSectionDoNotStop()
    {
        LangCollection c;
        LoadSectionToCollection(programPath(QLatin1String(paths::LanguageFile)), QStringLiteral("Standard"),
                                QStringLiteral("no_such_section"), c);
        QCOMPARE(c.count(), 0);
        QCOMPARE(c.text(QStringLiteral("anyKey")), QStringLiteral("anyKey"));
    }
};

QTEST_GUILESS_MAIN(TestLanguageFiles)
#include "tst_LanguageFiles.moc"
