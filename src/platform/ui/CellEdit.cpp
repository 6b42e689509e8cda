#include "platform/ui/CellEdit.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/Widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTableWidget>

namespace quorvane::ui {

namespace {

// Watches the editor: Enter, Esc and the loss of the focus end it once.
class CellEditing : public QObject {
    Q_OBJECT
public:
    CellEditing(QTableWidget* grid, QWidget* editor, Cell cell, CellEdit edit)
        : QObject(editor)
        , m_grid(grid)
        , m_editor(editor)
        , m_cell(cell)
        , m_edit(std::move(edit))
    {
        editor->installEventFilter(this);
        // A grid that scrolls would carry the editor away from its cell: the grid takes the focus, as a click on it
        // would, and the editor leaves.
        for (const QScrollBar* bar : {grid->verticalScrollBar(), grid->horizontalScrollBar()})
            connect(bar, &QScrollBar::valueChanged, this, [this] { finish(true, m_edit.left, true); });
    }

    // Ends the editing: the text into the cell unless cancelled, the editor gone, then the next step. Enter, Esc and
    // a scroll give the focus to the grid, before the editor hides, so that it goes to no other control.
    void finish(bool commit, const std::function<void(int, int)>& next, bool focusGrid = false)
    {
        if (m_done)
            return;
        m_done = true;
        if (commit)
            setFlexText(m_grid, m_cell.row, m_cell.column, text());
        m_editor->removeEventFilter(this);
        if (focusGrid && m_grid)
            m_grid->setFocus(Qt::OtherFocusReason);
        m_editor->hide();
        m_editor->deleteLater();
        m_editor->setObjectName(QString()); // until it is deleted, a look-up by name meets only an open editor
        if (next)
            next(m_cell.row, m_cell.column);
    }
    void finishLeaving() { finish(true, m_edit.left); }
    bool isOpen() const { return !m_done; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                finish(true, m_edit.entered, true);
                return true;
            }
            if (key == Qt::Key_Escape) {
                finish(false, m_edit.cancelled, true);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !intoOwnPopup())
                finish(true, m_edit.left);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // A list opening its popup hands the focus to the popup's view (on X with no popup reason): the list is
    // still being used, not left.
    bool intoOwnPopup() const
    {
        for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            if (w == m_editor)
                return true;
        return false;
    }

    QString text() const
    {
        if (auto* box = qobject_cast<QLineEdit*>(m_editor))
            return box->text();
        return static_cast<QComboBox*>(m_editor)->currentText();
    }

    QPointer<QTableWidget> m_grid;
    QWidget* m_editor;
    Cell m_cell;
    CellEdit m_edit;
    bool m_done = false;
};

} // namespace

QWidget* cellEditor(const QTableWidget* grid)
{
    // An ended editor lingers until its deferred deletion: only a running editing counts.
    for (QWidget* editor : grid->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (auto* editing = editor->findChild<CellEditing*>(QString(), Qt::FindDirectChildrenOnly))
            if (editing->isOpen())
                return editor;
    return nullptr;
}

QWidget* editCell(QTableWidget* grid, Cell cell, const CellEdit& edit)
{
    if (QWidget* open = cellEditor(grid))
        open->findChild<CellEditing*>(QString(), Qt::FindDirectChildrenOnly)->finishLeaving();
    const QString text = flexText(grid, cell.row, cell.column);
    QWidget* editor = nullptr;
    if (edit.list.isEmpty()) {
        auto* box = new QLineEdit(grid->viewport());
        limitEdit(box, edit.limit);
        box->setText(text);
        box->selectAll();
        editor = box;
    } else {
        auto* list = new ComboBox(grid->viewport());
        list->addItems(edit.list);
        list->setCurrentIndex(list->findText(text));
        editor = list;
    }
    editor->setObjectName(edit.name);
    grid->setCurrentCell(cell.row - 1, cell.column);
    grid->scrollToItem(grid->item(cell.row - 1, cell.column));
    editor->setGeometry(grid->visualRect(grid->model()->index(cell.row - 1, cell.column)));
    new CellEditing(grid, editor, cell, edit);
    QWidget::setTabOrder(grid, editor); // Tab leaves the box for the control after the grid
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    return editor;
}

} // namespace quorvane::ui

#include "CellEdit.moc"
