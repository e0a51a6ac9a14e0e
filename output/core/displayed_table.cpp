#include "output/core/displayed_table.h"

#include "platform/sjis_text.h"

namespace vornik {

std::string_view shownHeading(const DisplayedTable& table, std::size_t column)
{
    return sjis::cutAtChar(table.headings[column], kMaxHeadingBytes);
}

std::string_view shownCell(const ResultRow& row, std::size_t column)
{
    return sjis::cutAtChar(row.cell(column), kMaxCellBytes);
}

} // namespace vornik
