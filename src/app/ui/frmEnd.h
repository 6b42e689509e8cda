#pragma once

#include "platform/ui/ControlTable.h"
#include "platform/ui/MessageBox.h"

#include <QWidget>

class QLabel;

namespace quorvane {

// The closing window: its load handler is the shutdown, and the program ends inside it.
class frmEnd : public QWidget {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    // Shows the closing window and runs the shutdown; afterwards the program has ended (app::exitProgram).
    static void Show();
    // The same for a termination request: no one waits at the screen, so what the shutdown has to say goes to the
    // standard error instead of a message box that would hold the end up.
    static void ShowUnattended();
    // True while the shutdown runs.
    static bool isRunning();

private:
    explicit frmEnd(bool unattended);
    void Form_Load();
    void report(const QString& text, ui::MsgIcon icon);

    QLabel* labDisplay = nullptr;
    bool m_unattended = false;
};

} // namespace quorvane
