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
    if (event->type() == QEvent::Show && window && window->isWindow() && window->objectName() == m_name) {
        QMetaObject::invokeMethod(
            this,
            [this, window = QPointer<QWidget>(window)] {
                if (!window || !window->isVisible())
                    return;
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
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane::test
