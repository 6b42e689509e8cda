#include "otherfiles/ui/frmOtherFile.h"

#include "otherfiles/OtherFileKinds.h"
#include "otherfiles/ui/BoundBoxes.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>

namespace quorvane {

using namespace otherfiles;
using namespace ui;

using W = frmOtherFile;

namespace {

// Row tops, twips.
constexpr int kRow = 420;

// A text row: send box, number, next number, first line and the button that opens the text editor (connected
// with the editor).
#define TEXT_ROW(i, chk, no, next, text, cmd)                                                                          \
    checkBox(chk, {120, 120 + i * kRow, 2040, 315}).caption(),                                                         \
        label("lblNo(" #i ")", {2280, 150 + i * kRow, 600, 255}).caption("lblNo"),                                     \
        textBox(no, {2880, 120 + i * kRow, 900, 315}),                                                                 \
        label("lblNextNo(" #i ")", {3900, 150 + i * kRow, 960, 255}).caption("lblNextNo"),                             \
        textBox(next, {4860, 120 + i * kRow, 900, 315}),                                                               \
        label("lblName(" #i ")", {5880, 150 + i * kRow, 720, 255}).caption("lblName"),                                 \
        textBox(text, {6600, 120 + i * kRow, 3540, 315}), commandButton(cmd, {10200, 120 + i * kRow, 420, 315})

} // namespace

// The four text rows, clerks, taxes, stock keys and payment keys (these two on two lines), the discount schedule
// over its frame, the price schedule over its frame, and the commands at the bottom.
const ControlTable frmOtherFile::kControls{
    .section = "frm_OtherFiles",
    .title = nullptr, // the menu entry that opens the window gives its title
    .size = {10800, 9960},
    .controls =
        {
            TEXT_ROW(0, "chkIng", "txtIngNo", "txtIngNextNo", "txtIngredient", "cmdIng"),
            TEXT_ROW(1, "chkSmsg", "txtSMsgNo", "txtSMsgNextNo", "txtSMsg", "cmdSMsg"),
            TEXT_ROW(2, "chkAdv", "txtAdvNo", "txtAdvNextNo", "txtAdv", "cmdAdv"),
            TEXT_ROW(3, "chkSname", "txtSNameNo", "txtSNameNextNo", "txtSName", "cmdSName"),
            label("Line1", {120, 1830, 10500, 15}),
            checkBox("chkClerk", {120, 1920, 2040, 315}).caption("chkclerk"),
            label("lblNo(4)", {2280, 1950, 600, 255}).caption("lblNo"),
            comboBox("combClerkNo", {2880, 1920, 900, 315}),
            label("lblName(4)", {5880, 1950, 720, 255}).caption("lblName"),
            textBox("txtClerkName", {6600, 1920, 3540, 315}),
            checkBox("chkTax", {120, 2340, 2040, 315}).caption(),
            label("lblNo(5)", {2280, 2370, 600, 255}).caption("lblNo"),
            comboBox("combTaxNo", {2880, 2340, 900, 315}),
            label("lblRate", {3900, 2370, 960, 255}).caption(),
            maskedEdit("meditTaxRate", {4860, 2340, 900, 315}),
            label("lblName(5)", {5880, 2370, 720, 255}).caption("lblName"),
            textBox("txtTaxName", {6600, 2340, 1200, 315}),
            comboBox("combTaxType", {7920, 2340, 2220, 315}),
            checkBox("chkStockFNKey", {120, 2760, 2040, 315}).caption(),
            label("lblNo(6)", {2280, 2790, 600, 255}).caption("lblNo"),
            comboBox("combStockNo", {2880, 2760, 900, 315}),
            comboBox("combStockType", {3900, 2760, 1860, 315}),
            label("lblName(6)", {5880, 2790, 720, 255}).caption("lblName"),
            textBox("txtStockName", {6600, 2760, 3540, 315}),
            checkBox("chkPrefix", {2280, 3180, 1560, 315}).caption(),
            checkBox("chkCostPrint", {3900, 3180, 1560, 315}).caption(),
            checkBox("chkShopNameNo", {5520, 3180, 1680, 315}).caption(),
            label("lblPLUType", {7260, 3210, 960, 255}).caption(),
            comboBox("combPLUType", {8220, 3180, 1920, 315}),
            checkBox("chkPaymentKey", {120, 3600, 2040, 315}).caption(),
            label("lblNo(7)", {2280, 3630, 600, 255}).caption("lblNo"),
            comboBox("combPaymentNo", {2880, 3600, 900, 315}),
            label("lblName(7)", {5880, 3630, 720, 255}).caption("lblName"),
            textBox("txtPaymentName", {6600, 3600, 1200, 315}),
            checkBox("chkPayTotal", {2280, 4020, 1560, 315}).caption(),
            checkBox("chkChange", {3900, 4020, 1560, 315}).caption(),
            checkBox("chkRounding", {5520, 4020, 1560, 315}).caption(),
            checkBox("chkCardReader", {7140, 4020, 1800, 315}).caption(),
            label("Line2", {120, 4440, 10500, 15}),
            checkBox("chkDiscSch", {120, 4560, 2040, 315}).caption(),
            label("lblNo(8)", {2280, 4590, 600, 255}).caption("lblNo"),
            textBox("txtDiscScheNo", {2880, 4560, 900, 315}),
            label("lblNextNo(4)", {3900, 4590, 960, 255}).caption("lblNextNo"),
            textBox("txtDiscScheNextNo", {4860, 4560, 900, 315}),
            frame("Frame1", {120, 4920, 10560, 2100}),
            label("lblDiscType", {120, 330, 1500, 255}).in("Frame1"),
            comboBox("combDiscType", {1680, 300, 2700, 315}).in("Frame1").on(&W::combDiscType_Click),
            label("lblDiscLimitType", {5520, 330, 1680, 255}).in("Frame1"),
            comboBox("combDiscLimitType", {7260, 300, 1800, 315}).in("Frame1").on(&W::combDiscLimitType_Click),
            label("lblStartDate", {120, 720, 1500, 255}).in("Frame1"),
            datePicker("DTPickerStartDate", {1680, 690, 1320, 315}).in("Frame1"),
            label("lblEndDate", {3120, 720, 1080, 255}).in("Frame1"),
            datePicker("DTPickerEndDate", {4260, 690, 1320, 315}).in("Frame1"),
            label("lblDiscDayOfWeek", {5700, 720, 1500, 255}).in("Frame1"),
            maskedEdit("meditDiscDayOfWeek", {7260, 690, 1080, 315}).in("Frame1"),
            label("lblStartTime", {120, 1110, 1500, 255}).in("Frame1"),
            timePicker("DTPickerStartTime", {1680, 1080, 1320, 315}).in("Frame1"),
            label("lblEndTime", {3120, 1110, 1080, 255}).in("Frame1"),
            timePicker("DTPickerEndTime", {4260, 1080, 1320, 315}).in("Frame1"),
            label("lblDiscDay", {7260, 1110, 1080, 255}).in("Frame1"),
            label("lblDiscLmt1", {120, 1500, 1500, 255}).in("Frame1"),
            maskedEdit("meditDiscLimit1", {1680, 1470, 1080, 315}).in("Frame1"),
            label("lblDiscLimit1G", {2820, 1500, 600, 255}).in("Frame1"),
            label("lblDiscLmt2", {3600, 1500, 1500, 255}).in("Frame1"),
            maskedEdit("meditDiscLimit2", {5160, 1470, 1080, 315}).in("Frame1"),
            label("lblDiscLimit2G", {6300, 1500, 600, 255}).in("Frame1"),
            label("lblDiscLmtPer1", {120, 1890, 1500, 255}).in("Frame1"),
            maskedEdit("meditDiscLmtPer1", {1680, 1860, 1080, 315}).in("Frame1"),
            label("lblDiscLmtPerSym1", {2820, 1890, 600, 255}).in("Frame1"),
            label("lblDiscLmtPer2", {3600, 1890, 1500, 255}).in("Frame1"),
            maskedEdit("meditDiscLmtPer2", {5160, 1860, 1080, 315}).in("Frame1"),
            label("lblDiscLmtPerSym2", {6300, 1890, 600, 255}).in("Frame1"),
            checkBox("chkPriceSch", {120, 7140, 2040, 315}).caption(),
            label("lblNo(9)", {2280, 7170, 600, 255}).caption("lblNo"),
            textBox("txtPriceScheNo", {2880, 7140, 900, 315}),
            label("lblNextNo(5)", {3900, 7170, 960, 255}).caption("lblNextNo"),
            textBox("txtPriceScheNextNo", {4860, 7140, 900, 315}),
            frame("Frame2", {120, 7500, 10560, 1560}),
            label("lblStartDatePrice", {120, 330, 1500, 255}).in("Frame2"),
            datePicker("DTPickerStartDatePrice", {1680, 300, 1320, 315}).in("Frame2"),
            label("lblEndDatePrice", {3120, 330, 1080, 255}).in("Frame2"),
            datePicker("DTPickerEndDatePrice", {4260, 300, 1320, 315}).in("Frame2"),
            label("lblStartTimePrice", {120, 720, 1500, 255}).in("Frame2"),
            timePicker("DTPickerStartTimePrice", {1680, 690, 1320, 315}).in("Frame2"),
            label("lblEndTimePrice", {3120, 720, 1080, 255}).in("Frame2"),
            timePicker("DTPickerEndTimePrice", {4260, 690, 1320, 315}).in("Frame2"),
            label("lblPriceDayOfWeek", {5700, 720, 1500, 255}).in("Frame2").caption(),
            maskedEdit("meditPriceDayOfWeek", {7260, 690, 1080, 315}).in("Frame2"),
            label("lblNewUPrice", {120, 1110, 1500, 255}).in("Frame2").caption(),
            maskedEdit("meditNewUPrice", {1680, 1080, 1080, 315}).in("Frame2"),
            label("lblNewPriceUnit", {2820, 1110, 600, 255}).in("Frame2"),
            label("lblPriceDay", {7260, 1110, 1080, 255}).in("Frame2"),
            commandButton("cmdDTTM", {120, 9300, 2640, 420}).caption().on(&W::cmdDTTM_Click),
            commandButton("cmdSend", {6480, 9300, 1980, 420}).caption().on(&W::cmdSend_Click),
            commandButton("cmdClose", {8640, 9300, 1980, 420}).caption().on(&W::cmdClose_Click),
        },
};

#undef TEXT_ROW

frmOtherFile::frmOtherFile()
{
    setObjectName(QStringLiteral("frmOtherFile"));
    createControls(this, kControls);
    for (const char* line : {"Line1", "Line2"})
        qobject_cast<QLabel*>(control(line))->setFrameShape(QFrame::HLine);
    Form_Load();
}

QWidget* frmOtherFile::control(const char* name) const { return findChild<QWidget*>(QLatin1String(name)); }

void frmOtherFile::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangOtherFiles);
    const auto mainTab = [](const char* key) { return gLangMainTab.text(QLatin1String(key)); };
    const std::pair<const char*, const char*> mainTabLabels[] = {
        {"lblDiscType", "MainTabTypeDisc"},
        {"lblDiscLimitType", "MainTabTypeDiscLimit"},
        {"lblStartDate", "MainTabStartDate"},
        {"lblStartDatePrice", "MainTabStartDate"},
        {"lblStartTime", "MainTabStartTime"},
        {"lblStartTimePrice", "MainTabStartTime"},
        {"lblEndDate", "MainTabEndDate"},
        {"lblEndDatePrice", "MainTabEndDate"},
        {"lblEndTime", "MainTabEndTime"},
        {"lblEndTimePrice", "MainTabEndTime"},
        {"lblDiscDayOfWeek", "MainTabDiscDayOfWeek"},
        {"lblDiscDay", "MainTabDiscDay"},
        {"lblPriceDay", "MainTabDiscDay"},
        {"lblDiscLmt1", "MainTabDiscLmt1"},
        {"lblDiscLmt2", "MainTabDiscLmt2"},
        {"lblDiscLmtPer1", "MainTabDiscAmt1"},
        {"lblDiscLmtPer2", "MainTabDiscAmt2"},
        {"lblDiscLimit1G", "MainTabDiscG"},
        {"lblDiscLimit2G", "MainTabDiscG"},
        {"lblDiscLmtPerSym1", "MainTabDiscPer"},
        {"lblDiscLmtPerSym2", "MainTabDiscPer"},
    };
    for (const auto& [name, key] : mainTabLabels)
        qobject_cast<QLabel*>(control(name))->setText(mainTab(key));
    qobject_cast<QLabel*>(control("lblNewPriceUnit"))->setText(gSettings().gCurrencySymbol);
    for (const char* text : {"cmdIng", "cmdSMsg", "cmdAdv", "cmdSName"})
        qobject_cast<QAbstractButton*>(control(text))->setText(QStringLiteral("S"));
    for (const char* sym : {"lblDiscLmtPerSym1", "lblDiscLmtPerSym2"})
        control(sym)->hide();

    const auto texts = [](const LangCollection& from, std::initializer_list<const char*> keys) {
        QStringList entries;
        for (const char* key : keys)
            entries << from.text(QLatin1String(key));
        return entries;
    };
    const auto fill = [this](const char* list, const QStringList& entries) {
        auto* combo = qobject_cast<QComboBox*>(control(list));
        combo->addItems(entries);
        combo->setCurrentIndex(0);
    };
    fill("combTaxType", texts(gLangOtherFiles, {"combTaxInclude", "combTaxExclude"}));
    fill("combStockType", texts(gLangOtherFiles, {"combStockWeight", "combStockQuantity", "combStockMWeight"}));
    fill("combPLUType", texts(gLangOtherFiles, {"combPLUAll", "combPLUWeighed", "combPLUNweighed"}));
    fill("combDiscType", texts(gParDiscount, {"D0", "D1", "D2", "D3", "D4", "D5", "D6"}));
    fill("combDiscLimitType", texts(gParSSTabSymbol, {"Wg", "Wpcs"}));

    const QString dateFormat = datePickerFormat(gSettings().gDateType);
    for (const FieldBinding& b : fieldBindings()) {
        auto* picker = qobject_cast<QDateTimeEdit*>(control(b.objectName));
        if (!picker)
            continue;
        if (b.form == Form::Date) {
            if (!dateFormat.isEmpty())
                picker->setDisplayFormat(dateFormat);
            picker->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
            picker->setDate(otherFilesNow().date());
        } else {
            picker->setDisplayFormat(QStringLiteral("HH:mm"));
        }
    }
    connectKinds();
    combDiscType_Click();
    combDiscLimitType_Click();
    for (const OtherFileKind& kind : otherFileKinds()) {
        QWidget* number = control(kind.numberControl);
        if (auto* list = qobject_cast<QComboBox*>(number)) {
            QStringList numbers;
            const int count = QByteArrayView(kind.table) == "KVB_A8" || QByteArrayView(kind.table) == "KVB_AD" ? 9 : 99;
            for (int n = 1; n <= count; ++n)
                numbers << QString::number(n);
            list->addItems(numbers);
            setListIndex(list, 0);
        } else {
            setText(qobject_cast<QLineEdit*>(number), QStringLiteral("1"));
        }
    }
}

// Every control of a kind is connected here: its number shows the record, its send box marks the rows, and
// each bound field saves the kind when it is left or chosen.
void frmOtherFile::connectKinds()
{
    for (const OtherFileKind& kind : otherFileKinds()) {
        const OtherFileKind* k = &kind;
        QWidget* number = control(kind.numberControl);
        if (auto* box = qobject_cast<QLineEdit*>(number)) {
            limitEdit(box, EditLimit().digits().chars(6));
            onChange(box, [this, box, k] {
                const QString kept = numberTyped(box->text());
                if (kept != box->text())
                    box->setText(kept);
                display(*k);
            });
            onEnter(box, [box] { box->selectAll(); });
        } else {
            onChange(number, [this, k] { display(*k); });
        }
        auto* send = qobject_cast<QCheckBox*>(control(kind.sendBox));
        onChange(send, [this, send, k] {
            bool ok = true;
            tryStep([&] { ok = markForSending(*k, send->isChecked()); }, gLangMsg.text(QStringLiteral("dbWriteErr")),
                    this);
            if (!ok)
                send->setChecked(false);
        });
        if (kind.nextNumberBox) {
            auto* next = qobject_cast<QLineEdit*>(control(kind.nextNumberBox));
            connectBoundBox(next, *bindingOf(QLatin1String(kind.nextNumberBox)),
                            [this, k] { save(*k, k->nextNumberBox); });
            onEnter(next, [next] { next->selectAll(); });
        }
    }
    for (const FieldBinding& b : fieldBindings()) {
        const OtherFileKind* k = kindOf(QLatin1String(b.table));
        const char* name = b.objectName;
        if (k->nextNumberBox && QByteArrayView(name) == k->nextNumberBox)
            continue;
        QWidget* widget = control(name);
        auto* box = qobject_cast<QLineEdit*>(widget);
        if (box && b.typing == Typing::None) {
            box->setReadOnly(true); // the first line of a text, edited in the text editor
            continue;
        }
        if (box) {
            connectBoundBox(box, b, [this, k, name] { save(*k, name); });
            const FieldBinding* binding = &b;
            onEnter(box, [this, box, binding] {
                if (binding->typing == Typing::Amount)
                    enterAmountBox(box, *binding, qobject_cast<QComboBox*>(control("combDiscType"))->currentIndex());
                else
                    box->selectAll();
            });
        } else if (qobject_cast<QDateTimeEdit*>(widget)) {
            onLeave(widget, [this, k, name] { save(*k, name); });
        } else {
            // Lists and check boxes save as they are chosen; the discount types keep their own rules too.
            const bool discType = QByteArrayView(name) == "combDiscType";
            const bool limitType = QByteArrayView(name) == "combDiscLimitType";
            onChange(widget, [this, k, name, discType, limitType] {
                if (discType)
                    combDiscType_Click();
                if (limitType)
                    combDiscLimitType_Click();
                save(*k, name);
            });
        }
    }
}

qint64 frmOtherFile::shownNumber(const OtherFileKind& kind) const
{
    QWidget* number = control(kind.numberControl);
    if (auto* list = qobject_cast<QComboBox*>(number))
        return list->currentIndex() + 1;
    const QString text = qobject_cast<QLineEdit*>(number)->text();
    return text.isEmpty() ? -1 : text.toLongLong();
}

void frmOtherFile::display(const OtherFileKind& kind)
{
    const qint64 number = shownNumber(kind);
    ShownRecord shown;
    // Nothing is saved under a number not shown: an empty number, or one that cannot be read.
    bool ok = number >= 0
        && tryStep([&] { shown = showRecord(kind, number); }, gLangMsg.text(QStringLiteral("dbReadErr")), this);
    for (const FieldBinding* b : bindingsOf(kind))
        control(b->objectName)->setEnabled(ok);
    if (kind.nextNumberBox)
        control(kind.nextNumberBox)->setEnabled(ok);
    if (!ok)
        return;
    showValues(shown.values);
    if (kind.frame && QByteArrayView(kind.table) == "KVB_AA") {
        combDiscType_Click();
        combDiscLimitType_Click();
    }
}

void frmOtherFile::showValues(const QVariantMap& values)
{
    m_showing = true;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        QWidget* widget = findChild<QWidget*>(it.key());
        if (auto* box = qobject_cast<QLineEdit*>(widget))
            setText(box, it.value().toString());
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            setListIndex(list, it.value().toInt());
        else if (auto* check = qobject_cast<QCheckBox*>(widget))
            setChecked(check, it.value().toBool());
        else if (auto* picker = qobject_cast<QDateTimeEdit*>(widget)) {
            if (it.value().typeId() == QMetaType::QDate)
                setDate(picker, it.value().toDate());
            else
                setTime(picker, it.value().toTime());
        }
    }
    m_showing = false;
}

QVariantMap frmOtherFile::shownValues(const OtherFileKind& kind) const
{
    QVariantMap values;
    QList<const char*> names;
    for (const FieldBinding* b : bindingsOf(kind))
        names << b->objectName;
    for (const char* name : names) {
        QWidget* widget = control(name);
        if (auto* box = qobject_cast<QLineEdit*>(widget))
            values.insert(QLatin1String(name), box->text());
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            values.insert(QLatin1String(name), list->currentIndex());
        else if (auto* check = qobject_cast<QCheckBox*>(widget))
            values.insert(QLatin1String(name), check->isChecked());
        else if (auto* picker = qobject_cast<QDateTimeEdit*>(widget))
            values.insert(QLatin1String(name),
                          picker->displayFormat() == QLatin1String("HH:mm") ? QVariant(picker->time())
                                                                            : QVariant(picker->date()));
    }
    return values;
}

void frmOtherFile::save(const OtherFileKind& kind, const char* left)
{
    if (m_showing || !control(left)->isEnabled())
        return;
    const qint64 number = shownNumber(kind);
    if (number < 0)
        return;
    ShownRecord shown;
    shown.values = shownValues(kind);
    if (const FieldBinding* b = bindingOf(QLatin1String(left)))
        leaveField(*b, number, shown.values);
    showValues(shown.values);
    auto* send = qobject_cast<QCheckBox*>(control(kind.sendBox));
    qint64 next = 0;
    if (kind.nextNumberBox)
        next = digitsValue(shown.values.value(QLatin1String(kind.nextNumberBox)).toString());
    bool untick = false;
    if (tryStep([&] { untick = saveShown(kind, number, next, shown); }, gLangMsg.text(QStringLiteral("dbWriteErr")),
                this)
        && untick)
        send->setChecked(false);
}

// Rule H: the discount type opens its fields and shows the "%" labels.
void frmOtherFile::combDiscType_Click()
{
    const DiscTypeRule& rule = discTypeRule(qobject_cast<QComboBox*>(control("combDiscType"))->currentIndex());
    const bool shown = control("combDiscType")->isEnabled();
    const std::pair<const char*, bool> open[] = {
        {"meditDiscDayOfWeek", rule.days},       {"meditDiscLimit1", rule.firstLimit},
        {"meditDiscLmtPer1", rule.firstAmount},  {"meditDiscLimit2", rule.secondLimit},
        {"meditDiscLmtPer2", rule.secondAmount}, {"DTPickerStartDate", rule.pickers},
        {"DTPickerEndDate", rule.pickers},       {"DTPickerStartTime", rule.pickers},
        {"DTPickerEndTime", rule.pickers},
    };
    for (const auto& [name, on] : open)
        control(name)->setEnabled(shown && on);
    control("lblDiscLmtPerSym1")->setVisible(rule.percent);
    control("lblDiscLmtPerSym2")->setVisible(rule.percent);
    qobject_cast<QLabel*>(control("lblDiscLmtPer1"))->setText(gLangMainTab.text(QLatin1String(rule.firstAmountCaption)));
}

// Rule I: both limits take the unit of the limit type.
void frmOtherFile::combDiscLimitType_Click()
{
    const QString unit = gParSSTabSymbol.text(
        QLatin1String(discLimitUnitKey(qobject_cast<QComboBox*>(control("combDiscLimitType"))->currentIndex())));
    qobject_cast<QLabel*>(control("lblDiscLimit1G"))->setText(unit);
    qobject_cast<QLabel*>(control("lblDiscLimit2G"))->setText(unit);
}

void frmOtherFile::cmdSend_Click()
{
    commitFocusedField(this);
    QStringList ticked;
    for (const OtherFileKind& kind : otherFileKinds())
        if (qobject_cast<QCheckBox*>(control(kind.sendBox))->isChecked())
            ticked << QLatin1String(kind.sendBox);
    tryStep([&] { requestTransfer(this, TransferSend, filesToSend(ticked)); },
            gLangMsg.text(QStringLiteral("dbWriteErr")), this);
}

void frmOtherFile::cmdDTTM_Click()
{
    commitFocusedField(this);
    // A send whose record cannot be saved opens no transfer window.
    if (tryStep([] { saveDateTimeToSend(); }, gLangMsg.text(QStringLiteral("dbWriteErr")), this))
        requestTransfer(this, TransferSend, {QStringLiteral("DAT0UALL.csv")});
}

void frmOtherFile::cmdClose_Click() { close(); }

void frmOtherFile::closeEvent(QCloseEvent* event)
{
    commitFocusedField(this);
    QWidget::closeEvent(event);
}

} // namespace quorvane
