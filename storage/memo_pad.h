#pragma once
// The main window's memo pad, memo.txt in the program folder: the pad's lines
// separated by CR LF, no line end after the last.

#include "storage/data_file.h" // storageError()

#include <string>
#include <vector>

namespace vornik {

// Stores the pad exactly as given (one entry per logical line) by an atomic
// replace of memo.txt. False with storageError() set on failure.
bool saveMemoPadLines(const std::vector<std::string>& lines);

// memo.txt as one text with CR LF between lines and empty lines at the top
// dropped; empty when the file is missing.
std::string loadMemoPadText();

// Line-by-line writing of a pad file, in this order: create (or empty) it,
// open it, append lines, close. Each returns false with storageError() set.
bool createEmptyFile(const std::string& path);
bool openMemoPad(const std::string& path);
// Writes a line break first when the file is not empty, then the line.
bool appendMemoPadLine(const std::string& line);
bool closeMemoPad();

} // namespace vornik
