#include "reports/ui/frmResetReportData.h"

#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "reports/ReportReset.h"
#include "reports/ui/ReportDialogs.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QCheckBox>
#include <QPushButton>

namespace quorvane {

using namespace ui;

using W = frmResetReportData;

const ControlTable frmResetReportData::kControls{
    .section = "frm_ResetReportData",
    .size = {6180, 2490},
    .controls =
        {
            checkBox("chkResetSalesAll", {240, 240, 2700, 360})
                .tab(1)
                .caption()
                .on(&W::chkResetSalesAll_Click)
                .to(&W::chkResetSalesAll),
            checkBox("chkResetSalesDaily", {240, 720, 2700, 360}).tab(2).caption().to(&W::chkResetSalesDaily),
            checkBox("chkResetSalesPeriod", {240, 1200, 2700, 360}).tab(3).caption().to(&W::chkResetSalesPeriod),
            checkBox("chkResetInventory", {3180, 240, 2760, 360}).tab(4).caption().to(&W::chkResetInventory),
            checkBox("chkResetStockRecord", {3180, 720, 2760, 360}).tab(5).caption().to(&W::chkResetStockRecord),
            checkBox("chkResetJournalReport", {3180, 1200, 2760, 360}).tab(6).caption().to(&W::chkResetJournalReport),
            commandButton("cmdReset", {3180, 1800, 1320, 450}).tab(7).caption().on(&W::cmdReset_Click).to(&W::cmdReset),
            commandButton("cmdClose", {4620, 1800, 1320, 450}).tab(8).caption().on(&W::cmdClose_Click).to(&W::cmdClose),
        },
};

frmResetReportData::frmResetReportData(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmResetReportData"));
    createControls(this, kControls);
    Form_Load();
}

void frmResetReportData::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangResetReport);
}

void frmResetReportData::chkResetSalesAll_Click()
{
    // All sales never goes into one list with the daily or the period file.
    const bool all = chkResetSalesAll->isChecked();
    for (QCheckBox* box : {chkResetSalesDaily, chkResetSalesPeriod}) {
        setChecked(box, false);
        box->setEnabled(!all);
    }
}

void frmResetReportData::cmdReset_Click()
{
    if (msgBox(langMsg(QStringLiteral("ResetSelectReport")), MsgIcon::Exclamation, MsgButtons::YesNo, this) != MsgYes)
        return;
    reports::ResetChoice choice;
    choice.salesAll = chkResetSalesAll->isChecked();
    choice.salesDaily = chkResetSalesDaily->isChecked();
    choice.salesPeriod = chkResetSalesPeriod->isChecked();
    choice.inventory = chkResetInventory->isChecked();
    choice.stockRecord = chkResetStockRecord->isChecked();
    choice.journal = chkResetJournalReport->isChecked();
    requestTransfer(this, {.mode = TransferDelete, .files = reports::resetFileList(choice)});
}

void frmResetReportData::cmdClose_Click() { close(); }

} // namespace quorvane
