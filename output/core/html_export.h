#pragma once
// The displayed table as a small HTML page: a line naming the search, the
// table with its heading row, and a footer link to the program's home page.
// Lines end in CR LF except the last ("</HTML>").

#include "app/core/search_criteria.h"
#include "output/core/displayed_table.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace vornik {

struct TableExportPage {
    std::string heading; // the search line above the table, unescaped
    std::string pageColor;
    std::string headerRowColor;
    std::string headerTextColor;
    std::string rowColor;
    std::string rowTextColor;
    std::string headerRowWidth;
    bool showFooter = true;

    // Every page has the same look; only the heading varies.
    void setFixedStyle();
};

// "[検索条件]　" followed by the name, skill, rank and class boxes' texts
// that are not empty (a blank after each but the class); "" when all four
// are empty. Other criteria are not named.
std::string buildSearchHeading(const SearchInputs& inputs);

// &, <, >, " as character references: texts from shared data files must
// never become markup.
std::string htmlEscaped(std::string_view text);

// A data cell as written into the page: escaped, long texts broken into
// lines with "<br>", an empty cell shown as a full-width space, circled
// digits spelled out.
std::string htmlCell(std::string_view text);
// A heading as written into the page: escaped, empty shown as a full-width
// space, circled digits spelled out.
std::string htmlHeaderCell(std::string_view text);

// Writes the page; the style fields of `page` are set to the fixed look
// first. False when the stream refuses the text.
bool writeHtml(std::ostream& out, const DisplayedTable& table, TableExportPage page);
// Creates or empties `path` and writes the page into it; false with a
// message naming the file and the cause in `error`.
bool writeHtmlFile(
    const DisplayedTable& table, const std::string& path, const TableExportPage& page, std::string& error);

} // namespace vornik
