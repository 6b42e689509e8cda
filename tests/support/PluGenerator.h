#pragma once

// Generated PLU rows for tests and benchmarks: every value within what the scale record carries, and every
// field whose presence flag is off at the value a new row holds, so a row survives a record round trip whole.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace quorvane::test {

// The fixed bar formats' definition texts (EAN_EDIT, formats 0 to 19) as the parameter file gives them.
inline QStringList eanEditEntries()
{
    return {
        QStringLiteral("0,0,10,EAN-13 IIIIIIIIII LL C"),  QStringLiteral("1,1,5,EAN-13 FF IIIII PPPPP C"),
        QStringLiteral("1,1,5,EAN-13 FF IIIII WWWWW C"),  QStringLiteral("1,1,4,EAN-13 FF IIII PPPPPP C"),
        QStringLiteral("1,1,4,EAN-13 FF IIII WWWWWW C"),  QStringLiteral("1,1,4,EAN-13 FF IIII c PPPPP C"),
        QStringLiteral("1,1,6,EAN-13 FF IIIIII PPPP C"),  QStringLiteral("1,0,6,EAN-13 F IIIIII PPPPP C"),
        QStringLiteral("1,0,6,EAN-13 F IIIIII WWWWW C"),  QStringLiteral("1,0,5,EAN-13 F IIIII PPPPPP C"),
        QStringLiteral("1,1,5,EAN-13 FF IIIII c PPPP C"), QStringLiteral("1,1,7,EAN-13 FF IIIIIII PPP C"),
        QStringLiteral("1,0,6,EAN-8 F IIIIII C"),         QStringLiteral("1,1,5,EAN-8 FF IIIII C"),
        QStringLiteral("0,0,7,EAN-8 IIIIIII C"),          QStringLiteral("1,1,10,EAN-13 FF IIIIIIIIII C"),
        QStringLiteral("1,1,5,ITF-14 FF IIIII WWWWWW C"), QStringLiteral("1,0,6,ITF-14 F IIIIII PPPPPP C"),
        QStringLiteral("1,1,5,EAN-13 FF IIIII QQQQQ C"),  QStringLiteral("1,0,8,EAN-13 F IIIIIIII PPP C"),
    };
}

// Store 1 with bar format 3 (4 item digits), department 97 inheriting it, main groups 997 and 12 inheriting,
// main group 44 with flexible barcode 2, and flexible barcodes 1 (8 item digits) and 2 (4 item digits).
inline QList<QPair<QString, QVariantMap>> generatorLevels()
{
    return {
        {"STORE", {{"ST_No", 1}, {"ST_Name", "Main store"}, {"barformat", 3}, {"Flag1", 2}, {"Flag2", 1}}},
        {"KVB_20", {{"ST_No", 1}, {"DP_No", 97}, {"DP_Name", "General"}, {"barformat", 255}}},
        {"KVB_23", {{"ST_No", 1}, {"MG_No", 997}, {"DP_No", 97}, {"MG_Name", "General"}, {"barformat", 255}}},
        {"KVB_23", {{"ST_No", 1}, {"MG_No", 12}, {"DP_No", 97}, {"MG_Name", "Fruit"}, {"barformat", 255}}},
        {"KVB_23", {{"ST_No", 1}, {"MG_No", 44}, {"DP_No", 97}, {"MG_Name", "Cheese"}, {"barformat", 21}}},
        {"KVB_14", {{"FBar_No", 1}, {"FBar_ItemDigitNo", 8}, {"FBar_Type", 1}, {"FBar_CD", 129}, {"FBar_EANorITF", 1}}},
        {"KVB_14", {{"FBar_No", 2}, {"FBar_ItemDigitNo", 4}, {"FBar_Type", 0}, {"FBar_CD", 3}, {"FBar_EANorITF", 0}}},
    };
}

inline const QStringList& stat1Flags()
{
    static const QStringList f{"Stat1_Unit",          "Stat1_PBPreUnit",    "Stat1_UPriceOV",
                               "Stat1_PricePriority", "Stat1_MemPriceType", "Stat1_NegativePLU"};
    return f;
}

// Each presence flag with the fields it carries.
inline const QList<QPair<QString, QStringList>>& optionalFields()
{
    static const QList<QPair<QString, QStringList>> f{
        {"Stat2_MGCode", {"PLU_MG"}},
        {"Stat2_PLUTare", {"PLU_Tare"}},
        {"Stat2_ItemCode", {"PLU_EANItemCode", "PLU_EANData", "PLU_EANLastByte"}},
        {"Stat2_TaxNo", {"PLU_TaxNo"}},
        {"Stat2_Tax2No", {"PLU_Tax2No"}},
        {"Stat2_Discount",
         {"PLU_Disc_SDate", "PLU_Disc_STime", "PLU_Disc_EDate", "PLU_Disc_ETime", "PLU_Disc_1stLim",
          "PLU_Disc_Within1stL", "PLU_Disc_2ndLim", "PLU_Disc_Within2ndL", "PLU_Disc_Type", "PLU_DisDayOfWeek"}},
        {"Stat2_SPMessageNo", {"PLU_SPMessageNo"}},
        {"Stat2_IngredientNo", {"PLU_IngredientNo"}},
        {"Stat2_DiscScheNo", {"PLU_DiscScheNo"}},
        {"Stat2_PriScheNo", {"PLU_PriScheNo"}},
        {"Stat2_CoupledPLU", {"PLU_CoupledPLUNo"}},
        {"Stat2_Commodity", {"PLU_Commodity"}},
        {"Stat2_Description", {"PLU_Description"}},
        {"Stat2_MemPrice", {"PLU_MemPrice"}},
        {"Stat2_MemDisc", {"PLU_MemDisc1", "PLU_MemDisc2", "PLU_MemDisc3", "PLU_MemDisc4"}},
        {"Stat2_PLUCost", {"PLU_Cost"}},
        {"Stat2_RSData", {"PLU_RSData"}},
    };
    return f;
}

// One line of a text block: font code, length, text, separator (0x0D when a line follows, 0x0C after the last).
inline QByteArray textLine(char font, const QByteArray& text, char separator)
{
    return QByteArray(1, font) + char(text.size()) + text + separator;
}

inline QByteArray generatedTextBlock(QRandomGenerator& gen, int maxLines, int maxLength)
{
    QByteArray block;
    const int lines = 1 + gen.bounded(maxLines);
    for (int l = 0; l < lines; ++l) {
        QByteArray t;
        for (int i = gen.bounded(maxLength + 1); i > 0; --i)
            t += char(0x20 + gen.bounded(0x5F));
        block += textLine(char(gen.bounded(8)), t, l + 1 == lines ? 0x0C : 0x0D);
    }
    return block;
}

// The first line of a generated block as the decoder derives PLU_CommodityFirst from it.
inline QString generatedFirstLine(const QByteArray& block)
{
    const QString first = QString::fromLatin1(block.mid(2, quint8(block[1])));
    return first.isEmpty() ? QStringLiteral(" ") : first;
}

// A PLU of store 1 (see generatorLevels) with random flags and values.
inline QVariantMap generatePlu(QRandomGenerator& gen, int pluNo)
{
    QVariantMap p{{"PLU_No", pluNo},
                  {"ST_No", 1},
                  {"SECT_No", 1},
                  {"PLU_MG", 997},
                  {"PLU_UPrice", gen.bounded(100000000)},
                  {"Is_Selected", gen.bounded(2)}};
    for (const QString& f : stat1Flags())
        p.insert(f, gen.bounded(2));
    const int mg = QList<int>{997, 12, 44}[gen.bounded(3)];
    p.insert("PLU_EANFlags", gen.bounded(5) == 0 ? 255 : gen.bounded(100));
    // Bar formats with their item digits: fixed ones as defined, 20 and 21 the flexible barcodes 1 and 2,
    // 22 one without a row (10), 255 inherited (4: store format 3, or flexible barcode 2 of main group 44).
    static const QList<QPair<int, int>> formats{{0, 10},  {1, 5},  {3, 4},  {6, 6},  {11, 7},  {12, 6}, {14, 7},
                                                {15, 10}, {19, 8}, {20, 8}, {21, 4}, {22, 10}, {255, 4}};
    const auto [format, digits] = formats[gen.bounded(formats.size())];
    p.insert("PLU_BarFormat", format);
    for (const auto& [flag, fields] : optionalFields()) {
        const bool on = flag == QLatin1String("Stat2_MGCode") ? mg != 997 : gen.bounded(2) == 1;
        p.insert(flag, on ? 1 : 0);
        if (!on)
            continue;
        for (const QString& f : fields)
            p.insert(f, gen.bounded(100000000));
    }
    auto set = [&](const char* flag, const char* field, const QVariant& v) {
        if (p.value(flag).toInt())
            p.insert(field, v);
    };
    set("Stat2_MGCode", "PLU_MG", mg);
    set("Stat2_PLUTare", "PLU_Tare", gen.bounded(10000));
    set("Stat2_Discount", "PLU_Disc_STime", gen.bounded(2400));
    set("Stat2_Discount", "PLU_Disc_ETime", gen.bounded(2400));
    set("Stat2_Discount", "PLU_Disc_Type", gen.bounded(7));
    set("Stat2_Discount", "PLU_DisDayOfWeek", gen.bounded(128));
    set("Stat2_TaxNo", "PLU_TaxNo", gen.bounded(100));
    set("Stat2_Tax2No", "PLU_Tax2No", gen.bounded(100));
    set("Stat2_RSData", "PLU_RSData", gen.bounded(4));
    set("Stat2_Commodity", "PLU_Commodity", generatedTextBlock(gen, 3, 40));
    set("Stat2_Description", "PLU_Description", generatedTextBlock(gen, 3, 60));
    p.remove("PLU_EANData");
    p.remove("PLU_EANLastByte");
    if (p.value("Stat2_ItemCode").toInt()) {
        // Exactly the format's item digits, as the editor's box takes them.
        QString code;
        for (int i = 0; i < digits; ++i)
            code += QChar('0' + gen.bounded(10));
        p.insert("PLU_EANItemCode", code);
    }
    p.insert("PLU_CommodityFirst",
             p.contains("PLU_Commodity") ? generatedFirstLine(p.value("PLU_Commodity").toByteArray())
                                         : QStringLiteral(" "));
    return p;
}

} // namespace quorvane::test
