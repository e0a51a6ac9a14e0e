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

// Whether a process with this id runs now (also one of another user). An id
// no process can have (0) counts as running, so that nothing is cleaned up
// on its account.
bool isProcessRunning(unsigned long id);

// True when `path` itself (a link not followed) is a regular file of the
// user running the program: the only kind of file that is cleaned up on a
// guess. On Windows, where files in the user's folders are the user's, a
// regular file that is no link or junction.
bool isOwnRegularFile(const std::string& path);

} // namespace vornik
