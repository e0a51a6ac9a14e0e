// File operations on Windows. Win32 error codes are mapped onto the errno
// values the rest of the program speaks.

#include "platform/file_lock.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"

#include <cerrno>
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
        // Without MOVEFILE_COPY_ALLOWED a move to another volume fails with
        // ERROR_NOT_SAME_DEVICE (EXDEV): the caller then copies beside the
        // target itself, so the replace stays a single rename.
        if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        return fail(error);
    }

    bool syncFolder(const std::string&, int&) override
    {
        // MOVEFILE_WRITE_THROUGH already waits until the rename is on disk.
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

} // namespace vornik
