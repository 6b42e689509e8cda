#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

// The dialog of a search, new (gPropMode 0) or edited (1): its name and its department, main-group, PLU-number and
// unit-price ranges (gSearchRec). Leaving a range box refuses a value outside 1 to its highest and keeps the to-value
// at least the from-value; the price boxes show fixed-decimal prices and are typed in minor units. OK saves the
// search of the store (gCurStoreNo) and number (gCurDeptNo) and remembers its key in gDataViewKey; Cancel (the frame
// too) saves nothing, and the opener takes a new search out of the tree.
class frmSearch : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmSearch(QWidget* parent = nullptr);

    // The frame and Escape cancel as the Cancel button does.
    void reject() override;

    void cmdOK_Click();
    void cmdCanel_Click();
    void meditUPrice1_Change();
    void meditUPrice2_Change();

private:
    struct Range {
        QLineEdit* from;
        QLineEdit* to;
        qint32 highest;
    };

    static QList<ui::Control> controls();
    void Form_Load();
    void rangeLostFocus(QLineEdit* box);
    void priceGotFocus(QLineEdit* box);
    void priceChange(QLineEdit* box);
    void pricesLostFocus();
    void refuse(QLineEdit* box);
    QList<Range> ranges() const;

    bool m_refusing = false;     // a refusal moves the focus back: the box it leaves is not checked
    bool m_leaveRefused = false; // the last leave refused its box

    QLabel* labName = nullptr;
    QLineEdit* txtSearchName = nullptr;
    QLabel* labDept_No = nullptr;
    QLineEdit* txtDept_No1 = nullptr;
    QLineEdit* txtDept_No2 = nullptr;
    QLabel* labMG_No = nullptr;
    QLineEdit* txtMG_No1 = nullptr;
    QLineEdit* txtMG_No2 = nullptr;
    QLabel* labPLU_No = nullptr;
    QLineEdit* txtPLU_No1 = nullptr;
    QLineEdit* txtPLU_No2 = nullptr;
    QLabel* labPLU_UPrice = nullptr;
    QLineEdit* meditUPrice1 = nullptr;
    QLineEdit* meditUPrice2 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCanel = nullptr;
};

} // namespace quorvane
