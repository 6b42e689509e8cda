#pragma once

#include <QString>

#include <optional>

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

// Every program-wide value of a run that is not a table row lives here, grouped by the subsystem that owns
// it, so that one call puts all of them back as a fresh run starts them (tests do, between cases). The
// values keep their system names; a subsystem reaches its group through programState().
// Only plain values belong here: the layers above add their groups as plain structs too.
struct ProgramState {
    QString programFolder;       // empty until set or first asked: then the executable's folder
    SettingsRecord settings;     // gSettings()
    std::optional<int> exitCode; // of the last exitProgram()
    // The closing window (frmEnd) is at work: the main window's close starts no second shutdown.
    bool shutdownRunning = false;
};

ProgramState& programState();

// Puts every program-wide value back to its start: this object, and what the layers above registered
// (their text collections, caches and window instances), in the order of registration.
void resetProgramState();

// A layer above this one registers how its own values are put back; called once per layer at start.
using StateReset = void (*)();
void registerStateReset(StateReset reset);

} // namespace quorvane
