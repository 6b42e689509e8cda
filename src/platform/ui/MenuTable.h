#pragma once

#include "platform/ui/Handler.h"

#include <QList>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace quorvane::ui {

// A window's menus as data, one row per entry, in menu order:
//
//   const ui::MenuTable frmMain::kMenus{"frmMain_Menu", {
//       ui::menu("menuFile"),
//       ui::menu("menuNew", "menuFile"),
//       ui::menu("menuStore", "menuNew").on(&frmMain::menuStore_Click),
//       ui::separator("menuFile"),
//       ui::menu("menuExit", "menuFile").on(&frmMain::menuExit_Click),
//       ui::menu("menuLanguage", "menuSetting").on(&frmMain::menuLanguage_Click),
//       ui::menu("menuOther", "menuLanguage").caption("menuOthers").checkable().on(&frmMain::menuOther_Click),
//       ui::menu("menuSoftwareHelp", "menuHelp").shortcut("F1").on(&frmMain::menuSoftwareHelp_Click),
//       ui::menu("popmenu").popup(),
//       ui::menu("popmenuProperties", "popmenu").on(&frmMain::popmenuProperties_Click),
//   }};
//
// An entry with entries under it opens a menu; one without is a command. Entries are QActions named by the
// row (a menu's QMenu carries the name too), found with menuEntry() and popupMenu().
class MenuEntry {
public:
    MenuEntry(const char* objectName, const char* parent);

    // Runs when the operator chooses the entry (or its shortcut); for an entry that opens a menu, when the menu
    // opens. The handler alone sets a checkable entry's mark.
    MenuEntry& on(Handler handler);
    // A key sequence as Qt writes it: "Ctrl+N", "F1".
    MenuEntry& shortcut(const char* keys);
    // The caption's key when it is not the entry's own name; nullptr: no caption from the language file.
    MenuEntry& caption(const char* key);
    // The entry carries a check mark.
    MenuEntry& checkable();
    // A top-level menu opened only as a pop-up menu, not on the menu bar.
    MenuEntry& popup();
    MenuEntry& separator();

    QString objectName() const { return m_name; }
    QString parentName() const { return m_parent; }
    QString captionKey() const { return m_caption; }
    QString shortcutKeys() const { return m_shortcut; }
    const Handler& handler() const { return m_handler; }
    bool isCheckable() const { return m_checkable; }
    bool isPopup() const { return m_popup; }
    bool isSeparator() const { return m_separator; }

private:
    QString m_name;
    QString m_parent;
    QString m_caption;
    QString m_shortcut;
    Handler m_handler;
    bool m_checkable = false;
    bool m_popup = false;
    bool m_separator = false;
};

inline MenuEntry menu(const char* objectName, const char* parent = nullptr) { return {objectName, parent}; }
// A dividing line in the menu `parent`.
inline MenuEntry separator(const char* parent, const char* objectName = "")
{
    return MenuEntry(objectName, parent).caption(nullptr).separator();
}

struct MenuTable {
    const char* section = nullptr; // the language section of the caption keys ("frmMain_Menu")
    QList<MenuEntry> entries;      // a menu before the entries under it
};

// Builds the window's menu bar and pop-up menus and connects their handlers. Call it before createControls().
void createMenus(QMainWindow* window, const MenuTable& table);

// Sets the caption of every entry that has a key from a language collection: setCaptions(this, kMenus,
// gLangMainMenu) (the template in Handler.h).
void setCaptions(QWidget* window, const MenuTable& table, const TextOf& textOf);

// The entry of that name (a menu's own entry for a menu), or nullptr.
QAction* menuEntry(const QWidget* window, const QString& objectName);
// The menu of that name, to open as a pop-up menu (exec or popup at the mouse), or nullptr.
QMenu* popupMenu(const QWidget* window, const QString& objectName);

} // namespace quorvane::ui
