// Four program windows changing one data file at the same moment, as real
// processes: each adds 200 records and edits records of its own among the
// ones already there, and stores memos. Nothing may be lost, no id handed out
// twice, no line torn or mixed with another. And a window killed while it
// holds the lock, in the middle of its rewrite, must not keep the others
// waiting. The same holds for windows of two program folders sharing one data
// file, and for settings written by several windows at once.

#include "platform/file_ops.h"
#include "storage/data_file.h"
#include "storage/memo_file.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "tests/support/child_process.h"
#include "tests/support/file_lines.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace vornik {
namespace {

using test::namedRecord;
using test::readFileBytes;
using test::TempProgramDir;
using test::writeFileBytes;

constexpr int kWindows = 4;
constexpr int kAddsEach = 200;
constexpr int kExisting = 100; // records 1 to 100; window w edits those with id % 4 == w
constexpr int kEditEvery = 8; // one edit after every 8 additions: 25 edits each

std::string tagOf(int window)
{
    return "w" + std::to_string(window);
}

// Records this window edits, in the order it edits them.
std::vector<int> editedBy(int window)
{
    std::vector<int> ids;
    for (int id = 1; id <= kExisting; ++id) {
        if (id % kWindows == window)
            ids.push_back(id);
    }
    return ids;
}

// The windows are this test program started again, each told its part, the
// folder where a file "go" starts them all together, and its own program
// folder (the same one unless a test gives each window its own).
std::string roleFor(const std::string& part, int window, const std::filesystem::path& goFolder,
    const std::filesystem::path& programFolder)
{
    return part + "\n" + std::to_string(window) + "\n" + goFolder.string() + "\n" + programFolder.string();
}

std::string roleFor(const std::string& part, int window, const TempProgramDir& dir)
{
    return roleFor(part, window, dir.path(), dir.path());
}

struct Role {
    std::string part;
    int window = 0;
    std::filesystem::path goFolder;
};

Role parseRole(const std::string& text)
{
    Role role;
    std::istringstream in(text);
    std::string window;
    std::string goFolder;
    std::string programFolder;
    std::getline(in, role.part);
    std::getline(in, window);
    std::getline(in, goFolder);
    std::getline(in, programFolder);
    role.window = std::stoi(window);
    role.goFolder = goFolder;
    setProgramDir(programFolder);
    return role;
}

void waitForGo(const Role& role)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(role.goFolder / "go")) {
        if (std::chrono::steady_clock::now() > deadline)
            std::_Exit(2);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

std::vector<std::unique_ptr<test::ChildProcess>> startWindows(
    const std::string& testName, const std::string& part, int count, const TempProgramDir& dir)
{
    std::vector<std::unique_ptr<test::ChildProcess>> windows;
    for (int window = 0; window < count; ++window)
        windows.push_back(std::make_unique<test::ChildProcess>(testName, roleFor(part, window, dir)));
    return windows;
}

// Window w works in the program folder folders[w].
std::vector<std::unique_ptr<test::ChildProcess>> startWindowsIn(
    const std::string& testName, const std::string& part, const std::vector<std::string>& folders)
{
    std::vector<std::unique_ptr<test::ChildProcess>> windows;
    for (std::size_t window = 0; window < folders.size(); ++window)
        windows.push_back(std::make_unique<test::ChildProcess>(
            testName, roleFor(part, static_cast<int>(window), folders[0], folders[window])));
    return windows;
}

// Exits 0 only when every save succeeded.
[[noreturn]] void runWindow(const Role& role)
{
    StorageError error;
    const int window = role.window;
    waitForGo(role);
    bool ok = true;
    const auto report = [&ok, &error](bool saved) {
        if (!saved) {
            ok = false;
            std::fprintf(stderr, "save failed: %s\n", error.text.c_str());
        }
    };
    const std::vector<int> toEdit = editedBy(window);
    std::size_t edited = 0;
    std::mt19937 random(static_cast<unsigned>(window));
    std::uniform_int_distribution<int> thinkMicros(500, 3000);
    for (int i = 0; i < kAddsEach; ++i) {
        // A window does something else between two saves, if only briefly.
        std::this_thread::sleep_for(std::chrono::microseconds(thinkMicros(random)));
        RecipeRecord& record = currentRecord();
        record = RecipeRecord();
        record.name() = tagOf(window) + "-new-" + std::to_string(i);
        report(saveNewRecord(error));
        if (i % kEditEvery == kEditEvery - 1 && edited < toEdit.size()) {
            const std::string id = std::to_string(toEdit[edited++]);
            record = RecipeRecord();
            record.id() = id;
            record.name() = tagOf(window) + "-edited-" + id;
            report(saveRecord(error));
            report(saveMemo(id, tagOf(window) + " memo " + id, error));
        }
    }
    std::_Exit(ok && edited == toEdit.size() ? 0 : 1);
}

class ConcurrencyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setOpenErrorHandler(nullptr);
        // A child works in its parent's folder; one of its own would be left
        // behind when it is killed.
        if (test::childRole())
            return;
        m_folder.emplace();
        std::string data;
        for (int id = 1; id <= kExisting; ++id)
            data += namedRecord(std::to_string(id), "old-" + std::to_string(id)) + "\r\n";
        writeFileBytes(m_folder->file("vornik.txt"), data);
    }
    std::optional<TempProgramDir> m_folder;
};

// Starts the windows of `testName` together, window w in the program folder
// folders[w], and checks that every change of every window is in the data
// file at dataPath.
void runWindowsAndCheck(
    const std::string& testName, const std::string& dataPath, const std::vector<std::string>& folders)
{
    const auto windows = startWindowsIn(testName, "window", folders);
    const auto started = std::chrono::steady_clock::now();
    writeFileBytes(std::filesystem::path(folders[0]) / "go", "");
    for (const auto& window : windows)
        EXPECT_EQ(window->wait(), 0) << "a window's save failed";
    const auto took
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);

    // Whole lines only: 50 fields each, CR LF after every one.
    const std::vector<std::string> lines = test::fileLines(dataPath);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kExisting + kWindows * kAddsEach));
    std::set<std::string> ids;
    std::set<std::string> names;
    for (const std::string& line : lines) {
        const std::vector<std::string> fields = test::fieldsOf(line);
        ASSERT_EQ(fields.size(), static_cast<std::size_t>(kFieldCount)) << line;
        EXPECT_TRUE(ids.insert(fields[field::Id]).second) << "id used twice: " << line;
        EXPECT_TRUE(names.insert(fields[field::Name]).second) << "record twice: " << line;
    }
    // Every addition is there.
    for (int window = 0; window < kWindows; ++window) {
        for (int i = 0; i < kAddsEach; ++i)
            EXPECT_TRUE(names.count(tagOf(window) + "-new-" + std::to_string(i))) << window << " " << i;
    }
    // Every edit is there, in place, with its memo; no window touched another's.
    for (int id = 1; id <= kExisting; ++id) {
        const std::string& line = lines[static_cast<std::size_t>(id - 1)];
        const std::string tag = tagOf(id % kWindows);
        EXPECT_EQ(line, namedRecord(std::to_string(id), tag + "-edited-" + std::to_string(id)));
        setProgramDir(folders[static_cast<std::size_t>(id % kWindows)]);
        EXPECT_EQ(readMemo(std::to_string(id)), tag + " memo " + std::to_string(id));
    }
    std::printf("%d windows, %d additions and %d edits with memos in %lld ms\n", kWindows,
        kWindows * kAddsEach, kExisting, static_cast<long long>(took.count()));
    setProgramDir(folders[0]);
}

TEST_F(ConcurrencyTest, FourWindowsAddingAndEditingAtOnce)
{
    if (const std::optional<std::string> role = test::childRole())
        runWindow(parseRole(*role));
    runWindowsAndCheck("ConcurrencyTest.FourWindowsAddingAndEditingAtOnce", m_folder->file("vornik.txt"),
        std::vector<std::string>(kWindows, programDir()));
}

// A copied installation: a second program folder whose settings name the same
// data file, through a link where links can be made. Its windows take turns
// with those of the first.
TEST_F(ConcurrencyTest, TwoProgramFoldersSharingOneDataFile)
{
    if (const std::optional<std::string> role = test::childRole())
        runWindow(parseRole(*role));
    const std::string first = programDir();
    TempProgramDir copy;
    const std::string second = programDir();
#ifdef _WIN32
    // Symbolic links need a privilege on Windows (and Wine makes none): the
    // copy's settings name the data file itself.
    ASSERT_TRUE(writeIniString("system", "file", m_folder->file("vornik.txt")));
#else
    std::filesystem::create_symlink(m_folder->path() / "vornik.txt", copy.path() / "shared.txt");
    ASSERT_TRUE(writeIniString("system", "file", copy.file("shared.txt")));
#endif
    runWindowsAndCheck("ConcurrencyTest.TwoProgramFoldersSharingOneDataFile", m_folder->file("vornik.txt"),
        { first, first, second, second });
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_symlink(copy.path() / "shared.txt")) << "the link was replaced";
#endif
}

// Several windows writing settings at once (window placement, column widths,
// the font size): every write reported as done is in the file.
constexpr int kKeysEach = 40;

[[noreturn]] void runSettingsWriter(const Role& role)
{
    waitForGo(role);
    bool ok = true;
    for (int k = 0; k < kKeysEach; ++k)
        ok = writeIniInt(tagOf(role.window), "key" + std::to_string(k), k) && ok;
    std::_Exit(ok ? 0 : 1);
}

TEST_F(ConcurrencyTest, SettingsWritesOfSeveralWindowsAreAllKept)
{
    if (const std::optional<std::string> role = test::childRole())
        runSettingsWriter(parseRole(*role));
    const auto windows = startWindows(
        "ConcurrencyTest.SettingsWritesOfSeveralWindowsAreAllKept", "settings", kWindows, *m_folder);
    writeFileBytes(m_folder->path() / "go", "");
    for (const auto& window : windows)
        EXPECT_EQ(window->wait(), 0) << "a settings write failed";
    for (int window = 0; window < kWindows; ++window) {
        for (int k = 0; k < kKeysEach; ++k)
            EXPECT_EQ(readIniInt(tagOf(window), "key" + std::to_string(k), -1), k) << window << " " << k;
    }
}

// Stops inside the first write of a save, for good: the lock is held and the
// temporary file half made, until the process is killed.
class StopInWrite : public FileOps {
public:
    bool open(const std::string& path, OpenMode mode, FileHandle& file, int& error) override
    {
        return real().open(path, mode, file, error);
    }
    bool read(FileHandle file, char* buffer, std::size_t size, std::size_t& got, int& error) override
    {
        return real().read(file, buffer, size, got, error);
    }
    bool readAt(FileHandle file, std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got,
        int& error) override
    {
        return real().readAt(file, offset, buffer, size, got, error);
    }
    bool stamp(FileHandle file, FileStamp& stamp, int& error) override
    {
        return real().stamp(file, stamp, error);
    }
    bool write(
        FileHandle file, const char* data, std::size_t size, std::size_t& /*written*/, int& error) override
    {
        std::size_t half = 0;
        real().write(file, data, size / 2, half, error);
        writeFileBytes(std::filesystem::path(programDir()) / "stopped", "");
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    bool seekToEnd(FileHandle file, std::uint64_t& size, int& error) override
    {
        return real().seekToEnd(file, size, error);
    }
    bool sync(FileHandle file, int& error) override { return real().sync(file, error); }
    bool close(FileHandle file, int& error) override { return real().close(file, error); }
    bool remove(const std::string& path, int& error) override { return real().remove(path, error); }
    bool rename(const std::string& from, const std::string& to, int& error) override
    {
        return real().rename(from, to, error);
    }
    bool syncFolder(const std::string& folder, int& error) override
    {
        return real().syncFolder(folder, error);
    }
    bool lock(FileHandle file, std::chrono::milliseconds timeout, int& error) override
    {
        return real().lock(file, timeout, error);
    }

private:
    static FileOps& real() { return realFileOps(); }
};

// The holder (part "holder") and the windows that come after it (part
// "after").
[[noreturn]] void runHolderOrLater(const Role& role)
{
    StorageError error;
    if (role.part == "holder") {
        StopInWrite ops;
        installFileOps(&ops);
        currentRecord() = RecipeRecord();
        currentRecord().name() = "never-stored";
        saveNewRecord(error);
        std::_Exit(0);
    }
    waitForGo(role);
    bool ok = true;
    for (int i = 0; i < 5; ++i) {
        currentRecord() = RecipeRecord();
        currentRecord().name() = tagOf(role.window) + "-after-" + std::to_string(i);
        ok = saveNewRecord(error) && ok;
    }
    std::_Exit(ok ? 0 : 1);
}

TEST_F(ConcurrencyTest, AHolderKilledMidSaveDoesNotBlockTheOthers)
{
    constexpr char kName[] = "ConcurrencyTest.AHolderKilledMidSaveDoesNotBlockTheOthers";
    if (const std::optional<std::string> role = test::childRole())
        runHolderOrLater(parseRole(*role));
    const TempProgramDir& m_dir = *m_folder;
    const std::string before = readFileBytes(m_dir.file("vornik.txt"));
    test::ChildProcess holder(kName, roleFor("holder", 0, m_dir));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(m_dir.path() / "stopped") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(std::filesystem::exists(m_dir.path() / "stopped"));
    EXPECT_TRUE(std::filesystem::exists(m_dir.path() / "temp.dat"));

    // The other windows start saving; they wait for the lock.
    const auto others = startWindows(kName, "after", 3, m_dir);
    writeFileBytes(m_dir.path() / "go", "");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (const auto& other : others)
        EXPECT_FALSE(other->hasEnded()) << "saved while the lock was held";
    EXPECT_EQ(readFileBytes(m_dir.file("vornik.txt")), before);

    const auto killed = std::chrono::steady_clock::now();
    holder.kill();
    holder.wait();
    for (const auto& other : others)
        EXPECT_EQ(other->wait(), 0);
    const auto waited = std::chrono::steady_clock::now() - killed;
    EXPECT_LT(waited, std::chrono::seconds(3));

    const std::string after = readFileBytes(m_dir.file("vornik.txt"));
    EXPECT_EQ(after.compare(0, before.size(), before), 0) << "the old records changed";
    const std::vector<std::string> added = test::crlfLines(after.substr(before.size()));
    EXPECT_EQ(added.size(), 15u);
    EXPECT_EQ(after.find("never-stored"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "temp.dat"));
    std::printf("others done %lld ms after the holder was killed\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()));
}

} // namespace
} // namespace vornik
