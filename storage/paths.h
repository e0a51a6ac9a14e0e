#pragma once
// Where the program's files are. Paths are Shift-JIS byte strings like every
// other text; platform/ turns them into native paths when a file is opened.

#include <optional>
#include <string>

namespace vornik {

// Folder of the running program, without a trailing separator. Set once at
// start-up (tests point it at a temporary folder).
const std::string& programDir();
void setProgramDir(std::string dir);

// programDir + separator + name.
std::string programFilePath(const std::string& name);

// Key `file` of section `system`, or programFilePath("vornik.txt"); the
// override instead while one is set (the command line's --data, which must
// not change the settings file).
std::string dataFilePath();
void setDataFilePathOverride(std::optional<std::string> path);

// dataFilePath cut before its last ".", followed by "_memo.txt".
std::string memoFilePath();

} // namespace vornik
