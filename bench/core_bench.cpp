// Benchmarks of the plain C++ core on generated data files: the scans behind
// every search, the sort after a search, the rewrites behind every change and
// the settings load at start-up.
//
// usage: vornik-core-bench --data-dir=DIR [benchmark flags]
// DIR holds <N>/vornik.txt for N = 10000, 100000 and 1000000 (bench/run
// makes them); sizes that are missing are skipped.

#include "app/core/craft_plan.h"
#include "app/core/craft_plan_table.h"
#include "app/core/match_record.h"
#include "app/core/result_columns.h"
#include "app/core/result_sort.h"
#include "app/core/scan.h"
#include "app/core/search_criteria.h"
#include "bench/bench_main.h"
#include "output/core/csv_export.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "storage/vocabulary.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using namespace vornik;

namespace {

using vornik::bench::dataDir;

fs::path programFolderFor(long records)
{
    return dataDir() / std::to_string(records);
}

// Points the program folder at the generated file of `records` lines; the
// vocabularies are loaded as at start-up. False (and the benchmark skipped)
// when that file was not generated.
bool useDataFile(benchmark::State& state, long records)
{
    const fs::path folder = programFolderFor(records);
    if (!fs::exists(folder / "vornik.txt")) {
        state.SkipWithError("data file missing: run bench/run");
        return false;
    }
    setProgramDir(folder.string());
    loadSettings();
    return true;
}

// The name typed most often: part of an item name. bench/run greps for the
// same bytes.
const std::string& nameQuery()
{
    return "蒼鋼"_sj;
}

SearchCriteria nameSearch()
{
    SearchInputs in;
    in.name = nameQuery();
    return readCriteria(in);
}

SearchCriteria everyCriterionSearch()
{
    SearchInputs in;
    in.name = "蒼鋼"_sj;
    in.skill = skillName(1);
    in.rank = rankName(3);
    in.itemClass = "（"_sj;
    in.crystal = crystalName(2);
    in.job = "戦士"_sj;
    in.levelFrom = "10";
    in.levelTo = "40";
    in.includeMaterials = true;
    return readCriteria(in);
}

void runScan(benchmark::State& state, const SearchCriteria& criteria, const ColumnLayout& layout)
{
    std::size_t matched = 0;
    for (auto _ : state) {
        StorageError error;
        std::vector<ResultRow> rows;
        if (!scanForMatches(criteria, layout, rows, error))
            state.SkipWithError("scan failed");
        matched = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(matched);
    state.SetBytesProcessed(state.iterations()
        * static_cast<std::int64_t>(fs::file_size(programFolderFor(state.range(0)) / "vornik.txt")));
}

// The columns a fresh settings file shows (name, rank, cap levels,
// materials with the crystal in front, description).
ColumnLayout defaultLayout()
{
    return loadColumnLayout();
}

// Every column the list has: the most text made per row.
ColumnLayout everyColumnLayout()
{
    return buildColumnLayout("1111111111111xxxxxxx", "");
}

void BM_NameScan(benchmark::State& state)
{
    if (useDataFile(state, state.range(0)))
        runScan(state, nameSearch(), defaultLayout());
}

// The scan of search while typing (a worker thread's): its own reader, which
// searches whole buffers for the name, and the lines kept.
void BM_WorkerNameScan(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    const SearchCriteria criteria = nameSearch();
    const std::atomic<bool> running = false;
    std::size_t matched = 0;
    for (auto _ : state) {
        ResultList rows;
        if (scanFileForMatches({ dataFilePath(), memoFilePath() }, criteria, rows, running)
            != ScanResult::Complete)
            state.SkipWithError("scan failed");
        matched = rows.size();
    }
    state.counters["rows"] = static_cast<double>(matched);
}

// A memo for every fourth record, one in a hundred of them naming the
// searched text, written beside the generated data file on first use.
void writeMemoFile(long records)
{
    const fs::path path = programFolderFor(records) / "vornik_memo.txt";
    if (fs::exists(path))
        return;
    std::ofstream out(path, std::ios::binary);
    for (long id = 4; id <= records; id += 4)
        out << id << ','
            << (id % 400 == 0 ? "倉庫の蒼鋼を使う<br>競売で安い"_sj : "競売で買う<br>倉庫にある"_sj)
            << "\r\n";
}

void BM_NameScanWithMemo(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    writeMemoFile(state.range(0));
    SearchCriteria criteria = nameSearch();
    criteria.includeMemo = true;
    runScan(state, criteria, defaultLayout());
}

void BM_EveryCriterionScan(benchmark::State& state)
{
    if (useDataFile(state, state.range(0)))
        runScan(state, everyCriterionSearch(), defaultLayout());
}

// The all-records scan of the core: open, readNextRecord and MatchRecord
// with no criterion over the whole file (every record matches; no row made).
void BM_AllRecordsMatch(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    const SearchCriteria none;
    std::size_t matched = 0;
    for (auto _ : state) {
        StorageError error;
        if (!openDataFile(error))
            state.SkipWithError("open failed");
        matched = 0;
        while (readNextRecord(error))
            matched += MatchRecord(none) ? 1 : 0;
        closeDataFile();
        benchmark::DoNotOptimize(matched);
    }
    state.counters["rows"] = static_cast<double>(matched);
}

// "すべてのデータを表示": no criterion, every record becomes a row.
void BM_AllRecordsScan(benchmark::State& state)
{
    if (useDataFile(state, state.range(0)))
        runScan(state, SearchCriteria {}, defaultLayout());
}

// The scan behind すべてのデータを表示 as the window keeps it: where each
// record's line lies (or the line, where the file is not kept open), no cell
// written.
void BM_AllRecordsList(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    std::size_t held = 0;
    for (auto _ : state) {
        ResultList rows;
        StorageError error;
        if (!scanForMatches(SearchCriteria {}, rows, error))
            state.SkipWithError("scan failed");
        benchmark::DoNotOptimize(rows.size());
        held = rows.heldBytes();
    }
    // What the list holds for its rows, nothing read back yet.
    state.counters["held_mib"] = static_cast<double>(held) / (1024.0 * 1024.0);
}

void BM_AllRecordsScanEveryColumn(benchmark::State& state)
{
    if (useDataFile(state, state.range(0)))
        runScan(state, SearchCriteria {}, everyColumnLayout());
}

// Reading with nothing read from the records: the lines alone.
void BM_ReadEveryLine(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    for (auto _ : state) {
        StorageError error;
        if (!openDataFile(error))
            state.SkipWithError("open failed");
        std::size_t lines = 0;
        while (readNextRecord(error))
            ++lines;
        closeDataFile();
        benchmark::DoNotOptimize(lines);
    }
}

// Reading with all fifty fields of every record decoded, nothing kept.
void BM_DecodeEveryRecord(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    for (auto _ : state) {
        StorageError error;
        if (!openDataFile(error))
            state.SkipWithError("open failed");
        std::size_t bytes = 0;
        while (readNextRecord(error)) {
            for (const std::string& field : currentRecord().fields())
                bytes += field.size();
        }
        closeDataFile();
        benchmark::DoNotOptimize(bytes);
    }
}

// The two sorts after a search with a skill chosen: by the cap column with
// the name breaking ties, then by rank (stable, so the first order stays
// within a rank).
void BM_TwoPassSort(benchmark::State& state)
{
    if (!useDataFile(state, 10000))
        return;
    const ColumnLayout layout = defaultLayout();
    std::vector<ResultRow> all;
    StorageError error;
    scanForMatches(SearchCriteria {}, layout, all, error);
    all.resize(std::min<std::size_t>(all.size(), static_cast<std::size_t>(state.range(0))));
    SortOrder byCap;
    byCap.sortColumn = static_cast<std::size_t>(layout.capColumn);
    SortOrder byRank;
    byRank.sortColumn = static_cast<std::size_t>(layout.rankColumn);
    byRank.byRank = true;
    std::vector<ResultRow> rows;
    for (auto _ : state) {
        // The copy, and freeing the previous round's rows, stay untimed.
        state.PauseTiming();
        rows = all;
        state.ResumeTiming();
        SortResults(rows, byCap);
        SortResults(rows, byRank);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(all.size());
}

// The same two passes over the window's rows, as the window keeps them: the
// cells of the cap, rank and name columns are written for the sort.
void BM_TwoPassSortList(benchmark::State& state)
{
    if (!useDataFile(state, 10000))
        return;
    const ColumnLayout layout = defaultLayout();
    const std::vector<SortOrder> passes = searchSortPasses(layout, true, 0);
    std::size_t n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResultList rows;
        StorageError error;
        if (!scanForMatches(SearchCriteria {}, rows, error))
            state.SkipWithError("scan failed");
        n = std::min<std::size_t>(rows.size(), static_cast<std::size_t>(state.range(0)));
        rows.removeRows(n, rows.size() - n);
        state.ResumeTiming();
        rows.sort(layout, passes);
        benchmark::DoNotOptimize(rows.lineIndex(0));
    }
    state.counters["rows"] = static_cast<double>(n);
}

// The list "すべてのデータを表示" shows, as the window keeps it.
ResultList allRecordsList(benchmark::State& state)
{
    ResultList rows;
    StorageError error;
    if (!scanForMatches(SearchCriteria {}, rows, error))
        state.SkipWithError("scan failed");
    return rows;
}

// A heading click on "すべてのデータを表示"'s list: every row's name cell is
// written for the sort, the direction flips each time.
void BM_HeadingSortList(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    const ColumnLayout layout = defaultLayout();
    ResultList rows = allRecordsList(state);
    bool ascending = true;
    for (auto _ : state) {
        rows.sort(layout, { columnSortOrder(layout, 0, 0, ascending) });
        ascending = !ascending;
        benchmark::DoNotOptimize(rows.lineIndex(0));
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

// An export of that list: every cell of every row written in display order,
// the file's (range 1 = 0) or, sorted by name, another one (range 1 = 1).
void BM_ExportList(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    const ColumnLayout layout = defaultLayout();
    ResultList rows = allRecordsList(state);
    if (state.range(1) != 0)
        rows.sort(layout, { columnSortOrder(layout, 0, 0, true) });
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const ResultRow& row : rows.formattedRows(layout)) {
            for (std::size_t column = 0; column < row.cellCount(); ++column)
                bytes += row.cell(column).size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

// The same export written as the CSV file the command writes (its cells,
// quoting, the temporary file, the flush to disk and the rename).
void BM_CsvExportSortedList(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    const ColumnLayout layout = defaultLayout();
    const std::vector<std::string> headings = layout.headings();
    ResultList rows = allRecordsList(state);
    rows.sort(layout, { columnSortOrder(layout, 0, 0, true) });
    const std::string path = (fs::temp_directory_path() / "vornik-bench-export.csv").string();
    for (auto _ : state) {
        std::string failure;
        if (!writeCsvFile({ headings, rows.formattedRows(layout) }, path, failure))
            state.SkipWithError("export failed");
    }
    fs::remove(path);
    state.counters["rows"] = static_cast<double>(rows.size());
}

// A scratch copy of the file of `records` lines, rewritten by the benchmark.
bool useScratchCopy(benchmark::State& state, long records)
{
    const fs::path source = programFolderFor(records) / "vornik.txt";
    if (!fs::exists(source)) {
        state.SkipWithError("data file missing: run bench/run");
        return false;
    }
    const fs::path folder = dataDir() / "scratch";
    fs::create_directories(folder);
    fs::copy_file(source, folder / "vornik.txt", fs::copy_options::overwrite_existing);
    setProgramDir(folder.string());
    loadSettings();
    return true;
}

// Reads the record with `id` into the current record.
bool loadRecord(const std::string& id)
{
    StorageError error;
    if (!openDataFile(error))
        return false;
    bool found = false;
    while (!found && readNextRecord(error))
        found = currentRecord().id() == id;
    closeDataFile();
    return found;
}

void BM_SaveRecord(benchmark::State& state)
{
    if (!useScratchCopy(state, state.range(0)))
        return;
    // A record in the middle of the file, changed a little each time.
    const std::string id = std::to_string(state.range(0) / 2);
    if (!loadRecord(id)) {
        state.SkipWithError("record not found");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        StorageError error;
        currentRecord().rare() = (++round % 2) ? "1" : "0";
        if (!saveRecord(error))
            state.SkipWithError("saveRecord failed");
    }
}

void BM_DeleteRecord(benchmark::State& state)
{
    if (!useScratchCopy(state, state.range(0)))
        return;
    // Each round deletes a different record near the end of the file.
    long next = state.range(0);
    for (auto _ : state) {
        StorageError error;
        currentRecord().id() = std::to_string(next--);
        if (!deleteRecord(error))
            state.SkipWithError("deleteRecord failed");
    }
}

void BM_LoadSettingsFresh(benchmark::State& state)
{
    const fs::path folder = dataDir() / "settings";
    fs::create_directories(folder);
    setProgramDir(folder.string());
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder / "vornik.ini");
        state.ResumeTiming();
        loadSettings();
    }
}

void BM_LoadSettingsExisting(benchmark::State& state)
{
    const fs::path folder = dataDir() / "settings";
    fs::create_directories(folder);
    setProgramDir(folder.string());
    loadSettings();
    for (auto _ : state)
        loadSettings();
}

// The planner from a cold start: the item index read from the whole file,
// then the plan of the item whose plan has the most crafts.
void BM_PlanColdStart(benchmark::State& state)
{
    if (!useDataFile(state, state.range(0)))
        return;
    std::string deepest;
    {
        StorageError error;
        const std::optional<CraftIndex> index = scanCraftIndex(error);
        if (!index) {
            state.SkipWithError("scan failed");
            return;
        }
        std::size_t most = 0;
        index->forEachItem([&](const std::string& item) {
            const std::size_t crafts = makePlan(*index, {}, { { item, 3 } }).crafts.size();
            if (crafts > most) {
                most = crafts;
                deepest = item;
            }
        });
        state.counters["crafts"] = static_cast<double>(most);
        state.counters["items"] = static_cast<double>(index->itemCount());
    }
    for (auto _ : state) {
        StorageError error;
        std::optional<CraftIndex> index = scanCraftIndex(error);
        benchmark::DoNotOptimize(makePlan(*index, {}, { { deepest, 3 } }));
        // A cold start has no earlier index to free.
        state.PauseTiming();
        index.reset();
        state.ResumeTiming();
    }
}

// Planning again after a change of the quantity or of "buy": the totals
// table of a tree of 50 craftable items (item k needs items 2k+1 and 2k+2
// and a raw material), as the planner window rebuilds it.
void BM_Replan50(benchmark::State& state)
{
    CraftIndex index;
    constexpr int kItems = 50;
    for (int k = 0; k < kItems; ++k) {
        CraftRecipe recipe;
        recipe.id = k + 1;
        recipe.item = "item" + std::to_string(k);
        recipe.yield = k % 3 + 1;
        recipe.crystal = k % 8 + 1;
        for (int child : { 2 * k + 1, 2 * k + 2 }) {
            if (child < kItems)
                recipe.materials.emplace_back("item" + std::to_string(child), 2);
        }
        recipe.materials.emplace_back("raw" + std::to_string(k), 3);
        index.add(std::move(recipe));
    }
    PlanChoices choices;
    std::int64_t quantity = 1;
    for (auto _ : state) {
        quantity = quantity % 99 + 1;
        if (choices.buy.empty())
            choices.buy.insert("item7");
        else
            choices.buy.clear();
        const Plan plan = makePlan(index, choices, { { "item0", quantity } });
        benchmark::DoNotOptimize(planTotalsTable(plan));
    }
}

void scanSizes(benchmark::internal::Benchmark* b)
{
    b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

// A million rows take seconds a run and hundreds of megabytes; the targets
// are on the smaller files.
void rowScanSizes(benchmark::internal::Benchmark* b)
{
    b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_NameScan)->Apply(scanSizes);
BENCHMARK(BM_NameScanWithMemo)->Apply(scanSizes);
BENCHMARK(BM_WorkerNameScan)->Apply(scanSizes);
BENCHMARK(BM_EveryCriterionScan)->Apply(scanSizes);
BENCHMARK(BM_AllRecordsMatch)->Apply(scanSizes);
BENCHMARK(BM_AllRecordsScan)->Apply(rowScanSizes);
BENCHMARK(BM_ReadEveryLine)->Apply(scanSizes);
BENCHMARK(BM_DecodeEveryRecord)->Apply(scanSizes);
BENCHMARK(BM_AllRecordsScanEveryColumn)->Apply(rowScanSizes);
BENCHMARK(BM_AllRecordsList)->Apply(rowScanSizes);
BENCHMARK(BM_PlanColdStart)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Replan50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoPassSort)->Arg(9999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoPassSortList)->Arg(9999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeadingSortList)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportList)->Args({ 100000, 0 })->Args({ 100000, 1 })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExportSortedList)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRecord)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRecord)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSettingsFresh)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadSettingsExisting)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return vornik::bench::runBenchmarks(argc, argv, "vornik-core-bench");
}
