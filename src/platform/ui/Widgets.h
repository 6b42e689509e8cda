#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

#include <functional>

class QComboBox;
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

// A check box taller than a line: its caption wraps onto the lines its height gives it, and a click anywhere on it
// toggles it.
class WrappingCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
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

} // namespace quorvane::ui
