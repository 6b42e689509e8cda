#include "support/CodecTestDb.h"
#include "support/DataRows.h"
#include "support/FieldValues.h"
#include "support/FileSizeLimit.h"
#include "support/TestSupport.h"
#include "support/TransferFixture.h"

#include "platform/db/Connection.h"
#include "platform/events/DoEvents.h"
#include "platform/events/StopRequest.h"
#include "platform/text/Ansi.h"
#include "platform/text/Paths.h"
#include "reports/PluChoice.h"
#include "reports/PluExport.h"
#include "reports/PluImport.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QRandomGenerator>
#include <QtTest>

#include <sys/stat.h>

using namespace quorvane;
using namespace quorvane::reports;

namespace {

const QString DataDir = QStringLiteral(QUORVANE_TEST_DATA_DIR "/reports/");

// Adds each PLU ("ST_No=1;PLU_No=5;...") in order.
void addPlus(const QStringList& plus)
{
    for (const QString& p : plus)
        test::addRow(QStringLiteral("KVB_25"), test::fieldValues(p));
}

// Every PLU as "store/PLU/price", in stored order.
QStringList storedPlus()
{
    QStringList plus;
    db::Statement rows = gDBConnection.prepare(
        QStringLiteral("SELECT ST_No, PLU_No, PLU_UPrice FROM KVB_25 ORDER BY rowid"));
    while (rows.step())
        plus << QStringLiteral("%1/%2/%3").arg(rows.columnInt(0)).arg(rows.columnInt(1)).arg(rows.columnInt(2));
    return plus;
}

QVariantMap pluOf(int store, int plu)
{
    const QVariant rowid = gDBConnection.scalar(QStringLiteral("SELECT rowid FROM KVB_25 WHERE ST_No=? AND PLU_No=?"),
                                                {store, plu});
    return rowid.isValid() ? test::rowValues(QStringLiteral("KVB_25"), rowid.toLongLong()) : QVariantMap();
}

QStringList catalogue()
{
    QStringList names;
    for (int i = 1; i <= gParImportExportItem.count(); ++i)
        names << gParImportExportItem.at(i);
    return names;
}

QString named(const PluImportResult& r)
{
    QStringList lines;
    for (const LineLeftOut& l : r.named)
        lines << QStringLiteral("%1 %2 %3: %4").arg(l.line).arg(l.field, l.value, l.reason);
    return lines.join(QLatin1Char('|'));
}

// What a field's text writes: its value; "!" refused; nullptr: nothing written.
struct RangeRow {
    const char* field;
    const char* text;
    const char* value = nullptr;
};

// What a line writes beside its values: flags, the window's store and main group, text blocks.
struct LineRow {
    const char* columns = "PLU_No";
    const char* line = "5";
    const char* group = "5";
    int fontSize = 0;
    const char* stored; // fields of PLU 5 in store 1
};

struct DuplicateRow {
    const char* stored = "";
    const char* lines;
    bool override = false;
    const char* after;
    int counts[3]; // imported, kept, refused
};

struct LinesRow {
    const char* bytes;
    bool title = false;
    const char* plus;
    const char* named = "";
};

struct ExportRow {
    const char* name;
    const char* plus = "";
    const char* columns = "PLU_No";
    char separator = '\t';
    bool title = false;
    const char* decimals = "2 3 .";
    const char* file; // the bytes, or @name for a golden file
};

struct ChoiceRow {
    const char* bytes;
    const char* choice;
};

} // namespace

class TstPluExchange : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TransferFolder> m_folder;

    QString file(const QString& name) const { return m_folder->tempFile(name); }

    // Imports the bytes with Tab, store 1, main group 5 and two price and three weight places, unless the
    // request given says otherwise.
    PluImportResult import(const QByteArray& bytes, PluImportRequest request)
    {
        request.path = file(QStringLiteral("in.txt"));
        if (!test::writeFile(request.path, bytes))
            qFatal("cannot write the import file");
        return importPlus(request);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
        test::loadTexts();
        test::addRow(QStringLiteral("STORE"), {{"ST_No", 1}});
        test::addRow(QStringLiteral("STORE"), {{"ST_No", 2}});
    }
    void cleanup()
    {
        resetProgramState();
        m_folder.reset();
    }

    // Each field takes what its editor takes: a whole number within its range, after the decimal
    // normalisation for prices and weights (2 and 3 places here).
    void ranges_data()
    {
        // clang-format off
        test::addDataRows<RangeRow>({
            {"PLU_No", "1", "1"}, {"PLU_No", "999999", "999999"}, {"PLU_No", " 7 ", "7"},
            {"PLU_No", "0", "!"}, {"PLU_No", "1000000", "!"},
            {"PLU_No", "1.5", "!"}, {"PLU_No", "-1", "!"}, {"PLU_No", "+4", "4"},
            {"PLU_No", "123456789", "!"}, {"PLU_No", "1e3", "!"},
            {"PLU_No", "1,000", "!"}, {"PLU_No", ""},
            {"ST_No", "0", "!"},
            {"PLU_MG", "997", "997"}, {"PLU_MG", "998", "!"},
            {"PLU_UPrice", "9999.99", "999999"}, {"PLU_UPrice", "10000", "!"},
            {"PLU_UPrice", "1234567.89", "!"}, {"PLU_UPrice", "-0.01", "!"},
            {"PLU_UPrice", "", "0"}, {"PLU_UPrice", "$5", "!"}, {"PLU_UPrice", "0.019", "1"},
            {"PLU_Tare", "9.999", "9999"}, {"PLU_Tare", "10", "!"}, {"PLU_Disc_2ndLim", "0.25", "250"},
            {"PLU_Disc_1stLim", "9.999", "9999"}, {"PLU_Disc_1stLim", "10", "!"},
            {"PLU_Cost", "999999", "999999"}, {"PLU_Cost", "1000000", "!"},
            {"PLU_MemPrice", "999999", "999999"}, {"PLU_CoupledPLUNo", "1000000", "!"},
            {"PLU_TaxNo", "9", "9"}, {"PLU_TaxNo", "10", "!"}, {"PLU_Tax2No", ""},
            {"PLU_EANFlags", "300", "44"}, {"PLU_EANFlags", "255", "255"}, {"PLU_EANFlags", "511", "255"},
            {"PLU_EANFlags", "99", "99"}, {"PLU_EANFlags", "100", "!"},
            {"PLU_EANFlags", "-1", "!"}, {"PLU_EANFlags", "ab", "!"},
            {"PLU_BarFormat", "28", "28"}, {"PLU_BarFormat", "29", "!"}, {"PLU_BarFormat", "255", "255"},
            {"PLU_RSData", "3", "3"}, {"PLU_RSData", "4", "!"},
            {"PLU_Disc_Type", "6", "6"}, {"PLU_Disc_Type", "7", "!"},
            {"PLU_DisDayOfWeek", "127", "127"}, {"PLU_DisDayOfWeek", "128", "!"},
            {"Stat1_Unit", "1", "1"}, {"Stat1_Unit", "2", "!"},
            {"Stat1_PBPreUnit", "0", "0"}, {"Stat1_PBPreUnit", "1", "!"},
            {"Stat1_NegativePLU", "2", "!"},
            {"PLU_Disc_SDate", "311224", "311224"}, {"PLU_Disc_SDate", "0", "0"},
            {"PLU_Disc_EDate", "310224", "!"}, {"PLU_Disc_EDate", "11325", "!"},
            {"PLU_Disc_STime", "2359", "2359"}, {"PLU_Disc_STime", "2360", "!"},
            {"PLU_Disc_ETime", "2400", "!"},
            {"PLU_EANItemCode", "00123", "00123"}, {"PLU_EANItemCode", "12a", "!"},
            {"PLU_EANItemCode", "12345678901", "1234567890"}, {"PLU_EANItemCode", ""},
            {"PLU_Commodity", "abc", "abc"}, {"PLU_Commodity", "", nullptr},
            {"PLU_Commodity", "Caf\u00e9 \u4e2d", "!"}, {"PLU_Commodity", "a\tb", "!"}, {"PLU_Description", "a\x7f", "!"},
            {"PLU_Commodity", "a\u0085", "!"}, {"PLU_Commodity", "12345678901234567890123456789012345678901234567890\x01", "12345678901234567890123456789012345678901234567890"},
            {"PLU_Description", "123456789012345678901234567890123456789012345678901234567890",
             "12345678901234567890123456789012345678901234567890"},
            {"Blank", "x"}, {"KVBBinData", "x"},
        }, [](const RangeRow& r) { return QStringLiteral("%1 %2").arg(r.field, QString::fromUtf8(r.text)); });
        // clang-format on
    }
    void ranges()
    {
        QFETCH(RangeRow, row);
        const ImportValue v = importValue(QString::fromLatin1(row.field), QString::fromUtf8(row.text),
                                          ValueFormat{2, 3, QStringLiteral(".")});
        const bool refused = row.value && row.value[0] == '!';
        QCOMPARE(v.outcome, !row.value ? ImportValue::Skip : refused ? ImportValue::Refuse : ImportValue::Write);
        QCOMPARE(v.value.toString(), row.value && !refused ? QString::fromLatin1(row.value) : QString());
        QCOMPARE(v.reason.isEmpty(), !refused);
    }

    // What a line writes beside its values: flags, the window's store and main group, text blocks.
    void lineFields_data()
    {
        // clang-format off
        test::addDataRows<LineRow>({
            {.stored = "ST_No=1;PLU_MG=5;Stat2_MGCode=1;Is_Selected=0"},
            {.group = "997", .stored = "PLU_MG=997;Stat2_MGCode=0"},
            {.columns = "PLU_No,PLU_MG", .line = "5\t12", .group = "997", .stored = "PLU_MG=12;Stat2_MGCode=1"},
            {.columns = "PLU_No,PLU_MG", .line = "5\t", .group = "997", .stored = "PLU_MG=997;Stat2_MGCode=0"},
            {.columns = "PLU_No,PLU_MemDisc3", .line = "5\t1", .stored = "PLU_MemDisc3=100;Stat2_MemDisc=1"},
            {.columns = "PLU_No,PLU_Tax2No", .line = "5\t3", .stored = "PLU_Tax2No=3;Stat2_Tax2No=1"},
            {.columns = "PLU_No,PLU_Cost", .line = "5\t0", .stored = "PLU_Cost=0;Stat2_PLUCost=1"},
            {.columns = "PLU_No,PLU_CoupledPLUNo", .line = "5\t7", .stored = "PLU_CoupledPLUNo=7;Stat2_CoupledPLU=1"},
            {.columns = "PLU_No,PLU_DiscScheNo", .line = "5\t8", .stored = "PLU_DiscScheNo=8;Stat2_DiscScheNo=1"},
            {.columns = "PLU_No,PLU_PriScheNo", .line = "5\t9", .stored = "PLU_PriScheNo=9;Stat2_PriScheNo=1"},
            {.columns = "PLU_No,PLU_MemPrice", .line = "5\t4", .stored = "PLU_MemPrice=4;Stat2_MemPrice=1"},
            {.columns = "PLU_No,PLU_DisDayOfWeek", .line = "5\t0", .stored = "PLU_DisDayOfWeek=0;Stat2_Discount=1"},
            {.columns = "PLU_No,PLU_Disc_SDate", .line = "5\t311224", .stored = "PLU_Disc_SDate=311224;Stat2_Discount=0"},
            {.columns = "PLU_No,PLU_EANItemCode,PLU_EANLastByte", .line = "5\t00123\t7",
             .stored = "PLU_EANItemCode=00123;Stat2_ItemCode=1;PLU_EANLastByte=0"},
            {.columns = "PLU_No,PLU_EANFlags", .line = "5\t300", .stored = "PLU_EANFlags=44;PLU_EANLastByte=0"},
            {.columns = "PLU_No,PLU_Commodity", .line = "5\tabc", .fontSize = 3,
             .stored = "PLU_Commodity=\x03\x03" "abc\x0c;PLU_CommodityFirst=abc;Stat2_Commodity=1"},
            {.columns = "PLU_No,PLU_Description", .line = "5\tabc",
             .stored = "PLU_Description=\x01\x03" "abc\x0c;Stat2_Description=1;PLU_CommodityFirst="},
            {.columns = "PLU_No,PLU_Commodity,PLU_TaxNo", .line = "5\t\t",
             .stored = "PLU_Commodity=<null>;Stat2_Commodity=0;PLU_TaxNo=0;Stat2_TaxNo=0"},
            {.columns = "PLU_No,PLU_UPrice,PLU_Tare", .line = "5\t\t", .stored = "PLU_UPrice=0;PLU_Tare=0;Stat2_PLUTare=1"},
            {.columns = "PLU_No,PLU_TaxNo,PLU_RSData,PLU_Disc_Type", .line = "5\t2\t1\t3",
             .stored = "Stat2_TaxNo=1;Stat2_RSData=1;Stat2_Discount=1"},
            {.columns = "Blank,PLU_No,Blank,ST_No", .line = "x\t5\ty\t1\tmore", .stored = "ST_No=1"},
        }, [](const LineRow& r) { return QStringLiteral("%1 %2").arg(r.columns, r.line); });
        // clang-format on
    }
    void lineFields()
    {
        QFETCH(LineRow, row);
        const PluImportResult r = import(QByteArray(row.line) + "\r\n",
                                         {.columns = QString::fromLatin1(row.columns).split(QLatin1Char(',')),
                                          .storeText = "1",
                                          .mainGroupText = row.group,
                                          .commodityFontSize = row.fontSize,
                                          .format = {2, 3, "."}});
        QCOMPARE(named(r), QString());
        QCOMPARE(r.imported, 1);
        QVariantMap stored = pluOf(1, 5);
        // Text blocks compared as Latin-1 texts, byte for byte.
        for (const char* block : {"PLU_Commodity", "PLU_Description"})
            if (!stored.value(block).isNull())
                stored[block] = QString::fromLatin1(stored.value(block).toByteArray());
        QString mismatch;
        QVERIFY2(test::hasFieldValues(stored, QString::fromLatin1(row.stored), &mismatch), qPrintable(mismatch));
    }

    // Rows stored before, with and without chkPLU, twice in the file, other stores.
    void duplicates_data()
    {
        // clang-format off
        test::addDataRows<DuplicateRow>({
            {.stored = "1/5/100", .lines = "1\t5\t2", .after = "1/5/100", .counts = {0, 1, 0}},
            {.stored = "1/5/100", .lines = "1\t5\t2", .override = true, .after = "1/5/200", .counts = {1, 0, 0}},
            {.lines = "1\t5\t1|1\t5\t2", .after = "1/5/100", .counts = {1, 1, 0}},
            {.lines = "1\t5\t1|1\t5\t2", .override = true, .after = "1/5/200", .counts = {1, 0, 0}},
            {.lines = "1\t5\t1|1\t6\t1|1\t5\t2", .override = true, .after = "1/6/100|1/5/200", .counts = {2, 0, 0}},
            {.stored = "1/5/100|1/5/300", .lines = "1\t5\t2", .override = true, .after = "1/5/200", .counts = {1, 0, 0}},
            {.stored = "1/5/100", .lines = "2\t5\t2|\t6\t3", .after = "1/5/100|2/5/200|1/6/300", .counts = {2, 0, 0}},
            {.stored = "1/5/100", .lines = "3\t5\t2", .override = true, .after = "1/5/100", .counts = {0, 0, 1}},
            {.stored = "1/0/100", .lines = "1\t\t2|1\t7\t2,5", .after = "1/0/100", .counts = {0, 0, 2}},
        }, [](const DuplicateRow& r) { return QStringLiteral("%1 + %2%3").arg(r.stored, r.lines, r.override ? " override" : ""); });
        // clang-format on
    }
    void duplicates()
    {
        QFETCH(DuplicateRow, row);
        for (const QString& s : QString::fromLatin1(row.stored).split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            const QStringList v = s.split(QLatin1Char('/'));
            addPlus({QStringLiteral("ST_No=%1;PLU_No=%2;PLU_UPrice=%3;Is_Selected=1").arg(v[0], v[1], v[2])});
        }
        const PluImportResult r = import(QByteArray(row.lines).replace('|', "\r\n") + "\r\n",
                                         {.columns = {"ST_No", "PLU_No", "PLU_UPrice"},
                                          .override = row.override,
                                          .storeText = "1",
                                          .mainGroupText = "997",
                                          .format = {2, 3, "."}});
        QCOMPARE(storedPlus().join(QLatin1Char('|')), QString::fromLatin1(row.after));
        QCOMPARE((QList<int>{r.imported, r.kept, r.refused}),
                 (QList<int>{row.counts[0], row.counts[1], row.counts[2]}));
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT COUNT(*) FROM KVB_25 WHERE Is_Selected<>0")).toInt(), 0);
    }

    // Line ends, blank lines, the title line, too few columns; each line left out named with its number.
    void lines_data()
    {
        // clang-format off
        test::addDataRows<LinesRow>({
            {.bytes = "1\t5\r2\t6\r\n3\t7\n4\t8", .plus = "5,6,7,8"},
            {.bytes = "1\t5\r\n\r\n", .plus = "5", .named = "2  : blank line"},
            {.bytes = "1\t5\n\n2\t6\n", .plus = "5,6", .named = "2  : blank line"},
            {.bytes = "\r\n", .plus = "", .named = "1  : blank line"},
            {.bytes = "", .plus = ""},
            {.bytes = "PLU_UPrice\tPLU_No\r\n1\t5\r\n", .title = true, .plus = "5"},
            {.bytes = "PLU_UPrice\tPLU_No\r\n1\t5\r\n", .plus = "5",
             .named = "1 PLU_UPrice PLU_UPrice: not a whole number"},
            {.bytes = "PLU_UPrice\tPLU_No\r\n", .title = true, .plus = ""},
            {.bytes = "1\r\n2\t6\t7\r\n", .plus = "6", .named = "1  : 1 of 2 columns"},
            {.bytes = "12,50\t5\r\n1\t\r\n", .plus = "",
             .named = "1 PLU_UPrice 12,50: not a whole number|2 PLU_No : no PLU number"},
        }, [](const LinesRow& r) { return QByteArray(r.bytes).toPercentEncoding(" \t"); });
        // clang-format on
    }
    void lines()
    {
        QFETCH(LinesRow, row);
        const PluImportResult r = import(row.bytes,
                                         {.columns = {"PLU_UPrice", "PLU_No"},
                                          .titleLine = row.title,
                                          .storeText = "1",
                                          .mainGroupText = "997",
                                          .format = {0, 3, "."}});
        QStringList numbers;
        for (const QString& p : storedPlus())
            numbers << p.section(QLatin1Char('/'), 1, 1);
        QCOMPARE(numbers.join(QLatin1Char(',')), QString::fromLatin1(row.plus));
        QCOMPARE(::named(r), QString::fromLatin1(row.named));
        QCOMPARE(r.refused, int(r.named.size()));
    }

    // 5,000 lines with 12 bad ones spread through them.
    void manyLinesSomeBad()
    {
        QByteArray bytes;
        QStringList bad;
        for (int n = 1; n <= 5000; ++n) {
            if (n % 400 == 17 && bad.size() < 12) {
                bytes += "x" + QByteArray::number(n) + "\t1.5\r\n";
                bad << QStringLiteral("%1 PLU_No x%1: not a whole number").arg(n);
            } else {
                bytes += QByteArray::number(n) + "\t1.5\r\n";
            }
        }
        const PluImportResult r = import(
            bytes,
            {.columns = {"PLU_No", "PLU_UPrice"}, .storeText = "2", .mainGroupText = "997", .format = {2, 3, "."}});
        QCOMPARE(bad.size(), 12);
        QCOMPARE(r.imported, 4988);
        QCOMPARE(named(r), bad.join(QLatin1Char('|')));
        QCOMPARE(test::rowCount(QStringLiteral("KVB_25")), 4988);
    }

    // A write failing at line 3,000, or a stop requested before the first block or after the first line (the one
    // block holds every line), leaves the table and every mark as they were.
    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<int>("stop"); // after that line; -1: none
        QTest::newRow("write fails") << -1;
        QTest::newRow("stop requested before the first block") << 0;
        QTest::newRow("stop requested after the first line") << 1;
    }
    void failedWriteChangesNothing()
    {
        QFETCH(int, stop);
        addPlus({"ST_No=1;PLU_No=1;PLU_UPrice=7;Is_Selected=1", "ST_No=2;PLU_No=9;Is_Selected=0"});
        const test::FailingWrites refuse(QStringLiteral("BEFORE INSERT ON KVB_25 WHEN NEW.PLU_No = 3000"));
        QByteArray bytes;
        for (int n = 1; n <= 4000; ++n)
            bytes += QByteArray::number(n) + "\t1\r\n";
        const PluImportRequest request{
            .columns = {"PLU_No", "PLU_UPrice"}, .override = true, .storeText = "1", .mainGroupText = "997"};
        if (stop == 0)
            requestStop();
        else if (stop == 1)
            atNextPump([] { requestStop(); }); // the pump after the first line, which replaced the stored PLU 1
        if (stop >= 0) {
            QVERIFY_THROWS_EXCEPTION(StopError, import(bytes, request));
        } else {
            QVERIFY_THROWS_EXCEPTION(db::DbError, import(bytes, request));
        }
        QCOMPARE(storedPlus(), (QStringList{"1/1/7", "2/9/0"}));
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT group_concat(Is_Selected) FROM KVB_25")).toString(),
                 QStringLiteral("1,0"));
        QVERIFY_THROWS_EXCEPTION(
            ReportError, importPlus({.path = file(QStringLiteral("none.txt")), .columns = {"PLU_No", "PLU_No"}}));
    }

    // Random bytes, a 10 MB line, NULs and bytes the code page cannot read end with the lines named.
    void hostileFiles()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        QByteArray bytes = "5\tok\r\n" + QByteArray(10 * 1024 * 1024, '7') + "\r\n6\t" + QByteArray(2, '\0')
            + "\r\n7\t\x81\x20\r\n";
        QRandomGenerator gen(26);
        for (int i = 0; i < 20000; ++i)
            bytes += char(gen.bounded(256));
        const PluImportResult r = import(
            bytes, {.columns = {"PLU_No", "PLU_Commodity"}, .storeText = "1", .mainGroupText = "997"});
        QVERIFY(r.imported >= 1);
        QCOMPARE(r.named.value(0).reason, QStringLiteral("longer than 64 KiB"));
        QCOMPARE(r.named.value(0).line, 2);
        QCOMPARE(named(r).section(QLatin1Char('|'), 1, 1),
                 QStringLiteral("3 PLU_Commodity %1: a control character (U+0000)").arg(QString(2, QChar(0))));
        QCOMPARE(r.named.value(2).line, 4);
        QVERIFY(r.named.value(2).reason.contains(QLatin1String("cannot read")));
        QVERIFY(pluOf(1, 6).isEmpty());
    }

    // A file that is no regular file is refused at once, naming it: a pipe would wait for a writer, a device never
    // end. The choice file likewise.
    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "none.txt";
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("device") << "/dev/zero";
        QTest::newRow("folder") << "";
    }
    void unreadableFiles()
    {
        QFETCH(QString, name);
        QCOMPARE(::mkfifo(qPrintable(file(QStringLiteral("fifo"))), 0600), 0);
        const QString path = name.startsWith(QLatin1Char('/')) ? name : file(name);
        for (const auto& read : std::initializer_list<std::function<void()>>{
                 [&] { importPlus({.path = path, .columns = {"PLU_No"}}); }, [&] { readPluChoice(path, {}, 41, 6); }}) {
            try {
                read();
                QFAIL("read");
            } catch (const ImportReadError& e) {
                QVERIFY2(e.message().contains(text::nativePath(path)), qPrintable(e.fullText()));
            }
        }
    }

    // The export: golden files, and the old file kept when the new one cannot be written whole.
    void exportFile_data()
    {
        // clang-format off
        test::addDataRows<ExportRow>({
            {.name = "empty table, title", .columns = "PLU_No,PLU_Commodity", .title = true, .file = "PLU_No\tPLU_Commodity\r\n"},
            {.name = "empty table", .file = ""},
            {.name = "stored order", .plus = "PLU_No=9|PLU_No=5", .file = "9\r\n5\r\n"},
            {.name = "a field twice, Blank twice", .plus = "PLU_No=5", .columns = "PLU_No,PLU_No,Blank,Blank", .file = "5\t5\t0\t0\r\n"},
            {.name = "no name", .plus = "PLU_No=5", .columns = "PLU_Commodity,PLU_No", .file = "\t5\r\n"},
            {.name = "comma sign, comma separator", .plus = "PLU_UPrice=1234", .columns = "PLU_UPrice", .separator = ',', .decimals = "2 3 ,", .file = "12,34\r\n"},
            {.name = "no price decimals", .plus = "PLU_UPrice=1234|PLU_UPrice=0", .columns = "PLU_UPrice", .decimals = "0 3 .", .file = "1234.\r\n0\r\n"},
            {.name = "7 at 3 places, -5 at 2, Null", .plus = "PLU_UPrice=7;PLU_Tare=-5;PLU_Disc_1stLim=<null>;PLU_EANItemCode=<null>", .columns = "PLU_UPrice,PLU_Tare,PLU_Disc_1stLim,PLU_EANItemCode", .decimals = "3 2 .", .file = "0.007\t-0.05\t0.00\t\r\n"},
            {.name = "first line past its block", .plus = "PLU_No=1;PLU_Commodity=\x01\x09short\x0c", .columns = "PLU_Commodity,PLU_No", .file = "\t1\r\n"},
            {.name = "three-line name, every catalogue field, two stores", .plus = "ST_No=1;PLU_No=5;PLU_UPrice=1234;PLU_Tare=250;PLU_MemDisc4=9;PLU_Disc_1stLim=1;PLU_EANItemCode=00123;PLU_Description=\x01\x02xy\x0c;PLU_Commodity=\x01\x03one\x0d\x01\x03two\x0d\x02\x05three\x0c|ST_No=2;PLU_No=5;PLU_MG=12;Stat1_NegativePLU=1", .columns = "@catalogue", .title = true, .file = "@plu_every_field.txt"},
        });
        // clang-format on
    }
    void exportFile()
    {
        QFETCH(ExportRow, row);
        QStringList columns = QString::fromLatin1(row.columns).split(QLatin1Char(','));
        QByteArray file = row.file;
        for (const QString& p : QString::fromLatin1(row.plus).split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            QVariantMap values = test::fieldValues(p);
            for (const char* block : {"PLU_Commodity", "PLU_Description"})
                if (values.contains(block) && !values.value(block).isNull())
                    values[block] = values.value(block).toString().toLatin1();
            test::addRow(QStringLiteral("KVB_25"), values);
        }
        if (columns == QStringList{"@catalogue"})
            columns = catalogue();
        if (file.startsWith('@'))
            file = test::readFile(DataDir + QString::fromLatin1(file.mid(1)));
        const QStringList d = QString::fromLatin1(row.decimals).split(QLatin1Char(' '));
        const QString target = m_folder->tempFile(QStringLiteral("out.txt"));
        QVERIFY(test::writeFile(target, QByteArray(1000, 'x')));
        exportPlus(target, {columns, row.separator, row.title, {d[0].toInt(), d[1].toInt(), d[2]}});
        QCOMPARE(test::readFile(target), file);
    }

    void exportFailureKeepsTheOldFile()
    {
        gDBConnection.exec(
            QStringLiteral("WITH RECURSIVE n(r) AS (SELECT 1 UNION ALL SELECT r + 1 FROM n WHERE r < 2000) "
                           "INSERT INTO KVB_25 (ST_No, PLU_No, PLU_UPrice) SELECT 1, r, 123456 FROM n"));
        const QString target = m_folder->tempFile(QStringLiteral("out.txt"));
        QVERIFY(test::writeFile(target, "old\r\n"));
        const std::optional<QString> failure = test::runUnderFileSizeLimit(4096, [&] {
            try {
                exportPlus(target, {{"PLU_No", "PLU_UPrice"}, '\t', false, {2, 3, "."}});
            } catch (const ReportError& e) {
                return e.message();
            }
            return QStringLiteral("written");
        });
        QVERIFY(failure && failure->contains(QLatin1String("cannot be written")));
        QCOMPARE(test::readFile(target), QByteArray("old\r\n"));
        QCOMPARE(exportPlus(target, {}), -1);
    }

    // The choice file: what a save writes, and what each line of a loaded one does.
    void choiceFile()
    {
        QCOMPARE(pluChoiceText({1, true, 3, 0, {0, 5, 0}}),
                 QByteArray(" 1 \r\n 1 \r\n 3 \r\n 0 \r\n 0 \r\n 5 \r\n 0 \r\n"));
        QCOMPARE(pluChoiceText({1, true, 3, 0, {}}), QByteArray());
        const QString path = m_folder->tempFile(QStringLiteral("choice.txt"));
        writePluChoice(path, {0, false, -1, 2, {40}});
        QCOMPARE(test::readFile(path), QByteArray(" 0 \r\n 0 \r\n-1 \r\n 2 \r\n 40 \r\n"));
        QVERIFY_THROWS_EXCEPTION(ReportError, writePluChoice(m_folder->tempFile("no/such/folder.txt"), {}));
    }

    // A choice file's lines: separator, chkPLU, the two sizes, positions; from 1, 0, 2, 3, {7}.
    void choiceLines_data()
    {
        // clang-format off
        test::addDataRows<ChoiceRow>({
            {"", "1 0 2 3 -"},
            {" 0 ", "0 0 2 3 -"},
            {"2", "1 0 2 3 -"},
            {"0.5\r\nx\r\n 1 \r\n6", "0 1 1 6 -"},
            {"1.5\r\n 0 \r\n0\r\n7", "1 0 2 3 -"},
            {"-1\r\n0.0\r\n2.5\r\n1.5", "1 0 2 2 -"},
            {"x\r\n1\r\n-1\r\n35", "1 1 2 3 -"},
            {"0\r\n0\r\n4\r\n5\r\n 40 \r\n41\r\n-1\r\n0.5\r\n1.5\r\nx\r\n40.5\r\n 3 ", "0 0 4 5 40,0,2,40,3"},
            {"1\r\n1\r\n1\r\n1\r\n1e1\r\n+2\r\n1,5\r\n\x01\r\n" "99999999999999999", "1 1 1 1 2"},
        }, [](const ChoiceRow& r) { return QByteArray(r.bytes).toPercentEncoding(" "); });
        // clang-format on
    }
    void choiceLines()
    {
        QFETCH(ChoiceRow, row);
        const PluChoice c = parsePluChoice(row.bytes, {1, false, 2, 3, {7}}, 41, 6);
        QStringList positions;
        for (const int p : c.positions)
            positions << QString::number(p);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(c.separator)
                     .arg(c.override ? 1 : 0)
                     .arg(c.commodityFontSize)
                     .arg(c.descriptionFontSize)
                     .arg(positions.isEmpty() ? QStringLiteral("-") : positions.join(QLatin1Char(','))),
                 QString::fromLatin1(row.choice));
    }
};

QTEST_GUILESS_MAIN(TstPluExchange)
#include "tst_pluexchange.moc"
