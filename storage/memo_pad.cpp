#include "storage/memo_pad.h"

#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "storage/data_file.h"
#include "storage/file_encoding.h"
#include "storage/paths.h"

#include <filesystem>
#include <system_error>

namespace vornik {
namespace {

struct OpenPad {
    ScopedFile file;
    std::string path;
};

OpenPad& openPad()
{
    static OpenPad pad;
    return pad;
}

bool fail(FileAction action, const std::string& path, int code, StorageError& error)
{
    error.set(fileErrorText(action, path, code));
    return false;
}

// Replaces memo.txt; the caller holds its lock. A memo.txt an editor saved
// in another encoding is never replaced: its text would be lost.
bool writeMemoPad(const std::vector<std::string>& lines, StorageError& error)
{
    if (const std::optional<std::string_view> encoding = foreignEncodingOfFile(memoPadPath())) {
        error.set(foreignFileRefusal(memoPadPath(), *encoding));
        return false;
    }
    std::string message;
    if (!writeFileAtomically(memoPadPath(), memoPadBytes(lines), message)) {
        error.set(std::move(message));
        return false;
    }
    return true;
}

} // namespace

std::string memoPadPath()
{
    return programFilePath("memo.txt");
}

std::string memoPadBytes(const std::vector<std::string>& lines)
{
    std::string content;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            content += "\r\n";
        content += lines[i];
    }
    return content;
}

bool saveMemoPadLines(const std::vector<std::string>& lines, StorageError& error)
{
    return withFileLock(memoPadPath(), error, [&] { return writeMemoPad(lines, error); });
}

std::optional<std::string> readMemoPadBytes(StorageError& error)
{
    std::string bytes;
    int code = 0;
    if (readWholeFile(memoPadPath(), bytes, code))
        return bytes;
    if (code == ENOENT)
        return std::string();
    error.set(fileErrorText(FileAction::Read, memoPadPath(), code));
    return std::nullopt;
}

std::string memoPadText(std::string_view bytes)
{
    // Lines end as the data file's do (LF, CR LF or a lone CR); the text
    // joins them with CR LF.
    std::string text;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        text += "\r\n";
        if (end == std::string_view::npos) {
            text += bytes.substr(start);
            break;
        }
        text += bytes.substr(start, end - start);
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    // Empty lines at the top are dropped.
    const std::size_t first = text.find_first_not_of("\r\n");
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string loadMemoPadText()
{
    StorageError ignored; // an unreadable pad shows as an empty one
    return memoPadText(readMemoPadBytes(ignored).value_or(std::string()));
}

MemoPadSave saveMemoPadIfUnchanged(const std::vector<std::string>& lines, const std::string& expected,
    std::string& current, StorageError& error)
{
    bool changed = false;
    const bool saved = withFileLock(memoPadPath(), error, [&] {
        std::optional<std::string> now = readMemoPadBytes(error);
        if (!now)
            return false;
        if (*now != expected) {
            changed = true;
            current = std::move(*now);
            return false;
        }
        return writeMemoPad(lines, error);
    });
    if (saved)
        return MemoPadSave::Saved;
    return changed ? MemoPadSave::ChangedElsewhere : MemoPadSave::Failed;
}

namespace {

bool createFile(const std::string& path, OpenMode mode, StorageError& error)
{
    ScopedFile file;
    int code = 0;
    if (!file.open(path, mode, code) || !file.closeChecked(code))
        return fail(FileAction::Create, path, code, error);
    return true;
}

} // namespace

bool createEmptyFile(const std::string& path, StorageError& error)
{
    return createFile(path, OpenMode::CreateTruncate, error);
}

bool fileIsMissing(const std::string& path)
{
    std::error_code error;
    return std::filesystem::status(nativePath(path), error).type() == std::filesystem::file_type::not_found;
}

bool createFileIfMissing(const std::string& path, StorageError& error)
{
    return createFile(path, OpenMode::ReadWrite, error);
}

bool openMemoPad(const std::string& path, StorageError& error)
{
    OpenPad& pad = openPad();
    int code = 0;
    if (!pad.file.open(path, OpenMode::ReadWrite, code))
        return fail(FileAction::Open, path, code, error);
    pad.path = path;
    return true;
}

bool appendMemoPadLine(const std::string& line, StorageError& error)
{
    OpenPad& pad = openPad();
    int code = EBADF;
    if (!pad.file.isOpen())
        return fail(FileAction::Write, pad.path, code, error);
    std::uint64_t size = 0;
    if (!fileOps().seekToEnd(pad.file.handle(), size, code))
        return fail(FileAction::Write, pad.path, code, error);
    if (size > 0 && !writeAll(pad.file.handle(), "\r\n", code))
        return fail(FileAction::Write, pad.path, code, error);
    if (!writeAll(pad.file.handle(), line, code))
        return fail(FileAction::Write, pad.path, code, error);
    return true;
}

bool closeMemoPad(StorageError& error)
{
    OpenPad& pad = openPad();
    int code = 0;
    if (pad.file.isOpen() && (!fileOps().sync(pad.file.handle(), code) || !pad.file.closeChecked(code))) {
        pad.file.closeQuietly();
        return fail(FileAction::Write, pad.path, code, error);
    }
    return true;
}

} // namespace vornik
