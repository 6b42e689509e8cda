#include "support/ChildProcess.h"
#include "support/CodecTestDb.h"
#include "support/DataRows.h"
#include "support/FieldValues.h"
#include "support/TextLines.h"
#include "support/TransferFixture.h"

#include "datafiles/PluDataFile.h"
#include "datafiles/ReceivedPluLoader.h"
#include "records/PackedBcd.h"
#include "records/PluLayout.h"
#include "records/PluRecord.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;

namespace {

// The PLU every row starts from, carrying no optional field, and its line in the data file.
const QString kDefault =
    "PLU_No=9;Stat1_Unit=1;Stat1_UPriceOV=1;PLU_UPrice=12345;Stat1_MemPriceType=1;Stat1_NegativePLU=1;PLU_BarFormat=4";
const QByteArray kDefaultLine =
    "9,,1,0,1,0,12345,0000000000000,4,0,0,0,0,0,000000,0000,000000,0000,0,0,0,0,0,0,0,0,0,0,"
    "0,0,,0,0,0,0,0,,0,,1,0,0,0,0,0,0,0,1,0";

// Optional fields over the default PLU: the record's bytes after its fixed part, the columns of its data-file line
// that differ from the default's, and, where the data file does not carry the fields whole, what the loader takes
// back of the line (the decoder takes back `fields`).
struct LayoutRow {
    QString name;
    QString fields{};
    QByteArray record{};
    QString columns{};
    QString fetched{};
};

// In record order: one row per Stat2_ flag.
const QList<LayoutRow>& layoutRows()
{
    // clang-format off
    static const QList<LayoutRow> rows{
        {.name = "item code", .fields = "Stat2_ItemCode=1;PLU_EANItemCode=1234;PLU_EANLastByte=56", .record = "001234000056", .columns = "7=0000123400005", .fetched = "PLU_EANLastByte=50"},
        {.name = "main group", .fields = "Stat2_MGCode=1;PLU_MG=12", .record = "0012", .columns = "9=12"},
        {.name = "tare", .fields = "Stat2_PLUTare=1;PLU_Tare=150", .record = "0150", .columns = "10=150"},
        {.name = "coupled PLU", .fields = "Stat2_CoupledPLU=1;PLU_CoupledPLUNo=3", .record = "00000003", .columns = "11=3"},
        {.name = "tax", .fields = "Stat2_TaxNo=1;PLU_TaxNo=4", .record = "04", .columns = "12=4"},
        {.name = "second tax", .fields = "Stat2_Tax2No=1;PLU_Tax2No=5", .record = "05", .columns = "13=5"},
        {.name = "discount", .fields = "Stat2_Discount=1;PLU_Disc_SDate=50307;PLU_Disc_STime=930;PLU_Disc_EDate=311299;PLU_Disc_ETime=2359;PLU_Disc_1stLim=10;PLU_Disc_Within1stL=5;PLU_Disc_2ndLim=20;PLU_Disc_Within2ndL=8;PLU_Disc_Type=2;PLU_DisDayOfWeek=67", .record = "00050307 0930 00311299 2359 00000010 00000005 00000020 00000008 02 43", .columns = "14=070305;15=930;16=991231;17=2359;18=10;19=5;20=20;21=8;22=2;23=1;28=1;29=1"},
        {.name = "member price", .fields = "Stat2_MemPrice=1;PLU_MemPrice=900", .record = "00000900", .columns = "", .fetched = "Stat2_MemPrice=0;PLU_MemPrice=0"},
        {.name = "special message", .fields = "Stat2_SPMessageNo=1;PLU_SPMessageNo=6", .record = "00000006", .columns = "31=6"},
        {.name = "ingredient", .fields = "Stat2_IngredientNo=1;PLU_IngredientNo=7", .record = "00000007", .columns = "32=7"},
        {.name = "discount schedule", .fields = "Stat2_DiscScheNo=1;PLU_DiscScheNo=8", .record = "00000008", .columns = "33=8"},
        {.name = "price schedule", .fields = "Stat2_PriScheNo=1;PLU_PriScheNo=99", .record = "00000099", .columns = "34=99"},
        {.name = "name of two lines, the first with a comma", .fields = "Stat2_Commodity=1;PLU_Commodity=3:A,B|1:RED", .record = "03 03 412C42 0D 01 03 524544 0C", .columns = "35=3;36=\"A,B\"", .fetched = "PLU_Commodity=3:A,B;PLU_CommodityFirst=A,B"},
        {.name = "description with two commas", .fields = "Stat2_Description=1;PLU_Description=2:x,y,z", .record = "02 05 782C792C7A 0C", .columns = "37=2;38=\"x,y,z\""},
        {.name = "member discounts", .fields = "Stat2_MemDisc=1;PLU_MemDisc1=1;PLU_MemDisc2=2;PLU_MemDisc3=3;PLU_MemDisc4=4", .record = "00000001 00000002 00000003 00000004", .columns = "40=1;41=2;42=3;43=4"},
        {.name = "cost", .fields = "Stat2_PLUCost=1;PLU_Cost=500", .record = "00000500", .columns = "44=500", .fetched = "Stat2_PLUCost=0;PLU_Cost=0"},
        {.name = "RS data", .fields = "Stat2_RSData=1;PLU_RSData=2", .record = "02", .columns = "48=2", .fetched = "Stat2_RSData=0;PLU_RSData=0"},
    };
    // clang-format on
    return rows;
}

// All rows at once: their records one after the other, the texts' commas shifting the columns after them.
LayoutRow everyField()
{
    LayoutRow every{.name = "every field"};
    for (const LayoutRow& r : layoutRows()) {
        every.fields += r.fields + ';';
        every.record += r.record;
        every.columns += r.columns + ';';
        every.fetched += r.fetched + ';';
    }
    return every;
}

// The values a spec names, typed as a row holds them: a text block from its lines ("3:A,B|1:RED"), a number, a text.
QVariantMap typedValues(const QString& spec)
{
    QVariantMap values = test::fieldValues(spec);
    for (auto it = values.begin(); it != values.end(); ++it) {
        bool number = false;
        const qlonglong n = it.value().toLongLong(&number);
        if (it.key() == "PLU_Commodity" || it.key() == "PLU_Description")
            it.value() = BuildTextBytes(test::textLinesOf(it.value().toString()));
        else if (number && it.key() != "PLU_EANItemCode")
            it.value() = n;
    }
    return values;
}

PluRow pluRow(const QVariantMap& values)
{
    PluRow row;
    for (auto it = values.begin(); it != values.end(); ++it)
        row.load(*plu::fieldNamed(it.key()), it.value());
    return row;
}

// The first field whose value `got` gives otherwise than `expected`; empty when none.
QString mismatch(const QVariantMap& expected, const std::function<QVariant(const QString&)>& got)
{
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QVariant v = got(it.key());
        if (it.value().typeId() == QMetaType::QByteArray ? v.toByteArray() != it.value().toByteArray()
                                                         : v.toString() != it.value().toString())
            return QStringLiteral("%1 is %2, not %3").arg(it.key(), v.toString(), it.value().toString());
    }
    return QString();
}

QByteArray lineWith(const QString& columns)
{
    QList<QByteArray> pieces = kDefaultLine.split(',');
    for (const auto& [column, text] : test::pairs(columns))
        pieces[column.toInt()] = text.toLatin1();
    return pieces.join(',');
}

// A table fault and the start of the message the check stops on.
struct FaultRow {
    const char* name;
    void (*change)(std::span<PluPart> parts);
    const char* stops;
    int count = kPluPartCount;
};

} // namespace

Q_DECLARE_METATYPE(LayoutRow)
Q_DECLARE_METATYPE(FaultRow)

class TestPluLayout : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    // Through the encoder, the decoder, the data-file writer and the received-PLU loader.
    void fields_data()
    {
        QTest::addColumn<LayoutRow>("row");
        for (const LayoutRow& r : layoutRows() + QList<LayoutRow>{everyField()})
            QTest::newRow(qPrintable(r.name)) << r;
    }
    void fields()
    {
        QFETCH(LayoutRow, row);
        const QVariantMap values = typedValues(kDefault + ';' + row.fields);
        PluRow plu = pluRow(values);
        const QByteArray rec = encodePluRecord(plu, false);
        QCOMPARE(rec.mid(kPluFixedSize), test::hex(row.record.constData()));

        PluRow decoded;
        decoded.load(plu::KVBBinData, rec);
        QCOMPARE(decodePluRecord(decoded).outcome, PluDecodeResult::Decoded);
        QCOMPARE(mismatch(values, [&](const QString& f) { return decoded.value(*plu::fieldNamed(f)); }), QString());

        const QByteArray line = datafiles::PluDataLine(plu, {});
        QCOMPARE(line, lineWith(row.columns));
        QVERIFY(m_folder->writeTempFile("PLU0UALL.csv", line + "\r\n"));
        QCOMPARE(datafiles::ImportUploadPLU().count, 0);
        const QVariantMap fetched = test::rowValues("RC_25", test::rowIds("RC_25").value(0));
        QVariantMap expected = values;
        expected.insert(typedValues(row.fetched));
        QCOMPARE(mismatch(expected, [&](const QString& f) { return fetched.value(f); }), QString());
    }

    void everyFieldCutOrWithoutItsFlag()
    {
        const LayoutRow every = everyField();
        PluRow plu = pluRow(typedValues(kDefault + ';' + every.fields));
        const QByteArray whole = encodePluRecord(plu, false);
        for (int length = kPluFixedSize; length < whole.size(); ++length) {
            QByteArray cut = whole.left(length);
            ReverseCopy(cut, 4, quint32(length), 2);
            PluRow row;
            row.load(plu::KVBBinData, cut);
            QCOMPARE(decodePluRecord(row).outcome, PluDecodeResult::Failed);
            QCOMPARE(row.number(plu::Is_Selected), 1);
        }

        // Values whose flags are off travel in neither.
        for (const PluPart& part : kPluParts)
            plu.setNumber(part.flag, 0);
        QCOMPARE(encodePluRecord(plu, false).size(), kPluFixedSize);
        QCOMPARE(datafiles::PluDataLine(plu, {}), kDefaultLine);
    }

    void tableFaults_data()
    {
        // clang-format off
        test::addDataRows<FaultRow>({
            {.name = "the table as it is", .change = [](std::span<PluPart>) {}, .stops = ""},
            {.name = "a width its wire has not", .change = [](std::span<PluPart> t) { t[2].width = 5; }, .stops = "PLU layout row 3 (PLU_Tare): its width"},
            {.name = "a flag's rows apart", .change = [](std::span<PluPart> t) { std::swap(t[25], t[27]); }, .stops = "PLU layout row 27 (PLU_MemDisc4): its flag"},
            {.name = "a text sharing its flag", .change = [](std::span<PluPart> t) { t[22].flag = plu::Stat2_Commodity; }, .stops = "PLU layout row 22 (PLU_Commodity): its flag carries"},
            {.name = "columns out of order", .change = [](std::span<PluPart> t) { t[3].column = 10; }, .stops = "PLU layout row 4 (PLU_CoupledPLUNo): its data-file column"},
            {.name = "a form its wire has not", .change = [](std::span<PluPart> t) { t[21].form = PluColumn::Number; }, .stops = "PLU layout row 22 (PLU_Commodity): its data-file form"},
            {.name = "a flag without a row", .change = [](std::span<PluPart>) {}, .stops = "PLU layout: no row carries Stat2_RSData", .count = kPluPartCount - 1},
        });
        // clang-format on
    }
    void tableFaults()
    {
        QFETCH(FaultRow, row);
        std::array<PluPart, kPluPartCount> parts;
        std::copy(std::begin(kPluParts), std::end(kPluParts), parts.begin());
        row.change(parts);
        const auto message = test::fatalMessage([&] { checkPluLayout(std::span(parts).first(row.count)); });
        QCOMPARE(message.value_or("no stop").left(qstrlen(row.stops)), QString(row.stops));
    }
};

QTEST_GUILESS_MAIN(TestPluLayout)
#include "tst_plulayout.moc"
