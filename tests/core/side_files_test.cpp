#include "storage/item_info.h"
#include "storage/memo_pad.h"

#include "platform/sjis_literal.h"
#include "tests/support/fault_injection.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vornik {
namespace {

using test::readFileBytes;
using test::TempProgramDir;
using test::writeFileBytes;

TEST(ItemInfo, FirstLineContainingNameAndComma)
{
    TempProgramDir dir;
    EXPECT_EQ(lookupItemInfo("A"), ""); // no dictionary
    const std::string gem = "宝石ソ,0,1,光る石/（宝石）"_sj; // "ソ" ends in a backslash byte
    writeFileBytes(dir.file("vornik.dat"), "BA,1,0,first\r\nA,0,0,second\n" + gem + "\n");
    EXPECT_EQ(lookupItemInfo("A"), "BA,1,0,first");
    EXPECT_EQ(lookupItemInfo("宝石ソ"_sj), gem);
    EXPECT_EQ(lookupItemInfo("石ソ"_sj), gem);
    EXPECT_EQ(lookupItemInfo(""), "");
    EXPECT_EQ(lookupItemInfo("C"), "");
    // A match may not start on the second byte of a character.
    EXPECT_EQ(lookupItemInfo("\x83\x5c"), gem);
    EXPECT_EQ(lookupItemInfo("\x5c,"), "");
}

TEST(MemoPad, SavedLinesLoadBackAsTyped)
{
    StorageError error;
    TempProgramDir dir;
    EXPECT_EQ(loadMemoPadText(), "");
    const std::string longLine(500, 'x'); // logical lines are never cut
    ASSERT_TRUE(saveMemoPadLines({ "メモ"_sj, "", longLine, "end" }, error)) << error.text;
    EXPECT_EQ(readFileBytes(dir.file("memo.txt")), "メモ"_sj + "\r\n\r\n" + longLine + "\r\nend");
    EXPECT_EQ(loadMemoPadText(), "メモ"_sj + "\r\n\r\n" + longLine + "\r\nend");

    ASSERT_TRUE(saveMemoPadLines({}, error));
    EXPECT_EQ(readFileBytes(dir.file("memo.txt")), "");
    EXPECT_EQ(loadMemoPadText(), "");
}

TEST(MemoPad, LoadingDropsEmptyLinesAtTheTop)
{
    TempProgramDir dir;
    writeFileBytes(dir.file("memo.txt"), "\r\n\nfirst\n\nsecond\r\n");
    EXPECT_EQ(loadMemoPadText(), "first\r\n\r\nsecond");
}

TEST(MemoPad, FailedSaveKeepsTheOldPad)
{
    StorageError error;
    TempProgramDir dir;
    ASSERT_TRUE(saveMemoPadLines({ "old" }, error));
    for (int k = 1;; ++k) {
        test::FaultInjector injector(k, ENOSPC);
        bool saved = false;
        StorageError saveError;
        {
            test::ScopedFileOps installed(injector);
            saved = saveMemoPadLines({ "new", "pad" }, saveError);
        }
        if (!injector.fired())
            break;
        const std::string content = readFileBytes(dir.file("memo.txt"));
        if (saved) {
            EXPECT_EQ(content, "new\r\npad") << k;
        } else {
            EXPECT_EQ(content, "old") << k;
            EXPECT_FALSE(saveError.text.empty()) << k;
        }
        ASSERT_TRUE(saveMemoPadLines({ "old" }, error)) << error.text;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_TRUE(entry.path().filename() == "memo.txt" || entry.path().filename() == "memo.txt.lock")
            << entry.path();
}

TEST(MemoPad, LineByLineWriting)
{
    StorageError error;
    TempProgramDir dir;
    const std::string path = dir.file("pad.txt");
    writeFileBytes(path, "stale content");
    ASSERT_TRUE(createEmptyFile(path, error));
    EXPECT_EQ(readFileBytes(path), "");
    ASSERT_TRUE(openMemoPad(path, error));
    ASSERT_TRUE(appendMemoPadLine("one", error));
    ASSERT_TRUE(appendMemoPadLine("", error));
    ASSERT_TRUE(appendMemoPadLine("three", error));
    ASSERT_TRUE(closeMemoPad(error));
    EXPECT_EQ(readFileBytes(path), "one\r\n\r\nthree");

    EXPECT_FALSE(createEmptyFile(dir.file("no/such/folder/pad.txt"), error));
    EXPECT_FALSE(error.text.empty());
    EXPECT_FALSE(appendMemoPadLine("closed", error));
}

} // namespace
} // namespace vornik
