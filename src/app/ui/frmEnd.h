#pragma once

#include "platform/ui/ControlTable.h"

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
    // True while the shutdown runs.
    static bool isRunning();

private:
    frmEnd();
    void Form_Load();

    QLabel* labDisplay = nullptr;
};

} // namespace quorvane
