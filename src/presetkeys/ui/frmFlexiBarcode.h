#pragma once

#include "platform/ui/ControlTable.h"
#include "presetkeys/FlexiBarcode.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace quorvane {

// The editor of the nine flexible barcode formats: a format chosen by number, its values picked from lists, saved
// after a length check, deleted, or every saved format sent to a scale as "FLB0UALL.csv". A tool window:
// windows().openTool<frmFlexiBarcode>(caption).
class frmFlexiBarcode : public QWidget {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    frmFlexiBarcode();

    void ComboNo_Click();
    void ShowBarcodePattern();
    void cmdSave_Click();
    void cmdDelete_Click();
    void cmdDownload_Click();
    void cmdClose_Click();

    // Loads format `number` into gFBarRec (`action` 1) and shows it.
    void ShowFlexiBarcode(int action, int number);
    // The lists' current entries.
    presetkeys::FBarChoices choices() const;

private:
    void Form_Load();

    // The lists in the order of kFBarLists.
    std::array<QComboBox*, 11> m_lists{};
    int m_shownNo = 0;

    QLabel* labFBar_Item = nullptr;
    QComboBox* ComboNo = nullptr;
    QPushButton* cmdDelete = nullptr;
};

} // namespace quorvane
