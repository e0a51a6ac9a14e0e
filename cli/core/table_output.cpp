#include "cli/core/table_output.h"

#include "output/core/csv_export.h"
#include "platform/sjis_text.h"

#include <algorithm>
#include <sstream>

namespace vornik::cli {
namespace {

// A cell on one line: tab, CR and LF (never part of a double-byte
// character) become blanks.
std::string_view oneLine(std::string_view text, std::string& scratch)
{
    if (text.find_first_of("\t\r\n") == std::string_view::npos)
        return text;
    scratch.assign(text);
    std::replace_if(
        scratch.begin(), scratch.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return scratch;
}

std::vector<std::string_view> headingsOf(const DisplayedTable& table)
{
    std::vector<std::string_view> headings;
    for (std::size_t column = 0; column < table.headings.size(); ++column)
        headings.push_back(table.headings[column]);
    return headings;
}

// One line of cells; `widths` empty for tab-separated values.
void writeLine(
    ConsoleOutput& out, const std::vector<std::string_view>& cells, const std::vector<std::size_t>& widths)
{
    std::string line;
    std::string scratch;
    // Trailing empty cells would leave blanks at the end of the line.
    std::size_t last = cells.size();
    if (!widths.empty()) {
        while (last > 0 && cells[last - 1].empty())
            --last;
    }
    for (std::size_t column = 0; column < (widths.empty() ? cells.size() : last); ++column) {
        const std::string_view text = oneLine(cells[column], scratch);
        if (column > 0)
            line += widths.empty() ? "\t" : "  ";
        line += text;
        if (!widths.empty() && column + 1 < last)
            line.append(widths[column] - std::min(widths[column], text.size()), ' ');
    }
    line += '\n';
    out.sjis(line);
}

std::vector<std::string_view> cellsOf(const ResultRow& row, std::size_t columns)
{
    std::vector<std::string_view> cells;
    for (std::size_t column = 0; column < columns; ++column)
        cells.push_back(row.cell(column));
    return cells;
}

void writeAligned(ConsoleOutput& out, const DisplayedTable& table)
{
    const std::size_t columns = table.headings.size();
    std::vector<std::size_t> widths(columns, 0);
    for (std::size_t column = 0; column < columns; ++column)
        widths[column] = table.headings[column].size();
    for (const ResultRow& row : table.rows) {
        for (std::size_t column = 0; column < columns; ++column)
            widths[column] = std::max(widths[column], row.cell(column).size());
    }
    writeLine(out, headingsOf(table), widths);
    for (const ResultRow& row : table.rows)
        writeLine(out, cellsOf(row, columns), widths);
}

void writeTabSeparated(ConsoleOutput& out, const DisplayedTable& table)
{
    const std::vector<std::size_t> none;
    writeLine(out, headingsOf(table), none);
    for (const ResultRow& row : table.rows)
        writeLine(out, cellsOf(row, table.headings.size()), none);
}

// A JSON string of Shift-JIS text, walked by character: a backslash can be
// the second byte of a double-byte character and must stay as it is.
void appendJsonString(std::string& json, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    json += '"';
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = sjis::charLength(text, pos);
        const auto c = static_cast<unsigned char>(text[pos]);
        if (length == 2) {
            json.append(text.substr(pos, 2));
        } else if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20) {
            json += "\\u00";
            json += kHex[c >> 4];
            json += kHex[c & 0xF];
        } else {
            json += static_cast<char>(c);
        }
        pos += length;
    }
    json += '"';
}

void writeJson(ConsoleOutput& out, const DisplayedTable& table)
{
    out.sjis("[");
    std::string object;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        object.assign(i == 0 ? "\n{" : ",\n{");
        for (std::size_t column = 0; column < table.headings.size(); ++column) {
            if (column > 0)
                object += ", ";
            appendJsonString(object, table.headings[column]);
            object += ": ";
            appendJsonString(object, table.rows[i].cell(column));
        }
        object += '}';
        out.sjis(object);
    }
    out.sjis("\n]\n");
}

} // namespace

void writeTable(ConsoleOutput& out, const DisplayedTable& table, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Text:
        writeAligned(out, table);
        return;
    case OutputFormat::Tsv:
        writeTabSeparated(out, table);
        return;
    case OutputFormat::Csv: {
        std::ostringstream csv;
        writeCsv(csv, table);
        out.sjis(csv.view());
        return;
    }
    case OutputFormat::Json:
        writeJson(out, table);
        return;
    }
}

} // namespace vornik::cli
