#pragma once
// The rows of a search on standard output: aligned text, tab-separated
// values, the window's CSV export, or JSON.

#include "cli/core/cli_options.h"
#include "cli/core/console_output.h"
#include "output/core/displayed_table.h"

namespace vornik::cli {

// text: the headings and then each row, columns padded with blanks to a
//   common width (a Shift-JIS byte is one column on a terminal, a
//   double-byte character two), two blanks between columns, no blanks at
//   the end of a line;
// tsv: the same texts separated by tabs;
// csv: byte for byte the window's CSV export of the same list;
// json: an array with one object per row, the headings as keys.
// Tabs and line breaks inside a cell become blanks in text and tsv.
void writeTable(ConsoleOutput& out, const DisplayedTable& table, OutputFormat format);

} // namespace vornik::cli
