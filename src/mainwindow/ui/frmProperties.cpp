#include "mainwindow/ui/frmProperties.h"

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
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvane {

using namespace ui;
using W = frmProperties;

namespace {

constexpr DialogRows Rows{2280, 2640};

} // namespace

// Labels on the left, boxes beside them; the section list and the tax box share the fifth row.
const ControlTable frmProperties::kControls{
    .section = "frm_Properties",
    .size = {6000, 3780},
    .controls =
        {
            label("labCode", Rows.label(0)).caption().to(&W::labCode),
            textBox("txtCode", Rows.box(0, 1080)).tab(1).to(&W::txtCode),
            label("labName", Rows.label(1)).caption().to(&W::labName),
            textBox("txtName", Rows.box(1, 3120)).tab(2).onLeave(&W::txtName_LostFocus).to(&W::txtName),
            label("labBarFormat", Rows.label(2)).caption().to(&W::labBarFormat),
            comboBox("comboBarForamt", Rows.box(2, 3120)).tab(3).on(&W::comboBarForamt_Click).to(&W::comboBarForamt),
            label("labFlag", Rows.label(3)).caption().to(&W::labFlag),
            textBox("txtFlag1", Rows.box(3, 480)).tab(4).to(&W::txtFlag1),
            textBox("txtFlag2", Rows.box(3, 480, Rows.boxLeft + 600)).tab(5).to(&W::txtFlag2),
            label("labSectNo", Rows.label(4)).caption().to(&W::labSectNo),
            comboBox("ComboSectNo", Rows.box(4, 1320)).tab(6).to(&W::ComboSectNo),
            label("labTaxNo", Rows.label(4)).caption().to(&W::labTaxNo),
            textBox("txtTaxNo", Rows.box(4, 480)).tab(7).to(&W::txtTaxNo),
            commandButton("cmdOK", {2880, 3120, 1320, 420}).tab(8).caption().on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCanel", {4440, 3120, 1320, 420}).tab(9).caption().on(&W::cmdCanel_Click).to(&W::cmdCanel),
        },
};

frmProperties::frmProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProperties"));
    setModal(true);
    createControls(this, kControls);
    cmdOK->setDefault(true);
    Form_Load();
}

int frmProperties::exec() { return m_loaded ? QDialog::exec() : int(Rejected); }

void frmProperties::setVisible(bool visible) { QDialog::setVisible(visible && m_loaded); }

void frmProperties::Form_Load()
{
    StoreTreeState& tree = gStoreTree();
    m_kind = NodeKind(tree.gPropertyNodeKind);
    tree.gTreeFilled = 0; // the main window shows what is saved here when it is active again
    centreOnScreen(this);
    setCaptions(this, kControls, gLangProperties);
    const QString title = nodeTitle(m_kind);
    for (QLabel* label : {labCode, labName, labBarFormat, labFlag, labSectNo, labTaxNo})
        label->setText(title + QLatin1Char(' ') + label->text());

    const MsgText refused = langMsg(QStringLiteral("charRefused"));
    limitEdit(txtCode, EditLimit().digits());
    limitEdit(txtName, EditLimit().chars(50).refusal(refused));
    for (QLineEdit* box : {txtFlag1, txtFlag2, txtTaxNo})
        limitEdit(box, EditLimit().chars(1).digits());
    for (QLineEdit* box : {txtCode, txtName, txtFlag1, txtFlag2, txtTaxNo})
        selectAllOnFocus(box);
    txtFlag1->setText(QStringLiteral("0"));
    txtFlag2->setText(QStringLiteral("0"));
    labSectNo->setVisible(m_kind == NodeKind::Department);
    ComboSectNo->setVisible(m_kind == NodeKind::Department);
    labTaxNo->setVisible(m_kind == NodeKind::MainGroup);
    txtTaxNo->setVisible(m_kind == NodeKind::MainGroup);
    // A program without a store has nothing to show: the first store of one-store mode must be saved.
    const bool firstStore = m_kind == NodeKind::Store && !isSeveralStoreMode() && tree.gStoreRec.ST_No == 1
        && tree.gFirstStoreDone == 0;
    cmdCanel->setEnabled(!firstStore);
    if (firstStore)
        tree.gFirstStoreDone = 1;
    for (QWidget* w : std::initializer_list<QWidget*>{labBarFormat, labFlag, comboBarForamt, txtFlag1, txtFlag2})
        w->setVisible(m_kind != NodeKind::Section);

    qint16 barFormat = 0;
    qint16 flag1 = 0;
    qint16 flag2 = 0;
    const auto fill = [&](qint16 number, const QString& name, const auto& rec) {
        setText(txtCode, QString::number(number));
        setText(txtName, name);
        barFormat = rec.barformat;
        flag1 = rec.Flag1;
        flag2 = rec.Flag2;
    };
    switch (m_kind) {
    case NodeKind::Store:
        fill(tree.gStoreRec.ST_No, tree.gStoreRec.ST_Name, tree.gStoreRec);
        break;
    case NodeKind::Section:
        fill(tree.gSectRec.SECT_No, tree.gSectRec.SECT_Name, tree.gSectRec);
        break;
    case NodeKind::Department:
        limitEdit(txtCode, EditLimit().chars(2).digits());
        limitEdit(txtName, EditLimit().chars(8).refusal(refused));
        fill(tree.gDeptRec.DP_No, tree.gDeptRec.DP_Name, tree.gDeptRec);
        break;
    case NodeKind::MainGroup:
        limitEdit(txtCode, EditLimit().chars(3).digits());
        limitEdit(txtName, EditLimit().chars(8).refusal(refused));
        fill(tree.gMGRec.MG_No, tree.gMGRec.MG_Name, tree.gMGRec);
        setText(txtTaxNo, QString::number(tree.gMGRec.Tax_No));
        break;
    default:
        return; // no dialog of this kind
    }
    setLocked(txtCode, codeLocked(m_kind, tree.gPropMode, txtCode->text().toInt()));
    FillBarFormatCombo();
    setListIndex(comboBarForamt, barFormatListPosition(m_kind, barFormat));
    showFlags(flag1, flag2);
    if (!m_readFailed && m_kind == NodeKind::Department) {
        QStringList sections;
        m_readFailed = !tryStep([&] { sections = FillSectionCombo(QStringLiteral("SECT"), tree.gDeptRec.ST_No, 0); },
                                langMsg(QStringLiteral("dbReadErr")), this);
        ComboSectNo->addItems(sections);
        ComboSectNo->setCurrentIndex(0);
        for (int i = 0; i < ComboSectNo->count(); ++i)
            if (ComboSectNo->itemText(i) == QString::number(tree.gDeptRec.SECT_No))
                ComboSectNo->setCurrentIndex(i);
    }
    if (!m_readFailed && comboBarForamt->currentIndex() == 0
        && (m_kind == NodeKind::Department || m_kind == NodeKind::MainGroup))
        showInheritedFlags();
    // A dialog that could not read what it shows closes after the message: its OK would save what it lacks.
    if (m_readFailed) {
        cancelNewNode(m_kind);
        return;
    }
    m_loaded = true;
}

void frmProperties::FillBarFormatCombo()
{
    comboBarForamt->clear();
    if (m_kind != NodeKind::Store)
        comboBarForamt->addItem(gParEANDisp.text(QStringLiteral("REF")));
    for (int position = 1; position <= 20; ++position)
        comboBarForamt->addItem(gParEANDisp.at(position));
}

void frmProperties::showFlags(qint16 flag1, qint16 flag2)
{
    setText(txtFlag1, flagText(flag1));
    setText(txtFlag2, flagText(flag2));
}

void frmProperties::showInheritedFlags()
{
    const NodeNumbers current = currentSelection();
    std::optional<FlagCodes> flags;
    if (!tryStep([&] { flags = LoadBarFormatFlags(m_kind, current.storeNo, current.deptOrSearchNo); },
                 langMsg(QStringLiteral("dbReadErr")), this))
        m_readFailed = true;
    else if (flags)
        showFlags(flags->flag1, flags->flag2);
}

void frmProperties::comboBarForamt_Click()
{
    const FlagBoxes boxes = flagBoxesAt(m_kind, comboBarForamt->currentIndex());
    switch (boxes.codes) {
    case FlagBoxes::NoCodes:
        setText(txtFlag1, QStringLiteral("F"));
        setText(txtFlag2, QStringLiteral("F"));
        break;
    case FlagBoxes::Inherited:
        showInheritedFlags();
        break;
    case FlagBoxes::Keep:
        if (boxes.defined)
            for (QLineEdit* box : {txtFlag1, txtFlag2})
                if (box->text() == QLatin1String("F"))
                    setText(box, QStringLiteral("0"));
        break;
    }
    setLocked(txtFlag1, !boxes.flag1Editable);
    setLocked(txtFlag2, !boxes.flag2Editable);
}

void frmProperties::txtName_LostFocus() { setText(txtName, cutAtControlCharacter(txtName->text())); }

void frmProperties::cmdOK_Click()
{
    commitFocusedField(this);
    txtName_LostFocus(); // OK by Enter leaves no box
    StoreTreeState& tree = gStoreTree();
    const NodeNumbers current = currentSelection();
    const PropertiesInput in{m_kind,           tree.gPropMode,   txtCode->text(), txtName->text(),
                             txtFlag1->text(), txtFlag2->text(), txtTaxNo->text()};
    Refusal refusal;
    if (!tryStep([&] { refusal = checkProperties(in, current); }, langMsg(QStringLiteral("dbReadErr")), this))
        return;
    if (refusal) {
        showRefusal(this, refusal);
        return;
    }
    if (!save())
        return;
    const qint16 code = qint16(in.code.toInt());
    NodeNumbers saved = current;
    switch (m_kind) {
    case NodeKind::Store:
        tree.gStoreViewKey = nodeKey(NodeKind::Store, NodeNumbers{.storeNo = code});
        break;
    case NodeKind::Section:
        saved.sectNo = code;
        tree.gStoreViewKey = nodeKey(NodeKind::Section, saved);
        break;
    case NodeKind::Department:
        saved.deptOrSearchNo = code;
        tree.gDataViewKey = nodeKey(NodeKind::Department, saved);
        tree.gLastNodeIndex = 0;
        break;
    case NodeKind::MainGroup:
        saved.mgNo = code;
        tree.gDataViewKey = nodeKey(NodeKind::MainGroup, saved);
        tree.gLastNodeIndex = 0;
        break;
    default:
        break;
    }
    accept();
}

bool frmProperties::save()
{
    StoreTreeState& tree = gStoreTree();
    const qint16 code = qint16(txtCode->text().toInt());
    const QString name = txtName->text();
    const int position = comboBarForamt->currentIndex();
    const auto writeBarFormat = [&](auto& rec) {
        if (position >= 0) // a bar format the list does not offer stays as it is
            rec.barformat = barFormatAtListPosition(m_kind, position);
        rec.Flag1 = flagCode(txtFlag1->text());
        rec.Flag2 = flagCode(txtFlag2->text());
    };
    const auto write = [&] {
        switch (m_kind) {
        case NodeKind::Store:
            tree.gStoreRec.ST_No = code;
            tree.gStoreRec.ST_Name = name;
            writeBarFormat(tree.gStoreRec);
            break;
        case NodeKind::Section: // its bar format and flags are not shown: they stay as loaded
            tree.gSectRec.SECT_No = code;
            tree.gSectRec.SECT_Name = name;
            break;
        case NodeKind::Department:
            tree.gDeptRec.DP_No = code;
            tree.gDeptRec.DP_Name = name;
            writeBarFormat(tree.gDeptRec);
            tree.gDeptRec.SECT_No = qint16(ComboSectNo->currentText().toInt()); // "Not Used" is 0
            break;
        case NodeKind::MainGroup:
            tree.gMGRec.MG_No = code;
            tree.gMGRec.MG_Name = name;
            writeBarFormat(tree.gMGRec);
            tree.gMGRec.Tax_No = qint16(txtTaxNo->text().toInt());
            break;
        default:
            break;
        }
    };
    const NodeNumbers current = currentSelection();
    const int mode = tree.gPropMode == 1 ? 1 : 0;
    return saveNodeRecords(this, write, [&] {
        db::Transaction tx(gDBConnection);
        SaveNodeProperties(nodeTableName(m_kind), current, mode);
        if (m_kind == NodeKind::Store && mode == 0) {
            SaveNodeProperties(QStringLiteral("KVB_20"), current, 0);
            SaveNodeProperties(QStringLiteral("KVB_23"), current, 0);
        }
        tx.commit();
    });
}

void frmProperties::cmdCanel_Click()
{
    cancelNewNode(m_kind);
    QDialog::reject();
}

void frmProperties::reject()
{
    if (cmdCanel->isEnabled())
        cmdCanel_Click();
}

} // namespace quorvane
