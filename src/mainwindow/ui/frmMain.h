#pragma once

#include "mainwindow/NodeKeys.h"
#include "mainwindow/StoreTree.h"
#include "mainwindow/ui/ResizeForm.h"
#include "platform/ui/ControlTable.h"
#include "platform/ui/MenuTable.h"
#include "plu/ui/PluWindow.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPoint>

#include <functional>

class QAction;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorvane {

namespace ui {
class PictureBox;
}

// The main window: the store tree on the left; on the right the picture panel (store view) or the PLU grid with the
// PLU editor's tab strip (data view); the menus and the tree's pop-up menu. There is one, held by the window opener
// (ui::windows()); closing it asks the start-up's wiring to end the program.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The window's rows: its own, then the PLU editor's (see frmMainControls.cpp).
    static const ui::ControlTable kControls;
    static const ui::MenuTable kMenus;

    // The main window: the loaded one, else a new one (loaded: its tree filled, and on an empty database the first
    // store made), registered with the opener.
    static frmMain* form();
    static bool isLoaded();
    // Closes and deletes the window without asking anything (the shutdown has run).
    static void unload();

    // Shows the window without waiting; when it is shown already, brings it to the front.
    void Show();

    // Rebuilds the tree of the current view from the database when gTreeFilled is 0 (a dialog opened here has
    // changed what it shows) and selects the remembered node again. Runs when the window becomes active or is
    // shown again; whoever opens a modal dialog here calls it when the dialog has returned.
    void Form_Activate();

    // The selection procedure of the tree, for the node the tree has selected: the save question, the menus for
    // the node, the current numbers, the node's PLU list, the pop-up menu after a right-button press.
    void treeStoreAndData_NodeClick();

    // The tree, as the node commands work on it. Keys are the node keys of NodeKeys.h.
    QString selectedNodeKey() const;
    // Adds a node under the parent's node (an empty parentKey: at the top), with its image in the view's image list;
    // false when the parent is missing or the key is taken.
    bool addNode(const QString& parentKey, const QString& key, const QString& text, int image);
    // Removes the node with everything below it.
    void removeNode(const QString& key);
    // Selects the node without running the selection procedure; false when no node has the key.
    bool selectNode(const QString& key);

    // Switches the interface language (0 Standard, 1 Chinese, 2 Other): every text collection reloaded, the main
    // window and its PLU editor captioned again; the tree stays as it is.
    void ChangeLanguage(qint16 index);

    // The help file of the language in use, in the program folder.
    static QString helpFilePath(qint16 languageIndex);
    // How a help file is opened; false when it could not be. The desktop's viewer unless a test sets another.
    using HelpViewer = std::function<bool(const QString& path)>;
    static void setHelpViewer(HelpViewer viewer);

    // Handlers. Buttons:
    void cmdStore_Click();
    void cmdData_Click();
    // Menus:
    void menuDownload_Click();
    void menuUpload_Click();
    void menuDeletePlu_Click();
    void menuDataFormat_Click();
    void menuSoftwareVersion_Click();
    void menuExit_Click();
    void menuLanguage_Click();
    void menuEnglish_Click();
    void menuChinese_Click();
    void menuOther_Click();
    void menuSoftwareHelp_Click();
    void menuLanguageTranslate_Click();
    void menuEditFlexiBarcode_Click();
    void menuEditPresetKey_Click();
    void menuImportOrExport_Click();
    void menuExportReport_Click();
    void menuResetReport_Click();
    void menuScrollMSG_Click();
    void menuEditOtherFiles_Click();
    // The pop-up entries run their menu entry's handler.
    void popmenuNewStore_Click() { menuStore_Click(); }
    void popmenuNewSection_Click() { menuSection_Click(); }
    void popmenuNewMachine_Click() { menuMachine_Click(); }
    void popmenuNewDept_Click() { menuDept_Click(); }
    void popmenuNewMG_Click() { menuMg_Click(); }
    void popmenuNewSearch_Click() { menuSearch_Click(); }
    void popmenuDownloadDept_Click() { menuDownloadDept_Click(); }
    void popmenuDownloadMG_Click() { menuDownloadMG_Click(); }
    void popmenuProperties_Click() { menuProperties_Click(); }
    void popmenuDelete_Click() { menuDelete_Click(); }

    // The node commands (frmMainNodes.cpp), each acting only where node selection offers it for the selected node:
    // a new node under the selected one, opened in its property dialog as a provisional node of the tree (Cancel
    // takes it out again and remembers its parent); the properties of the selected node; its deletion after a
    // question; the sends of the selected store's departments and main groups.
    void menuStore_Click();
    void menuSection_Click();
    void menuMachine_Click();
    void menuDept_Click();
    void menuMg_Click();
    void menuSearch_Click();
    void menuProperties_Click();
    void menuDelete_Click();
    void menuDownloadDept_Click();
    void menuDownloadMG_Click();
    // A property dialog's Cancel of a new node: its provisional node goes, and its parent is the node to select.
    void dropNewNode(NodeKind kind);

    // The PLU list and editor: the rows of the PLU panel (plu/ui/PluPanel.h), captioned from their own language
    // section (kPluEditor); they join the window's rows uncaptioned. Their handlers are src/plu/ui's, taking the
    // window.
    static const ui::ControlTable kPluEditor;

private:
    plu::PluWindow* m_pluWindow = new plu::PluWindow(this, kPluEditor);

signals:
    // The operator closed the window and did not keep the edited PLU from it. The window stays until unload(),
    // which whoever ends the program calls; with nothing connected it closes at once.
    void unloadRequested();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    frmMain();
    static QList<ui::Control> windowControls();

    void Form_Load();
    void Form_Resize();
    void activated();            // Form_Activate, once no command runs
    bool InitMainFormCaptions(); // false when the tree could not be read
    void setMainCaptions();
    void checkLanguage(qint16 index);
    QList<QPushButton*> mainButtons() const; // the 19 of the button table
    void treeStoreAndData_Collapse(QTreeWidgetItem* node);
    void treeStoreAndData_MouseDown(Qt::MouseButton button);
    void prepareFirstStore();
    // The node commands' own steps (frmMainNodes.cpp).
    bool offered(const char* entry) const;
    void newNode(NodeKind kind, const char* entry);
    void openPropertiesDialog(NodeKind kind);
    void sendStoreGroups(const char* entry, const char* table);
    void openTool(const char* entry);
    void switchLanguage(qint16 index);

    // Empties the tree and fills it with a view's nodes, naming the rows it had to leave out; false when the
    // database failed (the tree is then empty).
    bool fillTree(const std::function<TreeViewNodes()>& load);
    // Every node expanded, the node with the key selected (the first node when none has it), the tree focused.
    void reselect(const QString& key);
    QTreeWidgetItem* nodeOf(const QString& key) const;
    void setMenuStates(const QString& key, const QTreeWidgetItem* node);

    QTreeWidget* treeStoreAndData = nullptr;
    ui::PictureBox* picMain = nullptr;
    QPushButton* cmdStore = nullptr;
    QPushButton* cmdData = nullptr;
    QPushButton* cmdDisplay = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdClearAll = nullptr;
    QPushButton* cmdSendAll = nullptr;
    QPushButton* cmdUpload = nullptr;
    QPushButton* cmdDel = nullptr;
    QPushButton* cmdDelAll = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdDlelte = nullptr;
    QPushButton* cmdReflesh = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdDownload = nullptr;

    QHash<QString, QAction*> m_menu; // every entry of kMenus by name

    MdlResizeForm m_resizer;
    bool mResizeReady = false;
    qint16 mTreeMouseButton = 1; // 2 after a right-button press on a node
    QPoint m_popupAt;
    QString m_helpFile;

    QList<QIcon> ImageListStore; // root, store, section, scale
    QList<QIcon> ImageListData;  // store, department, main group
    const QList<QIcon>* m_images = &ImageListStore;
    QHash<QString, QTreeWidgetItem*> m_nodes; // by key
    int m_nodesAdded = 0;                     // a node's index is its place in adding order, from 1
    QString m_selectedKey;                    // the node the menus and numbers belong to
    int m_settingTree = 0;                    // the program changes the tree: no selection procedure runs
    bool m_selectionRan = false;              // during one press of the mouse
    bool m_forwardingPress = false;           // the view itself handles a press the window has looked at
    bool m_leaveAsked = false;                // menuExit asked the save question already
    bool m_unloaded = false;
};

} // namespace quorvane
