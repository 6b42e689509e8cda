#include "support/TestSupport.h"
#include "support/TransferFixture.h"

#include "datafiles/ReportLoader.h"
#include "platform/text/Ansi.h"
#include "reports/ReportColumns.h"
#include "reports/ReportExport.h"
#include "state/SharedData.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::reports;

namespace {

// Adds rows to a report table: every field "0" as the loader leaves it, then "position=value" pieces
// separated by ";" ("<null>" for a Null).
void addRows(const QString& code, const QStringList& rows)
{
    const QStringList fields = reportFieldNames(code);
    QStringList marks(fields.size(), QStringLiteral("?"));
    const QString sql = QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(code, marks.join(QLatin1Char(',')));
    for (const QString& row : rows) {
        QVariantList values(fields.size(), QStringLiteral("0"));
        for (const QString& piece : row.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype eq = piece.indexOf(QLatin1Char('='));
            const QString value = piece.mid(eq + 1);
            values[piece.left(eq).toInt()] = value == QLatin1String("<null>") ? QVariant() : QVariant(value);
        }
        gDBConnection.exec(sql, values);
    }
}

// Tab, no title, the default decimals.
ExportRequest plain(const QString& code, const QStringList& columns)
{
    ExportRequest r;
    r.code = code;
    r.columns = columns;
    return r;
}

} // namespace

class TstReportExport : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TransferFolder> m_folder;
    QString target() const { return m_folder->tempFile(QStringLiteral("report.txt")); }

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
    }
    void cleanupTestCase() { m_folder.reset(); }
    void init()
    {
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
        for (const QString& code : datafiles::reportTables())
            emptyReportTable(code);
    }

    // Every field of the shipped schema carries the code its name promises.
    void formatsMatchTheSchema()
    {
        const QList<int> counts{16, 17, 17, 16, 123, 16, 28, 33, 12};
        QCOMPARE(datafiles::reportTables().size(), counts.size());
        for (int t = 0; t < counts.size(); ++t) {
            const QString code = datafiles::reportTables()[t];
            const QStringList fields = reportFieldNames(code);
            const QByteArrayView format = reportFormat(code);
            QCOMPARE(fields.size(), counts[t]);
            QCOMPARE(format.size(), fields.size());
            for (int i = 0; i < fields.size(); ++i) {
                const char expected = fields[i].startsWith(QLatin1String("Amount_")) ? '1'
                    : fields[i].startsWith(QLatin1String("Weight_"))                 ? '2'
                                                                                     : '0';
                QVERIFY2(format[i] == expected, qPrintable(code + QLatin1Char(' ') + fields[i]));
            }
        }
        QVERIFY(reportFormat(QStringLiteral("STR0")).isEmpty());
    }

    // Report, rows, chosen columns, separator, title, price and weight decimals, sign; the file's bytes.
    void exportFile_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<char>("separator");
        QTest::addColumn<bool>("title");
        QTest::addColumn<QString>("decimals"); // price, weight, sign
        QTest::addColumn<QByteArray>("file");

        // clang-format off
        QTest::newRow("department example") << "DPT0" << QStringList{"0=7;9=1234"} << QStringList{"Amount_09", "Value_00"} << ',' << true << "2 2 ." << QByteArray("Amount_09,Value_00\r\n12.34,7\r\n");
        QTest::newRow("field 8 a weight when chosen first") << "DPT0" << QStringList{"0=1;8=7", "0=2;8=12345"} << QStringList{"Weight_08", "Value_00"} << '\t' << false << "2 3 ," << QByteArray("0,007\t1\r\n12,345\t2\r\n");
        QTest::newRow("field 8 a weight when chosen last, and twice") << "DPT0" << QStringList{"0=1;8=7"} << QStringList{"Value_00", "Weight_08", "Weight_08"} << '\t' << false << "2 3 ." << QByteArray("1\t0.007\t0.007\r\n");
        QTest::newRow("zero, 10 with 3 decimals, 12 with 0") << "DPT0" << QStringList{"8=10;9=12;13=0;12=0"} << QStringList{"Weight_08", "Amount_09", "Amount_13", "Weight_12"} << '\t' << false << "0 3 ." << QByteArray("0.010\t12.\t0\t0\r\n");
        QTest::newRow("negative amounts") << "DPT0" << QStringList{"9=-5;13=-1234;0=-5"} << QStringList{"Amount_09", "Amount_13", "Value_00"} << '\t' << false << "2 3 ." << QByteArray("-0.05\t-12.34\t-5\r\n");
        QTest::newRow("comma sign and comma separator, no quoting") << "DPT0" << QStringList{"9=1234;1=a,b \"c\""} << QStringList{"Amount_09", "Value_01"} << ',' << false << "2 3 ," << QByteArray("12,34,a,b \"c\"\r\n");
        QTest::newRow("texts in the code page") << "DPT0" << QStringList{"1=Café"} << QStringList{"Value_01"} << '\t' << true << "2 3 ." << QByteArray("Value_01\r\nCaf\xe9\r\n");
        QTest::newRow("title No and no rows: 0 bytes") << "DPT0" << QStringList() << QStringList{"Value_00"} << '\t' << false << "2 3 ." << QByteArray();
        QTest::newRow("title Yes and no rows: the title alone") << "MGT0" << QStringList() << QStringList{"Weight_09", "Value_00"} << '\t' << true << "2 3 ." << QByteArray("Weight_09\tValue_00\r\n");
        QTest::newRow("a Null first column ends the rows; a Null elsewhere is empty") << "INV0" << QStringList{"0=1;6=<null>", "0=<null>", "0=3"} << QStringList{"Value_00", "Amount_06"} << ',' << false << "2 3 ." << QByteArray("1,\r\n");
        QTest::newRow("sales: the code follows the field") << "SAT0" << QStringList{"0=9;5=100;9=2500;122=-7"} << QStringList{"Amount_122", "Weight_009", "Amount_005", "Value_000"} << '\t' << false << "1 3 ." << QByteArray("-0.7\t2.500\t10.0\t9\r\n");
        // clang-format on
    }

    void exportFile()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, columns);
        QFETCH(char, separator);
        QFETCH(bool, title);
        QFETCH(QString, decimals);
        QFETCH(QByteArray, file);

        addRows(code, rows);
        const QStringList d = decimals.split(QLatin1Char(' '));
        // An existing file is replaced, not extended.
        QVERIFY(test::writeFile(target(), QByteArray(1000, 'x')));
        const ExportRequest request{code, columns, title, separator, {d[0].toInt(), d[1].toInt(), d[2]}};
        exportReport(target(), request);
        QCOMPARE(test::readFile(target()), file);
    }

    // A failing export leaves the old file whole.
    void failureKeepsTheOldFile()
    {
        addRows(QStringLiteral("DPT0"), {"0=1", "0=2", "0=中"});
        QVERIFY(test::writeFile(target(), "old\r\n"));
        const ExportRequest request = plain(QStringLiteral("DPT0"), {QStringLiteral("Value_00")});
        QVERIFY_THROWS_EXCEPTION(ReportError, exportReport(target(), request));
        QCOMPARE(test::readFile(target()), QByteArray("old\r\n"));
        // A target that cannot be created.
        QVERIFY_THROWS_EXCEPTION(ReportError,
                                 exportReport(m_folder->tempFile(QStringLiteral("no/such/folder.txt")), request));
        // Names that are no report or no field of it.
        QVERIFY_THROWS_EXCEPTION(ReportError, emptyReportTable(QStringLiteral("KVB_25")));
        QVERIFY_THROWS_EXCEPTION(ReportError, exportReport(target(), plain(QStringLiteral("KVB_25"), {"PLU_No"})));
        QVERIFY_THROWS_EXCEPTION(ReportError, exportReport(target(), plain(QStringLiteral("DPT0"), {"Value_99"})));
        QCOMPARE(test::readFile(target()), QByteArray("old\r\n"));
        // No column chosen: nothing happens.
        QCOMPARE(exportReport(target(), plain(QStringLiteral("DPT0"), {})), -1);
        QCOMPARE(test::readFile(target()), QByteArray("old\r\n"));
    }

    void choiceFile()
    {
        const QString path = m_folder->tempFile(QStringLiteral("choice.txt"));
        writeColumnChoice(path, {5, 0, 12});
        QCOMPARE(test::readFile(path), QByteArray(" 5 \r\n 0 \r\n 12 \r\n"));
        QCOMPARE(readColumnChoice(path, 123), QList<int>({5, 0, 12}));
        writeColumnChoice(path, {});
        QCOMPARE(test::readFile(path), QByteArray());
        QVERIFY_THROWS_EXCEPTION(ReportError, readColumnChoice(m_folder->tempFile(QStringLiteral("none.txt")), 16));
        QVERIFY_THROWS_EXCEPTION(ReportError,
                                 writeColumnChoice(m_folder->tempFile(QStringLiteral("no/such.txt")), {1}));
    }

    // Lines that count: a whole number below the count of listItem, blanks around allowed.
    void choiceLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("positions");
        // clang-format off
        QTest::newRow("a position twice, a letter, one too large") << QByteArray("2\r\nx\r\n40\r\n2\r\n") << QList<int>{2, 2};
        QTest::newRow("blanks, no final line end") << QByteArray("  15  \r\n 0 \r\n16\r\n7") << QList<int>{15, 0, 7};
        QTest::newRow("negative, fraction, huge, binary") << QByteArray("-1\r\n1.5\r\n99999999999999999999\r\n\x01\x02\xff\r\n") + QByteArray(1, '\0') + QByteArray("3\r\n+4\r\n 3 \r\n") << QList<int>{3};
        QTest::newRow("empty") << QByteArray() << QList<int>();
        // clang-format on
    }

    void choiceLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, positions);
        QCOMPARE(parseColumnChoice(bytes, 16), positions);
    }
};

QTEST_GUILESS_MAIN(TstReportExport)
#include "tst_reportexport.moc"
