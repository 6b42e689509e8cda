#include "plu/ui/PluEditorControls.h"

#include "platform/ui/ControlTable.h"
#include "platform/ui/FieldCopy.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluFieldRules.h"
#include "plu/PluFields.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluWindow.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/SettingsState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTimeEdit>

namespace quorvane::plu {

namespace {

// The amount boxes show their value with the decimal sign.
bool isAmountBox(const QString& name)
{
    const PluField* row = pluField(name);
    return row && row->kind == fields::Kind::Amount;
}

// The greatest number of characters typed into a box: digits, the days of the week 0 and 1, the name any text.
// An amount box counts its digits, its one decimal sign beside them; a number box counts them without the
// leading zeros it drops.
void limitBox(QLineEdit* box, int limit)
{
    const QString name = box->objectName();
    ui::EditLimit l;
    if (const PluFieldRule* rule = pluFieldRule(name))
        l.leadingZero(rule->change);
    if (name == QLatin1String("txtName")) {
        l.chars(limit);
    } else if (name == QLatin1String("meditDiscDayOfWeek")) {
        l.chars(limit).binary();
    } else if (isAmountBox(name)) {
        l.chars(limit).decimal(decimalSign().at(0));
    } else {
        l.chars(limit).digits();
    }
    ui::limitEdit(box, l);
}

// Disabled by the program itself, whatever its frame is.
bool ownEnabled(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }

struct BarcodeBoxes {
    const char* name;
    QLineEdit* PluPanel::*control;
    records::BarcodeBox records::BarcodeControls::*box;
};
constexpr BarcodeBoxes kBarcodeBoxes[] = {
    {"meditFlagCode1", &PluPanel::meditFlagCode1, &records::BarcodeControls::flagCode1},
    {"meditFlagCode2", &PluPanel::meditFlagCode2, &records::BarcodeControls::flagCode2},
    {"meditItemCode", &PluPanel::meditItemCode, &records::BarcodeControls::itemCode},
};

// The kinds of the editor's controls, in the groups a copy to the window sets them by.
bool isCheck(const PluField& row) { return row.kind == fields::Kind::StatusBit || row.kind == fields::Kind::CheckBox; }
bool isList(const PluField& row) { return row.kind == fields::Kind::ListPosition; }
bool isBox(const PluField& row)
{
    using enum fields::Kind;
    return row.kind == Text || row.kind == Whole || row.kind == Amount || row.kind == DayMask;
}
bool isPicker(const PluField& row) { return row.kind == fields::Kind::Date || row.kind == fields::Kind::Time; }

// Copies the rows `which` picks from the editor's values to their controls. The main groups' list is filled whole
// on its own, its entries with its position.
template<class Which>
void showRows(const PluPanel& p, const PluEditorValues& tab, const fields::Format& format, Which which)
{
    for (const PluField& row : pluFields())
        if (row.field != records::plu::PLU_MG && which(row))
            ui::showField(p.control(QLatin1String(row.control)), shownIn(tab, row), format);
}

} // namespace

PluEditorValues editorValues(QWidget* window)
{
    const PluPanel& p = pluPanel(window);
    PluEditorValues tab;
    for (const PluField& row : pluFields())
        if (row.field != records::plu::PLU_MG)
            setShown(tab, row, ui::fieldShown(p.control(QLatin1String(row.control))));
    tab.meditDepartment = p.meditDepartment->text();
    for (int i = 0; i < p.combMG->count(); ++i)
        tab.combMG.entries << p.combMG->itemText(i);
    tab.combMG.index = p.combMG->currentIndex();
    for (int i = 0; i < p.combSymbol->count(); ++i)
        tab.units.combSymbol << p.combSymbol->itemText(i);
    tab.units.tareVisible = !p.meditTare->isHidden();
    tab.units.lblDiscLimitG = p.lblDiscLimit1G->text();
    for (const BarcodeBoxes& b : kBarcodeBoxes) {
        (tab.barcode.*b.box).enabled = ownEnabled(p.*b.control);
        (tab.barcode.*b.box).maxLength = ui::editLimit(p.*b.control).maxChars();
    }
    tab.barcode.barcodeFormatEnabled = ownEnabled(p.combBarcodeFormat);
    tab.barcode.rsDataEnabled = ownEnabled(p.combRSData);
    tab.dateFormat = p.DTPickerStartDate->displayFormat();
    return tab;
}

void showUnitLabels(QWidget* window, const UnitLabels& units)
{
    const PluPanel& p = pluPanel(window);
    p.combSymbol->clear();
    p.combSymbol->addItems(units.combSymbol);
    for (QWidget* w : std::initializer_list<QWidget*>{p.lblTare, p.lblTareG, p.meditTare})
        w->setVisible(units.tareVisible);
    for (QLabel* label : {p.lblDiscLimit1G, p.lblDiscLimit2G})
        label->setText(units.lblDiscLimitG);
}

void showBarcodeControls(QWidget* window, const records::BarcodeControls& barcode)
{
    const PluPanel& p = pluPanel(window);
    for (const BarcodeBoxes& b : kBarcodeBoxes) {
        QLineEdit* box = p.*b.control;
        const records::BarcodeBox& state = barcode.*b.box;
        box->setEnabled(state.enabled);
        // A limit holds for what is typed next: the text shown stays whole.
        if (ui::editLimit(box).maxChars() != state.maxLength)
            limitBox(box, state.maxLength);
        ui::setText(box, state.text);
    }
    p.combBarcodeFormat->setEnabled(barcode.barcodeFormatEnabled);
    p.combRSData->setEnabled(barcode.rsDataEnabled);
}

void showEditorValues(QWidget* window, const PluEditorValues& tab)
{
    const PluPanel& p = pluPanel(window);
    p.combMG->clear();
    p.combMG->addItems(tab.combMG.entries);
    ui::setListIndex(p.combMG, tab.combMG.index);
    // The pickers keep their display format unless the editor gives one; the flag boxes are the bar-format
    // controls' (their limits first).
    const fields::Format format{.dateFormat = tab.dateFormat.value_or(QString()), .timeFormat = QString()};
    showRows(p, tab, format, isCheck);
    showUnitLabels(window, tab.units);
    showRows(p, tab, format, isList);
    showBarcodeControls(window, tab.barcode);
    showRows(p, tab, format, [](const PluField& row) {
        const bool barcodeBox = std::any_of(std::begin(kBarcodeBoxes), std::end(kBarcodeBoxes),
                                            [&](const BarcodeBoxes& b) { return qstrcmp(row.control, b.name) == 0; });
        return !barcodeBox && isBox(row);
    });
    ui::setText(p.meditDepartment, tab.meditDepartment);
    showRows(p, tab, format, isPicker);
}

void showEditorCaptions(QWidget* window, const PluEditorCaptions& captions, PluEditorValues& tab)
{
    ui::setCaptions(window, PluWindow::of(window)->editorCaptions(), gLangMainTab);
    showEditorSetUp(window, captions, tab);
}

void showEditorSetUp(QWidget* window, const PluEditorCaptions& captions, PluEditorValues& tab)
{
    const PluPanel& p = pluPanel(window);
    for (const ControlText& c : captions.captions)
        p.control<QLabel>(c.objectName)->setText(c.text);
    for (const auto& [name, entries] : captions.lists) {
        auto* list = p.control<QComboBox>(name);
        list->clear();
        list->addItems(entries);
    }
    for (const ControlLimit& l : captions.limits) {
        limitBox(p.control<QLineEdit>(l.objectName), l.limit);
        for (const BarcodeBoxes& b : kBarcodeBoxes)
            if (l.objectName == QLatin1String(b.name))
                (tab.barcode.*b.box).maxLength = l.limit;
    }
    for (const QString& name : captions.disabled)
        p.control(name)->setEnabled(false);
    for (QDateTimeEdit* picker : {p.DTPickerStartTime, p.DTPickerEndTime}) {
        picker->setCalendarPopup(false); // the up-down style
        picker->setDisplayFormat(captions.timeFormat);
    }
}

void showChangedValues(QWidget* window, PluEditorValues& before, PluEditorValues& after)
{
    const PluPanel& p = pluPanel(window);
    const fields::Format keepFormats{.dateFormat = QString(), .timeFormat = QString()};
    // A control's handler runs as it is set: the boxes first, then the lists, the check boxes and the pickers.
    const auto showChanged = [&](bool (*group)(const PluField&)) {
        showRows(p, after, keepFormats,
                 [&](const PluField& row) { return group(row) && shownIn(after, row) != shownIn(before, row); });
    };
    showChanged(isBox);
    if (after.meditDepartment != before.meditDepartment)
        ui::setText(p.meditDepartment, after.meditDepartment);
    showChanged(isList);
    showChanged(isCheck);
    showChanged(isPicker);
}

void showDiscountControls(QWidget* window, const DiscountTypeControls& controls)
{
    const PluPanel& p = pluPanel(window);
    const QList<QPair<QWidget*, bool>> enabled{
        {p.meditDiscDayOfWeek, controls.meditDiscDayOfWeek},
        {p.meditDiscLimit1, controls.meditDiscLimit1},
        {p.meditDiscLmtPer1, controls.meditDiscLmtPer1},
        {p.meditDiscLimit2, controls.meditDiscLimit2},
        {p.meditDiscLmtPer2, controls.meditDiscLmtPer2},
        {p.DTPickerStartDate, controls.pickers},
        {p.DTPickerStartTime, controls.pickers},
        {p.DTPickerEndDate, controls.pickers},
        {p.DTPickerEndTime, controls.pickers},
    };
    for (const auto& [w, on] : enabled)
        w->setEnabled(on);
    for (QLabel* label : {p.lblDiscLmtPerSym1, p.lblDiscLmtPerSym2})
        label->setVisible(controls.percent);
    p.lblDiscLmtPer1->setText(controls.fixedPrice ? gLangMainTab.text(QStringLiteral("MainTabDiscFixPrice"))
                                                  : gLangMainTab.text(QStringLiteral("MainTabDiscAmt1")));
}

void showMemberPercent(QWidget* window, bool percent)
{
    for (QLabel* label : pluPanel(window).lblMemDiscPerSym.elements())
        label->setVisible(percent);
}

void ApplyPLUEditorCaptions(QWidget* window)
{
    PluEditorValues tab = editorValues(window);
    const PluEditorCaptions captions = quorvane::ApplyPLUEditorCaptions(tab, QDate::currentDate());
    showEditorCaptions(window, captions, tab);
    showEditorValues(window, tab);
}

} // namespace quorvane::plu
