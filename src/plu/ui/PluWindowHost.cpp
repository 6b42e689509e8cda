#include "plu/ui/PluWindowHost.h"

#include "platform/ui/MessageBox.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluSave.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluEditorPages.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluPanel.h"
#include "settings/ui/LangMsg.h"
#include "state/PluEditorState.h"

#include <QLineEdit>
#include <QTableWidget>

namespace quorvane::plu {

void WindowHost::commitFocusedField() { ui::commitFocusedField(m_window); }

PluEditorValues WindowHost::editorValues() { return plu::editorValues(m_window); }

PluAnswer WindowHost::ask(const QString& key, const QString& text)
{
    return ui::msgBox(ui::MsgText{key, text}, ui::MsgIcon::Question, ui::MsgButtons::YesNo, m_window) == ui::MsgYes
        ? PluAnswer::Yes
        : PluAnswer::No;
}

PluAnswer WindowHost::askSaveChanges()
{
    switch (ui::msgBox(langMsg(QStringLiteral("updatePLU")), ui::MsgIcon::Question, ui::MsgButtons::YesNoCancel,
                       m_window)) {
    case ui::MsgYes:
        return PluAnswer::Yes;
    case ui::MsgNo:
        return PluAnswer::No;
    default:
        return PluAnswer::Cancel;
    }
}

void WindowHost::showError(const QString& key, const QString& text)
{
    ui::msgBox(ui::MsgText{key, text}, ui::MsgIcon::Critical, ui::MsgButtons::Ok, m_window);
}

int WindowHost::gridCurrentRow() { return pluPanel(m_window).MSHFlexGridPLU->currentRow() + 1; }

void WindowHost::refusePLUNumber(qint32 number, bool gridBack)
{
    SelectPLUTab(m_window, PluEditorPage::Basic);
    QLineEdit* box = pluPanel(m_window).meditPLU;
    ui::setText(box, QString::number(number));
    box->setFocus();
    box->selectAll();
    if (gridBack)
        selectGridRow(m_window, gPluEditor().gCurPLURow);
}

void WindowHost::setEditModeButtons() { SetEditModeButtons(m_window); }

void WindowHost::refreshPLUList() { RefreshPLUList(m_window); }

SaveAnswer AskSavePLUChanges(QWidget* window)
{
    SaveAnswer result = SaveAnswer::Cancelled;
    WindowHost host(window);
    if (!ui::tryStep([&] { result = quorvane::AskSavePLUChanges(host); }, langMsg(QStringLiteral("dbWriteErr")),
                     window))
        return SaveAnswer::Cancelled; // nothing was saved: the edit stays, and the caller stops
    return result;
}

} // namespace quorvane::plu
