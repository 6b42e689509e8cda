#pragma once

#include "state/LangCollection.h"

#include <QString>

namespace quorvane {

// The lines of one section of one group of a two-level file (language, parameter or preset-key file),
// each followed by CR LF; the default when the file, the group or the section is missing.
QString ReadGroupSection(const QString& file, const QString& group, const QString& section, const QString& defaultText);
// Whether the file can be read and holds the group's line: tells a missing group from a missing section.
bool HasGroup(const QString& file, const QString& group);

// Reads the file as the other calls do, and tells whether it is a text they can read: there, not empty, no NUL,
// GB18030 throughout (a UTF-16 file or random bytes are not).
bool ReadTwoLevelFile(const QString& file, QStringList* lines);
// Whether the lines hold the group and, searched from its line as ReadGroupSection searches, every section named.
bool HasGroupSections(const QStringList& lines, const QString& group, const QStringList& sections);

// Empties the collection and fills it with the key=value entries of the section.
void LoadSectionToCollection(const QString& file, const QString& group, const QString& section,
                             LangCollection& collection);

} // namespace quorvane
