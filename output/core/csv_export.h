#pragma once
// The displayed table as comma-separated text: a heading line, then one line
// per row, every line ended by CR LF, texts written as Shift-JIS bytes.

#include "output/core/displayed_table.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace vornik {

// One cell as a CSV field: "①" "②" "③" become "(1)" "(2)" "(3)"; a text
// holding a comma, a double quote, CR or LF is enclosed in double quotes
// (quotes inside doubled, RFC 4180); a text that a spreadsheet would run as
// a formula (starting with = + - @ tab or CR, followed by more) is enclosed
// too and gets a leading "'", so it is shown as text. Everything else,
// placeholders such as "-" included, is written unchanged.
std::string csvField(std::string_view text);

// False when the stream refuses the text.
bool writeCsv(std::ostream& out, const DisplayedTable& table);
// Creates or empties `path` and writes the table into it; false with a
// message naming the file and the cause in `error`.
bool writeCsvFile(const DisplayedTable& table, const std::string& path, std::string& error);

} // namespace vornik
