#include "output/core/export_file.h"

#include "output/core/export_target.h"
#include "platform/atomic_file.h"
#include "platform/file_identity.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "platform/sjis_text.h"

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <system_error>
#include <vector>

namespace vornik {
namespace {

// Stream buffer over an open file of the file-operations layer, so exports
// go through the same (fault-injectable) calls as every other write. After
// the first failed write it refuses everything and keeps the errno value.
class FileOpsBuffer : public std::streambuf {
public:
    explicit FileOpsBuffer(FileHandle file)
        : m_file(file)
        , m_buffer(std::size_t { 64 } * 1024)
    {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }

    int error() const { return m_error; }

protected:
    int_type overflow(int_type ch) override
    {
        if (!flushBuffer())
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    int sync() override { return flushBuffer() ? 0 : -1; }

private:
    bool flushBuffer()
    {
        if (m_error != 0)
            return false;
        const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        if (!pending.empty() && !writeAll(m_file, pending, m_error)) {
            if (m_error == 0)
                m_error = EIO;
            return false;
        }
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return true;
    }

    FileHandle m_file;
    std::vector<char> m_buffer;
    int m_error = 0;
};

// Part of `path` after the last folder separator. The backslash may be the
// trail byte of a double-byte character, so the path is walked by character.
std::string_view fileNamePart(std::string_view path)
{
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < path.size(); pos += sjis::charLength(path, pos)) {
        if (path[pos] == '/' || path[pos] == '\\')
            start = pos + 1;
    }
    return path.substr(start);
}

bool equalsIgnoringAsciiCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i])
            return false;
    }
    return true;
}

// Special files (a terminal, a pipe) cannot be flushed to a disk and say so;
// that is no lost data.
bool syncUnsupported(int error)
{
    return error == EINVAL || error == ENOTSUP;
}

enum class TargetKind { Missing, Regular, Special };

TargetKind kindOf(const std::string& path)
{
    std::error_code ignored;
    const std::filesystem::file_status status = std::filesystem::status(nativePath(path), ignored);
    if (!std::filesystem::exists(status))
        return TargetKind::Missing;
    // A folder is "special" too: opening it fails and says so.
    return std::filesystem::is_regular_file(status) ? TargetKind::Regular : TargetKind::Special;
}

// The file a link points to, so the export replaces that file and the user's
// link stays a link; other paths as they are.
std::string linkTarget(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path native = nativePath(path);
    if (!std::filesystem::is_symlink(native, error))
        return path;
    const std::filesystem::path resolved = std::filesystem::canonical(native, error);
    return error ? path : programPath(resolved);
}

// A rename replaces a read-only file, or on POSIX one that belongs to
// somebody else, as long as the folder is writable; the old behaviour of
// writing into the file refused it, and the user who protected a file
// expects that. Opening it for writing (without truncating) asks the system.
bool mayWrite(const std::string& file, const std::string& shownPath, std::string& error)
{
    int code = 0;
    ScopedFile probe;
    if (!probe.open(file, OpenMode::ReadWrite, code) || !probe.closeChecked(code)) {
        error = fileErrorText(FileAction::Write, shownPath, code);
        return false;
    }
    return true;
}

// The new file gets the access rights of the one it replaces (a file the
// user kept private stays private). Best effort: a file system without
// them keeps its own.
void keepPermissions(const std::string& original, const std::string& replacement)
{
    std::error_code ignored;
    const std::filesystem::file_status status = std::filesystem::status(nativePath(original), ignored);
    if (std::filesystem::exists(status))
        std::filesystem::permissions(nativePath(replacement), status.permissions(), ignored);
}

// Lets `write` fill the file just created or emptied, flushes and closes it.
// Messages name `shownPath`, the file the user chose.
bool fillFile(ScopedFile& out, const std::string& shownPath, const std::function<bool(std::ostream&)>& write,
    std::string& error)
{
    int code = 0;
    FileOpsBuffer buffer(out.handle());
    std::ostream stream(&buffer);
    const bool complete = write(stream);
    stream.flush();
    if (!stream || buffer.error() != 0) {
        error = fileErrorText(FileAction::Write, shownPath, buffer.error() != 0 ? buffer.error() : EIO);
        return false;
    }
    if (!complete)
        return false;
    if (!fileOps().sync(out.handle(), code) && !syncUnsupported(code)) {
        error = fileErrorText(FileAction::Write, shownPath, code);
        return false;
    }
    if (!out.closeChecked(code)) {
        error = fileErrorText(FileAction::Write, shownPath, code);
        return false;
    }
    return true;
}

bool createFailed(const std::string& shownPath, int code, std::string& error)
{
    error = fileErrorText(FileAction::Create, shownPath, code);
    return false;
}

} // namespace

ExportFormat exportFormatForPath(std::string_view path)
{
    const std::string_view name = fileNamePart(path);
    std::size_t dot = std::string_view::npos;
    for (std::size_t pos = 0; pos < name.size(); pos += sjis::charLength(name, pos)) {
        if (name[pos] == '.')
            dot = pos;
    }
    if (dot == std::string_view::npos)
        return ExportFormat::Html;
    return equalsIgnoringAsciiCase(name.substr(dot + 1), "csv") ? ExportFormat::Csv : ExportFormat::Html;
}

bool writeExportFile(
    const std::string& path, const std::function<bool(std::ostream&)>& write, std::string& error)
{
    if (std::string refusal = ownFileRefusal(path); !refusal.empty()) {
        error = std::move(refusal);
        return false;
    }
    const std::string target = linkTarget(path);
    switch (kindOf(target)) {
    case TargetKind::Special: {
        ScopedFile out;
        int code = 0;
        if (!out.open(target, OpenMode::CreateTruncate, code))
            return createFailed(path, code, error);
        return fillFile(out, path, write, error);
    }
    case TargetKind::Regular:
        if (!mayWrite(target, path, error))
            return false;
        break;
    case TargetKind::Missing:
        break;
    }

    // What an export that was killed left beside the target.
    removeAbandonedTempFiles(target);
    TempFileGuard temp(uniqueTempPathBeside(target));
    int code = 0;
    if (!temp.create(code))
        return createFailed(path, code, error);
    if (!fillFile(temp.file(), path, write, error))
        return false;
    keepPermissions(target, temp.path());
    if (!fileOps().rename(temp.path(), target, code)) {
        error = fileErrorText(FileAction::Replace, path, code);
        return false;
    }
    temp.commit();
    // The new file is in place for every reader; a folder that cannot be
    // flushed only weakens durability across a power cut.
    int ignored = 0;
    fileOps().syncFolder(folderOfPath(target), ignored);
    return true;
}

bool copyFileSafely(const std::string& source, const std::string& target, std::string& error)
{
    int code = 0;
    ScopedFile in;
    if (!in.open(source, OpenMode::Read, code)) {
        error = fileErrorText(FileAction::Open, source, code);
        return false;
    }
    bool readFailed = false;
    const bool copied = writeExportFile(
        target,
        [&](std::ostream& out) {
            std::vector<char> buffer(std::size_t { 256 } * 1024);
            for (;;) {
                std::size_t got = 0;
                if (!fileOps().read(in.handle(), buffer.data(), buffer.size(), got, code)) {
                    readFailed = true;
                    return false;
                }
                if (got == 0)
                    return true;
                if (!out.write(buffer.data(), static_cast<std::streamsize>(got)))
                    return false;
            }
        },
        error);
    if (readFailed)
        error = fileErrorText(FileAction::Read, source, code);
    return copied;
}

} // namespace vornik
