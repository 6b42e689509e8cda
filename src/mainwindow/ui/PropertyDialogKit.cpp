#include "mainwindow/ui/PropertyDialogKit.h"

#include "mainwindow/NodeDialogRules.h"
#include "mainwindow/ui/frmMain.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WindowOpener.h"
#include "settings/ui/LangMsg.h"
#include "state/ProgramState.h"
#include "state/StoreTreeState.h"

#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPointer>
#include <QTimer>

namespace quorvane {

namespace {

class FocusWatch : public QObject {
public:
    FocusWatch(QWidget* control, std::function<void()> handler) : QObject(control), m_handler(std::move(handler))
    {
        control->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && m_handler)
            m_handler();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
};

// The message of a refusal.
ui::MsgText refusalMessage(Refusal::Fault fault)
{
    switch (fault) {
    case Refusal::CodeIllegal:
        return langMsg(QStringLiteral("codeillegal"));
    case Refusal::EmptyIsIllegal:
        return langMsg(QStringLiteral("emptyisillegal"));
    case Refusal::ChangeIP:
        return langMsg(QStringLiteral("changeIP"));
    case Refusal::None:
        break;
    }
    return {};
}

} // namespace

void onGotFocus(QWidget* control, std::function<void()> handler) { new FocusWatch(control, std::move(handler)); }

void selectAllOnFocus(QLineEdit* box)
{
    onGotFocus(box, [box] {
        box->selectAll();
        // A click that gave the focus places the cursor after this event: select again once it is done.
        QTimer::singleShot(0, box, [box = QPointer<QLineEdit>(box)] {
            if (box && box->hasFocus())
                box->selectAll();
        });
    });
}

void setLocked(QLineEdit* box, bool locked)
{
    box->setReadOnly(locked);
    QPalette palette = box->parentWidget() ? box->parentWidget()->palette() : QPalette();
    if (locked)
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
}

void showRefusal(QWidget* dialog, const Refusal& refusal)
{
    ui::msgBox(refusalMessage(refusal.fault), ui::MsgIcon::Exclamation, ui::MsgButtons::Ok, dialog);
    for (const QString& name : refusal.focus)
        if (auto* box = dialog->findChild<QWidget*>(name))
            box->setFocus();
}

void cancelNewNode(NodeKind kind)
{
    if (gStoreTree().gPropMode != 0)
        return;
    if (auto* main = ui::windows().mainWindow<frmMain>())
        main->dropNewNode(kind);
}

bool saveNodeRecords(QWidget* dialog, const std::function<void()>& write, const std::function<void()>& save)
{
    const StoreTreeState before = gStoreTree();
    write();
    if (ui::tryStep(save, langMsg(QStringLiteral("dbWriteErr")), dialog))
        return true;
    gStoreTree() = before;
    return false;
}

} // namespace quorvane
