#pragma once

#include "platform/ui/ControlTable.h"
#include "transfer/TransferRequest.h"
#include "transfer/TransferSession.h"

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTableWidget;

namespace quorvane {

// The transfer window: the only place the program talks to a scale. Opened modally (exec()) on the caller's
// request. Loading lists every scale in use and, in send mode, writes the listed data files into the temp folder;
// the operator marks one scale and presses the command button, which runs one FTP session with it; closing deletes
// the listed files from the temp folder.
class frmFTPDataTrans : public QDialog, private transfer::SessionView {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    explicit frmFTPDataTrans(TransferRequest request, QWidget* parent = nullptr);
    ~frmFTPDataTrans() override;

    const TransferRequest& request() const { return m_request; }
    // What the sessions run so far came to.
    const TransferOutcome& outcome() const { return m_outcome; }

    // True while a session runs: the window then takes no input and refuses to close.
    bool sessionRunning() const { return m_sessionRunning; }

public slots:
    void MSFGFTP_Click();
    void cmdCommand_Click();
    void cmdClose_Click();

public:
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_QueryUnload();
    void showFile(const QString& kind) override;
    void showStatus(const QString& text, const QString& reason) override;
    int selectColumn() const;
    int statusColumn() const { return selectColumn() - 1; }
    int fileColumn() const { return selectColumn() - 2; }

    QTableWidget* MSFGFTP = nullptr;
    QPushButton* cmdCommand = nullptr;
    QPushButton* cmdClose = nullptr;

    // Entry r belongs to grid row r; entry 0 is not used.
    QStringList mScaleHost;
    QStringList mScaleUser;
    QStringList mScalePassword;

    TransferRequest m_request;
    TransferOutcome m_outcome;
    int m_sessionRow = 0;
    QStringList m_unprepared; // files of a send that could not be written afresh
    bool m_sessionRunning = false;
    bool m_unloaded = false;
};

} // namespace quorvane
