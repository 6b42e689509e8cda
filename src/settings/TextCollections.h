#pragma once

#include "state/LangCollection.h"

#include <QList>
#include <QString>

namespace quorvane {

// The 22 sections of the language file.
extern LangCollection gLangOther, gLangMainCmd, gLangMainMenu, gLangMainGrid, gLangMainTab, gLangStringEdit, gLangMsg,
    gLangProperties, gLangScProperties, gLangFlexiBarcode, gLangSearch, gLangTranslate, gLangPresetKey,
    gLangAutoPresetKey, gLangPutPreKey, gLangExportReport, gLangResetReport, gLangImportExport, gLangScrollMSG,
    gLangAbout, gLangOtherFiles, gLangFTP;
// The 11 sections of the parameter file.
extern LangCollection gParDiscount, gParMemdisc, gParEANDisp, gParEANEdit, gParSSTabSymbol, gParCountry,
    gParImportExportItem, gParFunctionKey, gParPresetKey, gParRSData, gParReportType;

struct TextCollectionSource {
    LangCollection* collection;
    const char* file; // relative to the program folder
    const char* section;
};

// All 33 in loading order: frm_OTHER first, then the other language sections, then the parameter sections.
const QList<TextCollectionSource>& textCollectionSources();

// Loads one collection from the given group of its file in the program folder.
void loadTextCollection(const TextCollectionSource& source, const QString& group);
// Empties every collection.
void releaseTextCollections();

} // namespace quorvane
