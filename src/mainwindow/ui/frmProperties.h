#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

// The property dialog as the first store of an empty database needs it: it shows store 1 as the main window
// prepared it (gStoreRec, with gDeptRec and gMGRec of its department 97 and main group 997), and its OK stores
// the three. It cannot be cancelled: a program without a store has nothing to show.
class frmProperties : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmProperties(QWidget* parent = nullptr);

    void cmdOK_Click();

    void reject() override; // Escape and the frame's close leave the dialog open

private:
    void Form_Load();

    QLabel* labCode = nullptr;
    QLineEdit* txtCode = nullptr;
    QLabel* labName = nullptr;
    QLineEdit* txtName = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace quorvane
