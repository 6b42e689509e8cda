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

// Tests answer the dialog instead of the operator: the handler gets what the dialog would show, until
// resetProgramState().
using FileDialogHandler = std::function<QString(FileDialogKind kind, const QString& folder, const QString& filter)>;
void setFileDialogHandler(FileDialogHandler handler);

} // namespace quorvane::reports
