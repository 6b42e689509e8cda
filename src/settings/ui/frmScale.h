#pragma once

#include "platform/ui/ControlTable.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace quorvane {

// The data-format dialog: decimals, decimal sign, date order, currency, country and store mode. Opened
// modally (ui::showModal<frmScale>()). OK writes the settings file and offers to end the program, since the
// new values take full effect at the next start.
class frmScale : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmScale(QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();

    QComboBox* combPPoint = nullptr;
    QComboBox* combWPoint = nullptr;
    QComboBox* combPPointType = nullptr;
    QComboBox* combDateType = nullptr;
    QComboBox* combPriceUnit = nullptr;
    QComboBox* combSYS_Country = nullptr;
    QComboBox* combSYS_Store = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace quorvane
