#include "plu/ui/PluPanel.h"

#include "plu/PluFieldRules.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluEditorHandlers.h"
#include "plu/ui/PluEditorPages.h"
#include "plu/ui/PluListView.h"

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

namespace quorvane::plu {

using namespace ui;
using P = PluPanel;

namespace {

QList<Control> rows()
{
    constexpr int Right = 3840; // beside the main window's tree
    constexpr int H = 345;      // one line
    constexpr const char* Basic = "frameTAB(1)";
    constexpr const char* Codes = "frameTAB(2)";
    constexpr const char* Discount = "frameTAB(3)";
    const auto left = &editorControl_LostFocus;
    return {
        flexGrid("MSHFlexGridPLU", {Right, 660, 11040, 3480}).tab(12).on(&MSHFlexGridPLU_Click).to(&P::MSHFlexGridPLU),
        tabStrip("SSTabPLU", {Right, 4260, 11040, 4920}).tab(13).on(&SSTabPLU_Click).to(&P::SSTabPLU),
        tabPage("pageTAB(1)").in("SSTabPLU"),
        plainFrame("frameTAB(1)", {0, 0, 10920, 4440}).in("pageTAB(1)").to(&P::frameTAB),
        tabPage("pageTAB(2)").in("SSTabPLU"),
        plainFrame("frameTAB(2)", {0, 0, 10920, 4440}).in("pageTAB(2)").to(&P::frameTAB),
        tabPage("pageTAB(3)").in("SSTabPLU"),
        plainFrame("frameTAB(3)", {0, 0, 10920, 4440}).in("pageTAB(3)").to(&P::frameTAB),

        // Page 1: the PLU, its price and unit, main group, cost and member prices.
        label("lblPLU", {120, 120, 1500, H}).in(Basic).caption("MainTabPLU"),
        maskedEdit("meditPLU", {1740, 120, 1500, H}).in(Basic).to(&P::meditPLU),
        label("lblName", {120, 525, 1500, H}).in(Basic).caption("MainTabName"),
        textBox("txtName", {1740, 525, 4500, H}).in(Basic).to(&P::txtName),
        commandButton("cmdFont", {6300, 525, 450, H}).in(Basic).on(&cmdFont_Click).to(&P::cmdFont),
        label("lblDescription", {120, 930, 1500, H}).in(Basic).caption("MainTabDesc"),
        maskedEdit("meditDescription", {1740, 930, 4500, H}).in(Basic).to(&P::meditDescription),
        commandButton("cmdDescFont", {6300, 930, 450, H}).in(Basic).on(&cmdDescFont_Click).to(&P::cmdDescFont),
        label("lblUPrice", {120, 1335, 1500, H}).in(Basic).caption("MainTabUP"),
        maskedEdit("meditUPrice", {1740, 1335, 1500, H}).in(Basic).to(&P::meditUPrice),
        label("lblPriceUnit(0)", {3300, 1335, 600, H}).in(Basic),
        comboBox("combSymbol", {3990, 1335, 2700, H}).in(Basic).onLeave(left).to(&P::combSymbol),
        label("lblTare", {120, 1740, 1500, H}).in(Basic).caption("MainTabTare").to(&P::lblTare),
        maskedEdit("meditTare", {1740, 1740, 1500, H}).in(Basic).to(&P::meditTare),
        label("lblTareG", {3300, 1740, 600, H}).in(Basic).caption("MainTabTareG").to(&P::lblTareG),
        checkBox("chkWeighed", {3990, 1740, 2700, H})
            .in(Basic)
            .caption("MainTabWeighted")
            .on(&chkWeighed_Click)
            .onLeave(left)
            .to(&P::chkWeighed),
        label("lblCoupledPLU", {120, 2145, 1500, H}).in(Basic).caption("MainTabCoupledPLU"),
        maskedEdit("meditCoupledPLU", {1740, 2145, 1500, H}).in(Basic).to(&P::meditCoupledPLU),
        checkBox("chkUPoverride", {3990, 2145, 2700, H})
            .in(Basic)
            .caption("MainTabUPOV")
            .onLeave(left)
            .to(&P::chkUPoverride),
        label("lblDepartment", {120, 2550, 1500, H}).in(Basic).caption("MainTabDepartment"),
        maskedEdit("meditDepartment", {1740, 2550, 1500, H}).in(Basic).to(&P::meditDepartment),
        checkBox("chknegativePLU", {3990, 2550, 2700, H})
            .in(Basic)
            .caption("MainTabNPLU")
            .onLeave(left)
            .to(&P::chknegativePLU),
        label("lblMG", {120, 2955, 1500, H}).in(Basic).caption("MainTabMG"),
        comboBox("combMG", {1740, 2965, 1500, H}).in(Basic).onLeave(left).to(&P::combMG),
        label("lblCost", {120, 3360, 1500, H}).in(Basic).caption("MainTabCost"),
        maskedEdit("meditCost", {1740, 3360, 1500, H}).in(Basic).to(&P::meditCost),
        label("lblMemDiscType", {6990, 120, 3600, H}).in(Basic).caption("MainTabMemDiscType"),
        comboBox("combMemDiscType", {6990, 475, 3600, H})
            .in(Basic)
            .on(&combMemDiscType_Click)
            .onLeave(left)
            .to(&P::combMemDiscType),
        label("lblMemDisc(1)", {6990, 930, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(1)", {8850, 930, 1500, H}).in(Basic).to(&P::meditMemDisc),
        label("lblMemDiscPerSym(0)", {10410, 930, 390, H}).in(Basic).caption("MainTabDiscPer").to(&P::lblMemDiscPerSym),
        label("lblMemDisc(2)", {6990, 1335, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(2)", {8850, 1335, 1500, H}).in(Basic).to(&P::meditMemDisc),
        label("lblMemDiscPerSym(1)", {10410, 1335, 390, H}).in(Basic).caption("MainTabDiscPer").to(&P::lblMemDiscPerSym),
        label("lblMemDisc(3)", {6990, 1740, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(3)", {8850, 1740, 1500, H}).in(Basic).to(&P::meditMemDisc),
        label("lblMemDiscPerSym(2)", {10410, 1740, 390, H}).in(Basic).caption("MainTabDiscPer").to(&P::lblMemDiscPerSym),
        label("lblMemDisc(4)", {6990, 2145, 1800, H}).in(Basic),
        maskedEdit("meditMemDisc(4)", {8850, 2145, 1500, H}).in(Basic).to(&P::meditMemDisc),
        label("lblMemDiscPerSym(3)", {10410, 2145, 390, H}).in(Basic).caption("MainTabDiscPer").to(&P::lblMemDiscPerSym),

        // Page 2: the barcode (Frame5), taxes, schedules, ingredient and special message.
        frame("Frame5", {120, 60, 10680, 1560}).in(Codes),
        label("lblItemCode", {120, 255, 1500, H}).in("Frame5").caption("MainTabItemCode"),
        maskedEdit("meditItemCode", {1740, 255, 1800, H}).in("Frame5").to(&P::meditItemCode),
        comboBox("combRSData", {4740, 265, 1800, H}).in("Frame5").onLeave(left).to(&P::combRSData),
        label("lblBarCodeFormat", {120, 660, 1500, H}).in("Frame5").caption("MainTabBarFormat"),
        comboBox("combBarcodeFormat", {1740, 670, 4800, H})
            .in("Frame5")
            .on(&combBarcodeFormat_Click)
            .onLeave(left)
            .to(&P::combBarcodeFormat),
        label("lblReference", {6660, 670, 3900, H}).in("Frame5").to(&P::lblReference),
        label("lblFlagCode", {120, 1065, 1500, H}).in("Frame5").caption("MainTabFlagCode"),
        maskedEdit("meditFlagCode1", {1740, 1065, 330, H}).in("Frame5").to(&P::meditFlagCode1),
        maskedEdit("meditFlagCode2", {2190, 1065, 330, H}).in("Frame5").to(&P::meditFlagCode2),
        frame("Frame3", {120, 1740, 3480, 1140}).in(Codes),
        label("lblTaxNum", {120, 255, 2100, H}).in("Frame3").caption("MainTabTaxNum"),
        maskedEdit("meditTaxNum", {2340, 255, 960, H}).in("Frame3").to(&P::meditTaxNum),
        label("lblTax2Num", {120, 660, 2100, H}).in("Frame3").caption("MainTabTax2Num"),
        maskedEdit("meditTax2Num", {2340, 660, 960, H}).in("Frame3").to(&P::meditTax2Num),
        frame("Frame4", {3720, 1740, 3480, 1140}).in(Codes),
        label("lblDiscScheNum", {120, 255, 2100, H}).in("Frame4").caption("MainTabDiscScheNum"),
        maskedEdit("meditDiscScheNum", {2340, 255, 960, H}).in("Frame4").to(&P::meditDiscScheNum),
        label("lblPriScheNum", {120, 660, 2100, H}).in("Frame4").caption("MainTabPriScheNum"),
        maskedEdit("meditPriScheNum", {2340, 660, 960, H}).in("Frame4").to(&P::meditPriScheNum),
        frame("Frame8", {7320, 1740, 3480, 1140}).in(Codes),
        label("lblIngrNum", {120, 255, 2100, H}).in("Frame8").caption("MainTabIngrNum"),
        maskedEdit("meditIngrNum", {2340, 255, 960, H}).in("Frame8").to(&P::meditIngrNum),
        label("lblSMsgNum", {120, 660, 2100, H}).in("Frame8").caption("MainTabSMsgNum"),
        maskedEdit("meditSMsgNum", {2340, 660, 960, H}).in("Frame8").to(&P::meditSMsgNum),

        // Page 3: the discount, its period and days, its two limits.
        frame("Frame2", {120, 60, 3000, 1560}).in(Discount),
        label("lblDiscType", {120, 255, 2760, H}).in("Frame2").caption("MainTabTypeDisc"),
        comboBox("combDiscType", {120, 610, 2760, H})
            .in("Frame2")
            .on(&combDiscType_Click)
            .onLeave(left)
            .to(&P::combDiscType),
        checkBox("chkPricePriority", {120, 1065, 2760, H})
            .in("Frame2")
            .caption("MainTabPriPriority")
            .onLeave(left)
            .to(&P::chkPricePriority),
        frame("Frame1", {3240, 60, 7560, 1560}).in(Discount),
        label("lblStartDate", {120, 255, 1800, H}).in("Frame1").caption("MainTabStartDate"),
        datePicker("DTPickerStartDate", {1920, 265, 1800, H}).in("Frame1").onLeave(left).to(&P::DTPickerStartDate),
        label("lblEndDate", {3960, 255, 1320, H}).in("Frame1").caption("MainTabEndDate"),
        datePicker("DTPickerEndDate", {5280, 265, 1800, H}).in("Frame1").onLeave(left).to(&P::DTPickerEndDate),
        label("lblStartTime", {120, 660, 1800, H}).in("Frame1").caption("MainTabStartTime"),
        timePicker("DTPickerStartTime", {1920, 670, 1800, H}).in("Frame1").onLeave(left).to(&P::DTPickerStartTime),
        label("lblEndTime", {3960, 660, 1320, H}).in("Frame1").caption("MainTabEndTime"),
        timePicker("DTPickerEndTime", {5280, 670, 1800, H}).in("Frame1").onLeave(left).to(&P::DTPickerEndTime),
        label("lblDiscDayOfWeek", {120, 1065, 1800, H}).in("Frame1").caption("MainTabDiscDayOfWeek"),
        maskedEdit("meditDiscDayOfWeek", {1920, 1065, 1500, H}).in("Frame1").to(&P::meditDiscDayOfWeek),
        label("lblDiscDay", {3540, 1065, 2000, H}).in("Frame1").caption("MainTabDiscDay"),
        frame("FrameDisc1", {120, 1740, 5280, 1140}).in(Discount),
        label("lblDiscLmt1", {120, 255, 2400, H}).in("FrameDisc1").caption("MainTabDiscLmt1"),
        maskedEdit("meditDiscLimit1", {2640, 255, 1500, H}).in("FrameDisc1").to(&P::meditDiscLimit1),
        label("lblDiscLimit1G", {4260, 255, 900, H}).in("FrameDisc1").caption("MainTabDiscG").to(&P::lblDiscLimit1G),
        label("lblDiscLmtPer1", {120, 660, 2400, H}).in("FrameDisc1").caption("MainTabDiscAmt1").to(&P::lblDiscLmtPer1),
        maskedEdit("meditDiscLmtPer1", {2640, 660, 1500, H}).in("FrameDisc1").to(&P::meditDiscLmtPer1),
        label("lblDiscLmtPerSym1", {4260, 660, 900, H})
            .in("FrameDisc1")
            .caption("MainTabDiscPer")
            .to(&P::lblDiscLmtPerSym1),
        frame("FrameDisc2", {5520, 1740, 5280, 1140}).in(Discount),
        label("lblDiscLmt2", {120, 255, 2400, H}).in("FrameDisc2").caption("MainTabDiscLmt2"),
        maskedEdit("meditDiscLimit2", {2640, 255, 1500, H}).in("FrameDisc2").to(&P::meditDiscLimit2),
        label("lblDiscLimit2G", {4260, 255, 900, H}).in("FrameDisc2").caption("MainTabDiscG").to(&P::lblDiscLimit2G),
        label("lblDiscLmtPer2", {120, 660, 2400, H}).in("FrameDisc2").caption("MainTabDiscAmt2"),
        maskedEdit("meditDiscLmtPer2", {2640, 660, 1500, H}).in("FrameDisc2").to(&P::meditDiscLmtPer2),
        label("lblDiscLmtPerSym2", {4260, 660, 900, H})
            .in("FrameDisc2")
            .caption("MainTabDiscPer")
            .to(&P::lblDiscLmtPerSym2),
    };
}

} // namespace

QList<Control> pluPanelRows()
{
    QList<Control> panel = rows();
    // The field table says which boxes have rules, so that no second list of them is kept.
    for (Control& row : panel)
        if (pluFieldRule(row.objectName()))
            row.onEnter(&editorBox_GotFocus).on(&editorBox_Change).onLeave(&editorBox_LostFocus);
    return panelRows<PluPanel>(panel);
}

const PluPanel& pluPanel(const QObject* window) { return panel<PluPanel>(window); }

} // namespace quorvane::plu
