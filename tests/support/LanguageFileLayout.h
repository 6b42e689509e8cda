#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorvane::test {

// What is wrong with a language or parameter file as the program reads and the translation editor writes it:
// CR LF only, the last line ended, GB18030; the blocks <Standard>, <Chinese> and <Other> run in parallel (the
// same key on the same line, the same section and empty lines), each holding `sections` in that order; the
// Chinese texts hold Chinese, the standard ones none. `otherCopiesStandard`: the shipped files' Other block is
// a copy of the Standard block. Empty when nothing is wrong.
QString languageFileLayoutFault(const QByteArray& bytes, const QStringList& sections, bool otherCopiesStandard);

// The sections the program reads of a file (paths::LanguageFile or paths::ParameterFile), in loading order.
QStringList textSectionsOf(const QString& file);

} // namespace quorvane::test
