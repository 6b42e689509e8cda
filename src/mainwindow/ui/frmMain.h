#pragma once

#include <QMainWindow>

namespace quorvane {

// The main window. There is one, created on first use; closing it runs the shutdown.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static frmMain* form();
    static bool isLoaded();
    // Closes and deletes the window without running the shutdown (the shutdown has run).
    static void unload();

    // Shows the window without waiting; when it is shown already, brings it to the front.
    void Show();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmMain();

    bool m_unloading = false;
};

} // namespace quorvane
