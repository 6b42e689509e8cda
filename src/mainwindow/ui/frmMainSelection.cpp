// The main window's node selection: the menus, pop-up entries and buttons for the selected node, the current
// numbers and the node's PLU list.

#include "mainwindow/NodeKeys.h"
#include "mainwindow/NodeRecords.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WindowOpener.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluWindowHost.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/PluEditorState.h"
#include "state/StoreTreeState.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include <optional>

namespace quorvane {

namespace {

// The entries that create a node of each kind, in the menu and in the pop-up menu.
struct NewEntry {
    const char* menu;
    const char* popup;
};
constexpr NewEntry kNewEntries[] = {
    {"menuStore", "popmenuNewStore"}, {"menuSection", "popmenuNewSection"}, {"menuMachine", "popmenuNewMachine"},
    {"menuDept", "popmenuNewDept"},   {"menuMg", "popmenuNewMG"},           {"menuSearch", "popmenuNewSearch"},
};
enum NewKind : unsigned { Store = 1, Section = 2, Machine = 4, Dept = 8, Mg = 16, Search = 32 };

// What a node offers to create, and whether it offers its data view: each node kind in the view that shows it.
struct Offer {
    NodeKind kind;
    int view; // gTreeViewMode, -1 either
    unsigned create;
    bool dataView;
};
constexpr Offer kOffers[] = {
    {NodeKind::Root, 1, Store, false},      {NodeKind::Store, 1, Section, true},
    {NodeKind::Section, 1, Machine, false}, {NodeKind::Store, 0, Dept | Search, false},
    {NodeKind::Department, 0, Mg, false},   {NodeKind::Search, 0, 0, false},
    {NodeKind::Scale, -1, 0, false},        {NodeKind::MainGroup, -1, 0, false},
};

} // namespace

void frmMain::treeStoreAndData_NodeClick()
{
    QTreeWidgetItem* node = treeStoreAndData->currentItem();
    // Once the exit has begun nothing is asked and no list is read: the database is being dumped or is closed.
    if (!node || ui::windows().exiting())
        return;
    if (plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled) {
        // The node whose menus, numbers and PLU list these are is selected again.
        selectNode(m_selectedKey);
        return;
    }
    const QString key = node->data(0, Qt::UserRole).toString();
    m_selectedKey = key;
    StoreTreeState& tree = gStoreTree();
    (tree.gTreeViewMode == 0 ? tree.gDataViewKey : tree.gStoreViewKey) = key;
    setMenuStates(key, node);

    clearCurrentSelection();
    const NodeKey parsed = parseNodeKey(key);
    const NodeNumbers& n = parsed.numbers;
    if (tree.gTreeViewMode == 0) {
        std::optional<PluListKind> listKind; // none: a node without PLUs
        switch (parsed.kind) {
        case NodeKind::Store:
            tree.gCurStoreNo = n.storeNo;
            listKind = PluListKind::Store;
            break;
        case NodeKind::Department:
        case NodeKind::MainGroup:
            tree.gCurStoreNo = n.storeNo;
            tree.gCurDeptNo = n.deptOrSearchNo;
            tree.gCurMGNo = n.mgNo;
            ui::tryStep([&] { FillSectionCombo(QStringLiteral("KVB_20"), n.storeNo, n.deptOrSearchNo); },
                        langMsg(QStringLiteral("dbReadErr")), this);
            listKind = parsed.kind == NodeKind::Department ? PluListKind::Department : PluListKind::MainGroup;
            break;
        case NodeKind::Search:
            tree.gCurStoreNo = n.storeNo;
            tree.gCurDeptNo = n.deptOrSearchNo;
            listKind = PluListKind::Search;
            break;
        default:
            break;
        }
        if (listKind) {
            tree.gCurNodeKind = *listKind;
            const qint16 index = qint16(node->data(0, Qt::UserRole + 1).toInt());
            if (index != tree.gLastNodeIndex || tree.gReloadPLUList == 1) {
                gPluEditor().gCurPLURow = 0;
                plu::LoadPLUList(this, *listKind, tree.gCurStoreNo, tree.gCurDeptNo, tree.gCurMGNo);
                tree.gLastNodeIndex = index;
                tree.gReloadPLUList = 0;
            }
        }
    }
    if (parsed.kind == NodeKind::Scale)
        tree.gCurScaleIP = n.scaleIP; // the address as stored, its blanks included

    if (mTreeMouseButton == 2) {
        mTreeMouseButton = 1;
        ui::popupMenu(this, QStringLiteral("popmenu"))->popup(m_popupAt);
    }
}

void frmMain::setMenuStates(const QString& key, const QTreeWidgetItem* node)
{
    const bool dataView = gStoreTree().gTreeViewMode == 0;
    const NodeKey parsed = parseNodeKey(key);
    const auto enable = [this](const char* name, bool on) { m_menu[QLatin1String(name)]->setEnabled(on); };
    const auto show = [this](const char* name, bool on) { m_menu[QLatin1String(name)]->setVisible(on); };

    // Tools by view.
    for (const char* name : {"menuExportReport", "menuResetReport", "menuScrollMSG", "menuEditOtherFiles"})
        enable(name, dataView);
    enable("menuEditFlexiBarcode", dataView);
    enable("menuEditPresetKey", !dataView && parsed.kind == NodeKind::Scale);
    if (!dataView)
        enable("menuImportOrExport", false);

    // New nodes and the data view; a node of no row keeps what the last one set.
    for (const Offer& offer : kOffers) {
        if (offer.kind != parsed.kind || (offer.view >= 0 && offer.view != (dataView ? 0 : 1)))
            continue;
        for (int i = 0; i < int(std::size(kNewEntries)); ++i) {
            const bool offered = offer.create & (1u << i);
            enable(kNewEntries[i].menu, offered);
            show(kNewEntries[i].popup, offered);
        }
        cmdData->setEnabled(offer.dataView);
        show("popmenuProperties", parsed.kind != NodeKind::Root);
        break;
    }

    // Delete and Properties. Only a node without children can go; never department 97, main group 997 or the
    // store of one-store mode, nor the root, which has no properties either.
    bool deletable = node->childCount() == 0;
    if ((parsed.kind == NodeKind::Department && parsed.numbers.deptOrSearchNo == 97)
        || (parsed.kind == NodeKind::MainGroup && parsed.numbers.mgNo == 997))
        deletable = false;
    if (parsed.kind == NodeKind::Store && !isSeveralStoreMode())
        deletable = false;
    if (parsed.kind == NodeKind::Root)
        deletable = false;
    enable("menuProperties", parsed.kind != NodeKind::Root);
    enable("menuDelete", deletable);
    show("popmenuDelete", deletable);

    // Sends of the data view.
    const bool sendDepartments = dataView && parsed.kind == NodeKind::Department;
    const bool sendMainGroups = dataView && parsed.kind == NodeKind::MainGroup;
    enable("menuDownloadDept", sendDepartments);
    show("popmenuDownloadDept", sendDepartments);
    enable("menuDownloadMG", sendMainGroups);
    show("popmenuDownloadMG", sendMainGroups);
}

} // namespace quorvane
