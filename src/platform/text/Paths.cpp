#include "platform/text/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace quorvane::text {

QString nativePath(const QString& path) { return QDir::toNativeSeparators(path); }

QString datedSiblingName(const QString& path)
{
    const QString stamp = QFileInfo(path).lastModified().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString name = path + QLatin1Char('.') + stamp;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = path + QLatin1Char('.') + stamp + QLatin1Char('_') + QString::number(n);
    return name;
}

} // namespace quorvane::text
