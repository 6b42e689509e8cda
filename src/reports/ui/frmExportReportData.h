#pragma once

#include "platform/ui/ControlTable.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quorvane {

// The report window: fetches one report from a scale into its report table, lets the operator choose and
// order its columns (and save or load that choice), and exports the table as a Tab- or comma-separated text
// file. A tool window: ui::windows().openTool<frmExportReportData>(caption).
class frmExportReportData : public QWidget {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;
    // The captions of commandOpen and commandSave, which the window shares with the PLU import and export.
    static const ui::ControlTable kFileButtons;

    explicit frmExportReportData(QWidget* parent = nullptr);

    void comboReport_Click();
    void cmdUpload_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdAddAll_Click();
    void cmdDeleteAll_Click();
    void commandSave_Click();
    void commandOpen_Click();
    void cmdExport_Click();
    void cmdClose_Click();

private:
    void Form_Load();
    QString reportCode() const;
    void listFields();
    void enableColumnControls(bool enabled);
    QStringList entries(const QListWidget* list) const;

    QComboBox* comboReport = nullptr;
    QComboBox* comboSeperator = nullptr;
    QListWidget* listItem = nullptr;
    QListWidget* SelectItem = nullptr;
    QPushButton* cmdUpload = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdAddAll = nullptr;
    QPushButton* cmdDeleteAll = nullptr;
    QPushButton* commandSave = nullptr;
    QPushButton* commandOpen = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* labWaiting = nullptr;

    int m_reportIndex = 0; // the report type whose fields listItem shows
};

} // namespace quorvane
