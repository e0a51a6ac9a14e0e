#include "app/core/scan.h"

#include "app/core/match_record.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/file_encoding.h"
#include "storage/line_reader.h"
#include "storage/memo_file.h"
#include "storage/paths.h"

namespace vornik {
namespace {

// The memo file is read once per search; only the ids whose memo matched
// are kept while the data file is walked.
MemoHits memoHitsFor(const SearchCriteria& criteria, const std::string& memoPath)
{
    if (!criteria.includeMemo || criteria.nameQuery.empty())
        return {};
    return findMemoHits(criteria, readAllMemos(memoPath));
}

// The window's scan: `onMatch(record, line)` for every match, in file order.
template <typename OnMatch>
bool scanDataFile(const SearchCriteria& criteria, StorageError& error, OnMatch onMatch)
{
    if (!openDataFile(error))
        return false;
    const RecipeRecord& record = currentRecord();
    const MemoHits memoHits = memoHitsFor(criteria, memoFilePath());
    // Most lines of a name search hold no trace of the name: those are
    // passed over without decoding their fifty fields.
    const LineFilter filter(criteria, &memoHits);
    std::string_view line;
    const auto mayMatch = [&filter, &line](std::string_view read) {
        line = read;
        return filter.mayMatch(read);
    };
    const bool everyRecord = matchesEveryRecord(criteria);
    while (readNextRecordWhere(mayMatch, error)) {
        if (everyRecord || MatchRecord(criteria, record, &memoHits))
            onMatch(record, line);
    }
    closeDataFile();
    return true;
}

constexpr std::size_t kProgressEvery = 2048;

} // namespace

bool scanForMatches(const SearchCriteria& criteria, ResultList& rows, StorageError& error,
    const std::function<void(std::size_t)>& progress)
{
    return scanDataFile(criteria, error, [&](const RecipeRecord&, std::string_view line) {
        rows.appendLine(line);
        if (progress && rows.size() % kProgressEvery == 0)
            progress(rows.size());
    });
}

bool scanForMatches(const SearchCriteria& criteria, const ColumnLayout& layout, std::vector<ResultRow>& rows,
    StorageError& error, const std::function<void(std::size_t)>& progress)
{
    return scanDataFile(criteria, error, [&](const RecipeRecord& record, std::string_view) {
        rows.push_back(makeResultRow(layout, record));
        if (progress && rows.size() % kProgressEvery == 0)
            progress(rows.size());
    });
}

ScanResult scanFileForMatches(const ScanFiles& files, const SearchCriteria& criteria, ResultList& rows,
    const std::atomic<bool>& cancelled)
{
    LineReader reader;
    if (!reader.open(files.dataPath))
        return ScanResult::Unopened;
    reader.setSourceEncoding(encodingOfFile(files.dataPath));
    const MemoHits memoHits = memoHitsFor(criteria, files.memoPath);
    const LineFilter filter(criteria, &memoHits);
    const bool everyRecord = matchesEveryRecord(criteria);
    // Lines lacking the bytes every match holds are passed over by the
    // reader, which searches its whole buffer for them at once.
    const std::string_view needle = everyRecord ? std::string_view() : filter.bytesEveryMatchHolds();
    const auto nextLine = [&](std::string_view& line) {
        return needle.empty() ? reader.readLine(line) : reader.readLineContaining(needle, line, &cancelled);
    };
    RecipeRecord record;
    std::string_view line;
    while (nextLine(line)) {
        if (cancelled.load(std::memory_order_relaxed))
            return ScanResult::Cancelled;
        if (!everyRecord) {
            if (!filter.mayMatch(line))
                continue;
            decodeLine(line, record);
            if (!MatchRecord(criteria, record, &memoHits))
                continue;
        }
        rows.appendLine(line);
    }
    if (reader.error() != 0)
        return ScanResult::ReadError;
    return cancelled.load(std::memory_order_relaxed) ? ScanResult::Cancelled : ScanResult::Complete;
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

std::vector<SortOrder> searchSortPasses(const ColumnLayout& layout, bool skillChosen, std::size_t tieColumn)
{
    std::vector<SortOrder> passes;
    for (const std::size_t column : searchSortColumns(layout, skillChosen))
        passes.push_back(columnSortOrder(layout, column, tieColumn, true));
    return passes;
}

void sortAfterSearch(std::vector<ResultRow>& rows, const ColumnLayout& layout, bool skillChosen)
{
    if (!searchSortsRows(rows.size()))
        return;
    for (const SortOrder& pass : searchSortPasses(layout, skillChosen, 0))
        SortResults(rows, pass);
}

} // namespace vornik
