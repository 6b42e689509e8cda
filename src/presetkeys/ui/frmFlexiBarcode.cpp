#include "presetkeys/ui/frmFlexiBarcode.h"

#include "datafiles/DataFileWriters.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "presetkeys/ui/KeySheet.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/FBarState.h"
#include "state/ProgramState.h"
#include "transfer/SendOptions.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace quorvane {

using namespace presetkeys;
using namespace ui;

using W = frmFlexiBarcode;

// The number and the send button at the top, the pattern below them, then five rows of lists, data field 1 on
// the left and data field 2 on the right, and the Save, Delete and Close buttons at the bottom.
const ControlTable frmFlexiBarcode::kControls{
    .section = "frm_FlexiBarcode",
    .title = nullptr, // the menu entry that opens the window gives its title
    .size = {9135, 5040},
    .controls =
        {
            label("labFBar_No", {240, 300, 1815, 255}).caption(),
            comboBox("ComboNo", {2160, 240, 1215, 315}).tab(1).on(&W::ComboNo_Click).to(&W::ComboNo),
            commandButton("cmdDownload", {6600, 180, 2295, 420}).tab(13).caption().on(&W::cmdDownload_Click),
            label("labFBar_Item", {240, 780, 8655, 495}).to(&W::labFBar_Item),
            label("labFBar_Type", {240, 1590, 1815, 255}).caption(),
            comboBox("ComboType", {2160, 1560, 2295, 315}).tab(2).on(&W::ShowBarcodePattern),
            label("labFBar_ItemNo", {4680, 1590, 1815, 255}).caption(),
            comboBox("ComboItemDigitNo", {6600, 1560, 2295, 315}).tab(3).on(&W::ShowBarcodePattern),
            label("labFBar_Data1Type", {240, 2070, 1815, 255}).caption(),
            comboBox("ComboData1Type", {2160, 2040, 2295, 315}).tab(4),
            label("labFBar_Data2Type", {4680, 2070, 1815, 255}).caption(),
            comboBox("ComboData2Type", {6600, 2040, 2295, 315}).tab(5),
            label("labFBar_Data1", {240, 2550, 1815, 255}).caption(),
            comboBox("ComboData1", {2160, 2520, 2295, 315}).tab(6).on(&W::ShowBarcodePattern),
            label("labFBar_Data2", {4680, 2550, 1815, 255}).caption(),
            comboBox("ComboData2", {6600, 2520, 2295, 315}).tab(7).on(&W::ShowBarcodePattern),
            label("labFBar_Data1SH", {240, 3030, 1815, 255}).caption(),
            comboBox("ComboData1SH", {2160, 3000, 2295, 315}).tab(8),
            label("labFBar_Data2SH", {4680, 3030, 1815, 255}).caption(),
            comboBox("ComboData2SH", {6600, 3000, 2295, 315}).tab(9),
            label("labFBar_CD", {240, 3510, 1815, 255}).caption(),
            comboBox("ComboCD", {2160, 3480, 2295, 315}).tab(10).on(&W::ShowBarcodePattern),
            label("labFBar_EANorITF", {4680, 3510, 1815, 255}).caption(),
            comboBox("ComboEANorITF", {6600, 3480, 2295, 315}).tab(11),
            commandButton("cmdSave", {240, 4320, 2775, 420}).tab(12).caption().on(&W::cmdSave_Click),
            commandButton("cmdDelete", {3180, 4320, 2775, 420})
                .tab(14)
                .caption()
                .on(&W::cmdDelete_Click)
                .to(&W::cmdDelete),
            commandButton("cmdClose", {7320, 4320, 1575, 420}).tab(15).caption().on(&W::cmdClose_Click),
        },
};

frmFlexiBarcode::frmFlexiBarcode()
{
    setObjectName(QStringLiteral("frmFlexiBarcode"));
    createControls(this, kControls);
    for (size_t i = 0; i < kFBarLists.size(); ++i)
        m_lists[i] = findChild<QComboBox*>(QLatin1String(kFBarLists[i].objectName));
    labFBar_Item->setFont(SheetCanvas::fontOf(QStringLiteral("Times New Roman"), 15, true));
    labFBar_Item->setAlignment(Qt::AlignCenter);
    Form_Load();
}

void frmFlexiBarcode::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangFlexiBarcode);
    for (size_t i = 0; i < kFBarLists.size(); ++i) {
        m_lists[i]->clear();
        m_lists[i]->addItems(kFBarLists[i].entries());
    }
    ShowFlexiBarcode(1, 1);
}

FBarChoices frmFlexiBarcode::choices() const
{
    FBarChoices c;
    for (size_t i = 0; i < kFBarLists.size(); ++i)
        c.*kFBarLists[i].field = m_lists[i]->currentIndex();
    return c;
}

void frmFlexiBarcode::ShowFlexiBarcode(int action, int number)
{
    resetFBarRec(number);
    int found = 0;
    // A format that cannot be read is shown as a missing one.
    tryStep([&] { found = FlexiBarcodeRecords(QStringLiteral("KVB_14"), action, number); },
            langMsg(QStringLiteral("dbReadErr")), this);
    m_shownNo = number;
    const FBarChoices shown = choicesOfRecord(gFBarRec());
    for (size_t i = 0; i < kFBarLists.size(); ++i)
        setListIndex(m_lists[i], shown.*kFBarLists[i].field);
    ShowBarcodePattern();
    cmdDelete->setEnabled(found == 1);
}

void frmFlexiBarcode::ComboNo_Click()
{
    // The number shown selected again, by the operator or by the load itself, loads nothing.
    const int number = ComboNo->currentIndex() + 1;
    if (number != m_shownNo)
        ShowFlexiBarcode(1, number);
}

void frmFlexiBarcode::ShowBarcodePattern() { labFBar_Item->setText(barcodePattern(choices())); }

void frmFlexiBarcode::cmdSave_Click()
{
    const FBarChoices chosen = choices();
    if (CheckBarcodeLength(chosen) == 0) {
        msgBox(langMsg(QStringLiteral("fbarcodeillegal")), MsgIcon::Exclamation, MsgButtons::Ok, this);
        return;
    }
    storeChoices(chosen, gFBarRec());
    if (tryStep([&] { FlexiBarcodeRecords(QStringLiteral("KVB_14"), 2, chosen.No + 1); },
                langMsg(QStringLiteral("dbWriteErr")), this))
        cmdDelete->setEnabled(true);
}

void frmFlexiBarcode::cmdDelete_Click()
{
    const int number = ComboNo->currentIndex() + 1;
    if (tryStep([&] { FlexiBarcodeRecords(QStringLiteral("KVB_14"), 3, number); },
                langMsg(QStringLiteral("dbWriteErr")), this))
        ShowFlexiBarcode(1, 1);
}

void frmFlexiBarcode::cmdDownload_Click()
{
    // What is sent is the table as saved; the marks stay set.
    tryStep(
        [this] {
            MarkStoreForDownload(QStringLiteral("KVB_14"));
            requestTransfer(this, {.mode = TransferSend, .files = {datafiles::dataFileOf("KVB_14")}});
        },
        langMsg(QStringLiteral("dbWriteErr")), this);
}

void frmFlexiBarcode::cmdClose_Click() { close(); }

} // namespace quorvane
