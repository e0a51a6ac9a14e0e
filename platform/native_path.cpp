#include "platform/native_path.h"

#include "platform/sjis_codec.h"

namespace vornik {

std::filesystem::path nativePath(const std::string& sjisPath)
{
    const std::string utf8 = sjisToUtf8(sjisPath);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string sjisPath(const std::filesystem::path& native)
{
    const std::u8string utf8 = native.u8string();
    return utf8ToSjis(std::string(utf8.begin(), utf8.end()));
}

} // namespace vornik
