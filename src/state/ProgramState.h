#pragma once

#include "state/LangCollection.h"

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

// The sections of the language file (in the language of the settings) and of the parameter file, loaded at
// start-up. The settings layer names them (gLangMsg, gParEANEdit, ...) and loads them.
struct TextCollections {
    LangCollection gLangOther, gLangMainCmd, gLangMainMenu, gLangMainGrid, gLangMainTab, gLangStringEdit, gLangMsg,
        gLangProperties, gLangScProperties, gLangFlexiBarcode, gLangSearch, gLangTranslate, gLangPresetKey,
        gLangAutoPresetKey, gLangPutPreKey, gLangExportReport, gLangResetReport, gLangImportExport, gLangScrollMSG,
        gLangAbout, gLangOtherFiles, gLangFTP;
    LangCollection gParDiscount, gParMemdisc, gParEANDisp, gParEANEdit, gParSSTabSymbol, gParCountry,
        gParImportExportItem, gParFunctionKey, gParPresetKey, gParRSData, gParReportType;
};

// Every program-wide value of a run that is not a table row lives here, grouped by the subsystem that owns
// it, so that one call puts all of them back as a fresh run starts them (tests do, between cases). The
// values keep their system names; a subsystem reaches its group through programState(). The current
// selection and the other program-wide values of the main window and the editors join as groups of their own.
// Only plain values belong here; the shared connection and recordsets (state/SharedData.h) are closed by
// the same reset.
struct ProgramState {
    QString programFolder;       // empty until set or first asked: then the executable's folder
    SettingsRecord settings;     // gSettings()
    TextCollections texts;       // gLangMsg and the others
    std::optional<int> exitCode; // of the last exitProgram()
};

namespace detail {
// The one object of the run. Reach it through programState(); it is named here only so that the program-wide
// names bound to its members are bound before any code runs.
extern ProgramState gProgramState;
} // namespace detail

inline ProgramState& programState() { return detail::gProgramState; }

// Puts every program-wide value back to its start, as a fresh run finds them: first what the layers above
// registered (their caches and window instances), in the order of registration; then the shared recordsets
// and the connection are closed, this object is made afresh and the code page is the system's again.
void resetProgramState();

// A layer above this one registers how its own values are put back; registering the same function again
// changes nothing.
using StateReset = void (*)();
void registerStateReset(StateReset reset);

} // namespace quorvane
