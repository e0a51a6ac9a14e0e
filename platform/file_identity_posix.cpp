// File identity on POSIX systems.

#include "platform/file_identity.h"

#include "platform/native_path.h"

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

} // namespace vornik
