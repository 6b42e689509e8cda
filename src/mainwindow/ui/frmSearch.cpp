#include "mainwindow/ui/frmSearch.h"

#include "mainwindow/NodeCommands.h"
#include "mainwindow/NodeDialogRules.h"
#include "mainwindow/NodeRecords.h"
#include "mainwindow/ui/PropertyDialogKit.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "plu/PluFieldRules.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/StoreTreeState.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvane {

using namespace ui;
using W = frmSearch;

namespace {

constexpr int From = 3000, To = 5040;
constexpr DialogRows Rows{2040, From};

// Row k + 1 holds range k: its label, "From" and the first box, "To" and the second.
struct RangeRow {
    const char* label;
    QLabel* W::*labelMember;
    const char* from;
    QLineEdit* W::*fromMember;
    const char* to;
    QLineEdit* W::*toMember;
};

QList<Control> rangeRow(int k, const RangeRow& r, Handler fromChange = {}, Handler toChange = {})
{
    const bool price = bool(fromChange);
    const auto box = [price](const char* name, QRect at) { return price ? maskedEdit(name, at) : textBox(name, at); };
    const QByteArray from = QStringLiteral("labFrom(%1)").arg(k).toLatin1();
    const QByteArray to = QStringLiteral("labTo(%1)").arg(k).toLatin1();
    return {
        label(r.label, Rows.label(k + 1)).caption().to(r.labelMember),
        label(from.constData(), Rows.label(k + 1, From - 600, 540)).caption("labFrom"),
        box(r.from, Rows.box(k + 1, 1320)).tab(2 + 2 * k).on(fromChange).to(r.fromMember),
        label(to.constData(), Rows.label(k + 1, To - 600, 540)).caption("labTo"),
        box(r.to, Rows.box(k + 1, 1320, To)).tab(3 + 2 * k).on(toChange).to(r.toMember),
    };
}

} // namespace

QList<Control> frmSearch::controls()
{
    return QList<Control>{
               label("labName", Rows.label(0)).caption().to(&W::labName),
               textBox("txtSearchName", Rows.box(0, 3960, From - 600)).tab(1).to(&W::txtSearchName),
           }
    + rangeRow(0, {"labDept_No", &W::labDept_No, "txtDept_No1", &W::txtDept_No1, "txtDept_No2", &W::txtDept_No2})
        + rangeRow(1, {"labMG_No", &W::labMG_No, "txtMG_No1", &W::txtMG_No1, "txtMG_No2", &W::txtMG_No2})
        + rangeRow(2, {"labPLU_No", &W::labPLU_No, "txtPLU_No1", &W::txtPLU_No1, "txtPLU_No2", &W::txtPLU_No2})
        + rangeRow(
               3,
               {"labPLU_UPrice", &W::labPLU_UPrice, "meditUPrice1", &W::meditUPrice1, "meditUPrice2", &W::meditUPrice2},
               &W::meditUPrice1_Change, &W::meditUPrice2_Change)
        + QList<Control>{
            commandButton("cmdOK", {3480, 3060, 1440, 420}).tab(10).caption().on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCanel", {5040, 3060, 1440, 420}).tab(11).caption().on(&W::cmdCanel_Click).to(&W::cmdCanel),
        };
}

// The name, then one row per range: department, main group, PLU number, unit price; OK and Cancel below.
const ControlTable frmSearch::kControls{
    .section = "frm_Search",
    .size = {6600, 3720},
    .controls = controls(),
};

frmSearch::frmSearch(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSearch"));
    setModal(true);
    createControls(this, kControls);
    cmdOK->setDefault(true);
    Form_Load();
}

QList<frmSearch::Range> frmSearch::ranges() const
{
    return {{txtDept_No1, txtDept_No2, 97}, {txtMG_No1, txtMG_No2, 997}, {txtPLU_No1, txtPLU_No2, 999997}};
}

void frmSearch::Form_Load()
{
    centreOnScreen(this);
    gStoreTree().gTreeFilled = 0; // the main window shows what is saved here when it is active again
    setCaptions(this, kControls, gLangSearch);
    labName->setText(gLangSearch.text(QStringLiteral("labtitleSearch")) + QLatin1Char(' ') + labName->text());

    limitEdit(txtSearchName, EditLimit().chars(50).refusal(langMsg(QStringLiteral("charRefused"))));
    selectAllOnFocus(txtSearchName);
    for (const Range& range : ranges())
        for (QLineEdit* box : {range.from, range.to}) {
            limitEdit(box, EditLimit().chars(int(QString::number(range.highest).size())).digits());
            selectAllOnFocus(box);
            onLeave(box, [this, box] { rangeLostFocus(box); });
        }
    for (QLineEdit* box : {meditUPrice1, meditUPrice2}) {
        limitEdit(box, EditLimit().decimal(decimalSign().at(0)));
        onGotFocus(box, [this, box] { priceGotFocus(box); });
        onLeave(box, [this] { pricesLostFocus(); });
    }

    const SearchRec& rec = gStoreTree().gSearchRec;
    const qint16 decimals = gSettings().gPricePoint;
    setText(txtSearchName, rec.SH_Name);
    setText(txtDept_No1, QString::number(rec.DP_No1));
    setText(txtDept_No2, QString::number(rec.DP_No2));
    setText(txtMG_No1, QString::number(rec.MG_No1));
    setText(txtMG_No2, QString::number(rec.MG_No2));
    setText(txtPLU_No1, QString::number(rec.PLU_No1));
    setText(txtPLU_No2, QString::number(rec.PLU_No2));
    setText(meditUPrice1, FormatFixedDecimal(rec.PLU_UPrice1, decimals));
    setText(meditUPrice2, FormatFixedDecimal(rec.PLU_UPrice2, decimals));
}

void frmSearch::refuse(QLineEdit* box)
{
    m_leaveRefused = true;
    m_refusing = true;
    msgBox(langMsg(QStringLiteral("codeillegal")), MsgIcon::Exclamation, MsgButtons::Ok, this);
    box->setFocus();
    m_refusing = false;
}

void frmSearch::rangeLostFocus(QLineEdit* box)
{
    if (m_refusing)
        return;
    for (const Range& range : ranges()) {
        if (box != range.from && box != range.to)
            continue;
        if (!rangeValue(box->text(), range.highest)) {
            refuse(box);
            return;
        }
        m_leaveRefused = false;
        // The to-value never ends below the from-value, whichever box was left.
        if (range.from->text().toLongLong() > range.to->text().toLongLong())
            setText(range.to, range.from->text());
    }
}

void frmSearch::priceGotFocus(QLineEdit* box)
{
    // Typed in minor units while focused.
    QString digits = box->text();
    digits.remove(decimalSign());
    limitEdit(box, EditLimit().chars(6).digits().leadingZero(ChangeForm::Decimal));
    setText(box, digits);
    box->selectAll();
}

void frmSearch::priceChange(QLineEdit* box)
{
    // The PLU editor's price box rule.
    const ChangedBox typed = pluFieldChanged({.change = ChangeForm::Decimal}, box->text());
    if (typed.caret) {
        setText(box, typed.text);
        box->setCursorPosition(*typed.caret);
    }
}

void frmSearch::meditUPrice1_Change() { priceChange(meditUPrice1); }
void frmSearch::meditUPrice2_Change() { priceChange(meditUPrice2); }

void frmSearch::pricesLostFocus()
{
    if (m_refusing)
        return;
    qint32 values[2] = {0, 0};
    int i = 0;
    for (QLineEdit* box : {meditUPrice1, meditUPrice2}) {
        limitEdit(box, EditLimit().decimal(decimalSign().at(0)));
        if (box->text().isEmpty())
            setText(box, QStringLiteral("0"));
        if (ReadFixedDecimal(box->text(), &values[i]))
            setText(box, FormatFixedDecimal(values[i], gSettings().gPricePoint));
        ++i;
    }
    if (values[0] > values[1])
        setText(meditUPrice2, meditUPrice1->text());
}

void frmSearch::cmdOK_Click()
{
    m_leaveRefused = false;
    commitFocusedField(this);
    if (m_leaveRefused)
        return;
    // OK by Enter leaves no box: every range is checked again, and nothing is written that is not a number.
    for (const Range& range : ranges())
        for (QLineEdit* box : {range.from, range.to})
            if (!rangeValue(box->text(), range.highest)) {
                refuse(box);
                return;
            }
    qint32 prices[2] = {0, 0};
    QLineEdit* priceBoxes[2] = {meditUPrice1, meditUPrice2};
    for (int i = 0; i < 2; ++i)
        if (!priceBoxes[i]->text().isEmpty() && !ReadFixedDecimal(priceBoxes[i]->text(), &prices[i])) {
            refuse(priceBoxes[i]);
            return;
        }

    StoreTreeState& tree = gStoreTree();
    const NodeNumbers current = currentSelection();
    bool taken = false;
    if (!tryStep([&] { taken = tree.gPropMode == 0 && NodeNumberExists(QStringLiteral("SEARCH"), current); },
                 langMsg(QStringLiteral("dbReadErr")), this))
        return;
    if (taken) {
        msgBox(langMsg(QStringLiteral("codeillegal")), MsgIcon::Exclamation, MsgButtons::Ok, this);
        return;
    }
    const int mode = tree.gPropMode == 1 ? 1 : 0;
    const bool saved = saveNodeRecords(
        this,
        [&] {
            SearchRec& rec = tree.gSearchRec;
            rec.SH_Name = txtSearchName->text();
            rec.DP_No1 = qint16(txtDept_No1->text().toInt());
            rec.DP_No2 = qint16(txtDept_No2->text().toInt());
            rec.MG_No1 = qint16(txtMG_No1->text().toInt());
            rec.MG_No2 = qint16(txtMG_No2->text().toInt());
            rec.PLU_No1 = txtPLU_No1->text().toInt();
            rec.PLU_No2 = txtPLU_No2->text().toInt();
            // An empty price box keeps the value the search had.
            if (!meditUPrice1->text().isEmpty())
                rec.PLU_UPrice1 = prices[0];
            if (!meditUPrice2->text().isEmpty())
                rec.PLU_UPrice2 = prices[1];
        },
        [&] { SaveNodeProperties(QStringLiteral("SEARCH"), current, mode); });
    if (!saved)
        return;
    tree.gDataViewKey = nodeKey(NodeKind::Search, current);
    tree.gLastNodeIndex = 0;
    accept();
}

void frmSearch::cmdCanel_Click()
{
    cancelNewNode(NodeKind::Search);
    QDialog::reject();
}

void frmSearch::reject() { cmdCanel_Click(); }

} // namespace quorvane
