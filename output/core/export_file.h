#pragma once
// Writing one export file (table, page or dictionary) or a copy of the data
// file so that every failure, also one after the file was created (disk
// full, device gone), reaches the caller, and no failure can cost the old
// file: the success prompt must never follow a broken or lost file.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace vornik {

enum class ExportFormat { Csv, Html };

// The table exports pick the format by the chosen name's extension: "csv" in
// any letter case is CSV, anything else (none included) the HTML page.
ExportFormat exportFormatForPath(std::string_view path);

// Writes an export file so that the old file survives every failure: `write`
// fills a temporary file beside `path`, which is flushed and then renamed
// over `path` in one step. Refused, with nothing written, when `path` is one
// of the program's own files (ownFileRefusal) or an existing file that may
// not be written (read-only, held by another program). A link is followed:
// the file it points to is replaced and the link kept.
//
// Returns false when anything fails or `write` returns false; the temporary
// file is then removed and `path` keeps its old content. `error` gets a
// Japanese message naming `path` and the cause, except when `write` stopped
// on its own with the stream still good (the writer knows why).
//
// A target that exists and is no regular file (a device, a pipe) cannot be
// replaced and holds nothing to lose; it is written directly.
bool writeExportFile(
    const std::string& path, const std::function<bool(std::ostream&)>& write, std::string& error);

// Save As: `target` becomes a copy of `source` the same way (refused for the
// program's own files, never half written).
bool copyFileSafely(const std::string& source, const std::string& target, std::string& error);

// Ends every line of an export file.
inline constexpr std::string_view kLineEnd = "\r\n";

} // namespace vornik
