// Every file call of every save made to fail in turn, in two ways: the k-th
// call fails once (a passing hiccup), or the k-th call and every call after
// it fail (the disk or the network share went away). For every k until the
// operation runs untouched, the file it changes must hold exactly its old or
// exactly its new bytes and still parse, the result must tell which, and the
// next save with a working disk must succeed and leave nothing behind.

#include "storage/data_file.h"

#include "platform/file_ops.h"
#include "platform/sjis_literal.h"
#include "storage/memo_file.h"
#include "storage/memo_pad.h"
#include "storage/paths.h"
#include "tests/support/fault_injection.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vornik {
namespace {

using test::FaultInjector;
using test::FaultMode;
using test::namedRecord;
using test::readFileBytes;
using test::ScopedFileOps;
using test::setCurrent;
using test::TempProgramDir;
using test::writeFileBytes;

// A data file of a few hundred kilobytes, so that reading it takes several
// refills of the reader: Japanese names, a duplicated id, one LF-only line
// end and a last line without any.
std::string startingData()
{
    std::string data;
    for (int id = 1; id <= 3000; ++id) {
        data += namedRecord(std::to_string(id), "鋼の鍋"_sj + std::to_string(id));
        data += id == 1500 ? "\n" : "\r\n";
    }
    data += namedRecord("42", "重複した行"_sj) + "\r\n";
    data += namedRecord("3001", "改行なし"_sj);
    return data;
}

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// What a save does to the file, and how to judge its result.
struct Operation {
    std::string name;
    std::string file; // the file the operation changes, in the program folder
    std::string oldContent;
    std::function<bool(StorageError& error)> run;
    // Checks that the old and the new content differ only where they should.
    std::function<void(const std::string& before, const std::string& after)> checkChange;
};

// Every file left in the folder that is not one of the program's own.
std::vector<std::string> strayFiles(const TempProgramDir& dir)
{
    static const std::set<std::string> own { "vornik.txt", "vornik_memo.txt", "memo.txt", "vornik.lock",
        "vornik.txt.lock", "vornik_memo.txt.lock", "memo.txt.lock" };
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (!own.count(name))
            stray.push_back(name);
    }
    return stray;
}

// The data file reads as one record per line, to the end; the memo file
// still gives the memo of its last line.
void checkParses(const Operation& op, const std::string& content)
{
    StorageError error;
    if (op.file == "vornik_memo.txt") {
        EXPECT_EQ(readMemo("2000"), "メモ\r\n二行目"_sj + "2000");
    }
    if (op.file != "vornik.txt")
        return;
    ASSERT_TRUE(openDataFile(error));
    std::size_t records = 0;
    while (readNextRecord(error))
        ++records;
    closeDataFile();
    EXPECT_TRUE(error.text.empty()) << error.text;
    EXPECT_EQ(records, splitLines(content).size());
}

void resetFiles(const TempProgramDir& dir, const std::vector<Operation>& ops)
{
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        std::filesystem::remove(entry.path());
    for (const Operation& op : ops)
        writeFileBytes(dir.file(op.file), op.oldContent);
}

// Runs `op` once without faults to learn its new content.
std::string newContentOf(const TempProgramDir& dir, const Operation& op)
{
    StorageError error;
    resetFiles(dir, { op });
    EXPECT_TRUE(op.run(error)) << op.name << ": " << error.text;
    const std::string content = readFileBytes(dir.file(op.file));
    EXPECT_NE(content, op.oldContent) << op.name;
    op.checkChange(op.oldContent, content);
    return content;
}

void loopOverFaults(const TempProgramDir& dir, const Operation& op, FaultMode mode, bool shortWrite)
{
    const std::string updated = newContentOf(dir, op);
    const std::string path = dir.file(op.file);
    int k = 1;
    for (;; ++k) {
        resetFiles(dir, { op });
        FaultInjector faults(k, shortWrite ? ENOSPC : EIO, shortWrite, mode);
        bool saved = false;
        StorageError error;
        {
            ScopedFileOps installed(faults);
            saved = op.run(error);
        }
        const std::string at = op.name + (mode == FaultMode::Once ? " once" : " from then on")
            + (shortWrite ? ", short write" : "") + ", call "
            + (faults.fired() ? std::to_string(k) + ":" + faults.failedCall() : "");
        const std::string content = readFileBytes(path);
        if (!faults.fired()) {
            EXPECT_TRUE(saved) << at;
            EXPECT_EQ(content, updated) << op.name;
            break;
        }
        if (saved) {
            EXPECT_EQ(content, updated) << at << ": success reported, old content kept";
        } else {
            EXPECT_EQ(content, op.oldContent) << at << ": failure reported, file changed";
            EXPECT_FALSE(error.text.empty()) << at;
        }
        checkParses(op, content);

        // The next save on a working disk succeeds and cleans up whatever
        // the failed one left behind.
        writeFileBytes(path, op.oldContent);
        StorageError nextError;
        EXPECT_TRUE(op.run(nextError)) << at << ", next save: " << nextError.text;
        EXPECT_EQ(readFileBytes(path), updated) << at << ", next save";
        const std::vector<std::string> stray = strayFiles(dir);
        EXPECT_TRUE(stray.empty()) << at << ", next save left " << stray.front();
    }
    EXPECT_GT(k, 5) << op.name << " made fewer file calls than a locked rewrite needs";
}

void runAllFaults(const TempProgramDir& dir, const Operation& op)
{
    for (const FaultMode mode : { FaultMode::Once, FaultMode::FromThenOn }) {
        for (const bool shortWrite : { false, true }) {
            loopOverFaults(dir, op, mode, shortWrite);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

// Every line of `after` but the ones with id `changedId` equals the line
// of `before` at the same place (line ends aside); `added` lines may follow.
void expectOthersUntouched(
    const std::string& before, const std::string& after, const std::string& changedId, int added)
{
    const std::vector<std::string> old = splitLines(before);
    const std::vector<std::string> now = splitLines(after);
    ASSERT_EQ(now.size(), old.size() + static_cast<std::size_t>(added));
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i].substr(0, old[i].find(',')) != changedId) {
            ASSERT_EQ(now[i], old[i]) << "line " << i;
        }
    }
    // Rewritten files end every line with CR LF.
    EXPECT_EQ(after.substr(after.size() - 2), "\r\n");
}

class FaultLoopTest : public ::testing::Test {
protected:
    void SetUp() override { setOpenErrorHandler(nullptr); }
    TempProgramDir m_dir;
};

TEST_F(FaultLoopTest, SaveRecord)
{
    Operation op { "saveRecord", "vornik.txt", startingData(),
        [](StorageError& error) {
            setCurrent("42", "書き換えた鍋"_sj);
            return saveRecord(error);
        },
        [](const std::string& before, const std::string& after) {
            expectOthersUntouched(before, after, "42", 0);
            EXPECT_EQ(splitLines(after)[41], namedRecord("42", "書き換えた鍋"_sj));
            EXPECT_EQ(splitLines(after)[3000], namedRecord("42", "書き換えた鍋"_sj));
        } };
    runAllFaults(m_dir, op);
}

TEST_F(FaultLoopTest, SaveNewRecord)
{
    Operation op { "saveNewRecord", "vornik.txt", startingData(),
        [](StorageError& error) {
            setCurrent("", "新しい鍋"_sj);
            return saveNewRecord(error);
        },
        [](const std::string& before, const std::string& after) {
            expectOthersUntouched(before, after, "", 1);
            EXPECT_EQ(splitLines(after).back(), namedRecord("3002", "新しい鍋"_sj));
        } };
    runAllFaults(m_dir, op);
}

TEST_F(FaultLoopTest, DeleteRecord)
{
    Operation op { "deleteRecord", "vornik.txt", startingData(),
        [](StorageError& error) {
            setCurrent("42", "");
            return deleteRecord(error);
        },
        [](const std::string& before, const std::string& after) {
            std::vector<std::string> expected;
            for (const std::string& line : splitLines(before)) {
                if (line.substr(0, 3) != "42,")
                    expected.push_back(line);
            }
            EXPECT_EQ(splitLines(after), expected);
        } };
    runAllFaults(m_dir, op);
}

TEST_F(FaultLoopTest, SaveMemo)
{
    std::string memos;
    for (int id = 1; id <= 2000; ++id)
        memos += std::to_string(id) + "," + "メモ<br>二行目"_sj + std::to_string(id) + "\r\n";
    Operation op { "saveMemo", "vornik_memo.txt", memos,
        [](StorageError& error) { return saveMemo("1500", "直した\r\nメモ"_sj, error); },
        [](const std::string& before, const std::string& after) {
            expectOthersUntouched(before, after, "1500", 0);
            EXPECT_EQ(splitLines(after)[1499], "1500," + "直した<br>メモ"_sj);
        } };
    runAllFaults(m_dir, op);
}

TEST_F(FaultLoopTest, MemoPad)
{
    Operation op { "saveMemoPadLines", "memo.txt", "古いメモ帳\r\n二行目"_sj,
        [](StorageError& error) {
            return saveMemoPadLines({ "新しいメモ帳"_sj, "", "三行目"_sj }, error);
        },
        [](const std::string&, const std::string& after) {
            EXPECT_EQ(after, "新しいメモ帳\r\n\r\n三行目"_sj);
        } };
    runAllFaults(m_dir, op);
}

} // namespace
} // namespace vornik
