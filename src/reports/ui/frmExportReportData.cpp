#include "reports/ui/frmExportReportData.h"

#include "datafiles/ReportLoader.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "reports/ReportColumns.h"
#include "reports/ReportExport.h"
#include "reports/ui/ReportDialogs.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace quorvane {

using namespace ui;
using namespace reports;

using W = frmExportReportData;

const ControlTable frmExportReportData::kControls{
    .section = "frm_ExportReportData",
    .size = {8400, 6120},
    .controls =
        {
            label("labReport", {120, 165, 1440, 300}).caption(),
            comboBox("comboReport", {1560, 120, 3600, 360}).tab(1).on(&W::comboReport_Click).to(&W::comboReport),
            commandButton("cmdUpload", {5400, 90, 1440, 420}).tab(2).caption().on(&W::cmdUpload_Click).to(&W::cmdUpload),
            label("labSeperator", {120, 645, 1440, 300}).caption(),
            comboBox("comboSeperator", {1560, 600, 1800, 360}).tab(3).to(&W::comboSeperator),
            label("labListItem", {120, 1140, 3000, 300}).caption(),
            listBox("listItem", {120, 1440, 3000, 3900}).tab(4).to(&W::listItem),
            commandButton("cmdAdd", {3300, 1860, 1800, 420}).tab(5).caption().on(&W::cmdAdd_Click).to(&W::cmdAdd),
            commandButton("cmdDelete", {3300, 2400, 1800, 420})
                .tab(6)
                .caption()
                .on(&W::cmdDelete_Click)
                .to(&W::cmdDelete),
            commandButton("cmdAddAll", {3300, 3120, 1800, 420})
                .tab(7)
                .caption()
                .on(&W::cmdAddAll_Click)
                .to(&W::cmdAddAll),
            commandButton("cmdDeleteAll", {3300, 3660, 1800, 420})
                .tab(8)
                .caption()
                .on(&W::cmdDeleteAll_Click)
                .to(&W::cmdDeleteAll),
            label("labSelectItem", {5280, 1140, 3000, 300}).caption(),
            listBox("SelectItem", {5280, 1440, 3000, 3900}).tab(9).to(&W::SelectItem),
            commandButton("commandOpen", {120, 5520, 1440, 420}).tab(10).on(&W::commandOpen_Click).to(&W::commandOpen),
            commandButton("commandSave", {1680, 5520, 1440, 420}).tab(11).on(&W::commandSave_Click).to(&W::commandSave),
            label("labWaiting", {3300, 4380, 1800, 660}).caption().to(&W::labWaiting),
            commandButton("cmdExport", {5280, 5520, 1440, 420})
                .tab(12)
                .caption()
                .on(&W::cmdExport_Click)
                .to(&W::cmdExport),
            commandButton("cmdClose", {6840, 5520, 1440, 420}).tab(13).caption().on(&W::cmdClose_Click).to(&W::cmdClose),
        },
};

const ControlTable frmExportReportData::kFileButtons{
    .section = "frm_ImportOrExport",
    .size = QSize(), // captions only: kControls places the buttons
    .controls = {commandButton("commandOpen", {}).caption(), commandButton("commandSave", {}).caption()},
};

frmExportReportData::frmExportReportData(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmExportReportData"));
    createControls(this, kControls);
    labWaiting->hide();
    labWaiting->setWordWrap(true);
    labWaiting->setAlignment(Qt::AlignCenter);
    connectHandler(listItem, &QListWidget::itemDoubleClicked, this, &W::cmdAdd_Click);
    connectHandler(SelectItem, &QListWidget::itemDoubleClicked, this, &W::cmdDelete_Click);
    Form_Load();
}

void frmExportReportData::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangExportReport);
    setCaptions(this, kFileButtons, gLangImportExport);
    comboSeperator->addItems({gLangExportReport.text(QStringLiteral("comboSepTab")),
                              gLangExportReport.text(QStringLiteral("comboSepComma"))});
    setListIndex(comboSeperator, 0);
    // In the order of datafiles::reportTables().
    comboReport->addItems({
        gLangExportReport.text(QStringLiteral("comboRptDPT")),
        gLangExportReport.text(QStringLiteral("comboRptMGT")),
        gLangExportReport.text(QStringLiteral("comboRptPLT")),
        gLangExportReport.text(QStringLiteral("comboRptCLT")),
        gLangExportReport.text(QStringLiteral("comboRptSAT")),
        gLangExportReport.text(QStringLiteral("comboRptTAT")),
        gLangExportReport.text(QStringLiteral("comboRptRTB")),
        gLangExportReport.text(QStringLiteral("comboRptRTT")),
        gLangExportReport.text(QStringLiteral("comboRptINV")),
    });
    m_reportIndex = 0;
    setListIndex(comboReport, 0);
    listFields();
    enableColumnControls(false);
}

QString frmExportReportData::reportCode() const { return datafiles::reportTables().value(m_reportIndex); }

void frmExportReportData::listFields()
{
    tryStep([&] { listItem->addItems(reportFieldNames(reportCode())); }, QString(), this);
}

void frmExportReportData::enableColumnControls(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{listItem, SelectItem, cmdAdd, cmdDelete, cmdAddAll,
                                                            cmdDeleteAll, cmdExport, commandOpen, commandSave})
        control->setEnabled(enabled);
}

QStringList frmExportReportData::entries(const QListWidget* list) const
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void frmExportReportData::comboReport_Click()
{
    const int index = comboReport->currentIndex();
    if (index == m_reportIndex || index < 0)
        return;
    m_reportIndex = index;
    enableColumnControls(false);
    listItem->clear();
    SelectItem->clear();
    listFields();
}

void frmExportReportData::cmdUpload_Click()
{
    const QString code = reportCode();
    // The loader appends: the table starts empty, so what is exported is this fetch alone.
    if (!tryStep([&] { emptyReportTable(code); }, langMsg(QStringLiteral("dbWriteErr")), this))
        return;
    requestTransfer(this, {.mode = TransferFetch, .files = {reportFileName(code)}});
    // Asked also after a failed fetch: the table then holds what was loaded, if anything.
    enableColumnControls(msgBox(langMsg(QStringLiteral("exportreport")), MsgIcon::Question, MsgButtons::YesNo, this)
                         == MsgYes);
}

void frmExportReportData::cmdAdd_Click()
{
    const int row = listItem->currentRow();
    if (row < 0 || !listItem->item(row)->isSelected())
        return;
    const QString name = listItem->item(row)->text();
    if (entries(SelectItem).contains(name))
        return;
    SelectItem->addItem(name);
    setListIndex(SelectItem, SelectItem->count() - 1);
}

void frmExportReportData::cmdDelete_Click()
{
    const int row = SelectItem->currentRow();
    if (row < 0 || !SelectItem->item(row)->isSelected())
        return;
    delete SelectItem->takeItem(row);
    setListIndex(SelectItem, row - 1);
    if (row == 0)
        SelectItem->clearSelection();
}

void frmExportReportData::cmdAddAll_Click()
{
    SelectItem->clear();
    SelectItem->addItems(entries(listItem));
    if (SelectItem->count() > 0)
        setListIndex(SelectItem, 0);
}

void frmExportReportData::cmdDeleteAll_Click() { SelectItem->clear(); }

void frmExportReportData::commandSave_Click()
{
    const QList<int> positions = fieldPositions(entries(SelectItem), entries(listItem));
    const QString path = CommonDialog1(FileDialogKind::Save, this);
    if (path.isEmpty())
        return;
    tryStep([&] { writeColumnChoice(path, positions); }, langMsg(QStringLiteral("fileWriteErr")), this);
}

void frmExportReportData::commandOpen_Click()
{
    const QString path = CommonDialog1(FileDialogKind::Open, this);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QList<int> positions;
    if (!tryStep([&] { positions = readColumnChoice(path, listItem->count()); }, langMsg(QStringLiteral("fileReadErr")),
                 this))
        return;
    SelectItem->clear();
    for (const int p : std::as_const(positions))
        SelectItem->addItem(listItem->item(p)->text());
    if (SelectItem->count() > 0)
        setListIndex(SelectItem, 0);
}

void frmExportReportData::cmdExport_Click()
{
    ExportRequest request;
    request.code = reportCode();
    request.separator = separatorFor(comboSeperator->currentIndex());
    request.columns = entries(SelectItem);
    if (request.columns.isEmpty())
        return;
    request.titleLine = msgBox(langMsg(QStringLiteral("ReportTitle")), MsgIcon::Question, MsgButtons::YesNo, this)
        == MsgYes;
    const QString path = CommonDialog1(FileDialogKind::Save, this);
    if (path.isEmpty())
        return;
    request.format = settingsValueFormat();
    labWaiting->show();
    setEnabled(false);
    // The old file is replaced only by a complete one; a failure says why and is never reported as done: a table
    // that cannot be read as a database failure, anything else as the file's.
    const auto failure = [](const Error& e) {
        return dynamic_cast<const ReportReadError*>(&e) ? langMsg(QStringLiteral("dbReadErr"))
                                                        : langMsg(QStringLiteral("fileWriteErr"));
    };
    if (tryStep([&] { exportReport(path, request); }, failure, this))
        msgBox(langMsg(QStringLiteral("exportRptOK")), MsgIcon::Exclamation, MsgButtons::Ok, this);
    labWaiting->hide();
    setEnabled(true);
}

void frmExportReportData::cmdClose_Click() { close(); }

} // namespace quorvane
