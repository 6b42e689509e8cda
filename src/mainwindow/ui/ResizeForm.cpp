#include "mainwindow/ui/ResizeForm.h"

#include "platform/ui/ControlTable.h"
#include "platform/ui/Twips.h"

#include <QMainWindow>

#include <cmath>

namespace quorvane {

namespace {

// The inside of the window in twips: a main window's client area lies below its menu bar.
QSize innerTwips(const QWidget* window)
{
    const auto* main = qobject_cast<const QMainWindow*>(window);
    const QWidget* inner = main && main->centralWidget() ? main->centralWidget() : window;
    return inner->size() * ui::kTwipsPerPixel;
}

QRect twipsOf(const QWidget* w)
{
    const QRect g = w->geometry();
    return {g.topLeft() * ui::kTwipsPerPixel, g.size() * ui::kTwipsPerPixel};
}

constexpr double kBarFormatShare = 0.4496; // of Frame5's width
constexpr double kRSDataShare = 0.168;

// The PLU editor's lists and pickers stand beside labels and boxes whose proportional places they follow. Each row
// reads its neighbours as they are at that moment, so a later row sees where an earlier one went; a row whose
// controls are missing is left out. Heights stay what the proportional pass gave them.
void realign(QWidget* window)
{
    const auto at = [window](const char* name) { return window->findChild<QWidget*>(QLatin1String(name)); };
    const auto place = [](QWidget* control, double left, double top, double width) {
        ui::setGeometryTwips(control, int(std::lround(left)), int(std::lround(top)), int(std::lround(width)),
                             twipsOf(control).height());
    };
    const auto share = [](const QRect& frame, double part) { return part * frame.width(); };
    using R = QRect;
    if (QWidget* c = at("combSymbol"), *chk = at("chkWeighed"), *price = at("meditUPrice"); c && chk && price) {
        const R a = twipsOf(chk);
        place(c, a.left(), twipsOf(price).top(), a.width());
    }
    if (QWidget* c = at("combMG"), *coupled = at("meditCoupledPLU"), *lbl = at("lblMG"); c && coupled && lbl)
        place(c, twipsOf(coupled).left(), twipsOf(lbl).top() + 10, twipsOf(lbl).width());
    if (QWidget* c = at("combMemDiscType"), *lbl = at("lblMemDiscType"); c && lbl) {
        const R a = twipsOf(lbl);
        place(c, a.left(), a.top() + a.height() + 10, a.width());
    }
    if (QWidget* c = at("combBarcodeFormat"), *item = at("meditItemCode"), *lbl = at("lblBarCodeFormat"),
        *frame = at("Frame5");
        c && item && lbl && frame)
        place(c, twipsOf(item).left(), twipsOf(lbl).top() + 10, share(twipsOf(frame), kBarFormatShare));
    if (QWidget* c = at("combRSData"), *item = at("meditItemCode"), *lbl = at("lblItemCode"), *frame = at("Frame5");
        c && item && lbl && frame)
        place(c, twipsOf(item).left() + share(twipsOf(frame), kBarFormatShare - kRSDataShare), twipsOf(lbl).top() + 10,
              share(twipsOf(frame), kRSDataShare));
    if (QWidget* c = at("combDiscType"), *lbl = at("lblDiscType"); c && lbl) {
        const R a = twipsOf(lbl);
        place(c, a.left(), a.top() + a.height() + 10, a.width());
    }
    if (QWidget* c = at("DTPickerStartDate"), *lbl = at("lblStartDate"); c && lbl) {
        const R a = twipsOf(lbl);
        place(c, a.left() + a.width(), a.top() + 10, a.width());
    }
    if (QWidget* c = at("DTPickerStartTime"), *date = at("DTPickerStartDate"), *lbl = at("lblStartTime");
        c && date && lbl)
        place(c, twipsOf(date).left(), twipsOf(lbl).top() + 10, twipsOf(date).width());
    if (QWidget* c = at("DTPickerEndDate"), *lbl = at("lblEndDate"), *start = at("DTPickerStartDate");
        c && lbl && start) {
        const R a = twipsOf(lbl);
        place(c, a.left() + a.width(), twipsOf(start).top(), twipsOf(start).width());
    }
    if (QWidget* c = at("DTPickerEndTime"), *date = at("DTPickerEndDate"), *time = at("DTPickerStartTime");
        c && date && time)
        place(c, twipsOf(date).left(), twipsOf(time).top(), twipsOf(time).width());
}

} // namespace

void MdlResizeForm::ResizeInit(QWidget* window)
{
    const QSize design = ui::designSize(window);
    m_designWidth = design.width();
    m_designHeight = design.height();
    m_fontRatio = m_designHeight > 0 ? window->font().pointSizeF() / m_designHeight : 0.0;
}

void MdlResizeForm::ResizeForm(QWidget* window) const
{
    if (!isReady())
        return;
    const QSize inner = innerTwips(window);
    const double rx = double(inner.width()) / m_designWidth;
    const double ry = double(inner.height()) / m_designHeight;
    const double fontSize = m_fontRatio * inner.height();
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const QRect design = ui::designRect(control);
        if (!design.isValid())
            continue; // not one of the table's controls: a tab page, a scroll bar, the client area
        ui::setGeometryTwips(control, int(std::lround(rx * design.left())), int(std::lround(ry * design.top())),
                             int(std::lround(rx * design.width())), int(std::lround(ry * design.height())));
        if (fontSize > 0) {
            QFont font = control->font();
            font.setPointSizeF(fontSize);
            control->setFont(font);
        }
    }
    realign(window);
}

} // namespace quorvane
