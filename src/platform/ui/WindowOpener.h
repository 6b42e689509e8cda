#pragma once

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <utility>

namespace quorvane::ui {

// How the program's windows are opened.
//
// Modal windows (property dialogs, the transfer window, message-like dialogs): showModal<frmX>(...) creates the
// dialog, runs it with exec() and returns its result once it has closed and is gone. A caller that reads the
// dialog afterwards creates it itself and calls exec(). Every modal window, however it is shown, offers no iconify
// button, and one that the window manager iconifies all the same comes back at once.
//
// Tool windows (the editors of the main window's Tool menu): windows().openTool<frmX>(caption) opens the one
// instance of frmX, creating it when none is open, titles it with the menu entry's caption and shows it
// modeless; the main window hides until the tool window closes (it is deleted then), and shows again once no handler
// runs (HandlerRun.h).
//
// The main window: windows().mainWindow() is the one the start-up registered; any window may disable it or show
// it again through this without knowing its class.
//
// The program's end: once the exit has begun (setExiting(true)), no window comes back and no tool window opens
// (openTool gives nullptr), whatever closes afterwards: the exit closes the database, and a main window shown
// again would read it.
template<class D, class... Args> int showModal(Args&&... args)
{
    D dialog(std::forward<Args>(args)...);
    return dialog.exec();
}

class WindowOpener {
public:
    QWidget* mainWindow() const { return m_main; }
    template<class W> W* mainWindow() const { return qobject_cast<W*>(m_main.data()); }
    // The main window of the run; it stays registered until it is deleted.
    void setMainWindow(QWidget* window);

    template<class W> W* openTool(const QString& caption)
    {
        return static_cast<W*>(openTool(W::staticMetaObject.className(), caption, [] { return new W; }));
    }
    // The open tool window of class W, or nullptr.
    template<class W> W* tool() const { return qobject_cast<W*>(m_tools.value(W::staticMetaObject.className())); }

    // The exit sets it before it writes anything, a start clears it; reset() clears it too.
    void setExiting(bool exiting) { m_exiting = exiting; }
    bool exiting() const { return m_exiting; }

    // Forgets every window, closing none, and that the exit began (tests, between cases).
    void reset();

private:
    QWidget* openTool(const QByteArray& key, const QString& caption, const std::function<QWidget*()>& create);
    void toolClosed();

    QPointer<QWidget> m_main;
    QHash<QByteArray, QPointer<QWidget>> m_tools;
    bool m_exiting = false;
};

// The program's one opener.
WindowOpener& windows();

} // namespace quorvane::ui
