#pragma once
// The per-record memo file beside the data file (memoFilePath()): one memo per
// line, "id,text", with line breaks stored as "<br>".

#include "storage/storage_error.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace vornik {

// Memo of the record `id` (ids compared as numbers), line breaks as CR LF;
// empty when there is none or the file is missing.
std::string readMemo(const std::string& id);

// Every memo of the file at once, by id (read as a number), line breaks as
// CR LF. An id with several lines keeps its first, as readMemo finds it.
// Empty when the file is missing.
std::unordered_map<std::int32_t, std::string> readAllMemos();
// The same from an explicit memo file (a scan on another thread).
std::unordered_map<std::int32_t, std::string> readAllMemos(const std::string& path);

// Stores the memo of record `id` (ids compared as text), replacing its line
// or appending one. False with `error` set on failure; the memo file then
// stays as it was.
bool saveMemo(const std::string& id, const std::string& text, StorageError& error);

enum class MemoStore { Stored, ChangedElsewhere, Failed };
// saveMemo, done only while readMemo(id) still gives `expected`: checked and
// written under one hold of the storage lock, so a memo another window
// stored after this one read it is never replaced unasked. ChangedElsewhere
// writes nothing; Failed has `error` set.
MemoStore saveMemoIfUnchanged(
    const std::string& id, const std::string& text, const std::string& expected, StorageError& error);

} // namespace vornik
