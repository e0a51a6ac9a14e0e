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

} // namespace vornik
