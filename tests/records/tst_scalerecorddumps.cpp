#include "platform/text/TextFile.h"
#include "records/KvbRecords.h"
#include "records/OtherRecords.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "records/ScaleRecordDumps.h"
#include "state/SharedData.h"
#include "support/CodecTestDb.h"
#include "support/DataRows.h"
#include "support/PluGenerator.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using namespace quorvane::test;

namespace {

// The fields each table's text dump keeps, which are all a row holds after the text reload.
const QList<QPair<QString, QStringList>>& textDumpFields()
{
    static const QList<QPair<QString, QStringList>> f{
        {"STORE", {"ST_No", "ST_Name", "Flag1", "Flag2", "barformat"}},
        {"KVB_20", {"DP_No", "DP_Name", "Flag1", "Flag2", "barformat", "ST_No", "SECT_No"}},
        {"KVB_23", {"MG_No", "MG_Name", "Flag1", "Flag2", "barformat", "Tax_No", "ST_No", "SECT_No", "DP_No"}},
        {"KVB_14",
         {"FBar_No", "FBar_Type", "FBar_ItemDigitNo", "FBar_Data1Type", "FBar_Data2Type", "FBar_FBarDigitNo", "FBar_CD",
          "FBar_Data1", "FBar_Data2", "FBar_Data1SH", "FBar_Data2SH", "FBar_EANorITF"}},
        {"KVB_25", {"PLU_No", "ST_No", "SECT_No"}},
        {"KVB_44", {"Clerk_No", "Name", "Status"}},
        {"KVB_3A", {"No", "NextNo", "NameFirstLine"}},
        {"KVB_AD", {"Number", "Status", "Name", "Reserved"}},
    };
    return f;
}

using Tables = QMap<QString, QList<QVariantMap>>;

Tables snapshot()
{
    Tables t;
    for (const auto& [table, fields] : textDumpFields())
        for (qint64 id : rowIds(table))
            t[table] << rowValues(table, id);
    return t;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray department(int no, const QByteArray& name)
{
    return PackedBcd(no, 4) + hex("0016") + name + QByteArray(16 - name.size(), '\0');
}

QByteArray minimalPlu(int no) { return PackedBcd(no, 4) + hex("0020") + QByteArray(26, '\0'); }

QByteArray slot(const QByteArray& bytes, int width) { return bytes + QByteArray(width - bytes.size(), '\0'); }

QByteArray clerk(int no, const QByteArray& name) { return PackedBcd(no, 4) + hex("001B") + slot(name, 20) + hex("00"); }

QByteArray presetKey(int no) { return PackedBcd(no, 4) + hex("000B") + QByteArray(5, '\0'); }

using Rows = QList<QVariantMap>;

struct ReloadRow {
    const char* name;
    QString table = "KVB_20";
    QByteArray bytes;
    QString applied; // a mark a row: 1 where it got a record
    int messages = 0;
    QString said{};           // in the first message
    QList<int> keys{1, 2, 3}; // of the rows
};

} // namespace

class TestScaleRecordDumps : public CodecDbTest {
    Q_OBJECT

private:
    QString folder(const QString& name)
    {
        const QString path = m_db->path(name);
        QDir().mkpath(path);
        return path;
    }

    // What a start-up does after the shutdown: a new database, the rows of the text dumps, then the records.
    void restart(const Tables& before, const QString& from, QStringList* messages)
    {
        QVERIFY2(m_db->rebuild(), qPrintable(m_db->error()));
        db::Transaction tx(gDBConnection);
        for (const auto& [table, fields] : textDumpFields())
            for (const QVariantMap& row : before.value(table)) {
                QVariantMap kept;
                for (const QString& f : fields)
                    kept.insert(f, row.value(f));
                addRow(table, kept);
            }
        tx.commit();
        QString error;
        QVERIFY2(LoadBinDataFromFiles(from, messages, &error), qPrintable(error));
        for (const char* t : {"KVB_20", "KVB_23", "KVB_14"})
            QVERIFY2(DecodeKVBRecords(QLatin1String(t), &error), qPrintable(error));
    }

    void save(const QString& to, const QString& current, QStringList* warnings = nullptr)
    {
        QString error;
        QVERIFY2(SaveBinDataToFiles(to, current, warnings, &error), qPrintable(error));
    }

private slots:
    void fullRestartKeepsEverything()
    {
        for (const auto& [table, values] : generatorLevels())
            addRow(table, values);
        addRow("STORE", {{"ST_No", 2}, {"ST_Name", "Branch"}, {"barformat", 255}, {"Flag1", 16}, {"Flag2", 3}});
        addRow("KVB_20",
               {{"ST_No", 2},
                {"DP_No", 5},
                {"DP_Name", "Bakery and cakes!"},
                {"barformat", 7},
                {"Flag1", 4},
                {"Flag2", 16}});
        addRow("KVB_20",
               {{"ST_No", 2}, {"DP_No", 97}, {"DP_Name", ""}, {"barformat", 255}, {"Flag1", 1}, {"Flag2", 2}});
        addRow("KVB_23",
               {{"ST_No", 2}, {"MG_No", 997}, {"DP_No", 5}, {"MG_Name", "Bread"}, {"barformat", 255}, {"Tax_No", 3}});
        addRow("KVB_14",
               {{"FBar_No", 9},
                {"FBar_Type", 2},
                {"FBar_ItemDigitNo", 10},
                {"FBar_Data1", 9},
                {"FBar_Data2", 1},
                {"FBar_Data1Type", 10},
                {"FBar_Data2Type", 3},
                {"FBar_Data1SH", 5},
                {"FBar_Data2SH", 2},
                {"FBar_FBarDigitNo", 12},
                {"FBar_CD", 130},
                {"FBar_EANorITF", 1}});
        addRow("KVB_44",
               {{"Clerk_No", 1}, {"Name", "Ann"}, {"KVBBinData", hex("00000001 001B") + QByteArray(21, 'a')}});
        addRow("KVB_44",
               {{"Clerk_No", 2}, {"Name", "Bob"}, {"KVBBinData", hex("00000002 001B") + QByteArray(21, 'b')}});
        addRow("KVB_3A", {{"No", 1}, {"KVBBinData", hex("00000001 000F 00000000") + textLine(1, "Oil", 0x0C).left(5)}});
        addRow("KVB_3A", {{"No", 2}, {"KVBBinData", hex("00000002 000A 00000000")}});
        addRow("KVB_3A", {{"No", 3}, {"KVBBinData", hex("00000003 0011 00000000") + textLine(1, "Salt", 0x0C)}});
        QRandomGenerator gen(7);
        db::Transaction tx(gDBConnection);
        for (int n = 0; n < 300; ++n)
            addRow("KVB_25", generatePlu(gen, 1000 + n * 7));
        tx.commit();
        // Encode the flexible barcodes and departments the way their editors do, except the last ones.
        gRsWork.openTable("KVB_14");
        EncodeKVBRecord("KVB_14");
        gRsWork.close();

        const QString first = folder("first");
        QStringList warnings;
        save(first, QString(), &warnings);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
        Tables before = snapshot();
        // The exit writes no PLU row; the restart gives each the values its record was built with.
        for (QVariantMap& values : before["KVB_25"]) {
            PluRow row;
            for (int f = 0; f < plu::Count; ++f)
                row.load(plu::Field(f), values.value(plu::name(plu::Field(f))));
            row.set(plu::KVBBinData, encodePluRecord(row, false));
            for (int f = 0; f < plu::Count; ++f)
                values.insert(plu::name(plu::Field(f)), row.value(plu::Field(f)));
        }
        QCOMPARE(fileBytes(first + "/tempdeptkvb.txt").size(), 3 * 22);
        QCOMPARE(fileBytes(first + "/tempmgkvb.txt").size(), 4 * 30);
        QCOMPARE(fileBytes(first + "/tempflexibarcodekvb.txt").size(), 3 * 16);
        QCOMPARE(fileBytes(first + "/tempclerkkvb.txt").size(), 2 * 27);
        QCOMPARE(fileBytes(first + "/tempingfilekvb.txt").size(), 15 + 10 + 17);
        QCOMPARE(fileBytes(first + "/temppesetkeykvb.txt"), QByteArray());
        // The flexible barcode that had no record gets byte 11 from both flags: EAN, last check digit.
        QCOMPARE(fileBytes(first + "/tempflexibarcodekvb.txt").right(16), hex("00000009 0010 0210090112 82 10030502"));

        QStringList messages;
        restart(before, first, &messages);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        const Tables after = snapshot();
        for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
            const QList<QVariantMap>& rows = it.value();
            QCOMPARE(after.value(it.key()).size(), rows.size());
            for (int i = 0; i < rows.size(); ++i) {
                QVariantMap expected = rows[i];
                if (expected.contains("Is_Selected"))
                    expected.insert("Is_Selected", 0);
                for (const char* name : {"DP_Name", "MG_Name"}) // the records keep 16 bytes of a name
                    if (expected.contains(name))
                        expected.insert(name, expected.value(name).toString().left(16));
                if (it.key() == "KVB_14")
                    expected.insert("FBar_CD", rows[i].value("FBar_CD").toInt() % 128);
                if (it.key() == "KVB_3A")
                    expected.insert("Name",
                                    expected.value("KVBBinData").toByteArray().size() == 10
                                        ? QVariant()
                                        : QVariant(expected.value("KVBBinData").toByteArray().mid(10)));
                const QVariantMap got = after.value(it.key())[i];
                for (auto f = expected.constBegin(); f != expected.constEnd(); ++f)
                    QVERIFY2(got.value(f.key()) == f.value(),
                             qPrintable(QStringLiteral("%1 row %2, %3: %4 became %5")
                                            .arg(it.key())
                                            .arg(i)
                                            .arg(f.key(), f.value().toString(), got.value(f.key()).toString())));
            }
        }
        QCOMPARE(after["KVB_20"][1].value("DP_Name").toString(), QString("Bakery and cakes")); // cut to 16 bytes

        // The next exit writes the same files byte for byte.
        const QString second = folder("second");
        save(second, first);
        for (const QString& name : QDir(first).entryList(QDir::Files))
            QVERIFY2(fileBytes(first + '/' + name) == fileBytes(second + '/' + name), qPrintable(name));
    }

    void emptyTablesGiveEmptyFiles()
    {
        const QString out = folder("out");
        save(out, QString());
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 15);
        for (const QString& name : QDir(out).entryList(QDir::Files))
            QCOMPARE(fileBytes(out + '/' + name), QByteArray());
        QStringList messages;
        QVERIFY(LoadBinDataFromFiles(out, &messages, nullptr));
        QVERIFY(messages.isEmpty());
    }

    void plusOf40And57Bytes()
    {
        const QString in = folder("in");
        const QByteArray first = hex(
            "00000011 0028 01000000 06000000000000000000000000000000 00000150 01 21 000123000000 0250");
        const QByteArray second = hex("00000012 0039 00000000 80000000000000000000000000000000 00000999 00 FF")
            + textLine(1, QByteArray(22, 'x'), 0x0C);
        QCOMPARE(first.size(), 40);
        QCOMPARE(second.size(), 57);
        QVERIFY(text::writeFileAtomically(in + "/tempplukvb.txt", first + second));
        addRow("KVB_25", {{"PLU_No", 11}, {"ST_No", 1}});
        addRow("KVB_25", {{"PLU_No", 12}, {"ST_No", 1}});
        QStringList messages;
        QVERIFY(LoadBinDataFromFiles(in, &messages, nullptr));
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        const QList<qint64> ids = rowIds("KVB_25");
        const QVariantMap p11 = rowValues("KVB_25", ids[0]), p12 = rowValues("KVB_25", ids[1]);
        QCOMPARE(p11.value("KVBBinData").toByteArray(), first);
        QCOMPARE(p11.value("PLU_UPrice").toInt(), 150);
        QCOMPARE(p11.value("PLU_EANItemCode").toString(), QString("00123"));
        QCOMPARE(p11.value("PLU_Tare").toInt(), 250);
        QCOMPARE(p12.value("PLU_CommodityFirst").toString(), QString(22, 'x'));
        QCOMPARE(p12.value("PLU_EANFlags").toInt(), 255);
    }

    void textRecordsGiveTheirTextBlocks()
    {
        const QString in = folder("in");
        QVERIFY(text::writeFileAtomically(in + "/tempingfilekvb.txt",
                                          hex("00000001 000A 00000000") + hex("00000002 000F 00000000 0103414243")));
        addRow("KVB_3A", {{"No", 1}, {"Name", QByteArray("stale")}});
        addRow("KVB_3A", {{"No", 2}});
        QVERIFY(LoadBinDataFromFiles(in, nullptr, nullptr));
        const QList<qint64> ids = rowIds("KVB_3A");
        QVERIFY(rowValues("KVB_3A", ids[0]).value("Name").isNull());
        QCOMPARE(rowValues("KVB_3A", ids[1]).value("Name").toByteArray(), hex("0103414243"));
    }

    void rowsWithoutRecordGetOneFromTheirEncoder()
    {
        addRow("KVB_20", {{"DP_No", 97}, {"DP_Name", "Fruit"}});
        addRow("KVB_20",
               {{"DP_No", 5}, {"DP_Name", "Fish"}, {"KVBBinData", department(4, "Old")}}); // stale: another number
        addRow("KVB_20", {{"DP_No", 6}, {"DP_Name", "Meat"}, {"KVBBinData", department(6, "Kept as it was")}});
        addRow("KVB_23", {{"MG_No", 997}, {"DP_No", 97}, {"MG_Name", "General"}, {"Tax_No", 1}});
        addRow("KVB_14", {{"FBar_No", 3}, {"FBar_CD", 2}, {"FBar_EANorITF", 1}, {"FBar_Type", 1}});
        addRow("KVB_25", {{"PLU_No", 4}});
        const QString out = folder("out");
        save(out, QString());
        QCOMPARE(fileBytes(out + "/tempdeptkvb.txt"),
                 department(97, "Fruit") + department(5, "Fish") + department(6, "Kept as it was"));
        QCOMPARE(fileBytes(out + "/tempmgkvb.txt"),
                 hex("00000997 001E 00000097") + "General" + QByteArray(9, '\0') + hex("00000001"));
        QCOMPARE(fileBytes(out + "/tempflexibarcodekvb.txt"), hex("00000003 0010 0100000000 82 00000000"));
        QCOMPARE(fileBytes(out + "/tempplukvb.txt"), minimalPlu(4).replace(31, 1, hex("00")));
        QCOMPARE(rowValues("KVB_20", rowIds("KVB_20").first()).value("KVBBinData").toByteArray(),
                 department(97, "Fruit"));
    }

    // Each row gets its own record by its key, so records out of order still reach their rows; one that is not
    // its row's, or cannot be read whole, costs that row alone.
    void reloadGivesEachRowItsOwnRecord_data()
    {
        const QByteArray p1 = minimalPlu(1), p2 = minimalPlu(2), p3 = minimalPlu(3), p9 = minimalPlu(9);
        const QByteArray d1 = department(1, "A"), d2 = department(2, "B"), d3 = department(3, "C");
        const QByteArray t1 = hex("00000001 000A 00000000");
        // clang-format off
        addDataRows<ReloadRow>({
            {.name = "departments: fewer records than rows", .bytes = d1, .applied = "100"},
            {.name = "departments: two swapped", .bytes = d1 + d3 + d2, .applied = "111"},
            {.name = "departments: none for the middle row", .bytes = d1 + d3, .applied = "101", .messages = 1, .said = "1 rows of KVB_20 keep no scale record, since tempdeptkvb.txt holds none of theirs: DP_No 2."},
            {.name = "departments: the file ends inside a record", .bytes = d1 + d2.left(21), .applied = "100", .messages = 1, .said = "ends inside record 2"},
            {.name = "departments: length bytes wrong", .bytes = d1 + QByteArray(d2).replace(5, 1, "\x17") + d3, .applied = "101", .messages = 1, .said = "DP_No 2 (record 2 (at byte 22) says it is 23 bytes long)"},
            {.name = "departments: records after the last row", .bytes = d1 + d2 + d3 + department(4, "D"), .applied = "111", .messages = 1, .said = "holds 1 records of KVB_20 that go to no row and were not applied: record 4 is of DP_No 4."},
            {.name = "clerks: two swapped", .table = "KVB_44", .bytes = clerk(2, "B") + clerk(1, "A"), .applied = "110"},
            {.name = "texts: another key", .table = "KVB_3A", .bytes = t1 + hex("00000007 000B 00000000 41"), .applied = "100", .messages = 1, .said = "No 2 (record 2 is of No 7)"},
            {.name = "PLUs: fewer records than rows", .table = "KVB_25", .bytes = p1, .applied = "100", .messages = 1, .said = "PLU 2, 3."},
            {.name = "PLUs: another key in place", .table = "KVB_25", .bytes = p1 + p9 + p3, .applied = "101", .messages = 1, .said = "PLU 2 (record 2 is of PLU 9)."},
            {.name = "PLUs: none for the middle row", .table = "KVB_25", .bytes = p1 + p3, .applied = "101", .messages = 1, .said = "PLU 2."},
            {.name = "PLUs: two swapped", .table = "KVB_25", .bytes = p1 + p3 + p2, .applied = "111"},
            {.name = "PLUs: one record too many", .table = "KVB_25", .bytes = p1 + p9 + p2 + p3, .applied = "111", .messages = 1, .said = "record 2 is of PLU 9."},
            // One number in two stores: the record after the first row's place is the second row's, not the first's.
            {.name = "PLUs: one number twice, the first record another's", .table = "KVB_25", .bytes = p9 + minimalPlu(5), .applied = "01", .messages = 1, .said = "PLU 5 (record 1 is of PLU 9).", .keys = {5, 5}},
            {.name = "PLUs: one number twice, the first record damaged", .table = "KVB_25", .bytes = QByteArray(minimalPlu(5)).replace(0, 4, hex("FFFFFFFF")) + minimalPlu(5), .applied = "01", .messages = 1, .said = "PLU 5 (record 1 has no number).", .keys = {5, 5}},
            {.name = "PLUs: none for row 2, the file cut in row 5's", .table = "KVB_25", .bytes = p1 + p3 + minimalPlu(4) + minimalPlu(5).left(31), .applied = "10110", .messages = 1, .said = "PLU 2, 5 (the file ends inside record 4 (at byte 96) of 32 bytes).", .keys = {1, 2, 3, 4, 5}},
            {.name = "PLUs: PLU 0's in place of PLU -5's", .table = "KVB_25", .bytes = minimalPlu(0) + minimalPlu(0), .applied = "10", .messages = 1, .said = "PLU -5 (record 2 is of PLU 0).", .keys = {0, -5}},
            {.name = "PLUs: PLU -5's record is PLU 0's", .table = "KVB_25", .bytes = minimalPlu(0) + minimalPlu(0), .applied = "01", .messages = 1, .said = "PLU -5 (record 1 is of PLU 0).", .keys = {-5, 0}},
            {.name = "PLUs: another key, then a cut record", .table = "KVB_25", .bytes = p9 + p2 + p3.left(31), .applied = "010", .messages = 1, .said = "PLU 1 (record 1 is of PLU 9), 3 (the file ends inside record 3 (at byte 64) of 32 bytes)."},
            {.name = "PLUs: length 0", .table = "KVB_25", .bytes = p1 + QByteArray(p2).replace(4, 2, hex("0000")), .applied = "100", .messages = 1, .said = "PLU 2 (record 2 (at byte 32) says it is 0 bytes long), 3."},
            // Where record 2 says it ends, bytes inside record 3 read as the header of a record of 32 bytes; record 3
            // says it reaches the end of the file.
            {.name = "PLUs: length 60 in record 2", .table = "KVB_25", .bytes = p1 + QByteArray(p2).replace(4, 2, hex("003C")) + QByteArray(p3).replace(4, 2, hex("0040")) + hex("0020") + QByteArray(30, '\0'), .applied = "101", .messages = 1, .said = "PLU 2 (record 2 (at byte 32) says it is 60 bytes long)."},
            {.name = "PLUs: shorter than its header", .table = "KVB_25", .bytes = p1 + hex("000000"), .applied = "100", .messages = 1, .said = "PLU 2 (the file ends inside the header of record 2 (at byte 32)), 3."},
            {.name = "PLUs: length past the end", .table = "KVB_25", .bytes = p1 + QByteArray(p2).replace(4, 2, hex("0021")), .applied = "100", .messages = 1, .said = "PLU 2 (the file ends inside record 2 (at byte 32) of 33 bytes), 3."},
        });
        // clang-format on
    }
    void reloadGivesEachRowItsOwnRecord()
    {
        QFETCH(ReloadRow, row);
        const QString keyField = row.table == "KVB_25" ? "PLU_No"
            : row.table == "KVB_20"                    ? "DP_No"
                                                       : otherRecordKeyField(row.table);
        for (int key : row.keys)
            addRow(row.table, {{keyField, key}});
        const QString in = folder("in");
        QVERIFY(text::writeFileAtomically(in + '/' + recordDumpFile(row.table), row.bytes));
        // Start-up goes on with the other tables.
        QVERIFY(text::writeFileAtomically(in + "/tempadvfilekvb.txt", hex("00000001 000A 00000000")));
        addRow("KVB_3C", {{"No", 1}});
        QStringList messages, notApplied;
        QString error;
        QVERIFY(LoadBinDataFromFiles(in, &messages, &error, &notApplied));
        QCOMPARE(messages.size(), row.messages);
        QCOMPARE(notApplied, row.messages ? QStringList{row.table} : QStringList());
        QString applied;
        for (qint64 id : rowIds(row.table))
            applied += rowValues(row.table, id).value("KVBBinData").isNull() ? '0' : '1';
        QCOMPARE(applied, row.applied);
        QCOMPARE(rowValues("KVB_3C", rowIds("KVB_3C").first()).value("KVBBinData").toByteArray().size(), 10);
        QVERIFY2(messages.value(0).contains(row.said), qPrintable(messages.value(0)));
    }

    // A row whose record is another PLU's loses its values alone; the rows around it are restored.
    void oneWrongRecordCostsOneRow()
    {
        for (int n = 1; n <= 5; ++n)
            addRow("KVB_25", {{"PLU_No", n}, {"ST_No", 1}, {"PLU_UPrice", 100 + n}});
        const QString out = folder("out");
        save(out, QString());
        const Tables before = snapshot();
        QByteArray records = fileBytes(out + "/tempplukvb.txt");
        QVERIFY(text::writeFileAtomically(out + "/tempplukvb.txt",
                                          records.replace(2 * records.size() / 5, 4, PackedBcd(99, 4))));
        QStringList messages;
        restart(before, out, &messages);
        QCOMPARE(
            messages,
            QStringList{
                "The values of 1 PLUs were not restored from their scale records: PLU 3 (record 3 is of PLU 99)."});
        QList<QVariant> prices;
        for (qint64 id : rowIds("KVB_25"))
            prices << rowValues("KVB_25", id).value("PLU_UPrice");
        QCOMPARE(prices, (QList<QVariant>{101, 102, 0, 104, 105}));
        QVERIFY(rowValues("KVB_25", rowIds("KVB_25")[2]).value("KVBBinData").isNull());
    }

    void unrestoredPlusAreNamedAndMarked()
    {
        addRow("KVB_25", {{"PLU_No", 1}});
        addRow("KVB_25", {{"PLU_No", 2}});
        addRow("KVB_25", {{"PLU_No", 3}});
        const QString start = folder("start");
        // PLU 2's record says it holds a tare that is not there: it is decoded up to there and marked.
        const QByteArray broken = hex("00000002 0021 00000000 02000000000000000000000000000000 00000777 00 00 01");
        const QByteArray file = minimalPlu(1) + broken + minimalPlu(3).replace(4, 2, hex("001F")).left(31);
        QVERIFY(text::writeFileAtomically(start + "/tempplukvb.txt", file));
        QStringList messages;
        QVERIFY(LoadBinDataFromFiles(start, &messages, nullptr));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains("PLU 2 (") && messages.first().contains("3 ("),
                 qPrintable(messages.first()));
        const QList<qint64> ids = rowIds("KVB_25");
        QCOMPARE(rowValues("KVB_25", ids[0]).value("Is_Selected").toInt(), 0);
        QCOMPARE(rowValues("KVB_25", ids[1]).value("Is_Selected").toInt(), 1);
        QCOMPARE(rowValues("KVB_25", ids[1]).value("PLU_UPrice").toInt(), 777);
        QCOMPARE(rowValues("KVB_25", ids[2]).value("Is_Selected").toInt(), 0);
    }

    void deletedMainGroupKeepsThePlu()
    {
        // Store 1 has no main group 5 any more, so the PLU's inherited bar format is 0.
        addRow("STORE", {{"ST_No", 1}, {"barformat", 1}});
        addRow("KVB_25",
               {{"PLU_No", 1},
                {"ST_No", 1},
                {"PLU_MG", 5},
                {"Stat2_MGCode", 1},
                {"PLU_BarFormat", 255},
                {"Stat2_ItemCode", 1},
                {"PLU_EANItemCode", "12"},
                {"PLU_UPrice", 3}});
        const QString out = folder("out");
        QStringList warnings;
        save(out, QString(), &warnings);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
        QCOMPARE(fileBytes(out + "/tempplukvb.txt"),
                 hex("00000001 0028 00000000 05000000000000000000000000000000 00000003 FF 00 000000001200 0005"));

        // At start-up the PLU comes back whole, its item code derived as for format 0.
        QStringList messages;
        QVERIFY(LoadBinDataFromFiles(out, &messages, nullptr));
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        const QVariantMap row = rowValues("KVB_25", rowIds("KVB_25").first());
        QCOMPARE(row.value("Is_Selected").toInt(), 0);
        QCOMPARE(row.value("PLU_EANItemCode").toString(), QString("0000000012"));
    }

    // The rows the text reload held back are added once each, whole: as a new row, with the dumped fields and
    // what the record holds. A row without its record is added all the same; the rows already there stay.
    void heldRowsAreAddedWhole()
    {
        const QString in = folder("in");
        QVERIFY(text::writeFileAtomically(in + "/tempplukvb.txt", minimalPlu(1).replace(26, 4, hex("00000150"))));
        addRow("KVB_25", {{"PLU_No", 9}, {"PLU_UPrice", 9}});
        const HeldPluRows held{{plu::PLU_No, plu::ST_No, plu::SECT_No}, {1, 2, 3, 5, 2, 3}};
        QStringList messages;
        QVERIFY(LoadBinDataFromFiles(in, &messages, nullptr, nullptr, &held));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains("PLU 5."), qPrintable(messages.first()));
        const QList<qint64> ids = rowIds("KVB_25");
        QCOMPARE(ids.size(), 3);
        QCOMPARE(rowValues("KVB_25", ids[0]).value("PLU_UPrice").toInt(), 9);
        const QVariantMap one = rowValues("KVB_25", ids[1]);
        QCOMPARE(one.value("PLU_UPrice").toInt(), 150);
        QCOMPARE(one.value("SECT_No").toInt(), 3);
        QCOMPARE(rowValues("KVB_25", ids[2]),
                 rowValues("KVB_25", addRow("KVB_25", {{"PLU_No", 5}, {"ST_No", 2}, {"SECT_No", 3}})));
    }

    void missingPluFileNamesThePlus()
    {
        addRow("KVB_25", {{"PLU_No", 8}});
        QStringList messages;
        QVERIFY(LoadBinDataFromFiles(folder("empty"), &messages, nullptr));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().contains("PLU 8") && messages.first().contains("missing"));
    }

    void plusThatCannotBeEncodedAtExit()
    {
        QVariantMap old{{"PLU_No", 1}, {"PLU_UPrice", 5}, {"Stat2_PLUTare", 1}, {"PLU_Tare", 12345}};
        old.insert("KVBBinData", minimalPlu(1));
        addRow("KVB_25", old);
        addRow("KVB_25",
               {{"PLU_No", 2},
                {"PLU_UPrice", 6},
                {"Stat2_PLUTare", 1},
                {"PLU_Tare", 12345},
                {"Stat2_TaxNo", 1},
                {"PLU_TaxNo", 7}});
        addRow("KVB_25", {{"PLU_No", 3}, {"PLU_UPrice", -6}});
        addRow("KVB_25", {{"PLU_No", 4}, {"PLU_UPrice", 8}});
        const QString out = folder("out");
        QStringList warnings;
        save(out, QString(), &warnings);
        QCOMPARE(warnings.size(), 2);
        QVERIFY2(warnings[0].contains("PLU 1:"), qPrintable(warnings[0]));
        QVERIFY2(warnings[1].contains("PLU 2 (Stat2_PLUTare left out")
                     && warnings[1].contains("PLU 3 (PLU_UPrice written as 0"),
                 qPrintable(warnings[1]));
        const QByteArray two = hex("00000002 0021 00000000 08000000000000000000000000000000 00000006 00 00 07");
        const QByteArray three = minimalPlu(3).replace(31, 1, hex("00"));
        const QByteArray four = minimalPlu(4).replace(26, 4, hex("00000008")).replace(31, 1, hex("00"));
        QCOMPARE(fileBytes(out + "/tempplukvb.txt"), minimalPlu(1) + two + three + four);
        // The exit writes no PLU row: what it leaves out, it leaves out of the record alone.
        const QVariantMap row2 = rowValues("KVB_25", rowIds("KVB_25")[1]);
        QCOMPARE(row2.value("Stat2_PLUTare").toInt(), 1);
        QVERIFY(row2.value("KVBBinData").isNull());
    }

    // A row whose record is missing, of another size or length, or another row's gets one from its table's
    // encoder, saved in the row; a value that does not fit is written as 0 and named. Without an encoder, or
    // when it declines a row, the file ends at that row.
    void exitGivesRowsTheirRecords_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QByteArray>("dumped");
        QTest::addColumn<QStringList>("warned");                           // in the one warning; empty: none
        const QByteArray ann = hex("00000001 001B") + QByteArray(21, 'a'); // fits its row, whatever it holds
        QTest::newRow("clerks") << "KVB_44"
                                << Rows{{{"Clerk_No", 1}, {"Name", "Ann"}, {"KVBBinData", ann}},
                                        {{"Clerk_No", 2}, {"Name", "Bob"}},
                                        {{"Clerk_No", 3}, {"Name", "Cy"}, {"KVBBinData", clerk(4, "Cy")}},
                                        {{"Clerk_No", 5}, {"Name", "Di"}, {"KVBBinData", clerk(5, "Di").left(26)}},
                                        {{"Clerk_No", 6}, {"Name", "Ed"}, {"KVBBinData", QByteArray()}}}
                                << ann + clerk(2, "Bob") + clerk(3, "Cy") + clerk(5, "Di") + clerk(6, "Ed")
                                << QStringList();
        QTest::newRow("taxes with values that do not fit")
            << "KVB_A8"
            << Rows{{{"Code", 3}, {"Name", QString::fromUtf8("现金")}, {"Rate", 1750}, {"Status", 1}},
                    {{"Code", 4}, {"Name", "VAT4"}, {"Rate", 17500}, {"Status", 0}}}
            << hex("00000003 000E 00000000 1750 01 00") + hex("00000004 000E") + "VAT4" + hex("0000 00 00")
            << QStringList{"Some records of KVB_A8 were saved with values left out: Code 3: Name: ", "Code 4: Rate: "};
        QTest::newRow("discount schedule")
            << "KVB_AA"
            << Rows{{{"Number", 12},
                     {"Disc_SDate", 50127},
                     {"Disc_STime", 830},
                     {"Disc_EDate", 311227},
                     {"Disc_ETime", 2359},
                     {"Disc_LimitType", 0},
                     {"Disc_1stLim", 500},
                     {"Disc_Within1stL", 50},
                     {"Disc_2ndLim", 1000},
                     {"Disc_Within2ndL", 120},
                     {"Disc_Type", 2},
                     {"DisDayOfWeek", 62},
                     {"NextNumber", 13}}}
            << hex("00000012 002C 00050127 0830 00311227 2359 00 000000 00000500 00000050 00001000 00000120 02 3E "
                   "00000013")
            << QStringList();
        QTest::newRow("texts") << "KVB_3B"
                               << Rows{{{"No", 1}, {"NextNo", 5}, {"Name", hex("0103414243")}},
                                       {{"No", 2}, {"KVBBinData", hex("00000002 000A 00000009")}},
                                       {{"No", 3}, {"KVBBinData", hex("00000003 000B 00000000")}}}
                               << hex("00000001 000F 00000005 0103414243") + hex("00000002 000A 00000009")
                + hex("00000003 000A 00000000")
                               << QStringList();
        const Rows keys{{{"PSK_Layout", 0}, {"Number", 1}, {"KVBBinData", presetKey(1)}},
                        {{"PSK_Layout", 9}, {"Number", 2}},
                        {{"PSK_Layout", 0}, {"Number", 3}},
                        {{"PSK_Layout", 0}, {"Number", 4}, {"KVBBinData", presetKey(4)}}};
        QTest::newRow("preset keys without an encoder")
            << "KVB_41" << keys << presetKey(1)
            << QStringList{"1 scale records of KVB_41 could not be kept: row 2 has no whole record."};
        QTest::newRow("preset keys with an encoder that declines a row")
            << "KVB_41" << Rows{keys[0], keys[2], keys[1], keys[3]} << presetKey(1) + presetKey(3)
            << QStringList{"1 scale records of KVB_41 could not be kept: row 3 has no whole record, and none can be "
                           "built: Layout 9 is unknown."};
    }
    void exitGivesRowsTheirRecords()
    {
        QFETCH(QString, table);
        QFETCH(Rows, rows);
        QFETCH(QByteArray, dumped);
        QFETCH(QStringList, warned);
        for (const QVariantMap& row : rows)
            addRow(table, row);
        RecordEncoders encoders;
        if (QByteArray(QTest::currentDataTag()).contains("with an encoder"))
            encoders.insert("KVB_41", [](const db::Recordset& row, QStringList*) {
                if (row.intValue("PSK_Layout") != 0)
                    throw CodecError(QStringLiteral("Layout %1 is unknown.").arg(row.intValue("PSK_Layout")));
                return presetKey(int(row.intValue("Number")));
            });
        const QString out = folder("out");
        QStringList warnings;
        QString error;
        QVERIFY2(SaveBinDataToFiles(out, QString(), &warnings, &error, encoders), qPrintable(error));
        QCOMPARE(fileBytes(out + '/' + recordDumpFile(table)), dumped);
        QCOMPARE(warnings.size(), warned.isEmpty() ? 0 : 1);
        for (const QString& said : warned)
            QVERIFY2(warnings.value(0).contains(said), qPrintable(warnings.value(0)));
        // What was built is kept in the rows; a row that got none keeps what it had.
        QByteArray stored;
        for (qint64 id : rowIds(table))
            stored += rowValues(table, id).value("KVBBinData").toByteArray();
        QCOMPARE(stored.left(dumped.size()), dumped);
    }

    void unwritableTargetFails()
    {
        QString error;
        QVERIFY(!SaveBinDataToFiles(m_db->path("no/such/folder"), QString(), nullptr, &error));
        QVERIFY(error.contains("tempdeptkvb.txt"));
    }

    void tableTheDatabaseLacksKeepsItsFile()
    {
        const QString current = folder("current");
        QVERIFY(text::writeFileAtomically(current + "/temppaymentkeyfilekvb.txt", QByteArray(32, 'p')));
        gDBConnection.exec("DROP TABLE KVB_AD");
        const QString out = folder("out");
        save(out, current);
        QCOMPARE(fileBytes(out + "/temppaymentkeyfilekvb.txt"), QByteArray(32, 'p'));
        QCOMPARE(fileBytes(out + "/temptaxratefilekvb.txt"), QByteArray());
    }

    void withoutTheDatabaseNothingIsWritten()
    {
        const QString out = folder("out");
        gDBConnection.close();
        QString error;
        QVERIFY(!SaveBinDataToFiles(out, QString(), nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(QDir(out).entryList(QDir::Files).isEmpty());
        QVERIFY(!LoadBinDataFromFiles(out, nullptr, &error));
    }

    void reloadEmptiesBothMemories()
    {
        for (const auto& [table, values] : generatorLevels())
            addRow(table, values);
        const qint64 id = addRow("KVB_25", {{"PLU_No", 1}, {"ST_No", 1}, {"PLU_MG", 997}, {"PLU_BarFormat", 255}});
        db::Recordset rs(&gDBConnection);
        rs.open("SELECT * FROM KVB_25 WHERE rowid=?", {id});
        EncodePLURecord(rs, true);
        QCOMPARE(rs.bytesValue("KVBBinData").mid(30, 1), hex("03"));
        updateRow("STORE", rowIds("STORE").first(), {{"barformat", 6}});
        QVERIFY(LoadBinDataFromFiles(folder("none"), nullptr, nullptr));
        EncodePLURecord(rs, true);
        QCOMPARE(rs.bytesValue("KVBBinData").mid(30, 1), hex("06"));
    }
};

QTEST_GUILESS_MAIN(TestScaleRecordDumps)
#include "tst_scalerecorddumps.moc"
