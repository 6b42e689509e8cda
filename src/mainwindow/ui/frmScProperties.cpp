#include "mainwindow/ui/frmScProperties.h"

#include "mainwindow/NodeCommands.h"
#include "mainwindow/NodeDialogRules.h"
#include "mainwindow/NodeRecords.h"
#include "mainwindow/ui/PropertyDialogKit.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/ProgramState.h"
#include "state/StoreTreeState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvane {

using namespace ui;
using W = frmScProperties;

namespace {

constexpr DialogRows Rows{2400, 2760};
constexpr int Box = Rows.boxLeft, Group = 720; // an address group and the "." before the next
QRect dotAt(int group) { return {Box + group * Group - 165, DialogRows::top(0) + 45, 150, 300}; }

} // namespace

// The address in four boxes with a "." between them; number, FTP user and password below; model, then the layout
// with the in-use box beside it; OK and Cancel at the bottom right.
const ControlTable frmScProperties::kControls{
    .section = "frm_ScProperties",
    .size = {7080, 4080},
    .controls =
        {
            label("labScaleIP", Rows.label(0)).caption().to(&W::labScaleIP),
            textBox("txtScaleIP(0)", Rows.box(0, 540)).tab(1).on(&W::txtScaleIP_Change).to(&W::txtScaleIP),
            label("labDot(1)", dotAt(1)).to(&W::labDot),
            textBox("txtScaleIP(1)", Rows.box(0, 540, Box + Group)).tab(2).on(&W::txtScaleIP_Change).to(&W::txtScaleIP),
            label("labDot(2)", dotAt(2)).to(&W::labDot),
            textBox("txtScaleIP(2)", Rows.box(0, 540, Box + 2 * Group))
                .tab(3)
                .on(&W::txtScaleIP_Change)
                .to(&W::txtScaleIP),
            label("labDot(3)", dotAt(3)).to(&W::labDot),
            textBox("txtScaleIP(3)", Rows.box(0, 540, Box + 3 * Group))
                .tab(4)
                .on(&W::txtScaleIP_Change)
                .to(&W::txtScaleIP),
            label("labScaleNo", Rows.label(1)).caption().to(&W::labScaleNo),
            textBox("txtScaleNo", Rows.box(1, 4080)).tab(5).to(&W::txtScaleNo),
            label("labScaleFTPName", Rows.label(2)).caption().to(&W::labScaleFTPName),
            textBox("txtFTPName", Rows.box(2, 2400)).tab(6).on(&W::txtFTPName_Change).to(&W::txtFTPName),
            label("labScaleFTPPW", Rows.label(3)).caption().to(&W::labScaleFTPPW),
            textBox("txtFTPPW", Rows.box(3, 2400)).tab(7).on(&W::txtFTPPW_Change).to(&W::txtFTPPW),
            label("labScaleModelID", Rows.label(4)).caption().to(&W::labScaleModelID),
            comboBox("ComboScaleModelID", Rows.box(4, 1680)).tab(8).to(&W::ComboScaleModelID),
            label("labScalePSKLayout", Rows.label(5)).caption().to(&W::labScalePSKLayout),
            comboBox("ComboScPSKLayout", Rows.box(5, 2400)).tab(9).to(&W::ComboScPSKLayout),
            checkBox("chkScaleUsed", {Box + 2520, DialogRows::top(5), 1680, 360}).tab(10).caption().to(&W::chkScaleUsed),
            commandButton("cmdOK", {3840, 3420, 1440, 420}).tab(11).caption().on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCanel", {5400, 3420, 1440, 420}).tab(12).caption().on(&W::cmdCanel_Click).to(&W::cmdCanel),
        },
};

frmScProperties::frmScProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmScProperties"));
    setModal(true);
    createControls(this, kControls);
    cmdOK->setDefault(true);
    Form_Load();
}

void frmScProperties::Form_Load()
{
    centreOnScreen(this);
    gStoreTree().gTreeFilled = 0; // the main window shows what is saved here when it is active again
    m_activated = false;
    setCaptions(this, kControls, gLangScProperties);
    const QString title = gLangScProperties.text(QStringLiteral("labtitleMachine"));
    for (QLabel* label : {labScaleIP, labScaleNo, labScaleFTPName, labScaleFTPPW, labScaleModelID, labScalePSKLayout})
        label->setText(title + QLatin1Char(' ') + label->text());
    chkScaleUsed->setText(title + QLatin1Char(' ') + chkScaleUsed->text());
    for (QLabel* dot : labDot.elements()) {
        dot->setText(QStringLiteral("."));
        dot->setAlignment(Qt::AlignCenter);
    }

    const MsgText refused = langMsg(QStringLiteral("charRefused"));
    for (QLineEdit* box : txtScaleIP.elements()) {
        limitEdit(box, EditLimit().chars(3).digits());
        box->installEventFilter(this);
        selectAllOnFocus(box);
    }
    limitEdit(txtScaleNo, EditLimit().chars(50).refusal(refused));
    for (QLineEdit* box : {txtFTPName, txtFTPPW})
        limitEdit(box, EditLimit().chars(16).refusal(refused));
    for (QLineEdit* box : {txtScaleNo, txtFTPName, txtFTPPW})
        selectAllOnFocus(box);
    ComboScaleModelID->addItem(QStringLiteral("LX-40"));
    ComboScPSKLayout->addItem(gLangScProperties.text(QStringLiteral("ComboScPSKLayout")));

    const ScaleRec& rec = gStoreTree().gScaleRec;
    for (int i = 0; i < 4; ++i)
        setText(txtScaleIP(i), rec.SC_IP.mid(4 * i, 3));
    setText(txtScaleNo, rec.SC_No);
    setText(txtFTPName, rec.SC_FTPName);
    setText(txtFTPPW, rec.SC_FTPPW);
    setListIndex(ComboScaleModelID, rec.SC_MODEL_ID);
    setListIndex(ComboScPSKLayout, rec.SC_PSK_Layout);
    setChecked(chkScaleUsed, rec.SC_Used != 0);
}

void frmScProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmScProperties::Form_Activate() { m_activated = true; }

bool frmScProperties::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        for (int i : txtScaleIP.indexes())
            if (watched == txtScaleIP(i))
                return txtScaleIP_KeyPress(i, static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool frmScProperties::txtScaleIP_KeyPress(int index, QKeyEvent* event)
{
    // "." moves on to the next group; the box takes digits only, so the key goes no further.
    if (event->text() != QLatin1String("."))
        return false;
    if (index < 3)
        txtScaleIP(index + 1)->setFocus(Qt::TabFocusReason);
    return true;
}

void frmScProperties::txtScaleIP_Change(int index)
{
    if (m_activated && index < 3 && txtScaleIP(index)->text().size() == 3)
        txtScaleIP(index + 1)->setFocus(Qt::TabFocusReason);
}

void frmScProperties::dropControlCharacters(QLineEdit* box)
{
    const QString text = box->text();
    const QString clean = withoutControlCharacters(text);
    if (clean == text)
        return;
    const int cursor = box->cursorPosition();
    box->setText(clean);
    box->setCursorPosition(qMax(0, cursor - int(text.size() - clean.size())));
}

void frmScProperties::txtFTPName_Change() { dropControlCharacters(txtFTPName); }
void frmScProperties::txtFTPPW_Change() { dropControlCharacters(txtFTPPW); }

void frmScProperties::cmdOK_Click()
{
    commitFocusedField(this);
    StoreTreeState& tree = gStoreTree();
    ScaleInput in{tree.gPropMode, {}, txtScaleNo->text(), txtFTPName->text(), txtFTPPW->text()};
    for (QLineEdit* box : txtScaleIP.elements()) {
        setText(box, padAddressGroup(box->text()));
        in.groups << box->text();
    }
    const NodeNumbers current = currentSelection();
    Refusal refusal;
    if (!tryStep([&] { refusal = checkScale(in, current); }, langMsg(QStringLiteral("dbReadErr")), this))
        return;
    if (refusal) {
        showRefusal(this, refusal);
        return;
    }
    const QString address = scaleAddress(in.groups);
    const int mode = tree.gPropMode == 1 ? 1 : 0;
    const bool saved = saveNodeRecords(
        this,
        [&] {
            ScaleRec& rec = tree.gScaleRec;
            rec.SC_IP = address;
            rec.SC_No = in.scaleNo;
            rec.SC_FTPName = in.ftpName;
            rec.SC_FTPPW = in.ftpPassword;
            if (ComboScaleModelID->currentIndex() >= 0) // a model the list does not offer stays
                rec.SC_MODEL_ID = qint16(ComboScaleModelID->currentIndex());
            if (ComboScPSKLayout->currentIndex() >= 0)
                rec.SC_PSK_Layout = qint16(ComboScPSKLayout->currentIndex());
            rec.SC_Used = chkScaleUsed->isChecked() ? 1 : 0;
        },
        [&] { SaveNodeProperties(QStringLiteral("SCALE"), current, mode); });
    if (!saved)
        return;
    tree.gStoreViewKey = nodeKey(
        NodeKind::Scale,
        NodeNumbers{.storeNo = tree.gScaleRec.ST_No, .sectNo = tree.gScaleRec.SECT_No, .scaleIP = address});
    accept();
}

void frmScProperties::cmdCanel_Click()
{
    cancelNewNode(NodeKind::Scale);
    QDialog::reject();
}

void frmScProperties::reject() { cmdCanel_Click(); }

} // namespace quorvane
