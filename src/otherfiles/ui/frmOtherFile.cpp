#include "otherfiles/ui/frmOtherFile.h"

#include "datafiles/DataFileWriters.h"
#include "otherfiles/ui/BoundBoxes.h"
#include "platform/Error.h"
#include "platform/ui/FieldCopy.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "plu/StringEditRules.h"
#include "plu/ui/frmStringEdit.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/SettingsState.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvane {

using namespace otherfiles;
using namespace ui;

using W = frmOtherFile;

namespace {

constexpr int kRow = 420; // twips from one row to the next

// A text row `i` (0 to 3): its send box, number, next number, first line and the button of the text editor.
QList<Control> textRow(int i, const char* chk, const char* no, const char* next, const char* text, const char* cmd)
{
    const int top = 120 + i * kRow;
    const auto element = [i](const char* array) { return QByteArray(array) + '(' + QByteArray::number(i) + ')'; };
    return {
        checkBox(chk, {120, top, 2040, 315}).caption(),
        label(element("lblNo").constData(), {2280, top + 30, 600, 255}).caption("lblNo"),
        textBox(no, {2880, top, 900, 315}),
        label(element("lblNextNo").constData(), {3900, top + 30, 960, 255}).caption("lblNextNo"),
        textBox(next, {4860, top, 900, 315}),
        label(element("lblName").constData(), {5880, top + 30, 720, 255}).caption("lblName"),
        textBox(text, {6600, top, 4140, 315}),
        commandButton(cmd, {10800, top, 420, 315}),
    };
}

// Every row of the window, for the rules that name their controls (the kinds and field tables): a name the
// window lacks stops the window there.
struct OtherFileRows : Panel { };

template<class T> T* bound(const QWidget* window, const char* name)
{
    return panel<OtherFileRows>(window).control<T>(QLatin1String(name));
}

// Pickers keep the display formats set when the window opens.
const fields::Format kKeepFormats{.dateFormat = QString(), .timeFormat = QString()};

} // namespace

// The labels of both schedule frames, in their lines.
QList<Control> frmOtherFile::scheduleLabels()
{
    return {
        label("lblDiscType", {120, 330, 1920, 255}).in("Frame1").caption("MainTabTypeDisc"),
        label("lblDiscLimitType", {4020, 330, 2280, 255}).in("Frame1").caption("MainTabTypeDiscLimit"),
        label("lblStartDate", {120, 720, 1920, 255}).in("Frame1").caption("MainTabStartDate"),
        label("lblEndDate", {4020, 720, 2280, 255}).in("Frame1").caption("MainTabEndDate"),
        label("lblDiscDayOfWeek", {8280, 720, 1620, 255}).in("Frame1").caption("MainTabDiscDayOfWeek"),
        label("lblStartTime", {120, 1110, 1920, 255}).in("Frame1").caption("MainTabStartTime"),
        label("lblEndTime", {4020, 1110, 2280, 255}).in("Frame1").caption("MainTabEndTime"),
        label("lblDiscDay", {9960, 1050, 900, 255}).in("Frame1").caption("MainTabDiscDay"),
        label("lblDiscLmt1", {120, 1500, 1920, 255}).in("Frame1").caption("MainTabDiscLmt1"),
        label("lblDiscLimit1G", {3480, 1500, 420, 255}).in("Frame1").caption("MainTabDiscG").to(&W::lblDiscLimit1G),
        label("lblDiscLmt2", {4020, 1500, 2280, 255}).in("Frame1").caption("MainTabDiscLmt2"),
        label("lblDiscLimit2G", {7740, 1500, 420, 255}).in("Frame1").caption("MainTabDiscG").to(&W::lblDiscLimit2G),
        label("lblDiscLmtPer1", {120, 1890, 1920, 255}).in("Frame1").caption("MainTabDiscAmt1").to(&W::lblDiscLmtPer1),
        label("lblDiscLmtPerSym1", {3480, 1890, 420, 255})
            .in("Frame1")
            .caption("MainTabDiscPer")
            .to(&W::lblDiscLmtPerSym1),
        label("lblDiscLmtPer2", {4020, 1890, 2280, 255}).in("Frame1").caption("MainTabDiscAmt2"),
        label("lblDiscLmtPerSym2", {7740, 1890, 420, 255})
            .in("Frame1")
            .caption("MainTabDiscPer")
            .to(&W::lblDiscLmtPerSym2),
        label("lblStartDatePrice", {120, 330, 1920, 255}).in("Frame2").caption("MainTabStartDate"),
        label("lblEndDatePrice", {4020, 330, 2280, 255}).in("Frame2").caption("MainTabEndDate"),
        label("lblStartTimePrice", {120, 720, 1920, 255}).in("Frame2").caption("MainTabStartTime"),
        label("lblEndTimePrice", {4020, 720, 2280, 255}).in("Frame2").caption("MainTabEndTime"),
        label("lblPriceDay", {9960, 1050, 900, 255}).in("Frame2").caption("MainTabDiscDay"),
    };
}

// The four text rows, clerks, taxes, stock keys and payment keys (these two on two lines), the discount schedule
// over its frame, the price schedule over its frame, and the commands at the bottom.
QList<Control> frmOtherFile::windowControls()
{
    return panelRows<OtherFileRows>(textRow(0, "chkIng", "txtIngNo", "txtIngNextNo", "txtIngredient", "cmdIng")
        + textRow(1, "chkSmsg", "txtSMsgNo", "txtSMsgNextNo", "txtSMsg", "cmdSMsg")
        + textRow(2, "chkAdv", "txtAdvNo", "txtAdvNextNo", "txtAdv", "cmdAdv")
        + textRow(3, "chkSname", "txtSNameNo", "txtSNameNextNo", "txtSName", "cmdSName")
        + QList<Control>{
            label("Line1", {120, 1830, 11160, 15}).to(&W::Line1),
            checkBox("chkClerk", {120, 1920, 2040, 315}).caption("chkclerk"),
            label("lblNo(4)", {2280, 1950, 600, 255}).caption("lblNo"),
            comboBox("combClerkNo", {2880, 1920, 900, 315}),
            label("lblName(4)", {5880, 1950, 720, 255}).caption("lblName"),
            textBox("txtClerkName", {6600, 1920, 4140, 315}),
            checkBox("chkTax", {120, 2340, 2040, 315}).caption(),
            label("lblNo(5)", {2280, 2370, 600, 255}).caption("lblNo"),
            comboBox("combTaxNo", {2880, 2340, 900, 315}),
            label("lblRate", {3900, 2370, 960, 255}).caption(),
            maskedEdit("meditTaxRate", {4860, 2340, 900, 315}),
            label("lblName(5)", {5880, 2370, 720, 255}).caption("lblName"),
            textBox("txtTaxName", {6600, 2340, 1200, 315}),
            comboBox("combTaxType", {7920, 2340, 2820, 315}).to(&W::combTaxType),
            checkBox("chkStockFNKey", {120, 2760, 2040, 315}).caption(),
            label("lblNo(6)", {2280, 2790, 600, 255}).caption("lblNo"),
            comboBox("combStockNo", {2880, 2760, 900, 315}),
            comboBox("combStockType", {3900, 2760, 1860, 315}).to(&W::combStockType),
            label("lblName(6)", {5880, 2790, 720, 255}).caption("lblName"),
            textBox("txtStockName", {6600, 2760, 4140, 315}),
            checkBox("chkPrefix", {2280, 3180, 1560, 315}).caption(),
            checkBox("chkCostPrint", {3900, 3180, 1560, 315}).caption(),
            checkBox("chkShopNameNo", {5520, 3180, 1680, 315}).caption(),
            label("lblPLUType", {7260, 3210, 960, 255}).caption(),
            comboBox("combPLUType", {8220, 3180, 2520, 315}).to(&W::combPLUType),
            checkBox("chkPaymentKey", {120, 3600, 2040, 315}).caption(),
            label("lblNo(7)", {2280, 3630, 600, 255}).caption("lblNo"),
            comboBox("combPaymentNo", {2880, 3600, 900, 315}),
            label("lblName(7)", {5880, 3630, 720, 255}).caption("lblName"),
            textBox("txtPaymentName", {6600, 3600, 1200, 315}),
            checkBox("chkPayTotal", {2280, 4020, 1560, 315}).caption(),
            checkBox("chkChange", {3900, 4020, 1560, 315}).caption(),
            checkBox("chkRounding", {5520, 4020, 1560, 315}).caption(),
            checkBox("chkCardReader", {7140, 4020, 1800, 315}).caption(),
            label("Line2", {120, 4440, 11160, 15}).to(&W::Line2),
            checkBox("chkDiscSch", {120, 4560, 2040, 315}).caption(),
            label("lblNo(8)", {2280, 4590, 600, 255}).caption("lblNo"),
            textBox("txtDiscScheNo", {2880, 4560, 900, 315}),
            label("lblNextNo(4)", {3900, 4590, 960, 255}).caption("lblNextNo"),
            textBox("txtDiscScheNextNo", {4860, 4560, 900, 315}),
            frame("Frame1", {120, 4920, 11160, 2280}),
            comboBox("combDiscType", {2100, 300, 1860, 315})
                .in("Frame1")
                .on(&W::combDiscType_Click)
                .to(&W::combDiscType),
            comboBox("combDiscLimitType", {6360, 300, 1320, 315})
                .in("Frame1")
                .on(&W::combDiscLimitType_Click)
                .to(&W::combDiscLimitType),
            datePicker("DTPickerStartDate", {2100, 690, 1320, 315}).in("Frame1").to(&W::DTPickerStartDate),
            datePicker("DTPickerEndDate", {6360, 690, 1320, 315}).in("Frame1").to(&W::DTPickerEndDate),
            maskedEdit("meditDiscDayOfWeek", {9960, 690, 900, 315}).in("Frame1").to(&W::meditDiscDayOfWeek),
            timePicker("DTPickerStartTime", {2100, 1080, 1320, 315}).in("Frame1").to(&W::DTPickerStartTime),
            timePicker("DTPickerEndTime", {6360, 1080, 1320, 315}).in("Frame1").to(&W::DTPickerEndTime),
            maskedEdit("meditDiscLimit1", {2100, 1470, 1320, 315}).in("Frame1").to(&W::meditDiscLimit1),
            maskedEdit("meditDiscLimit2", {6360, 1470, 1320, 315}).in("Frame1").to(&W::meditDiscLimit2),
            maskedEdit("meditDiscLmtPer1", {2100, 1860, 1320, 315}).in("Frame1").to(&W::meditDiscLmtPer1),
            maskedEdit("meditDiscLmtPer2", {6360, 1860, 1320, 315}).in("Frame1").to(&W::meditDiscLmtPer2),
            checkBox("chkPriceSch", {120, 7320, 2040, 315}).caption(),
            label("lblNo(9)", {2280, 7350, 600, 255}).caption("lblNo"),
            textBox("txtPriceScheNo", {2880, 7320, 900, 315}),
            label("lblNextNo(5)", {3900, 7350, 960, 255}).caption("lblNextNo"),
            textBox("txtPriceScheNextNo", {4860, 7320, 900, 315}),
            frame("Frame2", {120, 7680, 11160, 1500}),
            datePicker("DTPickerStartDatePrice", {2100, 300, 1320, 315}).in("Frame2"),
            datePicker("DTPickerEndDatePrice", {6360, 300, 1320, 315}).in("Frame2"),
            timePicker("DTPickerStartTimePrice", {2100, 690, 1320, 315}).in("Frame2"),
            timePicker("DTPickerEndTimePrice", {6360, 690, 1320, 315}).in("Frame2"),
            label("lblPriceDayOfWeek", {8280, 720, 1620, 255}).in("Frame2").caption(),
            maskedEdit("meditPriceDayOfWeek", {9960, 690, 900, 315}).in("Frame2"),
            label("lblNewUPrice", {120, 1110, 1920, 255}).in("Frame2").caption(),
            maskedEdit("meditNewUPrice", {2100, 1080, 1320, 315}).in("Frame2"),
            label("lblNewPriceUnit", {3480, 1110, 420, 255}).in("Frame2").to(&W::lblNewPriceUnit),
            commandButton("cmdDTTM", {120, 9360, 2640, 420}).caption().on(&W::cmdDTTM_Click),
            commandButton("cmdSend", {7080, 9360, 1980, 420}).caption().on(&W::cmdSend_Click),
            commandButton("cmdClose", {9240, 9360, 1980, 420}).caption().on(&W::cmdClose_Click),
        }
        + uncaptioned(scheduleLabels()));
}

const ControlTable frmOtherFile::kControls{
    .section = "frm_OtherFiles",
    .title = nullptr, // the menu entry that opens the window gives its title
    .size = {11400, 9960},
    .controls = windowControls(),
};

const ControlTable frmOtherFile::kScheduleLabels{
    .section = "frmMain_sstab",
    .size = QSize(), // never a window of its own
    .controls = scheduleLabels(),
};

frmOtherFile::frmOtherFile()
{
    setObjectName(QStringLiteral("frmOtherFile"));
    createControls(this, kControls);
    bindKinds();
    Form_Load();
}

// Each kind's controls by the names the kinds and field tables give, once.
void frmOtherFile::bindKinds()
{
    for (const OtherFileKind& kind : otherFileKinds()) {
        KindControls k;
        k.kind = &kind;
        if (kind.numberIsList())
            k.numberList = bound<QComboBox>(this, kind.numberControl);
        else
            k.numberBox = bound<QLineEdit>(this, kind.numberControl);
        k.sendBox = bound<QCheckBox>(this, kind.sendBox);
        if (kind.nextNumberBox)
            k.nextBox = bound<QLineEdit>(this, kind.nextNumberBox);
        if (kind.isText()) {
            k.textButton = bound<QPushButton>(this, kind.textButton);
            k.textBox = bound<QLineEdit>(this, kind.textBox);
        }
        if (kind.frame)
            k.frame = bound<QGroupBox>(this, kind.frame);
        for (const FieldBinding* b : bindingsOf(kind))
            k.fields.append({b, bound<QWidget>(this, b->control)});
        m_kinds.push_back(k);
    }
}

void frmOtherFile::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangOtherFiles);
    setCaptions(this, kScheduleLabels, gLangMainTab);
    for (QLabel* line : {Line1, Line2})
        line->setFrameShape(QFrame::HLine);
    lblNewPriceUnit->setText(gSettings().gCurrencySymbol);
    combTaxType->addItems({gLangOtherFiles.text(QStringLiteral("combTaxInclude")),
                           gLangOtherFiles.text(QStringLiteral("combTaxExclude"))});
    combStockType->addItems({gLangOtherFiles.text(QStringLiteral("combStockWeight")),
                             gLangOtherFiles.text(QStringLiteral("combStockQuantity")),
                             gLangOtherFiles.text(QStringLiteral("combStockMWeight"))});
    combPLUType->addItems({gLangOtherFiles.text(QStringLiteral("combPLUAll")),
                           gLangOtherFiles.text(QStringLiteral("combPLUWeighed")),
                           gLangOtherFiles.text(QStringLiteral("combPLUNweighed"))});
    combDiscType->addItems({gParDiscount.text(QStringLiteral("D0")), gParDiscount.text(QStringLiteral("D1")),
                            gParDiscount.text(QStringLiteral("D2")), gParDiscount.text(QStringLiteral("D3")),
                            gParDiscount.text(QStringLiteral("D4")), gParDiscount.text(QStringLiteral("D5")),
                            gParDiscount.text(QStringLiteral("D6"))});
    combDiscLimitType->addItems(
        {gParSSTabSymbol.text(QStringLiteral("Wg")), gParSSTabSymbol.text(QStringLiteral("Wpcs"))});
    for (QComboBox* list : {combTaxType, combStockType, combPLUType, combDiscType, combDiscLimitType})
        list->setCurrentIndex(0);

    const int dateType = gSettings().gDateType;
    for (const KindControls& k : std::as_const(m_kinds))
        for (const auto& [binding, widget] : k.fields) {
            auto* picker = qobject_cast<QDateTimeEdit*>(widget);
            if (!picker)
                continue;
            if (binding->kind == fields::Kind::Time) {
                picker->setDisplayFormat(QStringLiteral("HH:mm"));
                continue;
            }
            // A date order outside the six leaves the format as it is; the stored year is the year mod 100.
            if (dateType >= 0 && dateType <= 5)
                picker->setDisplayFormat(dateFormatFor(dateType));
            picker->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
            picker->setDate(otherFilesNow().date());
        }
    for (KindControls& k : m_kinds)
        connectKind(k);
    // Number 1 of every kind, the schedules last: their display needs the lists and formats above.
    for (KindControls& k : m_kinds) {
        if (k.numberList)
            setListIndex(k.numberList, 0);
        else
            setText(k.numberBox, QStringLiteral("1"));
    }
}

// A kind's number shows its record, its send box marks its rows, its text button opens the text editor, and its
// fields save it as they are left.
void frmOtherFile::connectKind(KindControls& k)
{
    if (k.numberList) {
        QStringList numbers;
        for (int n = 1; n <= k.kind->listNumbers; ++n)
            numbers << QString::number(n);
        k.numberList->addItems(numbers);
        onChange(k.numberList, [this, &k] { display(k); });
    } else {
        limitEdit(k.numberBox, EditLimit().digits().chars(6).leadingZero(ChangeForm::WholeNumber));
        onChange(k.numberBox, [this, &k] {
            showTyped(k.numberBox, numberTyped(k.numberBox->text()));
            display(k);
        });
        onEnter(k.numberBox, [&k] { k.numberBox->selectAll(); });
    }
    onChange(k.sendBox, [this, &k] {
        const bool ticked = k.sendBox->isChecked();
        bool passing = true;
        if (!tryStep([&] { passing = markForSending(*k.kind, ticked); }, langMsg(QStringLiteral("dbWriteErr")), this))
            k.sendBox->setChecked(!ticked); // the marks stay as they were, and so does the box
        else if (!passing)
            setChecked(k.sendBox, false); // nothing to send: cleared, which unmarks the table again
    });
    if (k.textButton) {
        k.textButton->setText(QStringLiteral("S"));
        onChange(k.textButton, [this, &k] { editText(k); });
    }
    for (const auto& [binding, widget] : std::as_const(k.fields))
        connectField(k, *binding, widget);
}

// One bound control: a box takes its limit, its typing rule and its entering form; every control saves its kind
// when it is left, after its leave rule.
void frmOtherFile::connectField(KindControls& k, const FieldBinding& b, QWidget* widget)
{
    const auto left = [this, &k, binding = &b] { save(k, binding); };
    auto* box = qobject_cast<QLineEdit*>(widget);
    if (!box) {
        onLeave(widget, left);
        return;
    }
    if (!isTyped(b)) {
        box->setReadOnly(true); // the first line of a text, edited in the text editor
        return;
    }
    connectBoundBox(box, b, left);
    if (b.kind == fields::Kind::Amount)
        onEnter(box, [this, box, &b] { enterAmountBox(box, b, combDiscType->currentIndex()); });
    else
        onEnter(box, [box] { box->selectAll(); });
}

std::optional<qint64> frmOtherFile::shownNumber(const KindControls& k) const
{
    if (k.numberList)
        return k.numberList->currentIndex() + 1;
    const QString text = k.numberBox->text();
    return text.isEmpty() ? std::nullopt : std::optional<qint64>(text.toLongLong());
}

// The record of the kind's number, or its defaults. Without a number, or when it cannot be read, the kind's
// fields are disabled, so nothing is saved under a number not shown.
void frmOtherFile::display(KindControls& k)
{
    const std::optional<qint64> number = shownNumber(k);
    ShownRecord shown;
    k.shown = number
        && tryStep([&] { shown = showRecord(*k.kind, *number); }, langMsg(QStringLiteral("dbReadErr")), this);
    for (const auto& [binding, widget] : std::as_const(k.fields))
        widget->setEnabled(k.shown);
    for (QWidget* w :
         {static_cast<QWidget*>(k.nextBox), static_cast<QWidget*>(k.textButton), static_cast<QWidget*>(k.frame)})
        if (w)
            w->setEnabled(k.shown);
    if (k.kind->isText())
        stringEditBuffer(k.kind->textMode).bytes = shown.text;
    if (!k.shown) {
        if (k.textBox)
            setText(k.textBox, QString());
        return;
    }
    for (const auto& [binding, widget] : std::as_const(k.fields))
        if (const QVariant value = shown.values.value(QLatin1String(binding->control)); value.isValid())
            showField(widget, value, kKeepFormats);
    if (k.frame && k.frame->isAncestorOf(combDiscType)) {
        combDiscType_Click();
        combDiscLimitType_Click();
    }
}

QVariantMap frmOtherFile::shownValues(const KindControls& k) const
{
    QVariantMap values;
    for (const auto& [binding, widget] : k.fields)
        values.insert(QLatin1String(binding->control), fieldShown(widget));
    values.insert(QLatin1String(k.kind->sendBox), k.sendBox->isChecked());
    return values;
}

// Saves the kind from what the window shows, after the leave rule of the control left; a builder's answer that
// no row is left to send clears the send box.
void frmOtherFile::save(KindControls& k, const FieldBinding* left)
{
    const std::optional<qint64> number = shownNumber(k);
    if (!k.shown || !number)
        return;
    ShownRecord shown;
    shown.values = shownValues(k);
    if (k.kind->isText())
        shown.text = stringEditBuffer(k.kind->textMode).bytes;
    bool untick = false;
    tryStep(
        [&] {
            const QVariantMap before = shown.values;
            leaveField(*left, *number, shown.values);
            for (const auto& [binding, widget] : std::as_const(k.fields)) {
                const QString name = QLatin1String(binding->control);
                if (shown.values.value(name) != before.value(name))
                    showField(widget, shown.values.value(name), kKeepFormats);
            }
            untick = saveShown(*k.kind, *number, k.nextBox ? digitsValue(k.nextBox->text()) : 0, shown);
        },
        langMsg(QStringLiteral("dbWriteErr")), this);
    if (untick)
        setChecked(k.sendBox, false);
}

// The text editor on the text shown. Its OK saves the text with the shown numbers before it writes the buffer and
// the first-line box; a save that fails keeps the editor open and the next-number box as it was.
void frmOtherFile::editText(KindControls& k)
{
    StringEdit(this, k.kind->textMode, k.textBox, [this, &k](const QByteArray& bytes, const QString& firstLine) {
        const std::optional<qint64> number = shownNumber(k);
        if (!number || !k.shown)
            throw Error(QStringLiteral("No text number is shown."));
        ShownRecord shown;
        shown.text = bytes;
        shown.values = {{QLatin1String(k.kind->textBox), firstLine},
                        {QLatin1String(k.kind->sendBox), k.sendBox->isChecked()}};
        const bool untick = saveShown(*k.kind, *number, digitsValue(k.nextBox->text()), shown);
        if (k.nextBox->text().isEmpty())
            setText(k.nextBox, QStringLiteral("0"));
        if (untick)
            setChecked(k.sendBox, false);
    });
}

// The discount type opens its fields, captions the first amount and shows both amounts in its decimals.
void frmOtherFile::combDiscType_Click()
{
    const int type = combDiscType->currentIndex();
    const DiscountTypeControls open = discountTypeControls(type);
    lblDiscLmtPer1->setText(open.fixedPrice ? gLangMainTab.text(QStringLiteral("MainTabDiscFixPrice"))
                                            : gLangMainTab.text(QStringLiteral("MainTabDiscAmt1")));
    lblDiscLmtPerSym1->setVisible(open.percent);
    lblDiscLmtPerSym2->setVisible(open.percent);
    meditDiscDayOfWeek->setEnabled(open.meditDiscDayOfWeek);
    meditDiscLimit1->setEnabled(open.meditDiscLimit1);
    meditDiscLmtPer1->setEnabled(open.meditDiscLmtPer1);
    meditDiscLimit2->setEnabled(open.meditDiscLimit2);
    meditDiscLmtPer2->setEnabled(open.meditDiscLmtPer2);
    for (QDateTimeEdit* picker : {DTPickerStartDate, DTPickerEndDate, DTPickerStartTime, DTPickerEndTime})
        picker->setEnabled(open.pickers);
    tryStep([&] {
        for (QLineEdit* amount : {meditDiscLmtPer1, meditDiscLmtPer2})
            setText(amount, discAmountText(amount->text(), type));
    });
}

// The limit type gives both limits their unit and decimals.
void frmOtherFile::combDiscLimitType_Click()
{
    const int type = combDiscLimitType->currentIndex();
    const QString unit = limitsAreWeights(type) ? gParSSTabSymbol.text(QStringLiteral("Wg"))
                                                : gParSSTabSymbol.text(QStringLiteral("Wpcs"));
    lblDiscLimit1G->setText(unit);
    lblDiscLimit2G->setText(unit);
    tryStep([&] {
        for (QLineEdit* limit : {meditDiscLimit1, meditDiscLimit2})
            setText(limit, discLimitText(limit->text(), type));
    });
}

void frmOtherFile::cmdSend_Click()
{
    commitFocusedField(this);
    QStringList ticked;
    for (const KindControls& k : std::as_const(m_kinds))
        if (k.sendBox->isChecked())
            ticked << QLatin1String(k.kind->sendBox);
    tryStep([&] { requestTransfer(this, {.mode = TransferSend, .files = filesToSend(ticked)}); });
}

void frmOtherFile::cmdDTTM_Click()
{
    commitFocusedField(this);
    // A send whose record cannot be saved opens no transfer window.
    if (tryStep([] { saveDateTimeToSend(); }, langMsg(QStringLiteral("dbWriteErr")), this))
        tryStep([&] { requestTransfer(this, {.mode = TransferSend, .files = {datafiles::dataFileOf("KVB_4E")}}); });
}

void frmOtherFile::cmdClose_Click() { close(); }

void frmOtherFile::closeEvent(QCloseEvent* event)
{
    // Closed while the exit runs (a logout closes every window), the edit only this closing would save is not
    // saved, as No leaves it: the database is being dumped or is closed.
    if (!windows().exiting())
        commitFocusedField(this);
    QWidget::closeEvent(event);
}

} // namespace quorvane
