#include "plu/ui/PluButtons.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluCommands.h"
#include "plu/PluFieldRules.h"
#include "plu/ui/PluEditorWindow.h"
#include "plu/ui/PluHost.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/frmStringEdit.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace quorvane::plu {

namespace {

QString dbReadErr() { return gLangMsg.text(QStringLiteral("dbReadErr")); }
QString dbWriteErr() { return gLangMsg.text(QStringLiteral("dbWriteErr")); }

const PluFieldRule& ruleOf(QWidget* box)
{
    const PluFieldRule* rule = pluFieldRule(box->objectName());
    if (!rule)
        qFatal("Editor box %s has no rule", qPrintable(box->objectName()));
    return *rule;
}

void enable(QWidget* window, const char* name, bool on) { enableCommand(window, QLatin1String(name), on); }

// Edit or display mode on the window: the pages, the buttons, the mark column and the import menu.
void showMode(QWidget* window, bool pagesEnabled)
{
    const bool edit = gPluEditor().gHideSelectedCol == 1;
    pluPanel(window).SSTabPLU->setEnabled(pagesEnabled);
    ResetTabFrames(window, edit && pagesEnabled ? TabFrames::Enabled : TabFrames::Disabled);
    SetEditModeButtons(window);
    if (edit)
        SetBarcodeFlagControls(window);
    SetPLUGridColumnWidths(window);
    enable(window, "menuImportOrExport", !edit);
}

// The "*" of column 0 moved from the previous pointer row to `row`.
void movePointer(QWidget* window, int previousRow, int row)
{
    QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    if (previousRow >= 1 && previousRow < ui::flexRows(grid))
        ui::setFlexText(grid, previousRow, 0, QString());
    selectGridRow(window, row);
    ui::setFlexText(grid, row, 0, QStringLiteral("*"));
}

void step(QWidget* window, int direction)
{
    WindowHost host(window);
    std::optional<SteppedPLU> stepped;
    if (!ui::tryStep([&] { stepped = StepPLUCommand(host, direction); }, dbReadErr(), window) || !stepped)
        return;
    movePointer(window, stepped->previousRow, stepped->row);
    showEditorValues(window, stepped->values);
    SetEditModeButtons(window);
}

void markAll(QWidget* window, MarkMode mode)
{
    if (AskSavePLUChanges(window) == SaveAnswer::Cancelled)
        return;
    SetPLUSelection(window, 1, ui::flexRows(pluPanel(window).MSHFlexGridPLU) - 1, mode);
}

} // namespace

void cmdEdit_Click(QWidget* window) { showMode(window, EnterEditMode()); }

void cmdDisplay_Click(QWidget* window)
{
    WindowHost host(window);
    std::optional<bool> pages;
    if (ui::tryStep([&] { pages = EnterDisplayMode(host); }, dbWriteErr(), window) && pages)
        showMode(window, *pages);
}

void cmdNew_Click(QWidget* window)
{
    WindowHost host(window);
    std::optional<NewPLUEditor> made;
    if (!ui::tryStep([&] { made = NewPLUCommand(host, QDate::currentDate()); }, dbReadErr(), window) || !made)
        return;
    pluPanel(window).SSTabPLU->setEnabled(true);
    ResetTabFrames(window, TabFrames::Enabled);
    showEditorCaptions(window, made->captions, made->values);
    showEditorValues(window, made->values);
    SetEditModeButtons(window);
    SelectPLUTab(window, 1);
    enable(window, "cmdUpdate", true);
    enable(window, "cmdDownload", true);
    QLineEdit* box = pluPanel(window).meditPLU;
    box->setFocus();
    box->selectAll();
}

void cmdCopy_Click(QWidget* window)
{
    FreeNumberProposal proposal;
    if (!ui::tryStep([&] { proposal = CopyPLUCommand(); }, dbReadErr(), window) || !proposal.editMode)
        return;
    QLineEdit* box = pluPanel(window).meditPLU;
    if (proposal.number)
        ui::setText(box, QString::number(*proposal.number));
    SelectPLUTab(window, 1);
    box->setFocus();
    box->selectAll();
}

void cmdCancel_Click(QWidget* window)
{
    WindowHost host(window);
    PluEditorValues values;
    if (ui::tryStep([&] { values = CancelPLUCommand(host); }, dbReadErr(), window))
        showEditorValues(window, values);
    SetEditModeButtons(window);
}

void cmdUpdate_Click(QWidget* window)
{
    WindowHost host(window);
    UpdatedPLU updated;
    if (!ui::tryStep([&] { updated = UpdatePLUCommand(host); }, dbWriteErr(), window))
        return;
    SetEditModeButtons(window);
    if (updated.discount) {
        PluEditorValues before = editorValues(window);
        showDiscountControls(window, *updated.discount);
        showChangedValues(window, before, updated.values);
    }
}

void cmdDlelte_Click(QWidget* window)
{
    WindowHost host(window);
    ui::tryStep([&] { DeletePLUCommand(host); }, dbWriteErr(), window);
}

void cmdDelAll_Click(QWidget* window)
{
    WindowHost host(window);
    enable(window, "cmdDelAll", false);
    ui::tryStep([&] { DeleteAllPLUCommand(host); }, dbWriteErr(), window);
    SetEditModeButtons(window);
}

void cmdUp_Click(QWidget* window) { step(window, -1); }
void cmdDown_Click(QWidget* window) { step(window, 1); }

void cmdReflesh_Click(QWidget* window)
{
    WindowHost host(window);
    ui::tryStep([&] { RefreshPLUCommand(host); }, dbReadErr(), window);
    SetEditModeButtons(window);
}

void cmdSelectAll_Click(QWidget* window) { markAll(window, MarkMode::Mark); }
void cmdClearAll_Click(QWidget* window) { markAll(window, MarkMode::Unmark); }

void cmdFont_Click(QWidget* window) { StringEdit(window, EditName, pluPanel(window).txtName); }
void cmdDescFont_Click(QWidget* window) { StringEdit(window, EditDescription, pluPanel(window).meditDescription); }

void editorBox_GotFocus(QWidget* window, QWidget* control)
{
    auto* box = static_cast<QLineEdit*>(control);
    const PluFieldRule& rule = ruleOf(box);
    const FocusedBox focused = pluFieldGotFocus(rule, box->text(), pluPanel(window).combDiscType->currentIndex());
    if (focused.limit) {
        ui::EditLimit limit = ui::EditLimit().chars(*focused.limit).leadingZero(rule.change);
        limitEdit(box, rule.binaryKeys ? limit.binary() : limit.digits());
    }
    ui::setText(box, focused.text);
    box->selectAll();
}

void editorBox_Change(QWidget*, QWidget* control)
{
    auto* box = static_cast<QLineEdit*>(control);
    const ChangedBox changed = pluFieldChanged(ruleOf(box), box->text());
    if (!changed.caret)
        return;
    ui::setText(box, changed.text);
    box->setCursorPosition(*changed.caret);
}

// Only the controls whose values the rule changed are set again.
void editorBox_LostFocus(QWidget* window, QWidget* control)
{
    const PluFieldRule& rule = ruleOf(control);
    PluEditorValues before = editorValues(window);
    PluEditorValues tab = before;
    WindowHost host(window);
    if (ui::tryStep([&] { pluFieldLostFocus(rule, tab, host); }, dbReadErr(), window))
        showChangedValues(window, before, tab);
}

void editorControl_LostFocus(QWidget* window, QWidget* control)
{
    PluEditorValues before = editorValues(window);
    PluEditorValues tab = before;
    ui::tryStep([&] { pluControlLostFocus(control->objectName(), tab); }, dbReadErr(), window);
    showChangedValues(window, before, tab);
}

} // namespace quorvane::plu
