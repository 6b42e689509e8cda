#pragma once

#include <QObject>

class QWidget;

namespace quorvane::ui {
struct ControlTable;
}

namespace quorvane::plu {

// What the window hosting the PLU list and editor keeps of them, made with the window before its controls: the
// table whose caption keys label the editor (its rows are the window's, captioned from frmMain_sstab), and, once
// the controls are there, the grid's events that its control-table handler does not carry: the header click, any
// other row made current without a click on it, and the Shift key.
class PluWindow : public QObject {
    Q_OBJECT
public:
    PluWindow(QWidget* window, const ui::ControlTable& editorCaptions);

    // The window's PluWindow, its grid's events attached on the first call after the controls exist.
    static PluWindow* of(QWidget* window);

    const ui::ControlTable& editorCaptions() const { return m_captions; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attach();

    QWidget* m_window;
    const ui::ControlTable& m_captions;
    bool m_attached = false;
};

} // namespace quorvane::plu
