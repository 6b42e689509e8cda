#pragma once

#include "platform/ui/ControlTable.h"
#include "plu/Marks.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace quorvane::plu {

// The review of the PLUs fetched from a scale (RC_25): the received rows not yet marked, in a grid whose mark
// column (6) marks rows for copying, written to RC_25's Is_Selected; the target store, department and main group;
// the copy (cmdTransfer) into the store's PLUs, overwriting PLUs of the same number when chkSamePLU is ticked.
class frmUpload : public QDialog {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;
    // The record view's rows, captioned from frmMain_sstab; they join kControls uncaptioned.
    static const ui::ControlTable kRecordView;

    explicit frmUpload(QWidget* parent = nullptr);
    ~frmUpload() override;

    // Shows the review modally, the calling window disabled until it has closed.
    static void review(QWidget* caller);

    void GridPLUUpload_Click();
    void GridPLUUpload_HeaderClick(int column);
    bool GridPLUUpload_KeyDown(int key, bool shift); // false: the key is left to the grid
    void GridPLUUpload_RowChosen();                  // another row made current but by a click or the arrow keys
    void GridPLUUpload_KeyUp();
    void combST_Click();
    void combDP_Click();
    void cmdTransfer_Click();
    void cmdClose_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QList<ui::Control> controls();
    void Form_Load();
    void iniSSTabPLUupload();
    void ShowPluDataUpload(int index); // record index of gRsReceived in the record view
    void ShowPluData();
    void FillStoreCombo();
    void showLists(const QStringList& departments, const QStringList& mainGroups);
    void setMarks(int startRow, int count, MarkMode mode, bool currentMarked = false);
    void movePointer(); // to the grid's current row, whose record is shown
    bool anyMarked() const;
    void enableTransfer();

    std::unique_ptr<MarkList> m_marks;
    int mCurrentRow = 1;
    int m_anchorRow = 1; // where a Shift range starts
    bool mListReady = false;
    bool mShiftDown = false;
    bool mAllMarked = false;
    bool m_filled = false;
    bool m_noStoreSaid = false;

    QTableWidget* GridPLUUpload = nullptr;
    QTabWidget* SSTabPLUupload = nullptr;
    QGroupBox* Frame11 = nullptr;
    QComboBox* combST = nullptr;
    QComboBox* combDP = nullptr;
    QComboBox* combMG = nullptr;
    QCheckBox* chkSamePLU = nullptr;
    QPushButton* cmdTransfer = nullptr;
    QPushButton* cmdClose = nullptr;
    QProgressBar* Bar = nullptr;
    QLabel* lblLoading = nullptr;
};

} // namespace quorvane::plu
