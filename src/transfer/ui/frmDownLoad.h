#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>
#include <QStringList>

#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quorvane {

// The send options shown before PLUs are sent to a scale or deleted on it. When first shown before a send it builds
// the scale records of the marked PLUs, its buttons disabled and "loading" shown meanwhile. OK adds the department and
// main-group files for the ticked boxes and marks the current store's departments and main groups; Cancel, the frame
// (also when it was pressed while the records were built) and a pass the database refused cancel.
class frmDownLoad : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmDownLoad(QWidget* parent = nullptr);

    // Before a request of "PLU0UALL.csv" in the mode: the captions of a send (TransferSend) or a delete
    // (TransferDelete, which builds no records), the dialog shown modally. The files OK adds to the request, in their
    // order; none when the transfer does not go on. Made to be requestTransfer's prepare step.
    static std::optional<QStringList> askSendOptions(QWidget* parent, qint16 mode);

    // The frame and Escape cancel, but not while the records are built.
    void reject() override;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();

    bool m_buildRecords = true; // a delete builds no records
    bool m_activated = false;
    bool m_building = false;
    std::optional<QStringList> m_added; // set by OK

    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkDept = nullptr;
    QCheckBox* chkMG = nullptr;
    QLabel* lblLoading = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace quorvane
