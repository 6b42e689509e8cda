#include "platform/ui/ValueSetters.h"

#include "platform/ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace quorvane::ui {

namespace {

// The handlers of one control, kept as a hidden child of it.
class ControlEvents : public QObject {
    Q_OBJECT
public:
    explicit ControlEvents(QWidget* control) : QObject(control) { listen(control); }

    std::function<void()> change;
    std::function<void()> leave;
    std::function<void()> enter;
    int settingDepth = 0; // a setter is at work: the widget's own change signals are not the operator's

    void operatorChanged()
    {
        if (settingDepth == 0 && change)
            change();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool out = event->type() == QEvent::FocusOut;
        if (out || event->type() == QEvent::FocusIn) {
            const std::function<void()>& handler = out ? leave : enter;
            switch (static_cast<QFocusEvent*>(event)->reason()) {
            case Qt::PopupFocusReason:
            case Qt::ActiveWindowFocusReason:
            case Qt::MenuBarFocusReason:
                break;
            default:
                if (handler)
                    handler();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void listen(QWidget* control)
    {
        const auto changed = [this] { operatorChanged(); };
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            connect(button, &QAbstractButton::clicked, this, changed);
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            connect(combo, &QComboBox::activated, this, changed);
        else if (auto* list = qobject_cast<ListBox*>(control))
            connect(list, &ListBox::rowChosen, this, changed);
        else if (auto* plainList = qobject_cast<QListWidget*>(control))
            connect(plainList, &QListWidget::currentRowChanged, this, changed);
        else if (auto* line = qobject_cast<QLineEdit*>(control))
            connect(line, &QLineEdit::textEdited, this, changed);
        else if (auto* text = qobject_cast<QPlainTextEdit*>(control))
            connect(text, &QPlainTextEdit::textChanged, this, changed);
        else if (auto* picker = qobject_cast<QDateTimeEdit*>(control))
            connect(picker, &QDateTimeEdit::dateTimeChanged, this, changed);
        else if (auto* tabs = qobject_cast<QTabWidget*>(control))
            connect(tabs, &QTabWidget::currentChanged, this, changed);
        else if (auto* grid = qobject_cast<QTableWidget*>(control))
            connect(grid, &QTableWidget::cellClicked, this, changed);
        else if (auto* tree = qobject_cast<QTreeWidget*>(control))
            connect(tree, &QTreeWidget::itemClicked, this, changed);
        control->installEventFilter(this);
    }
};

ControlEvents* eventsOf(QWidget* control)
{
    return control ? control->findChild<ControlEvents*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

ControlEvents* makeEvents(QWidget* control)
{
    ControlEvents* events = eventsOf(control);
    return events ? events : new ControlEvents(control);
}

// Sets a value without the widget's signals counting as the operator's, then runs the handler once.
template<class Set> void setAndRun(QWidget* control, Set&& set)
{
    ControlEvents* events = eventsOf(control);
    if (!events) {
        set();
        return;
    }
    ++events->settingDepth;
    set();
    --events->settingDepth;
    if (events->change)
        events->change();
}

} // namespace

void onChange(QWidget* control, std::function<void()> handler) { makeEvents(control)->change = std::move(handler); }

void onLeave(QWidget* control, std::function<void()> handler) { makeEvents(control)->leave = std::move(handler); }

void onEnter(QWidget* control, std::function<void()> handler) { makeEvents(control)->enter = std::move(handler); }

void setListIndex(QComboBox* list, int index)
{
    setAndRun(list, [&] { list->setCurrentIndex(index); });
}

void setListIndex(QListWidget* list, int index)
{
    setAndRun(list, [&] { list->setCurrentRow(index); });
}

void setChecked(QCheckBox* box, bool checked)
{
    setAndRun(box, [&] { box->setChecked(checked); });
}

void setOption(QRadioButton* option)
{
    setAndRun(option, [&] { option->setChecked(true); });
}

void setText(QLineEdit* box, const QString& text)
{
    setAndRun(box, [&] { box->setText(text); });
}

void setText(QPlainTextEdit* box, const QString& text)
{
    setAndRun(box, [&] { box->setPlainText(text); });
}

void setDate(QDateTimeEdit* picker, const QDate& date)
{
    setAndRun(picker, [&] { picker->setDate(date); });
}

void setTime(QDateTimeEdit* picker, const QTime& time)
{
    setAndRun(picker, [&] { picker->setTime(time); });
}

void setTab(QTabWidget* tabs, int index)
{
    setAndRun(tabs, [&] { tabs->setCurrentIndex(index); });
}

void commitFocusedField(QWidget* window)
{
    for (QWidget* w = window ? window->focusWidget() : nullptr; w && w != window; w = w->parentWidget()) {
        if (const ControlEvents* events = eventsOf(w); events && events->leave) {
            events->leave();
            return;
        }
    }
}

} // namespace quorvane::ui

#include "ValueSetters.moc"
