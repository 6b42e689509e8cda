// The main window's menu commands: language, help, tool windows, exit.

#include "mainwindow/ui/ToolWindows.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/StateReset.h"
#include "platform/events/DoEvents.h"
#include "platform/text/Paths.h"
#include "platform/ui/MessageBox.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluTransferCommands.h"
#include "plu/ui/PluWindowHost.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "settings/ui/frmAbout.h"
#include "settings/ui/frmScale.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <QTableWidget>
#include <QUrl>

namespace quorvane {

namespace {

// Test seam: how a test opens help files; the system's viewer after a reset of the program state.
frmMain::HelpViewer gHelpViewer;
const ResetWithState kResetHelpViewer([] { gHelpViewer = nullptr; });

constexpr const char* kLanguageEntries[] = {"menuEnglish", "menuChinese", "menuOther"};

} // namespace

// The PLU transfers: the buttons' routines. The node commands are in frmMainNodes.cpp.
void frmMain::menuDownload_Click() { plu::cmdSendAll_Click(this); }
void frmMain::menuUpload_Click() { plu::cmdUpload_Click(this); }
void frmMain::menuDeletePlu_Click() { plu::cmdDel_Click(this); }
void frmMain::menuDataFormat_Click()
{
    if (plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    ui::showModal<frmScale>();
}

// The About window asks nothing about the edited PLU: it changes nothing.
void frmMain::menuSoftwareVersion_Click()
{
    ui::showModal<frmAbout>(m_menu[QStringLiteral("menuSoftwareVersion")]->text());
}

void frmMain::menuExit_Click()
{
    if (plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    m_leaveAsked = true; // the close asks nothing again
    close();
    m_leaveAsked = false;
}

void frmMain::menuLanguage_Click() { plu::AskSavePLUChanges(this); }

void frmMain::menuEnglish_Click() { switchLanguage(0); }
void frmMain::menuChinese_Click() { switchLanguage(1); }
void frmMain::menuOther_Click() { switchLanguage(2); }

void frmMain::checkLanguage(qint16 index)
{
    if (index >= 0 && index < qint16(std::size(kLanguageEntries)))
        m_menu[QLatin1String(kLanguageEntries[index])]->setChecked(true);
}

void frmMain::switchLanguage(qint16 index)
{
    if (plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    for (const char* entry : kLanguageEntries)
        m_menu[QLatin1String(entry)]->setChecked(false);
    checkLanguage(index);
    SettingsRecord& settings = gSettings();
    settings.gLanguageIndex = index;
    // The next start takes the language from the file; a failure to write it is said, and this run switches all
    // the same.
    ui::tryStep([&settings] { writeSettingsFile(programPath(QLatin1String(paths::SettingsFile)), settings); },
                langMsg(QStringLiteral("fileWriteErr")), this);
    setEnabled(false);
    ChangeLanguage(index);
    setEnabled(true);
    m_helpFile = helpFilePath(index);
}

void frmMain::ChangeLanguage(qint16 index)
{
    SettingsRecord& settings = gSettings();
    if (const QString name = languageNameFor(index); !name.isEmpty())
        settings.gLanguageName = name;
    DoEvents();
    const QList<TextCollectionSource>& sources = textCollectionSources();
    for (qsizetype i = 0; i < sources.size(); ++i) {
        loadTextCollection(sources[i], settings.gLanguageName);
        if (i == 0)
            DoEvents();
    }
    setMainCaptions();
    plu::ApplyPLUEditorCaptions(this);
    // The grid's row less its header row; with no current row there is nothing shown to show again.
    const plu::PluPanel& panel = plu::pluPanel(this);
    if (gRsPLU.isOpen() && gRsPLU.recordCount() > 0 && panel.MSHFlexGridPLU->currentRow() >= 0)
        plu::ShowPLUInTab(this, panel.MSHFlexGridPLU->currentRow());
    if (gStoreTree().gTreeViewMode == 1)
        panel.SSTabPLU->hide();
}

QString frmMain::helpFilePath(qint16 languageIndex)
{
    return programPath(languageIndex == 1 ? QStringLiteral("Software Help CN.chm")
                                          : QStringLiteral("Software Help EN.chm"));
}

void frmMain::setHelpViewer(HelpViewer viewer) { gHelpViewer = std::move(viewer); }

void frmMain::menuSoftwareHelp_Click()
{
    const auto open = gHelpViewer ? gHelpViewer : [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    if (!QFileInfo(m_helpFile).isFile() || !open(m_helpFile))
        ui::msgBox(langMsg(QStringLiteral("helpOpenErr"), text::nativePath(m_helpFile)), ui::MsgIcon::Exclamation,
                   ui::MsgButtons::Ok, this);
}

void frmMain::openTool(const char* entry)
{
    // An entry without a window asks nothing: the edited PLU stays as it is.
    const ToolOpener open = toolWindowOpener(QLatin1String(entry));
    if (!open || plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    open(m_menu[QLatin1String(entry)]->text());
}

void frmMain::menuLanguageTranslate_Click() { openTool("menuLanguageTranslate"); }
void frmMain::menuEditFlexiBarcode_Click() { openTool("menuEditFlexiBarcode"); }
void frmMain::menuEditPresetKey_Click() { openTool("menuEditPresetKey"); }
void frmMain::menuImportOrExport_Click() { openTool("menuImportOrExport"); }
void frmMain::menuExportReport_Click() { openTool("menuExportReport"); }
void frmMain::menuResetReport_Click() { openTool("menuResetReport"); }
void frmMain::menuScrollMSG_Click() { openTool("menuScrollMSG"); }
void frmMain::menuEditOtherFiles_Click() { openTool("menuEditOtherFiles"); }

} // namespace quorvane
