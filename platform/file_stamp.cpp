#include "platform/file_stamp.h"

#include "platform/native_path.h"

#include <filesystem>
#include <system_error>

namespace vornik {

std::optional<FileStamp> fileStamp(const std::string& path)
{
    const std::filesystem::path native = nativePath(path);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(native, error);
    if (error)
        return std::nullopt;
    const std::filesystem::file_time_type modified = std::filesystem::last_write_time(native, error);
    if (error)
        return std::nullopt;
    return FileStamp { static_cast<std::uint64_t>(size),
        static_cast<std::int64_t>(modified.time_since_epoch().count()) };
}

} // namespace vornik
