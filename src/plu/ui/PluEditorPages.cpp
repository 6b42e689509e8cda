#include "plu/ui/PluEditorPages.h"

#include "platform/ui/ControlTable.h"
#include "platform/ui/ValueSetters.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluEditorHandlers.h"
#include "plu/ui/PluPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeEdit>

namespace quorvane::plu {

namespace {

QList<QFrame*> pageFrames(QWidget* window) { return pluPanel(window).frameTAB.elements(); }

// A page the frame array lacks gives none.
QFrame* pageFrame(QWidget* window, PluEditorPage page) { return pluPanel(window).frameTAB(int(page)); }

// The page's controls in the order Tab visits them; the member-discount type after its four amounts, which keep
// places 14 to 17. None for another page number.
QList<QWidget*> pageTabOrder(const PluPanel& p, PluEditorPage page)
{
    switch (page) {
    case PluEditorPage::Basic:
        return {p.meditPLU,        p.cmdFont,         p.cmdDescFont,    p.meditUPrice,     p.meditTare,
                p.meditCoupledPLU, p.combSymbol,      p.chkWeighed,     p.chkUPoverride,   p.chknegativePLU,
                p.meditDepartment, p.combMG,          p.meditCost,      p.meditMemDisc(1), p.meditMemDisc(2),
                p.meditMemDisc(3), p.meditMemDisc(4), p.combMemDiscType};
    case PluEditorPage::Codes:
        return {p.meditItemCode, p.combBarcodeFormat, p.meditFlagCode1,  p.meditFlagCode2, p.combRSData,  p.meditTaxNum,
                p.meditTax2Num,  p.meditDiscScheNum,  p.meditPriScheNum, p.meditIngrNum,   p.meditSMsgNum};
    case PluEditorPage::Discount:
        return {p.combDiscType,    p.DTPickerStartDate,  p.DTPickerStartTime, p.DTPickerEndDate,
                p.DTPickerEndTime, p.meditDiscDayOfWeek, p.meditDiscLimit1,   p.meditDiscLmtPer1,
                p.meditDiscLimit2, p.meditDiscLmtPer2,   p.chkPricePriority};
    }
    return {};
}

} // namespace

void ShowTabFrame(QWidget* window, PluEditorPage page)
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

void SelectPLUTab(QWidget* window, PluEditorPage page)
{
    ui::setTab(pluPanel(window).SSTabPLU, int(page) - 1);
    for (QFrame* frame : pageFrames(window))
        frame->hide();
    if (QFrame* frame = pageFrame(window, page))
        frame->show();
    gPluEditor().gCurPLUTab = page;
}

void ResetTabFrames(QWidget* window, TabFrames frames)
{
    for (QFrame* frame : pageFrames(window))
        frame->setEnabled(frames == TabFrames::Enabled);
}

void SSTabPLU_Click(QWidget* window)
{
    PluEditorState& s = gPluEditor();
    const PluPanel& p = pluPanel(window);
    const auto page = PluEditorPage(p.SSTabPLU->currentIndex() + 1);
    if (page == s.gCurPLUTab)
        return;
    if (QFrame* frame = pageFrame(window, page))
        frame->show();
    if (QFrame* frame = pageFrame(window, s.gCurPLUTab))
        frame->hide();
    s.gCurPLUTab = page;
    ShowTabFrame(window, page);
    if (s.gHideSelectedCol != 1)
        return;
    switch (page) {
    case PluEditorPage::Basic:
        p.meditPLU->setFocus();
        combMemDiscType_Click(window);
        break;
    case PluEditorPage::Codes:
        p.meditItemCode->setFocus();
        break;
    case PluEditorPage::Discount:
        p.combDiscType->setFocus();
        combDiscType_Click(window);
        break;
    }
}

} // namespace quorvane::plu
