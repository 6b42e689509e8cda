#include "settings/TextCollections.h"

#include "state/ProgramFolder.h"
#include "state/TwoLevelReader.h"

namespace quorvane {

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

void loadTextCollection(const TextCollectionSource& source, const QString& group)
{
    LoadSectionToCollection(programPath(QLatin1String(source.file)), group, QLatin1String(source.section),
                            *source.collection);
}

void releaseTextCollections() { programState().texts = TextCollections(); }

} // namespace quorvane
