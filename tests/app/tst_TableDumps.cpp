#include "support/DumpRows.h"
#include "support/ProgramFolderFixture.h"
#include "support/TestSupport.h"

#include "app/SchemaBuilder.h"
#include "app/TableDumps.h"
#include "app/WorkingDatabase.h"
#include "platform/text/Ansi.h"
#include "state/SharedData.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

using namespace quorvane;
using quorvane::test::writeFile;
using namespace quorvane::app;

namespace {

using test::dumpOf;
using test::insertRow;
using test::rowsOf;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestTableDumps : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramFolderFixture> m_folder;

    void freshDatabase()
    {
        CloseDatabase();
        QVERIFY(BuildDatabaseFromSchema(m_folder->file(QStringLiteral("Database/abc.txt")), workingDatabasePath(), 0)
                == SchemaBuilt);
        QVERIFY(OpenDatabase());
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<test::ProgramFolderFixture>();
        QVERIFY(m_folder->isValid());
        freshDatabase();
    }

    void cleanup()
    {
        CloseDatabase();
        m_folder.reset();
    }

    void numericLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("digits") << "5" << true;
        QTest::newRow("print form") << " 16 " << true;
        QTest::newRow("negative") << "-5 " << true;
        QTest::newRow("plus") << "+5" << true;
        QTest::newRow("decimal") << "1.5" << true;
        QTest::newRow("trailing point") << "1." << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks") << "   " << false;
        QTest::newRow("sign only") << "-" << false;
        QTest::newRow("point only") << "." << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("exponent") << "1e5" << false;
        QTest::newRow("comma") << "1,5" << false;
        QTest::newRow("letters") << "12a" << false;
        QTest::newRow("tab is no blank") << "\t5" << false;
        QTest::newRow("inner blank") << "- 5" << false;
    }

    void numericLines()
    {
        QFETCH(QString, line);
        QFETCH(bool, numeric);
        QCOMPARE(isNumericLine(line), numeric);
    }

    // A C0 control character in a value would break or change its line: it is written as a blank. C1 characters
    // are the code page's to hold or refuse.
    void dumpLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        // clang-format off
        QTest::newRow("plain")        << "Caf\u00e9 24h"                    << "Caf\u00e9 24h";
        QTest::newRow("empty")        << ""                                 << "";
        QTest::newRow("CR LF")        << "12\r\n3"                          << "12  3";
        QTest::newRow("lone LF, CR")  << "a\nb\rc"                          << "a b c";
        QTest::newRow("TAB NUL ESC")  << QString::fromUtf8("a\tb\0c\x1b", 6) << "a b c ";
        QTest::newRow("DEL and C1")   << "x\u007f\u0081y\u009d"             << "x \u0081y\u009d";
        // clang-format on
    }

    void dumpLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        QCOMPARE(dumpLineText(text), line);
    }

    void goldenFiles()
    {
        const TableDump& store = dumpOf(QStringLiteral("STORE"));
        insertRow(store, {1, QStringLiteral("Main store"), 1, 2, 255});
        insertRow(store, {17, QStringLiteral("17"), 16, 16, 255});
        insertRow(store, {2, QStringLiteral("Caf\u00e9\r\n24h"), 0, 0, -1});
        insertRow(store, {3, QStringLiteral("Shop\r\n42"), QVariant(), 0, 0}); // a number without a value
        const QString ip = QStringLiteral("192.168.  1. 20");
        insertRow(
            dumpOf(QStringLiteral("SCALE")),
            {ip, QStringLiteral("12\r\n3"), 1, QStringLiteral("user\r\nname"), QStringLiteral("1234"), 0, 2, 1, 1});
        insertRow(dumpOf(QStringLiteral("KVB_25")), {1001, 1, 0});
        insertRow(dumpOf(QStringLiteral("KVB_25")), {2147483647, 10, 3});
        insertRow(dumpOf(QStringLiteral("KVB_41")), {ip, 2, 5, 1, 0, QStringLiteral("Apples")});
        insertRow(dumpOf(QStringLiteral("KVB_41")), {ip, 2, 6, 0, 0, QVariant()});
        insertRow(dumpOf(QStringLiteral("KVB_3F")), {1, QStringLiteral("Welcome\r\nto our shop")});

        const QString folder = m_folder->file(QStringLiteral("out"));
        QString error;
        QVERIFY2(SaveTablesToText(folder, &error), qPrintable(error));
        const QDir golden(QStringLiteral(QUORVANE_TEST_DATA_DIR "/app/dumps"));
        int compared = 0;
        for (const TableDump& d : tableDumps()) {
            const QString path = folder + QLatin1Char('/') + d.file;
            QVERIFY2(QFile::exists(path), qPrintable(d.file));
            const QByteArray expected = golden.exists(d.file) ? readAll(golden.filePath(d.file)) : QByteArray();
            compared += golden.exists(d.file);
            QCOMPARE(readAll(path), expected);
        }
        QCOMPARE(compared, 5);
    }

    // The first dump's buffer holds 64 KiB beyond the room of its first line, a number line of 24 bytes: the
    // store's name line ends exactly at its end, and the lines after it go on in a larger one.
    void lineEndingAtTheBufferEnd()
    {
        const QByteArray name(65536 + 24 - 5 - 2, 'n');
        insertRow(dumpOf(QStringLiteral("STORE")), {1, QString::fromLatin1(name), 0, 0, 255});
        const QString folder = m_folder->file(QStringLiteral("out"));
        QString error;
        QVERIFY2(SaveTablesToText(folder, &error), qPrintable(error));
        QCOMPARE(readAll(folder + QStringLiteral("/tempstore.txt")), " 1 \r\n" + name + "\r\n 0 \r\n 0 \r\n 255 \r\n");
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("table");
        for (const TableDump& d : tableDumps())
            QTest::newRow(qPrintable(d.file)) << d.table;
    }

    void roundTrip()
    {
        QFETCH(QString, table);
        const TableDump& d = dumpOf(table);
        const QList<QVariantList> expected = test::insertSampleRows(d, 9);
        const QString folder = m_folder->file(QStringLiteral("AccessData"));
        QString error;
        QVERIFY2(SaveTablesToText(folder, &error), qPrintable(error));
        freshDatabase();
        QVERIFY2(LoadTablesFromText(folder, &error), qPrintable(error));
        QCOMPARE(rowsOf(d), expected);
        QCOMPARE(test::totalDumpedRows(), qint64(expected.size()));
        // Nothing is marked for sending after a reload.
        for (const db::FieldInfo& f : gDBConnection.fields(table))
            if (f.name.compare(QLatin1String("Is_Selected"), Qt::CaseInsensitive) == 0)
                QCOMPARE(
                    gDBConnection.scalar(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE Is_Selected<>0").arg(table))
                        .toInt(),
                    0);
    }

    // Rows go in by batches: the batch boundaries must keep every row and its place.
    void manyRowsKeepTheirOrder()
    {
        const TableDump& plu = dumpOf(QStringLiteral("KVB_25"));
        const TableDump& keys = dumpOf(QStringLiteral("KVB_41"));
        QList<QVariantList> plus, keyRows;
        for (int i = 0; i < 64 * 3 + 5; ++i) {
            plus << QVariantList{qlonglong((i * 7919) % 100000), qlonglong(i % 10 + 1), qlonglong(0)};
            test::insertRow(plu, plus.last());
            keyRows << QVariantList{QStringLiteral("  1.  2.  3.%1").arg(i % 256, 3),
                                    qlonglong(1),
                                    qlonglong(i),
                                    qlonglong(1),
                                    qlonglong(0),
                                    QStringLiteral("Key %1").arg(i)};
            test::insertRow(keys, keyRows.last());
        }
        const QString folder = m_folder->file(QStringLiteral("AccessData"));
        QString error;
        QVERIFY2(SaveTablesToText(folder, &error), qPrintable(error));
        freshDatabase();
        QVERIFY2(LoadTablesFromText(folder, &error), qPrintable(error));
        QCOMPARE(rowsOf(plu), plus);
        QCOMPARE(rowsOf(keys), keyRows);
    }

    void missingFilesLeaveTablesEmpty()
    {
        const QString folder = m_folder->file(QStringLiteral("AccessData"));
        QVERIFY(writeFile(folder + QStringLiteral("/tempplu.txt"), " 1 \r\n 1 \r\n 0 \r\n 2 \r\n 1 \r\n 0 \r\n"));
        QVERIFY(writeFile(folder + QStringLiteral("/tempstore.txt"), QByteArray()));
        QString error;
        QVERIFY2(LoadTablesFromText(folder, &error), qPrintable(error));
        QCOMPARE(rowsOf(dumpOf(QStringLiteral("KVB_25"))).size(), 2);
        QCOMPARE(test::totalDumpedRows(), 2);
    }

    void malformedFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("where");
        QTest::newRow("ends inside a row") << "tempsect.txt" << QByteArray(" 1 \r\n 1 \r\nName\r\n") << "line 1:";
        QTest::newRow("not a number") << "tempplu.txt" << QByteArray(" 1 \r\n x \r\n 0 \r\n") << "line 2:";
        QTest::newRow("decimal in a whole number")
            << "tempplu.txt" << QByteArray(" 1 \r\n 1.5 \r\n 0 \r\n") << "line 2:";
        QTest::newRow("beyond 32 bits") << "tempplu.txt" << QByteArray(" 1 \r\n 2147483648 \r\n 0 \r\n") << "line 2:";
        QTest::newRow("text longer than its field")
            << "tempscale.txt" << QByteArray("192.168.  1. 200\r\n1\r\n 1 \r\nu\r\np\r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n")
            << "line 1:";
        QTest::newRow("row without closing line") << "tempscrollmsg.txt" << QByteArray(" 1 \r\nHello\r\n") << "line 1:";
        QByteArray manyRows;
        for (int i = 1; i <= 100; ++i)
            manyRows += " " + QByteArray::number(i) + " \r\n 1 \r\n 0 \r\n";
        QTest::newRow("bad row after several batches") << "tempplu.txt" << manyRows + " 101 \r\n one \r\n 0 \r\n"
                                                       << "line 302:";
        QTest::newRow("empty line after the last row")
            << "tempplu.txt" << QByteArray(" 1 \r\n 1 \r\n 0 \r\n\r\n") << "line 4:";
    }

    void malformedFiles()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, where);
        const QString folder = m_folder->file(QStringLiteral("AccessData"));
        // A good file read before the bad one must not land either.
        QVERIFY(writeFile(folder + QStringLiteral("/tempstore.txt"), " 1 \r\nMain\r\n 0 \r\n 0 \r\n 255 \r\n"));
        QVERIFY(writeFile(folder + QLatin1Char('/') + file, content));
        QString error;
        QVERIFY(!LoadTablesFromText(folder, &error));
        QVERIFY2(error.contains(file + QStringLiteral(", ") + where), qPrintable(error));
        QCOMPARE(test::totalDumpedRows(), 0);
    }

    void chineseCodePage()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        const TableDump& store = dumpOf(QStringLiteral("STORE"));
        insertRow(store, {1, QStringLiteral("\u95e8\u5e97\r\n88"), 0, 0, 255});
        const QString folder = m_folder->file(QStringLiteral("AccessData"));
        QString error;
        QVERIFY2(SaveTablesToText(folder, &error), qPrintable(error));
        qDebug() << readAll(folder + QStringLiteral("/tempstore.txt")).size()
                 << readAll(folder + QStringLiteral("/tempstore.txt")).right(40);
        QCOMPARE(readAll(folder + QStringLiteral("/tempstore.txt")),
                 QByteArray(" 1 \r\n\xc3\xc5\xb5\xea"
                            "  88\r\n 0 \r\n 0 \r\n 255 \r\n"));
        freshDatabase();
        QVERIFY2(LoadTablesFromText(folder, &error), qPrintable(error));
        QCOMPARE(rowsOf(store),
                 (QList<QVariantList>{{1,
                                       QStringLiteral("\u95e8\u5e97"
                                                      "  88"),
                                       0, 0, 255}}));
    }

    void bytesThatAreNoTextAreRefused()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        const QString folder = m_folder->file(QStringLiteral("AccessData"));
        QVERIFY(writeFile(folder + QStringLiteral("/tempstore.txt"),
                          " 1 \r\nA\r\n 0 \r\n 0 \r\n 0 \r\n"
                          " 2 \r\nShop \x90\r\n 0 \r\n 0 \r\n 0 \r\n"));
        QString error;
        QVERIFY(!LoadTablesFromText(folder, &error));
        QVERIFY2(error.contains(QStringLiteral("tempstore.txt, line 7:")), qPrintable(error));
        QCOMPARE(test::totalDumpedRows(), 0);
    }

    // Every byte of a stored text comes back from a start and an exit as it was, the five bytes windows-1252 has
    // no character for among them.
    void everyHighByteComesBack()
    {
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high += char(b);
        const QByteArray store = " 1 \r\n" + high + "\r\n 0 \r\n 0 \r\n 255 \r\n";
        const QByteArray scale = "192.168.  1. 20\r\n1\r\n 1 \r\nuser\r\npw\x81"
                                 "1\r\n 0 \r\n 2 \r\n 1 \r\n 1 \r\n";
        const QString in = m_folder->file(QStringLiteral("AccessData"));
        QVERIFY(writeFile(in + QStringLiteral("/tempstore.txt"), store));
        QVERIFY(writeFile(in + QStringLiteral("/tempscale.txt"), scale));
        QString error;
        QVERIFY2(LoadTablesFromText(in, &error), qPrintable(error));
        const QString out = m_folder->file(QStringLiteral("out"));
        QVERIFY2(SaveTablesToText(out, &error), qPrintable(error));
        QCOMPARE(readAll(out + QStringLiteral("/tempstore.txt")), store);
        QCOMPARE(readAll(out + QStringLiteral("/tempscale.txt")), scale);
    }

    // A value the code page of the exit cannot hold (typed under GBK, say): the table and the field are named, and
    // the dump it would have replaced stays.
    void unencodableTextFailsTheDump()
    {
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
        insertRow(dumpOf(QStringLiteral("STORE")), {1, QStringLiteral("Shop \u95e8\u5e97"), 0, 0, 255});
        const QString folder = m_folder->file(QStringLiteral("out"));
        QVERIFY(writeFile(folder + QStringLiteral("/tempstore.txt"), "old"));
        QString error;
        QVERIFY(!SaveTablesToText(folder, &error));
        QVERIFY2(error.contains(QStringLiteral("tempstore.txt"))
                     && error.contains(QStringLiteral("field ST_Name of table STORE")),
                 qPrintable(error));
        QCOMPARE(readAll(folder + QStringLiteral("/tempstore.txt")), QByteArray("old"));
    }
};

QTEST_MAIN(TestTableDumps)
#include "tst_TableDumps.moc"
