#pragma once
// Which folder holds the program's files. As designed, everything lives
// beside the executable (a portable folder that can be copied whole). When
// that folder cannot be written - the program installed under /usr or /opt,
// a read-only mount - the files go to a folder of the user's own instead,
// seeded at its first use with the sample data installed with the program.

#include <filesystem>
#include <vector>

namespace vornik {

struct DataFolder {
    std::filesystem::path path;
    bool perUser = false; // true when not the program's own folder
};

// True when a file can be created in `folder` (probed by creating and
// removing one; permissions alone do not tell about read-only mounts).
bool isWritableFolder(const std::filesystem::path& folder);

// True for an executable in bin/ of an installed tree (share/vornik/ beside
// bin/): such a folder is never the data folder, not even for a user who may
// write it (root, or an installation into the home folder).
bool isInstalledTree(const std::filesystem::path& programFolder);

// $XDG_DATA_HOME/vornik, else ~/.local/share/vornik (on Windows
// %LOCALAPPDATA%\Vornik). Empty when no home folder is known.
std::filesystem::path defaultPerUserFolder();

// Where the sample data lies for an executable in `programFolder`: beside it
// (a portable folder), or in share/vornik of an installed tree.
std::vector<std::filesystem::path> sampleDataFolders(const std::filesystem::path& programFolder);

// The program folder when `programFolderWritable` (pass false for an
// installed tree); otherwise `perUserFolder`,
// created when missing and then filled with the sample files (vornik.txt,
// vornik.dat) from the first of `sampleFolders` that has them. Files already
// in the per-user folder are never replaced. When the per-user folder cannot
// be made either, the program folder is used as it is.
DataFolder chooseDataFolder(const std::filesystem::path& programFolder, bool programFolderWritable,
    const std::filesystem::path& perUserFolder, const std::vector<std::filesystem::path>& sampleFolders);

} // namespace vornik
