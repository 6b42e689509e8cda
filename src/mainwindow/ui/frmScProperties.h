#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

// The property dialog of a scale, new (gPropMode 0) or edited (1): its address in four boxes, its number, the FTP
// user name and password the transfer logs in with, model, preset-key layout and whether it is in use. OK saves
// gScaleRec and remembers the saved scale's key in gStoreViewKey; Cancel (the frame too) saves nothing, and the
// opener takes a new scale out of the tree.
class frmScProperties : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmScProperties(QWidget* parent = nullptr);

    // The frame and Escape cancel as the Cancel button does.
    void reject() override;

    void cmdOK_Click();
    void cmdCanel_Click();
    void txtScaleIP_Change(int index);
    void txtFTPName_Change();
    void txtFTPPW_Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    bool txtScaleIP_KeyPress(int index, QKeyEvent* event); // true: the key is taken
    void dropControlCharacters(QLineEdit* box);

    bool m_activated = false; // the first activation has come: typing moves on from a full address box

    QLabel* labScaleIP = nullptr;
    ui::ControlArray<QLineEdit> txtScaleIP; // 0 to 3, left to right
    ui::ControlArray<QLabel> labDot;        // 1 to 3, before box 1 to 3
    QLabel* labScaleNo = nullptr;
    QLineEdit* txtScaleNo = nullptr;
    QLabel* labScaleFTPName = nullptr;
    QLineEdit* txtFTPName = nullptr;
    QLabel* labScaleFTPPW = nullptr;
    QLineEdit* txtFTPPW = nullptr;
    QLabel* labScaleModelID = nullptr;
    QComboBox* ComboScaleModelID = nullptr;
    QLabel* labScalePSKLayout = nullptr;
    QComboBox* ComboScPSKLayout = nullptr;
    QCheckBox* chkScaleUsed = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCanel = nullptr;
};

} // namespace quorvane
