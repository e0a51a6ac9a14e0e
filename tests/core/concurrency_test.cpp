// Four program windows changing one data file at the same moment, as real
// processes: each adds 200 records and edits records of its own among the
// ones already there, and stores memos. Nothing may be lost, no id handed out
// twice, no line torn or mixed with another. And a window killed while it
// holds the lock, in the middle of its rewrite, must not keep the others
// waiting.

#include "platform/file_ops.h"
#include "storage/data_file.h"
#include "storage/memo_file.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vornik {
namespace {

using test::readFileBytes;
using test::TempProgramDir;
using test::writeFileBytes;

constexpr int kWindows = 4;
constexpr int kAddsEach = 200;
constexpr int kExisting = 100; // records 1 to 100; window w edits those with id % 4 == w
constexpr int kEditEvery = 8; // one edit after every 8 additions: 25 edits each

std::string recordLine(const std::string& id, const std::string& name)
{
    return id + "," + name + std::string(kFieldCount - 2, ',');
}

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

// Waits for the go byte, so that all windows start together; exits 0 only
// when every save succeeded.
[[noreturn]] void runWindow(int window, int goPipe)
{
    char go = 0;
    if (::read(goPipe, &go, 1) != 1)
        ::_exit(2);
    bool ok = true;
    const auto report = [&ok](bool saved) {
        if (!saved) {
            ok = false;
            std::fprintf(stderr, "save failed: %s\n", storageError().c_str());
        }
    };
    const std::vector<int> toEdit = editedBy(window);
    std::size_t edited = 0;
    std::mt19937 random(static_cast<unsigned>(window));
    std::uniform_int_distribution<int> thinkMicros(500, 3000);
    for (int i = 0; i < kAddsEach; ++i) {
        // A window does something else between two saves, if only briefly.
        ::usleep(static_cast<useconds_t>(thinkMicros(random)));
        RecipeRecord& record = currentRecord();
        record = RecipeRecord();
        record.name() = tagOf(window) + "-new-" + std::to_string(i);
        report(saveNewRecord());
        if (i % kEditEvery == kEditEvery - 1 && edited < toEdit.size()) {
            const std::string id = std::to_string(toEdit[edited++]);
            record = RecipeRecord();
            record.id() = id;
            record.name() = tagOf(window) + "-edited-" + id;
            report(saveRecord());
            report(saveMemo(id, tagOf(window) + " memo " + id));
        }
    }
    ::_exit(ok && edited == toEdit.size() ? 0 : 1);
}

std::vector<std::string> crlfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no line end>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string fieldOf(const std::string& line, int pos)
{
    std::size_t start = 0;
    for (int i = 0; i < pos; ++i)
        start = line.find(',', start) + 1;
    return line.substr(start, line.find(',', start) - start);
}

// Starts the windows together, window w in the program folder folders[w],
// and checks that every change of every window is in the data file.
void runWindowsAndCheck(const std::string& dataPath, const std::vector<std::string>& folders)
{
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> windows;
    for (int window = 0; window < kWindows; ++window) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            setProgramDir(folders[static_cast<std::size_t>(window)]);
            runWindow(window, go[0]);
        }
        windows.push_back(pid);
    }

    const auto started = std::chrono::steady_clock::now();
    const std::string bytes(kWindows, 'g');
    ASSERT_EQ(::write(go[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    for (const pid_t pid : windows) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a window's save failed";
    }
    const auto took
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    ::close(go[0]);
    ::close(go[1]);

    // Whole lines only: 50 fields each, CR LF after every one.
    const std::vector<std::string> lines = crlfLines(readFileBytes(dataPath));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kExisting + kWindows * kAddsEach));
    std::set<std::string> ids;
    std::set<std::string> names;
    for (const std::string& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), kFieldCount - 1) << line;
        EXPECT_TRUE(ids.insert(fieldOf(line, 0)).second) << "id used twice: " << line;
        EXPECT_TRUE(names.insert(fieldOf(line, 1)).second) << "record twice: " << line;
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
        EXPECT_EQ(line, recordLine(std::to_string(id), tag + "-edited-" + std::to_string(id)));
        setProgramDir(folders[static_cast<std::size_t>(id % kWindows)]);
        EXPECT_EQ(readMemo(std::to_string(id)), tag + " memo " + std::to_string(id));
    }
    std::printf("%d windows, %d additions and %d edits with memos in %lld ms\n", kWindows,
        kWindows * kAddsEach, kExisting, static_cast<long long>(took.count()));
    setProgramDir(folders[0]);
}

class ConcurrencyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setOpenErrorHandler(nullptr);
        std::string data;
        for (int id = 1; id <= kExisting; ++id)
            data += recordLine(std::to_string(id), "old-" + std::to_string(id)) + "\r\n";
        writeFileBytes(m_dir.file("vornik.txt"), data);
    }
    TempProgramDir m_dir;
};

TEST_F(ConcurrencyTest, FourWindowsAddingAndEditingAtOnce)
{
    runWindowsAndCheck(m_dir.file("vornik.txt"), std::vector<std::string>(kWindows, programDir()));
}

// A copied installation: a second program folder whose settings name the same
// data file, through a link. Its windows take turns with those of the first.
TEST_F(ConcurrencyTest, TwoProgramFoldersSharingOneDataFile)
{
    const std::string first = programDir();
    TempProgramDir copy;
    const std::string second = programDir();
    std::filesystem::create_symlink(m_dir.path() / "vornik.txt", copy.path() / "shared.txt");
    ASSERT_TRUE(writeIniString("system", "file", copy.file("shared.txt")));
    runWindowsAndCheck(m_dir.file("vornik.txt"), { first, first, second, second });
    EXPECT_TRUE(std::filesystem::is_symlink(copy.path() / "shared.txt")) << "the link was replaced";
}

// Several windows writing settings at once (window placement, column widths,
// the font size): every write reported as done is in the file.
TEST_F(ConcurrencyTest, SettingsWritesOfSeveralWindowsAreAllKept)
{
    constexpr int kKeysEach = 40;
    std::vector<pid_t> windows;
    for (int window = 0; window < kWindows; ++window) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int k = 0; k < kKeysEach; ++k)
                ok = writeIniInt(tagOf(window), "key" + std::to_string(k), k) && ok;
            ::_exit(ok ? 0 : 1);
        }
        windows.push_back(pid);
    }
    for (const pid_t pid : windows) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a settings write failed";
    }
    for (int window = 0; window < kWindows; ++window) {
        for (int k = 0; k < kKeysEach; ++k)
            EXPECT_EQ(readIniInt(tagOf(window), "key" + std::to_string(k), -1), k) << window << " " << k;
    }
}

// Stops its own process inside the first write of a save: the lock is held
// and the temporary file half made.
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
    bool write(FileHandle file, const char* data, std::size_t size, std::size_t& written, int& error) override
    {
        std::size_t half = 0;
        real().write(file, data, size / 2, half, error);
        ::raise(SIGSTOP);
        return real().write(file, data + half, size - half, written, error);
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

TEST_F(ConcurrencyTest, AHolderKilledMidSaveDoesNotBlockTheOthers)
{
    const std::string before = readFileBytes(m_dir.file("vornik.txt"));
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        StopInWrite ops;
        installFileOps(&ops);
        currentRecord() = RecipeRecord();
        currentRecord().name() = "never-stored";
        saveNewRecord();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, WUNTRACED), holder);
    ASSERT_TRUE(WIFSTOPPED(status));
    EXPECT_TRUE(std::filesystem::exists(m_dir.path() / "temp.dat"));

    // The other windows start saving; they wait for the lock.
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> others;
    for (int window = 0; window < 3; ++window) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            char byte = 0;
            if (::read(go[0], &byte, 1) != 1)
                ::_exit(2);
            bool ok = true;
            for (int i = 0; i < 5; ++i) {
                currentRecord() = RecipeRecord();
                currentRecord().name() = tagOf(window) + "-after-" + std::to_string(i);
                ok = saveNewRecord() && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        others.push_back(pid);
    }
    ASSERT_EQ(::write(go[1], "ggg", 3), 3);
    ::usleep(300 * 1000);
    for (const pid_t pid : others)
        EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0) << "saved while the lock was held";
    EXPECT_EQ(readFileBytes(m_dir.file("vornik.txt")), before);

    const auto killed = std::chrono::steady_clock::now();
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    for (const pid_t pid : others) {
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto waited = std::chrono::steady_clock::now() - killed;
    EXPECT_LT(waited, std::chrono::seconds(3));
    ::close(go[0]);
    ::close(go[1]);

    const std::string after = readFileBytes(m_dir.file("vornik.txt"));
    EXPECT_EQ(after.compare(0, before.size(), before), 0) << "the old records changed";
    const std::vector<std::string> added = crlfLines(after.substr(before.size()));
    EXPECT_EQ(added.size(), 15u);
    EXPECT_EQ(after.find("never-stored"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "temp.dat"));
    std::printf("others done %lld ms after the holder was killed\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()));
}

} // namespace
} // namespace vornik
#endif
