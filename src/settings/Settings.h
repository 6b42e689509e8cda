#pragma once

#include <QString>

namespace quorvane {

// The values of ini/setting.cfg, read once at start-up and read by every subsystem from then on.
struct SettingsRecord {
    qint16 gLanguageIndex = 0; // 0 Standard, 1 Chinese, 2 Other
    QString gLanguageName;     // derived from the index
    qint16 gPricePoint = 0;    // decimals of prices and amounts
    qint16 gPointType = 0;     // 0 point, anything else comma
    QString gDecimalSign;      // derived from gPointType
    qint16 gWeightPoint = 0;   // decimals of weights
    qint16 gDateType = 0;      // date order 0 to 5
    qint16 gPriceUnit = 0;     // 0 "RMB", 1 "$", 2 the operator's own text
    QString gCurrencySymbol;
    qint16 gSysCountry = 0;
    qint16 gSysStore = 0;  // 1: one root node above the stores
    QString gTreeRootName; // held only in store mode 1
};

// The program-wide settings.
SettingsRecord& gSettings();

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

// Replaces the whole file: nine lines, ten when the price unit is 2. A failure leaves the old file.
bool writeSettingsFile(const QString& path, const SettingsRecord& record, QString* error = nullptr);

} // namespace quorvane
