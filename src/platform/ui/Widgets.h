#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>

#include <functional>

class QDateTimeEdit;
class QPainter;

namespace quorvane::ui {

// A list box: tells the operator's own choice of a row (by mouse or keys) from any change made by code, which
// QListWidget's signals do not (they fire on clear() and when the list first takes the focus).
class ListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

signals:
    // The operator made another row current.
    void rowChosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    template<class F> void asOperator(F&& handle);
};

// A flex grid: tells when the operator has made another row current, once the key or the mouse button that did it
// is done, which the grid's click signal alone misses (a press released on another row, the paging keys, a typed
// letter). After a click it comes once the click's handler has run, and only if the row then current is another.
class FlexGridWidget : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;

signals:
    void rowChosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    template<class F> void asOperator(int before, F&& handle);

    int m_rowAtPress = -1;
    bool m_pressed = false;
};

// A drop-down list whose closed list the wheel turns only while it has the focus: scrolling past it changes no
// field, the wheel goes on to what lies under it. Its list is as wide as its longest entry (fitListToEntries).
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A tree whose one selected node is always the current one: a Ctrl+click or Ctrl+Space on the selected node leaves it
// selected, where Qt's single selection would take the highlight off a node that stays current.
class TreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TreeView(QWidget* parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
};

// A date picker that reads a text of numbers whole, by its display format, so that it may name a day its month
// lacks while it is typed (typeBySection): Qt would make it the month's last day as soon as the day and the month
// stand, before the year that has the day is typed.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    using QDateEdit::QDateEdit;

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
};

// A check box that a click anywhere in its rectangle toggles, the blank beyond a short caption included.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override;
};

// A check box taller than a line: its caption wraps onto the lines its height gives it.
class WrappingCheckBox : public CheckBox {
    Q_OBJECT
public:
    using CheckBox::CheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// An option button that a click anywhere in its rectangle selects.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override;
};

// A picture box: shows a picture or a text like a label, and what the window draws on it.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Draws after the label's own content, on every paint.
    using Painter = std::function<void(QPainter& painter)>;
    void setPainter(Painter painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter m_painter;
};

// Keeps a combo box's drop-down list at least as wide as its longest entry, whatever the box's own width, through
// every fill and change of its entries and of its font. Every combo box a control table makes has it; one made
// otherwise takes it with this call.
void fitListToEntries(QComboBox* list);

// A date or time picker edited by sections, as every picker a control table makes is: a click into its text selects
// the section under the mouse, Home and End the first and the last section. Digits typed fill the selected section,
// which moves on to the next once it is full or no further digit fits; a separator typed moves on too, except
// right after a full section moved on. The picker holds the date or time its whole text names; while the text names
// none (a month of 00, a day its month lacks, which shows red) it holds what it held when the typing began,
// and shows that again once it is left or Enter is pressed: a date that does not exist is never made another.
// The wheel turns the picker only while it has the focus; otherwise it goes on to what lies under it, as for closed
// lists (ComboBox), and the picker does not take the focus.
void typeBySection(QDateTimeEdit* picker);

} // namespace quorvane::ui
