#pragma once
// The main window's memo pad, memo.txt in the program folder: the pad's lines
// separated by CR LF, no line end after the last.

#include "storage/storage_error.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

// memo.txt in the program folder.
std::string memoPadPath();

// Stores the pad exactly as given (one entry per logical line) by an atomic
// replace of memo.txt. False with `error` set on failure.
bool saveMemoPadLines(const std::vector<std::string>& lines, StorageError& error);

// memo.txt as one text with CR LF between lines and empty lines at the top
// dropped; empty when the file is missing.
std::string loadMemoPadText();

// Several windows share memo.txt. A window keeps the bytes it loaded (or last
// saved) and writes only while the file still holds them, so it never
// replaces another window's text unasked.

// memo.txt's bytes as they are now; "" when it is missing, nullopt (with
// `error` set) when it cannot be read.
std::optional<std::string> readMemoPadBytes(StorageError& error);
// The pad's text held by those bytes, as loadMemoPadText gives it.
std::string memoPadText(std::string_view bytes);
// The bytes saveMemoPadLines writes for `lines`.
std::string memoPadBytes(const std::vector<std::string>& lines);

enum class MemoPadSave { Saved, ChangedElsewhere, Failed };
// saveMemoPadLines, done only while memo.txt still holds `expected`: checked
// and written under one hold of memo.txt's lock. ChangedElsewhere writes
// nothing and puts what the file holds now in `current`; Failed has `error`
// set.
MemoPadSave saveMemoPadIfUnchanged(const std::vector<std::string>& lines, const std::string& expected,
    std::string& current, StorageError& error);

// Line-by-line writing of a pad file, in this order: create (or empty) it,
// open it, append lines, close. Each returns false with `error` set.
bool createEmptyFile(const std::string& path, StorageError& error);
// True only when nothing at all is at `path`; a file that cannot be reached
// for another reason (no permission, a broken disk) is not missing.
bool fileIsMissing(const std::string& path);
// Creates an empty file at `path` unless there is one already; a file that
// another window created meanwhile is kept as it is, never emptied.
bool createFileIfMissing(const std::string& path, StorageError& error);
bool openMemoPad(const std::string& path, StorageError& error);
// Writes a line break first when the file is not empty, then the line.
bool appendMemoPadLine(const std::string& line, StorageError& error);
bool closeMemoPad(StorageError& error);

} // namespace vornik
