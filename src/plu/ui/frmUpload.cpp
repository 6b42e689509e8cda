#include "plu/ui/frmUpload.h"

#include "platform/ui/FieldCopy.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/HandlerRun.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Widgets.h"
#include "plu/ReceivedPlus.h"
#include "plu/ReceivedRecordView.h"
#include "plu/ui/PluEditorControls.h"
#include "plu/ui/PluListView.h"
#include "plu/ui/PluPanel.h"
#include "records/PluRecord.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/SharedData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace quorvane::plu {

using namespace ui;
using W = frmUpload;

namespace {

MsgText dbWriteErr() { return langMsg(QStringLiteral("dbWriteErr")); }
MsgText dbReadErr() { return langMsg(QStringLiteral("dbReadErr")); }

// The record view: the PLU editor's controls, laid out as the editor lays them out, on pages and frames of the
// window's own; meditMG stands in place of the main-group list and the department, and the text buttons are left out.
QList<Control> recordViewRows()
{
    const QList<Control> editor = pluPanelRows();
    const auto take = [&](std::initializer_list<const char*> names, const char* on, QPoint shift) {
        QStringList taken;
        for (const char* name : names)
            taken << QString::fromLatin1(name);
        return placedOn(takeRows(editor, taken), on, shift);
    };
    return QList<Control>{
               tabPage("pageUpload(1)").in("SSTabPLUupload").caption("MainTab0"),
               frame("Frame6", {60, 60, 6780, 4320}).in("pageUpload(1)"),
               frame("Frame12", {6900, 60, 4020, 4320}).in("pageUpload(1)"),
               tabPage("pageUpload(2)").in("SSTabPLUupload").caption("MainTab1"),
               tabPage("pageUpload(3)").in("SSTabPLUupload").caption("MainTab2"),
           }
    + take({"lblPLU", "meditPLU", "lblName", "txtName", "lblDescription", "meditDescription", "lblUPrice",
            "meditUPrice", "lblPriceUnit", "combSymbol", "lblTare", "meditTare", "lblTareG", "chkWeighed",
            "lblCoupledPLU", "meditCoupledPLU", "chkUPoverride", "chknegativePLU", "lblMG"},
           "Frame6", {-60, 135})
        + panelRows<PluPanel>({textBox("meditMG", {1680, 3090, 1500, 345}).in("Frame6")})
        + take({"lblMemDiscType", "combMemDiscType", "lblMemDisc", "meditMemDisc", "lblMemDiscPerSym"}, "Frame12",
               {-6870, 135})
        + take({"lblCost"}, "Frame12", {0, -675}) + take({"meditCost"}, "Frame12", {240, -675})
        + take({"Frame5",           "lblItemCode",       "meditItemCode", "combRSData",
                "lblBarCodeFormat", "combBarcodeFormat", "lblReference",  "lblFlagCode",
                "meditFlagCode1",   "meditFlagCode2",    "Frame3",        "lblTaxNum",
                "meditTaxNum",      "lblTax2Num",        "meditTax2Num",  "Frame4",
                "lblDiscScheNum",   "meditDiscScheNum",  "lblPriScheNum", "meditPriScheNum",
                "Frame8",           "lblIngrNum",        "meditIngrNum",  "lblSMsgNum",
                "meditSMsgNum"},
               "pageUpload(2)", {})
        + take({"Frame2",           "lblDiscType",      "combDiscType",       "chkPricePriority",
                "Frame1",           "lblStartDate",     "DTPickerStartDate",  "lblEndDate",
                "DTPickerEndDate",  "lblStartTime",     "DTPickerStartTime",  "lblEndTime",
                "DTPickerEndTime",  "lblDiscDayOfWeek", "meditDiscDayOfWeek", "lblDiscDay",
                "FrameDisc1",       "lblDiscLmt1",      "meditDiscLimit1",    "lblDiscLimit1G",
                "lblDiscLmtPer1",   "meditDiscLmtPer1", "lblDiscLmtPerSym1",  "FrameDisc2",
                "lblDiscLmt2",      "meditDiscLimit2",  "lblDiscLimit2G",     "lblDiscLmtPer2",
                "meditDiscLmtPer2", "lblDiscLmtPerSym2"},
               "pageUpload(3)", {});
}

} // namespace

QList<Control> frmUpload::controls()
{
    constexpr int H = 345;
    constexpr const char* Target = "Frame11";
    return QList<Control>{
               flexGrid("GridPLUUpload", {120, 120, 9720, 3480}).tab(1).on(&W::GridPLUUpload_Click).to(&W::GridPLUUpload),
               frame("Frame11", {9960, 60, 2520, 3540}).caption("upTransfer").to(&W::Frame11),
               label("lblSTno", {120, 300, 1080, H}).in(Target).caption("upSTNum"),
               comboBox("combST", {1260, 300, 1140, H}).in(Target).tab(2).on(&W::combST_Click).to(&W::combST),
               label("lblDPno", {120, 765, 1080, H}).in(Target).caption("upDPNum"),
               comboBox("combDP", {1260, 765, 1140, H}).in(Target).tab(3).on(&W::combDP_Click).to(&W::combDP),
               label("lblMGno", {120, 1230, 1080, H}).in(Target).caption("upMGNum"),
               comboBox("combMG", {1260, 1230, 1140, H}).in(Target).tab(4).to(&W::combMG),
               checkBox("chkSamePLU", {120, 1740, 2280, 600}).in(Target).tab(5).caption("upOverride").to(&W::chkSamePLU),
               commandButton("cmdTransfer", {120, 2880, 2280, 420})
                   .in(Target)
                   .tab(6)
                   .caption("upTransfer")
                   .on(&W::cmdTransfer_Click)
                   .to(&W::cmdTransfer),
               tabStrip("SSTabPLUupload", {120, 3720, 11040, 4920}).tab(7).to(&W::SSTabPLUupload),
           }
    + shownOnly(uncaptioned(recordViewRows()))
        + QList<Control>{
            commandButton("cmdClose", {11280, 8220, 1200, 420})
                .tab(8)
                .caption("upClose")
                .on(&W::cmdClose_Click)
                .to(&W::cmdClose),
            progressBar("Bar", {120, 8760, 11040, 300}).to(&W::Bar),
            label("lblLoading", {120, 8760, 11040, 300}).caption("loading").to(&W::lblLoading),
        };
}

const ControlTable frmUpload::kRecordView{
    .section = "frmMain_sstab",
    .size = QSize(), // part of the window
    .controls = recordViewRows(),
};

// The grid and the target on top, the record view below, the close button and the progress at the bottom.
const ControlTable frmUpload::kControls{
    .section = "frm_OTHER",
    .title = "upTitle",
    .size = {12600, 9180},
    .controls = controls(),
};

frmUpload::frmUpload(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUpload"));
    setModal(true);
    createControls(this, kControls);
    Form_Load();
}

frmUpload::~frmUpload() { gRsReceived.close(); }

void frmUpload::review(QWidget* caller)
{
    const bool disable = caller && caller->isEnabled();
    if (disable)
        caller->setEnabled(false);
    {
        // Without a parent: a window under the disabled caller would be disabled with it.
        frmUpload dialog;
        dialog.exec();
    }
    if (disable)
        caller->setEnabled(true);
}

void frmUpload::Form_Load()
{
    gRsPLU.close(); // the caller lists its PLUs again afterwards
    mListReady = false;
    GridPLUUpload->hide();
    setCaptions(this, kControls, gLangOther);
    cmdClose->setEnabled(false);
    cmdTransfer->setEnabled(false);
    iniSSTabPLUupload();

    // Even rows light cyan; column 1 takes the button face from the row fill.
    GridPLUUpload->setAlternatingRowColors(true);
    QPalette colours = GridPLUUpload->palette();
    colours.setColor(QPalette::AlternateBase, QColor(192, 255, 255));
    GridPLUUpload->setPalette(colours);
    GridPLUUpload->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridPLUUpload->verticalHeader()->setDefaultSectionSize(GridPLUUpload->fontMetrics().height() + 6);
    GridPLUUpload->installEventFilter(this);
    GridPLUUpload->viewport()->installEventFilter(this);
    QHeaderView* header = GridPLUUpload->horizontalHeader();
    header->setHighlightSections(false);
    QObject::disconnect(header, SIGNAL(sectionPressed(int)), GridPLUUpload, nullptr);
    QObject::disconnect(header, SIGNAL(sectionEntered(int)), GridPLUUpload, nullptr);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        const HandlerRun run(this);
        GridPLUUpload_HeaderClick(column);
    });
    // Every other way to another row (a press released on it, the paging keys, a typed letter) shows it as a click
    // does, as the PLU grid does.
    if (auto* rows = qobject_cast<FlexGridWidget*>(GridPLUUpload))
        connect(rows, &FlexGridWidget::rowChosen, this, [this] {
            const HandlerRun run(this);
            GridPLUUpload_RowChosen();
        });

    tryStep([this] { FillStoreCombo(); }, dbReadErr(), this);
    mCurrentRow = 1;
    SSTabPLUupload->setCurrentIndex(0);
    GridPLUUpload->show();
    mListReady = true;
    Bar->hide();
    lblLoading->show();
    mShiftDown = false;
    mAllMarked = false;
}

// Captions, lists and the first values of the record view, every control of it disabled.
void frmUpload::iniSSTabPLUupload()
{
    setCaptions(this, kRecordView, gLangMainTab);
    const PluPanel& p = pluPanel(this);
    PluEditorValues tab;
    showEditorSetUp(this, receivedViewSetUp(), tab);
    p.combBarcodeFormat->setCurrentIndex(p.combBarcodeFormat->count() - 1);
    p.chkWeighed->setChecked(true);
    p.meditFlagCode1->setText(QStringLiteral("0"));
    p.meditFlagCode2->setText(QStringLiteral("0"));
    for (QDateEdit* picker : {p.DTPickerStartDate, p.DTPickerEndDate})
        picker->setDate(QDate::currentDate());
}

void frmUpload::ShowPluDataUpload(int index)
{
    tryStep(
        [&] {
            gRsReceived.move(index);
            const ReceivedRecordView view = receivedRecordView(records::readPluRow(gRsReceived));
            const PluPanel& p = pluPanel(this);
            showUnitLabels(this, view.units);
            fields::Format format = fields::currentFormat();
            format.dateFormat = view.dateFormat.value_or(QString());
            format.timeFormat.clear(); // set once
            for (const auto& [name, shown] : view.values)
                showField(p.control(name), shown, format);
            p.lblReference->setText(view.lblReference);
        },
        dbReadErr(), this);
}

void frmUpload::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_filled)
        return;
    m_filled = true;
    setEnabled(false);
    ShowPluData();
    setEnabled(true);
    cmdClose->setEnabled(true);
    cmdTransfer->setEnabled(false);
}

void frmUpload::ShowPluData()
{
    GridPLUUpload->hide();
    records::ClearBarFormatMemories();
    QList<FlexColumn> columns = pluGridColumns();
    columns[MarkColumn].header = QStringLiteral("S");
    setupFlexGrid(GridPLUUpload, columns, 1);
    const bool listed = tryStep(
        [this] {
            OpenReceivedList();
            db::Statement query = gDBConnection.prepare(receivedListSql());
            fillFlexGrid(GridPLUUpload, query, pluGridRowFill(GridPLUUpload->palette().button()));
        },
        dbReadErr(), this);
    m_marks = std::make_unique<MarkList>(QStringLiteral("RC_25"), listed ? gRsReceived.rowids() : QVector<qint64>());
    lblLoading->hide();
    GridPLUUpload->show();
    GridPLUUpload->setEnabled(true);
    if (m_marks->rowids().isEmpty())
        return;
    GridPLUUpload->setCurrentCell(0, 1);
    mCurrentRow = 1;
    m_anchorRow = 1;
    movePointer();
}

void frmUpload::FillStoreCombo()
{
    combST->clear();
    combST->addItems(receivedStoreList());
    combST->setCurrentIndex(0);
    const ReceivedDeptMG lists = receivedDeptMGLists(combST->currentText());
    showLists(lists.combDP, lists.combMG);
    chkSamePLU->setChecked(true);
}

// The lists are filled with Qt's own setters: the fallbacks to "97" and "997" are the core's, run once.
void frmUpload::showLists(const QStringList& departments, const QStringList& mainGroups)
{
    if (!departments.isEmpty()) {
        combDP->clear();
        combDP->addItems(departments);
        combDP->setCurrentIndex(0);
    }
    combMG->clear();
    combMG->addItems(mainGroups);
    combMG->setCurrentIndex(0);
}

void frmUpload::combST_Click()
{
    if (!mListReady)
        return;
    tryStep(
        [this] {
            const ReceivedDeptMG lists = receivedDeptMGLists(combST->currentText());
            showLists(lists.combDP, lists.combMG);
        },
        dbReadErr(), this);
}

void frmUpload::combDP_Click()
{
    if (!mListReady)
        return;
    tryStep(
        [this] {
            const ReceivedDeptMG lists = receivedMGList(combST->currentText(), combDP->currentText());
            showLists(lists.combDP, lists.combMG);
        },
        dbReadErr(), this);
}

bool frmUpload::anyMarked() const
{
    for (int r = 1; r < flexRows(GridPLUUpload); ++r)
        if (!flexText(GridPLUUpload, r, MarkColumn).isEmpty())
            return true;
    return false;
}

// The copy may run once a row is marked, and not without a store to copy into: that is said once.
void frmUpload::enableTransfer()
{
    const bool marked = anyMarked();
    if (marked && !anyStoreExists()) {
        if (!m_noStoreSaid)
            msgBox(langMsg(QStringLiteral("upNoStore")), MsgIcon::Exclamation, MsgButtons::Ok, this);
        m_noStoreSaid = true;
        cmdTransfer->setEnabled(false);
        return;
    }
    cmdTransfer->setEnabled(marked);
}

void frmUpload::setMarks(int startRow, int count, MarkMode mode, bool currentMarked)
{
    std::optional<int> written;
    if (!tryStep([&] { written = m_marks->set(startRow, count, mode, currentMarked); }, dbWriteErr(), this) || !written)
        return;
    for (int r = startRow; r < startRow + count && r < flexRows(GridPLUUpload); ++r)
        setFlexText(GridPLUUpload, r, MarkColumn, *written ? QStringLiteral("*") : QString());
}

void frmUpload::movePointer()
{
    const int row = GridPLUUpload->currentRow() + 1;
    if (row < 1)
        return;
    if (mCurrentRow >= 1 && mCurrentRow < flexRows(GridPLUUpload))
        setFlexText(GridPLUUpload, mCurrentRow, 0, QString());
    setFlexText(GridPLUUpload, row, 0, QStringLiteral("*"));
    mCurrentRow = row;
    ShowPluDataUpload(row - 1);
}

void frmUpload::GridPLUUpload_Click()
{
    if (!m_marks || m_marks->rowids().isEmpty())
        return;
    const int row = GridPLUUpload->currentRow() + 1;
    if (mShiftDown) {
        const int from = qMin(row, m_anchorRow), to = qMax(row, m_anchorRow);
        setMarks(from, to - from + 1, MarkMode::Mark);
        enableTransfer();
    } else {
        m_anchorRow = row;
        if (GridPLUUpload->currentColumn() == MarkColumn) {
            setMarks(row, 1, MarkMode::Click, !flexText(GridPLUUpload, row, MarkColumn).isEmpty());
            enableTransfer();
        }
    }
    movePointer();
}

void frmUpload::GridPLUUpload_HeaderClick(int column)
{
    if (!m_marks || m_marks->rowids().isEmpty())
        return;
    const bool mark = column == MarkColumn && !mAllMarked;
    if (!tryStep([&] { m_marks->setAll(mark); }, dbWriteErr(), this))
        return;
    for (int r = 1; r < flexRows(GridPLUUpload); ++r)
        setFlexText(GridPLUUpload, r, MarkColumn, mark ? QStringLiteral("*") : QString());
    GridPLUUpload->horizontalHeaderItem(MarkColumn)->setText(mark ? QStringLiteral("C") : QStringLiteral("S"));
    mAllMarked = mark;
    enableTransfer();
    movePointer();
}

bool frmUpload::GridPLUUpload_KeyDown(int key, bool shift)
{
    if (shift)
        mShiftDown = true;
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    const int row = GridPLUUpload->currentRow() + (key == Qt::Key_Up ? -1 : 1);
    if (row >= 0 && row < GridPLUUpload->rowCount()) {
        GridPLUUpload->setCurrentCell(row, qMax(GridPLUUpload->currentColumn(), 1));
        if (!mShiftDown)
            m_anchorRow = row + 1;
        movePointer();
    }
    return true;
}

void frmUpload::GridPLUUpload_RowChosen()
{
    const int row = GridPLUUpload->currentRow() + 1;
    if (!m_marks || row < 1 || row == mCurrentRow)
        return;
    if (!mShiftDown)
        m_anchorRow = row;
    movePointer();
}

void frmUpload::GridPLUUpload_KeyUp() { mShiftDown = false; }

bool frmUpload::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GridPLUUpload && event->type() == QEvent::KeyPress) {
        const HandlerRun run(this);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (GridPLUUpload_KeyDown(key->key(), key->modifiers().testFlag(Qt::ShiftModifier)))
            return true;
    } else if (watched == GridPLUUpload && event->type() == QEvent::KeyRelease) {
        GridPLUUpload_KeyUp();
    } else if (watched == GridPLUUpload->viewport() && event->type() == QEvent::MouseButtonPress) {
        // Shift held with the press counts as with a key, wherever the focus was.
        mShiftDown = static_cast<QMouseEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier);
    }
    return QDialog::eventFilter(watched, event);
}

void frmUpload::cmdTransfer_Click()
{
    for (QWidget* w : {static_cast<QWidget*>(cmdTransfer), static_cast<QWidget*>(cmdClose),
                       static_cast<QWidget*>(Frame11), static_cast<QWidget*>(GridPLUUpload)})
        w->setEnabled(false);
    Bar->setMaximum(int(m_marks->rowids().size()));
    Bar->setValue(0);
    Bar->show();
    const ReceivedCopyTarget target{
        .store = combST->currentText(), .mainGroup = combMG->currentText(), .overwrite = chkSamePLU->isChecked()};
    ReceivedCopyResult copied;
    const bool ran = tryStep(
        [&] { copied = CopyReceivedPLUs(m_marks->rowids(), target, [this](int done) { Bar->setValue(done); }); },
        dbWriteErr(), this);
    if (ran && copied.refused.count > 0)
        msgBox(langMsg(QStringLiteral("upPluRefused"), copied.refused.namedText()), MsgIcon::Exclamation,
               MsgButtons::Ok, this);
    else if (ran)
        msgBox(MsgText{QStringLiteral("upTranOK"), gLangOther.text(QStringLiteral("upTranOK"))}, MsgIcon::None,
               MsgButtons::Ok, this);
    Bar->hide();
    for (QWidget* w : {static_cast<QWidget*>(cmdTransfer), static_cast<QWidget*>(cmdClose),
                       static_cast<QWidget*>(Frame11), static_cast<QWidget*>(GridPLUUpload)})
        w->setEnabled(true);
}

void frmUpload::cmdClose_Click() { close(); }

} // namespace quorvane::plu
