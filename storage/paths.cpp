#include "storage/paths.h"

#include "platform/native_path.h"
#include "storage/profile.h"

namespace vornik {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string& programDirStorage()
{
    static std::string dir = ".";
    return dir;
}

bool isAbsolute(const std::string& path)
{
#ifdef _WIN32
    return (path.size() >= 2 && path[1] == ':') || path.starts_with("\\\\") || path.starts_with("//");
#else
    return path.starts_with("/");
#endif
}

// The settings file drops blanks and tabs around a value and one pair of
// enclosing quotes; quoted, a path keeps its blanks ("data " stays "data ",
// not another file).
std::string quotedWhereTrimmed(const std::string& value)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool needsQuotes = !value.empty()
        && (blank(value.front()) || blank(value.back()) || (value.front() == '"' && value.back() == '"'));
    return needsQuotes ? "\"" + value + "\"" : value;
}

std::optional<std::string>& dataFilePathOverride()
{
    static std::optional<std::string> path;
    return path;
}

} // namespace

const std::string& programDir()
{
    return programDirStorage();
}

void setProgramDir(std::string dir)
{
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == kSeparator))
        dir.pop_back();
    programDirStorage() = std::move(dir);
}

std::string programFilePath(const std::string& name)
{
    return programDir() + kSeparator + name;
}

void setDataFilePathOverride(std::optional<std::string> path)
{
    dataFilePathOverride() = std::move(path);
}

std::string dataFilePath()
{
    if (dataFilePathOverride())
        return *dataFilePathOverride();
    // No capacity limit: a long path must never be cut silently.
    const std::string setting = readIniString(ini::DataFile);
    if (setting.empty())
        return programFilePath("vornik.txt");
    const std::string path = pathFromSetting(setting);
    return isAbsolute(path) ? path : programFilePath(path);
}

std::optional<std::string> dataFileSetting(const std::string& path)
{
    if (std::optional<std::string> setting = pathForSetting(path))
        return quotedWhereTrimmed(*setting);
    const std::string inside = programDir() + kSeparator;
    if (path.starts_with(inside)) {
        if (std::optional<std::string> setting = pathForSetting(path.substr(inside.size())))
            return quotedWhereTrimmed(*setting);
    }
    return std::nullopt;
}

bool setDataFilePath(const std::string& path)
{
    const std::optional<std::string> setting = dataFileSetting(path);
    return setting && writeIniString(ini::DataFile, *setting);
}

std::string memoFilePath()
{
    const std::string data = dataFilePath();
    const std::size_t dot = data.rfind('.');
    const std::string stem = dot == std::string::npos ? std::string() : data.substr(0, dot);
    return stem + "_memo.txt";
}

} // namespace vornik
