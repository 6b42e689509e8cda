#include "presetkeys/KeyEditor.h"

#include "presetkeys/PresetKeyTable.h"
#include "records/PackedBcd.h"
#include "records/TextBlock.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"

namespace quorvane::presetkeys {

namespace {

constexpr qint32 Million = 1000000;
constexpr qint32 TareCode = 5 * Million;

QString& currentName(KeyEditor& e) { return e.names[e.page - 1]; }
qint32& currentCode(KeyEditor& e) { return e.keyCodes[e.page - 1]; }

} // namespace

KeyEditor LoadKeyEditor(int key)
{
    KeyEditor e;
    e.key = key;
    for (int p = 1; p <= 3; ++p) {
        const PresetKeyPage page = ReadPresetKeyPage(pageNumber(key, p, gPresetKeys().gKeyNum));
        e.keyCodes[p - 1] = page.keyCode;
        e.names[p - 1] = page.name;
    }
    e.page = 1;
    ShowKeyPage(e);
    return e;
}

QString presetKeyCaption(int key, int page)
{
    return gLangPutPreKey.text(QStringLiteral("lblPresetKey")) + QLatin1Char(' ') + QString::number(key)
        + QStringLiteral(",  ") + gLangPutPreKey.text(QStringLiteral("lblPage")) + QLatin1Char(' ')
        + QString::number(page);
}

KindCaptions kindCaptions(int kind)
{
    switch (kind) {
    case 1:
        return {gLangPutPreKey.text(QStringLiteral("lblFunctionNo")), gLangPutPreKey.text(QStringLiteral("lblFKName"))};
    case 2:
        return {gLangPutPreKey.text(QStringLiteral("lblClerkNo")), gLangPutPreKey.text(QStringLiteral("lblCKName"))};
    case 3:
        return {gLangPutPreKey.text(QStringLiteral("lblPaymentNo")), gLangPutPreKey.text(QStringLiteral("lblPYName"))};
    case 4:
        return {gLangPutPreKey.text(QStringLiteral("lblBatchReportNo")),
                gLangPutPreKey.text(QStringLiteral("lblBRName"))};
    case 5:
        return {gLangPutPreKey.text(QStringLiteral("lblPresetTare")), gLangPutPreKey.text(QStringLiteral("lblPTName"))};
    default:
        return {gLangPutPreKey.text(QStringLiteral("lblPluNo")), gLangPutPreKey.text(QStringLiteral("lblCommodity"))};
    }
}

void ShowKeyPage(KeyEditor& e)
{
    const qint32 code = currentCode(e);
    if (code < 1)
        e.txtPluNo.clear();
    else if (code <= TareCode)
        e.txtPluNo = QString::number(code % Million);
    else
        e.txtPluNo = FormatFixedDecimal(code % Million, gSettings().gWeightPoint);
    e.txtCommodity = currentName(e);
    // A code of another kind (a row no editor wrote) leaves the captions as they are.
    if (const qint32 kind = code / Million; kind >= 0 && kind <= 5)
        e.captionKind = kind;
}

void NextKeyPage(KeyEditor& e)
{
    e.page = qMin(e.page + 1, 3);
    ShowKeyPage(e);
}

void PrevKeyPage(KeyEditor& e)
{
    e.page = qMax(e.page - 1, 1);
    ShowKeyPage(e);
}

void PickBrowsedPLU(KeyEditor& e, const QString& pluNo, const QString& name)
{
    if (e.page == 0)
        return;
    e.txtPluNo = pluNo;
    e.txtCommodity = name;
    currentCode(e) = pluNo.toInt();
    currentName(e) = name;
    e.captionKind = 0;
}

void PickListEntry(KeyEditor& e, KeyList list, int position, const QString& text)
{
    if (e.page == 0 || position < 0)
        return;
    // The function keys count from 0 (the first entry is function 0), the other lists from 1.
    const int kind = int(list) + 1;
    const int number = list == KeyList::Function ? position : position + 1;
    e.txtPluNo = QString::number(number);
    e.txtCommodity = text;
    currentCode(e) = kind * Million + number;
    currentName(e) = text;
    e.captionKind = kind;
}

QString presetTareEntered(const QString& shown)
{
    QString digits = shown;
    digits.remove(decimalSign());
    return digits;
}

QString withoutLeadingZero(const QString& typed) { return withoutLeadingZeros(typed, TareForm, decimalSign()); }

QString LeavePresetTare(KeyEditor& e, const QString& text)
{
    qint32 v = 0;
    if (!ReadFixedDecimal(text, &v) || v < 0 || v >= Million)
        v = 0;
    const QString shown = FormatFixedDecimal(v, gSettings().gWeightPoint);
    if (v != 0 && e.page != 0) {
        e.txtPluNo = shown;
        e.txtCommodity = gLangPutPreKey.text(QStringLiteral("lblPresetTareKey"));
        currentCode(e) = TareCode + v;
        currentName(e) = e.txtCommodity;
        e.captionKind = 5;
    }
    return shown;
}

void LeaveKeyName(KeyEditor& e, const QString& text)
{
    e.txtCommodity = text;
    if (e.page != 0 && !e.txtPluNo.isEmpty())
        currentName(e) = text;
}

void DeleteKeyPage(KeyEditor& e)
{
    if (e.page == 0)
        return;
    currentCode(e) = 0;
    currentName(e).clear();
    e.txtPluNo.clear();
    e.txtCommodity.clear();
    e.captionKind = 0;
}

void SavePresetKey(const KeyEditor& e)
{
    db::Transaction transaction(gDBConnection);
    for (int p = 1; p <= 3; ++p)
        WritePresetKeyPage(pageNumber(e.key, p, gPresetKeys().gKeyNum), e.keyCodes[p - 1], e.names[p - 1]);
    transaction.commit();
}

QString keyNameOfBlock(const QByteArray& block)
{
    try {
        return records::textBlockFirstLine(block, true);
    } catch (const records::CodecError&) {
        return QString();
    }
}

db::Statement browsePLUs(qint32 storeNo)
{
    // A number above 999999 would read back from the key row as another kind of key.
    db::Statement query = gDBConnection.prepare(
        QStringLiteral("SELECT PLU_No, PLU_Commodity FROM KVB_25 WHERE ST_No = ? AND PLU_No BETWEEN 1 AND ? "
                       "ORDER BY PLU_No, rowid"));
    query.bind({storeNo, Million - 1});
    return query;
}

} // namespace quorvane::presetkeys
