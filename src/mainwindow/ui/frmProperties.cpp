#include "mainwindow/ui/frmProperties.h"

#include "mainwindow/NodeKeys.h"
#include "mainwindow/NodeRecords.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "settings/TextCollections.h"
#include "state/SharedData.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvane {

using namespace ui;
using W = frmProperties;

const ControlTable frmProperties::kControls{
    .section = "frm_Properties",
    .size = {5160, 1980},
    .controls =
        {
            label("labCode", {240, 255, 1800, 300}).caption().to(&W::labCode),
            textBox("txtCode", {2160, 210, 1200, 360}).tab(1).to(&W::txtCode),
            label("labName", {240, 735, 1800, 300}).caption().to(&W::labName),
            textBox("txtName", {2160, 690, 2760, 360}).tab(2).to(&W::txtName),
            commandButton("cmdOK", {3480, 1320, 1440, 420}).tab(3).caption().on(&W::cmdOK_Click).to(&W::cmdOK),
        },
};

frmProperties::frmProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProperties"));
    setModal(true);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    createControls(this, kControls);
    Form_Load();
}

void frmProperties::Form_Load()
{
    StoreTreeState& tree = gStoreTree();
    tree.gTreeFilled = 0; // the main window shows what is saved here when it is active again
    tree.gFirstStoreDone = 1;
    centreOnScreen(this);
    setCaptions(this, kControls, gLangProperties);
    const QString title = gLangProperties.text(QStringLiteral("labtitleStore"));
    labCode->setText(title + QLatin1Char(' ') + labCode->text());
    labName->setText(title + QLatin1Char(' ') + labName->text());
    // The store's number and name are those every first store gets; its dialog of later runs edits them.
    txtCode->setText(QString::number(tree.gStoreRec.ST_No));
    txtCode->setReadOnly(true);
    txtName->setText(tree.gStoreRec.ST_Name);
    txtName->setReadOnly(true);
    cmdOK->setDefault(true);
}

void frmProperties::cmdOK_Click()
{
    const bool saved = tryStep(
        [] {
            // The store with its department 97 and main group 997, or nothing.
            db::Transaction tx(gDBConnection);
            const NodeNumbers old = currentSelection();
            SaveNodeProperties(QStringLiteral("STORE"), old, 0);
            SaveNodeProperties(QStringLiteral("KVB_20"), old, 0);
            SaveNodeProperties(QStringLiteral("KVB_23"), old, 0);
            tx.commit();
        },
        gLangMsg.text(QStringLiteral("dbWriteErr")), this);
    if (!saved)
        return;
    StoreTreeState& tree = gStoreTree();
    tree.gStoreViewKey = nodeKey(NodeKind::Store, NodeNumbers{.storeNo = tree.gStoreRec.ST_No});
    accept();
}

void frmProperties::reject() { }

} // namespace quorvane
