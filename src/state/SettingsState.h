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

} // namespace quorvane
