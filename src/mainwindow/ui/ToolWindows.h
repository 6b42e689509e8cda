#pragma once

#include "platform/ui/WindowOpener.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane {

// The windows of the main window's Tool menu. Each entry opens its window through the opener, titled with the
// entry's caption and modeless, while the main window hides until it closes:
//     template<class W> void openToolWindow(const QString& caption) { ui::windows().openTool<W>(caption); }
// A window joins by naming its opener in the table of ToolWindows.cpp:
//     {"menuScrollMSG", &openToolWindow<frmScrollMSG>},
// An entry whose window is not written yet opens nothing.
using ToolOpener = std::function<void(const QString& caption)>;

template<class W> void openToolWindow(const QString& caption) { ui::windows().openTool<W>(caption); }

// The opener of a Tool menu entry ("menuScrollMSG"); empty when the entry has no window.
ToolOpener toolWindowOpener(const QString& entry);

// Every entry of the Tool menu's table, in its order, those without a window too.
QStringList toolWindowEntries();

// Tests stand a window of their own in for an entry's; an empty opener gives the table's back.
void setToolWindowOpener(const QString& entry, ToolOpener opener);

} // namespace quorvane
