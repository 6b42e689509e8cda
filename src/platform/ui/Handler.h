#pragma once

#include <QObject>
#include <QString>

#include <concepts>
#include <functional>
#include <utility>

class QWidget;

namespace quorvane::ui {

// What control and menu tables share: their handlers, and the language collection their captions come from.

// The window of a table's member, as its class, while the table is created: a table used on a window of
// another class is a programming error that stops there, and a test opens every window.
template<class W> W* tableWindow(QObject* window)
{
    W* w = qobject_cast<W*>(window);
    if (!w)
        qFatal("Table of %s used on a window of class %s", W::staticMetaObject.className(),
               window ? window->metaObject()->className() : "none");
    return w;
}

// A handler named in a control or menu table. Either a member function of the window class, taking nothing or,
// for the elements of a control array, the element's index, as the classic handlers do:
//     &frmMain::cmdStore_Click            void cmdStore_Click();
//     &frmMain::meditMemDisc_LostFocus    void meditMemDisc_LostFocus(int index);
// (the window class needs Q_OBJECT: the handler finds its window by qobject_cast), or a free function of a lower
// folder that takes the window, so that the folder owning a part of the window keeps its handlers:
//     &plu::chkWeighed_Click              void chkWeighed_Click(QWidget* window);
//     &keys::lblKey_Click                 void lblKey_Click(QWidget* window, int index);
// or one such function for many controls of a control table that finds its rule by the control (a menu entry has
// none to give: a menu row with such a handler stops when its menu is made):
//     &plu::editorBox_LostFocus          void editorBox_LostFocus(QWidget* window, QWidget* control);
// A bound handler never runs on a window being destroyed (its class is gone by then: Qt's clearFocus() in
// ~QWidget sends the focused box its FocusOut after the window's own destructor has run).
class Handler {
public:
    Handler() = default;
    template<class W>
    Handler(void (W::*member)())
        : m_call([member](QObject* window, QWidget*, int) { (static_cast<W*>(window)->*member)(); })
        , m_class(&W::staticMetaObject)
    {
    }
    template<class W>
    Handler(void (W::*member)(int index))
        : m_call([member](QObject* window, QWidget*, int index) { (static_cast<W*>(window)->*member)(index); })
        , m_class(&W::staticMetaObject)
    {
    }
    Handler(void (*function)(QWidget* window));
    Handler(void (*function)(QWidget* window, int index));
    Handler(void (*function)(QWidget* window, QWidget* control));

    explicit operator bool() const { return bool(m_call); }

    // Whether the handler can run on this window: a member handler needs a window of its class. Tables check it
    // for every row when they create a window's controls, and stop there naming the handler's class.
    bool accepts(const QObject* window) const;
    void checkWindow(const QObject* window) const;

    // The handler of one window's control: `index` is its array index, -1 for a single control; `control` its
    // widget, none for a menu entry. The call does nothing once the window's class is being destroyed; it runs as a
    // HandlerRun of the window (HandlerRun.h).
    std::function<void()> boundTo(QObject* window, int index, QWidget* control = nullptr) const;

private:
    std::function<void(QObject* window, QWidget* control, int index)> m_call;
    const QMetaObject* m_class = nullptr; // of a member handler's window
    bool m_takesControl = false;
};

// A caption's text by its key.
using TextOf = std::function<QString(const QString& key)>;

// A language collection: anything with text(key), a LangCollection.
template<class Texts>
concept TextCollection = std::convertible_to<decltype(std::declval<const Texts&>().text(QString())), QString>;

// setCaptions(window, table, gLangX) for either kind of table (ControlTable.h, MenuTable.h).
template<class Table, TextCollection Texts> void setCaptions(QWidget* window, const Table& table, const Texts& texts)
{
    setCaptions(window, table, TextOf([&texts](const QString& key) { return texts.text(key); }));
}

} // namespace quorvane::ui
