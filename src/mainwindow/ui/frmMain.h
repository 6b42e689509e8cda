#pragma once

#include "platform/ui/ControlTable.h"

#include <QMainWindow>

namespace quorvane {

// The main window. There is one, held by the window opener (ui::windows()); closing it asks the start-up's
// wiring to end the program.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    // The main window: the loaded one, else a new one, registered with the opener.
    static frmMain* form();
    static bool isLoaded();
    // Closes and deletes the window without asking to end the program (the shutdown has run).
    static void unload();

    // Shows the window without waiting; when it is shown already, brings it to the front.
    void Show();

signals:
    // The operator closed the window. The window stays until unload(), which whoever ends the program calls;
    // with nothing connected it closes at once.
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmMain();

    bool m_unloaded = false;
};

} // namespace quorvane
