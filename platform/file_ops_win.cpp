// File operations on Windows. Win32 error codes are mapped onto the errno
// values the rest of the program speaks.

#include "platform/file_lock.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>
#include <vector>
#include <windows.h>

namespace vornik {
namespace {

// Paths longer than MAX_PATH only work with the "\\?\" prefix, which in turn
// needs an absolute path with backslashes.
std::wstring widePath(const std::string& path)
{
    std::wstring wide = nativePath(path).wstring();
    if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(wide));
    wide = absolute.make_preferred().wstring();
    if (wide.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

int errnoFromWin32(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_TIMEOUT:
    case WAIT_TIMEOUT:
        return ETIMEDOUT;
    default:
        return EIO;
    }
}

bool fail(int& error)
{
    error = errnoFromWin32(GetLastError());
    return false;
}

HANDLE handleOf(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

// How long a replace waits for readers of the old file (another window's
// scan, a virus scanner) to let go, where the system cannot replace a file
// that is open.
constexpr std::chrono::milliseconds kReplaceRetryTime { 5000 };

bool isReadOnlyFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// FILE_RENAME_INFO with its flags and the information class that takes it,
// which headers for older Windows versions lack.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
struct RenameInfoEx {
    DWORD flags;
    HANDLE rootDirectory;
    DWORD fileNameLength;
    WCHAR fileName[1];
};

// Renames with POSIX semantics (Windows 10 1709 and later, NTFS): `to` is
// replaced even while other handles have it open, and those readers go on
// reading the old content, as on the other systems. Then flushes the renamed
// file, so the rename is on the disk when this returns.
bool renameReplacingOpenTarget(const std::wstring& from, const std::wstring& to)
{
    const HANDLE file = CreateFileW(from.c_str(), DELETE | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
        nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::size_t nameBytes = to.size() * sizeof(WCHAR);
    std::vector<std::byte> buffer(offsetof(RenameInfoEx, fileName) + nameBytes + sizeof(WCHAR));
    auto* info = reinterpret_cast<RenameInfoEx*>(buffer.data());
    info->flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->rootDirectory = nullptr;
    info->fileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->fileName, to.c_str(), nameBytes + sizeof(WCHAR));
    const bool renamed
        = SetFileInformationByHandle(file, kFileRenameInfoEx, info, static_cast<DWORD>(buffer.size()));
    if (renamed)
        FlushFileBuffers(file);
    CloseHandle(file);
    return renamed;
}

class WinFileOps final : public FileOps {
public:
    bool open(const std::string& path, OpenMode mode, FileHandle& file, int& error) override
    {
        DWORD access = GENERIC_READ;
        DWORD disposition = OPEN_EXISTING;
        if (mode == OpenMode::CreateTruncate) {
            access = GENERIC_WRITE;
            disposition = CREATE_ALWAYS;
        } else if (mode == OpenMode::ReadWrite) {
            access = GENERIC_READ | GENERIC_WRITE;
            disposition = OPEN_ALWAYS;
        }
        // Readers share everything, including deletion, so that another
        // window can rename a new data file over one that is being scanned.
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const HANDLE handle = CreateFileW(
            widePath(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return fail(error);
        file = reinterpret_cast<FileHandle>(handle);
        return true;
    }

    bool read(FileHandle file, char* buffer, std::size_t size, std::size_t& got, int& error) override
    {
        DWORD done = 0;
        const DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (!ReadFile(handleOf(file), buffer, ask, &done, nullptr))
            return fail(error);
        got = done;
        return true;
    }

    bool readAt(FileHandle file, std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got,
        int& error) override
    {
        OVERLAPPED at {};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD done = 0;
        const DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (!ReadFile(handleOf(file), buffer, ask, &done, &at)) {
            // A synchronous handle read past its end reports that as a failure.
            if (GetLastError() != ERROR_HANDLE_EOF)
                return fail(error);
            done = 0;
        }
        got = done;
        return true;
    }

    bool stamp(FileHandle file, FileStamp& stamp, int& error) override
    {
        BY_HANDLE_FILE_INFORMATION info {};
        if (!GetFileInformationByHandle(handleOf(file), &info))
            return fail(error);
        stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        stamp.modified = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32)
            | info.ftLastWriteTime.dwLowDateTime);
        return true;
    }

    bool write(FileHandle file, const char* data, std::size_t size, std::size_t& written, int& error) override
    {
        DWORD done = 0;
        const DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (!WriteFile(handleOf(file), data, ask, &done, nullptr))
            return fail(error);
        written = done;
        return true;
    }

    bool seekToEnd(FileHandle file, std::uint64_t& size, int& error) override
    {
        LARGE_INTEGER zero {};
        LARGE_INTEGER end {};
        if (!SetFilePointerEx(handleOf(file), zero, &end, FILE_END))
            return fail(error);
        size = static_cast<std::uint64_t>(end.QuadPart);
        return true;
    }

    bool sync(FileHandle file, int& error) override
    {
        return FlushFileBuffers(handleOf(file)) ? true : fail(error);
    }

    bool close(FileHandle file, int& error) override
    {
        return CloseHandle(handleOf(file)) ? true : fail(error);
    }

    bool remove(const std::string& path, int& error) override
    {
        return DeleteFileW(widePath(path).c_str()) ? true : fail(error);
    }

    bool rename(const std::string& from, const std::string& to, int& error) override
    {
        const std::wstring wideFrom = widePath(from);
        const std::wstring wideTo = widePath(to);
        if (renameReplacingOpenTarget(wideFrom, wideTo))
            return true;
        // Older Windows, or a file system without that rename (FAT, some
        // network shares, Wine): MoveFileEx, which cannot replace a file
        // that another window has open for a scan. Scans are short, so it is
        // tried again for a while; a replace that still fails keeps the new
        // content in the temporary file and says the file is in use. Without
        // MOVEFILE_COPY_ALLOWED a move to another volume fails with
        // ERROR_NOT_SAME_DEVICE (EXDEV): the caller then copies beside the
        // target itself, so the replace stays a single rename.
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline = Clock::now() + kReplaceRetryTime;
        for (;;) {
            if (MoveFileExW(
                    wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            const DWORD code = GetLastError();
            const bool inUse = code == ERROR_SHARING_VIOLATION
                || (code == ERROR_ACCESS_DENIED && !isReadOnlyFile(wideTo) && !isReadOnlyFile(wideFrom));
            if (!inUse || Clock::now() >= deadline) {
                error = inUse ? EBUSY : errnoFromWin32(code);
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    bool syncFolder(const std::string&, int&) override
    {
        // A folder cannot be flushed on Windows; rename flushes the renamed
        // file (or MoveFileEx writes through) before it returns.
        return true;
    }

    bool lock(FileHandle file, std::chrono::milliseconds timeout, int& error) override
    {
        return lockFileHandle(file, timeout, error);
    }
};

} // namespace

FileOps& realFileOps()
{
    static WinFileOps ops;
    return ops;
}

bool openFileSurvivesReplace()
{
    // Another program's rename over a file this one keeps open may fail
    // (MoveFileEx, older systems, some network shares): the save would be
    // lost for the sake of a list.
    return false;
}

} // namespace vornik
