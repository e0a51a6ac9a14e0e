#include "platform/data_folder.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace vornik {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSampleFiles[] = { "vornik.txt", "vornik.dat" };

fs::path environmentPath(const char* name)
{
#ifdef _WIN32
    // The environment in UTF-16: a user name outside the ANSI code page
    // must survive.
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    return value && *value ? fs::path(value) : fs::path();
#else
    const char* value = std::getenv(name);
    return value && *value ? fs::path(value) : fs::path();
#endif
}

void seed(const fs::path& folder, const std::vector<fs::path>& sampleFolders)
{
    for (const fs::path& source : sampleFolders) {
        std::error_code error;
        if (!fs::is_regular_file(source / kSampleFiles[0], error))
            continue;
        for (const char* name : kSampleFiles) {
            // skip_existing: whatever the user already has stays.
            fs::copy_file(source / name, folder / name, fs::copy_options::skip_existing, error);
        }
        return;
    }
}

} // namespace

bool isWritableFolder(const fs::path& folder)
{
#ifdef _WIN32
    const unsigned long process = static_cast<unsigned long>(::_getpid());
#else
    const unsigned long process = static_cast<unsigned long>(::getpid());
#endif
    const fs::path probe = folder / ("vornik-write-test." + std::to_string(process) + ".tmp");
    bool writable = false;
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        writable = out.good() && (out << 'x') && out.flush();
    }
    std::error_code ignored;
    fs::remove(probe, ignored);
    return writable;
}

fs::path defaultPerUserFolder()
{
#ifdef _WIN32
    const fs::path local = environmentPath("LOCALAPPDATA");
    return local.empty() ? fs::path() : local / "Vornik";
#else
    const fs::path dataHome = environmentPath("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and to be ignored.
    if (dataHome.is_absolute())
        return dataHome / "vornik";
    const fs::path home = environmentPath("HOME");
    return home.empty() ? fs::path() : home / ".local" / "share" / "vornik";
#endif
}

bool isInstalledTree(const fs::path& programFolder)
{
    std::error_code ignored;
    return fs::is_directory(programFolder.parent_path() / "share" / "vornik", ignored);
}

std::vector<fs::path> sampleDataFolders(const fs::path& programFolder)
{
    return { programFolder, programFolder.parent_path() / "share" / "vornik" };
}

DataFolder chooseDataFolder(const fs::path& programFolder, bool programFolderWritable,
    const fs::path& perUserFolder, const std::vector<fs::path>& sampleFolders)
{
    if (programFolderWritable || perUserFolder.empty())
        return { programFolder, false };
    std::error_code error;
    const bool existed = fs::is_directory(perUserFolder, error);
    if (!existed && !fs::create_directories(perUserFolder, error))
        return { programFolder, false };
    if (!existed)
        seed(perUserFolder, sampleFolders);
    return { perUserFolder, true };
}

} // namespace vornik
