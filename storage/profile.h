#pragma once
// Access to the settings file vornik.ini in the program folder, key by key,
// as the Windows profile functions do: every call reads the file afresh, every
// write rewrites it. Section and key names match without regard to the case of
// ASCII letters. Lines the program does not touch are kept as they were.

#include "storage/settings_keys.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vornik {

// programFilePath("vornik.ini").
std::string settingsFilePath();

// Value of the key, or def when the key is absent; at most capacity - 1 bytes
// (cut so that no double-byte character is split).
std::string readIniString(
    std::string_view section, std::string_view key, std::string_view def, std::size_t capacity = 256);
// Value read as a decimal integer (leading digits), or def when absent.
int readIniInt(std::string_view section, std::string_view key, int def);
// Creates the file, section or key as needed. False when the file cannot be
// written; the old file is then left as it was.
bool writeIniString(std::string_view section, std::string_view key, std::string_view value);
bool writeIniInt(std::string_view section, std::string_view key, int n);

// The same for one of the program's settings (storage/settings_keys.h),
// with its default and capacity.
inline std::string readIniString(const TextSetting& setting)
{
    return readIniString(setting.section, setting.key, setting.def, setting.capacity);
}
inline int readIniInt(const IntSetting& setting)
{
    return readIniInt(setting.section, setting.key, setting.def);
}
inline bool writeIniString(const TextSetting& setting, std::string_view value)
{
    return writeIniString(setting.section, setting.key, value);
}
inline bool writeIniInt(const IntSetting& setting, int n)
{
    return writeIniInt(setting.section, setting.key, n);
}

// The same on an explicit file (used by the functions above and by tests).
std::string readProfileString(const std::string& path, std::string_view section, std::string_view key,
    std::string_view def, std::size_t capacity = 256);
int readProfileInt(const std::string& path, std::string_view section, std::string_view key, int def);
bool writeProfileString(
    const std::string& path, std::string_view section, std::string_view key, std::string_view value);

} // namespace vornik
