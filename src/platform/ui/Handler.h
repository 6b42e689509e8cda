#pragma once

#include <QObject>
#include <QString>

#include <concepts>
#include <functional>
#include <utility>

class QWidget;

namespace quorvane::ui {

// What control and menu tables share: their handlers, and the language collection their captions come from.

// The window of a table's handler or member, as its class: a table used on a window of another class is a
// programming error that stops at once.
template<class W> W* tableWindow(QObject* window)
{
    W* w = qobject_cast<W*>(window);
    if (!w)
        qFatal("A table was used on a window of another class");
    return w;
}

// A handler named in a control or menu table: a member function of the window class, taking nothing or, for
// the elements of a control array, the element's index, as the classic handlers do:
//     &frmMain::cmdStore_Click            void cmdStore_Click();
//     &frmMain::meditMemDisc_LostFocus    void meditMemDisc_LostFocus(int index);
// The window class needs Q_OBJECT: the handler finds its window by qobject_cast.
class Handler {
public:
    Handler() = default;
    template<class W>
    Handler(void (W::*member)()) : m_call([member](QObject* window, int) { (tableWindow<W>(window)->*member)(); })
    {
    }
    template<class W>
    Handler(void (W::*member)(int index))
        : m_call([member](QObject* window, int index) { (tableWindow<W>(window)->*member)(index); })
    {
    }

    explicit operator bool() const { return bool(m_call); }

    // The handler of one window's control: `index` is its array index, -1 for a single control.
    std::function<void()> boundTo(QObject* window, int index) const
    {
        return [call = m_call, window, index] { call(window, index); };
    }

private:
    std::function<void(QObject*, int)> m_call;
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
