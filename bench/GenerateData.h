#pragma once

// The benchmarks' data set: 10 stores, each with 98 departments (0 to 97) and 998 main groups (0 to 997),
// 100,000 PLUs in all, 10,000 preset keys with their scale records (every page of the 24 keys of the shipped
// layout 0 on 139 of the 150 scales) and every other-files table filled.

#include "platform/db/Connection.h"
#include "presetkeys/PresetKeyTable.h"

#include <QHash>
#include <QString>
#include <QVariantList>

#include <initializer_list>
#include <utility>

namespace quorvane::bench {

struct DataSetSize {
    int stores = 10;
    int sectionsPerStore = 3;
    int scalesPerSection = 5; // 150 scales: room for 72 key rows each
    int departments = 98;     // 0 to 97 in every store
    int mainGroups = 998;     // 0 to 997 in every store
    int plus = 100000;        // spread over the stores
    int presetKeys = 10000;
    int searchesPerStore = 10;
};

namespace detail {

using Values = std::initializer_list<std::pair<const char*, QVariant>>;

// Only the fields the schema has are set, so the generator serves any schema with the dumped tables.
inline void insert(db::Connection& c, const char* table, Values values)
{
    // A table's name and fields as the schema spells them, by lower-case name; "" holds the table's own.
    static QHash<QString, QHash<QString, QString>> schema;
    auto& fields = schema[QLatin1String(table)];
    if (fields.isEmpty()) {
        fields.insert(QString(), c.tableName(QLatin1String(table)));
        for (const db::FieldInfo& f : c.fields(QLatin1String(table)))
            fields.insert(f.name.toLower(), f.name);
    }
    const QString name = fields.value(QString());
    QStringList cols, marks;
    QVariantList params;
    for (const auto& [field, value] : values) {
        const QString f = fields.value(QString::fromLatin1(field).toLower());
        if (f.isEmpty())
            continue;
        cols << QLatin1Char('"') + f + QLatin1Char('"');
        marks << QStringLiteral("?");
        params << value;
    }
    c.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
               .arg(name, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
           params);
}

inline QString scaleAddress(int a, int b) { return QStringLiteral("192.168.%1.%2").arg(a, 3).arg(b, 3); }

} // namespace detail

// Fills the empty working tables of `c` in one transaction.
inline void generateData(db::Connection& c, const DataSetSize& n = {})
{
    using detail::insert;
    db::Transaction tx(c);
    QStringList scales;
    for (int s = 1; s <= n.stores; ++s) {
        insert(c, "STORE",
               {{"ST_No", s},
                {"ST_Name", QStringLiteral("Store %1").arg(s)},
                {"Flag1", 2},
                {"Flag2", 0},
                {"barformat", 0}});
        for (int sect = 1; sect <= n.sectionsPerStore; ++sect) {
            insert(c, "SECT",
                   {{"SECT_No", sect},
                    {"ST_No", s},
                    {"SECT_Name", QStringLiteral("Section %1").arg(sect)},
                    {"Flag1", 16},
                    {"Flag2", 16},
                    {"barformat", 255}});
            for (int m = 1; m <= n.scalesPerSection; ++m) {
                const QString ip = detail::scaleAddress(s, sect * 10 + m);
                scales << ip;
                insert(c, "SCALE",
                       {{"SC_IP", ip},
                        {"SC_No", QString::number(scales.size())},
                        {"SC_Used", 1},
                        {"SC_FTPName", QStringLiteral("admin")},
                        {"SC_FTPPW", QStringLiteral("1234")},
                        {"SC_MODEL_ID", 0},
                        {"SC_PSK_Layout", 0},
                        {"ST_No", s},
                        {"SECT_No", sect}});
            }
        }
        for (int d = 0; d < n.departments; ++d)
            insert(c, "KVB_20",
                   {{"DP_No", d},
                    {"DP_Name", QStringLiteral("Department %1").arg(d)},
                    {"Flag1", 16},
                    {"Flag2", 16},
                    {"barformat", 255},
                    {"ST_No", s},
                    {"SECT_No", 0}});
        for (int g = 0; g < n.mainGroups; ++g)
            insert(c, "KVB_23",
                   {{"MG_No", g},
                    {"MG_Name", QStringLiteral("Main group %1").arg(g)},
                    {"Flag1", 16},
                    {"Flag2", 16},
                    {"barformat", 255},
                    {"Tax_No", 1},
                    {"ST_No", s},
                    {"SECT_No", 0},
                    {"DP_No", g % n.departments}});
        for (int h = 1; h <= n.searchesPerStore; ++h)
            insert(c, "SEARCH",
                   {{"SH_No", h},
                    {"SH_Name", QStringLiteral("Search %1").arg(h)},
                    {"DP_No1", 0},
                    {"DP_No2", 97},
                    {"MG_No1", 0},
                    {"MG_No2", 997},
                    {"PLU_No1", h * 100},
                    {"PLU_No2", h * 1000},
                    {"PLU_UPrice1", 0},
                    {"PLU_UPrice2", 99999},
                    {"ST_No", s}});
    }
    const int perStore = n.plus / n.stores;
    for (int i = 0; i < n.plus; ++i) {
        const int p = i % perStore + 1;
        insert(c, "KVB_25",
               {{"PLU_No", p},
                {"ST_No", i / perStore + 1},
                {"SECT_No", 0},
                {"PLU_MG", p % n.mainGroups},
                {"PLU_UPrice", 100 + p % 9000},
                {"PLU_CommodityFirst", QStringLiteral("Article %1").arg(p)}});
    }
    // Layout 0, the one the program ships: 24 keys a page, three pages, so 72 rows a scale.
    constexpr int KeysPerPage = 24, RowsPerScale = 3 * KeysPerPage;
    for (int k = 0; k < n.presetKeys; ++k) {
        const int number = k % RowsPerScale + 1;
        const int plu = k % 9999 + 1;
        insert(c, "KVB_41",
               {{"Scale_IP", scales[k / RowsPerScale % scales.size()]},
                {"PSK_Layout", 0},
                {"Number", number},
                {"Key_Switch", plu},
                {"Status", 0},
                {"Name", QStringLiteral("Key %1").arg(number)},
                {"KVBBinData", presetkeys::KvbPresetKeyRecord(number, plu, 0, KeysPerPage)}});
    }
    for (int f = 1; f <= 9; ++f)
        insert(c, "KVB_14",
               {{"FBar_No", f},
                {"FBar_Type", 1},
                {"FBar_ItemDigitNo", 5},
                {"FBar_Data1Type", 1},
                {"FBar_Data2Type", 0},
                {"FBar_FBarDigitNo", 0},
                {"FBar_CD", 129},
                {"FBar_Data1", 5},
                {"FBar_Data2", 0},
                {"FBar_Data1SH", 0},
                {"FBar_Data2SH", 0},
                {"FBar_EANorITF", 1}});
    for (int k = 1; k <= 99; ++k)
        insert(c, "KVB_44", {{"Clerk_No", k}, {"Name", QStringLiteral("Clerk %1").arg(k)}, {"Status", 1}});
    for (int k = 1; k <= 9; ++k) {
        insert(c, "KVB_3F", {{"Number", k}, {"Data", QStringLiteral("Scroll message %1").arg(k)}});
        insert(c, "KVB_40",
               {{"Number", k},
                {"Group1", 1},
                {"File1", k},
                {"Scroll1", 1},
                {"Display1", 1},
                {"Speed1", 2},
                {"Group2", 0},
                {"File2", 0},
                {"Scroll2", 0},
                {"Display2", 0},
                {"Speed2", 0},
                {"Group3", 0},
                {"File3", 0},
                {"Scroll3", 0},
                {"Display3", 0},
                {"Speed3", 0}});
        insert(c, "KVB_A8", {{"Code", k}, {"Name", QStringLiteral("Tax %1").arg(k)}, {"Rate", k * 100}, {"Status", 1}});
        insert(c, "KVB_AD",
               {{"Number", k}, {"Status", 1}, {"Name", QStringLiteral("Payment %1").arg(k)}, {"Reserved", 0}});
    }
    for (const char* table : {"KVB_3A", "KVB_3B", "KVB_3C", "KVB_3D"})
        for (int k = 1; k <= 999; ++k)
            insert(c, table, {{"No", k}, {"NextNo", 0}, {"NameFirstLine", QStringLiteral("Text %1").arg(k)}});
    // Schedule dates are held as day x 10000 + month x 100 + year mod 100: 1 January and 31 December 2026.
    for (int k = 1; k <= 99; ++k) {
        insert(c, "KVB_AA",
               {{"Number", k},
                {"Disc_SDate", 10126},
                {"Disc_STime", 800},
                {"Disc_EDate", 311226},
                {"Disc_ETime", 2000},
                {"Disc_LimitType", 0},
                {"Disc_1stLim", 100},
                {"Disc_Within1stL", 10},
                {"Disc_2ndLim", 200},
                {"Disc_Within2ndL", 20},
                {"Disc_Type", 1},
                {"DisDayOfWeek", 127},
                {"NextNumber", 0}});
        insert(c, "KVB_AB",
               {{"Number", k},
                {"Price_SDate", 10126},
                {"Price_STime", 800},
                {"Price_EDate", 311226},
                {"Price_ETime", 2000},
                {"PriceDayOfWeek", 127},
                {"NewUnitPrice", 999},
                {"NextNumber", 0}});
        insert(c, "KVB_AC",
               {{"Number", k}, {"Status", 1}, {"Name", QStringLiteral("Stock key %1").arg(k)}, {"Type", 0}});
    }
    tx.commit();
}

// Marks every PLU for sending, with the values a real send carries: names for all, descriptions for half, item
// codes for two thirds, inherited bar formats for a tenth, discounts for a quarter. One transaction.
inline void markPlusForSending(db::Connection& c)
{
    db::Transaction tx(c);
    c.exec(QStringLiteral(
        "UPDATE KVB_25 SET Is_Selected = 1, Stat1_Unit = rowid % 2, Stat2_MGCode = 1, PLU_TaxNo = 1, Stat2_TaxNo = 1, "
        "PLU_Tare = rowid % 50, Stat2_PLUTare = rowid % 50 > 0, PLU_EANFlags = 21, "
        "PLU_BarFormat = CASE WHEN rowid % 10 = 0 THEN 255 ELSE rowid % 19 END, "
        "PLU_EANItemCode = CAST(rowid % 100000 AS TEXT), Stat2_ItemCode = rowid % 3 > 0, "
        "Stat2_Discount = rowid % 4 = 0, PLU_Disc_SDate = 10126, PLU_Disc_STime = 800, PLU_Disc_EDate = 311226, "
        "PLU_Disc_ETime = 2000, PLU_Disc_Type = rowid % 4 = 0, PLU_DisDayOfWeek = 127, "
        "PLU_Commodity = CAST(char(3, length(PLU_CommodityFirst)) || PLU_CommodityFirst || char(12) AS BLOB), "
        "Stat2_Commodity = 1, "
        "PLU_Description = CASE WHEN rowid % 2 = 0 THEN CAST(char(2, 33) || 'Best before the date on the label' || "
        "char(12) AS BLOB) END, "
        "Stat2_Description = rowid % 2 = 0"));
    tx.commit();
}

} // namespace quorvane::bench
