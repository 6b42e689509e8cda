// The control and menu tables of the main window.

#include "mainwindow/ui/frmMain.h"

#include "platform/ui/Widgets.h"

#include <QFrame>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace quorvane {

using namespace ui;
using W = frmMain;

// The window's own rows: view buttons and tree on the left; on the right the PLU list's buttons, the grid, the
// editor's tab strip with its three pages and frames, the editor's buttons, and the picture panel that stands over
// grid and tab strip in the store view.
QList<Control> frmMain::windowControls()
{
    constexpr int Right = 3840, ButtonHeight = 420;
    return {
        commandButton("cmdStore", {120, 120, 1740, ButtonHeight})
            .tab(1)
            .caption("MainCmdStroe")
            .on(&W::cmdStore_Click)
            .to(&W::cmdStore),
        commandButton("cmdData", {1980, 120, 1740, ButtonHeight})
            .tab(2)
            .caption("MainCmdData")
            .on(&W::cmdData_Click)
            .to(&W::cmdData),
        treeView("treeStoreAndData", {120, 660, 3600, 9120}).tab(3).to(&W::treeStoreAndData),

        commandButton("cmdDisplay", {Right, 120, 1290, ButtonHeight}).tab(4).caption("MainCmdDisplay").to(&W::cmdDisplay),
        commandButton("cmdEdit", {Right + 1390, 120, 1290, ButtonHeight}).tab(5).caption("MainCmdEdit").to(&W::cmdEdit),
        commandButton("cmdSelectAll", {Right + 2780, 120, 1290, ButtonHeight})
            .tab(6)
            .caption("MainCmdSelectAll")
            .to(&W::cmdSelectAll),
        commandButton("cmdClearAll", {Right + 4170, 120, 1290, ButtonHeight})
            .tab(7)
            .caption("MainCmdClearALL")
            .to(&W::cmdClearAll),
        commandButton("cmdSendAll", {Right + 5560, 120, 1290, ButtonHeight})
            .tab(8)
            .caption("MainCmdDownLoad")
            .to(&W::cmdSendAll),
        commandButton("cmdUpload", {Right + 6950, 120, 1290, ButtonHeight})
            .tab(9)
            .caption("MainCmdUpLoad")
            .to(&W::cmdUpload),
        commandButton("cmdDel", {Right + 8340, 120, 1290, ButtonHeight}).tab(10).caption("MainCmdDelete").to(&W::cmdDel),
        commandButton("cmdDelAll", {Right + 9730, 120, 1290, ButtonHeight})
            .tab(11)
            .caption("MainCmdDelAll")
            .to(&W::cmdDelAll),

        flexGrid("MSHFlexGridPLU", {Right, 660, 11040, 3480}).tab(12).to(&W::MSHFlexGridPLU),
        tabStrip("SSTabPLU", {Right, 4260, 11040, 4920}).tab(13).to(&W::SSTabPLU),
        tabPage("pageTAB(1)").in("SSTabPLU"),
        plainFrame("frameTAB(1)", {0, 0, 10920, 4440}).in("pageTAB(1)").to(&W::frameTAB),
        tabPage("pageTAB(2)").in("SSTabPLU"),
        plainFrame("frameTAB(2)", {0, 0, 10920, 4440}).in("pageTAB(2)").to(&W::frameTAB),
        tabPage("pageTAB(3)").in("SSTabPLU"),
        plainFrame("frameTAB(3)", {0, 0, 10920, 4440}).in("pageTAB(3)").to(&W::frameTAB),

        commandButton("cmdNew", {Right, 9360, 1140, ButtonHeight}).tab(14).caption("MainCmdNew").to(&W::cmdNew),
        commandButton("cmdCopy", {Right + 1237, 9360, 1140, ButtonHeight}).tab(15).caption("MainCmdCopy").to(&W::cmdCopy),
        commandButton("cmdUpdate", {Right + 2474, 9360, 1140, ButtonHeight})
            .tab(16)
            .caption("MainCmdUpdate")
            .to(&W::cmdUpdate),
        commandButton("cmdCancel", {Right + 3711, 9360, 1140, ButtonHeight})
            .tab(17)
            .caption("MainCmdCancel")
            .to(&W::cmdCancel),
        commandButton("cmdDlelte", {Right + 4948, 9360, 1140, ButtonHeight})
            .tab(18)
            .caption("MainCmdDelete")
            .to(&W::cmdDlelte),
        commandButton("cmdReflesh", {Right + 6185, 9360, 1140, ButtonHeight})
            .tab(19)
            .caption("MainCmdReflesh")
            .to(&W::cmdReflesh),
        commandButton("cmdUp", {Right + 7422, 9360, 1140, ButtonHeight}).tab(20).caption("MainCmdUP").to(&W::cmdUp),
        commandButton("cmdDown", {Right + 8659, 9360, 1140, ButtonHeight}).tab(21).caption("MainCmdDown").to(&W::cmdDown),
        commandButton("cmdDownload", {Right + 9896, 9360, 1140, ButtonHeight})
            .tab(22)
            .caption("MainCmdDownLoad")
            .to(&W::cmdDownload),

        pictureBox("picMain", {Right, 660, 11040, 8520}).to(&W::picMain),
    };
}

// The PLU editor's rows: its boxes, lists and labels on the pages' frames (.in("frameTAB(1)") to
// .in("frameTAB(3)")). They are created with the window's rows, before ResizeInit records the design geometry.
QList<Control> frmMain::pluEditorControls() { return {}; }

const ControlTable frmMain::kControls{
    .section = "frmMain_cmd",
    .size = {15000, 9900},
    .sizable = true,
    .controls = windowControls() + pluEditorControls(),
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
        menu("menuLanguage", "menuSetting"),
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
