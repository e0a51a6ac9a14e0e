#include "output/core/export_file.h"

#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/sjis_text.h"

#include <cerrno>
#include <ostream>
#include <streambuf>
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
        , m_buffer(64 * 1024)
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
    const std::string& path, const std::function<void(std::ostream&)>& write, std::string& error)
{
    int code = 0;
    ScopedFile file;
    if (!file.open(path, OpenMode::CreateTruncate, code)) {
        error = fileErrorText(FileAction::Create, path, code);
        return false;
    }

    FileOpsBuffer buffer(file.handle());
    std::ostream out(&buffer);
    write(out);
    out.flush();
    if (!out || buffer.error() != 0) {
        error = fileErrorText(FileAction::Write, path, buffer.error() != 0 ? buffer.error() : EIO);
        return false;
    }
    if (!fileOps().sync(file.handle(), code) && !syncUnsupported(code)) {
        error = fileErrorText(FileAction::Write, path, code);
        return false;
    }
    if (!file.closeChecked(code)) {
        error = fileErrorText(FileAction::Write, path, code);
        return false;
    }
    return true;
}

} // namespace vornik
