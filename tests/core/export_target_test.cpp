// Where an export or Save As may write: the program's own files are refused
// however their path is spelled, every other file is replaced whole.

#include "output/core/export_file.h"
#include "output/core/export_target.h"
#include "platform/atomic_file.h"
#include "platform/file_identity.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <thread>

using namespace vornik;
namespace fs = std::filesystem;
using test::readFileBytes;
using test::writeFileBytes;

namespace {

bool writeNew(const std::string& path, std::string& error)
{
    return writeExportFile(
        path,
        [](std::ostream& out) {
            out << "new";
            return true;
        },
        error);
}

int tempFilesIn(const fs::path& folder)
{
    int count = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        count += entry.path().extension() == ".tmp" ? 1 : 0;
    return count;
}

} // namespace

TEST(ExportTarget, OwnFilesAreRefusedByIdentityOthersAreReplacedWhole)
{
    test::TempProgramDir dir;
    const fs::path home = dir.path();
    fs::create_directory(home / "sub");
    fs::create_directory(home / "elsewhere");
    writeFileBytes(home / "vornik.txt", "recipes\r\n");
    writeFileBytes(home / "vornik.ini", "[system]\r\n");
    writeFileBytes(home / "vornik.dat", "items\r\n");
    writeFileBytes(home / "memo.txt", "pad");
    writeFileBytes(home / "elsewhere" / "old.csv", "old");
    fs::permissions(home / "elsewhere" / "old.csv", fs::perms::owner_read | fs::perms::owner_write);
    writeFileBytes(home / "elsewhere" / "target.csv", "old");
    fs::create_hard_link(home / "vornik.ini", home / "elsewhere" / "hard.csv");
#ifndef _WIN32
    // Symbolic links need a privilege on Windows, and Wine cannot make them.
    fs::create_symlink(home / "vornik.txt", home / "elsewhere" / "link.csv");
    fs::create_directory_symlink(home, home / "elsewhere" / "program");
    fs::create_symlink(home / "elsewhere" / "target.csv", home / "elsewhere" / "to-target.csv");
#endif
    // The memo file (vornik_memo.txt), the lock file and temp.dat do not
    // exist yet: an export must not create them either.

    struct Case {
        const char* why;
        fs::path path;
        bool refused;
    };
    const std::vector<Case> cases = {
        { "data file", home / "vornik.txt", true },
        { "data file spelt another way", home / "sub" / ".." / "vornik.txt", true },
        { "hard link to the settings", home / "elsewhere" / "hard.csv", true },
        { "memo pad", home / "memo.txt", true },
        { "memo file not yet there", home / "vornik_memo.txt", true },
        { "memo file spelt another way", home / "sub" / ".." / "vornik_memo.txt", true },
        { "temporary file of a store", home / "temp.dat", true },
        { "new file", home / "list.csv", false },
        { "existing file", home / "elsewhere" / "old.csv", false },
#ifdef _WIN32
        { "lock file not yet there", home / "vornik.lock", true },
#else
        { "link to the data file", home / "elsewhere" / "link.csv", true },
        { "dictionary through a linked folder", home / "elsewhere" / "program" / "vornik.dat", true },
        { "lock file not yet there", home / "elsewhere" / "program" / "vornik.lock", true },
        { "link to an ordinary file", home / "elsewhere" / "to-target.csv", false },
#endif
    };
    for (const Case& c : cases) {
        const std::string path = c.path.string();
        const bool existed = fs::exists(c.path);
        const std::string before = readFileBytes(c.path);
        std::string error;
        const bool written = writeNew(path, error);
        if (c.refused) {
            EXPECT_FALSE(written) << c.why;
            EXPECT_NE(error.find(path), std::string::npos) << c.why << ": " << error;
            EXPECT_EQ(fs::exists(c.path), existed) << c.why;
            EXPECT_EQ(readFileBytes(c.path), before) << c.why;
        } else {
            EXPECT_TRUE(written) << c.why << ": " << error;
            EXPECT_EQ(readFileBytes(c.path), "new") << c.why;
        }
    }
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(home / "elsewhere" / "to-target.csv")) << "the user's link stays a link";
    EXPECT_EQ(readFileBytes(home / "elsewhere" / "target.csv"), "new");
#endif
#ifndef _WIN32
    // Windows has no owner, group and others bits to keep.
    EXPECT_EQ(fs::status(home / "elsewhere" / "old.csv").permissions(),
        fs::perms::owner_read | fs::perms::owner_write)
        << "a private file stays private";
#endif
    EXPECT_EQ(tempFilesIn(home), 0);

    // Save As goes the same way.
    std::string error;
    EXPECT_FALSE(copyFileSafely(dir.file("vornik.txt"), dir.file("memo.txt"), error));
    EXPECT_EQ(readFileBytes(home / "memo.txt"), "pad");
    ASSERT_TRUE(copyFileSafely(dir.file("vornik.txt"), dir.file("copy.txt"), error)) << error;
    EXPECT_EQ(readFileBytes(home / "copy.txt"), "recipes\r\n");
    EXPECT_FALSE(copyFileSafely(dir.file("missing.txt"), dir.file("copy.txt"), error));
    EXPECT_EQ(readFileBytes(home / "copy.txt"), "recipes\r\n");
}

TEST(ExportTarget, AWriterThatStopsLeavesTheOldFile)
{
    test::TempProgramDir dir;
    const std::string path = dir.file("list.csv");
    writeFileBytes(path, "old");
    std::string error;
    EXPECT_FALSE(writeExportFile(
        path,
        [](std::ostream& out) {
            out << "half";
            return false;
        },
        error));
    EXPECT_EQ(readFileBytes(path), "old");
    EXPECT_EQ(tempFilesIn(dir.path()), 0);
}

TEST(ExportTarget, AReadOnlyFileIsNotReplaced)
{
    test::TempProgramDir dir;
    const std::string path = dir.file("kept.csv");
    writeFileBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (std::ofstream(path, std::ios::app).is_open())
        GTEST_SKIP() << "this user may write read-only files (administrator)";
    std::string error;
    EXPECT_FALSE(writeNew(path, error));
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_EQ(readFileBytes(path), "old");
}

namespace {

// A window that stays inside the write of `target` until it is killed.
[[noreturn]] void exportUntilKilled(const std::string& target)
{
    std::string error;
    writeExportFile(
        target,
        [&target](std::ostream& out) {
            out << "half" << std::flush;
            writeFileBytes(target + ".writing", "");
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
            return true;
        },
        error);
    std::_Exit(1);
}

// The process id in the name of the temporary file the window writing
// `name` in `folder` made, once it is inside the write.
std::string writerId(const fs::path& folder, const std::string& name)
{
    for (int wait = 0; wait < 1500 && !fs::exists(folder / (name + ".writing")); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with(name + ".") && file.ends_with(".tmp"))
            return file.substr(name.size() + 1, file.size() - name.size() - 5);
    }
    ADD_FAILURE() << "no temporary file of " << name;
    return "0";
}

enum class Kind { File, Link };

} // namespace

// Only the temporary file of a window that no longer runs goes (other names,
// folders and recent files: AtomicFile.TemporaryFilesLeftByAKilledProgram...).
TEST(ExportTarget, TempFilesOfKilledWindowsAreRemovedNothingElse)
{
    if (const std::optional<std::string> role = test::childRole())
        exportUntilKilled(*role);
    const char* const thisTest = "ExportTarget.TempFilesOfKilledWindowsAreRemovedNothingElse";
    test::TempProgramDir dir;
    test::ChildProcess killed(thisTest, dir.file("list.csv"));
    test::ChildProcess running(thisTest, dir.file("other.csv"));
    ASSERT_TRUE(killed.isRunning() && running.isRunning());
    const std::string dead = writerId(dir.path(), "list.csv");
    const std::string live = writerId(dir.path(), "other.csv");
    killed.kill();
    killed.wait();
    const std::string own = std::to_string(currentProcessId());

    const struct {
        const char* what;
        const char* target;
        std::string name;
        Kind kind;
        bool removed;
    } rows[] = {
        { "left by the killed window", "list.csv", "list.csv." + dead + ".tmp", Kind::File, true },
        { "of a window still writing", "other.csv", "other.csv." + live + ".tmp", Kind::File, false },
        { "this window's own", "list.csv", "list.csv." + own + ".tmp", Kind::File, false },
#ifndef _WIN32 // links need a privilege on Windows
        { "a link", "link.csv", "link.csv." + dead + ".tmp", Kind::Link, false },
#endif
    };
    writeFileBytes(dir.path() / "linked.csv", "keep");
    const auto twoHoursAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (const auto& row : rows) {
        const fs::path path = dir.path() / row.name;
        if (row.kind == Kind::Link)
            fs::create_symlink(dir.path() / "linked.csv", path);
        else if (!fs::exists(path))
            writeFileBytes(path, "half");
        fs::last_write_time(path, twoHoursAgo);
    }
    for (const auto& row : rows) {
        removeAbandonedTempFiles(dir.file(row.target));
        EXPECT_EQ(fs::exists(fs::symlink_status(dir.path() / row.name)), !row.removed) << row.what;
    }
    EXPECT_EQ(readFileBytes(dir.path() / "linked.csv"), "keep");

    // An export cleans up before it writes.
    const fs::path leftover = dir.path() / ("list.csv." + dead + ".tmp");
    writeFileBytes(leftover, "half");
    fs::last_write_time(leftover, twoHoursAgo);
    std::string error;
    ASSERT_TRUE(writeNew(dir.file("list.csv"), error)) << error;
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_EQ(readFileBytes(dir.path() / "list.csv"), "new");
    running.kill();
}
