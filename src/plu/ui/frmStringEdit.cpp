#include "plu/ui/frmStringEdit.h"

#include "platform/ui/CellEdit.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValueSetters.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/StringEditState.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace quorvane {

using namespace ui;
using W = frmStringEdit;

const ControlTable frmStringEdit::kControls{
    .section = "frmStringEdit",
    .title = "frmStrTitle",
    .size = {9420, 4260},
    .controls =
        {
            frame("Frame1", {120, 60, 7500, 4080}).to(&W::Frame1),
            flexGrid("gridString", {120, 240, 7260, 3720})
                .in("Frame1")
                .tab(1)
                .on(&W::gridString_Click)
                .to(&W::gridString),
            frame("Frame2", {7740, 60, 1560, 2040}).to(&W::Frame2),
            commandButton("cmdAppend", {120, 300, 1320, 420})
                .in("Frame2")
                .tab(2)
                .caption("frmStrAppend")
                .on(&W::cmdAppend_Click)
                .to(&W::cmdAppend),
            commandButton("cmdInsert", {120, 840, 1320, 420})
                .in("Frame2")
                .tab(3)
                .caption("frmStrInsert")
                .on(&W::cmdInsert_Click)
                .to(&W::cmdInsert),
            commandButton("cmdDelete", {120, 1380, 1320, 420})
                .in("Frame2")
                .tab(4)
                .caption("frmStrDelete")
                .on(&W::cmdDelete_Click)
                .to(&W::cmdDelete),
            commandButton("cmdOK", {7860, 3060, 1320, 420}).tab(5).caption("frmStrOK").on(&W::cmdOK_Click).to(&W::cmdOK),
            commandButton("cmdCancel", {7860, 3600, 1320, 420})
                .tab(6)
                .caption("frmStrCancel")
                .on(&W::cmdCancel_Click)
                .to(&W::cmdCancel),
        },
};

frmStringEdit::frmStringEdit(QWidget* parent, int mode, QLineEdit* displayBox, TextSaveStep saveStep)
    : QDialog(parent)
    , m_editor(mode, gSettings().gSysCountry)
    , m_displayBox(displayBox)
    , m_save(std::move(saveStep))
{
    setObjectName(QStringLiteral("frmStringEdit"));
    setModal(true);
    createControls(this, kControls);
    // Enter belongs to the edit box and the font list, never to a button.
    for (QPushButton* button : {cmdAppend, cmdInsert, cmdDelete, cmdOK, cmdCancel})
        button->setAutoDefault(false);
    centreOnScreen(this);
    setCaptions(this, kControls, gLangStringEdit);
    showLines();
    m_boxText = m_editor.lineText(1);
}

// The open box leaves while the window is whole: its leave step needs the editor.
frmStringEdit::~frmStringEdit()
{
    if (QWidget* open = gridString ? cellEditor(gridString) : nullptr)
        open->clearFocus();
}

void frmStringEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    openCell(1, 1);
}

void frmStringEdit::showLines()
{
    setupFlexGrid(gridString, {{QString(), 250}, {QString(), 5960}, {QString(), 740}}, m_editor.lineCount() + 1);
    // Two digits and the cell's margins are more than 250 twips: the text column gives the number column the rest.
    fitColumnToText(gridString, 0, QString::number(m_editor.maxLines()), 1);
    for (int i = 1; i <= m_editor.lineCount(); ++i) {
        setFlexText(gridString, i, 0, QString::number(i));
        setFlexText(gridString, i, 1, m_editor.lineText(i));
        setFlexText(gridString, i, 2, m_editor.fontName(i));
    }
    showButtons();
}

void frmStringEdit::showButtons()
{
    cmdAppend->setEnabled(m_editor.appendEnabled());
    cmdInsert->setEnabled(m_editor.insertEnabled());
    cmdDelete->setEnabled(m_editor.deleteEnabled());
}

int frmStringEdit::currentLine() const { return qBound(1, gridString->currentRow() + 1, m_editor.lineCount()); }

void frmStringEdit::closeCell()
{
    if (QWidget* open = cellEditor(gridString))
        open->clearFocus();
}

void frmStringEdit::openCell(int line, int column)
{
    if (column == 0)
        return;
    m_lastOpened = line;
    if (column == 1) {
        CellEdit edit{.name = QStringLiteral("txtGrid")};
        edit.limit = EditLimit().bytes(m_editor.limit(line)).refusal(langMsg(QStringLiteral("charRefused")));
        edit.entered = [this](int row, int) { textLeft(row, false); };
        edit.left = [this](int row, int) { textLeft(row, false); };
        edit.cancelled = [this](int row, int) { textLeft(row, true); };
        auto* box = static_cast<QLineEdit*>(editCell(gridString, {line, 1}, edit));
        m_boxText = box->text();
        m_editor.boxHolds(m_boxText);
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) {
            m_boxText = text;
            m_editor.boxHolds(text);
            showButtons();
        });
    } else {
        CellEdit edit{.name = QStringLiteral("CobFont"), .list = m_editor.fonts()};
        edit.entered = [this](int row, int) { fontLeft(row, false); };
        edit.left = [this](int row, int) { fontLeft(row, false); };
        edit.cancelled = [this](int row, int) { fontLeft(row, true); };
        auto* list = static_cast<QComboBox*>(editCell(gridString, {line, 2}, edit));
        m_fontPosition = m_editor.fontPosition(line);
        list->setCurrentIndex(m_fontPosition);
        // A font too small for the line's text is refused: the list goes back to where it was.
        connect(list, &QComboBox::currentIndexChanged, this, [this, list, line](int position) {
            if (position < 0 || position == m_fontPosition)
                return;
            if (m_editor.fontFits(line, position)) {
                m_fontPosition = position;
            } else {
                const QSignalBlocker block(list);
                list->setCurrentIndex(m_fontPosition);
            }
        });
    }
    showButtons();
}

void frmStringEdit::textLeft(int line, bool cancelled)
{
    const StringEditor::Leave leave = m_editor.leaveText(line, m_boxText, cancelled);
    m_boxText = leave.boxText;
    if (leave.removed) {
        m_lastOpened = qMin(m_lastOpened, m_editor.lineCount());
        showLines();
        return;
    }
    if (!cancelled)
        setFlexText(gridString, line, 1, leave.boxText);
    showButtons();
}

void frmStringEdit::fontLeft(int line, bool cancelled)
{
    if (!cancelled)
        m_editor.setFont(line, m_fontPosition);
    setFlexText(gridString, line, 2, m_editor.fontName(line));
}

void frmStringEdit::gridString_Click()
{
    if (cellEditor(gridString))
        return; // the click that opened a cell's box lands on the box
    openCell(currentLine(), gridString->currentColumn());
}

void frmStringEdit::cmdAppend_Click()
{
    closeCell();
    const int line = m_editor.append(currentLine());
    showLines();
    openCell(line, 1);
}

void frmStringEdit::cmdInsert_Click()
{
    closeCell();
    const int line = m_editor.insert(currentLine(), m_lastOpened);
    showLines();
    openCell(line, 1);
}

void frmStringEdit::cmdDelete_Click()
{
    closeCell();
    const StringEditor::DeleteStep step = m_editor.deleteLine(currentLine(), m_boxText);
    if (step.emptyBox)
        m_boxText.clear();
    showLines();
    if (step.openLine > 0)
        openCell(step.openLine, 1);
}

void frmStringEdit::cmdOK_Click()
{
    closeCell();
    QString firstLine;
    if (!tryStep([&] { firstLine = m_editor.ok(m_save); }, langMsg(QStringLiteral("dbWriteErr")), this))
        return;
    if (m_displayBox)
        setText(m_displayBox, firstLine);
    accept();
}

void frmStringEdit::cmdCancel_Click()
{
    closeCell();
    reject();
}

void StringEdit(QWidget* parent, int mode, QLineEdit* displayBox, TextSaveStep saveStep)
{
    gStringEdit().gStringEditMode = qint16(mode);
    frmStringEdit dialog(parent, mode, displayBox, std::move(saveStep));
    dialog.exec();
}

} // namespace quorvane
