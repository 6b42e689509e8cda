#include "presetkeys/ui/frmAutoPresetKey.h"

#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "presetkeys/AutoPresetKey.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/PresetKeyState.h"
#include "state/ProgramState.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace quorvane {

using namespace presetkeys;
using namespace ui;

using W = frmAutoPresetKey;

const ControlTable frmAutoPresetKey::kControls{
    .section = "frm_AutoPresetKey",
    .title = "frmAutoPresetKey",
    .size = {4575, 2760},
    .controls =
        {
            frame("Frame1", {120, 120, 4335, 1815}).caption(),
            optionButton("opST", {240, 360, 1815, 315}).in("Frame1").tab(1).caption().to(&W::opST),
            label("lStore", {2160, 390, 1935, 255}).in("Frame1").to(&W::lStore),
            optionButton("opDP", {240, 840, 1815, 315}).in("Frame1").tab(2).caption().to(&W::opDP),
            comboBox("combDept", {2160, 810, 1935, 315}).in("Frame1").tab(3).on(&W::combDept_Click).to(&W::combDept),
            optionButton("opMG", {240, 1320, 1815, 315}).in("Frame1").tab(4).caption().to(&W::opMG),
            comboBox("combMG", {2160, 1290, 1935, 315}).in("Frame1").tab(5).on(&W::combMG_Click).to(&W::combMG),
            commandButton("cmdOK", {1320, 2160, 1455, 420}).tab(6).caption().on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCancel", {3000, 2160, 1455, 420})
                .tab(7)
                .caption()
                .on(&W::cmdCancel_Click)
                .to(&W::cmdCancel),
        },
};

bool frmAutoPresetKey::assignKeys(QWidget* parent)
{
    frmAutoPresetKey dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

frmAutoPresetKey::frmAutoPresetKey(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAutoPresetKey"));
    setModal(true);
    createControls(this, kControls);
    Form_Load();
}

void frmAutoPresetKey::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangAutoPresetKey);
    gAutoStoreNo = 0;
    gAutoDeptNo = 0;
    gAutoMGNo = 0;
    gAutoStoreNo = gPresetKeys().gPSKStoreNo;
    lStore->setText(QString::number(gAutoStoreNo));
    setOption(opST);
    cmdOK->setDefault(true);
    LoadDepartments();
}

void frmAutoPresetKey::LoadDepartments()
{
    QList<qint32> departments;
    if (!tryStep([&] { departments = departmentNumbers(); }, langMsg(QStringLiteral("dbReadErr")), this))
        return;
    if (departments.isEmpty())
        return;
    combDept->clear();
    for (qint32 dept : departments)
        combDept->addItem(QString::number(dept));
    setListIndex(combDept, 0);
}

void frmAutoPresetKey::combDept_Click()
{
    const qint32 dept = combDept->currentText().toInt();
    if (dept == gAutoDeptNo)
        return;
    gAutoDeptNo = dept;
    LoadMainGroups();
}

void frmAutoPresetKey::LoadMainGroups()
{
    QList<qint32> groups;
    const bool read = tryStep([&] { groups = mainGroupNumbers(gAutoStoreNo, gAutoDeptNo); },
                              langMsg(QStringLiteral("dbReadErr")), this);
    // A department without main groups in the store lists none: the department option then assigns nothing,
    // never another department's PLUs.
    combMG->clear();
    gAutoMGNo = 0;
    if (!read || groups.isEmpty())
        return;
    for (qint32 mg : groups)
        combMG->addItem(QString::number(mg));
    setListIndex(combMG, 0);
}

void frmAutoPresetKey::combMG_Click() { gAutoMGNo = combMG->currentText().toInt(); }

void frmAutoPresetKey::cmdOK_Click()
{
    AutoChoice choice{.storeNo = gAutoStoreNo, .mgNo = gAutoMGNo, .departmentGroups = {}};
    if (opMG->isChecked()) {
        choice.option = AutoOption::MainGroup;
    } else if (opDP->isChecked()) {
        choice.option = AutoOption::Department;
        for (int i = 0; i < combMG->count(); ++i)
            choice.departmentGroups << combMG->itemText(i).toInt();
    }
    // A failure leaves every key of the layout as it was, and the dialog open.
    if (tryStep([&] { AutoAssignKeys(choice); }, langMsg(QStringLiteral("dbWriteErr")), this))
        accept();
}

void frmAutoPresetKey::cmdCancel_Click() { reject(); }

} // namespace quorvane
