#include "mainwindow/ui/frmMain.h"

#include "mainwindow/NodeKeys.h"
#include "mainwindow/ui/frmProperties.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/Widgets.h"
#include "platform/ui/WindowOpener.h"
#include "plu/ui/PluButtons.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluEditorPages.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluPanel.h"
#include "plu/ui/PluWindowHost.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/ProgramState.h"
#include "transfer/TransferRequest.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace quorvane {

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int IndexRole = Qt::UserRole + 1;

// The program changes the tree: its signals are not the operator's selection.
class TreeChange {
public:
    explicit TreeChange(int& depth) : m_depth(depth) { ++m_depth; }
    ~TreeChange() { --m_depth; }
    TreeChange(const TreeChange&) = delete;
    TreeChange& operator=(const TreeChange&) = delete;

private:
    int& m_depth;
};

QString keyOf(const QTreeWidgetItem* item) { return item ? item->data(0, KeyRole).toString() : QString(); }

// A node of the tree. Its key, index and image are members the item's data reads, not roles of its own: a view of a
// thousand nodes is then built and freed with half the allocations, which the switch between the views waited for.
class NodeItem : public QTreeWidgetItem {
public:
    NodeItem(const QString& text, const QString& key, int index, const QIcon& image)
        : m_key(key)
        , m_index(index)
        , m_image(image)
    {
        setText(0, text);
    }

    QVariant data(int column, int role) const override
    {
        if (column == 0) {
            switch (role) {
            case KeyRole:
                return m_key;
            case IndexRole:
                return m_index;
            case Qt::DecorationRole:
                return m_image;
            }
        }
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant& value) override
    {
        if (column != 0 || (role != KeyRole && role != IndexRole && role != Qt::DecorationRole)) {
            QTreeWidgetItem::setData(column, role, value);
            return;
        }
        if (role == KeyRole)
            m_key = value.toString();
        else if (role == IndexRole)
            m_index = value.toInt();
        else
            m_image = value.value<QIcon>();
        emitDataChanged();
    }

private:
    QString m_key;
    int m_index;
    QIcon m_image;
};

// The tree's images, drawn: a house for the root and the stores, a section's folder, a scale, a department's tray
// and a main group's box.
enum class Picture { Root, Store, Section, Scale, Department, MainGroup };

QIcon drawIcon(Picture picture)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    switch (picture) {
    case Picture::Root:
    case Picture::Store: {
        QPainterPath roof;
        roof.moveTo(1.5, 7.5);
        roof.lineTo(8, 1.5);
        roof.lineTo(14.5, 7.5);
        roof.closeSubpath();
        p.setBrush(picture == Picture::Root ? QColor(70, 110, 190) : QColor(200, 80, 60));
        p.drawPath(roof);
        p.setBrush(QColor(240, 220, 170));
        p.drawRect(QRectF(3.5, 7.5, 9, 7));
        p.setBrush(QColor(120, 80, 40));
        p.drawRect(QRectF(6.5, 10.5, 3, 4));
        break;
    }
    case Picture::Section:
    case Picture::Department: // a folder, green or yellow
        p.setBrush(picture == Picture::Section ? QColor(90, 160, 90) : QColor(235, 190, 60));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 2.5, 6, 2));
        break;
    case Picture::Scale:
        p.setBrush(QColor(170, 170, 180));
        p.drawRect(QRectF(2.5, 9.5, 11, 5));
        p.drawRect(QRectF(4.5, 2.5, 7, 5));
        p.drawLine(QPointF(8, 7.5), QPointF(8, 9.5));
        p.setBrush(QColor(40, 200, 120));
        p.drawRect(QRectF(5.5, 3.5, 5, 2));
        break;
    case Picture::MainGroup:
        p.setBrush(QColor(80, 140, 210));
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
        p.drawLine(QPointF(3.5, 6.5), QPointF(12.5, 6.5));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

frmMain* frmMain::form()
{
    if (auto* window = ui::windows().mainWindow<frmMain>())
        return window;
    auto* window = new frmMain;
    ui::windows().setMainWindow(window);
    window->Form_Load();
    return window;
}

bool frmMain::isLoaded() { return ui::windows().mainWindow<frmMain>() != nullptr; }

void frmMain::unload()
{
    frmMain* window = ui::windows().mainWindow<frmMain>();
    if (!window)
        return;
    window->m_unloaded = true;
    window->close();
}

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    ui::createMenus(this, kMenus);
    ui::createControls(this, kControls);
    for (const ui::MenuEntry& e : kMenus.entries)
        if (!e.isSeparator())
            m_menu.insert(e.objectName(), ui::menuEntry(this, e.objectName()));

    ImageListStore = {drawIcon(Picture::Root), drawIcon(Picture::Store), drawIcon(Picture::Section),
                      drawIcon(Picture::Scale)};
    ImageListData = {drawIcon(Picture::Store), drawIcon(Picture::Department), drawIcon(Picture::MainGroup)};

    // The selection procedure runs for every node the operator selects, by mouse or by keys, and for a click on the
    // node that is selected already; never for what the program does to the tree.
    treeStoreAndData->setUniformRowHeights(true); // every node is one line: the view lays out a large store at once
    treeStoreAndData->viewport()->installEventFilter(this);
    connect(treeStoreAndData, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (m_settingTree || !current)
            return;
        m_selectionRan = true;
        const ui::HandlerRun run(this);
        treeStoreAndData_NodeClick();
    });
    connect(treeStoreAndData, &QTreeWidget::itemClicked, this, [this] {
        if (m_settingTree || m_selectionRan)
            return;
        const ui::HandlerRun run(this);
        treeStoreAndData_NodeClick();
    });
    connect(treeStoreAndData, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        if (m_settingTree)
            return;
        const ui::HandlerRun run(this);
        treeStoreAndData_Collapse(node);
    });
    centralWidget()->installEventFilter(this);

    ui::setupFlexGrid(plu::pluPanel(this).MSHFlexGridPLU,
                      {{QString(), 300},
                       {QString(), 900},
                       {QString(), 1300},
                       {QString(), 1700},
                       {QString(), 4100},
                       {QString(), 1400},
                       {QString(), 900}},
                      1);
    picMain->setAlignment(Qt::AlignCenter);
    picMain->setFrameShape(QFrame::StyledPanel);
    picMain->setPainter([this](QPainter& p) {
        QFont font = p.font();
        font.setPointSizeF(font.pointSizeF() * 3);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(180, 185, 195));
        p.drawText(picMain->rect(), Qt::AlignCenter, QStringLiteral("Quorvane"));
    });
}

void frmMain::Show()
{
    show();
    raise();
    activateWindow();
}

void frmMain::Form_Load()
{
    StoreTreeState& tree = gStoreTree();
    PluEditorState& editor = gPluEditor();
    mResizeReady = false;
    editor.gCurPLUTab = PluEditorPage::Basic;
    picMain->show();
    tree.gTreeFilled = 1;
    editor.gCurPLURow = 0;
    m_helpFile = helpFilePath(gSettings().gLanguageIndex);
    m_resizer.ResizeInit(this);
    const bool loaded = InitMainFormCaptions();
    // The menu bar is as high as its captions make it: the client area keeps its design size below it.
    const QSize design = ui::designSize(this);
    resize(ui::twipsToPixels(design.width()), ui::twipsToPixels(design.height()) + menuWidget()->sizeHint().height());
    ui::centreOnScreen(this);
    tree.gTreeViewMode = 1;
    {
        TreeChange change(m_settingTree);
        treeStoreAndData->expandAll();
    }
    // Only a database that holds no store has an empty tree: in store mode 1 the root is always there. A store
    // dump the start-up could not apply whole is no empty database: a first store would replace its stores.
    if (loaded && treeStoreAndData->topLevelItemCount() == 0
        && !programState().tablesNotApplied.contains(QLatin1String("STORE")))
        prepareFirstStore();
    else
        tree.gFirstStoreDone = 1;
    if (QTreeWidgetItem* first = treeStoreAndData->topLevelItem(0)) {
        selectNode(keyOf(first));
        treeStoreAndData_NodeClick();
    }
    editor.gPLUChanged = 0;
    editor.gHideSelectedCol = 0;
}

void frmMain::prepareFirstStore()
{
    StoreTreeState& tree = gStoreTree();
    const NodeNumbers store{.storeNo = 1};
    const QString key = nodeKey(NodeKind::Store, store);
    addNode(QString(), key, QStringLiteral("STORE"), 2);
    setCurrentSelection(store);
    tree.gStoreRec = {.ST_No = 1, .ST_Name = m_menu[QStringLiteral("menuStore")]->text() + QLatin1Char('1')};
    tree.gPropMode = 0;
    tree.gStoreViewKey = key;
    tree.gDeptRec = {.DP_No = 97,
                     .DP_Name = m_menu[QStringLiteral("menuDept")]->text() + QStringLiteral("97"),
                     .barformat = 255,
                     .ST_No = 1};
    tree.gMGRec = {.MG_No = 997,
                   .MG_Name = m_menu[QStringLiteral("menuMg")]->text() + QStringLiteral("997"),
                   .barformat = 255,
                   .ST_No = 1,
                   .DP_No = 97};
    tree.gPropertyNodeKind = qint16(NodeKind::Store);
    frmProperties dialog;
    dialog.setWindowTitle(gLangProperties.text(QStringLiteral("labtitleStore")) + QLatin1Char(' ')
                          + gLangProperties.text(QStringLiteral("properties")));
    dialog.exec();
    Form_Activate();
}

bool frmMain::InitMainFormCaptions()
{
    setWindowTitle(QStringLiteral("Quorvane"));
    setMainCaptions();
    for (const char* name : {"popmenuNewSection", "popmenuProperties"})
        m_menu[QLatin1String(name)]->setVisible(true);
    for (const char* name : {"popmenuNewMachine", "popmenuNewDept", "popmenuNewMG", "popmenuDelete"})
        m_menu[QLatin1String(name)]->setVisible(false);
    checkLanguage(gSettings().gLanguageIndex);
    gStoreTree().gTreeViewMode = 1;
    m_images = &ImageListStore;
    const bool loaded = fillTree(LoadStoreView);
    plu::ApplyPLUEditorCaptions(this);
    m_menu[QStringLiteral("menuSection")]->setEnabled(true);
    for (const char* name :
         {"menuMachine", "menuDept", "menuMg", "menuDelete", "menuDownload", "menuUpload", "menuDeletePlu"})
        m_menu[QLatin1String(name)]->setEnabled(false);
    for (QPushButton* button : mainButtons())
        button->setEnabled(false);
    plu::pluPanel(this).MSHFlexGridPLU->hide();
    plu::pluPanel(this).SSTabPLU->hide();
    return loaded;
}

QList<QPushButton*> frmMain::mainButtons() const
{
    return {cmdStore,  cmdData, cmdDisplay,  cmdEdit,   cmdSelectAll, cmdClearAll, cmdSendAll,
            cmdUpload, cmdDel,  cmdNew,      cmdUpdate, cmdDlelte,    cmdReflesh,  cmdCancel,
            cmdUp,     cmdDown, cmdDownload, cmdCopy,   cmdDelAll};
}

void frmMain::setMainCaptions()
{
    ui::setCaptions(this, kControls, gLangMainCmd);
    ui::setCaptions(this, kMenus, gLangMainMenu);
    const plu::PluPanel& panel = plu::pluPanel(this);
    panel.MSHFlexGridPLU->setHorizontalHeaderLabels(
        {QString(), gLangMainGrid.text(QStringLiteral("MainGrdNo")), gLangMainGrid.text(QStringLiteral("MainGrdPLU")),
         gLangMainGrid.text(QStringLiteral("MainGrdItem")), gLangMainGrid.text(QStringLiteral("MainGrdName")),
         gLangMainGrid.text(QStringLiteral("MainGrdUP")), gLangMainGrid.text(QStringLiteral("MainGrdSelected"))});
    panel.SSTabPLU->setTabText(0, gLangMainTab.text(QStringLiteral("MainTab0")));
    panel.SSTabPLU->setTabText(1, gLangMainTab.text(QStringLiteral("MainTab1")));
    panel.SSTabPLU->setTabText(2, gLangMainTab.text(QStringLiteral("MainTab2")));
}

void frmMain::Form_Activate()
{
    StoreTreeState& tree = gStoreTree();
    // An activation that reaches the window under its own modal dialog would rebuild before the dialog saved, and
    // the rebuild after it would then find nothing to do. Once the exit has begun the database is being dumped or
    // is closed.
    if (tree.gTreeFilled != 0 || QApplication::activeModalWidget() || ui::windows().exiting())
        return;
    tree.gTreeFilled = 1;
    if (tree.gTreeViewMode == 1) {
        fillTree(LoadStoreView);
        reselect(tree.gStoreViewKey);
    } else {
        const QTreeWidgetItem* top = treeStoreAndData->topLevelItem(0);
        const QString key = keyOf(top);
        QString text = top ? top->text(0) : QString();
        // The name the store dialog has just saved; only for the store shown, whatever the dialog edited last.
        if (tree.gPropertyNodeKind == qint16(NodeKind::Store)
            && tree.gStoreRec.ST_No == parseNodeKey(key).numbers.storeNo)
            text = tree.gStoreRec.ST_Name;
        clearCurrentSelection();
        m_images = &ImageListData;
        fillTree([&] { return key.isEmpty() ? TreeViewNodes() : LoadDataView(key, text); });
        reselect(tree.gDataViewKey);
    }
    if (treeStoreAndData->topLevelItemCount() > 0)
        treeStoreAndData_NodeClick();
}

void frmMain::cmdStore_Click()
{
    if (plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled)
        return;
    StoreTreeState& tree = gStoreTree();
    gPluEditor().gHideSelectedCol = 0;
    tree.gLastNodeIndex = 0;
    tree.gTreeViewMode = 1;
    m_images = &ImageListStore;
    fillTree(LoadStoreView);
    reselect(tree.gStoreViewKey);
    m_menu[QStringLiteral("menuSection")]->setEnabled(true);
    for (const char* name : {"menuMachine", "menuDept", "menuMg", "menuSearch", "menuDelete", "menuUpload",
                             "menuDeletePlu", "menuDownload"})
        m_menu[QLatin1String(name)]->setEnabled(false);
    for (QPushButton* button : mainButtons())
        button->setEnabled(false);
    picMain->show();
    treeStoreAndData_NodeClick();
    m_menu[QStringLiteral("menuImportOrExport")]->setEnabled(false);
    const plu::PluPanel& panel = plu::pluPanel(this);
    panel.MSHFlexGridPLU->hide();
    panel.SSTabPLU->hide();
    for (QFrame* frame : panel.frameTAB.elements())
        frame->hide();
}

void frmMain::cmdData_Click()
{
    StoreTreeState& tree = gStoreTree();
    gPluEditor().gCurPLUTab = PluEditorPage::Basic;
    const plu::PluPanel& panel = plu::pluPanel(this);
    panel.SSTabPLU->setCurrentIndex(0);
    panel.frameTAB(1)->show();
    plu::ShowTabFrame(this, PluEditorPage::Basic);
    const QTreeWidgetItem* selected = treeStoreAndData->currentItem();
    const QString key = keyOf(selected);
    const QString text = selected ? selected->text(0) : QString();
    tree.gTreeViewMode = 0;
    clearCurrentSelection();
    m_images = &ImageListData;
    fillTree([&] { return LoadDataView(key, text); });
    reselect(tree.gDataViewKey);
    for (const char* name : {"menuStore", "menuSection", "menuMachine", "menuMg", "menuDelete"})
        m_menu[QLatin1String(name)]->setEnabled(false);
    m_menu[QStringLiteral("menuDept")]->setEnabled(true);
    m_menu[QStringLiteral("menuSearch")]->setEnabled(true);
    cmdStore->setEnabled(true);
    cmdData->setEnabled(false);
    panel.MSHFlexGridPLU->show();
    panel.SSTabPLU->show();
    plu::SetEditModeButtons(this);
    picMain->hide();
    treeStoreAndData_NodeClick();
    m_menu[QStringLiteral("menuImportOrExport")]->setEnabled(true);
}

void frmMain::Form_Resize()
{
    if (mResizeReady)
        m_resizer.ResizeForm(this);
    plu::SetPLUGridColumnWidths(this);
    mResizeReady = true; // the resize of the first showing only arms
}

bool frmMain::fillTree(const std::function<TreeViewNodes()>& load)
{
    TreeViewNodes view;
    const bool loaded = ui::tryStep([&] { view = load(); }, langMsg(QStringLiteral("dbReadErr")), this);
    {
        TreeChange change(m_settingTree);
        treeStoreAndData->clear();
        m_nodes.clear();
        m_nodes.reserve(view.nodes.size());
        m_nodesAdded = 0;
        // Built apart from the tree, then handed to it in one step.
        QList<QTreeWidgetItem*> top;
        for (const TreeNode& n : std::as_const(view.nodes)) {
            auto* item = new NodeItem(n.text, n.key, ++m_nodesAdded, m_images->value(n.image - 1));
            if (n.parentKey.isEmpty())
                top << item;
            else
                m_nodes.value(n.parentKey)->addChild(item);
            m_nodes.insert(n.key, item);
        }
        treeStoreAndData->addTopLevelItems(top);
    }
    if (!view.skipped.isEmpty()) {
        QStringList lines;
        for (const SkippedNode& s : std::as_const(view.skipped))
            lines << s.node.key + QStringLiteral(" (") + s.node.text + QStringLiteral("): ")
                    + (s.reason == SkippedNode::MissingParent ? gLangMsg.text(QStringLiteral("treeNoParent"))
                                                              : gLangMsg.text(QStringLiteral("treeTwice")));
        ui::msgBox(langMsg(QStringLiteral("treeSkipped"), lines.join(QLatin1Char('\n'))), ui::MsgIcon::Exclamation,
                   ui::MsgButtons::Ok, this);
    }
    return loaded;
}

void frmMain::reselect(const QString& key)
{
    TreeChange change(m_settingTree);
    treeStoreAndData->setFocus();
    treeStoreAndData->expandAll();
    QTreeWidgetItem* node = nodeOf(key);
    treeStoreAndData->setCurrentItem(node ? node : treeStoreAndData->topLevelItem(0));
}

QTreeWidgetItem* frmMain::nodeOf(const QString& key) const { return key.isEmpty() ? nullptr : m_nodes.value(key); }

QString frmMain::selectedNodeKey() const { return keyOf(treeStoreAndData->currentItem()); }

bool frmMain::addNode(const QString& parentKey, const QString& key, const QString& text, int image)
{
    QTreeWidgetItem* parent = nodeOf(parentKey);
    if (key.isEmpty() || m_nodes.contains(key) || (!parentKey.isEmpty() && !parent))
        return false;
    TreeChange change(m_settingTree);
    auto* item = new NodeItem(text, key, ++m_nodesAdded, m_images->value(image - 1));
    if (parent)
        parent->addChild(item);
    else
        treeStoreAndData->addTopLevelItem(item);
    m_nodes.insert(key, item);
    return true;
}

void frmMain::removeNode(const QString& key)
{
    QTreeWidgetItem* node = nodeOf(key);
    if (!node)
        return;
    TreeChange change(m_settingTree);
    QList<QTreeWidgetItem*> below{node};
    for (qsizetype i = 0; i < below.size(); ++i) {
        m_nodes.remove(keyOf(below[i]));
        for (int c = 0; c < below[i]->childCount(); ++c)
            below << below[i]->child(c);
    }
    delete node;
}

bool frmMain::selectNode(const QString& key)
{
    QTreeWidgetItem* node = nodeOf(key);
    if (!node)
        return false;
    TreeChange change(m_settingTree);
    treeStoreAndData->setCurrentItem(node);
    return true;
}

bool frmMain::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QMainWindow::event(event);
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    activated(); // shown again after a tool window
}

void frmMain::activated()
{
    // Activated while a command pumps events or waits in its dialog: the command calls Form_Activate itself when
    // its dialog has returned, and a rebuild now would run under it.
    // An activation that waited while a tool window opened is stale once this window has hidden: the tool window's
    // closing shows it again, and that activates it.
    ui::whenNoHandlerRuns(this, [this] {
        if (!isVisible())
            return;
        const ui::HandlerRun run(this);
        Form_Activate();
    });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        Form_Resize();
    } else if (watched == treeStoreAndData->viewport() && event->type() == QEvent::MouseButtonPress
               && !m_forwardingPress) {
        const ui::HandlerRun run(this);
        auto* press = static_cast<QMouseEvent*>(event);
        treeStoreAndData_MouseDown(press->button());
        m_selectionRan = false;
        if (press->button() == Qt::RightButton) {
            // The right button selects the node under the mouse and opens the pop-up menu for it.
            if (QTreeWidgetItem* node = treeStoreAndData->itemAt(press->position().toPoint())) {
                m_popupAt = press->globalPosition().toPoint();
                selectNode(keyOf(node));
                treeStoreAndData_NodeClick();
            }
            mTreeMouseButton = 1;
            return true;
        }
        // The view highlights the pressed node once the selection procedure has run: when the save question was
        // cancelled there, the node the menus and numbers belong to is highlighted again.
        const QPointer<frmMain> alive(this);
        m_forwardingPress = true;
        QCoreApplication::sendEvent(watched, press);
        if (!alive)
            return true;
        m_forwardingPress = false;
        QTreeWidgetItem* current = treeStoreAndData->currentItem();
        if (current && treeStoreAndData->selectedItems() != QList<QTreeWidgetItem*>{current})
            selectNode(keyOf(current));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::treeStoreAndData_MouseDown(Qt::MouseButton button)
{
    mTreeMouseButton = button == Qt::RightButton ? 2 : 1;
}

void frmMain::treeStoreAndData_Collapse(QTreeWidgetItem* node)
{
    // A collapse that hides the selected node selects the collapsed one: the menus never belong to a hidden node.
    bool hidesSelected = false;
    for (const QTreeWidgetItem* up = treeStoreAndData->currentItem(); up && !hidesSelected; up = up->parent())
        hidesSelected = up->parent() == node;
    if (hidesSelected)
        selectNode(keyOf(node));
    treeStoreAndData_NodeClick();
    // A cancelled save question keeps the hidden node selected, so it is shown again.
    if (hidesSelected && treeStoreAndData->currentItem() != node) {
        TreeChange change(m_settingTree);
        node->setExpanded(true);
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!m_unloaded) {
        // While the shutdown writes the dumps the window stays, and nothing more is asked.
        if (programState().shutdownRunning) {
            event->ignore();
            return;
        }
        const bool asked = std::exchange(m_leaveAsked, false);
        if (!asked && plu::AskSavePLUChanges(this) == SaveAnswer::Cancelled) {
            event->ignore();
            return;
        }
        if (isSignalConnected(QMetaMethod::fromSignal(&frmMain::unloadRequested)))
            emit unloadRequested(); // the program's end, which calls unload() when it is done
        else
            m_unloaded = true;
    }
    // A close from inside the program's end (unload() while this event runs) is this same event.
    event->setAccepted(m_unloaded);
}

} // namespace quorvane
