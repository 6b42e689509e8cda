#pragma once

#include "platform/ui/ControlTable.h"
#include "presetkeys/KeyEditor.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorvane {

// The editor of one key of the sheet shown (gCurKeyNo): its three pages, each a PLU, a function key, a clerk, a
// payment key, a batch report or a preset tare, with the name the key shows. OK saves the three pages at once;
// Cancel writes nothing.
class frmPutPreKey : public QDialog {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    // Opens the editor modally on gCurKeyNo; true when OK saved the pages. A key whose pages cannot be read is
    // not opened: the failure is shown.
    static bool editKey(QWidget* parent);

    explicit frmPutPreKey(QWidget* parent = nullptr);
    ~frmPutPreKey() override;
    bool isLoaded() const { return m_loaded; }
    const presetkeys::KeyEditor& editor() const { return m_editor; }

    void CombFuncKey_Click();
    void CombClerkKey_Click();
    void CombPaymentKey_Click();
    void CombBatchReportKey_Click();
    void meditPresetTare_Change();
    void meditPresetTare_LostFocus();
    void txtCommodity_LostFocus();
    void cmdBrowse_Click();
    void GridBrowse_Click();
    void cmdDel_Click();
    void cmdPrev_Click();
    void cmdNext_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Form_Load();
    void pickFrom(QComboBox* list, presetkeys::KeyList kind);
    void showEditor();
    void showPageButtons();

    presetkeys::KeyEditor m_editor;
    bool m_loaded = false;

    QLabel* lblPresetKey = nullptr;
    QGroupBox* frameChoose = nullptr;
    QLabel* lblPluNo = nullptr;
    QLineEdit* txtPluNo = nullptr;
    QLabel* lblCommodity = nullptr;
    QLineEdit* txtCommodity = nullptr;
    QComboBox* CombFuncKey = nullptr;
    QComboBox* CombClerkKey = nullptr;
    QComboBox* CombPaymentKey = nullptr;
    QComboBox* CombBatchReportKey = nullptr;
    QLineEdit* meditPresetTare = nullptr;
    QLabel* lblPresetTareG = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdDel = nullptr;
    QGroupBox* frameBrowse = nullptr;
    QTableWidget* GridBrowse = nullptr;
    QPushButton* cmdPrev = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace quorvane
