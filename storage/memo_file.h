#pragma once
// The per-record memo file beside the data file (memoFilePath()): one memo per
// line, "id,text", with line breaks stored as "<br>".

#include <string>

namespace vornik {

// Memo of the record `id` (ids compared as numbers), line breaks as CR LF;
// empty when there is none or the file is missing.
std::string readMemo(const std::string& id);

// Stores the memo of record `id` (ids compared as text), replacing its line
// or appending one. False with storageError() set on failure; the memo file
// then stays as it was.
bool saveMemo(const std::string& id, const std::string& text);

enum class MemoStore { Stored, ChangedElsewhere, Failed };
// saveMemo, done only while readMemo(id) still gives `expected`: checked and
// written under one hold of the storage lock, so a memo another window
// stored after this one read it is never replaced unasked. ChangedElsewhere
// writes nothing; Failed has storageError() set.
MemoStore saveMemoIfUnchanged(const std::string& id, const std::string& text, const std::string& expected);

} // namespace vornik
