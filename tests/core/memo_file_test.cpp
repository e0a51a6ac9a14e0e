#include "storage/memo_file.h"

#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "tests/support/fault_injection.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vornik {
namespace {

using test::readFileBytes;
using test::TempProgramDir;
using test::writeFileBytes;

class MemoFileTest : public ::testing::Test {
protected:
    // The data file is the default vornik.txt, so its memo file is vornik_memo.txt.
    std::string memo() const { return readFileBytes(m_dir.file("vornik_memo.txt")); }
    void writeMemo(const std::string& bytes) const { writeFileBytes(m_dir.file("vornik_memo.txt"), bytes); }
    bool tempLeft() const { return std::filesystem::exists(m_dir.path() / "temp2.dat"); }

    TempProgramDir m_dir;
};

TEST_F(MemoFileTest, MissingFileReadsEmptyAndIsCreatedOnSave)
{
    StorageError error;
    EXPECT_EQ(readMemo("1"), "");
    ASSERT_TRUE(saveMemo("4", "", error)) << error.text;
    EXPECT_EQ(memo(), "4,\r\n");
    EXPECT_FALSE(tempLeft());
}

TEST_F(MemoFileTest, LinesAndCommasRoundTrip)
{
    StorageError error;
    const std::string text = "一行目, と"_sj + "\r\n" + "二行目＞"_sj;
    ASSERT_TRUE(saveMemo("12", text, error));
    EXPECT_EQ(memo(), "12," + "一行目， と<br>二行目＞"_sj + "\r\n");
    EXPECT_EQ(readMemo("12"), "一行目， と"_sj + "\r\n" + "二行目＞"_sj);

    // A bare LF or CR must not split the memo line either.
    ASSERT_TRUE(saveMemo("13", "a\nb\rc", error));
    EXPECT_EQ(readMemo("13"), "a\r\nb\r\nc");
}

TEST_F(MemoFileTest, IdsAreNumbersForReadingAndTextForSaving)
{
    StorageError error;
    writeMemo("07,seven\r\n");
    EXPECT_EQ(readMemo("7"), "seven");
    EXPECT_EQ(readMemo(" 7"), "seven");
    EXPECT_EQ(readMemo("8"), "");

    ASSERT_TRUE(saveMemo("7", "new", error));
    EXPECT_EQ(memo(), "07,seven\r\n7,new\r\n");
    EXPECT_EQ(readMemo("7"), "seven"); // the first line with the number wins
}

TEST_F(MemoFileTest, RewriteReplacesDropsAndKeeps)
{
    StorageError error;
    writeMemo("1,one\nno comma here\n2,two\r\n1,again\n3,three");
    ASSERT_TRUE(saveMemo("1", "uno", error));
    EXPECT_EQ(memo(), "1,uno\r\n2,two\r\n1,uno\r\n3,three\r\n");
}

TEST_F(MemoFileTest, FailureAtEveryStepKeepsTheOldMemoFile)
{
    const std::string old = "1,one\r\n2,two\r\n";
    const std::string updated = "1,one\r\n2,zwei\r\n";
    for (int k = 1;; ++k) {
        writeMemo(old);
        std::filesystem::remove(m_dir.path() / "temp2.dat");
        test::FaultInjector injector(k, EACCES);
        bool saved = false;
        StorageError error;
        {
            test::ScopedFileOps installed(injector);
            saved = saveMemo("2", "zwei", error);
        }
        if (!injector.fired())
            break;
        const std::string at = "call " + std::to_string(k) + " (" + injector.failedCall() + ")";
        if (saved) {
            EXPECT_EQ(memo(), updated) << at;
            continue;
        }
        EXPECT_EQ(memo(), old) << at;
        EXPECT_FALSE(error.text.empty()) << at;
        if (tempLeft()) {
            EXPECT_EQ(readFileBytes(m_dir.path() / "temp2.dat"), updated) << at;
        }
    }
    StorageError error;
    ASSERT_TRUE(saveMemo("2", "zwei", error));
    EXPECT_EQ(memo(), updated);
    EXPECT_FALSE(tempLeft());
}

} // namespace
} // namespace vornik
