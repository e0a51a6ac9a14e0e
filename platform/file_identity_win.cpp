// File identity on Windows.

#include "platform/file_identity.h"

#include "platform/native_path.h"

#include <filesystem>
#include <system_error>
#include <windows.h>

namespace vornik {

std::optional<FileIdentity> fileIdentity(const std::string& path)
{
    // No access rights are needed to read the identity, and sharing
    // everything keeps the check from disturbing a window that has the file
    // open. The backup flag lets the call open folders too.
    const HANDLE handle
        = ::CreateFileW(nativePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info {};
    const bool ok = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!ok)
        return std::nullopt;
    return FileIdentity { info.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow };
}

bool sameResolvedPath(const std::string& a, const std::string& b)
{
    std::error_code errorA;
    std::error_code errorB;
    const std::wstring resolvedA
        = std::filesystem::weakly_canonical(nativePath(a), errorA).make_preferred().wstring();
    const std::wstring resolvedB
        = std::filesystem::weakly_canonical(nativePath(b), errorB).make_preferred().wstring();
    return !errorA && !errorB
        && ::CompareStringOrdinal(resolvedA.c_str(), static_cast<int>(resolvedA.size()), resolvedB.c_str(),
               static_cast<int>(resolvedB.size()), TRUE)
        == CSTR_EQUAL;
}

unsigned long currentProcessId()
{
    return static_cast<unsigned long>(::GetCurrentProcessId());
}

bool isProcessRunning(unsigned long id)
{
    if (id == 0)
        return true;
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        // Access denied: it runs, in a session or of a user we may not ask.
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    // A process that ended lives on as long as somebody holds a handle. A
    // wait would need a right the query right does not give; an exit code
    // that cannot be read, or a process that ended with the code meaning
    // "still active", counts as running.
    DWORD exitCode = 0;
    const bool ended = ::GetExitCodeProcess(process, &exitCode) != 0 && exitCode != STILL_ACTIVE;
    ::CloseHandle(process);
    return !ended;
}

bool isOwnRegularFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(nativePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
        == 0;
}

} // namespace vornik
