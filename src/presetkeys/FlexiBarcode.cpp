#include "presetkeys/FlexiBarcode.h"

#include "records/KvbRecords.h"
#include "settings/TextCollections.h"
#include "state/FBarState.h"
#include "state/SharedData.h"

namespace quorvane::presetkeys {

namespace {

const QString kTable = QStringLiteral("KVB_14");

QStringList numbered(int count, int first, const QString& tail)
{
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << QString::number(first + i) + tail;
    return entries;
}

QStringList numberEntries() { return numbered(9, 1, QString()); }
QStringList typeEntries() { return {QStringLiteral("0:F2"), QStringLiteral("1:F1F2"), QStringLiteral("2:")}; }
QStringList digitEntries(int count)
{
    return numbered(count, 0, QStringLiteral("  ") + gLangFlexiBarcode.text(QStringLiteral("comboDigit")));
}
QStringList itemDigitEntries() { return digitEntries(11); }
QStringList dataDigitEntries() { return digitEntries(10); }

QStringList dataTypeEntries()
{
    const QString rev = gLangFlexiBarcode.text(QStringLiteral("comboRev"));
    const QStringList kinds{gLangFlexiBarcode.text(QStringLiteral("comboWeight")),
                            gLangFlexiBarcode.text(QStringLiteral("comboQuantity")),
                            rev,
                            rev,
                            gLangFlexiBarcode.text(QStringLiteral("comboTP")),
                            rev,
                            rev,
                            gLangFlexiBarcode.text(QStringLiteral("comboMcode")),
                            gLangFlexiBarcode.text(QStringLiteral("comboRnum")),
                            gLangFlexiBarcode.text(QStringLiteral("comboCnum")),
                            gLangFlexiBarcode.text(QStringLiteral("comboPdate"))};
    QStringList entries;
    for (int code = 0; code < kinds.size(); ++code)
        entries << QString::number(code) + QLatin1Char(':') + kinds[code];
    return entries;
}

QStringList shiftEntries()
{
    const QString rs = gLangFlexiBarcode.text(QStringLiteral("comboRS"));
    const QString ls = gLangFlexiBarcode.text(QStringLiteral("comboLS"));
    return {QStringLiteral("0:") + gLangFlexiBarcode.text(QStringLiteral("comboNo")) + rs,
            QStringLiteral("1:") + rs,
            QStringLiteral("2:") + rs + QStringLiteral("x2"),
            QStringLiteral("3:") + ls,
            QStringLiteral("4:") + ls + QStringLiteral("x2"),
            QStringLiteral("5:") + ls + QStringLiteral("x3")};
}

QStringList checkDigitEntries()
{
    return {QStringLiteral("0:") + gLangFlexiBarcode.text(QStringLiteral("comboNoCheck")),
            QStringLiteral("1:") + gLangFlexiBarcode.text(QStringLiteral("comboMidCD")),
            QStringLiteral("2:") + gLangFlexiBarcode.text(QStringLiteral("comboLastCD")),
            QStringLiteral("3:") + gLangFlexiBarcode.text(QStringLiteral("comboM&LCD"))};
}

QStringList symbologyEntries() { return {QStringLiteral("0:ITF"), QStringLiteral("1:EAN")}; }

int flagDigits(int type) { return type == 0 ? 1 : type == 1 ? 2 : 0; }

// The twelve fields in table order, with the buffer's members.
struct RecField {
    const char* name;
    qint16 FBarRec::*member; // nullptr: FBar_Data1, the text
};
const RecField kRecFields[] = {
    {"FBar_No", &FBarRec::FBar_No},
    {"FBar_Type", &FBarRec::FBar_Type},
    {"FBar_ItemDigitNo", &FBarRec::FBar_ItemDigitNo},
    {"FBar_Data1Type", &FBarRec::FBar_Data1Type},
    {"FBar_Data2Type", &FBarRec::FBar_Data2Type},
    {"FBar_FBarDigitNo", &FBarRec::FBar_FBarDigitNo},
    {"FBar_CD", &FBarRec::FBar_CD},
    {"FBar_Data1", nullptr},
    {"FBar_Data2", &FBarRec::FBar_Data2},
    {"FBar_Data1SH", &FBarRec::FBar_Data1SH},
    {"FBar_Data2SH", &FBarRec::FBar_Data2SH},
    {"FBar_EANorITF", &FBarRec::FBar_EANorITF},
};

void readRow(const db::Recordset& row, FBarRec& rec)
{
    for (const RecField& f : kRecFields) {
        const qint64 value = row.intValue(QLatin1String(f.name));
        if (f.member)
            rec.*f.member = qint16(value);
        else
            rec.FBar_Data1 = QString::number(value);
    }
}

void writeRow(db::Recordset& row, const FBarRec& rec)
{
    for (const RecField& f : kRecFields)
        row.setValue(QLatin1String(f.name), f.member ? QVariant(rec.*f.member) : QVariant(rec.FBar_Data1.toInt()));
    row.setValue(QStringLiteral("KVBBinData"), records::buildKvbRecord(kTable, row));
    row.update();
}

} // namespace

const std::array<FBarList, 11> kFBarLists{{
    {"ComboType", &FBarChoices::Type, &typeEntries},
    {"ComboNo", &FBarChoices::No, &numberEntries},
    {"ComboItemDigitNo", &FBarChoices::ItemDigitNo, &itemDigitEntries},
    {"ComboData1Type", &FBarChoices::Data1Type, &dataTypeEntries},
    {"ComboData2Type", &FBarChoices::Data2Type, &dataTypeEntries},
    {"ComboData1", &FBarChoices::Data1, &dataDigitEntries},
    {"ComboData2", &FBarChoices::Data2, &dataDigitEntries},
    {"ComboData1SH", &FBarChoices::Data1SH, &shiftEntries},
    {"ComboData2SH", &FBarChoices::Data2SH, &shiftEntries},
    {"ComboCD", &FBarChoices::CD, &checkDigitEntries},
    {"ComboEANorITF", &FBarChoices::EANorITF, &symbologyEntries},
}};

FBarChoices choicesOfRecord(const FBarRec& rec)
{
    return {.No = rec.FBar_No - 1,
            .Type = rec.FBar_Type,
            .ItemDigitNo = rec.FBar_ItemDigitNo,
            .Data1Type = rec.FBar_Data1Type,
            .Data2Type = rec.FBar_Data2Type,
            .Data1 = rec.FBar_Data1.toInt(),
            .Data2 = rec.FBar_Data2,
            .Data1SH = rec.FBar_Data1SH,
            .Data2SH = rec.FBar_Data2SH,
            .CD = rec.FBar_CD & 3,
            .EANorITF = rec.FBar_EANorITF};
}

void storeChoices(const FBarChoices& c, FBarRec& rec)
{
    rec.FBar_No = qint16(c.No + 1);
    rec.FBar_Type = qint16(c.Type);
    rec.FBar_ItemDigitNo = qint16(c.ItemDigitNo);
    rec.FBar_Data1Type = qint16(c.Data1Type);
    rec.FBar_Data2Type = qint16(c.Data2Type);
    rec.FBar_Data1 = QString::number(c.Data1);
    rec.FBar_Data2 = qint16(c.Data2);
    rec.FBar_Data1SH = qint16(c.Data1SH);
    rec.FBar_Data2SH = qint16(c.Data2SH);
    rec.FBar_CD = qint16(c.EANorITF * 128 + c.CD);
    rec.FBar_EANorITF = qint16(c.EANorITF);
}

void resetFBarRec(int number)
{
    gFBarRec() = FBarRec();
    gFBarRec().FBar_No = qint16(number);
}

QString barcodePattern(const FBarChoices& c)
{
    QString s = c.Type == 0 ? QStringLiteral("F2") : c.Type == 1 ? QStringLiteral("F1F2") : QString();
    s += QString(qMax(c.ItemDigitNo, 0), QLatin1Char('C'));
    s += QString(qMax(c.Data1, 0), QLatin1Char('P'));
    s += QString(qMax(c.Data2, 0), QLatin1Char('X'));
    const QString cd = QStringLiteral("CD");
    if (c.CD == 1 || c.CD == 3)
        s.insert(qMax(s.size() - qMax(c.Data1, 0) - qMax(c.Data2, 0), qsizetype(0)), cd);
    if (c.CD == 2 || c.CD == 3)
        s += cd;
    return s;
}

int CheckBarcodeLength(const FBarChoices& c)
{
    int total = flagDigits(c.Type) + c.ItemDigitNo + c.Data1 + c.Data2;
    if (c.CD == 1 || c.CD == 2)
        total += 1;
    else if (c.CD == 3)
        total += 2;
    const bool legal = c.EANorITF == 1 ? (total == 8 || total == 13) : (total % 2 == 0 && total >= 4 && total <= 22);
    return legal ? 1 : 0;
}

int FlexiBarcodeRecords(const QString& table, int action, int number)
{
    if (table != kTable)
        return 0;
    db::Recordset rows(&gDBConnection);
    rows.open(QStringLiteral("SELECT * FROM KVB_14 WHERE FBar_No = ?"), {number});
    int found = 0;
    FBarRec& rec = gFBarRec();
    if (action == 1) {
        for (; !rows.eof(); rows.moveNext()) {
            readRow(rows, rec);
            found = 1;
        }
    } else if (action == 2) {
        db::Transaction transaction(gDBConnection);
        bool any = false;
        for (; !rows.eof(); rows.moveNext()) {
            writeRow(rows, rec);
            any = true;
        }
        if (!any) {
            rows.addNew();
            writeRow(rows, rec);
        }
        transaction.commit();
    } else if (action == 3) {
        db::Transaction transaction(gDBConnection);
        found = rows.eof() ? 0 : 1;
        gDBConnection.exec(QStringLiteral("DELETE FROM KVB_14 WHERE FBar_No = ?"), {number});
        transaction.commit();
    }
    rows.close();
    return found;
}

} // namespace quorvane::presetkeys
