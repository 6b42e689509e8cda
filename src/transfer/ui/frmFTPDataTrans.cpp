#include "transfer/ui/frmFTPDataTrans.h"

#include "datafiles/DataFileWriters.h"
#include "platform/text/Paths.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/SharedData.h"

#include <QCloseEvent>
#include <QDir>
#include <QPushButton>
#include <QTableWidget>

namespace quorvane {

using namespace ui;

using W = frmFTPDataTrans;

const ui::ControlTable frmFTPDataTrans::kControls{
    .section = "frm_FTPDataTrans",
    .title = "frmTitle",
    .size = {5175, 6735},
    .controls =
        {
            flexGrid("MSFGFTP", {240, 120, 4695, 5895}).tab(1).on(&W::MSFGFTP_Click).to(&W::MSFGFTP),
            commandButton("cmdCommand", {480, 6120, 1455, 495}).tab(2).on(&W::cmdCommand_Click).to(&W::cmdCommand),
            commandButton("cmdClose", {3240, 6120, 1455, 495}).tab(3).caption().on(&W::cmdClose_Click).to(&W::cmdClose),
        },
};

frmFTPDataTrans::frmFTPDataTrans(TransferRequest request, QWidget* parent)
    : QDialog(parent)
    , m_request(std::move(request))
{
    setObjectName(QStringLiteral("frmFTPDataTrans"));
    setModal(true);
    // A close during the session is refused, not kept for its end: the operator closes the window once they have
    // seen how it ended.
    ui::refuseCloseWhileRunning(this);
    createControls(this, kControls);
    cmdCommand->setText(QStringLiteral("Command"));
    Form_Load();
}

frmFTPDataTrans::~frmFTPDataTrans()
{
    if (!m_unloaded)
        Form_QueryUnload();
}

namespace {

void reportPreparationFailure(QWidget* parent, const QString& reason)
{
    msgBox(langMsg(QStringLiteral("ftpPrepareError"), reason), MsgIcon::Critical, MsgButtons::Ok, parent);
}

} // namespace

void frmFTPDataTrans::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangFTP);
    switch (m_request.mode) {
    case TransferSend:
        cmdCommand->setText(gLangFTP.text(QStringLiteral("cmdDownload")));
        break;
    case TransferFetch:
        cmdCommand->setText(gLangFTP.text(QStringLiteral("cmdUpload")));
        break;
    case TransferDelete:
        cmdCommand->setText(gLangFTP.text(QStringLiteral("cmdDelete")));
        break;
    default:
        break;
    }

    const QList<FlexColumn> columns{
        {gLangFTP.text(QStringLiteral("msfgSectNo")), 900}, {gLangFTP.text(QStringLiteral("msfgMachine")), 1500},
        {gLangFTP.text(QStringLiteral("msfgFile")), 600},   {gLangFTP.text(QStringLiteral("msfgStatus")), 1200},
        {gLangFTP.text(QStringLiteral("msfgSelect")), 300},
    };

    const MsgText prepareError = langMsg(QStringLiteral("ftpPrepareError"));
    db::Recordset rs(&gDBConnection);
    int n = 0;
    if (tryStep(
            [&] {
                rs.open(QStringLiteral("Select * from SCALE where SC_Used <> 0"));
                n = rs.recordCount();
            },
            prepareError, this)
        && n <= 0)
        msgBox(QStringLiteral("No Machine."), MsgIcon::Exclamation, MsgButtons::Ok, this);
    if (n <= 0) {
        rs.close();
        setupFlexGrid(MSFGFTP, columns, 1);
        MSFGFTP->setEnabled(false);
        return;
    }

    cmdCommand->setEnabled(false);
    mScaleHost = mScaleUser = mScalePassword = QStringList(n + 1);
    setupFlexGrid(MSFGFTP, columns, n + 1);
    tryStep(
        [&] {
            for (int r = 1; !rs.eof() && r <= n; ++r, rs.moveNext()) {
                setFlexText(MSFGFTP, r, 0, rs.value(QStringLiteral("SECT_No")).toString());
                setFlexText(MSFGFTP, r, 1, rs.textValue(QStringLiteral("SC_IP")));
                setFlexText(MSFGFTP, r, 2, QString());
                setFlexText(MSFGFTP, r, 3, QString());
                mScaleHost[r] = rs.textValue(QStringLiteral("SC_IP")).remove(QLatin1Char(' '));
                mScaleUser[r] = rs.textValue(QStringLiteral("SC_FTPName"));
                mScalePassword[r] = rs.textValue(QStringLiteral("SC_FTPPW"));
            }
        },
        prepareError, this);
    rs.close();

    tryStep([] { datafiles::makeTempFolder(); }, prepareError, this);
    if (m_request.mode == TransferSend) {
        // An old file must never go out in place of one that is not written this time.
        m_unprepared = datafiles::removeDataFiles(m_request.files);
        for (const QString& name : std::as_const(m_unprepared))
            reportPreparationFailure(this, text::nativePath(datafiles::dataFilePath(name)));
        for (const datafiles::WriterFailure& failure : datafiles::writeListedDataFiles(m_request.files)) {
            m_unprepared << failure.fileName;
            reportPreparationFailure(this, failure.fileName + QStringLiteral(": ") + failure.message);
        }
    } else if (m_request.mode == TransferFetch) {
        datafiles::removeDataFiles(m_request.files);
    }
}

int frmFTPDataTrans::selectColumn() const { return MSFGFTP->columnCount() - 1; }

void frmFTPDataTrans::MSFGFTP_Click()
{
    const int column = MSFGFTP->currentColumn();
    const int row = MSFGFTP->currentRow() + 1;
    if (row < 1 || column != selectColumn())
        return;
    const QString mark = flexText(MSFGFTP, row, column);
    if (mark.isEmpty()) {
        for (int i = 1; i < flexRows(MSFGFTP); ++i) {
            if (i == row) {
                setFlexText(MSFGFTP, i, selectColumn(), QStringLiteral("*"));
                setFlexText(MSFGFTP, i, statusColumn(), QString());
                setFlexText(MSFGFTP, i, fileColumn(), QString());
                MSFGFTP->item(i - 1, statusColumn())->setToolTip(QString());
            } else {
                setFlexText(MSFGFTP, i, selectColumn(), QString());
            }
        }
        cmdCommand->setEnabled(true);
    } else if (mark == QLatin1String("*")) {
        setFlexText(MSFGFTP, row, column, QString());
        cmdCommand->setEnabled(false);
    }
}

void frmFTPDataTrans::cmdCommand_Click()
{
    if (m_sessionRunning)
        return;
    m_sessionRunning = true;
    setEnabled(false);
    const qint16 mode = m_request.mode;
    QString linesNotRead;
    if (mode == TransferSend || mode == TransferFetch || mode == TransferDelete) {
        int marked = 0;
        for (int r = 1; r < flexRows(MSFGFTP) && !marked; ++r)
            if (flexText(MSFGFTP, r, selectColumn()) == QLatin1String("*"))
                marked = r;
        if (marked) {
            m_sessionRow = marked;
            transfer::TransferSession session(
                mode, m_request.files,
                {mScaleHost.value(marked), mScaleUser.value(marked), mScalePassword.value(marked)}, *this);
            session.setUnpreparedFiles(m_unprepared);
            session.setReceivedLineCheck(m_request.lineCheck);
            session.run();
            m_outcome.linesLeftOut.add(session.linesLeftOut());
            linesNotRead = session.linesNotRead();
            setFlexText(MSFGFTP, marked, selectColumn(), QString());
            m_sessionRow = 0;
        } else if (mode == TransferFetch) {
            datafiles::removeDataFiles(m_request.files);
        }
    }
    setEnabled(true);
    m_sessionRunning = false;
    // Told while the scale's row is in view: the report's caller goes on to export what was loaded.
    if (!linesNotRead.isEmpty())
        msgBox(langMsg(QStringLiteral("reportLinesNotRead"), linesNotRead), MsgIcon::Exclamation, MsgButtons::Ok, this);
}

void frmFTPDataTrans::cmdClose_Click() { close(); }

void frmFTPDataTrans::showFile(const QString& kind) { setFlexText(MSFGFTP, m_sessionRow, fileColumn(), kind); }

void frmFTPDataTrans::showStatus(const QString& text, const QString& reason)
{
    setFlexText(MSFGFTP, m_sessionRow, statusColumn(), text);
    MSFGFTP->item(m_sessionRow - 1, statusColumn())->setToolTip(reason);
}

void frmFTPDataTrans::Form_QueryUnload() { datafiles::removeDataFiles(m_request.files); }

void frmFTPDataTrans::done(int result)
{
    // Closing would delete the files a running session is sending.
    if (m_sessionRunning)
        return;
    Form_QueryUnload();
    m_unloaded = true;
    QDialog::done(result);
}

void frmFTPDataTrans::closeEvent(QCloseEvent* event)
{
    if (m_sessionRunning) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace quorvane
