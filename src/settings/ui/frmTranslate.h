#pragma once

#include "platform/ui/ControlTable.h"
#include "settings/Translation.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorvane {

// The translation editor of the "Other" block of the language file: the standard texts beside their
// translations, one translation edited at a time, the file written whole when the window closes. A tool
// window: ui::windows().openTool<frmTranslate>(caption).
class frmTranslate : public QWidget {
    Q_OBJECT
public:
    static const ui::ControlTable kControls;

    explicit frmTranslate(QWidget* parent = nullptr);

    void lstOriginal_Click();
    void txtTranslateName_LostFocus();
    void cmdClose_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();

    QListWidget* lstOriginal = nullptr;
    QListWidget* lstTranslate = nullptr;
    QLineEdit* txtOriginalName = nullptr;
    QLineEdit* txtTranslateName = nullptr;
    QPushButton* cmdClose = nullptr;

    TranslationFile m_file;
    int m_currentRow = 0;
};

} // namespace quorvane
