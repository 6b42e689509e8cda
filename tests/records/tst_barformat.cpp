#include "records/BarFormat.h"
#include "records/EanData.h"
#include "records/PackedBcd.h"
#include "records/PluRecord.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"
#include "support/CodecTestDb.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using namespace quorvane::test;

namespace {

// A level row: -1 in the bar format leaves the level out.
struct Level {
    int barFormat = -1;
    int flag1 = 0;
    int flag2 = 0;
};

} // namespace

Q_DECLARE_METATYPE(Level)

class TestBarFormat : public QObject {
    Q_OBJECT

private:
    CodecDb* m_db = nullptr;
    db::Recordset m_rs{&gDBConnection};

    void addLevels(const Level& store, const Level& dept, const Level& mg)
    {
        if (store.barFormat >= 0)
            addRow("STORE",
                   {{"ST_No", 1}, {"barformat", store.barFormat}, {"Flag1", store.flag1}, {"Flag2", store.flag2}});
        if (dept.barFormat >= 0)
            addRow("KVB_20",
                   {{"ST_No", 1},
                    {"DP_No", 97},
                    {"barformat", dept.barFormat},
                    {"Flag1", dept.flag1},
                    {"Flag2", dept.flag2}});
        if (mg.barFormat >= 0)
            addRow("KVB_23",
                   {{"ST_No", 1},
                    {"MG_No", 997},
                    {"DP_No", 97},
                    {"barformat", mg.barFormat},
                    {"Flag1", mg.flag1},
                    {"Flag2", mg.flag2}});
    }

    db::Recordset& openPlu(const QVariantMap& values)
    {
        const qint64 id = addRow("KVB_25", values);
        m_rs.open("SELECT * FROM KVB_25 WHERE rowid=?", {id});
        return m_rs;
    }

    void setDefinition(int barFormat, const QString& text)
    {
        QStringList edit = eanEditEntries();
        edit[barFormat] = text;
        gParEANEdit.clear();
        for (int i = 0; i < edit.size(); ++i)
            gParEANEdit.add(QStringLiteral("E%1").arg(i), edit[i]);
    }

private slots:
    void init()
    {
        m_db = new CodecDb;
        QVERIFY2(m_db->isOpen(), qPrintable(m_db->error()));
        fillEanCollections();
    }
    void cleanup()
    {
        m_rs.close();
        delete m_db;
    }

    void resolve_data()
    {
        QTest::addColumn<Level>("store");
        QTest::addColumn<Level>("dept");
        QTest::addColumn<Level>("mg");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("result");
        const Level none;
        QTest::newRow("kind 0") << Level{3, 1, 1} << Level{4, 1, 1} << Level{12, 2, 1} << 0 << 0;
        QTest::newRow("main group missing, kind 1") << Level{3, 1, 1} << Level{4, 1, 1} << none << 1 << 0;
        QTest::newRow("main group missing, kind 2") << Level{3, 1, 1} << Level{4, 1, 1} << none << 2 << 0;
        QTest::newRow("department missing") << Level{3, 1, 1} << none << Level{255, 0, 0} << 1 << 0;
        QTest::newRow("store missing") << none << Level{255, 0, 0} << Level{255, 0, 0} << 1 << 0;
        QTest::newRow("255 everywhere") << Level{255, 0, 0} << Level{255, 0, 0} << Level{255, 0, 0} << 1 << 255;
        QTest::newRow("main group 12") << Level{3, 5, 5} << Level{4, 6, 6} << Level{12, 2, 1} << 1 << 12;
        QTest::newRow("main group flags 21") << Level{3, 5, 5} << Level{4, 6, 6} << Level{12, 2, 1} << 2 << 21;
        QTest::newRow("department flags F F") << Level{3, 5, 5} << Level{7, 16, 16} << Level{255, 2, 1} << 2 << 176;
        QTest::newRow("store through two levels") << Level{4, 1, 2} << Level{255, 6, 6} << Level{255, 2, 1} << 1 << 4;
        QTest::newRow("store flags through two levels")
            << Level{4, 1, 2} << Level{255, 6, 6} << Level{255, 2, 1} << 2 << 12;
        QTest::newRow("flags 0 0 are not inherited") << Level{3, 5, 5} << Level{4, 6, 6} << Level{5, 0, 0} << 2 << 0;
        QTest::newRow("kind 3 as kind 2") << Level{3, 5, 5} << Level{4, 6, 6} << Level{12, 2, 1} << 3 << 21;
    }
    void resolve()
    {
        QFETCH(Level, store);
        QFETCH(Level, dept);
        QFETCH(Level, mg);
        QFETCH(int, kind);
        QFETCH(int, result);
        addLevels(store, dept, mg);
        QCOMPARE(int(ResolveBarFormat(openPlu({{"ST_No", 1}, {"PLU_MG", 997}}), quint8(kind))), result);
    }

    void resolveFailureIsNeverFormatZero()
    {
        addLevels({3, 1, 1}, {4, 1, 1}, {12, 2, 1});
        db::Recordset& rs = openPlu({{"ST_No", 1}, {"PLU_MG", 997}});
        gDBConnection.exec("UPDATE KVB_23 SET Flag1='x'");
        QVERIFY_THROWS_EXCEPTION(CodecError, ResolveBarFormat(rs, 2));
        gDBConnection.close();
        QVERIFY_THROWS_EXCEPTION(db::DbError, ResolveBarFormat(rs, 1));
    }

    void compose_data()
    {
        QTest::addColumn<int>("barFormat");
        QTest::addColumn<QString>("definition"); // of format 3, when not empty
        QTest::addColumn<QString>("itemCode");
        QTest::addColumn<int>("lastByte");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("itemCodeAfter");
        QTest::addColumn<QString>("derived");
        QTest::newRow("5 digits, short") << 3 << "1,1,5,x"
                                         << "123" << 0 << "000123000000"
                                         << "123"
                                         << "00123";
        QTest::newRow("last byte 7") << 3 << "1,1,5,x"
                                     << "123" << 7 << "000123000007"
                                     << "123"
                                     << "00123";
        QTest::newRow("format 0 is long") << 0 << ""
                                          << "123" << 0 << "000000012300"
                                          << "123"
                                          << "0000000123";
        QTest::newRow("7 digits are long") << 11 << ""
                                           << "1234567" << 0 << "000123456700"
                                           << "1234567"
                                           << "1234567";
        QTest::newRow("longer code is cut") << 3 << "1,1,5,x"
                                            << "98765432" << 0 << "098765000000"
                                            << "98765"
                                            << "98765";
        QTest::newRow("cut code loses its zeros") << 3 << "1,1,5,x"
                                                  << "0012345" << 0 << "000123000000"
                                                  << "123"
                                                  << "00123";
        QTest::newRow("empty, short") << 3 << "1,1,5,x"
                                      << "" << 0 << "000000000000"
                                      << ""
                                      << "00000";
        QTest::newRow("empty, long") << 15 << ""
                                     << "" << 45 << "000000000045"
                                     << ""
                                     << "0000000000";
        QTest::newRow("10 digits") << 3 << "1,1,10,x"
                                   << "1234567890" << 0 << "123456789000"
                                   << "1234567890"
                                   << "1234567890";
        QTest::newRow("flexible barcode without row") << 25 << ""
                                                      << "12345678" << 0 << "001234567800"
                                                      << "12345678"
                                                      << "0012345678";
        QTest::newRow("last byte 10 or more") << 1 << ""
                                              << "54321" << 64 << "054321000064"
                                              << "54321"
                                              << "54321";
    }
    void compose()
    {
        QFETCH(int, barFormat);
        QFETCH(QString, definition);
        QFETCH(QString, itemCode);
        QFETCH(int, lastByte);
        QFETCH(QString, data);
        QFETCH(QString, itemCodeAfter);
        QFETCH(QString, derived);
        if (!definition.isEmpty())
            setDefinition(3, definition);
        db::Recordset& rs = openPlu(
            {{"PLU_BarFormat", barFormat}, {"PLU_EANItemCode", itemCode}, {"PLU_EANLastByte", lastByte}});
        ComposeEANData(rs);
        rs.update();
        QCOMPARE(rs.textValue("PLU_EANData"), data);
        QCOMPARE(rs.textValue("PLU_EANItemCode"), itemCodeAfter);
        rs.setValue("PLU_EANLastByte", 99);
        DeriveEANItemCode(rs);
        QCOMPARE(rs.textValue("PLU_EANItemCode"), derived);
        QCOMPARE(rs.intValue("PLU_EANLastByte"), qint64(lastByte));
    }

    void flexibleBarcodeDigits()
    {
        addRow("KVB_14", {{"FBar_No", 6}, {"FBar_ItemDigitNo", 4}});
        QCOMPARE(itemDigitCount(25), 4);
        QCOMPARE(itemDigitCount(26), 10);
        updateRow("KVB_14", rowIds("KVB_14").first(), {{"FBar_ItemDigitNo", 11}});
        QVERIFY_THROWS_EXCEPTION(CodecError, itemDigitCount(25));
    }

    void definitions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("digits"); // -1: no definition
        QTest::addColumn<bool>("flag1");
        QTest::addColumn<bool>("flag2");
        QTest::newRow("one digit") << "1,0,5,rest" << 5 << true << false;
        QTest::newRow("two digits") << "0,2,10,rest" << 10 << false << true;
        QTest::newRow("ends after the count") << "1,1,7" << 7 << true << true;
        QTest::newRow("more than 10") << "1,1,11," << -1 << false << false;
        QTest::newRow("letter for a flag") << "F,1,5," << -1 << false << false;
        QTest::newRow("letter in the count") << "1,1,x," << -1 << false << false;
        QTest::newRow("too short") << "1,1" << -1 << false << false;
    }
    void definitions()
    {
        QFETCH(QString, text);
        QFETCH(int, digits);
        QFETCH(bool, flag1);
        QFETCH(bool, flag2);
        const auto def = parseBarFormatDefinition(text);
        QCOMPARE(def.has_value(), digits >= 0);
        if (def) {
            QCOMPARE(def->itemDigits, digits);
            QCOMPARE(def->flag1Used, flag1);
            QCOMPARE(def->flag2Used, flag2);
        }
    }

    void composeRefuses_data()
    {
        QTest::addColumn<QVariantMap>("values");
        QTest::newRow("no definition") << QVariantMap{{"PLU_BarFormat", 3}, {"PLU_EANItemCode", "1"}};
        QTest::newRow("item code not digits") << QVariantMap{{"PLU_BarFormat", 1}, {"PLU_EANItemCode", "1 2"}};
        QTest::newRow("negative last byte") << QVariantMap{{"PLU_BarFormat", 1}, {"PLU_EANLastByte", -1}};
    }
    void composeRefuses()
    {
        QFETCH(QVariantMap, values);
        setDefinition(3, "x,1,5,");
        db::Recordset& rs = openPlu(values);
        QVERIFY_THROWS_EXCEPTION(CodecError, ComposeEANData(rs));
        QVERIFY(!rs.isEditing());
    }

    void deriveRefusesDataThatIsNot12Digits()
    {
        for (const char* data : {"12345678901", "1234567890AG", "12345678901a"}) {
            db::Recordset& rs = openPlu({{"PLU_BarFormat", 1}, {"PLU_EANData", data}, {"PLU_EANItemCode", "7"}});
            QVERIFY_THROWS_EXCEPTION(CodecError, DeriveEANItemCode(rs));
        }
        db::Recordset& empty = openPlu({{"PLU_BarFormat", 1}, {"PLU_EANItemCode", "7"}});
        DeriveEANItemCode(empty);
        QCOMPARE(empty.textValue("PLU_EANItemCode"), QString("7"));
    }

    void inheritedFormatThroughEveryLevel_data()
    {
        QTest::addColumn<Level>("store");
        QTest::addColumn<Level>("dept");
        QTest::addColumn<Level>("mg");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("derived");
        QTest::newRow("main group") << Level{1, 0, 0} << Level{0, 0, 0} << Level{11, 0, 0} << "000123456700"
                                    << "1234567";
        QTest::newRow("department, format 0") << Level{1, 0, 0} << Level{0, 0, 0} << Level{255, 0, 0} << "000123456700"
                                              << "0001234567";
        QTest::newRow("store") << Level{1, 0, 0} << Level{255, 0, 0} << Level{255, 0, 0} << "012345000000"
                               << "12345";
        QTest::newRow("store's last byte") << Level{301, 0, 0} << Level{255, 0, 0} << Level{255, 0, 0} << "012345000003"
                                           << "12345";
        QTest::newRow("flexible barcode") << Level{1, 0, 0} << Level{255, 0, 0} << Level{21, 0, 0} << "001234000000"
                                          << "1234";
        // A deleted main group (or department, or store) leaves format 0, the long layout.
        QTest::newRow("main group missing") << Level{1, 0, 0} << Level{0, 0, 0} << Level{} << "000123456700"
                                            << "0001234567";
        QTest::newRow("department missing") << Level{1, 0, 0} << Level{} << Level{255, 0, 0} << "000123456700"
                                            << "0001234567";
        QTest::newRow("store missing") << Level{} << Level{255, 0, 0} << Level{255, 0, 0} << "000123456700"
                                       << "0001234567";
    }
    void inheritedFormatThroughEveryLevel()
    {
        QFETCH(Level, store);
        QFETCH(Level, dept);
        QFETCH(Level, mg);
        QFETCH(QString, data);
        QFETCH(QString, derived);
        addLevels(store, dept, mg);
        addRow("KVB_14", {{"FBar_No", 2}, {"FBar_ItemDigitNo", 4}});
        db::Recordset& rs = openPlu(
            {{"ST_No", 1}, {"PLU_MG", 997}, {"PLU_BarFormat", 255}, {"PLU_EANItemCode", "1234567"}});
        ComposeEANData(rs);
        QCOMPARE(rs.textValue("PLU_EANData"), data);
        DeriveEANItemCode(rs);
        QCOMPARE(rs.textValue("PLU_EANItemCode"), derived);
        QCOMPARE(rs.intValue("PLU_EANLastByte"), qint64(qMax(store.barFormat, 0) / 100));
    }

    // The encoder's and the composer's memories of their resolutions, as an editor meets them: a level
    // changed (or put back by a rollback) is seen by the next record built, whatever changed it.
    void memoriesSeeChangedLevels_data()
    {
        QTest::addColumn<QStringList>("during"); // run, then a record is built
        QTest::addColumn<QStringList>("after");  // run, then the record checked is built
        QTest::addColumn<QString>("bytes");      // 30-31 of the record
        QTest::addColumn<QString>("data");       // the item-code data composed
        const QStringList none;
        QTest::newRow("nothing changed") << none << none << "0C21"
                                         << "123456000000";
        QTest::newRow("main group's format") << QStringList{"UPDATE KVB_23 SET barformat=3, Flag1=1"} << none << "0311"
                                             << "001234000000";
        QTest::newRow("department's format") << QStringList{"UPDATE KVB_23 SET barformat=255"}
                                             << QStringList{"UPDATE KVB_20 SET barformat=7, Flag2=0"} << "0730"
                                             << "123456000000";
        QTest::newRow("store's format") << QStringList{"UPDATE KVB_23 SET barformat=255",
                                                       "UPDATE KVB_20 SET barformat=255"}
                                        << QStringList{"UPDATE STORE SET barformat=105"} << "0500"
                                        << "001234000001";
        QTest::newRow("main group deleted") << none << QStringList{"DELETE FROM KVB_23 WHERE MG_No=997"} << "0000"
                                            << "000123456700";
        QTest::newRow("every main group deleted") << none << QStringList{"DELETE FROM KVB_23"} << "0000"
                                                  << "000123456700";
        QTest::newRow("main group added") << QStringList{"DELETE FROM KVB_23"}
                                          << QStringList{"INSERT INTO KVB_23 (ST_No, MG_No, DP_No, barformat, Flag1, "
                                                         "Flag2) VALUES (1, 997, 97, 1, 4, 5)"}
                                          << "0145"
                                          << "012345000000";
        QTest::newRow("flexible barcode's digits")
            << QStringList{"UPDATE KVB_23 SET barformat=21",
                           "INSERT INTO KVB_14 (FBar_No, FBar_ItemDigitNo) VALUES (2, 4)"}
            << QStringList{"UPDATE KVB_14 SET FBar_ItemDigitNo=6"} << "1521"
            << "123456000000";
        QTest::newRow("change rolled back") << QStringList{"SAVEPOINT t", "UPDATE KVB_23 SET barformat=3"}
                                            << QStringList{"ROLLBACK TO t", "RELEASE t"} << "0C21"
                                            << "123456000000";
    }
    void memoriesSeeChangedLevels()
    {
        QFETCH(QStringList, during);
        QFETCH(QStringList, after);
        QFETCH(QString, bytes);
        QFETCH(QString, data);
        addLevels({1, 0, 0}, {2, 3, 3}, {12, 2, 1});
        const QVariantMap plu{{"PLU_No", 1},          {"ST_No", 1},          {"PLU_MG", 997},
                              {"PLU_BarFormat", 255}, {"Stat2_ItemCode", 1}, {"PLU_EANItemCode", "1234567"}};
        auto build = [&]() -> db::Recordset& {
            db::Recordset& rs = openPlu(plu);
            EncodePLURecord(rs, true);
            return rs;
        };
        build();
        for (const QString& sql : std::as_const(during))
            gDBConnection.exec(sql);
        build();
        for (const QString& sql : std::as_const(after))
            gDBConnection.exec(sql);
        db::Recordset& rs = build();
        QCOMPARE(rs.bytesValue("KVBBinData").mid(30, 2).toHex().toUpper(), bytes.toLatin1());
        QCOMPARE(rs.textValue("PLU_EANData"), data);
    }

    void memoriesServeEachMainGroup()
    {
        addLevels({1, 0, 0}, {2, 3, 3}, {12, 2, 1});
        addRow("KVB_23", {{"ST_No", 1}, {"MG_No", 5}, {"DP_No", 97}, {"barformat", 3}, {"Flag1", 0}, {"Flag2", 0}});
        auto bytes = [&](int mg) {
            db::Recordset& rs = openPlu({{"PLU_No", 1}, {"ST_No", 1}, {"PLU_MG", mg}, {"PLU_BarFormat", 255}});
            EncodePLURecord(rs, true);
            return rs.bytesValue("KVBBinData").mid(30, 2).toHex().toUpper();
        };
        QCOMPARE(bytes(997), QByteArray("0C21"));
        // A change the shared connection cannot see shows what is served from the memory.
        db::Connection other;
        QVERIFY(other.open(gDBConnection.path()));
        other.exec("UPDATE KVB_23 SET barformat=14 WHERE MG_No=997");
        QCOMPARE(bytes(997), QByteArray("0C21"));
        QCOMPARE(bytes(5), QByteArray("0300"));
        QCOMPARE(bytes(997), QByteArray("0C21")); // every main group is remembered, not the last one alone
        other.exec("UPDATE KVB_23 SET barformat=15 WHERE MG_No=997");
        ClearBarFormatMemories();
        QCOMPARE(bytes(997), QByteArray("0F21"));
        other.exec("UPDATE KVB_23 SET barformat=16 WHERE MG_No=997");
        const QString path = gDBConnection.path();
        resetProgramState(); // closes the shared connection as well
        QVERIFY(gDBConnection.open(path));
        QCOMPARE(bytes(997), QByteArray("1021"));
    }

    void controlsOutsideEditMode()
    {
        BarcodeControls now;
        now.barcodeFormatEnabled = now.rsDataEnabled = true;
        now.flagCode1 = {true, "F", 1};
        now.itemCode = {true, "123", 5};
        const BarcodeControls c = SetBarcodeFlagControls(2, 0, m_rs, now);
        QVERIFY(!c.barcodeFormatEnabled && !c.rsDataEnabled && !c.flagCode1.enabled && !c.flagCode2.enabled
                && !c.itemCode.enabled);
        QCOMPARE(c.flagCode1.text, QString("F"));
        QCOMPARE(c.itemCode.text, QString("123"));
        QCOMPARE(c.itemCode.maxLength, 5);
    }

    void controls_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected"); // flag 1, flag 2, item: enabled (+/-) and text; then the greatest length
        QTest::newRow("format 0: no flag digit") << 1 << "-F -F +1234567890 10";
        QTest::newRow("format 1: both flag digits") << 2 << "+0 +7 +12345 5";
        QTest::newRow("format 7: only flag digit 1") << 8 << "+0 -0 +123456 6";
        QTest::newRow("format 14: none") << 15 << "-0 -0 +1234567 7";
        QTest::newRow("format 15: ten item digits") << 16 << "+0 +7 +1234567890 10";
        QTest::newRow("flexible 1: only flag digit 2") << 21 << "-0 +7 +123 3";
        QTest::newRow("flexible 2: both") << 22 << "+0 +7 +12345678 8";
        QTest::newRow("flexible 3: none, no item digits") << 23 << "-0 -7 + 0";
        QTest::newRow("flexible 5 has no row") << 25 << "-0 -7 - 0";
        QTest::newRow("no entry chosen") << -1 << "-0 -7 - 0";
    }
    void controls()
    {
        QFETCH(int, position);
        QFETCH(QString, expected);
        addRow("KVB_14", {{"FBar_No", 1}, {"FBar_Type", 0}, {"FBar_ItemDigitNo", 3}});
        addRow("KVB_14", {{"FBar_No", 2}, {"FBar_Type", 1}, {"FBar_ItemDigitNo", 8}});
        addRow("KVB_14", {{"FBar_No", 3}, {"FBar_Type", 2}, {"FBar_ItemDigitNo", 0}});
        BarcodeControls now;
        now.flagCode1.text = "F";
        now.flagCode2.text = "7";
        now.itemCode.text = "1234567890123";
        const BarcodeControls c = SetBarcodeFlagControls(position, 1, m_rs, now);
        QVERIFY(c.barcodeFormatEnabled && c.rsDataEnabled);
        auto show = [](const BarcodeBox& b) { return QString(b.enabled ? "+" : "-") + b.text; };
        QCOMPARE(
            QStringList({show(c.flagCode1), show(c.flagCode2), show(c.itemCode), QString::number(c.itemCode.maxLength)})
                .join(' '),
            expected);
    }

    void definitionWithoutItemDigitsEmptiesTheBox()
    {
        setDefinition(3, "1,1,0,x");
        BarcodeControls now;
        now.itemCode.text = "123";
        const BarcodeControls c = SetBarcodeFlagControls(4, 1, m_rs, now);
        QVERIFY(!c.itemCode.enabled);
        QCOMPARE(c.itemCode.text, QString());
        QCOMPARE(c.itemCode.maxLength, 0);
    }

    void inheritedControls_data()
    {
        QTest::addColumn<Level>("store");
        QTest::addColumn<Level>("mg");
        QTest::addColumn<QString>("expected");
        // The item box keeps its text and is enabled; its greatest length is the inherited format's.
        QTest::newRow("flags 21") << Level{3, 0, 0} << Level{7, 2, 1} << "-2 -1 +1234567890 6";
        QTest::newRow("flag 1 F") << Level{3, 0, 0} << Level{7, 16, 4} << "-F -F +1234567890 6";
        QTest::newRow("inherited flexible barcode 2") << Level{3, 0, 0} << Level{21, 0, 5} << "-0 -5 +1234567890 4";
        QTest::newRow("inherited flexible barcode without row")
            << Level{3, 0, 0} << Level{24, 0, 5} << "-0 -5 +1234567890 10";
        QTest::newRow("store 255") << Level{255, 1, 2} << Level{255, 0, 5} << "-1 -2 +1234567890 10";
        QTest::newRow("main group missing: format 0") << Level{3, 0, 0} << Level{} << "-0 -0 +1234567890 10";
    }
    void inheritedControls()
    {
        QFETCH(Level, store);
        QFETCH(Level, mg);
        QFETCH(QString, expected);
        addLevels(store, {255, 9, 9}, mg);
        addRow("KVB_14", {{"FBar_No", 2}, {"FBar_Type", 1}, {"FBar_ItemDigitNo", 4}});
        db::Recordset& rs = openPlu({{"ST_No", 1}, {"PLU_MG", 997}, {"PLU_BarFormat", 255}});
        BarcodeControls now;
        now.flagCode1.text = "x";
        now.flagCode2.text = "y";
        now.itemCode.text = "1234567890";
        const BarcodeControls c = SetBarcodeFlagControls(0, 1, rs, now);
        auto show = [](const BarcodeBox& b) { return QString(b.enabled ? "+" : "-") + b.text; };
        QCOMPARE(
            QStringList({show(c.flagCode1), show(c.flagCode2), show(c.itemCode), QString::number(c.itemCode.maxLength)})
                .join(' '),
            expected);
    }
};

QTEST_GUILESS_MAIN(TestBarFormat)
#include "tst_barformat.moc"
