#pragma once

#include "platform/ui/ControlTable.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QTableWidget;

namespace quorvane {

// The editor of the nine scroll messages and the nine scroll sequences: messages edited in the grid's cells,
// one sequence's three steps picked from lists; each saved by its Save button, or saved and sent to a scale.
// A tool window: windows().openTool<frmScrollMSG>(caption). Closing saves nothing.
class frmScrollMSG : public QWidget {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;

    frmScrollMSG();

    void combSeqNum_Click();
    void gridScrollMsg_Click();
    void cmdSaveM_Click();
    void cmdSaveS_Click();
    void cmdDownloadM_Click();
    void cmdDownloadS_Click();
    void cmdClose_Click();

private:
    void Form_Load();
    void LoadSequence(int number);
    QStringList messages() const;
    bool saveMessages();
    bool saveSequence();

    int m_shownNo = 1;
    bool m_loaded = false;

    QTableWidget* gridScrollMsg = nullptr;
    QComboBox* combSeqNum = nullptr;
    ui::ControlArray<QGroupBox> frameSeq;
    ui::ControlArray<QComboBox> combMSGNo;
    ui::ControlArray<QComboBox> combPattern;
    ui::ControlArray<QComboBox> combSpeed;
};

} // namespace quorvane
