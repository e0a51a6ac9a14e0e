#pragma once
// Writing one export file (table, page or dictionary) so that every failure,
// also one after the file was created (disk full, device gone), reaches the
// caller: the success prompt must never follow a broken file.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace vornik {

enum class ExportFormat { Csv, Html };

// The table exports pick the format by the chosen name's extension: "csv" in
// any letter case is CSV, anything else (none included) the HTML page.
ExportFormat exportFormatForPath(std::string_view path);

// Creates or empties `path`, lets `write` fill it, flushes it to the disk and
// closes it. Returns false with a Japanese message naming the file and the
// cause in `error` when creating, writing, flushing or closing fails; the
// file may then hold part of the content.
bool writeExportFile(
    const std::string& path, const std::function<void(std::ostream&)>& write, std::string& error);

// Ends every line of an export file.
inline constexpr std::string_view kLineEnd = "\r\n";

} // namespace vornik
