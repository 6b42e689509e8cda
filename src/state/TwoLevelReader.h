#pragma once

#include "state/LangCollection.h"

#include <QString>

namespace quorvane {

// The lines of one section of one group of a two-level file (language, parameter or preset-key file),
// each followed by CR LF; the default when the file, the group or the section is missing.
QString ReadGroupSection(const QString& file, const QString& group, const QString& section, const QString& defaultText);
// Whether the file can be read and holds the group's line: tells a missing group from a missing section.
bool HasGroup(const QString& file, const QString& group);

// Empties the collection and fills it with the key=value entries of the section.
void LoadSectionToCollection(const QString& file, const QString& group, const QString& section,
                             LangCollection& collection);

} // namespace quorvane
