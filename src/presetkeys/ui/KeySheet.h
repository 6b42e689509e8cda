#pragma once

// The preset-key sheet as a recorded drawing. It is drawn once, in centimetres, as a list of items that
// the sheet's picture and the printer replay at their own resolutions; text is measured, and names are
// wrapped, at one resolution, so the screen and the paper show the same lines. It needs QtGui for the
// measuring (a QGuiApplication must exist) but no widget.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

class QPainter;

namespace quorvane::presetkeys {

// One drawing operation, in centimetres from the picture's top-left corner, with the drawing state it
// was made in.
struct SheetItem {
    enum Kind { Line, Box, Text };
    Kind kind = Line;
    QPointF from; // Line: start; Box: one corner; Text: the text's top-left corner
    QPointF to;   // Line: end; Box: the opposite corner. A box is filled with its colour.
    QString text;
    QString fontName;
    double fontSize = 0; // points
    bool bold = false;
    int penWidth = 1; // pixels
    QColor colour;
    double textWidth = 0; // centimetres, as measured when recorded
};

// A drawing surface in centimetres that records what is drawn on it, with the picture's drawing state:
// the text position, font name, size and bold, pen width and foreground colour. It starts as the
// sheet's picture does: black, "Times New Roman" (else the system's serif) 8 pt, regular, pen 1, at (0, 0).
class SheetCanvas {
public:
    static constexpr double MeasureDpi = 96;

    SheetCanvas();

    // Empties the picture and puts the text position back to (0, 0); the drawing state stays.
    void clear();

    void setCurrentPos(double x, double y);
    void setFontName(const QString& name);
    void setFontSize(double points);
    void setBold(bool bold);
    void setPenWidth(int pixels);
    void setForeColor(const QColor& colour);

    void line(double x1, double y1, double x2, double y2);
    void box(double x1, double y1, double x2, double y2);
    // The text with its top-left corner at the text position; an empty text draws nothing.
    void print(const QString& text);

    // The width of a text in the current font, in centimetres, measured at MeasureDpi.
    double textWidth(const QString& text) const;
    // The current font, and the font of any name, size and weight, as the canvas measures them.
    QFont font() const { return fontOf(m_fontName, m_fontSize, m_bold); }
    int penWidth() const { return m_penWidth; }
    QColor foreColor() const { return m_colour; }
    static QFont fontOf(const QString& name, double points, bool bold);

    const QList<SheetItem>& items() const { return m_items; }

private:
    SheetItem item(SheetItem::Kind kind) const;

    QList<SheetItem> m_items;
    QPointF m_pos;
    QString m_fontName;
    double m_fontSize = 8;
    bool m_bold = false;
    int m_penWidth = 1;
    QColor m_colour = Qt::black;
    mutable std::optional<QFontMetricsF> m_metrics; // of the current font, made when first needed
};

// Paints the recorded items on the painter's device at its own resolution (its dots per inch over 2.54 to
// the centimetre): lines with a pen of their width in pixels of the picture (at MeasureDpi), so the paper
// shows the screen's strokes, boxes filled with their colour, texts with their top-left corner at their
// position in their font.
void ReplaySheet(QPainter& painter, const QList<SheetItem>& items);

// Draws the empty sheet of the loaded layout over what the canvas holds: the grid, the function keys in
// columns 6 and 7 (captions from the parameter section PresetKey; Chinese ones for language 1), the key
// numbers and the tab. Leaves pen 1, 10 pt, regular, black.
void DrawKeySheet(SheetCanvas& canvas);

// Clears the canvas, draws the empty sheet and prints the names of every key's pages of the sheet shown,
// at most three lines a key, each page's name on a new line, wrapped at the cell's width.
// Throws db::DbError when the names cannot be read.
void DrawPresetKeyNames(SheetCanvas& canvas);

// Deletes the rows of the sheet shown, clears the canvas and draws the empty sheet. When the rows cannot
// be deleted, none is, the sheet is drawn again from the table with its names, and the error is thrown.
void ClearPresetKeyLayout(SheetCanvas& canvas);

} // namespace quorvane::presetkeys
