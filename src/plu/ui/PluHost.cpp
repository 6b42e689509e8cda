#include "plu/ui/PluHost.h"

#include "platform/StateReset.h"
#include "platform/events/EventPump.h"
#include "platform/ui/ControlTable.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluList.h"
#include "plu/ui/PluEditorWindow.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluWindow.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SharedData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>

#include <cmath>
#include <memory>

namespace quorvane::plu {

namespace {

// Test seams: what a test listens with; none after a reset of the program state.
PluListObserver gPluListObserver;
EditorHandlerObserver gEditorHandlerObserver;
const ResetWithState kResetObservers([] {
    gPluListObserver = nullptr;
    gEditorHandlerObserver = nullptr;
});

QString dbReadErr() { return gLangMsg.text(QStringLiteral("dbReadErr")); }
QString dbWriteErr() { return gLangMsg.text(QStringLiteral("dbWriteErr")); }

bool listHasRows() { return gRsPLU.isOpen() && gRsPLU.recordCount() > 0; }

QList<ui::FlexColumn> gridColumns()
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
ui::FlexRowFill listRowFill(const QBrush& buttonFace)
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

QList<QFrame*> pageFrames(QWidget* window) { return pluPanel(window).frameTAB.elements(); }

// A page (1 to 3) the frame array lacks gives none.
QFrame* pageFrame(QWidget* window, int page) { return pluPanel(window).frameTAB(page); }

// The page's controls in the order Tab visits them; the member-discount type after its four amounts, which keep
// places 14 to 17. None for a page outside 1 to 3.
QList<QWidget*> pageTabOrder(const PluPanel& p, int page)
{
    switch (page) {
    case 1:
        return {p.meditPLU,        p.cmdFont,         p.cmdDescFont,    p.meditUPrice,     p.meditTare,
                p.meditCoupledPLU, p.combSymbol,      p.chkWeighed,     p.chkUPoverride,   p.chknegativePLU,
                p.meditDepartment, p.combMG,          p.meditCost,      p.meditMemDisc(1), p.meditMemDisc(2),
                p.meditMemDisc(3), p.meditMemDisc(4), p.combMemDiscType};
    case 2:
        return {p.meditItemCode, p.combBarcodeFormat, p.meditFlagCode1,  p.meditFlagCode2, p.combRSData,  p.meditTaxNum,
                p.meditTax2Num,  p.meditDiscScheNum,  p.meditPriScheNum, p.meditIngrNum,   p.meditSMsgNum};
    case 3:
        return {p.combDiscType,    p.DTPickerStartDate,  p.DTPickerStartTime, p.DTPickerEndDate,
                p.DTPickerEndTime, p.meditDiscDayOfWeek, p.meditDiscLimit1,   p.meditDiscLmtPer1,
                p.meditDiscLimit2, p.meditDiscLmtPer2,   p.chkPricePriority};
    default:
        return {};
    }
}

void editorHandlerRan(const char* name)
{
    if (gEditorHandlerObserver)
        gEditorHandlerObserver(QLatin1String(name));
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

SaveAnswer AskSavePLUChanges(QWidget* window)
{
    SaveAnswer result = SaveAnswer::Cancelled;
    WindowHost host(window);
    if (!ui::tryStep([&] { result = quorvane::AskSavePLUChanges(host); }, dbWriteErr(), window))
        return SaveAnswer::Cancelled; // nothing was saved: the edit stays, and the caller stops
    return result;
}

void LoadPLUList(QWidget* window, quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)
{
    PluWindow::of(window);
    QTableWidget* grid = pluPanel(window).MSHFlexGridPLU;
    window->setEnabled(false);
    if (gPluListObserver)
        gPluListObserver(kind, storeNo, deptOrSearchNo, mgNo);
    ui::setupFlexGrid(grid, gridColumns(), 1);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    SetPLUGridColumnWidths(window);
    const auto list = [&] {
        const PluListQuery q = OpenPLUList(kind, storeNo, deptOrSearchNo, mgNo);
        db::Statement query = gDBConnection.prepare(q.sql());
        query.bind(q.params);
        ui::fillFlexGrid(grid, query, listRowFill(grid->palette().button()));
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

void ApplyPLUEditorCaptions(QWidget* window)
{
    PluEditorValues tab = editorValues(window);
    const PluEditorCaptions captions = quorvane::ApplyPLUEditorCaptions(tab, QDate::currentDate());
    showEditorCaptions(window, captions, tab);
    showEditorValues(window, tab);
}

void ShowPLUInTab(QWidget* window, int position) { showListed(window, position, false); }

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

void ShowTabFrame(QWidget* window, int page)
{
    for (QFrame* frame : pageFrames(window))
        frame->hide();
    if (QFrame* frame = pageFrame(window, page))
        frame->show();
    const PluPanel& p = pluPanel(window);
    const QList<QWidget*> controls = pageTabOrder(p, page);
    if (controls.isEmpty())
        return;
    // From the tab strip through the page to the editor's buttons.
    ui::setTabOrder(QList<QWidget*>{p.SSTabPLU} + controls
                    + QList<QWidget*>{pluButton(window, QStringLiteral("cmdNew"))});
}

void SelectPLUTab(QWidget* window, int page)
{
    ui::setTab(pluPanel(window).SSTabPLU, page - 1);
    for (QFrame* frame : pageFrames(window))
        frame->hide();
    if (QFrame* frame = pageFrame(window, page))
        frame->show();
    gPluEditor().gCurPLUTab = qint16(page);
}

void ResetTabFrames(QWidget* window, TabFrames frames)
{
    for (QFrame* frame : pageFrames(window))
        frame->setEnabled(frames == TabFrames::Enabled);
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

void DeletePLU(QWidget* window)
{
    WindowHost host(window);
    ui::tryStep([&] { quorvane::DeletePLU(host); }, dbWriteErr(), window);
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

void SSTabPLU_Click(QWidget* window)
{
    PluEditorState& s = gPluEditor();
    const PluPanel& p = pluPanel(window);
    const int page = p.SSTabPLU->currentIndex() + 1;
    if (page == s.gCurPLUTab)
        return;
    if (QFrame* frame = pageFrame(window, page))
        frame->show();
    if (QFrame* frame = pageFrame(window, s.gCurPLUTab))
        frame->hide();
    s.gCurPLUTab = qint16(page);
    ShowTabFrame(window, page);
    if (s.gHideSelectedCol != 1)
        return;
    if (page == 1) {
        p.meditPLU->setFocus();
        combMemDiscType_Click(window);
    } else if (page == 2) {
        p.meditItemCode->setFocus();
    } else if (page == 3) {
        p.combDiscType->setFocus();
        combDiscType_Click(window);
    }
}

void SetBarcodeFlagControls(QWidget* window)
{
    PluEditorValues tab = editorValues(window);
    records::BarcodeControls barcode;
    if (ui::tryStep(
            [&] {
                barcode = records::SetBarcodeFlagControls(tab.combBarcodeFormat, gPluEditor().gHideSelectedCol, gRsPLU,
                                                          tab.barcode);
            },
            dbReadErr(), window))
        showBarcodeControls(window, barcode);
}

void chkWeighed_Click(QWidget* window)
{
    PluEditorValues before = editorValues(window);
    PluEditorValues tab = before;
    const bool negativeEnabled = WeighedClick(tab);
    showUnitLabels(window, tab.units);
    before.combSymbol = -2; // the unit list was filled again: its position is set in any case
    showChangedValues(window, before, tab);
    pluPanel(window).chknegativePLU->setEnabled(negativeEnabled);
}

void combMemDiscType_Click(QWidget* window)
{
    editorHandlerRan("combMemDiscType_Click");
    PluEditorValues before = editorValues(window);
    PluEditorValues tab = before;
    if (const std::optional<bool> percent = MemDiscTypeClick(tab)) {
        showMemberPercent(window, *percent);
        showChangedValues(window, before, tab);
    }
}

void combDiscType_Click(QWidget* window)
{
    editorHandlerRan("combDiscType_Click");
    PluEditorValues before = editorValues(window);
    PluEditorValues tab = before;
    if (const std::optional<DiscountTypeControls> controls = DiscTypeClick(tab)) {
        showDiscountControls(window, *controls);
        showChangedValues(window, before, tab);
    }
}

void combBarcodeFormat_Click(QWidget* window)
{
    editorHandlerRan("combBarcodeFormat_Click");
    const PluPanel& p = pluPanel(window);
    p.lblReference->setText(referenceLabel(p.combBarcodeFormat->currentText(), p.combBarcodeFormat->currentIndex()));
    SetBarcodeFlagControls(window);
}

void observePLUListLoads(PluListObserver observer) { gPluListObserver = std::move(observer); }

void observeEditorHandlers(EditorHandlerObserver observer) { gEditorHandlerObserver = std::move(observer); }

QList<ui::FlexColumn> pluGridColumns() { return gridColumns(); }
ui::FlexRowFill pluGridRowFill(const QBrush& buttonFace) { return listRowFill(buttonFace); }

} // namespace quorvane::plu
