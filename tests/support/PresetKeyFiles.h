#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace quorvane::test {

// The seven sections of a preset-key layout file with one line each (layout 0: "Test", 24 keys in 4 rows of 6 at
// 2 cm), ASCII with CR LF; a section given in `replaced` gets that body (its lines, without the section line)
// instead, "-" leaves it out.
QByteArray presetKeyLayoutFile(const QMap<QString, QByteArray>& replaced = {}, const QByteArray& group = "<PresetKey>");

// The scale whose sheet the preset-key tests open: in use, layout 0, store 3, section 2, FTP user "scale" with
// password "s3cret".
void addSheetScale(const QString& address);

} // namespace quorvane::test
