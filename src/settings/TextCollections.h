#pragma once

#include "state/ProgramState.h"

#include <QList>
#include <QString>

namespace quorvane {

// The 22 sections of the language file, then the 11 of the parameter file: the program-wide names of the
// program state's text collections. Bound when the program is loaded, before any code runs.
inline constinit LangCollection& gLangOther = detail::gProgramState.texts.gLangOther;
inline constinit LangCollection& gLangMainCmd = detail::gProgramState.texts.gLangMainCmd;
inline constinit LangCollection& gLangMainMenu = detail::gProgramState.texts.gLangMainMenu;
inline constinit LangCollection& gLangMainGrid = detail::gProgramState.texts.gLangMainGrid;
inline constinit LangCollection& gLangMainTab = detail::gProgramState.texts.gLangMainTab;
inline constinit LangCollection& gLangStringEdit = detail::gProgramState.texts.gLangStringEdit;
inline constinit LangCollection& gLangMsg = detail::gProgramState.texts.gLangMsg;
inline constinit LangCollection& gLangProperties = detail::gProgramState.texts.gLangProperties;
inline constinit LangCollection& gLangScProperties = detail::gProgramState.texts.gLangScProperties;
inline constinit LangCollection& gLangFlexiBarcode = detail::gProgramState.texts.gLangFlexiBarcode;
inline constinit LangCollection& gLangSearch = detail::gProgramState.texts.gLangSearch;
inline constinit LangCollection& gLangTranslate = detail::gProgramState.texts.gLangTranslate;
inline constinit LangCollection& gLangPresetKey = detail::gProgramState.texts.gLangPresetKey;
inline constinit LangCollection& gLangAutoPresetKey = detail::gProgramState.texts.gLangAutoPresetKey;
inline constinit LangCollection& gLangPutPreKey = detail::gProgramState.texts.gLangPutPreKey;
inline constinit LangCollection& gLangExportReport = detail::gProgramState.texts.gLangExportReport;
inline constinit LangCollection& gLangResetReport = detail::gProgramState.texts.gLangResetReport;
inline constinit LangCollection& gLangImportExport = detail::gProgramState.texts.gLangImportExport;
inline constinit LangCollection& gLangScrollMSG = detail::gProgramState.texts.gLangScrollMSG;
inline constinit LangCollection& gLangAbout = detail::gProgramState.texts.gLangAbout;
inline constinit LangCollection& gLangOtherFiles = detail::gProgramState.texts.gLangOtherFiles;
inline constinit LangCollection& gLangFTP = detail::gProgramState.texts.gLangFTP;

inline constinit LangCollection& gParDiscount = detail::gProgramState.texts.gParDiscount;
inline constinit LangCollection& gParMemdisc = detail::gProgramState.texts.gParMemdisc;
inline constinit LangCollection& gParEANDisp = detail::gProgramState.texts.gParEANDisp;
inline constinit LangCollection& gParEANEdit = detail::gProgramState.texts.gParEANEdit;
inline constinit LangCollection& gParSSTabSymbol = detail::gProgramState.texts.gParSSTabSymbol;
inline constinit LangCollection& gParCountry = detail::gProgramState.texts.gParCountry;
inline constinit LangCollection& gParImportExportItem = detail::gProgramState.texts.gParImportExportItem;
inline constinit LangCollection& gParFunctionKey = detail::gProgramState.texts.gParFunctionKey;
inline constinit LangCollection& gParPresetKey = detail::gProgramState.texts.gParPresetKey;
inline constinit LangCollection& gParRSData = detail::gProgramState.texts.gParRSData;
inline constinit LangCollection& gParReportType = detail::gProgramState.texts.gParReportType;

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
