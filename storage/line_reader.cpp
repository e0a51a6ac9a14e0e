#include "storage/line_reader.h"

#include "platform/sjis_codec.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace vornik {
namespace {

std::string_view withoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

LineReader::LineReader(std::size_t bufferSize, std::size_t maxLineBytes)
    : m_buffer(bufferSize < 16 ? 16 : bufferSize)
    , m_maxLineBytes(maxLineBytes)
{
}

LineReader::~LineReader() = default;

bool LineReader::open(const std::string& path)
{
    close();
    m_error = 0;
    m_fromUtf8 = false;
    m_atStart = true;
    return m_file.open(path, OpenMode::Read, m_error);
}

void LineReader::close()
{
    m_file.closeQuietly();
    m_begin = m_end = 0;
    m_longLine.clear();
    m_atEnd = false;
}

bool LineReader::refill()
{
    m_begin = m_end = 0;
    if (m_atEnd || !m_file.isOpen())
        return false;
    std::size_t got = 0;
    if (!fileOps().read(m_file.handle(), m_buffer.data(), m_buffer.size(), got, m_error)) {
        m_atEnd = true;
        return false;
    }
    if (got == 0) {
        m_atEnd = true;
        return false;
    }
    m_end = got;
    return true;
}

bool LineReader::readLine(std::string_view& line)
{
    if (!readRawLine(line))
        return false;
    const bool first = std::exchange(m_atStart, false);
    if (m_fromUtf8) {
        if (first && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        m_converted = utf8ToSjis(line);
        line = m_converted;
    }
    return true;
}

bool LineReader::readRawLine(std::string_view& line)
{
    m_longLine.clear();
    bool pieceTaken = false; // part of the line already copied to m_longLine
    for (;;) {
        if (m_begin == m_end && !refill()) {
            if (m_error != 0)
                return false;
            // End of file: a last line without a line end is still a line.
            if (!pieceTaken)
                return false;
            line = withoutLineEnd(m_longLine);
            return true;
        }
        const char* start = m_buffer.data() + m_begin;
        const std::size_t available = m_end - m_begin;
        // A CR that ended the last buffer: a line end of its own unless the
        // LF of a CR LF comes next.
        if (m_loneCrEndsLine && pieceTaken && m_longLine.back() == '\r' && *start != '\n') {
            line = withoutLineEnd(m_longLine);
            return true;
        }
        const void* newline = std::memchr(start, '\n', available);
        // A lone CR before the LF (or anywhere when there is none) ends the
        // line there. A CR as the buffer's last byte waits for the next one.
        const std::size_t beforeLf
            = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - start) : available;
        const void* cr = m_loneCrEndsLine ? std::memchr(start, '\r', beforeLf) : nullptr;
        if (cr && static_cast<const char*>(cr) + 1 < start + beforeLf) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
            m_begin += length + 1;
            if (!pieceTaken) {
                line = std::string_view(start, length);
            } else {
                m_longLine.append(start, length);
                line = m_longLine;
            }
            return true;
        }
        if (newline) {
            const std::size_t length = beforeLf;
            m_begin += length + 1;
            if (!pieceTaken) {
                line = withoutLineEnd(std::string_view(start, length));
            } else {
                m_longLine.append(start, length);
                line = withoutLineEnd(m_longLine);
            }
            return true;
        }
        // The line goes on beyond the buffer: keep what we have and read on.
        if (m_longLine.size() + available > m_maxLineBytes) {
            m_error = EFBIG;
            m_atEnd = true;
            m_begin = m_end;
            m_longLine.clear();
            m_longLine.shrink_to_fit();
            return false;
        }
        m_longLine.append(start, available);
        pieceTaken = true;
        m_begin = m_end;
    }
}

} // namespace vornik
