#pragma once

#include "platform/Error.h"

#include <QSize>
#include <QString>
#include <QStringView>

namespace quorvane::presetkeys {

// The preset-key file cannot give the layout asked for: the message names the file, the reason says what
// is wrong with it.
class PresetKeyFileError : public Error {
public:
    using Error::Error;
};

// One layout of ini/PresetKey.ini: the layout's line of each of the seven sections.
struct PresetKeyLayout {
    QString keyType; // the layout's name, shown on the sheet's label
    qint16 keyNum = 0;
    qint16 rows = 0;
    qint16 cols = 0;
    float cellSize = 0; // RowSpacing, centimetres
    qint16 charNum = 0;
    qint16 order = 0;
};

// Reads layout `index` (the index-th key=value line of each section, counted from 0, whatever its key)
// of group "PresetKey" and checks it, so the sheet, the records and the hit test can rely on it. Throws
// PresetKeyFileError for a missing file, group, section or layout line, an empty or repeated key within a
// section, a whole number that is no 16-bit integer, keyNum below 1, rows below 0, cols below 1, more
// than 32767 cells, a RowSpacing not above 0 and a sheet over 100 cm either way.
PresetKeyLayout readPresetKeyLayout(const QString& file, int index);

// The leading decimal number of a text, "." as the decimal point whatever the locale ("2cm" gives 2,
// "x" gives 0), as the RowSpacing values have always been read.
double leadingNumber(QStringView text);

// The sheet's load: the scale of gCurScaleIP gives gPSKLayout, gPSKStoreNo and gPSKSectNo (no SCALE row:
// layout 0, store and section kept), then that layout of ini/PresetKey.ini gives gKeyNum ... gKeyOrder.
// Returns the label of the sheet: the layout's name, ":  " and the scale's address as stored.
// Throws PresetKeyFileError (the geometry then stays as it was) or db::DbError.
QString LoadPresetKeyLayout();

// The sheet in centimetres: the grid of gKeyCols + 2 columns from (1, 1), a strip of half a cell below
// it, 1 cm of margin on every side.
double sheetWidthCm(int cols, float cellSize);
double sheetHeightCm(int rows, float cellSize);
// The same in twips (567 to the centimetre), rounded to whole twips: the size of the sheet's picture.
QSize sheetSizeTwips(int rows, int cols, float cellSize);

// The key under a point of the sheet, in centimetres, by the loaded layout; -1 outside the key grid (the
// function-key columns, the strip below the grid and the grid's outer lines included).
int KeyAtPoint(float x, float y);

// Whether a key number is a key of the loaded layout (1 to gKeyNum): the cells above gKeyNum would
// store their rows under the numbers of page 2 or 3 of other keys.
bool isLayoutKey(int key);

} // namespace quorvane::presetkeys
