#include "plu/ui/PluEditorWindow.h"

#include "platform/ui/ControlTable.h"
#include "platform/ui/FieldCopy.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluFields.h"
#include "plu/ui/PluHost.h"
#include "plu/ui/PluWindow.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>

namespace quorvane::plu {

namespace {

template<class T> T* control(QWidget* window, const QString& name) { return window->findChild<T*>(name); }
template<class T> T* control(QWidget* window, const char* name) { return control<T>(window, QLatin1String(name)); }

// The amount boxes show their value with the decimal sign.
bool isAmountBox(const QString& name)
{
    const PluField* row = pluField(name);
    return row && row->kind == fields::Kind::Amount;
}

// The greatest number of characters typed into a box: digits, the days of the week 0 and 1, the name any text.
// An amount box counts its digits, its one decimal sign beside them.
void limitBox(QLineEdit* box, int limit)
{
    const QString name = box->objectName();
    ui::EditLimit l;
    if (name == QLatin1String("txtName")) {
        l.chars(limit);
    } else if (name == QLatin1String("meditDiscDayOfWeek")) {
        l.chars(limit).binary();
    } else if (isAmountBox(name)) {
        const QString& sign = gSettings().gDecimalSign;
        l.chars(limit).decimal(sign.isEmpty() ? QLatin1Char('.') : sign[0]);
    } else {
        l.chars(limit).digits();
    }
    ui::limitEdit(box, l);
}

// Disabled by the program itself, whatever its frame is.
bool ownEnabled(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }

struct BarcodeBoxes {
    const char* name;
    records::BarcodeBox records::BarcodeControls::*box;
};
constexpr BarcodeBoxes kBarcodeBoxes[] = {
    {"meditFlagCode1", &records::BarcodeControls::flagCode1},
    {"meditFlagCode2", &records::BarcodeControls::flagCode2},
    {"meditItemCode", &records::BarcodeControls::itemCode},
};

} // namespace

QTableWidget* pluGrid(QWidget* window) { return control<QTableWidget>(window, "MSHFlexGridPLU"); }

QTabWidget* pluTabs(QWidget* window) { return control<QTabWidget>(window, "SSTabPLU"); }

void selectGridRow(QWidget* window, int row)
{
    QTableWidget* grid = pluGrid(window);
    if (row < 1 || row >= ui::flexRows(grid))
        return;
    grid->setCurrentCell(row - 1, 1);
    grid->selectRow(row - 1);
}

PluEditorValues editorValues(QWidget* window)
{
    PluEditorValues tab;
    for (const PluField& row : pluFields())
        if (row.field != records::plu::PLU_MG)
            if (const auto* w = control<QWidget>(window, row.control))
                setShown(tab, QLatin1String(row.control), ui::fieldShown(w));
    if (const auto* department = control<QLineEdit>(window, "meditDepartment"))
        tab.meditDepartment = department->text();
    if (const auto* mg = control<QComboBox>(window, "combMG")) {
        for (int i = 0; i < mg->count(); ++i)
            tab.combMG.entries << mg->itemText(i);
        tab.combMG.index = mg->currentIndex();
    }
    if (const auto* symbol = control<QComboBox>(window, "combSymbol"))
        for (int i = 0; i < symbol->count(); ++i)
            tab.units.combSymbol << symbol->itemText(i);
    if (const auto* tare = control<QWidget>(window, "meditTare"))
        tab.units.tareVisible = !tare->isHidden();
    if (const auto* unit = control<QLabel>(window, "lblDiscLimit1G"))
        tab.units.lblDiscLimitG = unit->text();
    for (const BarcodeBoxes& b : kBarcodeBoxes)
        if (const auto* box = control<QLineEdit>(window, b.name)) {
            (tab.barcode.*b.box).enabled = ownEnabled(box);
            (tab.barcode.*b.box).maxLength = ui::editLimit(box).maxChars();
        }
    if (const auto* list = control<QWidget>(window, "combBarcodeFormat"))
        tab.barcode.barcodeFormatEnabled = ownEnabled(list);
    if (const auto* list = control<QWidget>(window, "combRSData"))
        tab.barcode.rsDataEnabled = ownEnabled(list);
    if (const auto* p = control<QDateTimeEdit>(window, "DTPickerStartDate"))
        tab.dateFormat = p->displayFormat();
    return tab;
}

void showUnitLabels(QWidget* window, const UnitLabels& units)
{
    if (auto* symbol = control<QComboBox>(window, "combSymbol")) {
        symbol->clear();
        symbol->addItems(units.combSymbol);
    }
    for (const char* name : {"lblTare", "lblTareG", "meditTare"})
        if (auto* w = control<QWidget>(window, name))
            w->setVisible(units.tareVisible);
    for (const char* name : {"lblDiscLimit1G", "lblDiscLimit2G"})
        if (auto* label = control<QLabel>(window, name))
            label->setText(units.lblDiscLimitG);
}

void showBarcodeControls(QWidget* window, const records::BarcodeControls& barcode)
{
    for (const BarcodeBoxes& b : kBarcodeBoxes) {
        auto* box = control<QLineEdit>(window, b.name);
        if (!box)
            continue;
        const records::BarcodeBox& state = barcode.*b.box;
        box->setEnabled(state.enabled);
        // A limit holds for what is typed next: the text shown stays whole.
        if (ui::editLimit(box).maxChars() != state.maxLength)
            limitBox(box, state.maxLength);
        ui::setText(box, state.text);
    }
    if (auto* list = control<QWidget>(window, "combBarcodeFormat"))
        list->setEnabled(barcode.barcodeFormatEnabled);
    if (auto* list = control<QWidget>(window, "combRSData"))
        list->setEnabled(barcode.rsDataEnabled);
}

void showEditorValues(QWidget* window, const PluEditorValues& tab)
{
    if (auto* mg = control<QComboBox>(window, "combMG")) {
        mg->clear();
        mg->addItems(tab.combMG.entries);
        ui::setListIndex(mg, tab.combMG.index);
    }
    // The pickers keep their display format unless the editor gives one; the flag boxes are the bar-format
    // controls' (their limits first).
    const fields::Format format{.dateFormat = tab.dateFormat.value_or(QString()), .timeFormat = QString()};
    const auto show = [&](auto&& which) {
        for (const PluField& row : pluFields())
            if (row.field != records::plu::PLU_MG && which(row))
                if (auto* w = control<QWidget>(window, row.control))
                    ui::showField(w, shownIn(tab, QLatin1String(row.control)), format);
    };
    using enum fields::Kind;
    show([](const PluField& row) { return row.kind == StatusBit || row.kind == CheckBox; });
    showUnitLabels(window, tab.units);
    show([](const PluField& row) { return row.kind == ListPosition; });
    showBarcodeControls(window, tab.barcode);
    show([](const PluField& row) {
        const bool barcodeBox = std::any_of(std::begin(kBarcodeBoxes), std::end(kBarcodeBoxes),
                                            [&](const BarcodeBoxes& b) { return qstrcmp(row.control, b.name) == 0; });
        return !barcodeBox && (row.kind == Text || row.kind == Whole || row.kind == Amount || row.kind == DayMask);
    });
    if (auto* department = control<QLineEdit>(window, "meditDepartment"))
        ui::setText(department, tab.meditDepartment);
    show([](const PluField& row) { return row.kind == Date || row.kind == Time; });
}

void showEditorCaptions(QWidget* window, const PluEditorCaptions& captions, PluEditorValues& tab)
{
    ui::setCaptions(window, PluWindow::of(window)->editorCaptions(), gLangMainTab);
    for (const ControlText& c : captions.captions)
        if (auto* label = control<QLabel>(window, c.objectName))
            label->setText(c.text);
    for (const auto& [name, entries] : captions.lists)
        if (auto* list = control<QComboBox>(window, name)) {
            list->clear();
            list->addItems(entries);
        }
    for (const ControlLimit& l : captions.limits) {
        if (auto* box = control<QLineEdit>(window, l.objectName))
            limitBox(box, l.limit);
        for (const BarcodeBoxes& b : kBarcodeBoxes)
            if (l.objectName == QLatin1String(b.name))
                (tab.barcode.*b.box).maxLength = l.limit;
    }
    for (const QString& name : captions.disabled)
        if (auto* w = control<QWidget>(window, name))
            w->setEnabled(false);
    for (const char* name : {"DTPickerStartTime", "DTPickerEndTime"})
        if (auto* p = control<QDateTimeEdit>(window, name)) {
            p->setCalendarPopup(false); // the up-down style
            p->setDisplayFormat(captions.timeFormat);
        }
}

void showChangedValues(QWidget* window, PluEditorValues& before, PluEditorValues& after)
{
    const auto texts = textBoxes(before), newTexts = textBoxes(after);
    for (qsizetype i = 0; i < newTexts.size(); ++i)
        if (*newTexts[i].second != *texts[i].second)
            if (auto* box = control<QLineEdit>(window, newTexts[i].first))
                ui::setText(box, *newTexts[i].second);
    const auto lists = listPositions(before), newLists = listPositions(after);
    for (qsizetype i = 0; i < newLists.size(); ++i)
        if (*newLists[i].second != *lists[i].second)
            if (auto* list = control<QComboBox>(window, newLists[i].first))
                ui::setListIndex(list, *newLists[i].second);
    const auto checks = checkBoxes(before), newChecks = checkBoxes(after);
    for (qsizetype i = 0; i < newChecks.size(); ++i)
        if (*newChecks[i].second != *checks[i].second)
            if (auto* box = control<QCheckBox>(window, newChecks[i].first))
                ui::setChecked(box, *newChecks[i].second);
    if (after.DTPickerStartDate != before.DTPickerStartDate)
        if (auto* p = control<QDateTimeEdit>(window, "DTPickerStartDate"))
            ui::setDate(p, after.DTPickerStartDate);
    if (after.DTPickerEndDate != before.DTPickerEndDate)
        if (auto* p = control<QDateTimeEdit>(window, "DTPickerEndDate"))
            ui::setDate(p, after.DTPickerEndDate);
}

void showDiscountControls(QWidget* window, const DiscountTypeControls& controls)
{
    const QList<QPair<const char*, bool>> enabled{
        {"meditDiscDayOfWeek", controls.meditDiscDayOfWeek},
        {"meditDiscLimit1", controls.meditDiscLimit1},
        {"meditDiscLmtPer1", controls.meditDiscLmtPer1},
        {"meditDiscLimit2", controls.meditDiscLimit2},
        {"meditDiscLmtPer2", controls.meditDiscLmtPer2},
        {"DTPickerStartDate", controls.pickers},
        {"DTPickerStartTime", controls.pickers},
        {"DTPickerEndDate", controls.pickers},
        {"DTPickerEndTime", controls.pickers},
    };
    for (const auto& [name, on] : enabled)
        if (auto* w = control<QWidget>(window, name))
            w->setEnabled(on);
    for (const char* name : {"lblDiscLmtPerSym1", "lblDiscLmtPerSym2"})
        if (auto* label = control<QLabel>(window, name))
            label->setVisible(controls.percent);
    if (auto* label = control<QLabel>(window, "lblDiscLmtPer1"))
        label->setText(controls.fixedPrice ? gLangMainTab.text(QStringLiteral("MainTabDiscFixPrice"))
                                           : gLangMainTab.text(QStringLiteral("MainTabDiscAmt1")));
}

void showMemberPercent(QWidget* window, bool percent)
{
    for (QLabel* label : ui::controlArray<QLabel>(window, QStringLiteral("lblMemDiscPerSym")).elements())
        label->setVisible(percent);
}

void WindowHost::commitFocusedField() { ui::commitFocusedField(m_window); }

PluEditorValues WindowHost::editorValues() { return plu::editorValues(m_window); }

PluAnswer WindowHost::ask(const QString& text)
{
    return ui::msgBox(text, ui::MsgIcon::Question, ui::MsgButtons::YesNo, m_window) == ui::MsgYes ? PluAnswer::Yes
                                                                                                  : PluAnswer::No;
}

PluAnswer WindowHost::askSaveChanges()
{
    switch (ui::msgBox(gLangMsg.text(QStringLiteral("updatePLU")), ui::MsgIcon::Question, ui::MsgButtons::YesNoCancel,
                       m_window)) {
    case ui::MsgYes:
        return PluAnswer::Yes;
    case ui::MsgNo:
        return PluAnswer::No;
    default:
        return PluAnswer::Cancel;
    }
}

void WindowHost::showError(const QString& text)
{
    ui::msgBox(text, ui::MsgIcon::Critical, ui::MsgButtons::Ok, m_window);
}

int WindowHost::gridCurrentRow()
{
    const QTableWidget* grid = pluGrid(m_window);
    return grid ? grid->currentRow() + 1 : 0;
}

void WindowHost::refusePLUNumber(qint32 number, bool gridBack)
{
    SelectPLUTab(m_window, 1);
    if (auto* box = control<QLineEdit>(m_window, "meditPLU")) {
        ui::setText(box, QString::number(number));
        box->setFocus();
        box->selectAll();
    }
    if (gridBack)
        selectGridRow(m_window, gPluEditor().gCurPLURow);
}

void WindowHost::setEditModeButtons() { SetEditModeButtons(m_window); }

void WindowHost::refreshPLUList() { RefreshPLUList(m_window); }

} // namespace quorvane::plu
