// Where the result list keeps only the places of its rows' lines in the
// scanned file, the rows must still show the records as they were found
// after the file is saved, replaced or deleted, and never bytes that are not
// their record's once the file is changed in place.

#include "app/core/result_list.h"
#include "app/core/scan.h"
#include "platform/file_ops.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/paths.h"
#include "storage/vocabulary.h"
#include "tests/support/encoded_text.h"
#include "tests/support/fault_injection.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace vornik;
using namespace vornik::test;
namespace fs = std::filesystem;

namespace {

enum class Scan { Window, Worker };

ResultList scanAll(Scan scan)
{
    ResultList rows;
    if (scan == Scan::Window) {
        StorageError error;
        EXPECT_TRUE(scanForMatches(SearchCriteria {}, rows, error));
    } else {
        const std::atomic<bool> running = false;
        EXPECT_EQ(scanFileForMatches({ dataFilePath(), memoFilePath() }, SearchCriteria {}, rows, running),
            ScanResult::Complete);
    }
    return rows;
}

// Each row's line, "-" for a row that cannot be read back.
std::vector<std::string> shownLines(const ResultList& rows)
{
    std::vector<std::string> lines;
    for (std::size_t row = 0; row < rows.size(); ++row)
        lines.emplace_back(rows.readable(row) ? std::string(rows.line(row)) : "-");
    return lines;
}

std::string joined(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n")
{
    std::string content;
    for (const std::string& line : lines)
        content += line + lineEnd;
    return content;
}

class ResultListFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadSettings();
        writeFileBytes(dataFilePath(), joined(m_lines));
    }

    TempProgramDir m_dir;
    const std::vector<std::string> m_lines
        = { namedRecord("1", "銅の剣"_sj), namedRecord("2", "鉄の盾"_sj), namedRecord("3", "銀の指輪"_sj) };
};

} // namespace

TEST_F(ResultListFileTest, RowsShowTheirRecordsAsFoundOrNothing)
{
    const std::string path = dataFilePath();
    const std::vector<std::string> found = m_lines;
    const std::vector<std::string> lost(3, "-");
    std::vector<std::string> secondLost = found;
    secondLost[1] = "-";
    struct Change {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> shown;
    };
    const Change changes[] = {
        { "saved by the program (a rename over it)",
            [] {
                setCurrent("2", "鋼の盾"_sj);
                StorageError error;
                ASSERT_TRUE(saveRecord(error));
            },
            found },
        { "deleted", [&] { fs::remove(path); }, found },
        { "rewritten in place", [&] { writeFileBytes(path, joined({ namedRecord("9", "別の品"_sj) })); },
            lost },
        { "rewritten in place, same size and time, one line changed",
            [&] {
                const fs::file_time_type time = fs::last_write_time(path);
                writeFileBytes(path, joined({ m_lines[0], namedRecord("4", "鉄の槍"_sj), m_lines[2] }));
                fs::last_write_time(path, time);
            },
            secondLost },
        { "emptied in place", [&] { writeFileBytes(path, ""); }, lost },
    };
    for (const Change& change : changes) {
        for (const Scan scan : { Scan::Window, Scan::Worker }) {
            SCOPED_TRACE(
                std::string(change.what) + (scan == Scan::Window ? ", window's scan" : ", worker's scan"));
            writeFileBytes(path, joined(m_lines));
            ResultList rows = scanAll(scan);
            ASSERT_EQ(rows.size(), found.size());
            change.change();
            if (!openFileSurvivesReplace()) {
                EXPECT_EQ(shownLines(rows), found); // the rows hold their lines
                continue;
            }
            EXPECT_EQ(shownLines(rows), change.shown);
            const ColumnLayout layout = buildColumnLayout("1", "");
            ResultList empty;
            empty.appendLine("");
            rows.sort(layout, { columnSortOrder(layout, 0, 0, false) });
            for (std::size_t row = 0; row < rows.size(); ++row) {
                const ResultRow cells = rows.formatRow(layout, row);
                if (rows.readable(row)) {
                    EXPECT_EQ(std::string(rows.id(row)), std::string(cells.id()));
                } else {
                    // Lost: no id for a command to act on, the cells of an
                    // empty line.
                    EXPECT_EQ(rows.id(row), "");
                    EXPECT_EQ(cells.cellTexts(), empty.formatRow(layout, 0).cellTexts());
                }
            }
        }
    }
}

// A read that fails shows the row empty for the moment, not for good.
TEST_F(ResultListFileTest, AFailedReadLosesNoRowForGood)
{
    ResultList rows = scanAll(Scan::Worker);
    {
        FaultInjector failing(1, EIO, false, FaultMode::FromThenOn);
        ScopedFileOps installed(failing);
        if (openFileSurvivesReplace()) {
            EXPECT_FALSE(rows.readable(1));
        }
    }
    EXPECT_EQ(shownLines(rows), m_lines);
}

// A file an editor saved as UTF-8 is read converted: its rows hold their
// Shift-JIS lines, whatever becomes of the file.
TEST_F(ResultListFileTest, ConvertedFilesKeepTheirText)
{
    writeFileBytes(dataFilePath(), utf8(u8"\uFEFF1,銅の剣\r\n2,鉄の盾\r\n"));
    for (const Scan scan : { Scan::Window, Scan::Worker }) {
        ResultList rows = scanAll(scan);
        writeFileBytes(dataFilePath(), utf8(u8"9,別の品\r\n"));
        EXPECT_EQ(shownLines(rows), (std::vector<std::string> { "1,銅の剣"_sj, "2,鉄の盾"_sj }));
        writeFileBytes(dataFilePath(), utf8(u8"\uFEFF1,銅の剣\r\n2,鉄の盾\r\n"));
    }
}

// Rows read back a run at a time, and a sort reads every line in passes:
// in every order, and across many reads, they show what rows holding their
// lines show.
TEST_F(ResultListFileTest, ManyRowsReadBackAsHeldLinesShowThem)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 4000; ++i) {
        // Lengths from a few bytes to several kilobytes, so runs and reads
        // end anywhere.
        const std::string name
            = "品"_sj + std::to_string((i * 7919) % 4000) + std::string((i * 37) % 3000, 'x');
        lines.push_back(namedRecord(std::to_string(i + 1), name));
    }
    writeFileBytes(dataFilePath(), joined(lines, "\n"));
    const ColumnLayout layout = buildColumnLayout("1", "");
    const std::vector<SortOrder> byName = { columnSortOrder(layout, 0, 0, false) };
    for (const Scan scan : { Scan::Window, Scan::Worker }) {
        ResultList rows = scanAll(scan);
        ResultList held;
        for (const std::string& line : lines)
            held.appendLine(line);
        ASSERT_EQ(rows.size(), lines.size());
        for (int round = 0; round < 2; ++round) {
            for (std::size_t row = 0; row < rows.size(); ++row)
                ASSERT_EQ(rows.line(row), held.line(row)) << "row " << row;
            for (std::size_t row = rows.size(); row-- > 0;)
                ASSERT_EQ(rows.line(row), held.line(row)) << "row " << row;
            rows.sort(layout, byName);
            held.sort(layout, byName);
            rows.removeRows(100, 1000);
            held.removeRows(100, 1000);
        }
        const RowRange shown = rows.formattedRows(layout);
        const RowRange expected = held.formattedRows(layout);
        for (std::size_t row = 0; row < shown.size(); row += 97)
            EXPECT_EQ(shown[row].cellTexts(), expected[row].cellTexts());
        // The places and one run of lines read back, not every line (where
        // the rows do not hold their lines).
        if (openFileSurvivesReplace()) {
            EXPECT_LT(rows.heldBytes(), held.heldBytes() / 2) << "the rows hold their lines";
        }
    }
}

// A list keeps its file open: one descriptor a list, given back when the
// list goes, however many searches run.
TEST_F(ResultListFileTest, ListsGiveTheirFilesBack)
{
    // Under Wine /proc/self/fd also counts the emulator's own descriptors,
    // which come and go; and there lists keep no file open anyway.
    if (!openFileSurvivesReplace() || !fs::exists("/proc/self/fd"))
        GTEST_SKIP() << "lists keep no file open here, or no /proc/self/fd";
    const auto openFiles
        = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()); };
    const auto before = openFiles();
    {
        ResultList rows;
        for (int i = 0; i < 40; ++i) {
            rows = scanAll(i % 2 == 0 ? Scan::Window : Scan::Worker);
            if (i % 3 == 0)
                rows.clear();
        }
        EXPECT_LE(openFiles(), before + 1);
    }
    EXPECT_EQ(openFiles(), before);
}
