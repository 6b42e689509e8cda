#pragma once

#include "platform/ui/ControlTable.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quorvane {

// The PLU import and export window: the operator chooses the PLU fields that make up the columns of a Tab- or
// comma-separated file (and saves or loads that choice), then exports every PLU into such a file or imports
// one into a store. A tool window: ui::windows().openTool<frmImportOrExport>(caption).
class frmImportOrExport : public QWidget {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmImportOrExport(QWidget* parent = nullptr);

    void comboIorE_Click();
    void listItem_Click();
    void SelectItem_Click();
    void comboFontSize_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void commandSave_Click();
    void commandOpen_Click();
    void cmdExport_Click();
    void cmdImport_Click();
    void cmdClose_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    bool importMode() const;
    QString markedChoice() const;
    void showFontSize(bool visible);
    void setBusy(bool busy);
    QStringList entries(const QListWidget* list) const;

    QComboBox* comboIorE = nullptr;
    QComboBox* comboSeperator = nullptr;
    QListWidget* listItem = nullptr;
    QListWidget* SelectItem = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QLabel* labST_No = nullptr;
    QComboBox* comboST_No = nullptr;
    QLabel* labMG_No = nullptr;
    QComboBox* comboMG_No = nullptr;
    QCheckBox* chkPLU = nullptr;
    QLabel* labFontSize = nullptr;
    QComboBox* comboFontSize = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdExport = nullptr;
    QLabel* labWaiting = nullptr;
};

} // namespace quorvane
