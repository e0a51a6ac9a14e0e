#include "platform/atomic_file.h"

#include "platform/sjis_literal.h"
#include "tests/support/fault_injection.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace vornik {
namespace {

using test::readFileBytes;
using test::TempProgramDir;
using test::writeFileBytes;

std::size_t filesIn(const std::filesystem::path& folder)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(AtomicFile, WritesAndReplacesWithoutLeftovers)
{
    TempProgramDir dir;
    const std::string path = dir.file("vornik.ini");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, "first", error)) << error;
    EXPECT_EQ(readFileBytes(path), "first");
    const std::string big(3 * 1024 * 1024 + 7, 'b');
    ASSERT_TRUE(writeFileAtomically(path, big, error)) << error;
    EXPECT_EQ(readFileBytes(path), big);
    ASSERT_TRUE(writeFileAtomically(path, "", error));
    EXPECT_EQ(readFileBytes(path), "");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, TemporaryFilesLeftByAKilledProgramGoAfterAnHour)
{
    namespace fs = std::filesystem;
    TempProgramDir dir;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    const auto aged = [&](const std::string& name) {
        writeFileBytes(dir.file(name), "half a save");
        fs::last_write_time(dir.file(name), old);
    };
    // No process has the id 99999999 (Linux gives at most 4194304).
    aged("memo.txt.99999999.tmp"); // left by a killed program: removed
    writeFileBytes(dir.file("memo.txt.4343.tmp"), "a save going on"); // recent: kept
    aged("memo.txt.notapid.tmp"); // not a name we make
    aged("vornik.ini.99999999.tmp"); // another file's
    aged("memo.txt.tmp");
    fs::create_directory(dir.file("memo.txt.4444.tmp"));
    // The C runtime of Windows cannot set a folder's time; a new folder is
    // kept there for its age alone, so the folder case is a POSIX one.
    std::error_code folderAged;
    fs::last_write_time(dir.file("memo.txt.4444.tmp"), old, folderAged);
#ifndef _WIN32
    ASSERT_FALSE(folderAged) << folderAged.message();
#endif

    std::string error;
    ASSERT_TRUE(writeFileAtomically(dir.file("memo.txt"), "memo", error)) << error;
    EXPECT_EQ(readFileBytes(dir.file("memo.txt")), "memo");
    EXPECT_FALSE(fs::exists(dir.file("memo.txt.99999999.tmp")));
    for (const char* kept : { "memo.txt.4343.tmp", "memo.txt.notapid.tmp", "vornik.ini.99999999.tmp",
             "memo.txt.tmp", "memo.txt.4444.tmp" })
        EXPECT_TRUE(fs::exists(dir.file(kept))) << kept;
}

TEST(AtomicFile, FailureAtEveryStepLeavesTheOldContent)
{
    TempProgramDir dir;
    const std::string path = dir.file("vornik.ini");
    for (const bool shortWrite : { false, true }) {
        for (int k = 1;; ++k) {
            writeFileBytes(path, "old");
            test::FaultInjector injector(k, EROFS, shortWrite);
            std::string error;
            bool written = false;
            {
                test::ScopedFileOps installed(injector);
                written = writeFileAtomically(path, "new content", error);
            }
            if (!injector.fired())
                break;
            const std::string at = std::to_string(k) + " " + injector.failedCall();
            if (written) {
                // Only the folder sync after the rename may fail unreported.
                EXPECT_EQ(injector.failedCall(), "syncFolder") << at;
                EXPECT_EQ(readFileBytes(path), "new content") << at;
            } else {
                EXPECT_EQ(readFileBytes(path), "old") << at;
                EXPECT_NE(error.find(path), std::string::npos) << at << ": the message names the file";
                EXPECT_EQ(error.find(".tmp"), std::string::npos) << at << ": not its temporary file";
            }
            if (injector.failedCall() != "remove") {
                EXPECT_EQ(filesIn(dir.path()), 1u) << at << ": no temporary file left";
            }
        }
    }
}

TEST(AtomicFile, ReplaceKeepsTheTempWhenItFails)
{
    TempProgramDir dir;
    const std::string temp = dir.file("temp.dat");
    const std::string target = dir.file("missing-folder/vornik.txt");
    writeFileBytes(temp, "complete");
    std::string error;
    EXPECT_FALSE(replaceWithTemp(temp, target, error));
    EXPECT_EQ(readFileBytes(temp), "complete");
    EXPECT_NE(error.find(temp), std::string::npos); // tells where the content is
    EXPECT_NE(error.find("ファイルまたはフォルダが見つかりません。"_sj), std::string::npos);
}

TEST(AtomicFile, ReplaceAcrossFileSystemsCopiesBesideTheTarget)
{
    TempProgramDir dir;
    const std::string temp = dir.file("temp.dat");
    const std::string target = dir.file("vornik.txt");
    for (int k = 1;; ++k) {
        writeFileBytes(temp, "new");
        writeFileBytes(target, "old");
        // The first rename is refused as a move to another file system; the
        // k-th call after it fails as well.
        struct CrossDevice : test::FaultInjector {
            using FaultInjector::FaultInjector;
            bool rename(const std::string& from, const std::string& to, int& error) override
            {
                if (from.size() >= 8 && from.compare(from.size() - 8, 8, "temp.dat") == 0) {
                    error = EXDEV;
                    return false;
                }
                return FaultInjector::rename(from, to, error);
            }
        } injector(k, EIO);
        std::string error;
        bool replaced = false;
        {
            test::ScopedFileOps installed(injector);
            replaced = replaceWithTemp(temp, target, error);
        }
        const std::string at = std::to_string(k) + " " + injector.failedCall();
        if (replaced) {
            EXPECT_EQ(readFileBytes(target), "new") << at;
            if (injector.failedCall() != "remove") {
                EXPECT_FALSE(std::filesystem::exists(temp)) << at;
            }
        } else {
            EXPECT_EQ(readFileBytes(target), "old") << at;
            EXPECT_EQ(readFileBytes(temp), "new") << at;
            EXPECT_FALSE(error.empty()) << at;
            EXPECT_EQ(filesIn(dir.path()), 2u) << at;
        }
        if (!injector.fired())
            break;
    }
}

TEST(AtomicFile, FolderOfPath)
{
    EXPECT_EQ(folderOfPath("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(folderOfPath("/c.txt"), "/");
    EXPECT_EQ(folderOfPath("c.txt"), "");
#ifdef _WIN32
    // Paths are UTF-8, where no byte of "ソ" is a backslash (its Shift-JIS
    // ends in one).
    EXPECT_EQ(folderOfPath("C:\\data\\ソ.txt"), "C:\\data");
    EXPECT_EQ(folderOfPath("C:\\ソ\\x.txt"), "C:\\ソ");
#endif
}

} // namespace
} // namespace vornik
