#include "storage/paths.h"

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
    const std::string fallback = programFilePath("vornik.txt");
    return readIniString("system", "file", fallback, std::string::npos);
}

std::string memoFilePath()
{
    const std::string data = dataFilePath();
    const std::size_t dot = data.rfind('.');
    const std::string stem = dot == std::string::npos ? std::string() : data.substr(0, dot);
    return stem + "_memo.txt";
}

} // namespace vornik
