#pragma once
// Replacing a whole file so that at every moment it holds either its complete
// old or its complete new content.

#include <string>
#include <string_view>

namespace vornik {

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path` (then syncs the folder where the platform allows).
// On failure returns false, leaves `path` as it was, removes the temporary
// file and puts a Japanese message naming the file and the cause in `error`.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Moves the complete, already synced file `tempPath` over `targetPath` in one
// step. When the two lie on different file systems, the content is first
// copied to a new temporary file beside the target, which is then renamed.
// On success `tempPath` is gone. On failure returns false with a message in
// `error`: the target is untouched and `tempPath` still holds the content.
bool replaceWithTemp(const std::string& tempPath, const std::string& targetPath, std::string& error);

// What was being done when a file operation failed; chooses the wording of
// fileErrorText.
enum class FileAction { Open, Create, Read, Write, Replace, Lock };

// Japanese (Shift-JIS) message: what failed, the path, the cause (from an
// errno value).
std::string fileErrorText(FileAction action, const std::string& path, int error);

// Folder part of a path (without the separator); "" for a bare name.
std::string folderOfPath(const std::string& path);

} // namespace vornik
