#include "WindowAnswer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace quorvane::test {

WindowAnswer::WindowAnswer(const QString& objectName, std::function<void(QWidget*)> answer)
    : m_name(objectName)
    , m_answer(std::move(answer))
{
    QCoreApplication::instance()->installEventFilter(this);
}

WindowAnswer::~WindowAnswer() { QCoreApplication::instance()->removeEventFilter(this); }

bool WindowAnswer::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && window && window->isWindow() && window->objectName() == m_name)
        answerLater(window);
    return QObject::eventFilter(watched, event);
}

void WindowAnswer::answerLater(QWidget* shown)
{
    QMetaObject::invokeMethod(
        this,
        [this, window = QPointer<QWidget>(shown)] {
            if (!window || !window->isVisible())
                return;
            // A window that pumps events while it fills itself (disabled meanwhile) is answered once it is done:
            // rejected halfway, before its exec() loop runs, it would never return.
            if (!window->isEnabled()) {
                answerLater(window);
                return;
            }
            ++m_count;
            m_answer(window);
            if (window && window->isVisible()) {
                if (auto* dialog = qobject_cast<QDialog*>(window.data()))
                    dialog->reject();
                else
                    window->close();
            }
        },
        Qt::QueuedConnection);
}

} // namespace quorvane::test
