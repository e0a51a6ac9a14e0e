#pragma once
// One search: read the data file from the top and keep a row per match.

#include "app/core/result_columns.h"
#include "app/core/result_list.h"
#include "app/core/result_sort.h"
#include "app/core/search_criteria.h"
#include "storage/storage_error.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vornik {

// Appends the line of every matching record to `rows`, in file order. Calls
// `progress` with the running count now and then. False when the data file
// could not be opened (the open-error handler has been told). A read error
// part way through returns true with `error` set: the rows found before it
// are kept, but they are no complete result.
bool scanForMatches(const SearchCriteria& criteria, ResultList& rows, StorageError& error,
    const std::function<void(std::size_t)>& progress = {});
// The same scan with every cell of every match written, for output that
// shows all rows (the command line).
bool scanForMatches(const SearchCriteria& criteria, const ColumnLayout& layout, std::vector<ResultRow>& rows,
    StorageError& error, const std::function<void(std::size_t)>& progress = {});

// The same scan sharing nothing with the window's: its own reader and record,
// the files given, no handler called. For a search on a worker thread while
// the window goes on; `cancelled` is looked at between lines.
enum class ScanResult { Complete, Unopened, ReadError, Cancelled };
struct ScanFiles {
    std::string dataPath;
    std::string memoPath;
};
ScanResult scanFileForMatches(const ScanFiles& files, const SearchCriteria& criteria, ResultList& rows,
    const std::atomic<bool>& cancelled);

// A search sorts its rows when there are at least two and fewer than this
// many (larger results stay in file order: sorting them took too long).
inline constexpr std::size_t kSortLimit = 10000;
bool searchSortsRows(std::size_t rowCount);

// The order of a sort by `column`: ties broken by `tieColumn`; the rank
// column (never the name column) sorts by the rank's place in its table.
SortOrder columnSortOrder(
    const ColumnLayout& layout, std::size_t column, std::size_t tieColumn, bool ascending);

// The columns a search sorts by, one pass each in this order, ascending: the
// 限界 column (the name column when it is hidden), then, when a skill was
// chosen, the ﾗﾝｸ column. The rank sort keeps the order within one rank, so
// the rows stand by rank and, within a rank, by their 限界 text.
std::vector<std::size_t> searchSortColumns(const ColumnLayout& layout, bool skillChosen);
// Those passes as sort orders, ties broken by `tieColumn`.
std::vector<SortOrder> searchSortPasses(const ColumnLayout& layout, bool skillChosen, std::size_t tieColumn);

// The sort that follows a search, as a window does it before any heading
// click (ties by the name column); nothing when searchSortsRows is false.
void sortAfterSearch(std::vector<ResultRow>& rows, const ColumnLayout& layout, bool skillChosen);

} // namespace vornik
