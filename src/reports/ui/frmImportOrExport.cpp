#include "reports/ui/frmImportOrExport.h"

#include "platform/events/DoEvents.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "reports/PluChoice.h"
#include "reports/PluExport.h"
#include "reports/PluImport.h"
#include "reports/ReportColumns.h"
#include "reports/ui/ReportDialogs.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/ImportExportState.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace quorvane {

using namespace ui;
using namespace reports;

using W = frmImportOrExport;

const ControlTable frmImportOrExport::kControls{
    .section = "frm_ImportOrExport",
    .size = {10500, 6120},
    .controls =
        {
            label("labData", {120, 165, 1200, 300}).caption(),
            comboBox("comboIorE", {1320, 120, 2280, 360}).tab(1).on(&W::comboIorE_Click).to(&W::comboIorE),
            label("labSeperator", {3840, 165, 1320, 300}).caption(),
            comboBox("comboSeperator", {5160, 120, 1800, 360}).tab(2).to(&W::comboSeperator),
            label("labListItem", {120, 660, 3000, 300}).caption(),
            listBox("listItem", {120, 960, 3000, 4260}).tab(3).on(&W::listItem_Click).to(&W::listItem),
            commandButton("cmdAdd", {3300, 2100, 1200, 420}).tab(4).on(&W::cmdAdd_Click).to(&W::cmdAdd),
            commandButton("cmdDelete", {3300, 2700, 1200, 420}).tab(5).on(&W::cmdDelete_Click).to(&W::cmdDelete),
            label("labSelectItem", {4680, 660, 3000, 300}).caption(),
            listBox("SelectItem", {4680, 960, 3000, 4260}).tab(6).on(&W::SelectItem_Click).to(&W::SelectItem),
            label("labST_No", {7920, 960, 2400, 300}).caption().to(&W::labST_No),
            comboBox("comboST_No", {7920, 1260, 1440, 360}).tab(7).to(&W::comboST_No),
            label("labMG_No", {7920, 1740, 2400, 300}).caption().to(&W::labMG_No),
            comboBox("comboMG_No", {7920, 2040, 1440, 360}).tab(8).to(&W::comboMG_No),
            checkBox("chkPLU", {7920, 2580, 2460, 360}).tab(9).caption().to(&W::chkPLU),
            label("labFontSize", {7920, 3120, 2400, 300}).caption().to(&W::labFontSize),
            comboBox("comboFontSize", {7920, 3420, 1440, 360}).tab(10).on(&W::comboFontSize_Click).to(&W::comboFontSize),
            label("labWaiting", {7920, 4140, 2400, 660}).caption().to(&W::labWaiting),
            commandButton("commandOpen", {120, 5520, 1440, 420}).tab(11).caption().on(&W::commandOpen_Click),
            commandButton("commandSave", {1680, 5520, 1440, 420}).tab(12).caption().on(&W::commandSave_Click),
            commandButton("cmdImport", {5280, 5520, 1560, 420})
                .tab(13)
                .caption()
                .on(&W::cmdImport_Click)
                .to(&W::cmdImport),
            commandButton("cmdExport", {6960, 5520, 1560, 420})
                .tab(14)
                .caption()
                .on(&W::cmdExport_Click)
                .to(&W::cmdExport),
            commandButton("cmdClose", {8760, 5520, 1560, 420}).tab(15).caption().on(&W::cmdClose_Click),
        },
};

frmImportOrExport::frmImportOrExport(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmImportOrExport"));
    createControls(this, kControls);
    cmdAdd->setText(QStringLiteral(">>>"));
    cmdDelete->setText(QStringLiteral("<<<"));
    labWaiting->setWordWrap(true);
    labWaiting->setAlignment(Qt::AlignCenter);
    connectHandler(listItem, &QListWidget::itemDoubleClicked, this, &W::cmdAdd_Click);
    connectHandler(SelectItem, &QListWidget::itemDoubleClicked, this, &W::cmdDelete_Click);
    Form_Load();
}

void frmImportOrExport::Form_Load()
{
    // The main window lists its PLUs and fills its tree afresh once this window is done with the table.
    if (gRsPLU.isOpen())
        gRsPLU.close();
    gStoreTree().gTreeFilled = 0;
    centreOnScreen(this);
    setCaptions(this, kControls, gLangImportExport);
    for (int i = 1; i <= gParImportExportItem.count(); ++i)
        listItem->addItem(gParImportExportItem.at(i));
    comboIorE->addItems(
        {gLangImportExport.text(QStringLiteral("labImport")), gLangImportExport.text(QStringLiteral("labExport"))});
    setListIndex(comboIorE, 0);
    comboSeperator->addItems({gLangExportReport.text(QStringLiteral("comboSepTab")),
                              gLangExportReport.text(QStringLiteral("comboSepComma"))});
    setListIndex(comboSeperator, 0);
    labWaiting->hide();
    tryStep(
        [&] {
            for (const auto& [list, sql] : {std::pair{comboST_No, "SELECT ST_No FROM STORE ORDER BY rowid"},
                                            std::pair{comboMG_No, "SELECT MG_No FROM KVB_23 ORDER BY rowid"}}) {
                db::Statement rows = gDBConnection.prepare(QLatin1String(sql));
                while (rows.step())
                    list->addItem(QString::number(rows.columnInt(0)));
                setListIndex(list, list->count() > 0 ? 0 : -1);
            }
        },
        langMsg(QStringLiteral("dbReadErr")), this);
    comboFontSize->addItems(fontSizeEntries(gSettings().gSysCountry));
    setListIndex(comboFontSize, 0);
    showFontSize(false);
}

bool frmImportOrExport::importMode() const { return comboIorE->currentIndex() == 0; }

QString frmImportOrExport::markedChoice() const
{
    const int row = SelectItem->currentRow();
    return row >= 0 && SelectItem->item(row)->isSelected() ? SelectItem->item(row)->text() : QString();
}

void frmImportOrExport::showFontSize(bool visible)
{
    labFontSize->setVisible(visible);
    comboFontSize->setVisible(visible);
}

void frmImportOrExport::setBusy(bool busy)
{
    labWaiting->setVisible(busy);
    setEnabled(!busy);
}

QStringList frmImportOrExport::entries(const QListWidget* list) const
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void frmImportOrExport::comboIorE_Click()
{
    const bool import = importMode();
    cmdImport->setEnabled(import);
    cmdExport->setEnabled(!import);
    for (QWidget* w : std::initializer_list<QWidget*>{chkPLU, labST_No, comboST_No, labMG_No, comboMG_No})
        w->setVisible(import);
    if (!import)
        showFontSize(false);
}

void frmImportOrExport::listItem_Click() { showFontSize(false); }

void frmImportOrExport::SelectItem_Click()
{
    if (!importMode())
        return;
    const QString t = markedChoice();
    const bool text = t == QLatin1String("PLU_Commodity") || t == QLatin1String("PLU_Description");
    showFontSize(text);
    if (text) {
        const ImportExportState& s = gImportExport();
        const int size = t == QLatin1String("PLU_Commodity") ? s.CommodityFontSize : s.DescriptionFontSize;
        setListIndex(comboFontSize, size >= 1 && size <= comboFontSize->count() ? size - 1 : -1);
    }
}

void frmImportOrExport::comboFontSize_Click()
{
    const int index = comboFontSize->currentIndex();
    const QString t = markedChoice();
    if (index < 0)
        return;
    if (t == QLatin1String("PLU_Commodity"))
        gImportExport().CommodityFontSize = qint16(index + 1);
    else if (t == QLatin1String("PLU_Description"))
        gImportExport().DescriptionFontSize = qint16(index + 1);
}

void frmImportOrExport::cmdAdd_Click()
{
    const int row = listItem->currentRow();
    if (row < 0 || !listItem->item(row)->isSelected())
        return;
    const QString t = listItem->item(row)->text();
    // The catalogue's first entry may stand in the choice any number of times; every other entry once.
    if (entries(SelectItem).contains(t) && t != listItem->item(0)->text())
        return;
    SelectItem->addItem(t);
    setListIndex(SelectItem, SelectItem->count() - 1);
    if (!importMode())
        return;
    if (t == QLatin1String("ST_No")) {
        comboST_No->setEnabled(false);
    } else if (t == QLatin1String("PLU_MG")) {
        comboMG_No->setEnabled(false);
    } else if (t == QLatin1String("PLU_Commodity") || t == QLatin1String("PLU_Description")) {
        showFontSize(true);
        setListIndex(comboFontSize, 0);
        (t == QLatin1String("PLU_Commodity") ? gImportExport().CommodityFontSize
                                             : gImportExport().DescriptionFontSize) = 1;
    } else {
        showFontSize(false);
    }
}

void frmImportOrExport::cmdDelete_Click()
{
    showFontSize(false);
    const int k = SelectItem->currentRow();
    if (k < 0 || !SelectItem->item(k)->isSelected())
        return;
    if (importMode()) {
        const QString t = SelectItem->item(k)->text();
        if (t == QLatin1String("ST_No"))
            comboST_No->setEnabled(true);
        else if (t == QLatin1String("PLU_MG"))
            comboMG_No->setEnabled(true);
    }
    delete SelectItem->takeItem(k);
    if (k > 0) {
        setListIndex(SelectItem, k - 1);
    } else {
        SelectItem->setCurrentRow(-1);
        SelectItem->clearSelection();
    }
}

void frmImportOrExport::commandSave_Click()
{
    PluChoice choice{comboSeperator->currentIndex(),
                     chkPLU->isChecked(),
                     gImportExport().CommodityFontSize,
                     gImportExport().DescriptionFontSize,
                     {}};
    for (const int p : fieldPositions(entries(SelectItem), entries(listItem)))
        choice.positions << qMax(p, 0);
    const QString path = CommonDialog1(FileDialogKind::Save, this);
    if (path.isEmpty())
        return;
    tryStep([&] { writePluChoice(path, choice); }, langMsg(QStringLiteral("fileWriteErr")), this);
}

void frmImportOrExport::commandOpen_Click()
{
    const QString path = CommonDialog1(FileDialogKind::Open, this);
    if (path.isEmpty())
        return;
    ImportExportState& s = gImportExport();
    const PluChoice current{
        comboSeperator->currentIndex(), chkPLU->isChecked(), s.CommodityFontSize, s.DescriptionFontSize, {}};
    PluChoice choice;
    if (!tryStep([&] { choice = readPluChoice(path, current, listItem->count(), comboFontSize->count()); },
                 langMsg(QStringLiteral("fileReadErr")), this))
        return;
    SelectItem->clear();
    for (const int p : std::as_const(choice.positions))
        SelectItem->addItem(listItem->item(p)->text());
    setListIndex(comboSeperator, choice.separator);
    setChecked(chkPLU, choice.override);
    s.CommodityFontSize = qint16(choice.commodityFontSize);
    s.DescriptionFontSize = qint16(choice.descriptionFontSize);
    if (importMode()) {
        // The lists stand for what the file does not carry.
        const QStringList chosen = entries(SelectItem);
        comboST_No->setEnabled(!chosen.contains(QStringLiteral("ST_No")));
        comboMG_No->setEnabled(!chosen.contains(QStringLiteral("PLU_MG")));
    }
    if (SelectItem->count() > 0)
        setListIndex(SelectItem, 0);
}

void frmImportOrExport::cmdExport_Click()
{
    PluExportRequest request;
    request.columns = entries(SelectItem);
    if (request.columns.isEmpty())
        return;
    request.separator = separatorFor(comboSeperator->currentIndex());
    request.titleLine = msgBox(langMsg(QStringLiteral("PLUTitle")), MsgIcon::Question, MsgButtons::YesNo, this)
        == MsgYes;
    const QString path = CommonDialog1(FileDialogKind::Save, this);
    if (path.isEmpty())
        return;
    request.format = settingsValueFormat();
    setBusy(true);
    // The old file is replaced only by a complete one; a failure says why and is never reported as done.
    const auto failure = [](const Error& e) {
        return dynamic_cast<const ReportReadError*>(&e) ? langMsg(QStringLiteral("dbReadErr"))
                                                        : langMsg(QStringLiteral("fileWriteErr"));
    };
    if (tryStep([&] { exportPlus(path, request); }, failure, this))
        msgBox(langMsg(QStringLiteral("exportOK")), MsgIcon::Exclamation, MsgButtons::Ok, this);
    setBusy(false);
}

void frmImportOrExport::cmdImport_Click()
{
    PluImportRequest request;
    request.columns = entries(SelectItem);
    if (request.columns.isEmpty())
        return;
    if (pluNoColumns(request.columns) != 1) {
        msgBox(langMsg(QStringLiteral("importPLU")), MsgIcon::Exclamation, MsgButtons::Ok, this);
        return;
    }
    request.titleLine = msgBox(langMsg(QStringLiteral("PLUTitle")), MsgIcon::Question, MsgButtons::YesNo, this)
        == MsgYes;
    setBusy(true);
    request.path = CommonDialog1(FileDialogKind::Open, this);
    DoEvents();
    if (request.path.isEmpty()) {
        setBusy(false);
        return;
    }
    request.separator = separatorFor(comboSeperator->currentIndex());
    request.override = chkPLU->isChecked();
    request.storeText = comboST_No->currentText();
    request.mainGroupText = comboMG_No->currentText();
    request.commodityFontSize = gImportExport().CommodityFontSize;
    request.descriptionFontSize = gImportExport().DescriptionFontSize;
    request.format = settingsValueFormat();
    // A failure rolls the whole import back: the file unreadable (a pipe or a device too), or the database refusing
    // a write; so does a stop when the program is asked to end, which shows nothing.
    const auto failure = [](const Error& e) {
        return dynamic_cast<const ImportReadError*>(&e) ? langMsg(QStringLiteral("fileReadErr"))
                                                        : langMsg(QStringLiteral("dbWriteErr"));
    };
    PluImportResult result;
    if (tryStep([&] { result = importPlus(request); }, failure, this))
        msgBox(MsgText{importMessageKey(result), importMessage(result)}, MsgIcon::Exclamation, MsgButtons::Ok, this);
    setBusy(false);
    gStoreTree().gReloadPLUList = 1;
}

void frmImportOrExport::cmdClose_Click() { close(); }

void frmImportOrExport::closeEvent(QCloseEvent* event)
{
    gStoreTree().gReloadPLUList = 1;
    QWidget::closeEvent(event);
}

} // namespace quorvane
