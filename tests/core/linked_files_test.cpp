// Files that are not plain files beside the program: links to files
// elsewhere, folders, devices and pipes named as data; line ends of other
// systems; leftovers of killed saves beside a data file in another folder.

#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/native_path.h"
#include "storage/data_file.h"
#include "storage/line_reader.h"
#include "storage/memo_file.h"
#include "storage/memo_pad.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "tests/support/fault_injection.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

// Links, file modes, pipes, sockets and device nodes are POSIX things: on
// Windows a symbolic link needs a privilege most users lack (and Wine cannot
// make one), so only folders stand in for files that are no data there.
#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace vornik {
namespace {

namespace fs = std::filesystem;
using test::namedRecord;
using test::readFileBytes;
using test::setCurrent;
using test::TempProgramDir;
using test::writeFileBytes;

class LinkedFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setOpenErrorHandler([this](const std::string& path) { m_openErrors.push_back(path); });
    }
    void TearDown() override { setOpenErrorHandler(nullptr); }

    TempProgramDir m_elsewhere; // another folder, even another user's
    TempProgramDir m_dir; // the program folder
    std::vector<std::string> m_openErrors;
};

#ifndef _WIN32
TEST_F(LinkedFilesTest, LinkedFilesStayLinksAndKeepTheirMode)
{
    struct Case {
        const char* link;
        std::string before;
        std::function<bool(StorageError& error)> save;
        std::string after;
    };
    const std::vector<Case> cases {
        { "vornik.txt", namedRecord("1", "a") + "\r\n",
            [](StorageError& error) {
                setCurrent("1", "b");
                return saveRecord(error);
            },
            namedRecord("1", "b") + "\r\n" },
        { "vornik_memo.txt", "1,old\r\n", [](StorageError& error) { return saveMemo("1", "new", error); },
            "1,new\r\n" },
        { "memo.txt", "pad",
            [](StorageError& error) {
                return saveMemoPadLines({ "new", "pad" }, error);
            },
            "new\r\npad" },
        { "vornik.ini", "[system]\r\nfont=110\r\n",
            [](StorageError&) { return writeIniInt("system", "font", 90); }, "[system]\r\nfont=90\r\n" },
    };
    for (const Case& c : cases) {
        const fs::path target = m_elsewhere.path() / (std::string("target-") + c.link);
        writeFileBytes(target, c.before);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        fs::create_symlink(target, m_dir.path() / c.link);

        StorageError error;
        ASSERT_TRUE(c.save(error)) << c.link << ": " << error.text;
        EXPECT_TRUE(fs::is_symlink(m_dir.path() / c.link)) << c.link;
        EXPECT_EQ(readFileBytes(target), c.after) << c.link;
        EXPECT_EQ(
            fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
            << c.link;
        for (const auto& entry : fs::directory_iterator(m_elsewhere.path()))
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
    // Both folders' windows lock the file the link leads to.
    EXPECT_EQ(lockPathFor(m_dir.file("vornik.txt")), lockPathFor(m_elsewhere.file("target-vornik.txt")));
}
#endif

TEST_F(LinkedFilesTest, OnlyRegularFilesAreData)
{
    StorageError error;
    struct Node {
        const char* name;
        std::function<bool(const fs::path&)> make;
    };
    std::vector<Node> nodes {
        { "folder", [](const fs::path& p) { return fs::create_directory(p); } },
#ifndef _WIN32
        { "fifo", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0600) == 0; } },
        { "socket",
            [](const fs::path& p) {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address {};
                address.sun_family = AF_UNIX;
                p.string().copy(address.sun_path, sizeof(address.sun_path) - 1);
                const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
                ::close(fd);
                return bound;
            } },
#endif
    };
#ifndef _WIN32
    // A device of our own (the null device's numbers), where we may make one:
    // the test never points the program at the system's /dev/null.
    if (::geteuid() == 0)
        nodes.push_back({ "device",
            [](const fs::path& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; } });
#endif
    for (const Node& node : nodes) {
        const fs::path path = m_elsewhere.path() / node.name;
        ASSERT_TRUE(node.make(path)) << node.name;
        const fs::file_type type = fs::symlink_status(path).type();
        ASSERT_TRUE(writeIniString("system", "file", path.string()));
        m_openErrors.clear();

        EXPECT_FALSE(openDataFile(error)) << node.name;
        closeDataFile();
        EXPECT_FALSE(openErrorDetail().empty()) << node.name;
        setCurrent("1", "x");
        EXPECT_FALSE(saveRecord(error)) << node.name;
        EXPECT_FALSE(saveNewRecord(error)) << node.name;
        EXPECT_FALSE(deleteRecord(error)) << node.name;
        EXPECT_EQ(m_openErrors.size(), 4u) << node.name;
        EXPECT_EQ(fs::symlink_status(path).type(), type) << node.name << " was replaced";
    }
#ifndef _WIN32
    // The memo pad is not replaced by a save either.
    ASSERT_EQ(::mkfifo(m_dir.file("memo.txt").c_str(), 0600), 0);
    EXPECT_FALSE(saveMemoPadLines({ "x" }, error));
    EXPECT_EQ(fs::symlink_status(m_dir.file("memo.txt")).type(), fs::file_type::fifo);
#endif
}

TEST_F(LinkedFilesTest, NoMessageWhileALockIsHeld)
{
    StorageError error;
    // The handler stands for a message box: while it waits for a click,
    // every other window must be free to save.
    std::vector<bool> lockFree;
    setOpenErrorHandler([&lockFree](const std::string&) {
        FileLock program(storageLockPath(), std::chrono::milliseconds(0));
        FileLock data(lockPathFor(dataFilePath()), std::chrono::milliseconds(0));
        lockFree.push_back(program.isLocked() && data.isLocked());
    });
    setCurrent("1", "x");
    EXPECT_FALSE(saveRecord(error)); // no data file
    EXPECT_FALSE(deleteRecord(error));
    EXPECT_EQ(lockFree, (std::vector<bool> { true, true }));
}

TEST_F(LinkedFilesTest, AFolderWithoutLocksStillTakesTurnsThroughTheProgramFolder)
{
    writeFileBytes(m_dir.file("vornik.txt"), namedRecord("1", "a") + "\r\n");
    for (const int code : { ENOLCK, ETIMEDOUT }) {
        // Calls: open and lock the program folder's lock, then the file's.
        test::FaultInjector noLocks(4, code);
        bool saved = false;
        StorageError error;
        {
            test::ScopedFileOps installed(noLocks);
            setCurrent("1", "b");
            saved = saveRecord(error);
        }
        ASSERT_EQ(noLocks.failedCall(), "lock");
        EXPECT_EQ(saved, code == ENOLCK) << error.text;
    }
    EXPECT_EQ(readFileBytes(m_dir.file("vornik.txt")), namedRecord("1", "b") + "\r\n");
}

TEST_F(LinkedFilesTest, LoneCarriageReturnEndsALine)
{
    StorageError error;
    const std::string mixed = namedRecord("1", "a") + "\r" + namedRecord("2", "b") + "\r\n"
        + namedRecord("3", "c") + "\n" + namedRecord("4", "d") + "\r" + namedRecord("5", "e");
    writeFileBytes(m_dir.file("vornik.txt"), mixed);
    // Small buffers put a CR at the end of a buffer, before and after its LF.
    for (const std::size_t buffer :
        { std::size_t(16), std::size_t(53), std::size_t(54), std::size_t(4096) }) {
        LineReader reader(buffer);
        ASSERT_TRUE(reader.open(m_dir.file("vornik.txt")));
        std::vector<std::string> lines;
        std::string_view line;
        while (reader.readLine(line))
            lines.emplace_back(line);
        EXPECT_EQ(lines,
            (std::vector<std::string> { namedRecord("1", "a"), namedRecord("2", "b"), namedRecord("3", "c"),
                namedRecord("4", "d"), namedRecord("5", "e") }))
            << buffer;
    }
    setCurrent("4", "D");
    ASSERT_TRUE(saveRecord(error));
    EXPECT_EQ(readFileBytes(m_dir.file("vornik.txt")),
        namedRecord("1", "a") + "\r\n" + namedRecord("2", "b") + "\r\n" + namedRecord("3", "c") + "\r\n"
            + namedRecord("4", "D") + "\r\n" + namedRecord("5", "e") + "\r\n");
}

TEST_F(LinkedFilesTest, TemporaryFilesOfKilledSavesBesideTheDataFileGo)
{
    StorageError error;
    const std::string data = m_elsewhere.file("shared.txt");
    writeFileBytes(data, namedRecord("1", "a") + "\r\n");
    ASSERT_TRUE(writeIniString("system", "file", data));
    const fs::path killed = m_elsewhere.path() / "shared.txt.99999999.tmp";
    const fs::path running = m_elsewhere.path() / "shared.txt.4343.tmp";
    writeFileBytes(killed, "half a save");
    fs::last_write_time(killed, fs::file_time_type::clock::now() - std::chrono::hours(2));
    writeFileBytes(running, "a save going on");
    setCurrent("2", "b");
    ASSERT_TRUE(saveRecord(error));
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(running));
}

// Program folders named with characters Shift-JIS cannot hold: settings are
// written, the data file is found, records and memos are saved there.
TEST_F(LinkedFilesTest, ProgramFoldersShiftJisCannotName)
{
    StorageError error;
    const std::string outer = programDir();
    for (const char* name : { "caf\xC3\xA9", "\xE6\x95\xB0\xE6\x8D\xAE\xF0\x9F\x98\x80",
             "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4" }) {
        const fs::path folder = m_dir.path() / nativePath(name);
        fs::create_directory(folder);
        setProgramDir(programPath(folder));
        writeFileBytes(folder / "vornik.txt", namedRecord("1", "a") + "\r\n");

        ASSERT_TRUE(writeIniInt("system", "font", 90)) << name;
        EXPECT_EQ(readFileBytes(folder / "vornik.ini"), "[system]\r\nfont=90\r\n") << name;
        EXPECT_EQ(dataFilePath(), programPath(folder / "vornik.txt")) << name;
        setCurrent("", "b");
        ASSERT_TRUE(saveNewRecord(error)) << name << ": " << error.text;
        ASSERT_TRUE(saveMemo("2", "memo", error)) << name;
        ASSERT_TRUE(saveMemoPadLines({ "pad" }, error)) << name;
        EXPECT_EQ(readFileBytes(folder / "vornik.txt"),
            namedRecord("1", "a") + "\r\n" + namedRecord("2", "b") + "\r\n");
        EXPECT_EQ(readMemo("2"), "memo") << name;
        EXPECT_EQ(readFileBytes(folder / "memo.txt"), "pad") << name;
        EXPECT_TRUE(m_openErrors.empty()) << name;

        // A data file inside is kept relative to the folder; one outside
        // that Shift-JIS cannot name is refused and the setting kept.
        const std::string inside = programPath(folder / "other.txt");
        ASSERT_TRUE(setDataFilePath(inside)) << name;
        EXPECT_EQ(readIniString("system", "file", ""), "other.txt") << name;
        EXPECT_EQ(dataFilePath(), inside) << name;
        EXPECT_FALSE(setDataFilePath(programPath(m_elsewhere.path() / nativePath(name) / "x.txt"))) << name;
        EXPECT_EQ(dataFilePath(), inside) << name;
    }
    setProgramDir(outer);
}

} // namespace
} // namespace vornik
