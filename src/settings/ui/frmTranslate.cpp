#include "settings/ui/frmTranslate.h"

#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/ProgramFolder.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace quorvane {

using namespace ui;

using W = frmTranslate;

const ControlTable frmTranslate::kControls{
    .section = "frm_Translate",
    .size = {9000, 6540},
    .controls =
        {
            label("labOriginalTitle", {120, 120, 4320, 300}).caption(),
            listBox("lstOriginal", {120, 450, 4320, 4200}).tab(1).on(&W::lstOriginal_Click).to(&W::lstOriginal),
            label("labTranslateTitle", {4560, 120, 4320, 300}).caption(),
            listBox("lstTranslate", {4560, 450, 4320, 4200}).to(&W::lstTranslate),
            label("labOriginalName", {120, 4845, 1800, 300}).caption(),
            textBox("txtOriginalName", {2040, 4800, 6840, 360}).to(&W::txtOriginalName),
            label("labTranslateName", {120, 5325, 1800, 300}).caption(),
            textBox("txtTranslateName", {2040, 5280, 6840, 360})
                .tab(2)
                .onLeave(&W::txtTranslateName_LostFocus)
                .to(&W::txtTranslateName),
            commandButton("cmdClose", {7380, 5880, 1500, 450}).tab(3).caption().on(&W::cmdClose_Click).to(&W::cmdClose),
        },
};

frmTranslate::frmTranslate(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTranslate"));
    createControls(this, kControls);
    // Shown for reading only: the operator cannot use them, but their texts stay as legible as the others.
    for (QWidget* shown : std::initializer_list<QWidget*>{lstTranslate, txtOriginalName}) {
        QPalette palette = shown->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
        shown->setPalette(palette);
        shown->setEnabled(false);
    }
    txtTranslateName->setEnabled(false);
    // The translations follow the standard texts, row for row, as the operator scrolls and chooses.
    connect(lstOriginal->verticalScrollBar(), &QScrollBar::valueChanged, lstTranslate->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(lstOriginal, &QListWidget::currentRowChanged, lstTranslate,
            [this](int row) { lstTranslate->setCurrentRow(row); });
    Form_Load();
}

void frmTranslate::Form_Load()
{
    centreOnScreen(this);
    QString reason;
    switch (m_file.load(programPath(QLatin1String(paths::LanguageFile)), &reason)) {
    case TranslationFile::Load::Loaded:
        break;
    case TranslationFile::Load::Invalid:
        msgBox(langMsg(QStringLiteral("translateFileInvalid"), reason), MsgIcon::Exclamation, MsgButtons::Ok, this);
        break;
    case TranslationFile::Load::Unreadable:
        msgBox(langMsg(QStringLiteral("fileReadErr"), reason), MsgIcon::Critical, MsgButtons::Ok, this);
        break;
    }
    for (int r = 0; r < m_file.rowCount(); ++r) {
        lstOriginal->addItem(m_file.original(r));
        lstTranslate->addItem(m_file.translation(r));
    }
    setCaptions(this, kControls, gLangTranslate);
}

void frmTranslate::lstOriginal_Click()
{
    const int row = lstOriginal->currentRow();
    if (row < 0 || row >= m_file.rowCount())
        return;
    m_currentRow = row;
    const QString translation = lstTranslate->item(row)->text();
    // A translation made elsewhere may be longer than the limit: it is shown whole, never cut.
    const int limit = m_file.translationLimit(row);
    txtTranslateName->setMaxLength(limit > 0 ? qMax(limit, int(translation.size())) : 32767);
    txtTranslateName->setEnabled(true);
    txtOriginalName->setText(lstOriginal->item(row)->text());
    txtTranslateName->setText(translation);
    txtTranslateName->selectAll();
    txtTranslateName->setFocus(Qt::OtherFocusReason);
}

void frmTranslate::txtTranslateName_LostFocus()
{
    if (m_currentRow >= m_file.rowCount())
        return;
    m_file.setTranslation(m_currentRow, txtTranslateName->text());
    lstTranslate->item(m_currentRow)->setText(m_file.translation(m_currentRow));
}

void frmTranslate::cmdClose_Click() { close(); }

void frmTranslate::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmTranslate::Form_Unload()
{
    // The edit in the box counts, however the window is closed.
    commitFocusedField(this);
    tryStep([this] { m_file.save(); }, langMsg(QStringLiteral("fileWriteErr")), this);
}

} // namespace quorvane
