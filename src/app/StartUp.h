#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::app {

enum class MessageIcon { Information, Exclamation, Critical };

// What the loading window does for the start-up sequence, which itself needs no widget.
class StartUpView {
public:
    virtual ~StartUpView() = default;
    virtual void setProgressText(const QString& text) = 0;
    virtual void showLoadingWindow() = 0;
    virtual void showMessage(const QString& text, MessageIcon icon) = 0;
    // A question with Yes and No, taken from the language key `key`: true for Yes.
    virtual bool askYesNo(const QString& key, const QString& text) = 0;
    virtual void showMainWindow() = 0;
};

// True when the language file, the parameter file and the settings file all exist.
bool CheckSourceFiles();

// The start-up sequence: configuration check, settings, the 33 text collections, the working database
// built and opened, the dumps reloaded, the main window shown. False when the program has to end: the
// message has been shown, and no dump, configuration file or earlier working database has been changed.
bool RunStartUp(StartUpView& view);

struct ShutdownResult {
    bool saved = false;   // the new dumps are in place and the working database is deleted
    QString error;        // the message for the operator when not saved
    QStringList warnings; // to show in one message
};

// The shutdown: every table dumped as one new set that replaces the old one, the database closed, the
// text collections released, the working database deleted (kept when the dumps failed), the instance
// lock released.
ShutdownResult EndProgram();

} // namespace quorvane::app
