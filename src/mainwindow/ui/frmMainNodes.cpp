// The main window's node commands: new nodes, properties, delete, and the sends of a store's departments and main
// groups.

#include "datafiles/DataFileWriters.h"
#include "mainwindow/NodeCommands.h"
#include "mainwindow/NodeRecords.h"
#include "mainwindow/ui/frmMain.h"
#include "mainwindow/ui/frmProperties.h"
#include "mainwindow/ui/frmScProperties.h"
#include "mainwindow/ui/frmSearch.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/MessageBox.h"
#include "plu/ui/PluWindowHost.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/StoreTreeState.h"
#include "transfer/SendOptions.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QAction>
#include <QTreeWidget>

namespace quorvane {

namespace {

template<class D> void execDialog(QWidget* parent, const QString& caption)
{
    D dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.exec();
}

QString keyOfNode(const QTreeWidgetItem* node) { return node ? node->data(0, Qt::UserRole).toString() : QString(); }

} // namespace

void frmMain::menuStore_Click() { newNode(NodeKind::Store, "menuStore"); }
void frmMain::menuSection_Click() { newNode(NodeKind::Section, "menuSection"); }
void frmMain::menuMachine_Click() { newNode(NodeKind::Scale, "menuMachine"); }
void frmMain::menuDept_Click() { newNode(NodeKind::Department, "menuDept"); }
void frmMain::menuMg_Click() { newNode(NodeKind::MainGroup, "menuMg"); }
void frmMain::menuSearch_Click() { newNode(NodeKind::Search, "menuSearch"); }

// Node selection enables an entry only for the nodes it fits; a command reached otherwise does nothing.
bool frmMain::offered(const char* entry) const
{
    const QAction* action = m_menu.value(QLatin1String(entry));
    return action && action->isEnabled();
}

void frmMain::newNode(NodeKind kind, const char* entry)
{
    const QString parentKey = selectedNodeKey();
    if (!offered(entry) || !isParentOf(kind, parentKey) || plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    int proposed = 1;
    if (!ui::tryStep([&] { proposed = PrepareNewNode(newNodeWord(kind), parentKey); },
                     langMsg(QStringLiteral("dbReadErr")), this))
        return;
    const QString caption = m_menu[QLatin1String(entry)]->text();
    const NewNode node = newNodeUnder(kind, parentKey, proposed, caption);
    // Only a preview: the tree is rebuilt from the tables when the dialog has closed.
    addNode(node.parentKey, node.key, node.text, node.image);
    setCurrentSelection(node.numbers);
    setNewNodeRecords(kind, node.numbers, caption);
    gStoreTree().gPropMode = 0;
    if (nodeOf(node.key))
        rememberedKeyOf(kind) = node.key;
    openPropertiesDialog(kind);
}

void frmMain::openPropertiesDialog(NodeKind kind)
{
    StoreTreeState& tree = gStoreTree();
    tree.gPropertyNodeKind = qint16(kind);
    const QString caption = propertiesCaption(kind);
    if (kind == NodeKind::Scale)
        execDialog<frmScProperties>(this, caption);
    else if (kind == NodeKind::Search)
        execDialog<frmSearch>(this, caption);
    else
        execDialog<frmProperties>(this, caption);
    DoEvents();
    Form_Activate();
}

// Before the dialog closes: the main window, active again, rebuilds its tree and selects the remembered node.
void frmMain::dropNewNode(NodeKind kind)
{
    QString& remembered = rememberedKeyOf(kind);
    const QTreeWidgetItem* node = nodeOf(remembered);
    if (!node)
        return;
    const QString key = remembered;
    remembered = keyOfNode(node->parent());
    removeNode(key);
}

void frmMain::menuProperties_Click()
{
    if (!offered("menuProperties") || plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    const NodeKey node = parseNodeKey(selectedNodeKey());
    const QString table = nodeTableName(node.kind);
    if (table.isEmpty())
        return;
    setCurrentSelection(node.numbers);
    gStoreTree().gPropMode = 1;
    if (!ui::tryStep([&] { LoadNodeProperties(table, node.numbers); }, langMsg(QStringLiteral("dbReadErr")), this))
        return;
    openPropertiesDialog(node.kind);
}

void frmMain::menuDelete_Click()
{
    if (!offered("menuDelete") || plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    if (ui::msgBox(langMsg(QStringLiteral("areyousure")), ui::MsgIcon::Exclamation, ui::MsgButtons::YesNo, this)
        != ui::MsgYes)
        return;
    const QString key = selectedNodeKey();
    if (!ui::tryStep([&] { DeleteNode(key, gStoreTree().gTreeViewMode == 1); }, langMsg(QStringLiteral("dbWriteErr")),
                     this))
        return;
    removeNode(key);
    if (const QTreeWidgetItem* first = treeStoreAndData->topLevelItem(0)) {
        selectNode(keyOfNode(first));
        treeStoreAndData_NodeClick();
    }
}

void frmMain::menuDownloadDept_Click() { sendStoreGroups("menuDownloadDept", "KVB_20"); }
void frmMain::menuDownloadMG_Click() { sendStoreGroups("menuDownloadMG", "KVB_23"); }

// Every department or main group of the current store is marked, and stays marked after the transfer.
void frmMain::sendStoreGroups(const char* entry, const char* table)
{
    if (!offered(entry) || plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    ui::tryStep(
        [&] {
            MarkStoreForDownload(QLatin1String(table));
            requestTransfer(this, {.mode = TransferSend, .files = {datafiles::dataFileOf(table)}});
        },
        langMsg(QStringLiteral("dbWriteErr")), this);
}

} // namespace quorvane
