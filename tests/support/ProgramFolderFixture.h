#pragma once

#include "platform/ui/MessageBox.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>

class QWidget;

namespace quorvane::test {

// The schema the program folder gets: the shipped one, or the tests' own while none is shipped.
QString schemaSource();

bool copyFolder(const QString& from, const QString& to);

// Every file under a folder (relative path to bytes), to tell what a run has changed.
QMap<QString, QByteArray> snapshot(const QString& folder);

// A temporary program folder: a copy of the shipped data/ with empty AccessData/ and temp/, set as the
// program folder for as long as the fixture lives. The code page is windows-1252.
class ProgramFolderFixture {
public:
    ProgramFolderFixture();
    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.path() + QLatin1Char('/') + relative; }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};

// Loads every text collection of the program from one group ("Standard", "Chinese", "Other") of the
// program folder's language and parameter files.
void loadTexts(const QString& group = QStringLiteral("Standard"));

// Empties the tables of the shared connection, in one transaction.
void emptyTables(std::initializer_list<const char*> tables);

// Answers every message box with its first button, a question with `yesNo`, and keeps the requests.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QList<ui::MsgRequest> messages;
    ui::MsgResult yesNo = ui::MsgYes;
    // Runs when a message is shown, before it is answered.
    std::function<void(const ui::MsgRequest&)> onMessage;
};

// The visible top-level window of that object name, or nullptr.
QWidget* findWindow(const QString& objectName);

// Closes the main window the way the operator does and lets Qt delete what was closed.
void closeMainWindow();

} // namespace quorvane::test
