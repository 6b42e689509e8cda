#include "presetkeys/ui/frmPutPreKey.h"

#include "platform/db/Connection.h"
#include "platform/events/DoEvents.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/LimitedEdit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/PresetKeyState.h"
#include "state/ProgramState.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace quorvane {

using namespace presetkeys;
using namespace ui;

using W = frmPutPreKey;

const ControlTable frmPutPreKey::kControls{
    .section = "frm_PutPreKey",
    .title = "frmPutPreKey",
    .size = {9255, 5340},
    .controls =
        {
            label("lblPresetKey", {240, 150, 4815, 285}).caption().to(&W::lblPresetKey),
            frame("frameChoose", {120, 480, 5055, 4035}).caption().to(&W::frameChoose),
            label("lblPluNo", {120, 330, 1815, 255}).in("frameChoose").caption().to(&W::lblPluNo),
            textBox("txtPluNo", {2040, 300, 2895, 315}).in("frameChoose").to(&W::txtPluNo),
            label("lblCommodity", {120, 750, 1815, 255}).in("frameChoose").caption().to(&W::lblCommodity),
            textBox("txtCommodity", {2040, 720, 2895, 315})
                .in("frameChoose")
                .tab(1)
                .onLeave(&W::txtCommodity_LostFocus)
                .to(&W::txtCommodity),
            label("lblFunctionKey", {120, 1290, 1815, 255}).in("frameChoose").caption(),
            comboBox("CombFuncKey", {2040, 1260, 2895, 315})
                .in("frameChoose")
                .tab(2)
                .on(&W::CombFuncKey_Click)
                .to(&W::CombFuncKey),
            label("lblClerkKey", {120, 1710, 1815, 255}).in("frameChoose").caption(),
            comboBox("CombClerkKey", {2040, 1680, 2895, 315})
                .in("frameChoose")
                .tab(3)
                .on(&W::CombClerkKey_Click)
                .to(&W::CombClerkKey),
            label("lblPaymentKey", {120, 2130, 1815, 255}).in("frameChoose").caption(),
            comboBox("CombPaymentKey", {2040, 2100, 2895, 315})
                .in("frameChoose")
                .tab(4)
                .on(&W::CombPaymentKey_Click)
                .to(&W::CombPaymentKey),
            label("lblBatchReportKey", {120, 2550, 1815, 255}).in("frameChoose").caption(),
            comboBox("CombBatchReportKey", {2040, 2520, 2895, 315})
                .in("frameChoose")
                .tab(5)
                .on(&W::CombBatchReportKey_Click)
                .to(&W::CombBatchReportKey),
            label("lblPresetTareKey", {120, 2970, 1815, 255}).in("frameChoose").caption(),
            maskedEdit("meditPresetTare", {2040, 2940, 1575, 315})
                .in("frameChoose")
                .tab(6)
                .on(&W::meditPresetTare_Change)
                .onLeave(&W::meditPresetTare_LostFocus)
                .to(&W::meditPresetTare),
            label("lblPresetTareG", {3720, 2970, 1215, 255}).in("frameChoose").to(&W::lblPresetTareG),
            commandButton("cmdBrowse", {120, 3450, 2295, 420})
                .in("frameChoose")
                .tab(7)
                .caption()
                .on(&W::cmdBrowse_Click)
                .to(&W::cmdBrowse),
            commandButton("cmdDel", {2640, 3450, 2295, 420})
                .in("frameChoose")
                .tab(8)
                .caption()
                .on(&W::cmdDel_Click)
                .to(&W::cmdDel),
            frame("frameBrowse", {5295, 480, 3840, 4035}).caption().to(&W::frameBrowse),
            flexGrid("GridBrowse", {120, 300, 3600, 3615})
                .in("frameBrowse")
                .tab(9)
                .on(&W::GridBrowse_Click)
                .to(&W::GridBrowse),
            commandButton("cmdPrev", {120, 4710, 1575, 420}).tab(10).caption().on(&W::cmdPrev_Click).to(&W::cmdPrev),
            commandButton("cmdNext", {1815, 4710, 1575, 420}).tab(11).caption().on(&W::cmdNext_Click).to(&W::cmdNext),
            commandButton("cmdOK", {5895, 4710, 1455, 420}).tab(12).caption().on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCancel", {7560, 4710, 1455, 420})
                .tab(13)
                .caption()
                .on(&W::cmdCancel_Click)
                .to(&W::cmdCancel),
        },
};

namespace {

constexpr int KeyNameChars = 25;
constexpr int TareDigits = 4;
constexpr int GridMargin = 250;

// Column 0 1000 twips, column 1 the rest of the grid less room for the scroll bar.
QList<FlexColumn> browseColumns(const QTableWidget* grid)
{
    return {{gLangPutPreKey.text(QStringLiteral("GridBrowsePLU")), 1000},
            {gLangPutPreKey.text(QStringLiteral("GridBrowseCommName")), designRect(grid).width() - 1000 - GridMargin}};
}

} // namespace

bool frmPutPreKey::editKey(QWidget* parent)
{
    frmPutPreKey dialog(parent);
    return dialog.isLoaded() && dialog.exec() == QDialog::Accepted;
}

frmPutPreKey::frmPutPreKey(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPutPreKey"));
    setModal(true);
    createControls(this, kControls);
    meditPresetTare->installEventFilter(this);
    m_loaded = Form_Load();
}

// The field that has the focus loses it while the dialog is whole: its leave handler needs the dialog.
frmPutPreKey::~frmPutPreKey()
{
    if (QWidget* focused = focusWidget())
        focused->clearFocus();
}

bool frmPutPreKey::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangPutPreKey);
    lblPresetTareG->setText(gLangMainTab.text(QStringLiteral("MainTabTareG")));

    // The page is 0 while the lists are filled, so their first entries change no page.
    m_editor = KeyEditor();
    CombFuncKey->clear();
    for (int i = 1; i <= gParFunctionKey.count(); ++i)
        CombFuncKey->addItem(gParFunctionKey.at(i));
    const auto fill = [](QComboBox* list, int count, const QString& text) {
        list->clear();
        for (int i = 1; i <= count; ++i)
            list->addItem(text + QLatin1Char(' ') + QString::number(i));
    };
    fill(CombClerkKey, 98, gLangPutPreKey.text(QStringLiteral("combClerk")));
    fill(CombPaymentKey, 9, gLangPutPreKey.text(QStringLiteral("combPayment")));
    fill(CombBatchReportKey, 99, gLangPutPreKey.text(QStringLiteral("combBatchReport")));
    for (QComboBox* list : {CombFuncKey, CombClerkKey, CombPaymentKey, CombBatchReportKey})
        setListIndex(list, 0);

    limitEdit(meditPresetTare, EditLimit().chars(TareDigits).digits().leadingZero(TareForm));
    setText(meditPresetTare, QStringLiteral("0"));
    meditPresetTare_LostFocus();
    limitEdit(txtCommodity, EditLimit().chars(KeyNameChars).refusal(langMsg(QStringLiteral("charRefused"))));
    frameBrowse->setVisible(false);

    setupFlexGrid(GridBrowse, browseColumns(GridBrowse), 2);

    const int key = gPresetKeys().gCurKeyNo;
    lblPresetKey->setText(presetKeyCaption(key, 1));
    KeyEditor loaded;
    if (!tryStep([&] { loaded = LoadKeyEditor(key); }, langMsg(QStringLiteral("dbReadErr")), this))
        return false;
    m_editor = loaded;
    showEditor();
    txtPluNo->setEnabled(false);
    showPageButtons();
    cmdOK->setDefault(true);
    return true;
}

// The dialog shows what the editor holds of the current page.
void frmPutPreKey::showEditor()
{
    txtPluNo->setText(m_editor.txtPluNo);
    setText(txtCommodity, m_editor.txtCommodity);
    const KindCaptions captions = kindCaptions(m_editor.captionKind);
    lblPluNo->setText(captions.number);
    lblCommodity->setText(captions.name);
}

void frmPutPreKey::showPageButtons()
{
    cmdPrev->setEnabled(m_editor.page > 1);
    cmdNext->setEnabled(m_editor.page < 3);
    lblPresetKey->setText(presetKeyCaption(m_editor.key, m_editor.page));
}

void frmPutPreKey::pickFrom(QComboBox* list, KeyList kind)
{
    if (m_editor.page == 0)
        return;
    PickListEntry(m_editor, kind, list->currentIndex(), list->currentText());
    showEditor();
}

void frmPutPreKey::CombFuncKey_Click() { pickFrom(CombFuncKey, KeyList::Function); }
void frmPutPreKey::CombClerkKey_Click() { pickFrom(CombClerkKey, KeyList::Clerk); }
void frmPutPreKey::CombPaymentKey_Click() { pickFrom(CombPaymentKey, KeyList::Payment); }
void frmPutPreKey::CombBatchReportKey_Click() { pickFrom(CombBatchReportKey, KeyList::BatchReport); }

void frmPutPreKey::meditPresetTare_Change()
{
    const QString text = meditPresetTare->text();
    if (const QString shorter = withoutLeadingZero(text); shorter != text)
        setText(meditPresetTare, shorter);
}

bool frmPutPreKey::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == meditPresetTare && event->type() == QEvent::FocusIn) {
        // Typed in weight units while focused.
        setText(meditPresetTare, presetTareEntered(meditPresetTare->text()));
        meditPresetTare->selectAll();
        // A click that gave the focus places the cursor after this event.
        QTimer::singleShot(0, meditPresetTare, [box = meditPresetTare] {
            if (box->hasFocus())
                box->selectAll();
        });
    }
    return QDialog::eventFilter(watched, event);
}

void frmPutPreKey::meditPresetTare_LostFocus()
{
    if (meditPresetTare->text().isEmpty())
        setText(meditPresetTare, QStringLiteral("0"));
    setText(meditPresetTare, LeavePresetTare(m_editor, meditPresetTare->text()));
    showEditor();
}

void frmPutPreKey::txtCommodity_LostFocus() { LeaveKeyName(m_editor, txtCommodity->text()); }

void frmPutPreKey::cmdBrowse_Click()
{
    GridBrowse->setVisible(false);
    DoEvents();
    cmdBrowse->setEnabled(false); // one browse an opening
    setupFlexGrid(GridBrowse, browseColumns(GridBrowse), 1);
    int rows = 0;
    tryStep(
        [&] {
            db::Statement query = browsePLUs(gPresetKeys().gPSKStoreNo);
            rows = fillFlexGrid(GridBrowse, query,
                                [](const db::Statement& q, int, std::span<QTableWidgetItem* const> cells) {
                                    cells[0]->setText(QString::number(q.columnInt(0)));
                                    if (const QVariant name = q.column(1); !name.isNull())
                                        cells[1]->setText(keyNameOfBlock(name.toByteArray()));
                                });
        },
        langMsg(QStringLiteral("dbReadErr")), this);
    if (rows == 0) {
        // An empty store: the grid keeps one empty row and takes no click.
        GridBrowse->setRowCount(1);
        GridBrowse->setEnabled(false);
    }
    GridBrowse->setVisible(true);
    frameBrowse->setVisible(true);
}

void frmPutPreKey::GridBrowse_Click()
{
    const int row = GridBrowse->currentRow() + 1;
    if (row < 1 || flexText(GridBrowse, row, 0).isEmpty())
        return;
    PickBrowsedPLU(m_editor, flexText(GridBrowse, row, 0), flexText(GridBrowse, row, 1));
    showEditor();
}

void frmPutPreKey::cmdDel_Click()
{
    DeleteKeyPage(m_editor);
    showEditor();
}

void frmPutPreKey::cmdPrev_Click()
{
    PrevKeyPage(m_editor);
    showPageButtons();
    showEditor();
}

void frmPutPreKey::cmdNext_Click()
{
    NextKeyPage(m_editor);
    showPageButtons();
    showEditor();
}

void frmPutPreKey::cmdOK_Click()
{
    // A name or tare typed last counts, also when Enter pressed OK.
    commitFocusedField(this);
    // A save that fails writes none of the pages and leaves the dialog open.
    if (tryStep([this] { SavePresetKey(m_editor); }, langMsg(QStringLiteral("dbWriteErr")), this))
        accept();
}

void frmPutPreKey::cmdCancel_Click() { reject(); }

} // namespace quorvane
