#include "otherfiles/ui/frmScrollMSG.h"

#include "datafiles/DataFileWriters.h"
#include "otherfiles/ScrollMessages.h"
#include "platform/ui/CellEdit.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTableWidget>

namespace quorvane {

using namespace otherfiles;
using namespace ui;

using W = frmScrollMSG;

namespace {

// One step's frame with its three labelled lists, `left` twips from the window's edge.
#define SCROLL_STEP(k, left)                                                                                           \
    frame("frameSeq(" #k ")", {left, 5520, 2460, 1740}).to(&W::frameSeq),                                              \
        label("lblMSGNo(" #k ")", {120, 330, 840, 255}).in("frameSeq(" #k ")").caption("lblMSGNo"),                    \
        comboBox("combMSGNo(" #k ")", {1020, 300, 1320, 315}).in("frameSeq(" #k ")").tab(3 + 3 * k).to(&W::combMSGNo), \
        label("lblPattern(" #k ")", {120, 810, 840, 255}).in("frameSeq(" #k ")").caption("lblPattern"),                \
        comboBox("combPattern(" #k ")", {1020, 780, 1320, 315})                                                        \
            .in("frameSeq(" #k ")")                                                                                    \
            .tab(4 + 3 * k)                                                                                            \
            .to(&W::combPattern),                                                                                      \
        label("lblSpeed(" #k ")", {120, 1290, 840, 255}).in("frameSeq(" #k ")").caption("lblSpeed"),                   \
        comboBox("combSpeed(" #k ")", {1020, 1260, 1320, 315}).in("frameSeq(" #k ")").tab(5 + 3 * k).to(&W::combSpeed)

} // namespace

// The message grid with its two buttons at the top; the sequence number, its three steps side by side and the
// sequence's buttons below.
const ControlTable frmScrollMSG::kControls{
    .section = "frm_ScrollMSG",
    .title = nullptr, // the menu entry that opens the window gives its title
    .size = {7860, 7980},
    .controls =
        {
            flexGrid("gridScrollMsg", {120, 120, 7620, 4620}).tab(1).on(&W::gridScrollMsg_Click).to(&W::gridScrollMsg),
            commandButton("cmdSaveM", {3840, 4860, 1860, 420}).tab(2).caption("cmdSave").on(&W::cmdSaveM_Click),
            commandButton("cmdDownloadM", {5880, 4860, 1860, 420})
                .tab(3)
                .caption("cmdDownload")
                .on(&W::cmdDownloadM_Click),
            label("lblSeqNum", {120, 4940, 1320, 255}).caption(),
            comboBox("combSeqNum", {1500, 4910, 1020, 315}).tab(4).on(&W::combSeqNum_Click).to(&W::combSeqNum),
            SCROLL_STEP(1, 120),
            SCROLL_STEP(2, 2700),
            SCROLL_STEP(3, 5280),
            commandButton("cmdSaveS", {1920, 7440, 1860, 420}).tab(15).caption("cmdSave").on(&W::cmdSaveS_Click),
            commandButton("cmdDownloadS", {3900, 7440, 1860, 420})
                .tab(16)
                .caption("cmdDownload")
                .on(&W::cmdDownloadS_Click),
            commandButton("cmdClose", {5880, 7440, 1860, 420}).tab(17).caption().on(&W::cmdClose_Click),
        },
};

#undef SCROLL_STEP

frmScrollMSG::frmScrollMSG()
{
    setObjectName(QStringLiteral("frmScrollMSG"));
    createControls(this, kControls);
    Form_Load();
}

void frmScrollMSG::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangScrollMSG);
    setupFlexGrid(gridScrollMsg,
                  {{QString(), 300, Qt::AlignCenter}, {gLangScrollMSG.text(QStringLiteral("gridScrollMsg")), 7260}},
                  ScrollCount + 1);
    tryStep(
        [&] {
            const QStringList shown = loadScrollMessages();
            for (int row = 1; row <= ScrollCount; ++row) {
                setFlexText(gridScrollMsg, row, 0, QString::number(row));
                setFlexText(gridScrollMsg, row, 1, shown.value(row - 1));
            }
        },
        langMsg(QStringLiteral("dbReadErr")), this);

    QStringList numbers;
    for (int n = 1; n <= ScrollCount; ++n)
        numbers << QString::number(n);
    combSeqNum->addItems(numbers);
    setListIndex(combSeqNum, 0);
    // Only the positions reach the scale: the pattern and speed texts are neutral.
    const QStringList patterns{
        gLangScrollMSG.text(QStringLiteral("combPLS")), gLangScrollMSG.text(QStringLiteral("combPB")),
        gLangScrollMSG.text(QStringLiteral("combPS")), gLangScrollMSG.text(QStringLiteral("combPRS")),
        gLangScrollMSG.text(QStringLiteral("combPWI"))};
    const QStringList speeds{gLangScrollMSG.text(QStringLiteral("combSS")),
                             gLangScrollMSG.text(QStringLiteral("combSN")),
                             gLangScrollMSG.text(QStringLiteral("combSF"))};
    for (int k = 1; k <= 3; ++k) {
        frameSeq(k)->setTitle(gLangScrollMSG.text(QStringLiteral("frameSeq")) + QLatin1Char(' ') + QString::number(k));
        combMSGNo(k)->addItems(QStringList{gLangScrollMSG.text(QStringLiteral("combnone"))} + numbers);
        combPattern(k)->addItems(patterns);
        combSpeed(k)->addItems(speeds);
    }
    std::optional<ScrollSequence> first;
    tryStep([&] { first = firstScrollSequence(); }, langMsg(QStringLiteral("dbReadErr")), this);
    LoadSequence(first ? first->number : 1);
    m_loaded = true;
}

void frmScrollMSG::LoadSequence(int number)
{
    ScrollSequence shown{.number = number};
    tryStep([&] { shown = loadScrollSequence(number); }, langMsg(QStringLiteral("dbReadErr")), this);
    m_shownNo = number;
    setListIndex(combSeqNum, number - 1);
    for (int k = 1; k <= 3; ++k) {
        const ScrollStep& step = shown.steps[size_t(k - 1)];
        setListIndex(combMSGNo(k), step.file);
        setListIndex(combPattern(k), step.pattern);
        setListIndex(combSpeed(k), step.speed);
    }
}

void frmScrollMSG::combSeqNum_Click()
{
    // Changes of the sequence shown before are dropped: only Save keeps them.
    const int number = combSeqNum->currentIndex() + 1;
    if (number != m_shownNo && m_loaded)
        LoadSequence(number);
}

void frmScrollMSG::gridScrollMsg_Click()
{
    const int row = std::max(1, gridScrollMsg->currentRow() + 1);
    CellEdit edit{.name = QStringLiteral("txtGrid")};
    edit.limit = EditLimit().bytes(ScrollMessageBytes).refusal(langMsg(QStringLiteral("charRefused")));
    // Control characters never reach a cell, so no line of the data file carries one.
    const auto kept = [this](int r, int column) {
        setFlexText(gridScrollMsg, r, column, scrollMessageText(flexText(gridScrollMsg, r, column)));
    };
    edit.entered = kept;
    edit.left = kept;
    editCell(gridScrollMsg, {row, 1}, edit);
}

QStringList frmScrollMSG::messages() const
{
    QStringList texts;
    for (int row = 1; row <= ScrollCount; ++row)
        texts << flexText(gridScrollMsg, row, 1);
    return texts;
}

bool frmScrollMSG::saveMessages()
{
    commitFocusedField(this);
    return tryStep([&] { saveScrollMessages(messages()); }, langMsg(QStringLiteral("dbWriteErr")), this);
}

bool frmScrollMSG::saveSequence()
{
    ScrollSequence sequence{.number = combSeqNum->currentIndex() + 1};
    for (int k = 1; k <= 3; ++k)
        sequence.steps[size_t(k - 1)] = {combMSGNo(k)->currentIndex(), combPattern(k)->currentIndex(),
                                         combSpeed(k)->currentIndex()};
    return tryStep([&] { saveScrollSequence(sequence); }, langMsg(QStringLiteral("dbWriteErr")), this);
}

void frmScrollMSG::cmdSaveM_Click() { saveMessages(); }

void frmScrollMSG::cmdSaveS_Click() { saveSequence(); }

void frmScrollMSG::cmdDownloadM_Click()
{
    if (!saveMessages())
        return;
    tryStep(
        [this] {
            sendScrollRows(0, [this] {
                requestTransfer(this, {.mode = TransferSend, .files = {datafiles::dataFileOf("KVB_3F")}});
            });
        },
        langMsg(QStringLiteral("dbWriteErr")), this);
}

void frmScrollMSG::cmdDownloadS_Click()
{
    if (!saveSequence())
        return;
    const int number = combSeqNum->currentIndex() + 1;
    tryStep(
        [this, number] {
            sendScrollRows(number, [this] {
                requestTransfer(this, {.mode = TransferSend, .files = {datafiles::dataFileOf("KVB_40")}});
            });
        },
        langMsg(QStringLiteral("dbWriteErr")), this);
}

void frmScrollMSG::cmdClose_Click() { close(); }

} // namespace quorvane
