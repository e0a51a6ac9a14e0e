#include "storage/memo_pad.h"

#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"
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

bool fail(FileAction action, const std::string& path, int error)
{
    setStorageError(fileErrorText(action, path, error));
    return false;
}

// Replaces memo.txt; the caller holds its lock. A memo.txt an editor saved
// in another encoding is never replaced: its text would be lost.
bool writeMemoPad(const std::vector<std::string>& lines)
{
    if (const std::optional<std::string_view> encoding = foreignEncodingOfFile(memoPadPath())) {
        setStorageError(foreignFileRefusal(memoPadPath(), *encoding));
        return false;
    }
    std::string error;
    if (!writeFileAtomically(memoPadPath(), memoPadBytes(lines), error)) {
        setStorageError(error);
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

bool saveMemoPadLines(const std::vector<std::string>& lines)
{
    return withFileLock(memoPadPath(), [&lines] { return writeMemoPad(lines); });
}

std::optional<std::string> readMemoPadBytes()
{
    std::string bytes;
    int error = 0;
    if (readWholeFile(memoPadPath(), bytes, error))
        return bytes;
    if (error == ENOENT)
        return std::string();
    setStorageError(fileErrorText(FileAction::Read, memoPadPath(), error));
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
    return memoPadText(readMemoPadBytes().value_or(std::string()));
}

MemoPadSave saveMemoPadIfUnchanged(
    const std::vector<std::string>& lines, const std::string& expected, std::string& current)
{
    bool changed = false;
    const bool saved = withFileLock(memoPadPath(), [&] {
        std::optional<std::string> now = readMemoPadBytes();
        if (!now)
            return false;
        if (*now != expected) {
            changed = true;
            current = std::move(*now);
            return false;
        }
        return writeMemoPad(lines);
    });
    if (saved)
        return MemoPadSave::Saved;
    return changed ? MemoPadSave::ChangedElsewhere : MemoPadSave::Failed;
}

namespace {

bool createFile(const std::string& path, OpenMode mode)
{
    ScopedFile file;
    int error = 0;
    if (!file.open(path, mode, error) || !file.closeChecked(error))
        return fail(FileAction::Create, path, error);
    setStorageError(std::string());
    return true;
}

} // namespace

bool createEmptyFile(const std::string& path)
{
    return createFile(path, OpenMode::CreateTruncate);
}

bool fileIsMissing(const std::string& path)
{
    std::error_code error;
    return std::filesystem::status(nativePath(path), error).type() == std::filesystem::file_type::not_found;
}

bool createFileIfMissing(const std::string& path)
{
    return createFile(path, OpenMode::ReadWrite);
}

bool openMemoPad(const std::string& path)
{
    OpenPad& pad = openPad();
    int error = 0;
    if (!pad.file.open(path, OpenMode::ReadWrite, error))
        return fail(FileAction::Open, path, error);
    pad.path = path;
    setStorageError(std::string());
    return true;
}

bool appendMemoPadLine(const std::string& line)
{
    OpenPad& pad = openPad();
    int error = EBADF;
    if (!pad.file.isOpen())
        return fail(FileAction::Write, pad.path, error);
    std::uint64_t size = 0;
    if (!fileOps().seekToEnd(pad.file.handle(), size, error))
        return fail(FileAction::Write, pad.path, error);
    if (size > 0 && !writeAll(pad.file.handle(), "\r\n", error))
        return fail(FileAction::Write, pad.path, error);
    if (!writeAll(pad.file.handle(), line, error))
        return fail(FileAction::Write, pad.path, error);
    return true;
}

bool closeMemoPad()
{
    OpenPad& pad = openPad();
    int error = 0;
    if (pad.file.isOpen() && (!fileOps().sync(pad.file.handle(), error) || !pad.file.closeChecked(error))) {
        pad.file.closeQuietly();
        return fail(FileAction::Write, pad.path, error);
    }
    return true;
}

} // namespace vornik
