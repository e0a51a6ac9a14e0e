#include "app/core/scan.h"

#include "app/core/match_record.h"
#include "storage/data_file.h"

namespace vornik {

bool scanForMatches(const SearchCriteria& criteria, const ColumnLayout& layout, std::vector<ResultRow>& rows,
    const std::function<void(std::size_t)>& progress)
{
    if (!openDataFile())
        return false;
    constexpr std::size_t kProgressEvery = 2048;
    RecipeRecord& record = currentRecord();
    // Most lines of a name search hold no trace of the name: those are
    // passed over without decoding their fifty fields.
    const LineFilter filter(criteria);
    const auto mayMatch = [&filter](std::string_view line) { return filter.mayMatch(line); };
    const auto next = [&] { return filter.passesAll() ? readNextRecord() : readNextRecordWhere(mayMatch); };
    while (next()) {
        if (!MatchRecord(criteria, record))
            continue;
        rows.push_back(makeResultRow(layout, record));
        if (progress && rows.size() % kProgressEvery == 0)
            progress(rows.size());
    }
    closeDataFile();
    return true;
}

bool searchSortsRows(std::size_t rowCount)
{
    return rowCount > 1 && rowCount < kSortLimit;
}

SortOrder columnSortOrder(
    const ColumnLayout& layout, std::size_t column, std::size_t tieColumn, bool ascending)
{
    SortOrder order;
    order.sortColumn = column;
    order.tieColumn = tieColumn;
    order.ascending = ascending;
    order.byRank = column != 0 && static_cast<int>(column) == layout.rankColumn;
    return order;
}

std::vector<std::size_t> searchSortColumns(const ColumnLayout& layout, bool skillChosen)
{
    std::vector<std::size_t> columns { static_cast<std::size_t>(layout.capColumn) };
    if (skillChosen)
        columns.push_back(static_cast<std::size_t>(layout.rankColumn));
    return columns;
}

void sortAfterSearch(std::vector<ResultRow>& rows, const ColumnLayout& layout, bool skillChosen)
{
    if (!searchSortsRows(rows.size()))
        return;
    for (const std::size_t column : searchSortColumns(layout, skillChosen))
        SortResults(rows, columnSortOrder(layout, column, 0, true));
}

} // namespace vornik
