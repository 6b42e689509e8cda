#include "ProgramFolderFixture.h"

#include "platform/db/Connection.h"
#include "platform/text/Ansi.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/SharedData.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace quorvane::test {

QString schemaSource() { return QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/Database/abc.txt"); }

bool copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir() ? !copyFolder(fi.filePath(), target) : !QFile::copy(fi.filePath(), target))
            return false;
    }
    return true;
}

QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), f.readAll());
    }
    return files;
}

ProgramFolderFixture::ProgramFolderFixture()
{
    text::setAnsiCodePage(QStringLiteral("windows-1252"));
    m_valid = m_dir.isValid() && copyFolder(QStringLiteral(QUORVANE_SOURCE_DATA_DIR), m_dir.path())
        && QDir().mkpath(file(QStringLiteral("AccessData"))) && QDir().mkpath(file(QStringLiteral("temp")))
        && QDir().mkpath(file(QStringLiteral("Database")));
    if (m_valid && !QFileInfo::exists(file(QStringLiteral("Database/abc.txt"))))
        m_valid = QFile::copy(schemaSource(), file(QStringLiteral("Database/abc.txt")));
    setProgramFolder(m_dir.path());
}

MessageRecorder::MessageRecorder()
{
    ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
        messages << r;
        if (onMessage)
            onMessage(r);
        switch (r.buttons) {
        case ui::MsgButtons::YesNo:
        case ui::MsgButtons::YesNoCancel:
            return int(yesNo);
        default:
            return int(ui::MsgOk);
        }
    });
}

MessageRecorder::~MessageRecorder() { ui::setMsgBoxHandler(nullptr); }

QWidget* findWindow(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

void closeMainWindow()
{
    if (QWidget* w = findWindow(QStringLiteral("frmMain")))
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void loadTexts(const QString& group)
{
    for (const TextCollectionSource& s : textCollectionSources())
        loadTextCollection(s, group);
}

void emptyTables(std::initializer_list<const char*> tables)
{
    db::Transaction tx(gDBConnection);
    for (const char* table : tables)
        gDBConnection.exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    tx.commit();
}

} // namespace quorvane::test
