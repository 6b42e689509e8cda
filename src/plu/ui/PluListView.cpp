#include "plu/ui/PluListView.h"

#include "platform/StateReset.h"
#include "platform/events/EventPump.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "plu/PluEditorSetUp.h"
#include "plu/PluList.h"
#include "plu/PluRowBinding.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluEditorHandlers.h"
#include "plu/ui/PluEditorPages.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluWindow.h"
#include "plu/ui/PluWindowHost.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"

#include <QTabWidget>
#include <QTableWidget>

#include <cmath>
#include <memory>

namespace quorvane::plu {

namespace {

// Test seam: what a test listens with; none after a reset of the program state.
PluListObserver gPluListObserver;
const ResetWithState kResetObserver([] { gPluListObserver = nullptr; });

ui::MsgText dbReadErr() { return langMsg(QStringLiteral("dbReadErr")); }
ui::MsgText dbWriteErr() { return langMsg(QStringLiteral("dbWriteErr")); }

bool listHasRows() { return gRsPLU.isOpen() && gRsPLU.recordCount() > 0; }

// The editor shows the listed PLU at that position, cleared first or not.
void showListed(QWidget* window, int position, bool clearFirst)
{
    PluEditorValues tab = editorValues(window);
    if (clearFirst)
        ClearPLUTab(tab);
    if (!ui::tryStep([&] { quorvane::ShowPLUInTab(position, tab); }, dbReadErr(), window))
        return;
    QTabWidget* tabs = pluPanel(window).SSTabPLU;
    tabs->setUpdatesEnabled(false);
    showEditorValues(window, tab);
    tabs->setUpdatesEnabled(true);
}

// The grid's row `row` becomes the PLU shown: its mark "*" in column 0, gCurPLURow, the editor and the buttons.
void showGridRow(QWidget* window, int row)
{
    QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    PluEditorState& s = gPluEditor();
    if (s.gCurPLURow >= 1 && s.gCurPLURow < ui::flexRows(grid))
        ui::setFlexText(grid, s.gCurPLURow, 0, QString());
    selectGridRow(window, row);
    ui::setFlexText(grid, row, 0, QStringLiteral("*"));
    s.gCurPLURow = row;
    showListed(window, row - 1, true);
    SetEditModeButtons(window);
}

// The grid's row `row` is chosen: first the save question for an edited PLU (Cancel puts the highlight back on the
// row shown), then a click's marks (`click`, in mouseColumn), then the row is shown.
void chooseGridRow(QWidget* window, int row, bool click, int mouseColumn)
{
    PluEditorState& s = gPluEditor();
    if (!listHasRows())
        return;
    if (AskSavePLUChanges(window) == SaveAnswer::Cancelled) {
        selectGridRow(window, s.gCurPLURow);
        return;
    }
    if (!listHasRows()) // a save has loaded the list again
        return;
    row = qBound(1, row, gRsPLU.recordCount());
    if (click && s.gHideSelectedCol != 1) {
        if (s.mPLUGridShift != 0) {
            const int anchor = qBound(1, int(s.gCurPLURow), gRsPLU.recordCount());
            selectGridRow(window, row);
            SetPLUSelection(window, qMin(anchor, row), qAbs(anchor - row) + 1, MarkMode::Click);
        } else if (mouseColumn == MarkColumn) {
            selectGridRow(window, row);
            SetPLUSelection(window, row, 1, MarkMode::Click);
        }
    }
    showGridRow(window, row);
}

// An empty list: the editor captioned, cleared, with the main groups of the tree's node.
void showEmptyEditor(QWidget* window)
{
    ApplyPLUEditorCaptions(window);
    PluEditorValues tab = editorValues(window);
    ClearPLUTab(tab);
    ui::tryStep(
        [&] {
            const MGComboFill groups = FillMGCombo(MGChoice::TreeGroup);
            tab.combMG = groups.combMG;
            tab.meditDepartment = groups.meditDepartment;
        },
        dbReadErr(), window);
    showEditorValues(window, tab);
}

} // namespace

QList<ui::FlexColumn> pluGridColumns()
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    return {
        {QString(), 0, left},
        {gLangMainGrid.text(QStringLiteral("MainGrdNo")), 700, left},
        {gLangMainGrid.text(QStringLiteral("MainGrdPLU")), 1300, left},
        {gLangMainGrid.text(QStringLiteral("MainGrdItem")), 1500, left},
        {gLangMainGrid.text(QStringLiteral("MainGrdName")), 4250, left},
        {gLangMainGrid.text(QStringLiteral("MainGrdUP")), 1300, left},
        {gLangMainGrid.text(QStringLiteral("MainGrdSelected")), 300, Qt::AlignCenter},
    };
}

// One grid row from the list query's row: its number, PLU number, item code, the name's first line (only for a PLU
// that has a name), the unit price with the price decimals and the send mark. The even rows' colour is the grid's
// alternate colour.
ui::FlexRowFill pluGridRowFill(const QBrush& buttonFace)
{
    struct Columns {
        int no = -1, item = -1, first = -1, name = -1, price = -1, selected = -1;
    };
    auto at = std::make_shared<Columns>();
    return [at, buttonFace, decimals = gSettings().gPricePoint](const db::Statement& q, int row,
                                                                std::span<QTableWidgetItem* const> cells) {
        if (at->no < 0) {
            for (int c = 0; c < q.columnCount(); ++c) {
                const QString name = q.columnName(c).toLower();
                int* slot = name == QLatin1String("plu_no")       ? &at->no
                    : name == QLatin1String("plu_eanitemcode")    ? &at->item
                    : name == QLatin1String("plu_commodityfirst") ? &at->first
                    : name == QLatin1String("plu_commodity")      ? &at->name
                    : name == QLatin1String("plu_uprice")         ? &at->price
                    : name == QLatin1String("is_selected")        ? &at->selected
                                                                  : nullptr;
                if (slot)
                    *slot = c;
            }
        }
        cells[1]->setText(QString::number(row));
        cells[1]->setBackground(buttonFace);
        cells[2]->setText(QString::number(q.columnInt(at->no)));
        if (const QVariant item = q.column(at->item); !item.isNull())
            cells[3]->setText(item.toString());
        if (!q.column(at->name).isNull())
            cells[4]->setText(q.column(at->first).toString());
        cells[5]->setText(FormatFixedDecimal(qint32(q.columnInt(at->price)), decimals));
        if (q.columnInt(at->selected) == 1)
            cells[MarkColumn]->setText(QStringLiteral("*"));
    };
}

void LoadPLUList(QWidget* window, PluListKind kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)
{
    PluWindow::of(window);
    QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    window->setEnabled(false);
    if (gPluListObserver)
        gPluListObserver(kind, storeNo, deptOrSearchNo, mgNo);
    ui::setupFlexGrid(grid, pluGridColumns(), 1);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    SetPLUGridColumnWidths(window);
    const auto list = [&] {
        const PluListQuery q = OpenPLUList(kind, storeNo, deptOrSearchNo, mgNo);
        db::Statement query = gDBConnection.prepare(q.sql());
        query.bind(q.params);
        ui::fillFlexGrid(grid, query, pluGridRowFill(grid->palette().button()));
    };
    // Dropping the marks of the list shown is a write, and a failed one says so; then no list is shown.
    const bool listed = ui::tryStep(ClearPLUSelection, dbWriteErr(), window) && ui::tryStep(list, dbReadErr(), window);
    if (!listed) { // no list rather than half of one
        gRsPLU.close();
        grid->setRowCount(0);
    }
    const int row = listed ? ChoosePLUListRow() : 0;
    if (row > 0) {
        selectGridRow(window, row);
        showListed(window, row - 1, false);
        ui::setFlexText(grid, row, 0, QStringLiteral("*"));
    } else {
        showEmptyEditor(window);
    }
    ResetTabFrames(window, row > 0 && gPluEditor().gHideSelectedCol == 1 ? TabFrames::Enabled : TabFrames::Disabled);
    pluPanel(window).SSTabPLU->setEnabled(row > 0);
    SetEditModeButtons(window);
    SetBarcodeFlagControls(window);
    window->setEnabled(true);
}

void RefreshPLUList(QWidget* window)
{
    const StoreTreeState& t = gStoreTree();
    LoadPLUList(window, t.gCurNodeKind, t.gCurStoreNo, t.gCurDeptNo, t.gCurMGNo);
}

void ShowPLUInTab(QWidget* window, int position) { showListed(window, position, false); }

void selectGridRow(QWidget* window, int row)
{
    QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    if (row < 1 || row >= ui::flexRows(grid))
        return;
    grid->setCurrentCell(row - 1, 1);
    grid->selectRow(row - 1);
}

void SetPLUGridColumnWidths(QWidget* window)
{
    QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    // Of 9615 parts of the grid's width; the 265 left over stay an empty strip at the right.
    constexpr int Parts[] = {0, 700, 1300, 1500, 4250, 1300, 300};
    if (grid->columnCount() != int(std::size(Parts)))
        grid->setColumnCount(int(std::size(Parts)));
    const double width = grid->width();
    for (int c = 0; c < int(std::size(Parts)); ++c) {
        const int parts = c == MarkColumn && gPluEditor().gHideSelectedCol != 0 ? 0 : Parts[c];
        grid->setColumnWidth(c, int(std::lround(width * parts / 9615)));
    }
}

void SetPLUSelection(QWidget* window, int startRow, int count, MarkMode mode)
{
    QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    const int current = grid->currentRow() + 1;
    const int rows = ui::flexRows(grid) - 1;
    // Marking all or none returns to the row shown; a click stays on its row.
    const int showRow = mode == MarkMode::Click ? current : gPluEditor().gCurPLURow;
    const bool single = mode == MarkMode::Click && count < 2;
    window->setEnabled(false);
    std::optional<int> value;
    ui::tryStep(
        [&] {
            value = quorvane::SetPLUSelection(startRow, count, mode,
                                              ui::flexText(grid, current, MarkColumn) == QLatin1String("*"), showRow);
        },
        dbWriteErr(), window);
    if (value) {
        const QString mark = *value == 1 ? QStringLiteral("*") : QString();
        grid->setUpdatesEnabled(false);
        EventPump pump;
        const int first = single ? current : qMax(startRow, 1);
        const int last = single ? current : qMin(startRow + count - 1, rows);
        for (int r = first; r <= last; ++r) {
            ui::setFlexText(grid, r, MarkColumn, mark);
            pump();
        }
        grid->setUpdatesEnabled(true);
        selectGridRow(window, showRow);
    }
    window->setEnabled(true);
    bool marked = false;
    if (ui::tryStep([&] { marked = CountSelectedPLU(); }, dbReadErr(), window))
        for (const char* name : {"cmdSendAll", "menuDownload"})
            enableCommand(window, QLatin1String(name), marked);
    grid->setFocus();
}

void MSHFlexGridPLU_Click(QWidget* window)
{
    const QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    chooseGridRow(window, grid->currentRow() + 1, true, grid->currentColumn());
}

void MSHFlexGridPLU_HeaderClick(QWidget* window)
{
    if (!listHasRows())
        return;
    selectGridRow(window, 1);
    chooseGridRow(window, 1, true, -1);
}

void MSHFlexGridPLU_RowChosen(QWidget* window)
{
    const int row = pluPanel(window).MSHFlexGridPLU->currentRow() + 1;
    if (row >= 1 && row != gPluEditor().gCurPLURow)
        chooseGridRow(window, row, false, -1);
}

void MSHFlexGridPLU_KeyDown(QWidget*, bool shift)
{
    if (shift)
        gPluEditor().mPLUGridShift = -1;
}

void MSHFlexGridPLU_KeyUp(QWidget*) { gPluEditor().mPLUGridShift = 0; }

void observePLUListLoads(PluListObserver observer) { gPluListObserver = std::move(observer); }

} // namespace quorvane::plu
