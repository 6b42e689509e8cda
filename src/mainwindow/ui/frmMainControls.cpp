// The control and menu tables of the main window.

#include "mainwindow/ui/frmMain.h"

#include "platform/ui/Widgets.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluTransferCommands.h"

#include <QFrame>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace quorvane {

using namespace ui;
using W = frmMain;

// The window's own rows: view buttons and tree on the left; on the right the PLU list's buttons and the editor's
// buttons. The PLU panel's rows (the grid, the tab strip with its pages and frames, the editor's controls on them)
// follow, captioned from frmMain_sstab through kPluEditor, and last the picture panel that stands over grid and tab
// strip in the store view.
QList<Control> frmMain::windowControls()
{
    // A command button, 420 twips high, with its place in the tab order and its caption key.
    const auto button = [](const char* name, int left, int top, int width, int tab, const char* key) {
        return commandButton(name, {left, top, width, 420}).tab(tab).caption(key);
    };
    constexpr int Right = 3840, ListRow = 120, EditRow = 9360, List = 1390, Edit = 1237;
    // clang-format off
    return {
        button("cmdStore", 120, ListRow, 1740, 1, "MainCmdStroe").on(&W::cmdStore_Click).to(&W::cmdStore),
        button("cmdData", 1980, ListRow, 1740, 2, "MainCmdData").on(&W::cmdData_Click).to(&W::cmdData),
        treeView("treeStoreAndData", {120, 660, 3600, 9120}).tab(3).to(&W::treeStoreAndData),

        button("cmdDisplay", Right, ListRow, 1290, 4, "MainCmdDisplay").on(&plu::cmdDisplay_Click).to(&W::cmdDisplay),
        button("cmdEdit", Right + List, ListRow, 1290, 5, "MainCmdEdit").on(&plu::cmdEdit_Click).to(&W::cmdEdit),
        button("cmdSelectAll", Right + 2 * List, ListRow, 1290, 6, "MainCmdSelectAll").on(&plu::cmdSelectAll_Click).to(&W::cmdSelectAll),
        button("cmdClearAll", Right + 3 * List, ListRow, 1290, 7, "MainCmdClearALL").on(&plu::cmdClearAll_Click).to(&W::cmdClearAll),
        button("cmdSendAll", Right + 4 * List, ListRow, 1290, 8, "MainCmdDownLoad").on(&plu::cmdSendAll_Click).to(&W::cmdSendAll),
        button("cmdUpload", Right + 5 * List, ListRow, 1290, 9, "MainCmdUpLoad").on(&plu::cmdUpload_Click).to(&W::cmdUpload),
        button("cmdDel", Right + 6 * List, ListRow, 1290, 10, "MainCmdDelete").on(&plu::cmdDel_Click).to(&W::cmdDel),
        button("cmdDelAll", Right + 7 * List, ListRow, 1290, 11, "MainCmdDelAll").on(&plu::cmdDelAll_Click).to(&W::cmdDelAll),

        button("cmdNew", Right, EditRow, 1140, 14, "MainCmdNew").on(&plu::cmdNew_Click).to(&W::cmdNew),
        button("cmdCopy", Right + Edit, EditRow, 1140, 15, "MainCmdCopy").on(&plu::cmdCopy_Click).to(&W::cmdCopy),
        button("cmdUpdate", Right + 2 * Edit, EditRow, 1140, 16, "MainCmdUpdate").on(&plu::cmdUpdate_Click).to(&W::cmdUpdate),
        button("cmdCancel", Right + 3 * Edit, EditRow, 1140, 17, "MainCmdCancel").on(&plu::cmdCancel_Click).to(&W::cmdCancel),
        button("cmdDlelte", Right + 4 * Edit, EditRow, 1140, 18, "MainCmdDelete").on(&plu::cmdDlelte_Click).to(&W::cmdDlelte),
        button("cmdReflesh", Right + 5 * Edit, EditRow, 1140, 19, "MainCmdReflesh").on(&plu::cmdReflesh_Click).to(&W::cmdReflesh),
        button("cmdUp", Right + 6 * Edit, EditRow, 1140, 20, "MainCmdUP").on(&plu::cmdUp_Click).to(&W::cmdUp),
        button("cmdDown", Right + 7 * Edit, EditRow, 1140, 21, "MainCmdDown").on(&plu::cmdDown_Click).to(&W::cmdDown),
        button("cmdDownload", Right + 8 * Edit, EditRow, 1140, 22, "MainCmdDownLoad").on(&plu::cmdDownload_Click).to(&W::cmdDownload),
    };
    // clang-format on
}

const ControlTable frmMain::kPluEditor{
    .section = "frmMain_sstab",
    .size = QSize(), // never a window of its own
    .sizable = false,
    .controls = plu::pluPanelRows(),
};

const ControlTable frmMain::kControls{
    .section = "frmMain_cmd",
    .size = {15000, 9900},
    .sizable = true,
    .controls = windowControls() + uncaptioned(plu::pluPanelRows())
        + QList<Control>{pictureBox("picMain", {3840, 660, 11040, 8520}).to(&W::picMain)},
};

const MenuTable frmMain::kMenus{
    "frmMain_Menu",
    {
        menu("menuFile"),
        menu("menuNew", "menuFile"),
        menu("menuStore", "menuNew").on(&W::menuStore_Click),
        menu("menuSection", "menuNew").on(&W::menuSection_Click),
        menu("menuMachine", "menuNew").on(&W::menuMachine_Click),
        menu("menuDept", "menuNew").on(&W::menuDept_Click),
        menu("menuMg", "menuNew").on(&W::menuMg_Click),
        menu("menuSearch", "menuNew").on(&W::menuSearch_Click),
        separator("menuFile"),
        menu("menuExit", "menuFile").on(&W::menuExit_Click),
        menu("menuEdit"),
        menu("menuDownloadDept", "menuEdit").on(&W::menuDownloadDept_Click),
        menu("menuDownloadMG", "menuEdit").on(&W::menuDownloadMG_Click),
        menu("menuProperties", "menuEdit").on(&W::menuProperties_Click),
        menu("menuDelete", "menuEdit").on(&W::menuDelete_Click),
        menu("menuSetting"),
        menu("menuDataFormat", "menuSetting").on(&W::menuDataFormat_Click),
        menu("menuLanguage", "menuSetting").on(&W::menuLanguage_Click),
        menu("menuEnglish", "menuLanguage").checkable().on(&W::menuEnglish_Click),
        menu("menuChinese", "menuLanguage").checkable().on(&W::menuChinese_Click),
        menu("menuOther", "menuLanguage").caption("menuOthers").checkable().on(&W::menuOther_Click),
        menu("menuPlu"),
        menu("menuDownload", "menuPlu").caption("menuDownLoad").on(&W::menuDownload_Click),
        menu("menuUpload", "menuPlu").caption("menuUpLoad").on(&W::menuUpload_Click),
        menu("menuDeletePlu", "menuPlu").on(&W::menuDeletePlu_Click),
        menu("menuTool"),
        menu("menuLanguageTranslate", "menuTool").on(&W::menuLanguageTranslate_Click),
        menu("menuEditFlexiBarcode", "menuTool").on(&W::menuEditFlexiBarcode_Click),
        menu("menuEditPresetKey", "menuTool").on(&W::menuEditPresetKey_Click),
        menu("menuImportOrExport", "menuTool").on(&W::menuImportOrExport_Click),
        menu("menuExportReport", "menuTool").on(&W::menuExportReport_Click),
        menu("menuResetReport", "menuTool").on(&W::menuResetReport_Click),
        menu("menuScrollMSG", "menuTool").on(&W::menuScrollMSG_Click),
        menu("menuEditOtherFiles", "menuTool").on(&W::menuEditOtherFiles_Click),
        menu("popmenu").popup().caption(nullptr),
        menu("popmenuNewStore", "popmenu").on(&W::popmenuNewStore_Click),
        menu("popmenuNewSection", "popmenu").on(&W::popmenuNewSection_Click),
        menu("popmenuNewMachine", "popmenu").on(&W::popmenuNewMachine_Click),
        menu("popmenuNewDept", "popmenu").on(&W::popmenuNewDept_Click),
        menu("popmenuNewMG", "popmenu").caption("popmenuNewMg").on(&W::popmenuNewMG_Click),
        menu("popmenuNewSearch", "popmenu").on(&W::popmenuNewSearch_Click),
        menu("popmenuDownloadDept", "popmenu").on(&W::popmenuDownloadDept_Click),
        menu("popmenuDownloadMG", "popmenu").on(&W::popmenuDownloadMG_Click),
        menu("popmenuProperties", "popmenu").on(&W::popmenuProperties_Click),
        menu("popmenuDelete", "popmenu").on(&W::popmenuDelete_Click),
        menu("menuHelp"),
        menu("menuSoftwareHelp", "menuHelp").shortcut("F1").on(&W::menuSoftwareHelp_Click),
        menu("menuSoftwareVersion", "menuHelp").on(&W::menuSoftwareVersion_Click),
    },
};

} // namespace quorvane
