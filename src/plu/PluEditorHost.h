#pragma once

#include "platform/Error.h"
#include "plu/PluEditorValues.h"

#include <QString>

namespace quorvane {

// A box whose text cannot be taken back into its field; nothing has been written. Its message is inputErr's text.
class PluInputError : public Error {
public:
    using Error::Error;
};

enum class PluAnswer { Yes, No, Cancel };

// What the PLU rules ask of the window that shows the list and the editor. The window answers with its
// controls and message boxes; tests answer with plain values. A message names its gLangMsg key, so that a test
// tells messages apart by key.
class PluEditorHost {
public:
    virtual ~PluEditorHost() = default;
    // Runs the leave handler of the field that has the focus, so its edit counts.
    virtual void commitFocusedField() = 0;
    // What the editor's controls hold now.
    virtual PluEditorValues editorValues() = 0;
    // A question with the question icon, Yes and No: the gLangMsg key of its text, and its text.
    virtual PluAnswer ask(const QString& key, const QString& text) = 0;
    // The question whether to save the edited PLU (updatePLU), Yes, No and Cancel.
    virtual PluAnswer askSaveChanges() = 0;
    // A message with the error icon: the gLangMsg key of its first line, and its text.
    virtual void showError(const QString& key, const QString& text) = 0;
    // The grid's current row (1-based).
    virtual int gridCurrentRow() = 0;
    // A PLU number was refused: page 1 selected, `number` put back into meditPLU with its whole text
    // selected and the focus; with `gridBack` the grid's current row goes back to gCurPLURow.
    virtual void refusePLUNumber(qint32 number, bool gridBack) = 0;
    // SetEditModeButtons on the window's buttons.
    virtual void setEditModeButtons() = 0;
    // The list of the tree selection loaded again, gCurPLURow kept (RefreshPLUList).
    virtual void refreshPLUList() = 0;

    // A refused box: inputErr with the box and its reason.
    void showInputError(const PluInputError& e) { showError(QStringLiteral("inputErr"), e.fullText()); }
};

} // namespace quorvane
