#pragma once

#include "app/StartUp.h"
#include "platform/ui/ControlTable.h"

#include <QWidget>

class QLabel;

namespace quorvane {

// The loading window: its load handler is the start-up sequence.
class frmLoading : public QWidget, public app::StartUpView {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    frmLoading();

    // Runs the start-up sequence; true when the main window is up.
    bool Form_Load();

    void setProgressText(const QString& text) override;
    void showLoadingWindow() override;
    void showMessage(const QString& text, app::MessageIcon icon) override;
    bool askYesNo(const QString& key, const QString& text) override;
    void showMainWindow() override;

private:
    QLabel* lblLoading = nullptr;
};

} // namespace quorvane
