#include "plu/ui/PluButtons.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/MenuTable.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluButtonStates.h"
#include "plu/PluCommands.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluEditorHandlers.h"
#include "plu/ui/PluEditorPages.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluWindowHost.h"
#include "plu/ui/frmStringEdit.h"
#include "settings/ui/LangMsg.h"
#include "state/PluEditorState.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace quorvane::plu {

namespace {

ui::MsgText dbReadErr() { return langMsg(QStringLiteral("dbReadErr")); }
ui::MsgText dbWriteErr() { return langMsg(QStringLiteral("dbWriteErr")); }

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

void SetEditModeButtons(QWidget* window)
{
    const QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    QList<ButtonState> states;
    if (!ui::tryStep([&] { states = quorvane::SetEditModeButtons(grid->currentRow() + 1, ui::flexRows(grid)); },
                     dbReadErr(), window))
        return;
    for (const ButtonState& b : std::as_const(states))
        enableCommand(window, b.objectName, b.enabled);
}

QPushButton* pluButton(QWidget* window, const QString& objectName)
{
    auto* button = window->findChild<QPushButton*>(objectName);
    if (!button)
        qFatal("Window %s has no PLU button %s", qPrintable(window->objectName()), qPrintable(objectName));
    return button;
}

void enableCommand(QWidget* window, const QString& objectName, bool enabled)
{
    if (QAction* entry = ui::menuEntry(window, objectName))
        entry->setEnabled(enabled);
    else
        pluButton(window, objectName)->setEnabled(enabled);
}

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
    SelectPLUTab(window, PluEditorPage::Basic);
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
    SelectPLUTab(window, PluEditorPage::Basic);
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

} // namespace quorvane::plu
