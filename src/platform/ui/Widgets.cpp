#include "platform/ui/Widgets.h"

#include <QAbstractItemView>
#include <QDateTimeEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <optional>
#include <string_view>
#include <utility>

namespace quorvane::ui {

namespace {

// Kept as a hidden child of the combo box. Entries added are measured as they come (a list of a thousand is
// filled one entry a call), the others again when any is removed or changed.
class ListWidth : public QObject {
    Q_OBJECT
public:
    explicit ListWidth(QComboBox* list) : QObject(list), m_list(list)
    {
        const QAbstractItemModel* model = list->model();
        connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent, int first, int last) {
            if (parent != m_list->rootModelIndex())
                return;
            if (m_widestRow >= first)
                m_widestRow += last - first + 1;
            widen(first, last);
        });
        const auto refit = [this] { fit(); };
        connect(model, &QAbstractItemModel::rowsRemoved, this, refit);
        connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
            if (m_widestRow >= from.row() && m_widestRow <= to.row())
                fit(); // the widest may have become narrower
            else
                widen(from.row(), to.row());
        });
        connect(model, &QAbstractItemModel::modelReset, this, refit);
        connect(model, &QAbstractItemModel::layoutChanged, this, refit);
        list->view()->installEventFilter(this);
        fit();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            fit();
        return QObject::eventFilter(watched, event);
    }

private:
    QString entry(int row) const { return m_list->itemText(row); }

    void fit()
    {
        m_widest = -1;
        widen(0, m_list->count() - 1);
    }

    void widen(int first, int last)
    {
        QAbstractItemView* view = m_list->view();
        const QFontMetrics metrics = view->fontMetrics();
        bool wider = false;
        for (int row = first; row <= last; ++row)
            if (const int w = metrics.horizontalAdvance(entry(row)); w > m_widest) {
                m_widest = w;
                m_widestRow = row;
                wider = true;
            }
        if (m_widest < 0) {
            view->setMinimumWidth(0);
            return;
        }
        // What the list adds to the text: the entry's margins and picture as its delegate draws them, the
        // frame, and the scroll bar once the entries outnumber the rows shown.
        if (wider) {
            const QModelIndex widest = m_list->model()->index(m_widestRow, m_list->modelColumn(),
                                                              m_list->rootModelIndex());
            m_entryMargin = qMax(0, view->sizeHintForIndex(widest).width() - m_widest);
        }
        const int scrollBar = m_list->count() > m_list->maxVisibleItems()
            ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view->verticalScrollBar())
            : 0;
        view->setMinimumWidth(m_widest + m_entryMargin + 2 * view->frameWidth() + scrollBar);
    }

    QComboBox* m_list;
    int m_widest = -1; // the text width of the widest entry
    int m_widestRow = -1;
    int m_entryMargin = 0;
};

// A section of a picker's display format that the keys type as digits.
struct NumberSection {
    char letter = 0; // d, M, y, H, h, m or s
    int width = 2;   // digits shown
    int max = 0;
};

// The sections of a display format, in order; none when one of them is not a number (a day or month name, AM/PM, a
// time zone, quoted text): such a picker is typed as Qt types it.
QList<NumberSection> numberSections(const QString& format)
{
    QList<NumberSection> sections;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype n = 1;
        while (i + n < format.size() && format[i + n] == c)
            ++n;
        i += n;
        if (!c.isLetter() && c != QLatin1Char('\''))
            continue; // a separator
        const char letter = c.toLatin1();
        const bool year = letter == 'y';
        if (std::string_view("dMyHhms").find(letter) == std::string_view::npos || (!year && n > 2)
            || (year && n != 2 && n != 4))
            return {};
        const int max = letter == 'd'        ? 31
            : letter == 'M'                  ? 12
            : year                           ? (n == 2 ? 99 : 9999)
            : letter == 'm' || letter == 's' ? 59
                                             : 23;
        sections << NumberSection{letter, year ? int(n) : 2, max};
    }
    return sections;
}

// The runs of digits of a picker's text: its sections' texts.
QList<QRegularExpressionMatch> digitRuns(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    QList<QRegularExpressionMatch> runs;
    for (auto it = digits.globalMatch(text); it.hasNext();)
        runs << it.next();
    return runs;
}

// A picker's text read by its display format, when every section is a number: the date and time it names, if it
// names one the picker takes, and whether it names a day that its month lacks. A section the format lacks keeps the
// picker's; a two-digit year is of the century of the picker's date, as Qt reads it.
struct TypedValue {
    bool read = false;
    std::optional<QDateTime> value;
    bool missingDay = false;
};
TypedValue readTyped(const QDateTimeEdit* picker, const QString& text)
{
    const QList<NumberSection> sections = numberSections(picker->displayFormat());
    const QList<QRegularExpressionMatch> runs = digitRuns(text);
    if (sections.isEmpty() || runs.size() != sections.size())
        return {};
    const QDate date = picker->date();
    const QTime time = picker->time();
    int day = date.day(), month = date.month(), year = date.year();
    int hour = time.hour(), minute = time.minute(), second = time.second();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const int v = runs[i].captured().toInt();
        switch (sections[i].letter) {
        case 'd':
            day = v;
            break;
        case 'M':
            month = v;
            break;
        case 'y':
            year = sections[i].width == 2 ? year / 100 * 100 + v : v;
            break;
        case 'm':
            minute = v;
            break;
        case 's':
            second = v;
            break;
        default:
            hour = v;
        }
    }
    TypedValue typed;
    typed.read = true;
    const QDateTime value(QDate(year, month, day), QTime(hour, minute, second));
    if (value.isValid() && value >= picker->minimumDateTime() && value <= picker->maximumDateTime())
        typed.value = value;
    typed.missingDay = !value.date().isValid() && day >= 1 && day <= 31 && QDate(year, month, 1).isValid();
    return typed;
}

// Kept as a child of the picker, watching its text box and its keys. Qt's own typing reads each section as it is
// typed against the others as they stand (the day against the month and year shown before the year is typed, so
// that a leap day became the 28th), lets a separator typed after a full section skip the next one, and places a caret
// inside a section where a digit makes a value the picker refuses without a word; a caret moved to another section
// makes it read the text again, the same way. Here a section is always selected whole, the digits fill it, and what
// the picker holds is the whole text read at once. A format with a section that is no number is left to Qt, but for
// the click and Home and End, which select a section there too.
class SectionTyping : public QObject {
    Q_OBJECT
public:
    SectionTyping(QDateTimeEdit* picker, QLineEdit* box) : QObject(picker), m_picker(picker), m_box(box)
    {
        picker->setFocusPolicy(Qt::StrongFocus); // the wheel alone does not make it the focus
        box->installEventFilter(this);           // the mouse
        picker->installEventFilter(this);        // the keys, the focus and the wheel, which reach the picker
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_picker) {
            switch (event->type()) {
            case QEvent::Wheel:
                if (m_picker->hasFocus())
                    break;
                event->ignore(); // on to what lies under it
                return true;
            case QEvent::KeyPress:
                return keyPressed(static_cast<QKeyEvent*>(event));
            case QEvent::FocusIn:
            case QEvent::FocusOut:
                endRun(); // leaving shows what the picker holds
                break;
            default:
                break;
            }
            return QObject::eventFilter(watched, event); // the picker's arrows and calendar button work as ever
        }
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                break;
            selectAt(m_box->cursorPositionAt(mouse->position().toPoint()));
            m_pressed = true;
            return true; // the box would start a drag or a selection of its own
        }
        case QEvent::MouseMove:
            // A hand that moves while it clicks keeps the section: dragging selects nothing in a picker.
            if (m_pressed && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton))
                return true;
            break;
        case QEvent::MouseButtonRelease:
            m_pressed = false;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int sectionCount() const { return int(numberSections(m_picker->displayFormat()).size()); }

    // The section at a position of the text: the one it stands in or at the end of, else the next one.
    void selectAt(int position)
    {
        const QList<QRegularExpressionMatch> runs = digitRuns(m_box->text());
        if (sectionCount() == 0 || runs.size() != sectionCount()) {
            m_box->setCursorPosition(position);
            m_picker->setSelectedSection(m_picker->currentSection());
            return;
        }
        int index = 0;
        while (index + 1 < runs.size() && runs[index].capturedEnd() < position)
            ++index;
        select(index);
    }

    // Selected whole, cursor first as Qt selects a section: a caret alone would make Qt read the text again.
    void select(int index)
    {
        const QList<QRegularExpressionMatch> runs = digitRuns(m_box->text());
        if (sectionCount() == 0 || runs.size() != sectionCount()) {
            m_picker->setSelectedSection(m_picker->sectionAt(index));
            return;
        }
        m_box->setSelection(int(runs[index].capturedEnd()), -int(runs[index].capturedLength()));
        m_typed.clear();
        m_section = index;
    }

    // The section of the selection or the caret; -1 for none.
    int currentIndex() const
    {
        const int at = m_box->hasSelectedText() ? m_box->selectionStart() : m_box->cursorPosition();
        const QList<QRegularExpressionMatch> runs = digitRuns(m_box->text());
        for (qsizetype i = 0; i < runs.size(); ++i)
            if (at >= runs[i].capturedStart() && at <= runs[i].capturedEnd())
                return int(i);
        return -1;
    }

    bool keyPressed(const QKeyEvent* key)
    {
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const QString text = key->text();
        const bool moved = std::exchange(m_movedOn, false);
        const int count = sectionCount();
        const int last = (count > 0 ? count : m_picker->sectionCount()) - 1;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            endRun(); // Qt then takes the text as it stands
        if (modifiers == Qt::NoModifier && (key->key() == Qt::Key_Home || key->key() == Qt::Key_End)) {
            if (last >= 0)
                select(key->key() == Qt::Key_Home ? 0 : last);
            return true;
        }
        const int index = count > 0 && digitRuns(m_box->text()).size() == count ? currentIndex() : -1;
        if (index >= 0 && !m_picker->isReadOnly() && modifiers == Qt::NoModifier) {
            if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
                select(qBound(0, index + (key->key() == Qt::Key_Left ? -1 : 1), last));
                return true;
            }
            if (text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9')) {
                typeDigit(index, text[0]);
                return true;
            }
        }
        const bool separator = (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier && text.size() == 1
            && !text[0].isLetterOrNumber() && !text[0].isSpace() && m_picker->displayFormat().contains(text[0]);
        if (index >= 0 && !m_picker->isReadOnly() && separator) {
            // Right after a full section moved on the operator is where the separator leads.
            if (!moved)
                select(qMin(index + 1, last));
            return true;
        }
        m_typed.clear(); // Qt's own keys change the section as they will
        return false;
    }

    void typeDigit(int index, QChar digit)
    {
        const NumberSection section = numberSections(m_picker->displayFormat()).at(index);
        if (index != m_section)
            m_typed.clear();
        if (!m_running) {
            m_running = true;
            m_runStart = m_picker->dateTime();
        }
        QString typed = m_typed + digit;
        if (typed.toInt() > section.max) // past the section's range: the digit begins it again
            typed = digit;
        const bool full = typed.size() >= section.width || typed.toInt() * 10 > section.max;
        const QRegularExpressionMatch run = digitRuns(m_box->text()).at(index);
        QString text = m_box->text();
        text.replace(run.capturedStart(), run.capturedLength(), typed.rightJustified(section.width, QLatin1Char('0')));
        show(text);
        m_movedOn = full && index + 1 < sectionCount();
        select(m_movedOn ? index + 1 : index);
        m_typed = full ? QString() : typed;
    }

    // The text typed, and what the picker holds: the date or time it names, else what it held when the typing began.
    // A day its month lacks shows red, and once the picker is left what it holds shows again.
    void show(const QString& text)
    {
        const TypedValue typed = readTyped(m_picker, text);
        m_picker->setDateTime(typed.value.value_or(m_runStart));
        {
            const QSignalBlocker quiet(m_box); // Qt would read it section by section
            m_box->setText(text);
        }
        markRefused(typed.missingDay);
    }

    void markRefused(bool refused)
    {
        QPalette palette = m_picker->palette();
        if (refused)
            palette.setColor(QPalette::Text, Qt::red);
        m_box->setPalette(palette);
    }

    void endRun()
    {
        // What it holds shown again, and Qt's memory of a day typed before dropped with its cache: Qt would put that
        // day into the next text it reads.
        m_picker->setDateTime(m_picker->dateTime());
        m_running = false;
        m_typed.clear();
        m_section = -1;
        m_movedOn = false;
        markRefused(false);
    }

    QDateTimeEdit* m_picker;
    QLineEdit* m_box;
    bool m_pressed = false;
    QString m_typed; // the digits typed into the section m_section so far, while it is not full
    int m_section = -1;
    bool m_movedOn = false; // the last digit filled its section and moved on
    bool m_running = false; // digits typed since the picker got the focus, or since Enter
    QDateTime m_runStart;   // what the picker held before them
};

} // namespace

void fitListToEntries(QComboBox* list)
{
    if (!list->findChild<ListWidth*>(QString(), Qt::FindDirectChildrenOnly))
        new ListWidth(list);
}

void typeBySection(QDateTimeEdit* picker)
{
    auto* box = picker->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    if (box && !picker->findChild<SectionTyping*>(QString(), Qt::FindDirectChildrenOnly))
        new SectionTyping(picker, box);
}

TreeView::TreeView(QWidget* parent) : QTreeWidget(parent) { setSelectionMode(QAbstractItemView::SingleSelection); }

QItemSelectionModel::SelectionFlags TreeView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QTreeWidget::selectionCommand(index, event);
    return command & QItemSelectionModel::Deselect ? QItemSelectionModel::NoUpdate : command;
}

// A text of numbers is read whole, by its format: Qt reads it section by section against the sections as they stood,
// and moves a day its month lacks to the month's last day, or a day typed before into the month now shown.
QValidator::State DatePicker::validate(QString& text, int& pos) const
{
    const TypedValue typed = readTyped(this, text);
    if (!typed.read)
        return QDateEdit::validate(text, pos);
    return typed.value ? QValidator::Acceptable : QValidator::Intermediate;
}

void DatePicker::fixup(QString& text) const
{
    if (!readTyped(this, text).read) // else left as it is: the picker then shows the date it holds again
        QDateEdit::fixup(text);
}

QDateTime DatePicker::dateTimeFromText(const QString& text) const
{
    const TypedValue typed = readTyped(this, text);
    return typed.value ? *typed.value : QDateEdit::dateTimeFromText(text);
}

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::StrongFocus); // the wheel alone does not make it the focus
    fitListToEntries(this);
}

void ComboBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore(); // on to the parent
        return;
    }
    QComboBox::wheelEvent(event);
}

bool CheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

template<class F> void ListBox::asOperator(F&& handle)
{
    const int before = currentRow();
    const bool chosen = currentItem() && currentItem()->isSelected();
    handle();
    // The row a list makes current on its own when it takes the focus is not selected: choosing that row is a
    // choice too.
    if (currentRow() != before || (!chosen && currentItem() && currentItem()->isSelected()))
        emit rowChosen();
}

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);
    option.text = caption;
    const QRect contents = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    painter.drawItemText(contents, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                         palette(), isEnabled(), caption, QPalette::WindowText);
}

void ListBox::mousePressEvent(QMouseEvent* event)
{
    asOperator([&] { QListWidget::mousePressEvent(event); });
}

void ListBox::mouseMoveEvent(QMouseEvent* event)
{
    asOperator([&] { QListWidget::mouseMoveEvent(event); });
}

void ListBox::mouseReleaseEvent(QMouseEvent* event)
{
    asOperator([&] { QListWidget::mouseReleaseEvent(event); });
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    asOperator([&] { QListWidget::mouseDoubleClickEvent(event); });
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    asOperator([&] { QListWidget::keyPressEvent(event); });
}

template<class F> void FlexGridWidget::asOperator(int before, F&& handle)
{
    const QPointer<FlexGridWidget> alive(this); // a handler run by the event may close the window
    handle();
    if (alive && currentRow() != before)
        emit rowChosen();
}

void FlexGridWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->buttons() == event->button()) { // the first button down
        m_rowAtPress = currentRow();
        m_pressed = true;
    }
    QTableWidget::mousePressEvent(event);
}

void FlexGridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!std::exchange(m_pressed, false)) {
        QTableWidget::mouseReleaseEvent(event);
        return;
    }
    asOperator(m_rowAtPress, [&] { QTableWidget::mouseReleaseEvent(event); });
}

void FlexGridWidget::keyPressEvent(QKeyEvent* event)
{
    asOperator(currentRow(), [&] { QTableWidget::keyPressEvent(event); });
}

void PictureBox::setPainter(Painter painter)
{
    m_painter = std::move(painter);
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (m_painter) {
        QPainter painter(this);
        m_painter(painter);
    }
}

} // namespace quorvane::ui

#include "Widgets.moc"
