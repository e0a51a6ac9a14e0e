#pragma once
// Where the program's files are. Paths are UTF-8 text (see
// platform/native_path.h), unlike the program's other texts: a program folder
// may be named with characters Shift-JIS cannot hold.

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
// not change the settings file). A relative setting lies in the program
// folder.
std::string dataFilePath();
void setDataFilePathOverride(std::optional<std::string> path);
// The text key `file` gets for `path`: the path when Shift-JIS can hold it,
// else the part inside the program folder when it lies there and Shift-JIS
// can hold that; nothing when neither works (it would read back as another
// path). Quoted when it begins or ends with a blank, so that it reads back
// unchanged.
std::optional<std::string> dataFileSetting(const std::string& path);
// Stores dataFileSetting(path); false when there is none (nothing is
// written) or the settings file cannot be written.
bool setDataFilePath(const std::string& path);

// dataFilePath cut before its last ".", followed by "_memo.txt".
std::string memoFilePath();

} // namespace vornik
