#include "plu/ui/PluHost.h"

#include "platform/ui/MessageBox.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"

#include <QTableWidget>

namespace quorvane::plu {

namespace {
// Not program state: what a test listens with.
PluListObserver gPluListObserver;

// The PLU editor's save; it has nothing to write while the editor has no fields.
void SavePLU(QWidget*) { }
} // namespace

int AskSavePLUChanges(QWidget* window)
{
    PluEditorState& editor = gPluEditor();
    if (editor.gPLUChanged != 1)
        return 0;
    switch (ui::msgBox(gLangMsg.text(QStringLiteral("updatePLU")), ui::MsgIcon::Question, ui::MsgButtons::YesNoCancel,
                       window)) {
    case ui::MsgYes:
        if (auto* grid = window ? window->findChild<QTableWidget*>(QStringLiteral("MSHFlexGridPLU")) : nullptr)
            editor.gCurPLURow = qint16(grid->currentRow() + 1); // the classic row: row 0 is the header
        SavePLU(window);
        SetEditModeButtons(window);
        return 1;
    case ui::MsgNo:
        editor.gPLUChanged = 0;
        SetEditModeButtons(window);
        return 2;
    default:
        return 3;
    }
}

void LoadPLUList(QWidget*, quint8 kind, qint16 storeNo, qint16 deptOrSearchNo, qint16 mgNo)
{
    if (gPluListObserver)
        gPluListObserver(kind, storeNo, deptOrSearchNo, mgNo);
}

void RefreshPLUList(QWidget* window)
{
    const StoreTreeState& t = gStoreTree();
    LoadPLUList(window, t.gCurNodeKind, t.gCurStoreNo, t.gCurDeptNo, t.gCurMGNo);
}

void ApplyPLUEditorCaptions(QWidget*) { }

void ShowPLUInTab(QWidget*, int) { }

void SetEditModeButtons(QWidget*) { }

void SetPLUGridColumnWidths(QWidget*) { }

void ShowTabFrame(QWidget*, int) { }

void observePLUListLoads(PluListObserver observer)
{
    registerStateReset([] { gPluListObserver = nullptr; });
    gPluListObserver = std::move(observer);
}

} // namespace quorvane::plu
