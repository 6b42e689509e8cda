#include "mainwindow/ui/frmMain.h"

#include "app/ui/frmEnd.h"

#include <QCloseEvent>
#include <QPointer>

namespace quorvane {

namespace {
QPointer<frmMain>& instance()
{
    static QPointer<frmMain> window;
    return window;
}
} // namespace

frmMain* frmMain::form()
{
    if (!instance())
        instance() = new frmMain;
    return instance();
}

bool frmMain::isLoaded() { return !instance().isNull(); }

void frmMain::unload()
{
    if (!instance())
        return;
    instance()->m_unloading = true;
    instance()->close();
}

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quorvane"));
    resize(800, 600);
}

void frmMain::Show()
{
    show();
    raise();
    activateWindow();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (frmEnd::isRunning()) { // the shutdown is at work and closes this window when it is done
        event->ignore();
        return;
    }
    if (!m_unloading) {
        m_unloading = true;
        frmEnd::Show();
    }
    event->accept();
}

} // namespace quorvane
