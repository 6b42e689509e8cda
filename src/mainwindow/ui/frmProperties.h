#pragma once

#include "mainwindow/NodeKeys.h"
#include "platform/ui/ControlTable.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

// The property dialog of a store, section, department or main group (gPropertyNodeKind 1, 2, 4, 5), new
// (gPropMode 0) or edited (1): it shows the node's record (gStoreRec, gSectRec, gDeptRec or gMGRec) and its OK saves
// it, a new store together with its department 97 and main group 997 (gDeptRec, gMGRec), and remembers the saved
// node's key for the main window's rebuild. Its Cancel saves nothing; the opener takes a new node out of the tree.
// The first store of an empty database in one-store mode cannot be cancelled, by the frame neither.
class frmProperties : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmProperties(QWidget* parent = nullptr);

    // Another kind of node, or a record the dialog could not read in full, shows no dialog: Rejected at once.
    int exec() override;
    void setVisible(bool visible) override;
    // The frame and Escape cancel as the Cancel button does, and not while it is disabled.
    void reject() override;

    void cmdOK_Click();
    void cmdCanel_Click();
    void comboBarForamt_Click();
    void txtName_LostFocus();

private:
    void Form_Load();
    void FillBarFormatCombo();
    void showFlags(qint16 flag1, qint16 flag2);
    void showInheritedFlags();
    bool save();

    NodeKind m_kind = NodeKind::None;
    bool m_loaded = false;
    bool m_readFailed = false; // a read for the boxes failed, and was said

    QLabel* labCode = nullptr;
    QLineEdit* txtCode = nullptr;
    QLabel* labName = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* labBarFormat = nullptr;
    QComboBox* comboBarForamt = nullptr;
    QLabel* labFlag = nullptr;
    QLineEdit* txtFlag1 = nullptr;
    QLineEdit* txtFlag2 = nullptr;
    QLabel* labSectNo = nullptr;
    QComboBox* ComboSectNo = nullptr;
    QLabel* labTaxNo = nullptr;
    QLineEdit* txtTaxNo = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCanel = nullptr;
};

} // namespace quorvane
