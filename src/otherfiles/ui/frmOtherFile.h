#pragma once

#include "platform/ui/ControlTable.h"

#include <QWidget>

namespace quorvane {

namespace otherfiles {
struct OtherFileKind;
} // namespace otherfiles

// The editor of the scales' other files on one page: texts, clerks, taxes, stock and payment keys, discount and
// price schedules, one row per kind, each field saved when it is left; the ticked kinds are sent, and the
// scale's date and time. A tool window: windows().openTool<frmOtherFile>(caption).
class frmOtherFile : public QWidget {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    frmOtherFile();

    void cmdSend_Click();
    void cmdDTTM_Click();
    void cmdClose_Click();
    void combDiscType_Click();      // which schedule fields are open
    void combDiscLimitType_Click(); // the limits' unit labels

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void connectKinds();
    qint64 shownNumber(const otherfiles::OtherFileKind& kind) const;
    void display(const otherfiles::OtherFileKind& kind);
    void save(const otherfiles::OtherFileKind& kind, const char* left);
    QVariantMap shownValues(const otherfiles::OtherFileKind& kind) const;
    void showValues(const QVariantMap& values);
    QWidget* control(const char* name) const;

    bool m_showing = false; // values set by a display save nothing
};

} // namespace quorvane
