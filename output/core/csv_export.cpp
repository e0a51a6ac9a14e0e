#include "output/core/csv_export.h"

#include "output/core/circled_digits.h"
#include "output/core/export_file.h"

#include <ostream>

namespace vornik {
namespace {

// Comma and double quote lie below 0x40, so they are never the trail byte of
// a double-byte character: a plain byte search is exact.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
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
    std::string field = text.find(',') != std::string_view::npos ? quoted(text) : std::string(text);
    replaceCircledDigits(field);
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
        path, [&table](std::ostream& out) { writeCsv(out, table); }, error);
}

} // namespace vornik
