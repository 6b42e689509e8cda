#include "settings/TextCollections.h"

#include "platform/text/Paths.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/TwoLevelReader.h"

namespace quorvane {

constinit LangCollection& gLangOther = detail::gProgramState.texts.gLangOther;
constinit LangCollection& gLangMainCmd = detail::gProgramState.texts.gLangMainCmd;
constinit LangCollection& gLangMainMenu = detail::gProgramState.texts.gLangMainMenu;
constinit LangCollection& gLangMainGrid = detail::gProgramState.texts.gLangMainGrid;
constinit LangCollection& gLangMainTab = detail::gProgramState.texts.gLangMainTab;
constinit LangCollection& gLangStringEdit = detail::gProgramState.texts.gLangStringEdit;
constinit LangCollection& gLangMsg = detail::gProgramState.texts.gLangMsg;
constinit LangCollection& gLangProperties = detail::gProgramState.texts.gLangProperties;
constinit LangCollection& gLangScProperties = detail::gProgramState.texts.gLangScProperties;
constinit LangCollection& gLangFlexiBarcode = detail::gProgramState.texts.gLangFlexiBarcode;
constinit LangCollection& gLangSearch = detail::gProgramState.texts.gLangSearch;
constinit LangCollection& gLangTranslate = detail::gProgramState.texts.gLangTranslate;
constinit LangCollection& gLangPresetKey = detail::gProgramState.texts.gLangPresetKey;
constinit LangCollection& gLangAutoPresetKey = detail::gProgramState.texts.gLangAutoPresetKey;
constinit LangCollection& gLangPutPreKey = detail::gProgramState.texts.gLangPutPreKey;
constinit LangCollection& gLangExportReport = detail::gProgramState.texts.gLangExportReport;
constinit LangCollection& gLangResetReport = detail::gProgramState.texts.gLangResetReport;
constinit LangCollection& gLangImportExport = detail::gProgramState.texts.gLangImportExport;
constinit LangCollection& gLangScrollMSG = detail::gProgramState.texts.gLangScrollMSG;
constinit LangCollection& gLangAbout = detail::gProgramState.texts.gLangAbout;
constinit LangCollection& gLangOtherFiles = detail::gProgramState.texts.gLangOtherFiles;
constinit LangCollection& gLangFTP = detail::gProgramState.texts.gLangFTP;
constinit LangCollection& gParDiscount = detail::gProgramState.texts.gParDiscount;
constinit LangCollection& gParMemdisc = detail::gProgramState.texts.gParMemdisc;
constinit LangCollection& gParEANDisp = detail::gProgramState.texts.gParEANDisp;
constinit LangCollection& gParEANEdit = detail::gProgramState.texts.gParEANEdit;
constinit LangCollection& gParSSTabSymbol = detail::gProgramState.texts.gParSSTabSymbol;
constinit LangCollection& gParCountry = detail::gProgramState.texts.gParCountry;
constinit LangCollection& gParImportExportItem = detail::gProgramState.texts.gParImportExportItem;
constinit LangCollection& gParFunctionKey = detail::gProgramState.texts.gParFunctionKey;
constinit LangCollection& gParPresetKey = detail::gProgramState.texts.gParPresetKey;
constinit LangCollection& gParRSData = detail::gProgramState.texts.gParRSData;
constinit LangCollection& gParReportType = detail::gProgramState.texts.gParReportType;

const QList<TextCollectionSource>& textCollectionSources()
{
    using namespace paths;
    static const QList<TextCollectionSource> sources{
        {&gLangOther, LanguageFile, "frm_OTHER"},
        {&gLangMainCmd, LanguageFile, "frmMain_cmd"},
        {&gLangMainMenu, LanguageFile, "frmMain_Menu"},
        {&gLangMainGrid, LanguageFile, "frmMain_flexgrid"},
        {&gLangMainTab, LanguageFile, "frmMain_sstab"},
        {&gLangStringEdit, LanguageFile, "frmStringEdit"},
        {&gLangMsg, LanguageFile, "msgbox"},
        {&gLangProperties, LanguageFile, "frm_Properties"},
        {&gLangScProperties, LanguageFile, "frm_ScProperties"},
        {&gLangFlexiBarcode, LanguageFile, "frm_FlexiBarcode"},
        {&gLangSearch, LanguageFile, "frm_Search"},
        {&gLangTranslate, LanguageFile, "frm_Translate"},
        {&gLangPresetKey, LanguageFile, "frm_PresetKey"},
        {&gLangAutoPresetKey, LanguageFile, "frm_AutoPresetKey"},
        {&gLangPutPreKey, LanguageFile, "frm_PutPreKey"},
        {&gLangExportReport, LanguageFile, "frm_ExportReportData"},
        {&gLangResetReport, LanguageFile, "frm_ResetReportData"},
        {&gLangImportExport, LanguageFile, "frm_ImportOrExport"},
        {&gLangScrollMSG, LanguageFile, "frm_ScrollMSG"},
        {&gLangAbout, LanguageFile, "frm_About"},
        {&gLangOtherFiles, LanguageFile, "frm_OtherFiles"},
        {&gLangFTP, LanguageFile, "frm_FTPDataTrans"},
        {&gParDiscount, ParameterFile, "discount"},
        {&gParMemdisc, ParameterFile, "Memdisc"},
        {&gParEANDisp, ParameterFile, "EAN_DISP"},
        {&gParEANEdit, ParameterFile, "EAN_EDIT"},
        {&gParSSTabSymbol, ParameterFile, "SSTab_Symbol"},
        {&gParCountry, ParameterFile, "SYS_Country"},
        {&gParImportExportItem, ParameterFile, "ImportOrExportItem"},
        {&gParFunctionKey, ParameterFile, "FunctionKey"},
        {&gParPresetKey, ParameterFile, "PresetKey"},
        {&gParRSData, ParameterFile, "RSData"},
        {&gParReportType, ParameterFile, "ReportType"},
    };
    return sources;
}

namespace {

// The message texts that report failures, as the English block has them.
constexpr std::pair<const char*, const char*> kMessageStandIns[] = {
    {"linkADO", "Cannot connect to the database!"},
    {"ftpPrepareError", "The transfer could not be prepared:"},
    {"translateFileInvalid",
     "The language file cannot be translated here: its language blocks do not run line for "
     "line in parallel, or it is too long."},
    {"fileReadErr", "The file could not be read:"},
    {"presetKeyFileErr", "The preset-key file cannot be used:"},
    {"printErr", "The key sheet could not be printed."},
    {"dbWriteErr", "The data could not be saved in the database:"},
    {"fileWriteErr", "The file could not be written:"},
    {"charRefused", "This character cannot be stored in the code page of the system:"},
    {"dbReadErr", "The data could not be read from the database:"},
    {"treeSkipped", "These records cannot be shown in the tree and were left out:"},
    {"treeNoParent", "the node it belongs under is missing"},
    {"treeTwice", "a node with the same numbers is shown already"},
    {"helpOpenErr", "The help file cannot be opened:"},
    {"pluRecordKept", "These PLUs could not be encoded and keep their previous scale records:"},
    {"langFileErr",
     "These language or parameter files cannot be read, or lack the language groups named after "
     "them; the windows show the names of the texts they lack:"},
    {"dumpFilesChanged",
     "These saved files are not as the last exit wrote them. What could be read of them has been loaded; the next exit "
     "keeps the files of their tables as they are now, with \".bak\" added to their names:"},
    {"dumpSetUnmarked",
     "The saved data carry no mark that the exit which wrote them ended, so whether these files are whole cannot be "
     "told. What could be read of them has been loaded; the next exit keeps them as they are now, with \".bak\" added "
     "to their names:"},
    {"pluRowsDoubled",
     "These rows of the saved PLU list repeat the store and number of another PLU and have no scale record of their "
     "own; they were left out:"},
    {"pluNodeMissing",
     "These PLUs belong to a store or section that does not exist, so the store tree does not show them where they "
     "belong:"},
    {"crashKeptDb",
     "The last run of Quorvane did not end normally; the data saved at the last orderly exit have been loaded. The "
     "working database of that run has been kept as:"},
    {"crashAfterSaving",
     "The last exit of Quorvane did not finish, but it had saved the data: those data have been loaded. The working "
     "database of that run has been kept as:"},
    {"keptDbOffer",
     "The last exit could not save the data and kept the working database with the work of that run. Load it? Yes: go "
     "on with that work. No: load the data saved at the exit before; the kept database stays where it is. When and "
     "where it was kept:"},
    {"keptDbUnusable",
     "The kept working database cannot be used; it stays where it is, and the data saved at the exit before are "
     "loaded:"},
    {"keptDbNextStart", "The next start offers to load it."},
};

} // namespace

void loadTextCollection(const TextCollectionSource& source, const QString& group)
{
    LoadSectionToCollection(programPath(QLatin1String(source.file)), group, QLatin1String(source.section),
                            *source.collection);
    if (source.collection == &gLangMsg)
        for (const auto& [key, text] : kMessageStandIns)
            gLangMsg.add(QLatin1String(key), QLatin1String(text)); // a key the file has keeps its text
}

QStringList textFileProblems(const QStringList& groups)
{
    QStringList problems;
    for (const char* file : {paths::LanguageFile, paths::ParameterFile}) {
        QStringList sections;
        for (const TextCollectionSource& source : textCollectionSources())
            if (qstrcmp(source.file, file) == 0)
                sections << QLatin1String(source.section);
        const QString path = programPath(QLatin1String(file));
        QStringList lines;
        if (!ReadTwoLevelFile(path, &lines)) {
            problems << text::nativePath(path);
            continue;
        }
        QStringList lacking;
        for (const QString& group : groups)
            if (!HasGroupSections(lines, group, sections))
                lacking << QLatin1Char('<') + group + QLatin1Char('>');
        if (!lacking.isEmpty())
            problems << text::nativePath(path) + QStringLiteral(": ") + lacking.join(QStringLiteral(", "));
    }
    return problems;
}

void releaseTextCollections() { programState().texts = TextCollections(); }

} // namespace quorvane
