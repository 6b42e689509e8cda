#include "presetkeys/ui/KeySheet.h"

#include "presetkeys/PresetKeyTable.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PresetKeyState.h"
#include "state/SettingsState.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

namespace quorvane::presetkeys {

namespace {

constexpr double CmPerInch = 2.54;
const QString kFace = QStringLiteral("Times New Roman");

// The device the canvas measures on: one resolution for every replay.
const QImage& measuringDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(SheetCanvas::MeasureDpi / CmPerInch * 100);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

} // namespace

SheetCanvas::SheetCanvas() : m_fontName(kFace) { }

void SheetCanvas::clear()
{
    m_items.clear();
    m_pos = QPointF();
}

void SheetCanvas::setCurrentPos(double x, double y) { m_pos = QPointF(x, y); }

void SheetCanvas::setFontName(const QString& name)
{
    m_fontName = name;
    m_metrics.reset();
}

void SheetCanvas::setFontSize(double points)
{
    m_fontSize = points;
    m_metrics.reset();
}

void SheetCanvas::setBold(bool bold)
{
    m_bold = bold;
    m_metrics.reset();
}

void SheetCanvas::setPenWidth(int pixels) { m_penWidth = pixels; }

void SheetCanvas::setForeColor(const QColor& colour) { m_colour = colour; }

SheetItem SheetCanvas::item(SheetItem::Kind kind) const
{
    SheetItem i;
    i.kind = kind;
    i.fontName = m_fontName;
    i.fontSize = m_fontSize;
    i.bold = m_bold;
    i.penWidth = m_penWidth;
    i.colour = m_colour;
    return i;
}

void SheetCanvas::line(double x1, double y1, double x2, double y2)
{
    SheetItem i = item(SheetItem::Line);
    i.from = QPointF(x1, y1);
    i.to = QPointF(x2, y2);
    m_items.append(i);
}

void SheetCanvas::box(double x1, double y1, double x2, double y2)
{
    SheetItem i = item(SheetItem::Box);
    i.from = QPointF(x1, y1);
    i.to = QPointF(x2, y2);
    m_items.append(i);
}

void SheetCanvas::print(const QString& text)
{
    if (text.isEmpty())
        return;
    SheetItem i = item(SheetItem::Text);
    i.from = m_pos;
    i.text = text;
    i.textWidth = textWidth(text);
    m_items.append(i);
}

double SheetCanvas::textWidth(const QString& text) const
{
    if (!m_metrics)
        m_metrics.emplace(font(), &measuringDevice());
    return m_metrics->horizontalAdvance(text) / MeasureDpi * CmPerInch;
}

QFont SheetCanvas::fontOf(const QString& name, double points, bool bold)
{
    QFont f(name);
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void ReplaySheet(QPainter& painter, const QList<SheetItem>& items)
{
    const double dpi = painter.device()->logicalDpiX();
    const double perCm = dpi / CmPerInch;
    const auto at = [perCm](const QPointF& cm) { return cm * perCm; };
    painter.save();
    for (const SheetItem& i : items) {
        switch (i.kind) {
        case SheetItem::Line:
            painter.setPen(QPen(i.colour, i.penWidth * dpi / SheetCanvas::MeasureDpi, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(at(i.from), at(i.to));
            break;
        case SheetItem::Box:
            painter.fillRect(QRectF(at(i.from), at(i.to)).normalized(), i.colour);
            break;
        case SheetItem::Text: {
            const QFont font = SheetCanvas::fontOf(i.fontName, i.fontSize, i.bold);
            painter.setFont(font);
            painter.setPen(i.colour);
            painter.drawText(at(i.from) + QPointF(0, QFontMetricsF(font, painter.device()).ascent()), i.text);
            break;
        }
        }
    }
    painter.restore();
}

void DrawKeySheet(SheetCanvas& canvas)
{
    const PresetKeyState& s = gPresetKeys();
    const int rows = s.gKeyRows;
    const int cols = s.gKeyCols;
    const double S = s.gKeyCellSize;
    const bool chinese = gSettings().gLanguageIndex == 1;

    for (int i = 0; i <= rows; ++i)
        canvas.line(1, i * S + 1, (cols + 2) * S + 1, i * S + 1);
    for (int j = 0; j <= cols + 2; ++j)
        canvas.line(j * S + 1, 1, j * S + 1, rows * S + 1);

    // The function keys stand in columns 6 and 7 whatever the layout; their offsets within a cell are fixed.
    const double c6 = 6 * S, c7 = 7 * S;
    const auto font = [&canvas](double points) {
        canvas.setFontSize(points);
        canvas.setBold(true);
    };
    const auto caption = [&canvas](double x, double y, const QString& text) {
        canvas.setCurrentPos(x, y);
        canvas.print(text);
    };
    const auto diagonal = [&canvas, c7](double rowTop) { canvas.line(c7 + 2.3, rowTop + 1.5, c7 + 1.3, rowTop + 2.2); };

    font(chinese ? 16 : 20);
    caption(c6 + (chinese ? 1.25 : 1.3), chinese ? 1.5 : 1.4, gParPresetKey.text(QStringLiteral("picVD")));
    caption(c7 + (chinese ? 1.25 : 1.1), chinese ? 1.5 : 1.4, gParPresetKey.text(QStringLiteral("picCRT")));
    canvas.box(c6 + 1.5, S + 1.8, c6 + 2.1, S + 1.83);
    font(chinese ? 12 : 18);
    caption(c7 + (chinese ? 1.2 : 1.4), S + 1.2, gParPresetKey.text(QStringLiteral("picPrint")));
    canvas.setPenWidth(2);
    diagonal(S);
    caption(c7 + 1.7, S + (chinese ? 2.0 : 1.9), gParPresetKey.text(QStringLiteral("picRA")));
    font(20);
    caption(c6 + 1.3, 2 * S + 1.4, gParPresetKey.text(QStringLiteral("picPrecent")));
    canvas.setPenWidth(1);
    canvas.box(c6 + 2.0, 2 * S + 1.8, c6 + 2.3, 2 * S + 1.83);
    font(chinese ? 12 : 18);
    caption(c7 + 1.2, 2 * S + 1.2, gParPresetKey.text(QStringLiteral("picNS")));
    canvas.setPenWidth(2);
    diagonal(2 * S);
    caption(c7 + 1.7, 2 * S + (chinese ? 2.0 : 1.9), gParPresetKey.text(QStringLiteral("picPO")));
    canvas.line(c6 + 2.1, 3 * S + 1.55, c6 + 1.55, 3 * S + 2.1);
    canvas.line(c6 + 1.55, 3 * S + 1.55, c6 + 2.1, 3 * S + 2.1);
    if (chinese) {
        font(12);
        caption(c7 + 1.2, 3 * S + 1.2, gParPresetKey.text(QStringLiteral("picST")));
        canvas.setPenWidth(2);
        diagonal(3 * S);
        caption(c7 + 1.7, 3 * S + 2.0, gParPresetKey.text(QStringLiteral("picCHG")));
    } else {
        const double x = c7 + 1.825, y = 3 * S + 1.825;
        canvas.line(x, y - 0.275, x - 0.275, y);
        canvas.line(x, y - 0.275, x + 0.3, y);
        canvas.line(x + 0.3, y, x, y + 0.3);
        canvas.line(x - 0.275, y, x, y + 0.3);
    }

    canvas.setPenWidth(1);
    canvas.setFontSize(8);
    canvas.setBold(true);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            canvas.setCurrentPos(c * S + 1, (rows - 1 - r) * S + 1);
            // As a number prints: a blank for the sign before it and one after it.
            canvas.print(QStringLiteral(" %1 ").arg(cols * r + c + 1));
        }
    }

    canvas.setBold(false);
    canvas.setFontSize(10);
    canvas.setForeColor(QGuiApplication::palette().color(QPalette::Active, QPalette::Dark));
    const double middle = (cols + 2) / 2.0;
    canvas.box((middle - 1.5) * S + 1, rows * S + 1, (middle + 1.5) * S + 1, rows * S + 1 + 0.5 * S);
    canvas.setForeColor(Qt::black);
}

void DrawPresetKeyNames(SheetCanvas& canvas)
{
    const PresetKeyState& s = gPresetKeys();
    const double S = s.gKeyCellSize;
    // Read before anything is drawn, so a failure leaves the picture as it was.
    const QHash<qint32, QString> names = presetKeyNames();

    canvas.clear();
    DrawKeySheet(canvas);
    canvas.setFontSize(8);
    canvas.setFontName(kFace);

    for (int n = 1; n <= s.gKeyNum; ++n) {
        const int q = (n - 1) / s.gKeyCols;
        const int column = n - q * s.gKeyCols;
        const int rowFromTop = s.gKeyRows - 1 - q;
        const double x = 1 + S * (column - 1) + 0.1;
        int k = 1;
        QString line;
        // Prints the line gathered so far and starts the next; false once the cell's three lines are used.
        const auto nextLine = [&](const QString& start) {
            canvas.setCurrentPos(x, 1 + S * rowFromTop + 0.4 * k);
            canvas.print(line);
            line = start;
            return ++k <= 3;
        };
        bool room = true;
        for (int page = 1; page <= 3 && room; ++page) {
            const QString name = names.value(pageNumber(n, page, s.gKeyNum));
            if (name.isEmpty())
                continue;
            for (qsizetype i = 0; i < name.size() && room; ++i) {
                // A character outside the basic plane is two code units, taken together.
                const qsizetype len = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
                const QString ch = name.mid(i, len);
                i += len - 1;
                if (canvas.textWidth(line + ch) < S - 0.1)
                    line += ch;
                else
                    room = nextLine(ch);
            }
            if (room)
                room = nextLine(QString());
        }
    }
}

void ClearPresetKeyLayout(SheetCanvas& canvas)
{
    try {
        DeletePresetKeyLayout();
    } catch (...) {
        DrawPresetKeyNames(canvas);
        throw;
    }
    canvas.clear();
    DrawKeySheet(canvas);
}

} // namespace quorvane::presetkeys
