#pragma once
// Paths inside the program are UTF-8 text on every platform, so that any
// folder the system can name can be used: the file system gets them as
// UTF-8 bytes on Linux and as UTF-16 on Windows. Only where a path goes into
// a Shift-JIS text (vornik.ini, a message) is it converted, and a setting is
// written only when it reads back as the same path.

#include <filesystem>
#include <optional>
#include <string>

namespace vornik {

std::filesystem::path nativePath(const std::string& path);
std::string programPath(const std::filesystem::path& native);

// The path as Shift-JIS text for a message; characters Shift-JIS cannot hold
// show as "?". Never used to reach a file.
std::string pathForMessage(const std::string& path);
// A path read from a Shift-JIS setting.
std::string pathFromSetting(const std::string& sjis);
// The path as Shift-JIS text for a setting; nothing when Shift-JIS cannot
// hold it (it would read back as another path).
std::optional<std::string> pathForSetting(const std::string& path);

} // namespace vornik
