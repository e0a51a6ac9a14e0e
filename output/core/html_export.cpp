#include "output/core/html_export.h"

#include "output/core/circled_digits.h"
#include "output/core/export_file.h"
#include "output/core/outside_addresses.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"

#include <ostream>

namespace vornik {
namespace {

// Step shared by cells and headings: nothing shown would make the browser
// drop the cell's frame, so an empty text becomes one full-width space.
void finishCellText(std::string& text)
{
    if (text.empty() || text == " ")
        text = "　"_sj;
    replaceCircledDigits(text);
}

void writeHeaderRow(std::ostream& out, const DisplayedTable& table, const TableExportPage& page)
{
    out << "  <TR width=\"" << page.headerRowWidth << "\"  bgcolor=\"" << page.headerRowColor
        << "\"  align=\"CENTER\">" << kLineEnd;
    for (std::size_t c = 0; c < table.headings.size(); ++c) {
        out << "   <TD nowrap><FONT COLOR=\"" << page.headerTextColor << "\"><B>"
            << htmlHeaderCell(shownHeading(table, c)) << "</FONT></TD>" << kLineEnd;
    }
    out << "  </TR>" << kLineEnd;
}

void writeDataRow(std::ostream& out, const ResultRow& row, std::size_t columns, const TableExportPage& page)
{
    out << "  <TR  bgcolor=\"" << page.rowColor << "\"><FONT COLOR=\"" << page.rowTextColor << "\">"
        << kLineEnd;
    for (std::size_t c = 0; c < columns; ++c)
        out << "    <TD nowrap><FONT size=\"-2\">" << htmlCell(shownCell(row, c)) << "</FONT></TD>"
            << kLineEnd;
    out << "  </TR>" << kLineEnd;
}

void writeFooter(std::ostream& out)
{
    out << "<BR><BR>" << kLineEnd;
    out << "<P align=\"center\">" << kLineEnd;
    out << " - <a href=\"" << htmlEscaped(outsideAddress(OutsideAddress::HomePage))
        << "\" target=\"_blank\">Vornik for Windows</a> - " << kLineEnd;
    out << "</P>" << kLineEnd;
}

} // namespace

void TableExportPage::setFixedStyle()
{
    pageColor = "#FFFFF0";
    headerRowColor = "#6666FF";
    headerTextColor = "#FFFFFF";
    rowColor = "#FAFAFF";
    rowTextColor = "#000000";
    headerRowWidth = "50";
    showFooter = true;
}

std::string buildSearchHeading(const SearchInputs& inputs)
{
    if (inputs.name.empty() && inputs.skill.empty() && inputs.rank.empty() && inputs.itemClass.empty())
        return {};
    std::string heading = "[検索条件]　"_sj;
    for (const std::string* part : { &inputs.name, &inputs.skill, &inputs.rank }) {
        if (!part->empty())
            heading += *part + " ";
    }
    heading += inputs.itemClass;
    return heading;
}

std::string htmlEscaped(std::string_view text)
{
    // These four bytes lie below 0x40 and are never the trail byte of a
    // double-byte character, so a byte walk is exact.
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string htmlCell(std::string_view text)
{
    std::string cell = htmlEscaped(text);
    sjis::replaceAllInPlace(cell, "　"_sj, "<br>");
    sjis::replaceAllInPlace(cell, "。"_sj, "。<br>"_sj);
    sjis::replaceAllInPlace(cell, "～ "_sj, "～<br>"_sj);
    sjis::replaceAllInPlace(cell, "全種 "_sj, "全種<br>"_sj);
    sjis::replaceAllInPlace(cell, ") ", ")<br>");
    finishCellText(cell);
    return cell;
}

std::string htmlHeaderCell(std::string_view text)
{
    std::string cell = htmlEscaped(text);
    finishCellText(cell);
    return cell;
}

bool writeHtml(std::ostream& out, const DisplayedTable& table, TableExportPage page)
{
    page.setFixedStyle();
    out << "<HTML LANG=\"ja\">" << kLineEnd;
    out << "<HEAD>" << kLineEnd;
    // Browsers outside Japan guess another character set without this.
    out << " <META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">" << kLineEnd;
    out << " <TITLE>Vornik for Windows</TITLE>" << kLineEnd;
    out << "</HEAD>" << kLineEnd;
    out << "<BODY bgcolor=\"" << page.pageColor << "\">" << kLineEnd;
    out << "<BR><BR><BR>" << kLineEnd;
    out << "<P align=\"CENTER\"><FONT size=\"-1\">" << htmlEscaped(page.heading) << "</FONT></P>" << kLineEnd;
    out << "<CENTER>" << kLineEnd;
    out << "<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=3 WIDTH=\"85%\">" << kLineEnd;
    out << "  <TBODY>" << kLineEnd;
    writeHeaderRow(out, table, page);
    for (const ResultRow& row : table.rows)
        writeDataRow(out, row, table.headings.size(), page);
    out << " </TBODY>" << kLineEnd;
    out << "</TABLE>" << kLineEnd;
    out << "</CENTER><BR><BR>" << kLineEnd;
    if (page.showFooter)
        writeFooter(out);
    out << "</BODY>" << kLineEnd;
    out << "</HTML>";
    out.flush();
    return static_cast<bool>(out);
}

bool writeHtmlFile(
    const DisplayedTable& table, const std::string& path, const TableExportPage& page, std::string& error)
{
    return writeExportFile(
        path, [&](std::ostream& out) { return writeHtml(out, table, page); }, error);
}

} // namespace vornik
