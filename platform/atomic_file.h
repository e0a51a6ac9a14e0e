#pragma once
// Replacing a whole file so that at every moment it holds either its complete
// old or its complete new content.

#include <string>
#include <string_view>

namespace vornik {

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path` (then syncs the folder where the platform allows).
// When `path` is a symbolic link, its target is replaced and the link stays;
// the replaced file keeps its permission bits. Only a regular file (or none)
// is ever replaced. On failure returns false, leaves `path` as it was,
// removes the temporary file and puts a Japanese message naming the file and
// the cause in `error`.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Moves the complete, already synced file `tempPath` over `targetPath` in one
// step: the target of a link, keeping its permission bits, and only a regular
// file (or none). When the two lie on different file systems, the content is
// first copied to a new temporary file beside the target ("<target>.<process
// id>.tmp"; such files left by a killed save are removed once an hour old),
// which is then renamed. On success `tempPath` is gone. On failure returns
// false with a message in `error`: the target is untouched and `tempPath`
// still holds the content, except when the target is no regular file (then
// nothing is kept: there is nothing it could replace).
bool replaceWithTemp(const std::string& tempPath, const std::string& targetPath, std::string& error);

// "<target>.<process id>.tmp": the temporary file of this program for
// `target`, beside it.
std::string uniqueTempPathBeside(const std::string& target);

// Removes what programs killed while they wrote `target` left beside it:
// files named as uniqueTempPathBeside names them, of a process that no
// longer runs, only regular files of the user's, untouched for an hour.
// Every writer of a whole file calls it first; nothing else is touched.
void removeAbandonedTempFiles(const std::string& target);

// Reads the whole file (following links); false with an errno value in
// `error` (ENOENT when it is missing).
bool readWholeFile(const std::string& path, std::string& content, int& error);

// What was being done when a file operation failed; chooses the wording of
// fileErrorText.
enum class FileAction { Open, Create, Read, Write, Replace, Lock };

// Japanese (Shift-JIS) message: what failed, the path, the cause (from an
// errno value).
std::string fileErrorText(FileAction action, const std::string& path, int error);
// The cause alone.
std::string fileErrorCause(int error);

// Folder part of a path (without the separator); "" for a bare name.
std::string folderOfPath(const std::string& path);

// The absolute path of the file `path` names, with every symbolic link on the
// way followed (also a link that is the file itself). A file that does not
// exist yet resolves through its folder. `path` itself when nothing can be
// resolved.
std::string resolvedFilePath(const std::string& path);

} // namespace vornik
