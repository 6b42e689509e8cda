#pragma once

#include "platform/ui/ControlTable.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimeEdit;

namespace quorvane::plu {

// The PLU list and editor on the window that hosts them (ui::Panel): the grid, the tab strip with a frame on each
// of its three pages, and the editor's controls on the frames. Bound once when the window's controls are created;
// the labels that only show their caption are reached by name (Panel::control) where a table names them.
struct PluPanel : ui::Panel {
    QTableWidget* MSHFlexGridPLU = nullptr;
    QTabWidget* SSTabPLU = nullptr;
    ui::ControlArray<QFrame> frameTAB; // 1 to 3

    // Page 1: the PLU, its price and unit, main group, cost and member prices.
    QLineEdit* meditPLU = nullptr;
    QLineEdit* txtName = nullptr;
    QPushButton* cmdFont = nullptr;
    QLineEdit* meditDescription = nullptr;
    QPushButton* cmdDescFont = nullptr;
    QLineEdit* meditUPrice = nullptr;
    QComboBox* combSymbol = nullptr;
    QLabel* lblTare = nullptr;
    QLineEdit* meditTare = nullptr;
    QLabel* lblTareG = nullptr;
    QCheckBox* chkWeighed = nullptr;
    QLineEdit* meditCoupledPLU = nullptr;
    QCheckBox* chkUPoverride = nullptr;
    QLineEdit* meditDepartment = nullptr;
    QCheckBox* chknegativePLU = nullptr;
    QComboBox* combMG = nullptr;
    QLineEdit* meditCost = nullptr;
    QComboBox* combMemDiscType = nullptr;
    ui::ControlArray<QLineEdit> meditMemDisc;  // 1 to 4
    ui::ControlArray<QLabel> lblMemDiscPerSym; // 0 to 3

    // Page 2: the barcode, taxes, schedules, ingredient and special message.
    QLineEdit* meditItemCode = nullptr;
    QComboBox* combRSData = nullptr;
    QComboBox* combBarcodeFormat = nullptr;
    QLabel* lblReference = nullptr;
    QLineEdit* meditFlagCode1 = nullptr;
    QLineEdit* meditFlagCode2 = nullptr;
    QLineEdit* meditTaxNum = nullptr;
    QLineEdit* meditTax2Num = nullptr;
    QLineEdit* meditDiscScheNum = nullptr;
    QLineEdit* meditPriScheNum = nullptr;
    QLineEdit* meditIngrNum = nullptr;
    QLineEdit* meditSMsgNum = nullptr;

    // Page 3: the discount, its period and days, its two limits.
    QComboBox* combDiscType = nullptr;
    QCheckBox* chkPricePriority = nullptr;
    QDateEdit* DTPickerStartDate = nullptr;
    QDateEdit* DTPickerEndDate = nullptr;
    QTimeEdit* DTPickerStartTime = nullptr;
    QTimeEdit* DTPickerEndTime = nullptr;
    QLineEdit* meditDiscDayOfWeek = nullptr;
    QLineEdit* meditDiscLimit1 = nullptr;
    QLabel* lblDiscLimit1G = nullptr;
    QLabel* lblDiscLmtPer1 = nullptr;
    QLineEdit* meditDiscLmtPer1 = nullptr;
    QLabel* lblDiscLmtPerSym1 = nullptr;
    QLineEdit* meditDiscLimit2 = nullptr;
    QLabel* lblDiscLimit2G = nullptr;
    QLineEdit* meditDiscLmtPer2 = nullptr;
    QLabel* lblDiscLmtPerSym2 = nullptr;
};

// The panel's rows, captioned from frmMain_sstab: the grid and the tab strip placed on the main window, the
// editor's controls on the pages' frames (.in("frameTAB(1)") to .in("frameTAB(3)")). The number boxes of the PLU
// field table that have box rules get them as their GotFocus, Change and LostFocus handlers; the lists, check boxes
// and pickers that the rules compare on leaving get editorControl_LostFocus.
QList<ui::Control> pluPanelRows();

// The panel of the window hosting the PLU list and editor.
const PluPanel& pluPanel(const QObject* window);

} // namespace quorvane::plu
