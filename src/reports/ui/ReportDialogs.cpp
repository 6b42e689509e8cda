#include "reports/ui/ReportDialogs.h"

#include "platform/events/DoEvents.h"
#include "platform/ui/WindowOpener.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/frmFTPDataTrans.h"

#include <QFileDialog>

namespace quorvane::reports {

namespace {
FileDialogHandler gFileDialogHandler;
} // namespace

void setFileDialogHandler(FileDialogHandler handler) { gFileDialogHandler = std::move(handler); }

QString CommonDialog1(FileDialogKind kind, QWidget* parent)
{
    const QString folder = programFolder();
    const QString filter = QStringLiteral("(*.txt)");
    if (gFileDialogHandler)
        return gFileDialogHandler(kind, folder, filter);
    if (kind == FileDialogKind::Open)
        return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
    return QFileDialog::getSaveFileName(parent, QString(), folder, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

void runTransfer(QWidget* caller, qint16 mode, const QStringList& files)
{
    struct Release {
        QWidget* caller;
        ~Release()
        {
            gTransferFiles.clear();
            if (caller)
                caller->setEnabled(true);
        }
    } release{caller};
    gTransferStoreNo = gStoreTree().gCurStoreNo;
    gTransferSectNo = gStoreTree().gCurSectNo;
    gTransferMode = mode;
    gTransferFiles = files;
    DoEvents();
    // The transfer window's loading may pump events before it is modal: the caller takes no input meanwhile.
    if (caller)
        caller->setEnabled(false);
    ui::showModal<frmFTPDataTrans>();
}

} // namespace quorvane::reports
