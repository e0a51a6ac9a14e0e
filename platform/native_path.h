#pragma once
// Paths inside the program are Shift-JIS bytes like every other text (they
// are stored in vornik.ini). The file system wants native paths: UTF-8 bytes
// on Linux, UTF-16 on Windows.

#include <filesystem>
#include <string>

namespace vornik {

std::filesystem::path nativePath(const std::string& sjisPath);
std::string sjisPath(const std::filesystem::path& native);

} // namespace vornik
