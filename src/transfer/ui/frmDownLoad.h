#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quorvane {

// The send options shown before PLUs are sent to a scale or deleted on it. When first shown it builds the scale
// records of the marked PLUs (unless gSkipPLUEncode says not to), its buttons disabled and "loading" shown
// meanwhile. OK appends "DEP0UALL.csv" and "MGP0UALL.csv" to gTransferFiles for the ticked boxes and marks the
// current store's departments and main groups; gSendCancelled tells the caller the outcome (1: Cancel, the frame,
// or a pass the database refused).
class frmDownLoad : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmDownLoad(QWidget* parent = nullptr);

    // The caller's protocol after it has filled the request with "PLU0UALL.csv" and the mode: the captions of a send
    // (TransferSend) or a delete (TransferDelete, which builds no records), the dialog shown modally. True when the
    // transfer goes on. Made to be requestTransfer's prepare step.
    static bool askSendOptions(QWidget* parent, qint16 mode);

    // The frame and Escape cancel, but not while the records are built.
    void reject() override;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();

    bool m_activated = false;
    bool m_building = false;

    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkDept = nullptr;
    QCheckBox* chkMG = nullptr;
    QLabel* lblLoading = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace quorvane
