#include "app/ui/frmEnd.h"
#include "app/ui/frmLoading.h"
#include "mainwindow/ui/frmMain.h"
#include "mainwindow/ui/frmProperties.h"
#include "platform/text/Ansi.h"
#include "platform/ui/ControlTable.h"
#include "platform/ui/MenuTable.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/TwoLevelReader.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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

bool hasCjk(const QString& s)
{
    for (const QChar c : s)
        if ((c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) || (c.unicode() >= 0x3000 && c.unicode() <= 0x303F)
            || (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    return false;
}

QStringList sectionsOf(const QString& file)
{
    QStringList names;
    for (const TextCollectionSource& s : textCollectionSources())
        if (QLatin1String(s.file) == file)
            names << QLatin1String(s.section);
    return names;
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
        {QStringLiteral("frmProperties::kControls"), &frmProperties::kControls},
    };
    QMap<QString, const ui::MenuTable*> menus{
        {QStringLiteral("frmMain::kMenus"), &frmMain::kMenus},
    };
};

QStringList languageSections()
{
    QStringList sections;
    for (const TextCollectionSource& s : textCollectionSources())
        if (QLatin1String(s.file) == QLatin1String(paths::LanguageFile))
            sections << QLatin1String(s.section);
    return sections;
}

} // namespace

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
        const QByteArray bytes = readAll(programPath(file));
        QVERIFY(!bytes.isEmpty());
        // CR LF only, the last line ended, no empty line at the end.
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n')
                QVERIFY2(i > 0 && bytes[i - 1] == '\r', qPrintable(QStringLiteral("LF without CR at byte %1").arg(i)));
            if (bytes[i] == '\r')
                QVERIFY2(i + 1 < bytes.size() && bytes[i + 1] == '\n',
                         qPrintable(QStringLiteral("CR at byte %1").arg(i)));
        }
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(!bytes.endsWith("\r\n\r\n"));
        // GB18030 that encodes back to the same bytes.
        const QString text = text::decode(bytes, text::Encoding::Gb18030);
        bool ok = false;
        QCOMPARE(text::encode(text, text::Encoding::Gb18030, &ok), bytes);
        QVERIFY(ok);

        QStringList lines = text.split(QStringLiteral("\r\n"));
        lines.removeLast();
        const qsizetype chinese = lines.indexOf(QStringLiteral("<Chinese>"));
        const qsizetype other = lines.indexOf(QStringLiteral("<Other>"));
        QCOMPARE(lines.first(), QStringLiteral("<Standard>"));
        QVERIFY(chinese > 0 && other > chinese);
        const QList<QStringList> blocks{lines.mid(0, chinese), lines.mid(chinese, other - chinese), lines.mid(other)};
        const qsizetype n = blocks[0].size();
        QCOMPARE(blocks[1].size(), n);
        QCOMPARE(blocks[2].size(), n - 1);
        QVERIFY(n <= 1001);
        QCOMPARE((lines.size() + 1) % 3, 0);

        const QStringList expectedSections = sectionsOf(file);
        for (int b = 0; b < 3; ++b) {
            const QStringList& block = blocks[b];
            QCOMPARE(block.first(), QLatin1Char('<') + Groups[b] + QLatin1Char('>'));
            QStringList sections;
            QSet<QString> keys;
            for (qsizetype i = 1; i < block.size(); ++i) {
                const QString& line = block[i];
                const QString where = QStringLiteral("%1 line %2: %3").arg(Groups[b]).arg(i + 1).arg(line);
                if (line.startsWith(QLatin1Char('['))) {
                    QVERIFY2(line.endsWith(QLatin1Char(']')), qPrintable(where));
                    QVERIFY2(i == 1 || block[i - 1].isEmpty(), qPrintable(where)); // one empty line before
                    sections << line.mid(1, line.size() - 2);
                    keys.clear();
                } else if (line.isEmpty()) {
                    QVERIFY2(i + 1 == block.size() || block[i + 1].startsWith(QLatin1Char('[')), qPrintable(where));
                } else {
                    const qsizetype eq = line.indexOf(QLatin1Char('='));
                    QVERIFY2(eq > 0, qPrintable(where));
                    const QString key = line.left(eq);
                    QVERIFY2(key == key.trimmed() && !keys.contains(key.toLower()), qPrintable(where));
                    keys.insert(key.toLower());
                    const QString value = line.mid(eq + 1);
                    // The blocks run in parallel: the same key on the same line.
                    QVERIFY2(blocks[0][i].startsWith(key + QLatin1Char('=')), qPrintable(where));
                    if (b == 0)
                        QVERIFY2(!hasCjk(value), qPrintable(where));
                    if (b == 1)
                        QVERIFY2(hasCjk(value) || blocks[0][i] == line, qPrintable(where));
                }
                if (b == 2)
                    QCOMPARE(line, blocks[0][i]);
                if (line.startsWith(QLatin1Char('[')) || line.isEmpty())
                    QCOMPARE(line, blocks[0][i]);
            }
            QCOMPARE(sections, expectedSections);
            // Every section but the last of the file is closed by one empty line.
            QCOMPARE(block.last().isEmpty(), b < 2);
        }
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

        static const QRegularExpression call(QStringLiteral("\\b(g(?:Lang|Par)\\w+)\\s*\\.\\s*(?:text|value)\\s*\\(\\s*"
                                                            "(QStringLiteral\\s*\\(\\s*\"([^\"]*)\"\\s*\\))?"));
        QList<Lookup> lookups;
        QStringList nonLiteral;
        QDirIterator files(SourceDir, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString source = QString::fromUtf8(readAll(path));
            for (auto it = call.globalMatch(source); it.hasNext();) {
                const auto m = it.next();
                const QString where = QStringLiteral("%1:%2")
                                          .arg(QDir(SourceDir).relativeFilePath(path))
                                          .arg(source.left(m.capturedStart()).count(QLatin1Char('\n')) + 1);
                if (m.captured(2).isEmpty())
                    nonLiteral << where;
                else
                    lookups << Lookup{m.captured(1), m.captured(3), where};
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

        const QStringList sections = languageSections();
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
