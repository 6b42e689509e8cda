#pragma once

#include <QString>

namespace quorvane {

// Every path of the program is built from the program folder (by default the executable's folder).
QString programFolder();
void setProgramFolder(const QString& folder);
QString programPath(const QString& relative);

namespace paths {
inline constexpr const char* LanguageFile = "ini/language.ini";
inline constexpr const char* ParameterFile = "ini/ParameterPLU.ini";
inline constexpr const char* PresetKeyFile = "ini/PresetKey.ini";
inline constexpr const char* SettingsFile = "ini/setting.cfg";
inline constexpr const char* SchemaFile = "Database/abc.txt";
inline constexpr const char* WorkingDatabase = "Database/Orvo2005_New.mdb";
inline constexpr const char* DumpFolder = "AccessData";
inline constexpr const char* TempFolder = "temp";
} // namespace paths

} // namespace quorvane
