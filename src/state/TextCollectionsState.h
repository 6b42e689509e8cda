#pragma once

#include "state/LangCollection.h"

namespace quorvane {

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

} // namespace quorvane
