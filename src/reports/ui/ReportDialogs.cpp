#include "reports/ui/ReportDialogs.h"

#include "platform/StateReset.h"
#include "state/ProgramFolder.h"

#include <QFileDialog>

namespace quorvane::reports {

namespace {
// A test's answers; the operator's dialog again after a reset of the program state.
FileDialogHandler gFileDialogHandler;
const ResetWithState kResetHandler([] { gFileDialogHandler = nullptr; });
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

} // namespace quorvane::reports
