#pragma once
// The recipe data file: one record per line, scanned from the top for every
// search and lookup, rewritten whole for every change.
//
// Changes go through "temp.dat" in the program folder and replace the data
// file in one step, so it always holds either its old or its new content.
// All rewrites of the data and memo files are serialised across running
// program windows by a lock file in the program folder.

#include "storage/record.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vornik {

// Opens dataFilePath() for a scan (one scan at a time, process-wide). On
// failure calls the open-error handler with the path and returns false.
bool openDataFile();
// Reads the next line into the current record; false at the end of the file
// (the record is then left as it was) or on a read error (storageError()).
bool readNextRecord();
// readNextRecord for a scan that can rule records out from their raw line:
// lines for which `mayMatch` is false are passed over without being decoded.
// The current record still ends as readNextRecord would leave it: the last
// line read, also when the file ends (or fails) after lines passed over.
bool readNextRecordWhere(const std::function<bool(std::string_view line)>& mayMatch);
void closeDataFile();

// Decimal text of one more than the largest id in the file, never one that
// is already there and never "0". "1" when the file cannot be opened (after
// the open-error handler ran).
std::string nextRecordId();

// Writes the current record into the file in place of every line with the
// same id (compared as text), or appends it. Applies encodeFields first.
bool saveRecord();
// Gives the current record the next free id and appends it, both in one
// locked step, so two windows adding at once never share an id.
bool saveNewRecord();
// Removes every line whose id equals the current record's id (as text).
bool deleteRecord();

// Called with the data file's path whenever it cannot be opened, so that the
// user interface can tell the user ("オープンエラー"). Storage code shows
// nothing itself.
void setOpenErrorHandler(std::function<void(const std::string& path)> handler);

// Japanese (Shift-JIS) text of the last failure of a storage operation,
// naming the file and the cause; empty after a success.
const std::string& storageError();
void setStorageError(std::string text);
// True when the user already knows of the last failure: the data file could
// not be opened and the open-error handler told them. A second message about
// the same failure would only repeat it.
bool storageErrorShown();

// Path of the lock file that serialises rewrites across program windows.
std::string storageLockPath();

// Runs `body` while holding the lock that serialises rewrites across program
// windows; false with storageError() set when the lock cannot be had in time.
bool withStorageLock(const std::function<bool()>& body);

// The rewrite shared by the data file and the memo file: every line of
// `sourcePath` goes through `copyLine`, which appends what is to be written
// for it (with its line end) to `out`; `finish` appends what comes after the
// last line. The result is written to `tempPath`, flushed to disk and then
// replaces `sourcePath` in one step. The caller holds the storage lock.
// On failure: false, storageError() set, `sourcePath` untouched; `tempPath`
// is removed unless it holds the complete new content (failed replace).
struct FileRewrite {
    std::string sourcePath;
    std::string tempPath;
    // A missing source reads as an empty file (memo file) instead of failing
    // with the open-error handler (data file).
    bool missingSourceIsEmpty = false;
    std::function<void(std::string_view line, std::string& out)> copyLine;
    // May fail (false, storageError() set); then nothing is replaced.
    std::function<bool(std::string& out)> finish;
};
bool rewriteThroughTemp(const FileRewrite& rewrite);

// The rewrite behind storing one record or one memo: every line whose key
// equals `key` becomes `newLine`, and `newLine` is appended when no line had
// that key. `keyOf` gives a line's key, or nothing for a line to drop.
// `rewrite` names the files; its copyLine and finish are set here.
bool replaceOrAppendLine(FileRewrite rewrite, std::string_view key, const std::string& newLine,
    const std::function<std::optional<std::string_view>(std::string_view line)>& keyOf);

} // namespace vornik
