#include "platform/ui/Widgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace quorvane::ui {

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

bool WrappingCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

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
