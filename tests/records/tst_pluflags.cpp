#include "records/PluFlags.h"
#include "state/SharedData.h"
#include "support/CodecTestDb.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;
using namespace quorvane::test;

namespace {

const QStringList kStat1 = {"Stat1_Unit",          "Stat1_PBPreUnit",    "Stat1_UPriceOV",
                            "Stat1_PricePriority", "Stat1_MemPriceType", "Stat1_NegativePLU"};
const QStringList kStat2 = {"Stat2_MGCode",   "Stat2_PLUTare",     "Stat2_ItemCode",     "Stat2_TaxNo",
                            "Stat2_Discount", "Stat2_SPMessageNo", "Stat2_IngredientNo", "Stat2_Commodity",
                            "Stat2_MemPrice", "Stat2_DiscScheNo",  "Stat2_PriScheNo",    "Stat2_CoupledPLU",
                            "Stat2_Tax2No",   "Stat2_Description", "Stat2_MemDisc",      "Stat2_PLUCost",
                            "Stat2_RSData"};

QVariantMap allSet(const QStringList& names, int value)
{
    QVariantMap m;
    for (const QString& n : names)
        m.insert(n, value);
    return m;
}

} // namespace

class TestPluFlags : public QObject {
    Q_OBJECT

private:
    CodecDb* m_db = nullptr;
    db::Recordset m_rs{&gDBConnection};

    void openRow(const QVariantMap& values)
    {
        const qint64 id = addRow(QStringLiteral("KVB_25"), values);
        m_rs.open(QStringLiteral("SELECT * FROM KVB_25 WHERE rowid=?"), {id});
    }

private slots:
    void init()
    {
        m_db = new CodecDb;
        QVERIFY2(m_db->isOpen(), qPrintable(m_db->error()));
    }
    void cleanup()
    {
        m_rs.close();
        delete m_db;
    }

    void pack_data()
    {
        QTest::addColumn<QVariantMap>("flags");
        QTest::addColumn<QList<int>>("bytes"); // Stat1_Byte1, Stat2_Byte1, Stat2_Byte2, Stat2_Byte3
        QTest::newRow("all Stat1 set") << allSet(kStat1, 1) << QList<int>{0x9F, 0, 0, 0};
        QTest::newRow("all Stat2 set") << allSet(kStat2, 1) << QList<int>{0, 0xFF, 0xFF, 0x01};
        QVariantMap noRs = allSet(kStat2, 1);
        noRs.insert("Stat2_RSData", 0);
        QTest::newRow("all Stat2 but RS data") << noRs << QList<int>{0, 0xFF, 0xFF, 0x00};
        QTest::newRow("a flag holding 2 counts as set")
            << QVariantMap{{"Stat1_NegativePLU", 2}, {"Stat2_Tax2No", 2}} << QList<int>{0x80, 0, 0x10, 0};
        QTest::newRow("tare and unit") << QVariantMap{{"Stat1_Unit", 1}, {"Stat2_PLUTare", 1}}
                                       << QList<int>{0x01, 0x02, 0, 0};
    }
    void pack()
    {
        QFETCH(QVariantMap, flags);
        QFETCH(QList<int>, bytes);
        QVariantMap row = flags;
        row.insert("Stat1_Byte3", 77); // stale bytes are overwritten
        row.insert("Stat2_Byte9", 77);
        openRow(row);
        PackStat1(m_rs);
        PackStat2(m_rs);
        m_rs.update();
        QCOMPARE(m_rs.intValue("Stat1_Byte1"), qint64(bytes[0]));
        QCOMPARE(m_rs.intValue("Stat2_Byte1"), qint64(bytes[1]));
        QCOMPARE(m_rs.intValue("Stat2_Byte2"), qint64(bytes[2]));
        QCOMPARE(m_rs.intValue("Stat2_Byte3"), qint64(bytes[3]));
        for (int i = 2; i <= 4; ++i)
            QCOMPARE(m_rs.intValue(QStringLiteral("Stat1_Byte%1").arg(i)), qint64(0));
        for (int i = 4; i <= 16; ++i)
            QCOMPARE(m_rs.intValue(QStringLiteral("Stat2_Byte%1").arg(i)), qint64(0));

        // Unpacking gives every flag back as 0 or 1.
        openRow({{"Stat1_Byte1", bytes[0]},
                 {"Stat2_Byte1", bytes[1]},
                 {"Stat2_Byte2", bytes[2]},
                 {"Stat2_Byte3", bytes[3]}});
        UnpackStat1(m_rs);
        UnpackStat2(m_rs);
        for (const QString& f : kStat1 + kStat2)
            QCOMPARE(m_rs.intValue(f), flags.value(f, 0).toInt() ? qint64(1) : qint64(0));
    }

    void unpackIgnoresBitsWithoutFlags()
    {
        openRow(QVariantMap{{"Stat1_Byte1", 0x60}, {"Stat2_Byte3", 0xFE}, {"Stat1_Unit", 1}, {"Stat2_RSData", 1}});
        UnpackStat1(m_rs);
        UnpackStat2(m_rs);
        for (const QString& f : kStat1 + kStat2)
            QCOMPARE(m_rs.intValue(f), qint64(0));
    }

    void nullFlagPacksAsZero()
    {
        openRow({});
        m_rs.setNull("Stat1_Unit");
        PackStat1(m_rs);
        QCOMPARE(m_rs.intValue("Stat1_Byte1"), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TestPluFlags)
#include "tst_pluflags.moc"
