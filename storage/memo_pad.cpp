#include "storage/memo_pad.h"

#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "storage/line_reader.h"
#include "storage/paths.h"

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

std::string memoPadPath()
{
    return programFilePath("memo.txt");
}

bool fail(FileAction action, const std::string& path, int error)
{
    setStorageError(fileErrorText(action, path, error));
    return false;
}

} // namespace

bool saveMemoPadLines(const std::vector<std::string>& lines)
{
    std::string content;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            content += "\r\n";
        content += lines[i];
    }
    std::string error;
    if (!writeFileAtomically(memoPadPath(), content, error)) {
        setStorageError(error);
        return false;
    }
    setStorageError(std::string());
    return true;
}

std::string loadMemoPadText()
{
    LineReader reader;
    if (!reader.open(memoPadPath()))
        return std::string();
    std::string text;
    std::string_view line;
    while (reader.readLine(line)) {
        text += "\r\n";
        text += line;
    }
    // Empty lines at the top are dropped.
    const std::size_t start = text.find_first_not_of("\r\n");
    return start == std::string::npos ? std::string() : text.substr(start);
}

bool createEmptyFile(const std::string& path)
{
    ScopedFile file;
    int error = 0;
    if (!file.open(path, OpenMode::CreateTruncate, error) || !file.closeChecked(error))
        return fail(FileAction::Create, path, error);
    setStorageError(std::string());
    return true;
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
