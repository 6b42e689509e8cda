#pragma once

#include "otherfiles/OtherFileFields.h"
#include "platform/ui/ControlTable.h"

#include <QList>
#include <QVariantMap>
#include <QWidget>

#include <deque>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

// The editor of the scales' other files on one page: texts, clerks, taxes, stock and payment keys, discount and
// price schedules, one row per kind, each field saved when it is left; the ticked kinds are sent, and the
// scale's date and time. A tool window: windows().openTool<frmOtherFile>(caption).
//
// The kinds table (otherfiles/OtherFileKinds.h) drives the rows: a kind's number shows its record, its send box
// marks its rows, its text button opens the text editor, and every field the field table (OtherFileFields.h) names
// is connected by one loop, its box typed and left by OtherFileBoxes.h. Only the discount schedule's two type
// rules and the commands are written out.
class frmOtherFile : public QWidget {
    Q_OBJECT

public:
    static const ui::ControlTable kControls;
    // The schedule labels, captioned from the PLU editor's section (frmMain_sstab).
    static const ui::ControlTable kScheduleLabels;

    frmOtherFile();

    void cmdSend_Click();
    void cmdDTTM_Click();
    void cmdClose_Click();
    void combDiscType_Click();      // the fields the discount type opens, the amounts in its decimals
    void combDiscLimitType_Click(); // the limits' unit and decimals

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls of one kind, bound once by the names its rows in the kinds and field tables give.
    struct KindControls {
        const otherfiles::OtherFileKind* kind = nullptr;
        QLineEdit* numberBox = nullptr; // a number typed, or
        QComboBox* numberList = nullptr;
        QLineEdit* nextBox = nullptr;
        QCheckBox* sendBox = nullptr;
        QPushButton* textButton = nullptr;
        QLineEdit* textBox = nullptr;
        QGroupBox* frame = nullptr;
        QList<std::pair<const otherfiles::FieldBinding*, QWidget*>> fields;
        bool shown = false; // a record is shown: its fields save under its number
    };

    static QList<ui::Control> windowControls();
    static QList<ui::Control> scheduleLabels();

    void Form_Load();
    void bindKinds();
    void connectKind(KindControls& k);
    void connectField(KindControls& k, const otherfiles::FieldBinding& b, QWidget* widget);
    std::optional<qint64> shownNumber(const KindControls& k) const;
    void display(KindControls& k);
    QVariantMap shownValues(const KindControls& k) const;
    void save(KindControls& k, const otherfiles::FieldBinding* left);
    void editText(KindControls& k);

    // A deque: the handlers hold their kind by reference, so its elements never move.
    std::deque<KindControls> m_kinds;

    QLabel* Line1 = nullptr;
    QLabel* Line2 = nullptr;
    QComboBox* combTaxType = nullptr;
    QComboBox* combStockType = nullptr;
    QComboBox* combPLUType = nullptr;
    QComboBox* combDiscType = nullptr;
    QComboBox* combDiscLimitType = nullptr;
    QDateTimeEdit* DTPickerStartDate = nullptr;
    QDateTimeEdit* DTPickerEndDate = nullptr;
    QDateTimeEdit* DTPickerStartTime = nullptr;
    QDateTimeEdit* DTPickerEndTime = nullptr;
    QLineEdit* meditDiscDayOfWeek = nullptr;
    QLineEdit* meditDiscLimit1 = nullptr;
    QLineEdit* meditDiscLimit2 = nullptr;
    QLineEdit* meditDiscLmtPer1 = nullptr;
    QLineEdit* meditDiscLmtPer2 = nullptr;
    QLabel* lblDiscLimit1G = nullptr;
    QLabel* lblDiscLimit2G = nullptr;
    QLabel* lblDiscLmtPer1 = nullptr;
    QLabel* lblDiscLmtPerSym1 = nullptr;
    QLabel* lblDiscLmtPerSym2 = nullptr;
    QLabel* lblNewPriceUnit = nullptr;
};

} // namespace quorvane
