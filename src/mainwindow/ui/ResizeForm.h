#pragma once

#include <QtGlobal>

class QWidget;

namespace quorvane {

// Proportional resizing: every control keeps the place its control table gave it (ui::designRect) and, on each
// change of the window's inner size, is moved and sized in proportion to the inner size against the design size
// (ui::designSize), its font following the window's height. Every resize starts again from the design geometry,
// so repeated resizes never gather rounding. Only the main window uses it.
class MdlResizeForm {
public:
    // Remembers the window's design size and the font size per twip of its height; once, after its controls are
    // created. A window without a design size is never resized.
    void ResizeInit(QWidget* window);
    // Places every control of the window for its present inner size, then lines up the PLU editor's lists and
    // date pickers with their neighbours. Does nothing before ResizeInit.
    void ResizeForm(QWidget* window) const;

    bool isReady() const { return m_designWidth > 0 && m_designHeight > 0; }

private:
    qint32 m_designWidth = 0;  // twips
    qint32 m_designHeight = 0; // twips
    double m_fontRatio = 0;    // the window's font size at design size per twip of its inner height
};

} // namespace quorvane
