#include "PresetKeyFiles.h"

#include "CodecTestDb.h"

#include <QList>
#include <QPair>

namespace quorvane::test {

QByteArray presetKeyLayoutFile(const QMap<QString, QByteArray>& replaced, const QByteArray& group)
{
    const QList<QPair<QByteArray, QByteArray>> sections{
        {"keyType", "L0=Test"}, {"keyNum", "L0=24"}, {"rows", "L0=4"},  {"cols", "L0=6"},
        {"RowSpacing", "L0=2"}, {"CharNum", "L0=0"}, {"Order", "L0=0"},
    };
    QByteArray file = group + "\r\n";
    for (const auto& [name, body] : sections)
        if (replaced.value(QString::fromLatin1(name)) != "-")
            file += "[" + name + "]\r\n" + replaced.value(QString::fromLatin1(name), body) + "\r\n\r\n";
    return file;
}

void addSheetScale(const QString& address)
{
    addRow(QStringLiteral("SCALE"),
           {{"SC_IP", address},
            {"SC_No", 1},
            {"SC_Used", 1},
            {"SC_FTPName", "scale"},
            {"SC_FTPPW", "s3cret"},
            {"SC_PSK_Layout", 0},
            {"ST_No", 3},
            {"SECT_No", 2}});
}

} // namespace quorvane::test
