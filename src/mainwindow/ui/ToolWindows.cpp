#include "mainwindow/ui/ToolWindows.h"

#include "otherfiles/ui/frmOtherFile.h"
#include "otherfiles/ui/frmScrollMSG.h"
#include "platform/StateReset.h"
#include "presetkeys/ui/frmFlexiBarcode.h"
#include "presetkeys/ui/frmPresetKey.h"
#include "reports/ui/frmExportReportData.h"
#include "reports/ui/frmImportOrExport.h"
#include "reports/ui/frmResetReportData.h"
#include "settings/ui/frmTranslate.h"

#include <QHash>

namespace quorvane {

namespace {

struct ToolWindow {
    const char* entry;
    void (*open)(const QString& caption);
};

// The Tool menu's entries and their windows.
const ToolWindow kToolWindows[] = {
    {"menuLanguageTranslate", &openToolWindow<frmTranslate>},
    {"menuEditFlexiBarcode", &openToolWindow<frmFlexiBarcode>},
    {"menuEditPresetKey", &openToolWindow<frmPresetKey>},
    {"menuImportOrExport", &openToolWindow<frmImportOrExport>},
    {"menuExportReport", &openToolWindow<frmExportReportData>},
    {"menuResetReport", &openToolWindow<frmResetReportData>},
    {"menuScrollMSG", &openToolWindow<frmScrollMSG>},
    {"menuEditOtherFiles", &openToolWindow<frmOtherFile>},
};

// Test stand-ins, by entry; none after a reset of the program state.
QHash<QString, ToolOpener> gStandIns;
const ResetWithState kResetStandIns([] { gStandIns.clear(); });

} // namespace

ToolOpener toolWindowOpener(const QString& entry)
{
    if (const ToolOpener standIn = gStandIns.value(entry))
        return standIn;
    for (const ToolWindow& tool : kToolWindows)
        if (entry == QLatin1String(tool.entry))
            return tool.open;
    return {};
}

QStringList toolWindowEntries()
{
    QStringList entries;
    for (const ToolWindow& tool : kToolWindows)
        entries << QLatin1String(tool.entry);
    return entries;
}

void setToolWindowOpener(const QString& entry, ToolOpener opener)
{
    if (opener)
        gStandIns.insert(entry, std::move(opener));
    else
        gStandIns.remove(entry);
}

} // namespace quorvane
