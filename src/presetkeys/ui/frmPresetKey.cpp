#include "presetkeys/ui/frmPresetKey.h"

#include "datafiles/DataFileWriters.h"
#include "platform/StateReset.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/Widgets.h"
#include "presetkeys/PresetKeyLayout.h"
#include "presetkeys/PresetKeyTable.h"
#include "presetkeys/ui/frmAutoPresetKey.h"
#include "presetkeys/ui/frmPutPreKey.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/PresetKeyState.h"
#include "state/ProgramState.h"
#include "transfer/TransferRequest.h"
#include "transfer/ui/RequestTransfer.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>

namespace quorvane {

using namespace presetkeys;
using namespace ui;

using W = frmPresetKey;

// The design geometry; the picture's size, the buttons' top and the window's size follow the layout at load.
const ui::ControlTable frmPresetKey::kControls{
    .section = "frm_PresetKey",
    .title = nullptr, // the menu entry that opens the window gives its title
    .size = {14295, 9405},
    .controls =
        {
            label("lblScale", {120, 240, 11535, 495}).to(&W::lblScale),
            pictureBox("picPresetKey", {120, 840, 13935, 6975}).to(&W::picPresetKey),
            commandButton("cmdClearAll", {240, 7920, 1095, 495})
                .tab(1)
                .caption()
                .on(&W::cmdClearAll_Click)
                .to(&W::cmdClearAll),
            commandButton("cmdUpload", {1440, 7920, 1095, 495})
                .tab(2)
                .caption()
                .on(&W::cmdUpload_Click)
                .to(&W::cmdUpload),
            commandButton("cmdPrint", {2640, 7920, 1095, 495}).tab(3).caption().on(&W::cmdPrint_Click).to(&W::cmdPrint),
            commandButton("cmdAuto", {3840, 7920, 1095, 495}).tab(4).caption().on(&W::cmdAuto_Click).to(&W::cmdAuto),
            commandButton("cmdClose", {5040, 7920, 1095, 495}).tab(5).caption().on(&W::cmdClose_Click).to(&W::cmdClose),
        },
};

namespace {

const QString kFace = QStringLiteral("Times New Roman");
constexpr int PrintDisabledLayout = 7;

bool showPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    return dialog.exec() == QDialog::Accepted;
}

// The stand-ins a test gives last until the program state is reset; then the real dialogs open again.
const ResetWithState kResetStandIns([] {
    frmPresetKey::printerDialog = nullptr;
    frmPresetKey::keyEditor = nullptr;
    frmPresetKey::autoAssignment = nullptr;
});

} // namespace

frmPresetKey::frmPresetKey()
{
    setObjectName(QStringLiteral("frmPresetKey"));
    createControls(this, kControls);
    lblScale->setFont(SheetCanvas::fontOf(kFace, 14.25, false));
    for (QPushButton* button : {cmdClearAll, cmdUpload, cmdPrint, cmdAuto, cmdClose})
        button->setFont(SheetCanvas::fontOf(kFace, 9, false));
    picPresetKey->setPainter([this](QPainter& painter) { paintSheet(painter); });
    picPresetKey->installEventFilter(this);
    m_loaded = Form_Load();
    // Whoever opened the window gets it back closed, which brings the main window back.
    if (!m_loaded)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void frmPresetKey::setVisible(bool visible) { QWidget::setVisible(visible && m_loaded); }

bool frmPresetKey::Form_Load()
{
    setCaptions(this, kControls, gLangPresetKey);
    QString label;
    // A file the sheet cannot be drawn from is named in the message; the window never shows.
    if (!tryStep([&label] { label = LoadPresetKeyLayout(); }))
        return false;
    const PresetKeyState& s = gPresetKeys();
    const QSize sheet = sheetSizeTwips(s.gKeyRows, s.gKeyCols, s.gKeyCellSize);
    const QRect picture = designRect(picPresetKey);
    setGeometryTwips(picPresetKey, QRect(picture.topLeft(), sheet));
    for (QPushButton* button : {cmdPrint, cmdUpload, cmdClose, cmdAuto, cmdClearAll}) {
        const QRect designed = designRect(button);
        setGeometryTwips(button, designed.left(), picture.top() + sheet.height() + designed.height(), designed.width(),
                         designed.height());
    }
    const QRect print = designRect(cmdPrint);
    const int buttonsTop = picture.top() + sheet.height() + print.height();
    setFixedSize(twipsToPixels(sheet.width() + 3 * picture.left()), twipsToPixels(buttonsTop + 3 * print.height()));
    const QRect scale = designRect(lblScale);
    setGeometryTwips(lblScale, scale.left(), scale.top(), sheet.width(), scale.height());
    lblScale->setText(label);
    centreOnScreen(this);

    DrawPresetKeyNames();
    cmdPrint->setEnabled(s.gPSKLayout != PrintDisabledLayout);
    return true;
}

void frmPresetKey::refreshPicture() { picPresetKey->update(); }

void frmPresetKey::DrawPresetKeyNames()
{
    tryStep([this] { presetkeys::DrawPresetKeyNames(m_canvas); }, QString(), this);
    refreshPicture();
}

void frmPresetKey::paintSheet(QPainter& painter) const
{
    painter.fillRect(picPresetKey->rect(), Qt::white);
    ReplaySheet(painter, m_canvas.items());
}

bool frmPresetKey::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picPresetKey) {
        // The second press of a double click may come as the double click alone: it is a press all the same.
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            picPresetKey_MouseDown(static_cast<QMouseEvent*>(event)->position());
        if (type == QEvent::MouseButtonDblClick)
            picPresetKey_DblClick();
    }
    return QWidget::eventFilter(watched, event);
}

void frmPresetKey::picPresetKey_MouseDown(const QPointF& pixels)
{
    const double perCm = picPresetKey->logicalDpiX() / 2.54;
    mMouseX = float(pixels.x() / perCm);
    mMouseY = float(pixels.y() / perCm);
}

void frmPresetKey::picPresetKey_DblClick()
{
    gPresetKeys().gCurKeyNo = KeyAtPoint(mMouseX, mMouseY);
    // A cell above the layout's keys would store its pages under another key's page 2 or 3.
    if (!isLayoutKey(gPresetKeys().gCurKeyNo))
        return;
    if (keyEditor)
        keyEditor(*this);
    else if (frmPutPreKey::editKey(this))
        DrawPresetKeyNames();
}

void frmPresetKey::cmdClearAll_Click()
{
    // When the rows cannot be deleted none is, and the sheet shows them again.
    tryStep([this] { ClearPresetKeyLayout(m_canvas); }, langMsg(QStringLiteral("dbWriteErr")), this);
    refreshPicture();
}

void frmPresetKey::cmdUpload_Click()
{
    const MsgText dbWriteErr = langMsg(QStringLiteral("dbWriteErr"));
    bool stored = tryStep([] { MarkPresetKeyLayout(true); }, dbWriteErr, this);
    {
        // Unmarked whatever the transfer did, so no later send takes these rows along.
        const auto unmark = qScopeGuard(
            [&] { stored = tryStep([] { MarkPresetKeyLayout(false); }, dbWriteErr, this) && stored; });
        if (stored)
            tryStep(
                [this] { requestTransfer(this, {.mode = TransferSend, .files = {datafiles::dataFileOf("KVB_41")}}); },
                QString(), this);
    }
    if (!stored)
        DrawPresetKeyNames();
}

void frmPresetKey::cmdPrint_Click()
{
    cmdPrint->setEnabled(false);
    if (!printSheet())
        msgBox(langMsg(QStringLiteral("printErr")), MsgIcon::Critical, MsgButtons::Ok, this);
    cmdPrint->setEnabled(gPresetKeys().gPSKLayout != PrintDisabledLayout);
}

// One landscape page with the sheet at the top-left corner of the printable area, at its size in
// centimetres. Each print is a job of its own, so none is left unfinished. False when the printer failed;
// Cancel in the dialog is no failure.
bool frmPresetKey::printSheet()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!(printerDialog ? printerDialog : PrinterDialog(showPrintDialog))(printer, this))
        return true;
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    ReplaySheet(painter, m_canvas.items());
    return painter.end() && printer.printerState() != QPrinter::Error;
}

void frmPresetKey::cmdAuto_Click()
{
    setEnabled(false);
    if (autoAssignment)
        autoAssignment(*this);
    else if (frmAutoPresetKey::assignKeys(this))
        DrawPresetKeyNames();
    setEnabled(true);
}

void frmPresetKey::cmdClose_Click() { close(); }

} // namespace quorvane
