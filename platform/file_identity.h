#pragma once
// Whether two paths name the same file. Exports and Save As must never write
// over one of the program's own files, and a path typed another way
// ("./vornik.ini", a folder reached through a link, a hard link, a
// different letter case on Windows) must not get round that check.

#include <cstdint>
#include <optional>
#include <string>

namespace vornik {

// Device and file number (POSIX st_dev/st_ino; on Windows the volume serial
// number and the file index), which every name of one file shares.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file `path` names, following links; nothing when there
// is no such file (or it cannot be examined).
std::optional<FileIdentity> fileIdentity(const std::string& path);

// True when both paths name one existing file, or, when neither exists,
// sameResolvedPath.
bool isSameFile(const std::string& a, const std::string& b);

// The same absolute path once "." and ".." and links in the folders are
// resolved, compared as the platform compares file names (without regard to
// case on Windows).
bool sameResolvedPath(const std::string& a, const std::string& b);

// Id of the running process, for temporary names no other window uses.
unsigned long currentProcessId();

} // namespace vornik
