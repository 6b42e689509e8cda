#pragma once

#include "platform/ui/ControlTable.h"
#include "plu/StringEditRules.h"

#include <QDialog>
#include <QPointer>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorvane {

// The multi-line text editor: one grid row per line with its text and font name, the text typed in an edit box
// and the font chosen from a list, both laid over the opened cell. OK writes the mode's buffer and the caller's
// display box; Cancel writes nothing.
class frmStringEdit : public QDialog {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    frmStringEdit(QWidget* parent, int mode, QLineEdit* displayBox, TextSaveStep saveStep);
    ~frmStringEdit() override;

    const StringEditor& editor() const { return m_editor; }

    void gridString_Click();
    void cmdAppend_Click();
    void cmdInsert_Click();
    void cmdDelete_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showLines();
    void showButtons();
    // Closes an open edit box or font list through its leave step.
    void closeCell();
    void openCell(int line, int column);
    void textLeft(int line, bool cancelled);
    void fontLeft(int line, bool cancelled);
    int currentLine() const;

    StringEditor m_editor;
    QPointer<QLineEdit> m_displayBox;
    TextSaveStep m_save;
    int m_lastOpened = 1;
    QString m_boxText; // what the edit box holds; it keeps its text when it closes
    int m_fontPosition = 0;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QTableWidget* gridString = nullptr;
    QPushButton* cmdAppend = nullptr;
    QPushButton* cmdInsert = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Opens the editor modally on the mode's buffer (gStringEditMode := mode). At OK, modes 13 to 16 first call
// `saveStep`; the buffer and `displayBox` are written only when it returns.
void StringEdit(QWidget* parent, int mode, QLineEdit* displayBox, TextSaveStep saveStep = {});

} // namespace quorvane
