#include "app/core/scan.h"

#include "app/core/match_record.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/file_encoding.h"
#include "storage/line_reader.h"
#include "storage/memo_file.h"
#include "storage/paths.h"

#include <optional>

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

// Fills a list from a scan whose file `reader` has just opened: with the
// places of the lines where an open file outlives a replace and the lines are
// its own bytes, else with the lines themselves (app/core/result_list.h).
class ListFiller {
public:
    ListFiller(ResultList& rows, LineReader& reader)
        : m_rows(rows)
        , m_reader(reader)
    {
        int error = 0;
        m_places = openFileSurvivesReplace() && !reader.convertsText()
            && fileOps().stamp(reader.handle(), m_stamp, error);
    }
    ListFiller(const ListFiller&) = delete;
    ListFiller& operator=(const ListFiller&) = delete;
    // However the scan ended, the rows found keep their file.
    ~ListFiller()
    {
        if (m_placesAdded)
            m_rows.readLinesFrom(m_reader.releaseFile(), m_stamp);
    }

    // The line the reader read last.
    void add(std::string_view line)
    {
        if (m_places) {
            m_rows.appendLineAt(m_reader.lineOffset(), line);
            m_placesAdded = true;
        } else {
            m_rows.appendLine(line);
        }
    }

private:
    ResultList& m_rows;
    LineReader& m_reader;
    FileStamp m_stamp;
    bool m_places = false;
    bool m_placesAdded = false;
};

// The window's scan: `onMatch(filler, record, line)` for every match, in
// file order; `filler` fills `list` when one is given, else it is null.
template <typename OnMatch>
bool scanDataFile(const SearchCriteria& criteria, StorageError& error, ResultList* list, OnMatch onMatch)
{
    if (!openDataFile(error))
        return false;
    {
        std::optional<ListFiller> filler;
        if (list != nullptr)
            filler.emplace(*list, dataFileReader());
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
                onMatch(filler ? &*filler : nullptr, record, line);
        }
    }
    closeDataFile();
    return true;
}

constexpr std::size_t kProgressEvery = 2048;

} // namespace

bool scanForMatches(const SearchCriteria& criteria, ResultList& rows, StorageError& error,
    const std::function<void(std::size_t)>& progress)
{
    return scanDataFile(
        criteria, error, &rows, [&](ListFiller* filler, const RecipeRecord&, std::string_view line) {
            filler->add(line);
            if (progress && rows.size() % kProgressEvery == 0)
                progress(rows.size());
        });
}

bool scanForMatches(const SearchCriteria& criteria, const ColumnLayout& layout, std::vector<ResultRow>& rows,
    StorageError& error, const std::function<void(std::size_t)>& progress)
{
    return scanDataFile(
        criteria, error, nullptr, [&](ListFiller*, const RecipeRecord& record, std::string_view) {
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
    {
        ListFiller filler(rows, reader);
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
            filler.add(line);
        }
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
