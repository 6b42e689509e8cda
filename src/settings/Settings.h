#pragma once

#include "state/SettingsState.h"

#include <QString>

namespace quorvane {

struct SettingsFileError {
    int line = 0; // 1-based; 0 when the file itself could not be read
    QString message;
};

// "Standard", "Chinese", "Other" for 0, 1, 2; an empty text for anything else.
QString languageNameFor(int languageIndex);
// "MM-dd-yy" and the other date orders; the first for a value outside 0 to 5.
QString dateFormatFor(int dateType);

// Reads the file into the record. A file that ends early or a number line that is not a 16-bit integer
// fails with the line named, and leaves the record as it was.
bool readSettingsFile(const QString& path, SettingsRecord* record, SettingsFileError* error = nullptr);

// Replaces the whole file: nine lines, ten when the price unit is 2. A failure throws text::FileError and leaves
// the old file.
void writeSettingsFile(const QString& path, const SettingsRecord& record);

} // namespace quorvane
