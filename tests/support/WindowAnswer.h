#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace quorvane::test {

// Answers a window the moment it is up, instead of a timer: each time a window of that objectName shows (a modal
// dialog inside its own exec(), a message box shown for real, a tool window), `answer` runs from a queued call
// with the window. A window it leaves open is closed afterwards (a dialog rejected), so that exec() returns.
class WindowAnswer : public QObject {
public:
    WindowAnswer(const QString& objectName, std::function<void(QWidget*)> answer);
    ~WindowAnswer() override;

    // How often the window was answered.
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answerLater(QWidget* window);

    QString m_name;
    std::function<void(QWidget*)> m_answer;
    int m_count = 0;
};

} // namespace quorvane::test
