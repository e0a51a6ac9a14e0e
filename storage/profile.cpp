#include "storage/profile.h"

#include "storage/data_file.h"
#include "storage/numbers.h"
#include "storage/paths.h"
#include "storage/profile_file.h"
#include "storage/settings_defaults.h"

namespace vornik {
namespace {

// Another instance of the program may have changed the file since the last
// call, so every access reads it afresh.
ProfileFile currentContent(const std::string& path)
{
    std::optional<ProfileFile> file = ProfileFile::load(path);
    return file ? std::move(*file) : ProfileFile();
}

} // namespace

std::string settingsFilePath()
{
    return programFilePath("vornik.ini");
}

std::string readProfileString(const std::string& path, std::string_view section, std::string_view key,
    std::string_view def, std::size_t capacity)
{
    return currentContent(path).readString(section, key, def, capacity);
}

int readProfileInt(const std::string& path, std::string_view section, std::string_view key, int def)
{
    return currentContent(path).readInt(section, key, def);
}

bool writeProfileString(
    const std::string& path, std::string_view section, std::string_view key, std::string_view value)
{
    // Read, change and write back under the file's lock: two windows writing
    // different keys at once must not each write the file without the
    // other's key.
    // Settings calls report a failure as false alone, like the profile
    // functions they follow; the message is not wanted.
    StorageError ignored;
    return withFileLock(path, ignored, [&] {
        std::optional<ProfileFile> file = ProfileFile::load(path);
        if (!file || !file->writeString(section, key, value))
            return false;
        return !file->isModified() || file->save(path);
    });
}

std::string readIniString(
    std::string_view section, std::string_view key, std::string_view def, std::size_t capacity)
{
    return settingsContent().readString(section, key, def, capacity);
}

int readIniInt(std::string_view section, std::string_view key, int def)
{
    return settingsContent().readInt(section, key, def);
}

bool writeIniString(std::string_view section, std::string_view key, std::string_view value)
{
    return writeProfileString(settingsFilePath(), section, key, value);
}

bool writeIniInt(std::string_view section, std::string_view key, int n)
{
    return writeIniString(section, key, intToText(n));
}

} // namespace vornik
