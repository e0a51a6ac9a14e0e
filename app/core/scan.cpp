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
    while (readNextRecord()) {
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
