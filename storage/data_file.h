#pragma once
// The recipe data file: one record per line, scanned from the top for every
// search and lookup, rewritten whole for every change.
//
// Changes go through "temp.dat" in the program folder and replace the data
// file in one step, so it always holds either its old or its new content.
// Every rewrite of a file is serialised across running program windows, also
// those of other program folders that share the file, by a lock file beside
// the file (see lockPathFor).

#include "storage/record.h"
#include "storage/storage_error.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vornik {

class LineReader;

// Every call that can fail returns false and fills the StorageError passed
// in (storage/storage_error.h); on success it is left as it was.

// Opens dataFilePath() for a scan (one scan at a time, process-wide). On
// failure calls the open-error handler with the path (error.shown tells
// whether there was one) and returns false.
bool openDataFile(StorageError& error);
// Reads the next line into the current record; false at the end of the file
// (the record is then left as it was) or on a read error (`error` set).
bool readNextRecord(StorageError& error);
// readNextRecord for a scan that can rule records out from their raw line:
// lines for which `mayMatch` is false are passed over without being decoded.
// The current record still ends as readNextRecord would leave it: the last
// line read, also when the file ends (or fails) after lines passed over.
bool readNextRecordWhere(const std::function<bool(std::string_view line)>& mayMatch, StorageError& error);
void closeDataFile();
// The scan's reader, between openDataFile and closeDataFile: where the line
// read last lies, and its open file, which a list of the lines found may
// take over (LineReader::releaseFile) instead of letting it be closed.
LineReader& dataFileReader();

// Decimal text of one more than the largest id in the file, never one that
// is already there and never "0". "1" when the file cannot be opened (after
// the open-error handler ran).
std::string nextRecordId();

// Writes the current record into the file in place of every line with the
// same id (compared as text), or appends it. Applies encodeFields first.
bool saveRecord(StorageError& error);
// Gives the current record the next free id and appends it, both in one
// locked step, so two windows adding at once never share an id.
bool saveNewRecord(StorageError& error);
// Removes every line whose id equals the current record's id (as text).
// `removed` tells how many went; when none had the id the file is left as
// it was (not even rewritten), and that is no failure.
bool deleteRecord(std::size_t& removed, StorageError& error);
bool deleteRecord(StorageError& error);

// Called with the data file's path whenever it cannot be opened, so that the
// user interface can tell the user ("オープンエラー"). Storage code shows
// nothing itself.
void setOpenErrorHandler(std::function<void(const std::string& path)> handler);
// Why the data file of the last open error cannot be opened when it is there
// but is no data file (a folder, a device, a pipe) or cannot be read (no
// permission), in Japanese (Shift-JIS); empty when it is simply missing.
const std::string& openErrorDetail();

// Path of the lock file that guards the program folder's temporary files
// ("temp.dat", "temp2.dat") across the windows of this program folder.
std::string storageLockPath();

// Path of the lock file that serialises rewrites of the file `path` across
// program windows and program folders: the file the path resolves to (the
// target of a link), with ".lock" appended, so every window that writes the
// file takes the same lock whatever path or folder it reaches it from.
std::string lockPathFor(const std::string& path);

// Runs `body` while holding the program folder's lock and the lock of
// `guardedPath`; false with `error` set when a lock cannot be had in time.
// `body` reports its own failures in the same `error`. Where the file's folder knows no locks (some network
// shares), the program folder's lock alone is held. The open-error handler is never called while a lock is
// held (a message waiting for a click would block every other window): an open error met inside `body` is
// handed on after the locks are released (and error.shown set).
bool withStorageLock(const std::string& guardedPath, StorageError& error, const std::function<bool()>& body);
// The same for a file saved through a temporary file beside itself (memo
// pad, settings): only the lock of `guardedPath`.
bool withFileLock(const std::string& guardedPath, StorageError& error, const std::function<bool()>& body);

// The rewrite shared by the data file and the memo file: every line of
// `sourcePath` goes through `copyLine`, which appends what is to be written
// for it (with its line end) to `out`; `finish` appends what comes after the
// last line. The result is written to `tempPath`, flushed to disk and then
// replaces `sourcePath` in one step. The caller holds the storage lock.
// On failure: false, `error` set, `sourcePath` untouched; `tempPath`
// is removed unless it holds the complete new content (failed replace).
struct FileRewrite {
    std::string sourcePath;
    std::string tempPath;
    // A missing source reads as an empty file (memo file) instead of failing
    // with the open-error handler (data file).
    bool missingSourceIsEmpty = false;
    std::function<void(std::string_view line, std::string& out)> copyLine;
    // May fail (false, the rewrite's error set by the caller's own code, or
    // left empty for a refusal that is no failure); then nothing is replaced.
    std::function<bool(std::string& out)> finish;
};
// A source in another encoding than Shift-JIS (foreignEncodingOfFile in
// storage/file_encoding.h) is never rewritten: every line would be damaged.
bool rewriteThroughTemp(const FileRewrite& rewrite, StorageError& error);

// The rewrite behind storing one record or one memo: every line whose key
// equals `key` becomes `newLine`, and `newLine` is appended when no line had
// that key. `keyOf` gives a line's key, or nothing for a line to drop.
// `rewrite` names the files; its copyLine and finish are set here.
bool replaceOrAppendLine(FileRewrite rewrite, std::string_view key, const std::string& newLine,
    const std::function<std::optional<std::string_view>(std::string_view line)>& keyOf, StorageError& error);

} // namespace vornik
