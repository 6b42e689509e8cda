#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quorvane {

// Fills page 1 of the sheet shown with the PLUs of the scale's store, of one main group or of a department's main
// groups, in ascending PLU number; the layout's earlier keys go. Cancel changes nothing.
class frmAutoPresetKey : public QDialog {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    // Opens the dialog modally; true when OK assigned the keys.
    static bool assignKeys(QWidget* parent);

    explicit frmAutoPresetKey(QWidget* parent = nullptr);

    void combDept_Click();
    void combMG_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // The dialog's choices, from 0 at every opening.
    qint32 gAutoStoreNo = 0;
    qint32 gAutoDeptNo = 0;
    qint32 gAutoMGNo = 0;

private:
    void Form_Load();
    void LoadDepartments();
    void LoadMainGroups();

    QRadioButton* opST = nullptr;
    QRadioButton* opDP = nullptr;
    QRadioButton* opMG = nullptr;
    QLabel* lStore = nullptr;
    QComboBox* combDept = nullptr;
    QComboBox* combMG = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace quorvane
