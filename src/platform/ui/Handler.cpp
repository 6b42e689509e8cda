#include "platform/ui/Handler.h"

#include "platform/ui/HandlerRun.h"

#include <QWidget>

namespace quorvane::ui {

Handler::Handler(void (*function)(QWidget* window))
    : m_call([function](QObject* window, QWidget*, int) { function(static_cast<QWidget*>(window)); })
    , m_class(&QWidget::staticMetaObject)
{
}

Handler::Handler(void (*function)(QWidget* window, int index))
    : m_call([function](QObject* window, QWidget*, int index) { function(static_cast<QWidget*>(window), index); })
    , m_class(&QWidget::staticMetaObject)
{
}

Handler::Handler(void (*function)(QWidget* window, QWidget* control))
    : m_call([function](QObject* window, QWidget* control, int) { function(static_cast<QWidget*>(window), control); })
    , m_class(&QWidget::staticMetaObject)
    , m_takesControl(true)
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

std::function<void()> Handler::boundTo(QObject* window, int index, QWidget* control) const
{
    checkWindow(window);
    if (m_takesControl && !control)
        qFatal("A handler taking its control is used on a menu entry of a window of class %s",
               window->metaObject()->className());
    // The class the window has now, while it is built or whole; a window being destroyed has lost it.
    const QMetaObject* built = window->metaObject();
    return [call = m_call, window, control, index, built] {
        if (!window->metaObject()->inherits(built))
            return;
        const HandlerRun run(window->isWidgetType() ? static_cast<QWidget*>(window) : nullptr);
        call(window, control, index);
    };
}

} // namespace quorvane::ui
