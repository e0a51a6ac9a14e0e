#pragma once
// Size and modification time of a file: enough to tell that a data file
// read earlier has not changed since, without reading it again.

#include <cstdint>
#include <optional>
#include <string>

namespace vornik {

struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // in the file system's own clock units
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// Nothing when the file does not exist or cannot be examined.
std::optional<FileStamp> fileStamp(const std::string& path);

} // namespace vornik
