#include "state/ProgramFolder.h"

#include "state/ProgramState.h"

#include <QCoreApplication>
#include <QDir>

namespace quorvane {

namespace {
QString& folder() { return programState().programFolder; }
} // namespace

QString programFolder()
{
    if (folder().isEmpty() && QCoreApplication::instance())
        folder() = QCoreApplication::applicationDirPath();
    return folder();
}

void setProgramFolder(const QString& f) { folder() = QDir::cleanPath(f); }

QString programPath(const QString& relative) { return programFolder() + QLatin1Char('/') + relative; }

} // namespace quorvane
