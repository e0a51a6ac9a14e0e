#pragma once
// Files an export or Save As must never write: the program's own live files.
// An export over the data file would wipe the user's recipes while the
// prompt says it went well, so such a target is refused before anything is
// written, compared by file identity (platform/file_identity.h).

#include <string>
#include <vector>

namespace vornik {

struct OwnFile {
    std::string path;
    std::string role; // e.g. "設定ファイル" (Shift-JIS), named in the message
};

// The data file and its memo file as the settings name them now, and in the
// program folder vornik.ini, vornik.dat, memo.txt, the lock file and the
// stores' temporary files.
std::vector<OwnFile> ownLiveFiles();

// Empty when `path` may be written; otherwise a message (Shift-JIS) that
// names the file and what it is, for the user.
std::string ownFileRefusal(const std::string& path);

} // namespace vornik
