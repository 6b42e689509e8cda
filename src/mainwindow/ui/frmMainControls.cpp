// The control and menu tables of the main window.

#include "mainwindow/ui/frmMain.h"

#include "platform/ui/Widgets.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluHost.h"
#include "plu/ui/PluTransferCommands.h"

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
    // A command button, 420 twips high, with its place in the tab order and its caption key.
    const auto button = [](const char* name, int left, int top, int width, int tab, const char* key) {
        return commandButton(name, {left, top, width, 420}).tab(tab).caption(key);
    };
    constexpr int Right = 3840, ListRow = 120, EditRow = 9360, List = 1390, Edit = 1237;
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

        flexGrid("MSHFlexGridPLU", {Right, 660, 11040, 3480})
            .tab(12)
            .on(&plu::MSHFlexGridPLU_Click)
            .to(&W::MSHFlexGridPLU),
        tabStrip("SSTabPLU", {Right, 4260, 11040, 4920}).tab(13).on(&plu::SSTabPLU_Click).to(&W::SSTabPLU),
        tabPage("pageTAB(1)").in("SSTabPLU"),
        plainFrame("frameTAB(1)", {0, 0, 10920, 4440}).in("pageTAB(1)").to(&W::frameTAB),
        tabPage("pageTAB(2)").in("SSTabPLU"),
        plainFrame("frameTAB(2)", {0, 0, 10920, 4440}).in("pageTAB(2)").to(&W::frameTAB),
        tabPage("pageTAB(3)").in("SSTabPLU"),
        plainFrame("frameTAB(3)", {0, 0, 10920, 4440}).in("pageTAB(3)").to(&W::frameTAB),

        button("cmdNew", Right, EditRow, 1140, 14, "MainCmdNew").on(&plu::cmdNew_Click).to(&W::cmdNew),
        button("cmdCopy", Right + Edit, EditRow, 1140, 15, "MainCmdCopy").on(&plu::cmdCopy_Click).to(&W::cmdCopy),
        button("cmdUpdate", Right + 2 * Edit, EditRow, 1140, 16, "MainCmdUpdate").on(&plu::cmdUpdate_Click).to(&W::cmdUpdate),
        button("cmdCancel", Right + 3 * Edit, EditRow, 1140, 17, "MainCmdCancel").on(&plu::cmdCancel_Click).to(&W::cmdCancel),
        button("cmdDlelte", Right + 4 * Edit, EditRow, 1140, 18, "MainCmdDelete").on(&plu::cmdDlelte_Click).to(&W::cmdDlelte),
        button("cmdReflesh", Right + 5 * Edit, EditRow, 1140, 19, "MainCmdReflesh").on(&plu::cmdReflesh_Click).to(&W::cmdReflesh),
        button("cmdUp", Right + 6 * Edit, EditRow, 1140, 20, "MainCmdUP").on(&plu::cmdUp_Click).to(&W::cmdUp),
        button("cmdDown", Right + 7 * Edit, EditRow, 1140, 21, "MainCmdDown").on(&plu::cmdDown_Click).to(&W::cmdDown),
        button("cmdDownload", Right + 8 * Edit, EditRow, 1140, 22, "MainCmdDownLoad").on(&plu::cmdDownload_Click).to(&W::cmdDownload),

        pictureBox("picMain", {Right, 660, 11040, 8520}).to(&W::picMain),
    };
}

// The PLU editor's rows: its boxes, lists and labels on the pages' frames (.in("frameTAB(1)") to .in("frameTAB(3)")),
// captioned from frmMain_sstab. They are created with the window's rows, before ResizeInit records the design
// geometry. The lists and date pickers stand where the resizer's realignment puts them at the design size.
QList<Control> frmMain::pluEditorControls()
{
    constexpr int H = 345; // one line
    constexpr const char* Basic = "frameTAB(1)";
    constexpr const char* Codes = "frameTAB(2)";
    constexpr const char* Discount = "frameTAB(3)";
    return {
        // Page 1: the PLU, its price and unit, main group, cost and member prices.
        label("lblPLU", {120, 120, 1500, H}).in(Basic).caption("MainTabPLU"),
        maskedEdit("meditPLU", {1740, 120, 1500, H}).in(Basic),
        label("lblName", {120, 525, 1500, H}).in(Basic).caption("MainTabName"),
        textBox("txtName", {1740, 525, 4500, H}).in(Basic),
        commandButton("cmdFont", {6300, 525, 450, H}).in(Basic).on(&plu::cmdFont_Click),
        label("lblDescription", {120, 930, 1500, H}).in(Basic).caption("MainTabDesc"),
        maskedEdit("meditDescription", {1740, 930, 4500, H}).in(Basic),
        commandButton("cmdDescFont", {6300, 930, 450, H}).in(Basic).on(&plu::cmdDescFont_Click),
        label("lblUPrice", {120, 1335, 1500, H}).in(Basic).caption("MainTabUP"),
        maskedEdit("meditUPrice", {1740, 1335, 1500, H}).in(Basic),
        label("lblPriceUnit(0)", {3300, 1335, 600, H}).in(Basic),
        comboBox("combSymbol", {3990, 1335, 2700, H}).in(Basic),
        label("lblTare", {120, 1740, 1500, H}).in(Basic).caption("MainTabTare"),
        maskedEdit("meditTare", {1740, 1740, 1500, H}).in(Basic),
        label("lblTareG", {3300, 1740, 600, H}).in(Basic).caption("MainTabTareG"),
        checkBox("chkWeighed", {3990, 1740, 2700, H}).in(Basic).caption("MainTabWeighted").on(&plu::chkWeighed_Click),
        label("lblCoupledPLU", {120, 2145, 1500, H}).in(Basic).caption("MainTabCoupledPLU"),
        maskedEdit("meditCoupledPLU", {1740, 2145, 1500, H}).in(Basic),
        checkBox("chkUPoverride", {3990, 2145, 2700, H}).in(Basic).caption("MainTabUPOV"),
        label("lblDepartment", {120, 2550, 1500, H}).in(Basic).caption("MainTabDepartment"),
        maskedEdit("meditDepartment", {1740, 2550, 1500, H}).in(Basic),
        checkBox("chknegativePLU", {3990, 2550, 2700, H}).in(Basic).caption("MainTabNPLU"),
        label("lblMG", {120, 2955, 1500, H}).in(Basic).caption("MainTabMG"),
        comboBox("combMG", {1740, 2965, 1500, H}).in(Basic),
        label("lblCost", {120, 3360, 1500, H}).in(Basic).caption("MainTabCost"),
        maskedEdit("meditCost", {1740, 3360, 1500, H}).in(Basic),
        label("lblMemDiscType", {6990, 120, 3600, H}).in(Basic).caption("MainTabMemDiscType"),
        comboBox("combMemDiscType", {6990, 475, 3600, H}).in(Basic).on(&plu::combMemDiscType_Click),
        label("lblMemDisc(1)", {6990, 930, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(1)", {8850, 930, 1500, H}).in(Basic),
        label("lblMemDiscPerSym(0)", {10410, 930, 390, H}).in(Basic).caption("MainTabDiscPer"),
        label("lblMemDisc(2)", {6990, 1335, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(2)", {8850, 1335, 1500, H}).in(Basic),
        label("lblMemDiscPerSym(1)", {10410, 1335, 390, H}).in(Basic).caption("MainTabDiscPer"),
        label("lblMemDisc(3)", {6990, 1740, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(3)", {8850, 1740, 1500, H}).in(Basic),
        label("lblMemDiscPerSym(2)", {10410, 1740, 390, H}).in(Basic).caption("MainTabDiscPer"),
        label("lblMemDisc(4)", {6990, 2145, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(4)", {8850, 2145, 1500, H}).in(Basic),
        label("lblMemDiscPerSym(3)", {10410, 2145, 390, H}).in(Basic).caption("MainTabDiscPer"),

        // Page 2: the barcode (Frame5), taxes, schedules, ingredient and special message.
        frame("Frame5", {120, 60, 10680, 1560}).in(Codes),
        label("lblItemCode", {120, 255, 1500, H}).in("Frame5").caption("MainTabItemCode"),
        maskedEdit("meditItemCode", {1740, 255, 1800, H}).in("Frame5"),
        comboBox("combRSData", {4740, 265, 1800, H}).in("Frame5"),
        label("lblBarCodeFormat", {120, 660, 1500, H}).in("Frame5").caption("MainTabBarFormat"),
        comboBox("combBarcodeFormat", {1740, 670, 4800, H}).in("Frame5").on(&plu::combBarcodeFormat_Click),
        label("lblReference", {6660, 670, 3900, H}).in("Frame5"),
        label("lblFlagCode", {120, 1065, 1500, H}).in("Frame5").caption("MainTabFlagCode"),
        maskedEdit("meditFlagCode1", {1740, 1065, 330, H}).in("Frame5"),
        maskedEdit("meditFlagCode2", {2190, 1065, 330, H}).in("Frame5"),
        frame("Frame3", {120, 1740, 3480, 1140}).in(Codes),
        label("lblTaxNum", {120, 255, 2100, H}).in("Frame3").caption("MainTabTaxNum"),
        maskedEdit("meditTaxNum", {2340, 255, 960, H}).in("Frame3"),
        label("lblTax2Num", {120, 660, 2100, H}).in("Frame3").caption("MainTabTax2Num"),
        maskedEdit("meditTax2Num", {2340, 660, 960, H}).in("Frame3"),
        frame("Frame4", {3720, 1740, 3480, 1140}).in(Codes),
        label("lblDiscScheNum", {120, 255, 2100, H}).in("Frame4").caption("MainTabDiscScheNum"),
        maskedEdit("meditDiscScheNum", {2340, 255, 960, H}).in("Frame4"),
        label("lblPriScheNum", {120, 660, 2100, H}).in("Frame4").caption("MainTabPriScheNum"),
        maskedEdit("meditPriScheNum", {2340, 660, 960, H}).in("Frame4"),
        frame("Frame8", {7320, 1740, 3480, 1140}).in(Codes),
        label("lblIngrNum", {120, 255, 2100, H}).in("Frame8").caption("MainTabIngrNum"),
        maskedEdit("meditIngrNum", {2340, 255, 960, H}).in("Frame8"),
        label("lblSMsgNum", {120, 660, 2100, H}).in("Frame8").caption("MainTabSMsgNum"),
        maskedEdit("meditSMsgNum", {2340, 660, 960, H}).in("Frame8"),

        // Page 3: the discount, its period and days, its two limits.
        frame("Frame2", {120, 60, 3000, 1560}).in(Discount),
        label("lblDiscType", {120, 255, 2760, H}).in("Frame2").caption("MainTabTypeDisc"),
        comboBox("combDiscType", {120, 610, 2760, H}).in("Frame2").on(&plu::combDiscType_Click),
        checkBox("chkPricePriority", {120, 1065, 2760, H}).in("Frame2").caption("MainTabPriPriority"),
        frame("Frame1", {3240, 60, 7560, 1560}).in(Discount),
        label("lblStartDate", {120, 255, 1800, H}).in("Frame1").caption("MainTabStartDate"),
        datePicker("DTPickerStartDate", {1920, 265, 1800, H}).in("Frame1"),
        label("lblEndDate", {3960, 255, 1320, H}).in("Frame1").caption("MainTabEndDate"),
        datePicker("DTPickerEndDate", {5280, 265, 1800, H}).in("Frame1"),
        label("lblStartTime", {120, 660, 1800, H}).in("Frame1").caption("MainTabStartTime"),
        timePicker("DTPickerStartTime", {1920, 670, 1800, H}).in("Frame1"),
        label("lblEndTime", {3960, 660, 1320, H}).in("Frame1").caption("MainTabEndTime"),
        timePicker("DTPickerEndTime", {5280, 670, 1800, H}).in("Frame1"),
        label("lblDiscDayOfWeek", {120, 1065, 1800, H}).in("Frame1").caption("MainTabDiscDayOfWeek"),
        maskedEdit("meditDiscDayOfWeek", {1920, 1065, 1500, H}).in("Frame1"),
        label("lblDiscDay", {3540, 1065, 2000, H}).in("Frame1").caption("MainTabDiscDay"),
        frame("FrameDisc1", {120, 1740, 5280, 1140}).in(Discount),
        label("lblDiscLmt1", {120, 255, 2400, H}).in("FrameDisc1").caption("MainTabDiscLmt1"),
        maskedEdit("meditDiscLimit1", {2640, 255, 1500, H}).in("FrameDisc1"),
        label("lblDiscLimit1G", {4260, 255, 900, H}).in("FrameDisc1").caption("MainTabDiscG"),
        label("lblDiscLmtPer1", {120, 660, 2400, H}).in("FrameDisc1").caption("MainTabDiscAmt1"),
        maskedEdit("meditDiscLmtPer1", {2640, 660, 1500, H}).in("FrameDisc1"),
        label("lblDiscLmtPerSym1", {4260, 660, 900, H}).in("FrameDisc1").caption("MainTabDiscPer"),
        frame("FrameDisc2", {5520, 1740, 5280, 1140}).in(Discount),
        label("lblDiscLmt2", {120, 255, 2400, H}).in("FrameDisc2").caption("MainTabDiscLmt2"),
        maskedEdit("meditDiscLimit2", {2640, 255, 1500, H}).in("FrameDisc2"),
        label("lblDiscLimit2G", {4260, 255, 900, H}).in("FrameDisc2").caption("MainTabDiscG"),
        label("lblDiscLmtPer2", {120, 660, 2400, H}).in("FrameDisc2").caption("MainTabDiscAmt2"),
        maskedEdit("meditDiscLmtPer2", {2640, 660, 1500, H}).in("FrameDisc2"),
        label("lblDiscLmtPerSym2", {4260, 660, 900, H}).in("FrameDisc2").caption("MainTabDiscPer"),
    };
}

namespace {

// Rows whose captions another table sets.
QList<Control> uncaptioned(QList<Control> rows)
{
    for (Control& row : rows)
        row.caption("");
    return rows;
}

} // namespace

const ControlTable frmMain::kPluEditor{
    .section = "frmMain_sstab",
    .size = QSize(), // never a window of its own
    .sizable = false,
    .controls = pluEditorControls(),
};

const ControlTable frmMain::kControls{
    .section = "frmMain_cmd",
    .size = {15000, 9900},
    .sizable = true,
    .controls = windowControls() + uncaptioned(pluEditorControls()),
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
