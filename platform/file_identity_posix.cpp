// File identity on POSIX systems.

#include "platform/file_identity.h"

#include "platform/native_path.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vornik {

std::optional<FileIdentity> fileIdentity(const std::string& path)
{
    struct stat info { };
    if (::stat(nativePath(path).c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity { static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino) };
}

bool sameResolvedPath(const std::string& a, const std::string& b)
{
    std::error_code errorA;
    std::error_code errorB;
    const std::filesystem::path resolvedA = std::filesystem::weakly_canonical(nativePath(a), errorA);
    const std::filesystem::path resolvedB = std::filesystem::weakly_canonical(nativePath(b), errorB);
    return !errorA && !errorB && resolvedA == resolvedB;
}

unsigned long currentProcessId()
{
    return static_cast<unsigned long>(::getpid());
}

bool isProcessRunning(unsigned long id)
{
    // kill() with 0 or a negative number would ask about process groups.
    if (id == 0 || id > static_cast<unsigned long>(INT_MAX))
        return true;
    // Signal 0 only asks; EPERM: it runs, as another user.
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

bool isOwnRegularFile(const std::string& path)
{
    struct stat info { };
    return ::lstat(nativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode)
        && info.st_uid == ::geteuid();
}

} // namespace vornik
