#include "plu/ui/PluWindow.h"

#include "platform/ui/HandlerRun.h"
#include "platform/ui/Widgets.h"
#include "plu/ui/PluEditorPages.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluPanel.h"
#include "state/PluEditorState.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

namespace quorvane::plu {

PluWindow::PluWindow(QWidget* window, const ui::ControlTable& editorCaptions)
    : QObject(window)
    , m_window(window)
    , m_captions(editorCaptions)
{
    setObjectName(QStringLiteral("pluWindow"));
}

PluWindow* PluWindow::of(QWidget* window)
{
    auto* own = window->findChild<PluWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!own)
        qFatal("Window %s hosts no PLU list", qPrintable(window->objectName()));
    own->attach();
    return own;
}

void PluWindow::attach()
{
    if (m_attached)
        return;
    const PluPanel& p = pluPanel(m_window);
    QTableWidget* grid = p.MSHFlexGridPLU;
    m_attached = true;
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6); // a line of text per row
    QPalette colours = grid->palette();
    colours.setColor(QPalette::AlternateBase, QColor(192, 255, 255));
    grid->setPalette(colours);
    // A click on the header row shows the first PLU; it selects no column.
    QHeaderView* header = grid->horizontalHeader();
    header->setHighlightSections(false);
    QObject::disconnect(header, SIGNAL(sectionPressed(int)), grid, nullptr);
    QObject::disconnect(header, SIGNAL(sectionEntered(int)), grid, nullptr);
    connect(header, &QHeaderView::sectionClicked, this, [this] {
        const ui::HandlerRun run(m_window);
        MSHFlexGridPLU_HeaderClick(m_window);
    });
    // Every other way to another row (a press released on it, the paging keys, a typed letter) takes the click's.
    if (auto* rows = qobject_cast<ui::FlexGridWidget*>(grid))
        connect(rows, &ui::FlexGridWidget::rowChosen, this, [this] {
            const ui::HandlerRun run(m_window);
            MSHFlexGridPLU_RowChosen(m_window);
        });
    // The text buttons open the name's and the description's lines.
    for (QPushButton* button : {p.cmdFont, p.cmdDescFont})
        button->setText(QStringLiteral("..."));
    // The percent signs show only beside percentages, as the lists' rules decide.
    for (QLabel* label : p.lblMemDiscPerSym.elements() + QList<QLabel*>{p.lblDiscLmtPerSym1, p.lblDiscLmtPerSym2})
        label->hide();
    // The window starts in display mode, where the editor's pages cannot be operated.
    ResetTabFrames(m_window, TabFrames::Disabled);
}

bool PluWindow::eventFilter(QObject* watched, QEvent* event)
{
    QTableWidget* grid = pluPanel(m_window).MSHFlexGridPLU;
    if (watched == grid && event->type() == QEvent::KeyPress) {
        MSHFlexGridPLU_KeyDown(m_window, static_cast<QKeyEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier));
    } else if (watched == grid && event->type() == QEvent::KeyRelease) {
        MSHFlexGridPLU_KeyUp(m_window);
    } else if (watched == grid->viewport() && event->type() == QEvent::MouseButtonPress) {
        // Shift held with the press counts as with a key, wherever the focus was.
        gPluEditor().mPLUGridShift = static_cast<QMouseEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier) ? -1 : 0;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane::plu
