#include "transfer/ui/frmDownLoad.h"

#include "datafiles/DataFileWriters.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/SharedData.h"
#include "transfer/SendOptions.h"
#include "transfer/TransferRequest.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace quorvane {

using namespace ui;
using W = frmDownLoad;

const ControlTable frmDownLoad::kControls{
    .section = "frm_OTHER",
    .size = {4800, 2700},
    .controls =
        {
            frame("Frame1", {240, 120, 4320, 1260}).to(&W::Frame1),
            checkBox("chkDept", {240, 360, 3840, 300}).in("Frame1").tab(1).caption("downDept").to(&W::chkDept),
            checkBox("chkMG", {240, 780, 3840, 300}).in("Frame1").tab(2).caption("downMG").to(&W::chkMG),
            label("lblLoading", {240, 1530, 4320, 300}).caption("loading").to(&W::lblLoading),
            commandButton("cmdOK", {1680, 2040, 1320, 420}).tab(3).caption("downOK").on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCancel", {3120, 2040, 1320, 420})
                .tab(4)
                .caption("setCancel")
                .on(&W::cmdCancel_Click)
                .to(&W::cmdCancel),
        },
};

frmDownLoad::frmDownLoad(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDownLoad"));
    setModal(true);
    createControls(this, kControls);
    Form_Load();
}

std::optional<QStringList> frmDownLoad::askSendOptions(QWidget* parent, qint16 mode)
{
    frmDownLoad dialog(parent);
    if (mode == TransferDelete) {
        dialog.setWindowTitle(gLangOther.text(QStringLiteral("delTitle")));
        dialog.Frame1->setTitle(gLangOther.text(QStringLiteral("delFrame")));
        dialog.m_buildRecords = false;
    } else {
        dialog.setWindowTitle(gLangOther.text(QStringLiteral("downTitle")));
        dialog.Frame1->setTitle(gLangOther.text(QStringLiteral("downFrame")));
    }
    // Only OK says go on: a dialog closed any other way (the end of the program too) cancels.
    dialog.exec();
    return dialog.m_added;
}

void frmDownLoad::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangOther);
    lblLoading->setAlignment(Qt::AlignCenter);
    cmdOK->setEnabled(false);
    cmdCancel->setEnabled(false);
    lblLoading->setVisible(true);
}

void frmDownLoad::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once painted: the loading text shows while the records are built. The build pumps events, so a close that
    // arrives meanwhile is held until it is done.
    if (!m_activated)
        QMetaObject::invokeMethod(
            this,
            [this] {
                const ui::HandlerRun run(this);
                Form_Activate();
            },
            Qt::QueuedConnection);
}

void frmDownLoad::Form_Activate()
{
    if (m_activated)
        return;
    m_activated = true;
    m_building = true;
    if (m_buildRecords) {
        PluRecordPass pass;
        if (!tryStep([&] { pass = EncodeMarkedPluRecords(); }, langMsg(QStringLiteral("dbWriteErr")), this)) {
            // Nothing was saved: no PLU goes out with records that are not what the rows say.
            m_building = false;
            QDialog::reject();
            return;
        }
        if (!pass.kept.isEmpty()) {
            constexpr int shown = 20;
            QStringList lines = pass.kept.mid(0, shown);
            if (pass.kept.size() > shown)
                lines << QStringLiteral("(+%1)").arg(pass.kept.size() - shown);
            msgBox(langMsg(QStringLiteral("pluRecordKept"), lines.join(QLatin1Char('\n'))), MsgIcon::Exclamation,
                   MsgButtons::Ok, this);
        }
    }
    m_building = false;
    cmdCancel->setEnabled(true);
    lblLoading->setVisible(false);
    // A close that came while the records were built cancels once it is delivered: OK never sends after it.
    if (closeHeld(this))
        return;
    cmdOK->setEnabled(true);
    cmdOK->setDefault(true);
}

void frmDownLoad::cmdOK_Click()
{
    QList<const char*> tables;
    if (chkDept->isChecked())
        tables << "KVB_20";
    if (chkMG->isChecked())
        tables << "KVB_23";
    // Both marks or neither, so the list never names a file whose rows were not marked.
    const bool marked = tryStep(
        [&] {
            db::Transaction tx(gDBConnection);
            for (const char* table : std::as_const(tables))
                MarkStoreForDownload(QLatin1String(table));
            tx.commit();
        },
        langMsg(QStringLiteral("dbWriteErr")), this);
    if (!marked)
        return;
    QStringList added;
    for (const char* table : std::as_const(tables))
        added << datafiles::dataFileOf(table);
    m_added = added;
    accept();
}

void frmDownLoad::cmdCancel_Click() { QDialog::reject(); }

void frmDownLoad::reject()
{
    if (!m_building && cmdCancel->isEnabled())
        cmdCancel_Click();
}

} // namespace quorvane
