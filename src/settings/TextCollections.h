#pragma once

#include "state/LangCollection.h"

#include <QList>
#include <QString>

namespace quorvane {

// The 22 sections of the language file, then the 11 of the parameter file: the program-wide names of the
// program state's text collections, bound when the program is loaded, before any code runs.
extern LangCollection& gLangOther;
extern LangCollection& gLangMainCmd;
extern LangCollection& gLangMainMenu;
extern LangCollection& gLangMainGrid;
extern LangCollection& gLangMainTab;
extern LangCollection& gLangStringEdit;
extern LangCollection& gLangMsg;
extern LangCollection& gLangProperties;
extern LangCollection& gLangScProperties;
extern LangCollection& gLangFlexiBarcode;
extern LangCollection& gLangSearch;
extern LangCollection& gLangTranslate;
extern LangCollection& gLangPresetKey;
extern LangCollection& gLangAutoPresetKey;
extern LangCollection& gLangPutPreKey;
extern LangCollection& gLangExportReport;
extern LangCollection& gLangResetReport;
extern LangCollection& gLangImportExport;
extern LangCollection& gLangScrollMSG;
extern LangCollection& gLangAbout;
extern LangCollection& gLangOtherFiles;
extern LangCollection& gLangFTP;

extern LangCollection& gParDiscount;
extern LangCollection& gParMemdisc;
extern LangCollection& gParEANDisp;
extern LangCollection& gParEANEdit;
extern LangCollection& gParSSTabSymbol;
extern LangCollection& gParCountry;
extern LangCollection& gParImportExportItem;
extern LangCollection& gParFunctionKey;
extern LangCollection& gParPresetKey;
extern LangCollection& gParRSData;
extern LangCollection& gParReportType;

struct TextCollectionSource {
    LangCollection* collection;
    const char* file; // relative to the program folder
    const char* section;
};

// All 33 in loading order: frm_OTHER first, then the other language sections, then the parameter sections.
const QList<TextCollectionSource>& textCollectionSources();

// Loads one collection from the given group of its file in the program folder. The message texts that report a
// failure keep a built-in English text where the file lacks theirs, so a failure is never told by a bare key.
void loadTextCollection(const TextCollectionSource& source, const QString& group);

// The language and parameter files as start-up tells of them: one line for each that cannot be read (its path),
// and for each that lacks a group of `groups`, or holds one without every section the program loads from it (its
// path, then those groups). Empty when both are whole.
QStringList textFileProblems(const QStringList& groups);
// Empties every collection.
void releaseTextCollections();

} // namespace quorvane
