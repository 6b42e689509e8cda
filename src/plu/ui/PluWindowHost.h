#pragma once

#include "plu/PluEditorHost.h"
#include "plu/SaveAnswer.h"

class QWidget;

namespace quorvane::plu {

// The PLU rules' questions answered by the window hosting the PLU list and editor: message boxes (each with its
// gLangMsg key), the grid's row, the number box, the buttons and the list.
class WindowHost : public PluEditorHost {
public:
    explicit WindowHost(QWidget* window) : m_window(window) { }

    void commitFocusedField() override;
    PluEditorValues editorValues() override;
    PluAnswer ask(const QString& key, const QString& text) override;
    PluAnswer askSaveChanges() override;
    void showError(const QString& key, const QString& text) override;
    int gridCurrentRow() override;
    void refusePLUNumber(qint32 number, bool gridBack) override;
    void setEditModeButtons() override;
    void refreshPLUList() override;

private:
    QWidget* m_window;
};

// Whether the edited PLU may be left: Unchanged when there is nothing to save (gPLUChanged is not 1), asked nothing;
// otherwise the question "updatePLU" with Yes, No and Cancel: Yes saves the PLU (Saved), No drops the changes
// (Dropped), Cancel gives Cancelled, and so does a save that a check or the database stopped. Every caller stops on
// Cancelled. A database failure is shown through ui::tryStep.
SaveAnswer AskSavePLUChanges(QWidget* window);

} // namespace quorvane::plu
