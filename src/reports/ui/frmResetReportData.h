#pragma once

#include "platform/ui/ControlTable.h"

#include <QWidget>

class QCheckBox;
class QPushButton;

namespace quorvane {

// Resets reports on a scale: the ticked reports' files are deleted on one scale through the transfer window.
// A tool window: ui::windows().openTool<frmResetReportData>(caption).
class frmResetReportData : public QWidget {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmResetReportData(QWidget* parent = nullptr);

    void chkResetSalesAll_Click();
    void cmdReset_Click();
    void cmdClose_Click();

private:
    void Form_Load();

    QCheckBox* chkResetSalesAll = nullptr;
    QCheckBox* chkResetSalesDaily = nullptr;
    QCheckBox* chkResetSalesPeriod = nullptr;
    QCheckBox* chkResetInventory = nullptr;
    QCheckBox* chkResetStockRecord = nullptr;
    QCheckBox* chkResetJournalReport = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace quorvane
