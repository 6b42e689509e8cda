#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace quorvane {

// The About window: title, function and description in the interface language, the version and the software
// code, and the program's picture. Opened modally, titled by its caller: ui::showModal<frmAbout>(caption).
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;
    static constexpr const char* Version = "1.02";
    static constexpr const char* SoftwareCode = "QLPRDX018";

    explicit frmAbout(const QString& title = QString(), QWidget* parent = nullptr);

    void cmdOK_Click();

private:
    void Form_Load();

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblFunction = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCode = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace quorvane
