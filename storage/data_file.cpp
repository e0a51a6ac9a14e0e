#include "storage/data_file.h"

#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "storage/field_codec.h"
#include "storage/file_encoding.h"
#include "storage/line_reader.h"
#include "storage/numbers.h"
#include "storage/paths.h"

#include <cerrno>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vornik {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kWriteChunk = 1 << 20;

std::function<void(const std::string&)>& openErrorHandler()
{
    static std::function<void(const std::string&)> handler;
    return handler;
}

// Locks held by this process at the moment; the open-error handler waits
// until none is.
int& locksHeld()
{
    static int held = 0;
    return held;
}

std::optional<std::string>& deferredOpenError()
{
    static std::optional<std::string> path;
    return path;
}

// True when there was a handler to tell the user.
bool callOpenErrorHandler(const std::string& path)
{
    if (!openErrorHandler())
        return false;
    openErrorHandler()(path);
    return true;
}

std::string& lastOpenErrorDetail()
{
    static std::string detail;
    return detail;
}

bool reportOpenError(const std::string& path, int code, StorageError& error)
{
    error.set(fileErrorText(FileAction::Open, path, code));
    lastOpenErrorDetail() = code == ENOENT ? std::string() : fileErrorCause(code);
    if (locksHeld() > 0)
        deferredOpenError() = path;
    else
        error.shown = callOpenErrorHandler(path);
    return false;
}

bool lockUnsupported(int error)
{
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP;
}

// Holds the locks at `lockPaths` in that order (the same order in every
// window, so two windows never wait for each other), runs `body`, releases
// them and only then tells of an open error met meanwhile.
bool withLocks(
    const std::vector<std::string>& lockPaths, StorageError& error, const std::function<bool()>& body)
{
    bool result = false;
    {
        std::vector<std::unique_ptr<FileLock>> locks;
        for (const std::string& lockPath : lockPaths) {
            locks.push_back(std::make_unique<FileLock>(lockPath));
            if (locks.back()->isLocked())
                continue;
            // A network folder that knows no locks: the windows of this
            // program folder still take turns through the first lock.
            if (locks.size() > 1 && lockUnsupported(locks.back()->error()))
                continue;
            error.set(fileErrorText(FileAction::Lock, lockPath, locks.back()->error()));
            return false;
        }
        ++locksHeld();
        struct Release {
            ~Release() { --locksHeld(); }
        } release;
        result = body();
    }
    if (std::optional<std::string> path = std::exchange(deferredOpenError(), std::nullopt))
        error.shown = callOpenErrorHandler(*path);
    return result;
}

LineReader& scanReader()
{
    static LineReader reader;
    return reader;
}

// Text before the first comma, as splitField gives it for position 0.
std::string_view firstField(std::string_view line)
{
    const std::size_t comma = line.find(',');
    return comma == std::string_view::npos ? line : line.substr(0, comma);
}

// New ids: one more than the largest non-negative id. Damaged lines must not
// make new records collide: a negative id is ignored, and when the largest id
// is already the largest int, the smallest positive id that no line uses is
// taken instead (it is at most the line count + 1).
class NextIdRule {
public:
    void add(std::string_view line)
    {
        const std::int32_t id = textToInt(firstField(line));
        if (id > m_largest)
            m_largest = id;
        ++m_lines;
    }
    bool needsFreeIdSearch() const { return m_largest == std::numeric_limits<std::int32_t>::max(); }
    // Only when needsFreeIdSearch() is false.
    std::string nextId() const { return intToText(m_largest + 1); }
    std::size_t lineCount() const { return m_lines; }

private:
    std::int32_t m_largest = 0;
    std::size_t m_lines = 0;
};

// Second pass of NextIdRule over `path`. False with `error` set when the
// file cannot be read.
bool smallestFreeId(const std::string& path, std::size_t lineCount, std::string& id, StorageError& error)
{
    std::vector<bool> used(lineCount + 2, false);
    LineReader reader;
    if (!reader.open(path)) {
        error.set(fileErrorText(FileAction::Open, path, reader.error()));
        return false;
    }
    std::string_view line;
    while (reader.readLine(line)) {
        const std::int32_t value = textToInt(firstField(line));
        if (value > 0 && static_cast<std::size_t>(value) < used.size())
            used[static_cast<std::size_t>(value)] = true;
    }
    if (reader.error() != 0) {
        error.set(fileErrorText(FileAction::Read, path, reader.error()));
        return false;
    }
    std::size_t candidate = 1;
    while (used[candidate])
        ++candidate;
    id = intToText(static_cast<std::int32_t>(candidate));
    return true;
}

bool flushPending(FileHandle file, std::string& pending, int& error)
{
    const bool ok = writeAll(file, pending, error);
    pending.clear();
    return ok;
}

std::string tempDataPath()
{
    return programFilePath("temp.dat");
}

// Replaces every line whose first field is `key` by `recordLine`; appends
// `recordLine` when there is none.
bool writeRecordLine(const std::string& key, const std::string& recordLine, StorageError& error)
{
    FileRewrite rewrite;
    rewrite.sourcePath = dataFilePath();
    rewrite.tempPath = tempDataPath();
    return replaceOrAppendLine(
        std::move(rewrite), key, recordLine,
        [](std::string_view line) -> std::optional<std::string_view> { return firstField(line); }, error);
}

} // namespace

void setOpenErrorHandler(std::function<void(const std::string& path)> handler)
{
    openErrorHandler() = std::move(handler);
}

const std::string& openErrorDetail()
{
    return lastOpenErrorDetail();
}

std::string storageLockPath()
{
    return programFilePath("vornik.lock");
}

std::string lockPathFor(const std::string& path)
{
    return resolvedFilePath(path) + ".lock";
}

bool withStorageLock(const std::string& guardedPath, StorageError& error, const std::function<bool()>& body)
{
    // The program folder's lock first, then the file's: a fixed order.
    std::vector<std::string> lockPaths { storageLockPath() };
    const std::string fileLock = lockPathFor(guardedPath);
    // A data file named "vornik" in the program folder shares its lock file;
    // a second lock on it would wait for the first.
    if (fileLock != resolvedFilePath(storageLockPath()))
        lockPaths.push_back(fileLock);
    return withLocks(lockPaths, error, body);
}

bool withFileLock(const std::string& guardedPath, StorageError& error, const std::function<bool()>& body)
{
    return withLocks({ lockPathFor(guardedPath) }, error, body);
}

bool openDataFile(StorageError& error)
{
    const std::string path = dataFilePath();
    LineReader& reader = scanReader();
    if (!reader.open(path))
        return reportOpenError(path, reader.error(), error);
    // Told once per file. A UTF-8 or UTF-16 file is read as Shift-JIS text,
    // so it can be searched until it is saved as Shift-JIS.
    reader.setSourceEncoding(noticeFileEncoding(path));
    noticeForeignFile(memoFilePath());
    return true;
}

bool readNextRecord(StorageError& error)
{
    LineReader& reader = scanReader();
    std::string_view line;
    if (!reader.readLine(line)) {
        if (reader.error() != 0)
            error.set(fileErrorText(FileAction::Read, dataFilePath(), reader.error()));
        return false;
    }
    decodeLine(line, currentRecord());
    return true;
}

bool readNextRecordWhere(const std::function<bool(std::string_view line)>& mayMatch, StorageError& error)
{
    LineReader& reader = scanReader();
    std::string_view line;
    while (reader.readLine(line)) {
        // Only a copy of the line: its fields are decoded when read, and
        // nothing reads those of a line passed over. The record therefore
        // ends as readNextRecord would leave it.
        decodeLine(line, currentRecord());
        if (mayMatch(line))
            return true;
    }
    if (reader.error() != 0)
        error.set(fileErrorText(FileAction::Read, dataFilePath(), reader.error()));
    return false;
}

void closeDataFile()
{
    scanReader().close();
}

LineReader& dataFileReader()
{
    return scanReader();
}

std::string nextRecordId()
{
    const std::string path = dataFilePath();
    LineReader reader;
    if (!reader.open(path)) {
        // Told by the handler alone; the caller gets "1" as documented.
        StorageError ignored;
        reportOpenError(path, reader.error(), ignored);
        return "1";
    }
    NextIdRule rule;
    std::string_view line;
    while (reader.readLine(line))
        rule.add(line);
    reader.close();
    if (!rule.needsFreeIdSearch())
        return rule.nextId();
    std::string id = "1";
    StorageError ignored;
    smallestFreeId(path, rule.lineCount(), id, ignored);
    return id;
}

bool rewriteThroughTemp(const FileRewrite& rewrite, StorageError& error)
{
    int code = 0;
    // Removed on every way out but the replace below.
    TempFileGuard temp(rewrite.tempPath);
    if (!temp.create(code)) {
        error.set(fileErrorText(FileAction::Create, rewrite.tempPath, code));
        return false;
    }
    const FileHandle tempHandle = temp.file().handle();
    LineReader source;
    if (!source.open(rewrite.sourcePath)) {
        if (!(rewrite.missingSourceIsEmpty && source.error() == ENOENT)) {
            if (!rewrite.missingSourceIsEmpty)
                return reportOpenError(rewrite.sourcePath, source.error(), error);
            error.set(fileErrorText(FileAction::Open, rewrite.sourcePath, source.error()));
            return false;
        }
    }

    std::string pending;
    pending.reserve(kWriteChunk + 4096);
    if (const std::optional<std::string_view> encoding
        = source.isOpen() ? foreignEncodingOfFile(rewrite.sourcePath) : std::nullopt) {
        error.set(foreignFileRefusal(rewrite.sourcePath, *encoding));
        return false;
    }
    std::string_view line;
    while (source.isOpen() && source.readLine(line)) {
        rewrite.copyLine(line, pending);
        if (pending.size() >= kWriteChunk && !flushPending(tempHandle, pending, code)) {
            error.set(fileErrorText(FileAction::Write, rewrite.tempPath, code));
            return false;
        }
    }
    if (source.isOpen() && source.error() != 0) {
        error.set(fileErrorText(FileAction::Read, rewrite.sourcePath, source.error()));
        return false;
    }
    if (rewrite.finish && !rewrite.finish(pending))
        return false;
    if (!flushPending(tempHandle, pending, code) || !fileOps().sync(tempHandle, code)
        || !temp.file().closeChecked(code)) {
        error.set(fileErrorText(FileAction::Write, rewrite.tempPath, code));
        return false;
    }
    source.close();

    // From here replaceWithTemp decides: a failed replace keeps the complete
    // new content for the user.
    temp.commit();
    std::string replaceError;
    if (!replaceWithTemp(rewrite.tempPath, rewrite.sourcePath, replaceError)) {
        error.set(replaceError);
        return false;
    }
    return true;
}

bool saveRecord(StorageError& error)
{
    return withStorageLock(dataFilePath(), error, [&error] {
        RecipeRecord& record = currentRecord();
        encodeFields(record);
        return writeRecordLine(record.id(), joinFields(record), error);
    });
}

bool saveNewRecord(StorageError& error)
{
    return withStorageLock(dataFilePath(), error, [&error] {
        // One pass: every line is copied unchanged while the ids are counted,
        // and the new record goes after the last line.
        NextIdRule rule;
        FileRewrite rewrite;
        rewrite.sourcePath = dataFilePath();
        rewrite.tempPath = tempDataPath();
        rewrite.copyLine = [&rule](std::string_view line, std::string& out) {
            rule.add(line);
            out += line;
            out += kLineEnd;
        };
        rewrite.finish = [&rule, &rewrite, &error](std::string& out) {
            std::string id;
            if (!rule.needsFreeIdSearch())
                id = rule.nextId();
            else if (!smallestFreeId(rewrite.sourcePath, rule.lineCount(), id, error))
                return false;
            RecipeRecord& record = currentRecord();
            record.id() = id;
            encodeFields(record);
            out += joinFields(record);
            out += kLineEnd;
            return true;
        };
        return rewriteThroughTemp(rewrite, error);
    });
}

bool deleteRecord(std::size_t& removed, StorageError& error)
{
    removed = 0;
    return withStorageLock(dataFilePath(), error, [&removed, &error] {
        const std::string key = currentRecord().id();
        FileRewrite rewrite;
        rewrite.sourcePath = dataFilePath();
        rewrite.tempPath = tempDataPath();
        rewrite.copyLine = [&key, &removed](std::string_view line, std::string& out) {
            if (firstField(line) == key) {
                ++removed;
                return;
            }
            out += line;
            out += kLineEnd;
        };
        // Nothing to remove: the file stays exactly as it is. Refusing sets
        // no error, which tells it from a failure.
        rewrite.finish = [&removed](std::string&) { return removed > 0; };
        StorageError rewriteError;
        if (rewriteThroughTemp(rewrite, rewriteError) || (removed == 0 && !rewriteError.failed()))
            return true;
        error = rewriteError;
        return false;
    });
}

bool deleteRecord(StorageError& error)
{
    std::size_t removed = 0;
    return deleteRecord(removed, error);
}

bool replaceOrAppendLine(FileRewrite rewrite, std::string_view key, const std::string& newLine,
    const std::function<std::optional<std::string_view>(std::string_view line)>& keyOf, StorageError& error)
{
    bool found = false;
    rewrite.copyLine = [&](std::string_view line, std::string& out) {
        const std::optional<std::string_view> lineKey = keyOf(line);
        if (!lineKey)
            return;
        if (*lineKey == key) {
            out += newLine;
            found = true;
        } else {
            out += line;
        }
        out += kLineEnd;
    };
    rewrite.finish = [&](std::string& out) {
        if (!found) {
            out += newLine;
            out += kLineEnd;
        }
        return true;
    };
    return rewriteThroughTemp(rewrite, error);
}

} // namespace vornik
