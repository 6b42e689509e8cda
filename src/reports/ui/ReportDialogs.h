#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace quorvane::reports {

// CommonDialog1 of the report windows: a file dialog that starts in the program folder and shows text files.
enum class FileDialogKind { Open, Save };
// The chosen file, or an empty text when the operator cancelled. A file chosen for saving that exists is
// replaced without a question.
QString CommonDialog1(FileDialogKind kind, QWidget* parent);

// Tests answer the dialog instead of the operator: the handler gets what the dialog would show.
using FileDialogHandler = std::function<QString(FileDialogKind kind, const QString& folder, const QString& filter)>;
void setFileDialogHandler(FileDialogHandler handler);

// One transfer with a scale from a report window: fills the transfer request (the current store and section,
// the mode, the files), lets pending events run, shows the transfer window modally with the caller disabled,
// and releases the file list when it has closed.
void runTransfer(QWidget* caller, qint16 mode, const QStringList& files);

} // namespace quorvane::reports
