#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "records/PluRow.h"
#include "state/SharedData.h"
#include "support/CodecTestDb.h"
#include "support/PluGenerator.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using namespace quorvane::test;

namespace {

const QStringList kCarriedAlways = {"PLU_No",      "PLU_UPrice",  "PLU_BarFormat", "PLU_EANFlags", "PLU_MG",
                                    "Stat1_Byte1", "Stat2_Byte1", "Stat2_Byte2",   "Stat2_Byte3"};

} // namespace

class TestPluRecord : public CodecDbTest {
    Q_OBJECT

private:
    QByteArray encode(const QVariantMap& values, bool resolve = false)
    {
        const qint64 id = addRow("KVB_25", values);
        db::Recordset rs(&gDBConnection);
        rs.open("SELECT * FROM KVB_25 WHERE rowid=?", {id});
        EncodePLURecord(rs, resolve);
        return rowValues("KVB_25", id).value("KVBBinData").toByteArray();
    }

    struct Decoded {
        PluDecodeResult result;
        QVariantMap row;
        QVariantMap before;
    };
    Decoded decode(const QVariant& record, QVariantMap start = {{"PLU_No", 1}, {"ST_No", 1}})
    {
        start.insert("KVBBinData", record);
        const qint64 id = addRow("KVB_25", start);
        Decoded d;
        d.before = rowValues("KVB_25", id);
        db::Recordset rs(&gDBConnection);
        rs.open("SELECT * FROM KVB_25 WHERE rowid=?", {id});
        d.result = DecodePLURecord(rs);
        rs.close();
        d.row = rowValues("KVB_25", id);
        return d;
    }

    void addLevels(int mgFormat, int mgFlag1, int mgFlag2)
    {
        addRow("STORE", {{"ST_No", 1}, {"Flag1", 0}, {"Flag2", 0}, {"barformat", 1}});
        addRow("KVB_20", {{"ST_No", 1}, {"DP_No", 97}, {"barformat", 2}, {"Flag1", 3}, {"Flag2", 3}});
        addRow("KVB_23",
               {{"ST_No", 1},
                {"MG_No", 997},
                {"DP_No", 97},
                {"barformat", mgFormat},
                {"Flag1", mgFlag1},
                {"Flag2", mgFlag2}});
    }

private slots:
    void workedExample()
    {
        const QByteArray rec = encode({{"PLU_No", 257},
                                       {"PLU_UPrice", 1000},
                                       {"PLU_BarFormat", 5},
                                       {"PLU_EANFlags", 21},
                                       {"Stat1_Unit", 1},
                                       {"PLU_Tare", 150},
                                       {"Stat2_PLUTare", 1}});
        QCOMPARE(rec, hex("00000257 0022 01000000 02000000000000000000000000000000 00001000 05 21 0150"));
    }

    void noOptionalField()
    {
        const QByteArray rec = encode({{"PLU_No", 3}});
        QCOMPARE(rec.size(), 32);
        QCOMPARE(rec.mid(4, 2), hex("0020"));
    }

    void flagsByte_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QByteArray>("byte");
        QTest::newRow("0") << 0 << hex("00");
        QTest::newRow("21") << 21 << hex("21");
        QTest::newRow("99") << 99 << hex("99");
        QTest::newRow("100") << 100 << hex("FF");
        QTest::newRow("176") << 176 << hex("FF");
        QTest::newRow("255") << 255 << hex("FF");
    }
    void flagsByte()
    {
        QFETCH(int, flags);
        QFETCH(QByteArray, byte);
        QCOMPARE(encode({{"PLU_No", 3}, {"PLU_EANFlags", flags}}).mid(31), byte);
    }

    void inheritedWithoutResolution()
    {
        addLevels(12, 2, 1);
        QCOMPARE(encode({{"PLU_No", 3}, {"PLU_BarFormat", 255}, {"PLU_EANFlags", 255}, {"ST_No", 1}, {"PLU_MG", 997}})
                     .mid(30),
                 hex("FFFF"));
    }

    void resolution_data()
    {
        QTest::addColumn<int>("mgFormat");
        QTest::addColumn<int>("flag1");
        QTest::addColumn<int>("flag2");
        QTest::addColumn<int>("pluFormat");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("main group 12, flags 2 1") << 12 << 2 << 1 << 255 << hex("0C21");
        QTest::newRow("both flags F") << 12 << 16 << 16 << 255 << hex("0CFF");
        QTest::newRow("from the department") << 255 << 2 << 1 << 255 << hex("0233");
        QTest::newRow("the PLU's own") << 12 << 2 << 1 << 7 << hex("0742");
        QTest::newRow("format 105: last byte 1, format 5") << 105 << 0 << 9 << 255 << hex("0509");
    }
    void resolution()
    {
        QFETCH(int, mgFormat);
        QFETCH(int, flag1);
        QFETCH(int, flag2);
        QFETCH(int, pluFormat);
        QFETCH(QByteArray, bytes);
        addLevels(mgFormat, flag1, flag2);
        const QByteArray rec = encode(
            {{"PLU_No", 3}, {"ST_No", 1}, {"PLU_MG", 997}, {"PLU_BarFormat", pluFormat}, {"PLU_EANFlags", 42}}, true);
        QCOMPARE(rec.mid(30), bytes);
    }

    // A PLU whose main group was deleted (or its department, or store) has bar format 0: it is sent with
    // format 0 and flags 00, and keeps every field across an exit and a start. Only a store that holds 255
    // itself names no format to send.
    void missingLevelIsFormatZero_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<int>("storeFormat");
        QTest::addColumn<QByteArray>("sent"); // bytes 30 on; empty: refused
        const QByteArray formatZero = hex("00 00 000000001200 0997 0150 03");
        QTest::newRow("main group missing") << "KVB_23" << 1 << formatZero;
        QTest::newRow("department missing") << "KVB_20" << 1 << formatZero;
        QTest::newRow("store missing") << "STORE" << 1 << formatZero;
        QTest::newRow("store holds 255") << "" << 255 << QByteArray();
    }
    void missingLevelIsFormatZero()
    {
        QFETCH(QString, missing);
        QFETCH(int, storeFormat);
        QFETCH(QByteArray, sent);
        addRow("STORE", {{"ST_No", 1}, {"barformat", storeFormat}, {"Flag1", 1}, {"Flag2", 2}});
        addRow("KVB_20", {{"ST_No", 1}, {"DP_No", 97}, {"barformat", 255}, {"Flag1", 3}, {"Flag2", 4}});
        addRow("KVB_23", {{"ST_No", 1}, {"MG_No", 997}, {"DP_No", 97}, {"barformat", 255}, {"Flag1", 5}, {"Flag2", 6}});
        if (!missing.isEmpty())
            gDBConnection.exec("DELETE FROM " + missing);
        const QVariantMap plu{{"PLU_No", 7},
                              {"ST_No", 1},
                              {"PLU_MG", 997},
                              {"Stat2_MGCode", 1},
                              {"PLU_BarFormat", 255},
                              {"PLU_EANFlags", 255},
                              {"PLU_EANItemCode", "12"},
                              {"Stat2_ItemCode", 1},
                              {"PLU_Tare", 150},
                              {"Stat2_PLUTare", 1},
                              {"PLU_TaxNo", 3},
                              {"Stat2_TaxNo", 1},
                              {"PLU_Commodity", textLine(1, "Pear", 0x0C)},
                              {"Stat2_Commodity", 1},
                              {"KVBBinData", QByteArray("old")}};
        const qint64 id = addRow("KVB_25", plu);
        db::Recordset rs(&gDBConnection);
        rs.open("SELECT * FROM KVB_25 WHERE rowid=?", {id});
        if (sent.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(CodecError, EncodePLURecord(rs, true));
            QCOMPARE(rs.bytesValue("KVBBinData"), QByteArray("old"));
        } else {
            EncodePLURecord(rs, true);
            QCOMPARE(rs.bytesValue("KVBBinData").mid(30, sent.size()), sent);
        }
        rs.close();

        // The exit dump's record, read back at the next start.
        const QByteArray kept = encode(plu);
        QCOMPARE(kept.mid(30, 2), hex("FF FF"));
        const Decoded d = decode(kept, {{"PLU_No", 7}, {"ST_No", 1}});
        QCOMPARE(d.result.outcome, PluDecodeResult::Decoded);
        QCOMPARE(d.row.value("Is_Selected").toInt(), 0);
        QCOMPARE(d.row.value("PLU_BarFormat").toInt(), 255);
        QCOMPARE(d.row.value("PLU_Tare").toInt(), 150);
        QCOMPARE(d.row.value("PLU_TaxNo").toInt(), 3);
        QCOMPARE(d.row.value("PLU_CommodityFirst").toString(), QString("Pear"));
        QCOMPARE(d.row.value("PLU_EANItemCode").toString(), QString("0000000012"));
    }

    void encoderRefuses_data()
    {
        QTest::addColumn<QVariantMap>("values");
        QTest::newRow("negative price") << QVariantMap{{"PLU_UPrice", -1}};
        QTest::newRow("nine-digit price") << QVariantMap{{"PLU_UPrice", 100000000}};
        QTest::newRow("nine-digit PLU") << QVariantMap{{"PLU_No", 100000000}};
        QTest::newRow("tare of five digits") << QVariantMap{{"PLU_Tare", 10000}, {"Stat2_PLUTare", 1}};
        QTest::newRow("main group of five digits") << QVariantMap{{"PLU_MG", 10000}, {"Stat2_MGCode", 1}};
        QTest::newRow("tax of three digits") << QVariantMap{{"PLU_TaxNo", 100}, {"Stat2_TaxNo", 1}};
        QTest::newRow("negative coupled PLU") << QVariantMap{{"PLU_CoupledPLUNo", -5}, {"Stat2_CoupledPLU", 1}};
        QTest::newRow("discount type above a byte") << QVariantMap{{"PLU_Disc_Type", 300}, {"Stat2_Discount", 1}};
        QTest::newRow("RS data above a byte") << QVariantMap{{"PLU_RSData", 256}, {"Stat2_RSData", 1}};
        QTest::newRow("bar format above a byte") << QVariantMap{{"PLU_BarFormat", 256}};
        QTest::newRow("negative flags") << QVariantMap{{"PLU_EANFlags", -1}};
        QTest::newRow("name flag without a name") << QVariantMap{{"Stat2_Commodity", 1}};
        QTest::newRow("name that is no text block")
            << QVariantMap{{"Stat2_Commodity", 1}, {"PLU_Commodity", hex("01 05 41 0C")}};
        QTest::newRow("description running on")
            << QVariantMap{{"Stat2_Description", 1}, {"PLU_Description", hex("01 01 41 0C 00")}};
        QTest::newRow("item code not digits")
            << QVariantMap{{"Stat2_ItemCode", 1}, {"PLU_BarFormat", 1}, {"PLU_EANItemCode", "12a"}};
        QTest::newRow("last byte of three digits")
            << QVariantMap{{"Stat2_ItemCode", 1}, {"PLU_BarFormat", 1}, {"PLU_EANLastByte", 100}};
        QTest::newRow("bar format without definition") << QVariantMap{
            {"Stat2_ItemCode", 1}, {"PLU_BarFormat", 19 + 0}, {"PLU_EANItemCode", "1"}, {"PLU_EANLastByte", -1}};
        QByteArray big;
        for (int i = 0; i < 41; ++i)
            big += textLine(1, QByteArray(250, 'x'), i == 40 ? 0x0C : 0x0D);
        QTest::newRow("too long for the scale") << QVariantMap{
            {"Stat2_Commodity", 1}, {"PLU_Commodity", big}, {"Stat2_Description", 1}, {"PLU_Description", big}};
    }
    void encoderRefuses()
    {
        QFETCH(QVariantMap, values);
        values.insert("KVBBinData", QByteArray("old"));
        values.insert("Stat1_Unit", 1);
        if (!values.contains("PLU_No"))
            values.insert("PLU_No", 8);
        const qint64 id = addRow("KVB_25", values);
        const QVariantMap before = rowValues("KVB_25", id);
        db::Recordset rs(&gDBConnection);
        rs.open("SELECT * FROM KVB_25 WHERE rowid=?", {id});
        QVERIFY_THROWS_EXCEPTION(CodecError, EncodePLURecord(rs, false));
        rs.close();
        QCOMPARE(rowValues("KVB_25", id), before);
    }

    // Each part that cannot be encoded goes whole, with its flag: a member discount of nine digits takes the member
    // discounts written before it along. The coupled PLU and the cost around them stay.
    void leavesOutWhatCannotBeEncodedWhenAsked()
    {
        const QVariantMap values{
            {"PLU_No", 5},           {"Stat2_PLUTare", 1},     {"PLU_Tare", 10000},  {"Stat2_CoupledPLU", 1},
            {"PLU_CoupledPLUNo", 3}, {"Stat2_Description", 1}, {"Stat2_MemDisc", 1}, {"PLU_MemDisc3", 100000000},
            {"PLU_MemDisc4", 4},     {"Stat2_PLUCost", 1},     {"PLU_Cost", 500},    {"PLU_Description", QByteArray()}};
        PluRow row;
        for (auto it = values.begin(); it != values.end(); ++it)
            row.load(*plu::fieldNamed(it.key()), it.value());
        QStringList leftOut;
        const QByteArray rec = encodePluRecord(row, false, &leftOut);
        QCOMPARE(leftOut.size(), 3);
        QCOMPARE(rec.mid(32), hex("00000003 00000500"));
        QCOMPARE(rec.mid(10, 2), hex("0088")); // of the Stat2_ flags only the coupled PLU's and the cost's
        row.set(plu::KVBBinData, rec);
        QCOMPARE(decodePluRecord(row).outcome, PluDecodeResult::Decoded);
    }

    void tooLongRecordLeavesTheTextsOutWhenAsked()
    {
        QByteArray big;
        for (int i = 0; i < 41; ++i)
            big += textLine(1, QByteArray(250, 'x'), i == 40 ? 0x0C : 0x0D);
        addRow("KVB_25",
               {{"PLU_No", 5},
                {"Stat2_Commodity", 1},
                {"PLU_Commodity", big},
                {"Stat2_Description", 1},
                {"PLU_Description", big}});
        db::Recordset rs(&gDBConnection);
        rs.open("SELECT * FROM KVB_25");
        PluRow row = readPluRow(rs);
        QStringList leftOut;
        const QByteArray rec = encodePluRecord(row, false, &leftOut);
        QCOMPARE(leftOut.size(), 1);
        QVERIFY(leftOut.first().startsWith("Stat2_Description"));
        QCOMPARE(rec.size(), 32 + big.size());
        QCOMPARE(quint8(rec[11]), quint8(0x00));
    }

    void guardsLeaveTheRowAlone_data()
    {
        QTest::addColumn<QVariant>("record");
        QTest::newRow("no record") << QVariant();
        QTest::newRow("five bytes") << QVariant(hex("0000000100"));
        QTest::newRow("length says more") << QVariant(hex("00000001 0021") + QByteArray(26, '\0'));
        QTest::newRow("length says less") << QVariant(hex("00000001 001F") + QByteArray(26, '\0'));
        QTest::newRow("under 32 bytes") << QVariant(hex("00000001 001F") + QByteArray(25, '\0'));
        QTest::newRow("header only") << QVariant(hex("00000001 0006"));
    }
    void guardsLeaveTheRowAlone()
    {
        QFETCH(QVariant, record);
        const Decoded d = decode(record, {{"PLU_No", 1}, {"PLU_UPrice", 5}, {"PLU_MG", 3}});
        QCOMPARE(d.result.outcome, PluDecodeResult::NotDecoded);
        QCOMPARE(d.row, d.before);
    }

    void minimalRecord_data()
    {
        QTest::addColumn<QVariant>("commodity");
        QTest::addColumn<QString>("first");
        QTest::newRow("no name") << QVariant() << " ";
        QTest::newRow("the name the row holds") << QVariant(textLine(1, "Pear", 0x0C)) << "Pear";
        QTest::newRow("empty first line") << QVariant(textLine(1, "", 0x0C)) << " ";
    }
    void minimalRecord()
    {
        QFETCH(QVariant, commodity);
        QFETCH(QString, first);
        const Decoded d = decode(hex("00001234 0020 01000000 00000000000000000000000000000000 00000099 03 21"),
                                 {{"PLU_No", 1234}, {"PLU_Commodity", commodity}, {"PLU_Tare", 77}});
        QCOMPARE(d.result.outcome, PluDecodeResult::Decoded);
        QCOMPARE(d.row.value("PLU_No").toInt(), 1234);
        QCOMPARE(d.row.value("PLU_UPrice").toInt(), 99);
        QCOMPARE(d.row.value("PLU_BarFormat").toInt(), 3);
        QCOMPARE(d.row.value("PLU_EANFlags").toInt(), 21);
        QCOMPARE(d.row.value("PLU_MG").toInt(), 997);
        QCOMPARE(d.row.value("Stat1_Unit").toInt(), 1);
        QCOMPARE(d.row.value("PLU_Tare").toInt(), 77);
        QCOMPARE(d.row.value("PLU_CommodityFirst").toString(), first);
        QCOMPARE(d.row.value("Is_Selected").toInt(), 0);
    }

    void fixedPartValues_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value"); // -1: the failure path
        for (int b : {0, 19, 20, 28, 29, 254, 255})
            QTest::addRow("bar format %d", b) << 30 << b << "PLU_BarFormat" << (b > 28 && b != 255 ? 0 : b);
        QTest::newRow("flags FF") << 31 << 0xFF << "PLU_EANFlags" << 255;
        QTest::newRow("flags 37") << 31 << 0x37 << "PLU_EANFlags" << 37;
        QTest::newRow("flags 3A") << 31 << 0x3A << "PLU_EANFlags" << -1;
        QTest::newRow("price not packed decimal") << 29 << 0x0B << "PLU_UPrice" << -1;
    }
    void fixedPartValues()
    {
        QFETCH(int, offset);
        QFETCH(int, byte);
        QFETCH(QString, field);
        QFETCH(int, value);
        QByteArray rec = hex("00000001 0020") + QByteArray(26, '\0');
        rec[offset] = char(byte);
        const Decoded d = decode(rec);
        if (value < 0) {
            QCOMPARE(d.result.outcome, PluDecodeResult::Failed);
            QCOMPARE(d.row.value("Is_Selected").toInt(), 1);
        } else {
            QCOMPARE(d.result.outcome, PluDecodeResult::Decoded);
            QCOMPARE(d.row.value(field).toInt(), value);
        }
    }

    void clampedBytes_data()
    {
        QTest::addColumn<int>("discType");
        QTest::addColumn<int>("rsData");
        QTest::addColumn<int>("discTypeAfter");
        QTest::addColumn<int>("rsDataAfter");
        QTest::newRow("7 and 4") << 7 << 4 << 6 << 3;
        QTest::newRow("255 and 200") << 255 << 200 << 6 << 3;
        QTest::newRow("6 and 3 stay") << 6 << 3 << 6 << 3;
    }
    void clampedBytes()
    {
        QFETCH(int, discType);
        QFETCH(int, rsData);
        QFETCH(int, discTypeAfter);
        QFETCH(int, rsDataAfter);
        QByteArray rec = hex("00000001 003F 00000000 10000100000000000000000000000000 00000000 00 00")
            + QByteArray(28, '\0') + char(discType) + char(0x41) + char(rsData);
        const Decoded d = decode(rec);
        QCOMPARE(d.result.outcome, PluDecodeResult::Decoded);
        QCOMPARE(d.row.value("PLU_Disc_Type").toInt(), discTypeAfter);
        QCOMPARE(d.row.value("PLU_DisDayOfWeek").toInt(), 0x41);
        QCOMPARE(d.row.value("PLU_RSData").toInt(), rsDataAfter);
    }

    // Each item-code byte as two uppercase hexadecimal digits; a nibble above 9 gives its letter.
    void itemCodeData_data()
    {
        QTest::addColumn<int>("barFormat");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("itemCode");
        QTest::addColumn<int>("lastByte");
        QTest::newRow("long layout") << 0 << hex("123456789012") << "123456789012"
                                     << "1234567890" << 12;
        QTest::newRow("short layout") << 7 << hex("050000000003") << "050000000003"
                                      << "050000" << 3;
        QTest::newRow("letters in the last byte") << 0 << hex("1234567890AB") << "1234567890AB"
                                                  << "1234567890" << 0;
        QTest::newRow("letters in the item code") << 1 << hex("0ABCDE0000F1") << "0ABCDE0000F1"
                                                  << "ABCDE" << 0;
        QTest::newRow("a letter after a digit") << 1 << hex("0123450000 7F") << "01234500007F"
                                                << "12345" << 7;
    }
    void itemCodeData()
    {
        QFETCH(int, barFormat);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, data);
        QFETCH(QString, itemCode);
        QFETCH(int, lastByte);
        QByteArray rec = hex("00000001 0026 00000000 04000000000000000000000000000000 00000000 00 00") + bytes;
        rec[30] = char(barFormat);
        const Decoded d = decode(rec);
        QCOMPARE(d.result.outcome, PluDecodeResult::Decoded);
        QCOMPARE(d.row.value("PLU_EANData").toString(), data);
        QCOMPARE(d.row.value("PLU_EANItemCode").toString(), itemCode);
        QCOMPARE(d.row.value("PLU_EANLastByte").toInt(), lastByte);
    }

    void hostileRecordsNeverReadPastTheirEnd()
    {
        QRandomGenerator gen(99);
        for (int n = 0; n < 3000; ++n) {
            QByteArray rec(32 + gen.bounded(120), '\0');
            for (char& c : rec)
                c = char(gen.bounded(256));
            ReverseCopy(rec, 4, quint32(rec.size()), 2);
            PluRow row;
            row.load(plu::KVBBinData, rec);
            QVERIFY(decodePluRecord(row).outcome != PluDecodeResult::NotDecoded);
        }
    }

    void textBlocks_data()
    {
        QTest::addColumn<QByteArray>("blocks");
        QTest::addColumn<QByteArray>("commodity");
        QTest::addColumn<QByteArray>("description");
        QTest::newRow("one line each") << textLine(1, "Apple", 0x0C) + textLine(2, "Red", 0x0C)
                                       << textLine(1, "Apple", 0x0C) << textLine(2, "Red", 0x0C);
        const QByteArray three = textLine(1, "a", 0x0D) + textLine(1, "bb", 0x0D) + textLine(1, "ccc", 0x0C);
        QTest::newRow("three lines") << three + textLine(2, "", 0x0C) << three << textLine(2, "", 0x0C);
        QTest::newRow("separator 0x00 ends the name")
            << textLine(1, "ab", 0x00) + textLine(2, "cd", 0x0C) << textLine(1, "ab", 0x00) << textLine(2, "cd", 0x0C);
    }
    void textBlocks()
    {
        QFETCH(QByteArray, blocks);
        QFETCH(QByteArray, commodity);
        QFETCH(QByteArray, description);
        QByteArray rec = hex("00000001 0000 00000000 80200000000000000000000000000000 00000000 00 00") + blocks;
        rec[5] = char(rec.size());
        const Decoded d = decode(rec);
        QCOMPARE(d.result.outcome, PluDecodeResult::Decoded);
        QCOMPARE(d.row.value("PLU_Commodity").toByteArray(), commodity);
        QCOMPARE(d.row.value("PLU_Description").toByteArray(), description);
    }

    void malformedRecordsTakeTheFailurePath_data()
    {
        QTest::addColumn<QByteArray>("rec");
        // Tare first (read), then a name whose length byte runs past the record.
        QTest::newRow("name block past the end")
            << hex("00000001 0027 00000000 82000000000000000000000000000000 00000250 00 00 0150 01 09 41 42 0C");
        QTest::newRow("name without its separator")
            << hex("00000001 0027 00000000 82000000000000000000000000000000 00000250 00 00 0150 01 03 41 42 43");
        QTest::newRow("record ends inside the cost")
            << hex("00000001 0024 00000000 02800000000000000000000000000000 00000250 00 00 0150 0000");
        QTest::newRow("record ends before the RS data")
            << hex("00000001 0022 00000000 02000100000000000000000000000000 00000250 00 00 0150");
        QTest::newRow("tare not packed decimal")
            << hex("00000001 0022 00000000 02000000000000000000000000000000 00000250 00 00 01F0");
    }
    void malformedRecordsTakeTheFailurePath()
    {
        QFETCH(QByteArray, rec);
        const Decoded d = decode(rec, {{"PLU_No", 1}, {"PLU_Tare", 9}});
        QCOMPARE(d.result.outcome, PluDecodeResult::Failed);
        QVERIFY(!d.result.reason.isEmpty());
        QCOMPARE(d.row.value("Is_Selected").toInt(), 1);
        QCOMPARE(d.row.value("PLU_UPrice").toInt(), 250); // read before the failure, and kept
        QCOMPARE(d.row.value("KVBBinData").toByteArray(), rec);
    }

    void generatedPlusSurviveEncodeAndDecode()
    {
        for (const auto& [table, values] : generatorLevels())
            addRow(table, values);
        QRandomGenerator gen(20240611);
        for (int n = 0; n < 400; ++n) {
            const QVariantMap p = generatePlu(gen, gen.bounded(100000000));
            const QByteArray rec = encode(p);
            const QVariantMap source = rowValues("KVB_25", rowIds("KVB_25").last());
            const Decoded d = decode(rec, {{"PLU_No", p["PLU_No"]}, {"ST_No", 1}, {"SECT_No", 1}});
            QCOMPARE(d.result.outcome, PluDecodeResult::Decoded);
            QStringList check = kCarriedAlways + stat1Flags() + QStringList{"PLU_CommodityFirst"};
            for (const auto& [flag, fields] : optionalFields())
                if (p[flag].toInt())
                    check << fields;
            for (const QString& f : std::as_const(check))
                QVERIFY2(d.row.value(f) == source.value(f),
                         qPrintable(QStringLiteral("PLU %1, %2: %3 became %4")
                                        .arg(p["PLU_No"].toInt())
                                        .arg(f, source.value(f).toString(), d.row.value(f).toString())));
            // Encoding the decoded row gives the same record again.
            QCOMPARE(encode(d.row), rec);
        }
    }
};

QTEST_GUILESS_MAIN(TestPluRecord)
#include "tst_plurecord.moc"
