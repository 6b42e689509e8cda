#include "app/ui/Main.h"
#include "app/ProgramExit.h"
#include "state/ProgramFolder.h"

#include <QApplication>

using namespace quorvane;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The program ends through the shutdown, not when its last window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    const QString folder = qEnvironmentVariable("QUORVANE_PROGRAM_FOLDER");
    setProgramFolder(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder);
    app::setExitHandler([](int code) { QCoreApplication::exit(code); });

    switch (app::Main()) {
    case app::StartOutcome::Running:
        return QApplication::exec();
    case app::StartOutcome::AlreadyRunning:
        return 0;
    case app::StartOutcome::Failed:
        break;
    }
    return 1;
}
