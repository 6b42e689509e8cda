#include "platform/ui/Widgets.h"

#include <QAbstractItemView>
#include <QDateTimeEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>

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

// Kept as a child of the picker, watching its text box. The box would place a caret inside a section, and a digit
// typed there makes a value the picker refuses without a word; a selected section is replaced by the digits.
class SectionClick : public QObject {
    Q_OBJECT
public:
    SectionClick(QDateTimeEdit* picker, QLineEdit* box) : QObject(picker), m_picker(picker), m_box(box)
    {
        box->installEventFilter(this);    // the mouse
        picker->installEventFilter(this); // the keys, which the picker hands on to its box
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_box && event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event); // the picker's arrows and calendar button work as ever
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                break;
            m_box->setCursorPosition(m_box->cursorPositionAt(mouse->position().toPoint()));
            m_picker->setSelectedSection(m_picker->currentSection());
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
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
                break;
            if (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) {
                const int count = m_picker->sectionCount();
                if (count > 0)
                    m_picker->setSelectedSection(m_picker->sectionAt(key->key() == Qt::Key_Home ? 0 : count - 1));
                return true;
            }
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDateTimeEdit* m_picker;
    QLineEdit* m_box;
    bool m_pressed = false;
};

} // namespace

void fitListToEntries(QComboBox* list)
{
    if (!list->findChild<ListWidth*>(QString(), Qt::FindDirectChildrenOnly))
        new ListWidth(list);
}

void selectSectionOnClick(QDateTimeEdit* picker)
{
    auto* box = picker->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    if (box && !picker->findChild<SectionClick*>(QString(), Qt::FindDirectChildrenOnly))
        new SectionClick(picker, box);
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
