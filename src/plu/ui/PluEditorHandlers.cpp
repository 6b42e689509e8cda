#include "plu/ui/PluEditorHandlers.h"

#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluFieldRules.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluWindowHost.h"
#include "settings/ui/LangMsg.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace quorvane::plu {

namespace {

ui::MsgText dbReadErr() { return langMsg(QStringLiteral("dbReadErr")); }

const PluFieldRule& ruleOf(QWidget* box)
{
    const PluFieldRule* rule = pluFieldRule(box->objectName());
    if (!rule)
        qFatal("Editor box %s has no rule", qPrintable(box->objectName()));
    return *rule;
}

// A list's rule run on the editor's values: where it applies (edit mode) what it gives is shown, then the values it
// changed.
template<class Rule, class Show> void runListRule(QWidget* window, Rule rule, Show show)
{
    PluEditorValues before = editorValues(window);
    PluEditorValues tab = before;
    if (const auto given = rule(tab)) {
        show(*given);
        showChangedValues(window, before, tab);
    }
}

} // namespace

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
    runListRule(window, &MemDiscTypeClick, [window](bool percent) { showMemberPercent(window, percent); });
}

void combDiscType_Click(QWidget* window)
{
    runListRule(window, &DiscTypeClick,
                [window](const DiscountTypeControls& controls) { showDiscountControls(window, controls); });
}

void combBarcodeFormat_Click(QWidget* window)
{
    const PluPanel& p = pluPanel(window);
    p.lblReference->setText(referenceLabel(p.combBarcodeFormat->currentText(), p.combBarcodeFormat->currentIndex()));
    SetBarcodeFlagControls(window);
}

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
