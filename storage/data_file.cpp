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

std::string& lastStorageError()
{
    static std::string text;
    return text;
}

std::function<void(const std::string&)>& openErrorHandler()
{
    static std::function<void(const std::string&)> handler;
    return handler;
}

bool& lastErrorShown()
{
    static bool shown = false;
    return shown;
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

void callOpenErrorHandler(const std::string& path)
{
    if (openErrorHandler()) {
        openErrorHandler()(path);
        lastErrorShown() = true;
    }
}

std::string& lastOpenErrorDetail()
{
    static std::string detail;
    return detail;
}

void reportOpenError(const std::string& path, int error)
{
    setStorageError(fileErrorText(FileAction::Open, path, error));
    lastOpenErrorDetail() = error == ENOENT ? std::string() : fileErrorCause(error);
    if (locksHeld() > 0)
        deferredOpenError() = path;
    else
        callOpenErrorHandler(path);
}

bool lockUnsupported(int error)
{
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP;
}

// Holds the locks at `lockPaths` in that order (the same order in every
// window, so two windows never wait for each other), runs `body`, releases
// them and only then tells of an open error met meanwhile.
bool withLocks(const std::vector<std::string>& lockPaths, const std::function<bool()>& body)
{
    setStorageError(std::string());
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
            setStorageError(fileErrorText(FileAction::Lock, lockPath, locks.back()->error()));
            return false;
        }
        ++locksHeld();
        struct Release {
            ~Release() { --locksHeld(); }
        } release;
        result = body();
    }
    if (std::optional<std::string> path = std::exchange(deferredOpenError(), std::nullopt))
        callOpenErrorHandler(*path);
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

// Second pass of NextIdRule over `path`. False with storageError() set when
// the file cannot be read.
bool smallestFreeId(const std::string& path, std::size_t lineCount, std::string& id)
{
    std::vector<bool> used(lineCount + 2, false);
    LineReader reader;
    if (!reader.open(path)) {
        setStorageError(fileErrorText(FileAction::Open, path, reader.error()));
        return false;
    }
    std::string_view line;
    while (reader.readLine(line)) {
        const std::int32_t value = textToInt(firstField(line));
        if (value > 0 && static_cast<std::size_t>(value) < used.size())
            used[static_cast<std::size_t>(value)] = true;
    }
    if (reader.error() != 0) {
        setStorageError(fileErrorText(FileAction::Read, path, reader.error()));
        return false;
    }
    std::size_t candidate = 1;
    while (used[candidate])
        ++candidate;
    id = intToText(static_cast<std::int32_t>(candidate));
    return true;
}

bool failWrite(const std::string& tempPath, int error)
{
    setStorageError(fileErrorText(FileAction::Write, tempPath, error));
    int ignored = 0;
    fileOps().remove(tempPath, ignored);
    return false;
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
bool writeRecordLine(const std::string& key, const std::string& recordLine)
{
    FileRewrite rewrite;
    rewrite.sourcePath = dataFilePath();
    rewrite.tempPath = tempDataPath();
    return replaceOrAppendLine(std::move(rewrite), key, recordLine,
        [](std::string_view line) -> std::optional<std::string_view> { return firstField(line); });
}

} // namespace

const std::string& storageError()
{
    return lastStorageError();
}

void setStorageError(std::string text)
{
    lastStorageError() = std::move(text);
    lastErrorShown() = false;
}

bool storageErrorShown()
{
    return lastErrorShown();
}

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

bool withStorageLock(const std::string& guardedPath, const std::function<bool()>& body)
{
    // The program folder's lock first, then the file's: a fixed order.
    std::vector<std::string> lockPaths { storageLockPath() };
    const std::string fileLock = lockPathFor(guardedPath);
    // A data file named "vornik" in the program folder shares its lock file;
    // a second lock on it would wait for the first.
    if (fileLock != resolvedFilePath(storageLockPath()))
        lockPaths.push_back(fileLock);
    return withLocks(lockPaths, body);
}

bool withFileLock(const std::string& guardedPath, const std::function<bool()>& body)
{
    return withLocks({ lockPathFor(guardedPath) }, body);
}

bool openDataFile()
{
    setStorageError(std::string());
    const std::string path = dataFilePath();
    LineReader& reader = scanReader();
    if (!reader.open(path)) {
        reportOpenError(path, reader.error());
        return false;
    }
    // Told once per file. A UTF-8 file is read as Shift-JIS text, so it can
    // be searched until it is saved as Shift-JIS; other encodings show what
    // their bytes give.
    reader.setConvertFromUtf8(noticeForeignFile(path) == "UTF-8");
    noticeForeignFile(memoFilePath());
    return true;
}

bool readNextRecord()
{
    LineReader& reader = scanReader();
    std::string_view line;
    if (!reader.readLine(line)) {
        if (reader.error() != 0)
            setStorageError(fileErrorText(FileAction::Read, dataFilePath(), reader.error()));
        return false;
    }
    decodeLine(line, currentRecord());
    return true;
}

bool readNextRecordWhere(const std::function<bool(std::string_view line)>& mayMatch)
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
        setStorageError(fileErrorText(FileAction::Read, dataFilePath(), reader.error()));
    return false;
}

void closeDataFile()
{
    scanReader().close();
}

std::string nextRecordId()
{
    const std::string path = dataFilePath();
    LineReader reader;
    if (!reader.open(path)) {
        reportOpenError(path, reader.error());
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
    smallestFreeId(path, rule.lineCount(), id);
    return id;
}

bool rewriteThroughTemp(const FileRewrite& rewrite)
{
    int error = 0;
    ScopedFile temp;
    if (!temp.open(rewrite.tempPath, OpenMode::CreateTruncate, error)) {
        setStorageError(fileErrorText(FileAction::Create, rewrite.tempPath, error));
        return false;
    }
    LineReader source;
    if (!source.open(rewrite.sourcePath)) {
        if (!(rewrite.missingSourceIsEmpty && source.error() == ENOENT)) {
            temp.closeQuietly();
            int ignored = 0;
            fileOps().remove(rewrite.tempPath, ignored);
            if (rewrite.missingSourceIsEmpty)
                setStorageError(fileErrorText(FileAction::Open, rewrite.sourcePath, source.error()));
            else
                reportOpenError(rewrite.sourcePath, source.error());
            return false;
        }
    }

    std::string pending;
    pending.reserve(kWriteChunk + 4096);
    if (const std::optional<std::string_view> encoding
        = source.isOpen() ? foreignEncodingOfFile(rewrite.sourcePath) : std::nullopt) {
        temp.closeQuietly();
        int ignored = 0;
        fileOps().remove(rewrite.tempPath, ignored);
        setStorageError(foreignFileRefusal(rewrite.sourcePath, *encoding));
        return false;
    }
    std::string_view line;
    while (source.isOpen() && source.readLine(line)) {
        rewrite.copyLine(line, pending);
        if (pending.size() >= kWriteChunk && !flushPending(temp.handle(), pending, error)) {
            temp.closeQuietly();
            return failWrite(rewrite.tempPath, error);
        }
    }
    if (source.isOpen() && source.error() != 0) {
        temp.closeQuietly();
        int ignored = 0;
        fileOps().remove(rewrite.tempPath, ignored);
        setStorageError(fileErrorText(FileAction::Read, rewrite.sourcePath, source.error()));
        return false;
    }
    if (rewrite.finish && !rewrite.finish(pending)) {
        temp.closeQuietly();
        int ignored = 0;
        fileOps().remove(rewrite.tempPath, ignored);
        return false;
    }
    if (!flushPending(temp.handle(), pending, error) || !fileOps().sync(temp.handle(), error)
        || !temp.closeChecked(error)) {
        temp.closeQuietly();
        return failWrite(rewrite.tempPath, error);
    }
    source.close();

    std::string replaceError;
    if (!replaceWithTemp(rewrite.tempPath, rewrite.sourcePath, replaceError)) {
        setStorageError(replaceError);
        return false;
    }
    return true;
}

bool saveRecord()
{
    return withStorageLock(dataFilePath(), [] {
        RecipeRecord& record = currentRecord();
        encodeFields(record);
        return writeRecordLine(record.id(), joinFields(record));
    });
}

bool saveNewRecord()
{
    return withStorageLock(dataFilePath(), [] {
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
        rewrite.finish = [&rule, &rewrite](std::string& out) {
            std::string id;
            if (!rule.needsFreeIdSearch())
                id = rule.nextId();
            else if (!smallestFreeId(rewrite.sourcePath, rule.lineCount(), id))
                return false;
            RecipeRecord& record = currentRecord();
            record.id() = id;
            encodeFields(record);
            out += joinFields(record);
            out += kLineEnd;
            return true;
        };
        return rewriteThroughTemp(rewrite);
    });
}

bool deleteRecord(std::size_t& removed)
{
    removed = 0;
    return withStorageLock(dataFilePath(), [&removed] {
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
        // no error, so this is told from a failure by storageError().
        rewrite.finish = [&removed](std::string&) { return removed > 0; };
        return rewriteThroughTemp(rewrite) || (removed == 0 && storageError().empty());
    });
}

bool deleteRecord()
{
    std::size_t removed = 0;
    return deleteRecord(removed);
}

bool replaceOrAppendLine(FileRewrite rewrite, std::string_view key, const std::string& newLine,
    const std::function<std::optional<std::string_view>(std::string_view line)>& keyOf)
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
    return rewriteThroughTemp(rewrite);
}

} // namespace vornik
