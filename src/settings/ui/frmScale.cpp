#include "settings/ui/frmScale.h"

#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "platform/ui/WindowOpener.h"
#include "settings/DataFormat.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/SettingsState.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace quorvane {

using namespace ui;

using W = frmScale;

const ControlTable frmScale::kControls{
    .section = "frm_OTHER",
    .title = "setTitle",
    .size = {6300, 5310},
    .controls =
        {
            frame("Frame1", {120, 120, 6060, 1560}),
            label("lblPrice", {180, 285, 1800, 300}).in("Frame1").caption("setPPoint"),
            comboBox("combPPoint", {2040, 240, 3900, 360}).in("Frame1").tab(1).to(&W::combPPoint),
            label("lblWeight", {180, 705, 1800, 300}).in("Frame1").caption("setWPoint"),
            comboBox("combWPoint", {2040, 660, 3900, 360}).in("Frame1").tab(2).to(&W::combWPoint),
            label("lblPriceType", {180, 1125, 1800, 300}).in("Frame1").caption("setPPointType"),
            comboBox("combPPointType", {2040, 1080, 3900, 360}).in("Frame1").tab(3).to(&W::combPPointType),
            frame("Frame2", {120, 1800, 6060, 720}),
            label("lblDate", {180, 255, 1800, 300}).in("Frame2").caption("setDate"),
            comboBox("combDateType", {2040, 210, 3900, 360}).in("Frame2").tab(4).to(&W::combDateType),
            frame("Frame3", {120, 2640, 6060, 720}),
            label("lblPriceUnit", {180, 255, 1800, 300}).in("Frame3").caption("setPUnit"),
            comboBox("combPriceUnit", {2040, 210, 3900, 360}).in("Frame3").tab(5).editable().to(&W::combPriceUnit),
            frame("Frame4", {120, 3480, 6060, 1140}),
            label("lblSYS_Country", {180, 255, 1800, 300}).in("Frame4").caption("setSYS_Country"),
            comboBox("combSYS_Country", {2040, 210, 3900, 360}).in("Frame4").tab(6).to(&W::combSYS_Country),
            label("lblSYS_Store", {180, 675, 1800, 300}).in("Frame4").caption("setSYS_Store"),
            comboBox("combSYS_Store", {2040, 630, 3900, 360}).in("Frame4").tab(7).to(&W::combSYS_Store),
            commandButton("cmdOK", {3000, 4740, 1500, 450}).tab(8).caption("setOK").on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCancel", {4680, 4740, 1500, 450})
                .tab(9)
                .caption("setCancel")
                .on(&W::cmdCancel_Click)
                .to(&W::cmdCancel),
        },
};

namespace {

// What a paste or a drop may bring into combPriceUnit: only characters it takes when typed.
class PriceUnitValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        for (qsizetype i = 0; i < input.size(); ++i) {
            const qsizetype n = input[i].isHighSurrogate() && i + 1 < input.size() ? 2 : 1;
            if (!priceUnitAccepts(input.mid(i, n)))
                return Invalid;
            i += n - 1;
        }
        return Acceptable;
    }
};

} // namespace

frmScale::frmScale(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmScale"));
    createControls(this, kControls);
    // The box takes what is typed as it stands: no completion, and Enter adds no item.
    combPriceUnit->setCompleter(nullptr);
    combPriceUnit->setInsertPolicy(QComboBox::NoInsert);
    combPriceUnit->setValidator(new PriceUnitValidator(combPriceUnit));
    // Keys reach the box, which has the focus, and it hands them to its edit without the edit's filters.
    combPriceUnit->installEventFilter(this);
    combPriceUnit->lineEdit()->installEventFilter(this);
    Form_Load();
}

void frmScale::Form_Load()
{
    centreOnScreen(this);
    setCaptions(this, kControls, gLangOther);
    const DataFormatForm form = dataFormatForm(gSettings());
    combWPoint->addItems(form.pricePoints);
    combPPoint->addItems(form.pricePoints);
    combPPointType->addItems(form.pointTypes);
    combPriceUnit->addItems(form.priceUnits);
    combDateType->addItems(form.dateTypes);
    combSYS_Country->addItems(form.countries);
    combSYS_Store->addItems(form.stores);

    const DataFormatChoices& held = form.chosen;
    setListIndex(combWPoint, held.weightPoint);
    setListIndex(combPPoint, held.pricePoint);
    setListIndex(combPPointType, held.pointType);
    setListIndex(combDateType, held.dateType);
    setListIndex(combPriceUnit, held.priceUnit);
    setListIndex(combSYS_Country, held.country);
    setListIndex(combSYS_Store, held.store);
}

bool frmScale::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == combPriceUnit || watched == combPriceUnit->lineEdit()) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Backspace: // characters below 32: dropped
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        case Qt::Key_Delete: // a key, though its character is 127
            return false;
        default:
            break;
        }
        // The arrows and the shortcuts are keys (a paste passes the validator); a character goes in only when
        // it is one byte from 32 to 255.
        if (key->modifiers().testFlag(Qt::ControlModifier) || key->text().isEmpty())
            return false;
        return !priceUnitAccepts(key->text());
    }
    return QDialog::eventFilter(watched, event);
}

void frmScale::cmdOK_Click()
{
    DataFormatChoices c;
    c.pricePoint = combPPoint->currentIndex();
    c.pointType = combPPointType->currentIndex();
    c.weightPoint = combWPoint->currentIndex();
    c.dateType = combDateType->currentIndex();
    c.priceUnit = combPriceUnit->currentIndex();
    c.priceUnitText = combPriceUnit->currentText();
    c.country = combSYS_Country->currentIndex();
    c.store = combSYS_Store->currentIndex();
    // On failure file and record are as they were: the operator may try again or cancel.
    if (!tryStep([&c] { saveDataFormat(c); }, langMsg(QStringLiteral("fileWriteErr")), this))
        return;
    accept();
    if (msgBox(langMsg(QStringLiteral("DataFormatSet")), MsgIcon::Exclamation, MsgButtons::YesNo) != MsgYes)
        return;
    // The program ends the way the Exit command ends it: closing the main window runs the shutdown.
    if (QWidget* main = windows().mainWindow())
        main->close();
}

void frmScale::cmdCancel_Click() { reject(); }

} // namespace quorvane
