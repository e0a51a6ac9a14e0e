#include "output/core/csv_export.h"

#include "output/core/circled_digits.h"
#include "output/core/export_file.h"

#include <ostream>

namespace vornik {
namespace {

// RFC 4180: a field holding a separator, a quote or a line break is enclosed
// in quotes, and a quote inside is doubled. These four lie below 0x40 and are
// never the trail byte of a double-byte character, so a byte search is exact.
bool needsQuotes(std::string_view text)
{
    return text.find_first_of(",\"\r\n") != std::string_view::npos;
}

// A spreadsheet that opens the file takes a cell starting with one of these
// for a formula (OWASP "CSV injection", CWE-1236): "=HYPERLINK(...)" or
// "-1+cmd|..." would run when the user answers Yes to "open it now?".
bool startsFormula(std::string_view text)
{
    if (text.size() < 2)
        return false; // "-" alone is the list's placeholder, read as text
    switch (text[0]) {
    case '=':
    case '@':
    case '\t':
    case '\r':
        return true;
    case '+':
    case '-':
        // A level text of a skill without a name reads "-: 12 "; a sign
        // followed by ":" is no formula anywhere, so it stays as shown.
        return text[1] != ':';
    default:
        return false;
    }
}

std::string quoted(std::string_view prefix, std::string_view text)
{
    std::string out = "\"";
    out += prefix;
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

void writeLine(std::ostream& out, const std::vector<std::string_view>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out << ',';
        out << csvField(cells[i]);
    }
    out << kLineEnd;
}

} // namespace

std::string csvField(std::string_view text)
{
    std::string field(text);
    replaceCircledDigits(field);
    // OWASP's remedy: a leading apostrophe makes the spreadsheet show the
    // cell as text, and the quotes keep the apostrophe part of the field.
    if (startsFormula(field))
        return quoted("'", field);
    if (needsQuotes(field))
        return quoted("", field);
    return field;
}

bool writeCsv(std::ostream& out, const DisplayedTable& table)
{
    const std::size_t columns = table.headings.size();
    std::vector<std::string_view> cells(columns);
    for (std::size_t c = 0; c < columns; ++c)
        cells[c] = shownHeading(table, c);
    writeLine(out, cells);
    for (const ResultRow& row : table.rows) {
        for (std::size_t c = 0; c < columns; ++c)
            cells[c] = shownCell(row, c);
        writeLine(out, cells);
    }
    out.flush();
    return static_cast<bool>(out);
}

bool writeCsvFile(const DisplayedTable& table, const std::string& path, std::string& error)
{
    return writeExportFile(
        path, [&table](std::ostream& out) { return writeCsv(out, table); }, error);
}

} // namespace vornik
