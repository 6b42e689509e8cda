#include "platform/ui/Handler.h"

#include <QWidget>

namespace quorvane::ui {

Handler::Handler(void (*function)(QWidget* window))
    : m_call([function](QObject* window, int) { function(static_cast<QWidget*>(window)); })
    , m_class(&QWidget::staticMetaObject)
{
}

Handler::Handler(void (*function)(QWidget* window, int index))
    : m_call([function](QObject* window, int index) { function(static_cast<QWidget*>(window), index); })
    , m_class(&QWidget::staticMetaObject)
{
}

bool Handler::accepts(const QObject* window) const
{
    return !m_call || (window && window->metaObject()->inherits(m_class));
}

void Handler::checkWindow(const QObject* window) const
{
    if (!accepts(window))
        qFatal("A handler of class %s is used on a window of class %s", m_class->className(),
               window ? window->metaObject()->className() : "none");
}

std::function<void()> Handler::boundTo(QObject* window, int index) const
{
    checkWindow(window);
    // The class the window has now, while it is built or whole; a window being destroyed has lost it.
    const QMetaObject* built = window->metaObject();
    return [call = m_call, window, index, built] {
        if (window->metaObject()->inherits(built))
            call(window, index);
    };
}

} // namespace quorvane::ui
