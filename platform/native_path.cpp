#include "platform/native_path.h"

#include "platform/sjis_codec.h"

namespace vornik {

std::filesystem::path nativePath(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string programPath(const std::filesystem::path& native)
{
    const std::u8string utf8 = native.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string pathForMessage(const std::string& path)
{
    return utf8ToSjis(path);
}

std::string pathFromSetting(const std::string& sjis)
{
    return sjisToUtf8(sjis);
}

std::optional<std::string> pathForSetting(const std::string& path)
{
    std::string sjis = utf8ToSjis(path);
    if (sjisToUtf8(sjis) != path)
        return std::nullopt;
    return sjis;
}

} // namespace vornik
