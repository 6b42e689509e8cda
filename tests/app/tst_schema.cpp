#include "support/DataRows.h"
#include "support/TestSupport.h"

#include "app/SchemaBuilder.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <limits>

using quorvane::app::BuildDatabaseFromSchema;
using quorvane::app::SchemaBuildError;
using namespace quorvane::db;
using quorvane::test::readFile;
using quorvane::test::writeFile;

namespace {

const QString kDbName = QStringLiteral("Orvo2005_New.mdb");
const QString kTempName = QStringLiteral("Orvo2005_New_.mdb");

// The working tables as the program relies on them, field by field: "name kind" with N number, T text,
// B binary. Written out by hand, so a slip in the shipped schema file shows here.
const QString kPluFields = QStringLiteral(
    "PLU_No N; ST_No N; SECT_No N; PLU_MG N; "
    "PLU_UPrice N; PLU_Tare N; PLU_Cost N; PLU_MemPrice N; "
    "PLU_CoupledPLUNo N; PLU_TaxNo N; PLU_Tax2No N; PLU_SPMessageNo N; PLU_IngredientNo N; PLU_DiscScheNo N; "
    "PLU_PriScheNo N; PLU_RSData N; "
    "PLU_Disc_SDate N; PLU_Disc_STime N; PLU_Disc_EDate N; PLU_Disc_ETime N; PLU_Disc_1stLim N; "
    "PLU_Disc_Within1stL N; PLU_Disc_2ndLim N; PLU_Disc_Within2ndL N; PLU_Disc_Type N; PLU_DisDayOfWeek N; "
    "PLU_MemDisc1 N; PLU_MemDisc2 N; PLU_MemDisc3 N; PLU_MemDisc4 N; "
    "PLU_BarFormat N; PLU_EANFlags N; PLU_EANLastByte N; "
    "PLU_EANItemCode T; PLU_EANData T; "
    "PLU_Commodity B; PLU_Description B; "
    "PLU_CommodityFirst T; "
    "Stat1_Unit N; Stat1_PBPreUnit N; Stat1_UPriceOV N; Stat1_PricePriority N; Stat1_MemPriceType N; "
    "Stat1_NegativePLU N; "
    "Stat1_Byte1 N; Stat1_Byte2 N; Stat1_Byte3 N; Stat1_Byte4 N; "
    "Stat2_MGCode N; Stat2_PLUTare N; Stat2_ItemCode N; Stat2_TaxNo N; Stat2_Tax2No N; Stat2_Discount N; "
    "Stat2_SPMessageNo N; Stat2_IngredientNo N; Stat2_DiscScheNo N; Stat2_PriScheNo N; Stat2_CoupledPLU N; "
    "Stat2_Commodity N; Stat2_Description N; Stat2_MemPrice N; Stat2_MemDisc N; Stat2_PLUCost N; Stat2_RSData N; "
    "Stat2_Byte1 N; Stat2_Byte2 N; Stat2_Byte3 N; Stat2_Byte4 N; Stat2_Byte5 N; Stat2_Byte6 N; Stat2_Byte7 N; "
    "Stat2_Byte8 N; Stat2_Byte9 N; Stat2_Byte10 N; Stat2_Byte11 N; Stat2_Byte12 N; Stat2_Byte13 N; "
    "Stat2_Byte14 N; Stat2_Byte15 N; Stat2_Byte16 N; "
    "KVBBinData B; Is_Selected N");

const QString kTextRecordFields = QStringLiteral(
    "No N; NextNo N; NameFirstLine T; Name B; KVBBinData B; Is_Selected N");

const QList<QPair<QString, QString>> kWorkingTables = {
    {"STORE", "ST_No N; ST_Name T; Flag1 N; Flag2 N; barformat N"},
    {"SECT", "SECT_No N; ST_No N; SECT_Name T; Flag1 N; Flag2 N; barformat N"},
    {"SCALE",
     "SC_IP T; SC_No T; SC_Used N; SC_FTPName T; SC_FTPPW T; SC_MODEL_ID N; SC_PSK_Layout N; ST_No N; "
     "SECT_No N"},
    {"SEARCH",
     "SH_No N; SH_Name T; DP_No1 N; DP_No2 N; MG_No1 N; MG_No2 N; PLU_No1 N; PLU_No2 N; PLU_UPrice1 N; "
     "PLU_UPrice2 N; ST_No N"},
    {"KVB_14",
     "FBar_No N; FBar_Type N; FBar_ItemDigitNo N; FBar_Data1Type N; FBar_Data2Type N; FBar_FBarDigitNo N; "
     "FBar_CD N; FBar_Data1 N; FBar_Data2 N; FBar_Data1SH N; FBar_Data2SH N; FBar_EANorITF N; "
     "KVBBinData B; Is_Selected N"},
    {"KVB_20", "DP_No N; DP_Name T; Flag1 N; Flag2 N; barformat N; ST_No N; SECT_No N; KVBBinData B; Is_Selected N"},
    {"KVB_23",
     "MG_No N; MG_Name T; Flag1 N; Flag2 N; barformat N; Tax_No N; ST_No N; SECT_No N; DP_No N; "
     "KVBBinData B; Is_Selected N"},
    {"KVB_25", kPluFields},
    {"RC_25", kPluFields},
    {"KVB_3A", kTextRecordFields},
    {"KVB_3B", kTextRecordFields},
    {"KVB_3C", kTextRecordFields},
    {"KVB_3D", kTextRecordFields},
    {"KVB_3F", "Number N; Data T; KVBBinData B; Is_Selected N"},
    {"KVB_40",
     "Number N; Group1 N; File1 N; Scroll1 N; Display1 N; Speed1 N; "
     "Group2 N; File2 N; Scroll2 N; Display2 N; Speed2 N; "
     "Group3 N; File3 N; Scroll3 N; Display3 N; Speed3 N; KVBBinData B; Is_Selected N"},
    {"KVB_41", "Scale_IP T; PSK_Layout N; Number N; Key_Switch N; Status N; Name T; KVBBinData B; Is_Selected N"},
    {"KVB_44", "Clerk_No N; Name T; Status N; KVBBinData B; Is_Selected N"},
    {"KVB_4E", "SF_No N; KVBBinData B; Is_Selected N"},
    {"KVB_A8", "Code N; Name T; Rate N; Status N; KVBBinData B; Is_Selected N"},
    {"KVB_AA",
     "Number N; Disc_SDate N; Disc_STime N; Disc_EDate N; Disc_ETime N; Disc_LimitType N; Disc_1stLim N; "
     "Disc_Within1stL N; Disc_2ndLim N; Disc_Within2ndL N; Disc_Type N; DisDayOfWeek N; NextNumber N; "
     "KVBBinData B; Is_Selected N"},
    {"KVB_AB",
     "Number N; Price_SDate N; Price_STime N; Price_EDate N; Price_ETime N; PriceDayOfWeek N; "
     "NewUnitPrice N; NextNumber N; KVBBinData B; Is_Selected N"},
    {"KVB_AC", "Number N; Status N; Name T; Type N; KVBBinData B; Is_Selected N"},
    {"KVB_AD", "Number N; Status N; Name T; Reserved N; KVBBinData B; Is_Selected N"},
    {"KVB_B5", "Code N; Type N; StartNum N; EndNum N; Is_Selected N"},
};

// Report tables: column count and the columns exported as money (price decimals) and as weights.
struct ReportTable {
    QString name;
    int columns;
    QString money;
    QString weights;
};
const QList<ReportTable> kReportTables = {
    {"DPT0", 16, "9, 13", "8, 12"},
    {"MGT0", 17, "10, 14", "9, 13"},
    {"PLT0", 17, "10, 14", "9, 13"},
    {"CLT0", 16, "9, 13", "8, 12"},
    {"SAT0", 123,
     "5, 10, 12, 14, 16, 18, 20, 22, 24, 27-33, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54, 56, 58, 59, 61-64, 68, 70, "
     "72, 74, 76, 78, 80, 82, 85-91, 94, 96, 98, 100, 102, 104, 106, 108, 110, 112, 114, 116, 117, 119-122",
     "9, 26, 67, 84"},
    {"TAT0", 16, "8-13", ""},
    {"RTB0", 28, "9, 13-15", "12"},
    {"RTT0", 33, "10, 11, 15-31", "13"},
    {"INV0", 12, "6, 8, 9", ""},
};

QSet<int> positions(const QString& list)
{
    QSet<int> out;
    for (const QString& part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = part.trimmed().split(QLatin1Char('-'));
        for (int i = ends.first().toInt(); i <= ends.last().toInt(); ++i)
            out.insert(i);
    }
    return out;
}

char kindLetter(FieldKind k) { return "NRTB"[int(k)]; }

QByteArray schemaBytes(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// "T:A/4,B/10/20;U:..." for every table of a database, in creation order: name, type code and, for a
// text, its size.
QString describe(const Connection& c)
{
    QStringList tables;
    for (const QString& t : c.tables()) {
        QStringList fields;
        for (const FieldInfo& f : c.fields(t)) {
            QString d = QStringLiteral("%1/%2").arg(f.name).arg(f.typeCode);
            if (f.kind == FieldKind::Text)
                d += QStringLiteral("/%1").arg(f.size);
            fields << d;
        }
        tables << t + QLatin1Char(':') + fields.join(QLatin1Char(','));
    }
    return tables.join(QLatin1Char(';'));
}

// A small table that stands for every kind of field; its field spelling follows the working tables'.
const QStringList kSmallSchema = {"[T]",           "Id,4,4",          "Name,10,20", "Data,11,0",
                                  "PLU_TaxNo,4,4", "Is_Selected,4,4", "",           "[END]"};

struct BuildRow {
    const char* name;
    QByteArray schema = schemaBytes(kSmallSchema); // null: no schema file
    QByteArray database{};                         // there before the build, null for none
    bool leftover = false;                         // a temporary database of a cut build
    int mode = 0;
    int result = 0;
    QStringList files{"Orvo2005_New.mdb", "abc.txt"};
    QString tables{}; // of the database after the build; empty: the one before is unchanged
};

} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_shippedPath;
    Connection m_shipped;

    // Builds a database from the given schema lines in a fresh folder and opens it.
    void buildSmall(QTemporaryDir& dir, Connection& c, const QStringList& schema = kSmallSchema)
    {
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath("abc.txt"), schemaBytes(schema)));
        QCOMPARE(int(BuildDatabaseFromSchema(dir.filePath("abc.txt"), dir.filePath(kDbName), 0)), 0);
        QString error;
        QVERIFY2(c.open(dir.filePath(kDbName), &error), qPrintable(error));
    }

    void buildShipped(const QString& dbPath, Connection& c)
    {
        SchemaBuildError err;
        QCOMPARE(int(BuildDatabaseFromSchema(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt", dbPath, 0, &err)), 0);
        QString error;
        QVERIFY2(c.open(dbPath, &error), qPrintable(error));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_shippedPath = m_dir.filePath(kDbName);
        buildShipped(m_shippedPath, m_shipped);
    }

    // ---- the shipped schema file ----

    void shippedFileBytes()
    {
        const QByteArray bytes = readFile(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt");
        QVERIFY(!bytes.isEmpty());
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("\r\n\r\n[END]\r\n"));
        QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](char b) { return b > 0; })); // ASCII, no NUL
        QByteArray bare = bytes;
        bare.replace("\r\n", "");
        QVERIFY2(!bare.contains('\r') && !bare.contains('\n'), "a bare CR or LF");
    }

    void shippedTables()
    {
        QStringList expected;
        for (const auto& t : kWorkingTables)
            expected << t.first;
        for (const ReportTable& r : kReportTables)
            expected << r.name;
        QCOMPARE(expected.size(), 33);
        QCOMPARE(m_shipped.tables(), expected);
    }

    void shippedFields_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("fields");
        for (const auto& t : kWorkingTables)
            QTest::newRow(qPrintable(t.first)) << t.first << t.second;
    }

    void shippedFields()
    {
        QFETCH(QString, table);
        QFETCH(QString, fields);
        const QStringList expected = fields.split(QStringLiteral("; "));
        const QList<FieldInfo> actual = m_shipped.fields(table);
        QStringList got;
        for (const FieldInfo& f : actual) {
            got << f.name + QLatin1Char(' ') + QLatin1Char(kindLetter(f.kind));
            // Number 4 (32-bit, default 0), text 10, binary 11: nothing else is used.
            const int code = f.kind == FieldKind::Number ? 4 : f.kind == FieldKind::Text ? 10 : 11;
            QCOMPARE(f.typeCode, code);
            if (f.kind == FieldKind::Number)
                QCOMPARE(f.defaultValue, QVariant(0));
        }
        QCOMPARE(got, expected);
    }

    void shippedSizes_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("most");
        // Fixed forms the code reads or writes exactly.
        // clang-format off
        QTest::newRow("SC_IP") << "SCALE" << "SC_IP" << 15 << 15;
        QTest::newRow("Scale_IP") << "KVB_41" << "Scale_IP" << 15 << 15;
        QTest::newRow("PLU_EANData") << "KVB_25" << "PLU_EANData" << 12 << 12;
        QTest::newRow("PLU_EANItemCode") << "KVB_25" << "PLU_EANItemCode" << 10 << 10;
        QTest::newRow("RC_25 PLU_EANData") << "RC_25" << "PLU_EANData" << 12 << 12;
        QTest::newRow("RC_25 PLU_EANItemCode") << "RC_25" << "PLU_EANItemCode" << 10 << 10;
        // At least what the program or an editor puts there.
        QTest::newRow("PLU_CommodityFirst") << "KVB_25" << "PLU_CommodityFirst" << 101 << 255;
        QTest::newRow("RC_25 PLU_CommodityFirst") << "RC_25" << "PLU_CommodityFirst" << 101 << 255;
        QTest::newRow("KVB_41 Name") << "KVB_41" << "Name" << 101 << 255;
        QTest::newRow("ST_Name") << "STORE" << "ST_Name" << 50 << 255;
        QTest::newRow("SECT_Name") << "SECT" << "SECT_Name" << 50 << 255;
        QTest::newRow("DP_Name") << "KVB_20" << "DP_Name" << 50 << 255;
        QTest::newRow("MG_Name") << "KVB_23" << "MG_Name" << 50 << 255;
        QTest::newRow("SC_No") << "SCALE" << "SC_No" << 50 << 255;
        QTest::newRow("SC_FTPName") << "SCALE" << "SC_FTPName" << 16 << 255;
        QTest::newRow("SC_FTPPW") << "SCALE" << "SC_FTPPW" << 16 << 255;
        QTest::newRow("SH_Name") << "SEARCH" << "SH_Name" << 50 << 255;
        QTest::newRow("KVB_3A NameFirstLine") << "KVB_3A" << "NameFirstLine" << 255 << 255;
        QTest::newRow("KVB_3D NameFirstLine") << "KVB_3D" << "NameFirstLine" << 255 << 255;
        QTest::newRow("KVB_3F Data") << "KVB_3F" << "Data" << 100 << 255;
        QTest::newRow("KVB_44 Name") << "KVB_44" << "Name" << 16 << 255;
        QTest::newRow("KVB_A8 Name") << "KVB_A8" << "Name" << 4 << 255;
        QTest::newRow("KVB_AC Name") << "KVB_AC" << "Name" << 22 << 255;
        QTest::newRow("KVB_AD Name") << "KVB_AD" << "Name" << 7 << 255;
        // clang-format on
    }

    void shippedSizes()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(int, least);
        QFETCH(int, most);
        Recordset rs(&m_shipped);
        rs.openTable(table);
        const int i = rs.fieldIndex(field);
        QVERIFY(i >= 0);
        const FieldInfo& f = rs.fieldInfo(i);
        QCOMPARE(f.kind, FieldKind::Text);
        QVERIFY2(f.size >= least && f.size <= most, qPrintable(QString::number(f.size)));

        // The layer keeps the declared size: one character more is refused.
        Transaction tx(m_shipped);
        rs.addNew();
        rs.setValue(field, QString(f.size, QLatin1Char('9')));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue(field, QString(f.size + 1, QLatin1Char('9'))));
        rs.update();
        QCOMPARE(rs.textValue(field), QString(f.size, QLatin1Char('9')));
    }

    // A received row copied into the PLU table position by position lands in the same-named fields.
    void shippedRcCopiesByPosition()
    {
        Transaction tx(m_shipped);
        Recordset rc(&m_shipped), kvb(&m_shipped);
        rc.open("Select * from RC_25");
        rc.addNew();
        for (int i = 0; i < rc.fieldCount(); ++i) {
            const FieldInfo& f = rc.fieldInfo(i);
            if (f.kind == FieldKind::Number)
                rc.setValue(i, 1000 + i);
            else if (f.kind == FieldKind::Text)
                rc.setValue(i, QString::number(i));
            else
                rc.setValue(i, QByteArray(i + 1, char(i)));
        }
        rc.update();
        kvb.open("Select * from KVB_25");
        kvb.addNew();
        for (int i = 0; i < kvb.fieldCount(); ++i)
            kvb.setValue(i, rc.value(i));
        kvb.update();
        kvb.close();
        kvb.open("Select * from KVB_25 where PLU_No=?", {1000});
        QCOMPARE(kvb.recordCount(), 1);
        for (int i = 0; i < rc.fieldCount(); ++i)
            QCOMPARE(kvb.value(rc.fieldName(i)), rc.value(i));
    }

    void shippedReportTables_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < kReportTables.size(); ++i)
            QTest::newRow(qPrintable(kReportTables[i].name)) << i;
    }

    void shippedReportTables()
    {
        QFETCH(int, index);
        const ReportTable& r = kReportTables[index];
        const QList<FieldInfo> fields = m_shipped.fields(r.name);
        QCOMPARE(fields.size(), r.columns);
        const QSet<int> money = positions(r.money);
        const QSet<int> weights = positions(r.weights);
        static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        static const QRegularExpression trailingNumber(QStringLiteral("(\\d+)$"));
        QSet<QString> seen;
        for (int i = 0; i < fields.size(); ++i) {
            const FieldInfo& f = fields[i];
            QVERIFY2(identifier.match(f.name).hasMatch(), qPrintable(f.name));
            QVERIFY2(!seen.contains(f.name.toLower()), qPrintable(f.name));
            seen.insert(f.name.toLower());
            // Text, wide enough that no whole number a scale sends is ever cut.
            QCOMPARE(f.kind, FieldKind::Text);
            QVERIFY(f.size >= 20);
            // The name tells the operator how the export writes the column, and its position.
            QCOMPARE(f.name.startsWith(QLatin1String("Amount_")), money.contains(i));
            QCOMPARE(f.name.startsWith(QLatin1String("Weight_")), weights.contains(i));
            QCOMPARE(trailingNumber.match(f.name).captured(1).toInt(), i);
        }
    }

    // Loaders and editors rely on a new row's defaults: numbers 0, texts empty, bytes without value.
    void shippedDefaults()
    {
        Transaction tx(m_shipped);
        for (const QString& table : m_shipped.tables()) {
            Recordset rs(&m_shipped);
            rs.open(QStringLiteral("select * from ") + table);
            rs.addNew();
            rs.update();
            rs.close();
            rs.openTable(table);
            QCOMPARE(rs.recordCount(), 1);
            for (int i = 0; i < rs.fieldCount(); ++i) {
                const FieldInfo& f = rs.fieldInfo(i);
                const QVariant v = rs.value(i);
                const QString where = table + QLatin1Char('.') + f.name;
                if (f.kind == FieldKind::Number)
                    QVERIFY2(!v.isNull() && v.toLongLong() == 0, qPrintable(where));
                else if (f.kind == FieldKind::Text)
                    QVERIFY2(!v.isNull() && v.toString().isEmpty(), qPrintable(where));
                else
                    QVERIFY2(v.isNull(), qPrintable(where));
            }
        }
    }

    // ---- the builder ----

    void builds_data()
    {
        QTest::addColumn<QStringList>("schema");
        QTest::addColumn<QString>("expected");
        const QString one = QStringLiteral("T:A/4,B/10/20");
        // clang-format off
        QTest::newRow("one table") << QStringList{"[T]", "A,4,4", "B,10,20", "", "[END]"} << one;
        QTest::newRow("padded lines") << QStringList{"  [T] ", "   A,4,4", "B,10,20    ", "     ", "  [END]  "} << one;
        QTest::newRow("table into [END]") << QStringList{"[T]", "A,4,4", "B,10,20", "[END]"} << QString();
        QTest::newRow("second table into [END]") << QStringList{"[T]", "A,4,4", "B,10,20", "", "[U]", "C,4,4", "[END]"} << one;
        QTest::newRow("two tables, bytes") << QStringList{"[T]", "A,4,4", "", "[U]", "D,11,0", "E,10,255", "", "[END]"} << QStringLiteral("T:A/4;U:D/11,E/10/255");
        QTest::newRow("nothing read after [END]") << QStringList{"[T]", "A,4,4", "B,10,20", "", "[END]", "garbage", "", ""} << one;
        QTest::newRow("only [END]") << QStringList{"[END]"} << QString();
        // clang-format on
    }

    void builds()
    {
        QFETCH(QStringList, schema);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("abc.txt"), schemaBytes(schema)));
        SchemaBuildError err;
        QCOMPARE(int(BuildDatabaseFromSchema(dir.filePath("abc.txt"), dir.filePath(kDbName), 0, &err)), 0);
        QCOMPARE(entries(dir.path()), QStringList({"Orvo2005_New.mdb", "abc.txt"}));
        Connection c;
        QVERIFY(c.open(dir.filePath(kDbName)));
        QCOMPARE(describe(c), expected);
    }

    // A number field holds the whole 32-bit range.
    void numberRange()
    {
        QTemporaryDir dir;
        Connection c;
        buildSmall(dir, c, {"[T]", "A,4,4", "", "[END]"});
        c.exec("INSERT INTO T (A) VALUES (?)", {std::numeric_limits<qint32>::min()});
        QCOMPARE(c.scalar("select A from T").toLongLong(), qint64(std::numeric_limits<qint32>::min()));
    }

    void malformed_data()
    {
        QTest::addColumn<QStringList>("schema");
        QTest::addColumn<int>("line");
        QTest::newRow("one comma") << QStringList{"[T]", "A,4,4", "B,10", "", "[END]"} << 3;
        QTest::newRow("no comma") << QStringList{"[T]", "A 4 4", "", "[END]"} << 2;
        QTest::newRow("code not a number") << QStringList{"[T]", "A,x,4", "", "[END]"} << 2;
        QTest::newRow("empty code") << QStringList{"[T]", "A,,4", "", "[END]"} << 2;
        QTest::newRow("size not a number") << QStringList{"[T]", "A,4,4", "B,10,abc", "", "[END]"} << 3;
        QTest::newRow("size with a fraction") << QStringList{"[T]", "A,10,2.5", "", "[END]"} << 2;
        QTest::newRow("three commas") << QStringList{"[T]", "A,10,20,5", "", "[END]"} << 2;
        QTest::newRow("empty line first") << QStringList{"", "[T]", "A,4,4", "", "[END]"} << 1;
        QTest::newRow("two empty lines") << QStringList{"[T]", "A,4,4", "", "", "[U]", "B,4,4", "", "[END]"} << 4;
        QTest::newRow("two blank lines") << QStringList{"[T]", "A,4,4", "  ", "   ", "[END]"} << 4;
        QTest::newRow("field before a table") << QStringList{"A,4,4", "", "[END]"} << 1;
        QTest::newRow("table not closed") << QStringList{"[T]", "A,4,4", "[U]", "B,4,4", "", "[END]"} << 3;
        QTest::newRow("no closing bracket") << QStringList{"[T", "A,4,4", "", "[END]"} << 1;
        QTest::newRow("quote in a field name") << QStringList{"[T]", "A\"x,4,4", "", "[END]"} << 2;
        QTest::newRow("quote in a table name") << QStringList{"[T\"x]", "A,4,4", "", "[END]"} << 1;
        QTest::newRow("field twice") << QStringList{"[T]", "A,4,4", "a,10,5", "", "[END]"} << 3;
        QTest::newRow("no [END]") << QStringList{"[T]", "A,4,4", ""} << 3;
        QTest::newRow("lower-case end") << QStringList{"[T]", "A,4,4", "", "[end]"} << 4;
    }

    void malformed()
    {
        QFETCH(QStringList, schema);
        QFETCH(int, line);
        QTemporaryDir dir;
        Connection old;
        buildSmall(dir, old);
        old.exec("INSERT INTO T (Id) VALUES (1), (2)");
        old.close();
        const QByteArray before = readFile(dir.filePath(kDbName));
        QVERIFY(!before.isEmpty());

        QVERIFY(writeFile(dir.filePath("abc.txt"), schemaBytes(schema)));
        SchemaBuildError err;
        const int result = BuildDatabaseFromSchema(dir.filePath("abc.txt"), dir.filePath(kDbName), 0, &err);
        QCOMPARE(result, int(quorvane::app::SchemaMalformed));
        QCOMPARE(err.line, line);
        QVERIFY(!err.message.isEmpty());
        QCOMPARE(readFile(dir.filePath(kDbName)), before);
        QCOMPARE(entries(dir.path()), QStringList({"Orvo2005_New.mdb", "abc.txt"}));
    }

    // What a build leaves in the folder: the schema file, the database built or kept, never a temporary.
    void buildOutcome_data()
    {
        // clang-format off
        quorvane::test::addDataRows<BuildRow>({
            {.name = "mode 0 replaces", .database = "OLD", .tables = "T"},
            {.name = "mode 0, temporary left behind", .leftover = true, .tables = "T"},
            {.name = "mode 3 keeps a database", .database = "not touched", .mode = 3, .result = 2},
            {.name = "mode 3 builds a missing one", .mode = 3, .tables = "T"},
            {.name = "no schema, database exists", .schema = QByteArray(), .database = "earlier run", .result = 1, .files = {"Orvo2005_New.mdb"}},
            {.name = "no schema, no database", .schema = QByteArray(), .result = 1, .files = {}},
            {.name = "empty schema has no end", .schema = "", .result = int(quorvane::app::SchemaMalformed), .files = {"abc.txt"}},
        });
        // clang-format on
    }

    void buildOutcome()
    {
        QFETCH(BuildRow, row);
        QTemporaryDir dir;
        const QString db = dir.filePath(kDbName);
        if (row.database == "OLD") { // a real database holding a table and a row
            Connection old;
            buildSmall(dir, old, {"[OLD]", "X,4,4", "", "[END]"});
            old.exec("INSERT INTO OLD (X) VALUES (?)", {5});
            old.close();
        } else if (!row.database.isNull())
            QVERIFY(writeFile(db, row.database));
        if (row.leftover)
            QVERIFY(writeFile(dir.filePath(kTempName), "left by an interrupted build"));
        if (!row.schema.isNull())
            QVERIFY(writeFile(dir.filePath("abc.txt"), row.schema));
        SchemaBuildError err;
        QCOMPARE(int(BuildDatabaseFromSchema(dir.filePath("abc.txt"), db, row.mode, &err)), row.result);
        QCOMPARE(entries(dir.path()), row.files);
        if (row.result == 1)
            QCOMPARE(err.line, 0);
        if (row.tables.isEmpty()) {
            QCOMPARE(readFile(db), row.database);
            return;
        }
        Connection c;
        QVERIFY(c.open(db));
        QCOMPARE(c.tables(), QStringList{row.tables});
        QCOMPARE(c.scalar("select count(*) from T").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
