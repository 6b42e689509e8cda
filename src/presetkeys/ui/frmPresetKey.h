#pragma once

#include "platform/ui/ControlTable.h"
#include "presetkeys/ui/KeySheet.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPrinter;
class QPushButton;

namespace quorvane::ui {
class PictureBox;
}

namespace quorvane {

// The preset-key sheet of the scale selected in the main window: its layout drawn with the names of its
// keys, to print, clear and send. A tool window: windows().openTool<frmPresetKey>(caption). When the
// layout cannot be loaded it says why and never shows, so the main window comes back.
class frmPresetKey : public QWidget {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    // The printer dialog CommonDialog1: true when the operator chose a printer and pressed Print. None: a
    // QPrintDialog; tests give their own, until resetProgramState().
    using PrinterDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;
    static inline PrinterDialog printerDialog;

    // Stand-ins for the key editor (on a double click on a key of the layout, gCurKeyNo set) and the automatic
    // assignment (cmdAuto, with the sheet disabled). None: frmPutPreKey and frmAutoPresetKey open modally, and
    // the sheet is redrawn when OK saved.
    using Tool = std::function<void(frmPresetKey& sheet)>;
    static inline Tool keyEditor;
    static inline Tool autoAssignment;

    frmPresetKey();

    // The sheet as drawn, for the tools that draw on it; refresh the picture after drawing.
    presetkeys::SheetCanvas& canvas() { return m_canvas; }
    void refreshPicture();
    // Draws the sheet afresh with its names from the table; a failure is shown and the sheet keeps its drawing.
    void DrawPresetKeyNames();

    void setVisible(bool visible) override;

public slots:
    void cmdClearAll_Click();
    void cmdUpload_Click();
    void cmdPrint_Click();
    void cmdAuto_Click();
    void cmdClose_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Form_Load();
    void picPresetKey_MouseDown(const QPointF& pixels);
    void picPresetKey_DblClick();
    bool printSheet();
    void paintSheet(QPainter& painter) const;

    QLabel* lblScale = nullptr;
    ui::PictureBox* picPresetKey = nullptr;
    QPushButton* cmdClearAll = nullptr;
    QPushButton* cmdUpload = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdAuto = nullptr;
    QPushButton* cmdClose = nullptr;

    // Where the last mouse button went down on the sheet, in centimetres.
    float mMouseX = 0;
    float mMouseY = 0;

    presetkeys::SheetCanvas m_canvas;
    bool m_loaded = false;
};

} // namespace quorvane
