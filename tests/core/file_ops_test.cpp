// What the platform's file operations promise on every system, Windows
// included: bytes and line ends pass unchanged, a file can be replaced while
// another window reads it, long and Japanese paths work. (The lock of a
// window that dies: concurrent_save_test.)

#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "platform/sjis_literal.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace vornik {
namespace {

using test::TempProgramDir;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// A path in the program's own form (Shift-JIS bytes) inside `folder`.
std::string inFolder(const std::filesystem::path& folder, const std::string& name)
{
    return programPath(folder) + kSeparator + name;
}

std::string readThroughHandle(FileHandle file)
{
    std::string content;
    char buffer[4096];
    std::size_t got = 0;
    int error = 0;
    while (fileOps().read(file, buffer, sizeof buffer, got, error) && got > 0)
        content.append(buffer, got);
    return content;
}

// Whole content through the platform's own calls: the C library's streams
// know nothing of long paths on Windows.
std::string readThroughFileOps(const std::string& path)
{
    ScopedFile file;
    int error = 0;
    if (!file.open(path, OpenMode::Read, error))
        return "(cannot open: errno " + std::to_string(error) + ")";
    return readThroughHandle(file.handle());
}

TEST(FileOps, BytesAndLineEndsPassUnchanged)
{
    TempProgramDir dir;
    // CR LF, LF alone, CR alone, Ctrl-Z (end of file to a text-mode reader
    // on Windows) and a zero byte.
    const std::string bytes("1,a\r\n2,b\n3,c\r4,\x1A"
                            "d\0e\r\n",
        20);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(dir.file("vornik.txt"), bytes, error)) << error;
    EXPECT_EQ(test::readFileBytes(dir.path() / "vornik.txt"), bytes);
    EXPECT_EQ(readThroughFileOps(dir.file("vornik.txt")), bytes);
}

// Linux and Windows 10 on NTFS replace a file that is open: the reader goes
// on with the old content. Elsewhere (older Windows, FAT, Wine) the save
// waits until the reader is done.
TEST(FileOps, AFileBeingReadIsReplacedOnceOrWhileItIsRead)
{
    TempProgramDir dir;
    const std::string path = dir.file("vornik.txt");
    test::writeFileBytes(path, "old\r\n");
    ScopedFile reader;
    int code = 0;
    ASSERT_TRUE(reader.open(path, OpenMode::Read, code));

    // Another window saves while this one scans, and ends its scan soon.
    std::string readByTheScan;
    std::thread scan([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        readByTheScan = readThroughHandle(reader.handle());
        reader.closeQuietly();
    });
    std::string error;
    const bool saved = writeFileAtomically(path, "new\r\n", error);
    scan.join();
    ASSERT_TRUE(saved) << error;
    EXPECT_EQ(readByTheScan, "old\r\n");
    EXPECT_EQ(readThroughFileOps(path), "new\r\n");
}

TEST(FileOps, JapaneseAndLongPaths)
{
    TempProgramDir dir;
    // Japanese file names: the file system must see these characters, not
    // the bytes read in some other code page.
    const std::string japanese = inFolder(dir.path(), "鍛冶場のメモ.txt");
    // More than 260 characters in all, the old limit of Windows paths; each
    // part stays within the 255 a name may have.
    const std::filesystem::path deep = dir.path() / std::string(120, 'd') / std::string(120, 'e');
    std::filesystem::create_directories(deep);
    const std::string longPath = inFolder(deep, std::string(100, 'f') + ".txt");
    ASSERT_GT(longPath.size(), 300u);

    for (const std::string& path : { japanese, longPath }) {
        std::string error;
        ASSERT_TRUE(writeFileAtomically(path, "1,x\r\n", error)) << error;
        ASSERT_TRUE(writeFileAtomically(path, "2,y\r\n", error)) << error;
        EXPECT_EQ(readThroughFileOps(path), "2,y\r\n") << path;
        FileLock lock(path + ".lock", std::chrono::milliseconds(100));
        EXPECT_TRUE(lock.isLocked()) << path;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.path() / std::filesystem::path(u8"鍛冶場のメモ.txt")));
    EXPECT_EQ(std::filesystem::file_size(deep / (std::string(100, 'f') + ".txt")), 5u);
}

// A save's temporary file goes on every way out but its commit; a name the
// guard could not create (here a folder) belongs to someone else and stays.
TEST(FileOps, TempFileGuardRemovesOnlyWhatItCreatedAndDidNotCommit)
{
    TempProgramDir dir;
    struct Case {
        const char* name;
        bool folderInTheWay;
        bool commit;
        bool remains;
    };
    const Case cases[] = {
        { "written, not committed", false, false, false },
        { "written and committed", false, true, true },
        { "not created", true, false, true },
    };
    for (const Case& c : cases) {
        const std::string path = inFolder(dir.path(), "temp.dat");
        std::filesystem::remove_all(nativePath(path));
        if (c.folderInTheWay)
            std::filesystem::create_directory(nativePath(path));
        {
            TempFileGuard temp(path);
            int error = 0;
            EXPECT_EQ(temp.create(error), !c.folderInTheWay) << c.name;
            if (temp.file().isOpen()) {
                EXPECT_TRUE(writeAll(temp.file().handle(), "1,x\r\n", error)) << c.name;
            }
            if (c.commit)
                temp.commit();
        }
        EXPECT_EQ(std::filesystem::exists(nativePath(path)), c.remains) << c.name;
    }
}

} // namespace
} // namespace vornik
