#include "storage/line_reader.h"

#include "platform/sjis_codec.h"

#include <algorithm>
#include <array>
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

// The byte of `needle` that is least frequent in `sample`: searching for it
// stops at the fewest places. A fixed choice (the first byte) would stop at
// every character sharing the name's lead byte.
std::size_t rarestByteOf(std::string_view needle, std::string_view sample)
{
    std::array<std::size_t, 256> count {};
    for (const char c : sample)
        ++count[static_cast<unsigned char>(c)];
    std::size_t rarest = 0;
    for (std::size_t i = 1; i < needle.size(); ++i) {
        if (count[static_cast<unsigned char>(needle[i])] < count[static_cast<unsigned char>(needle[rarest])])
            rarest = i;
    }
    return rarest;
}

constexpr std::size_t kSampleBytes = 64 * 1024;

std::size_t putUtf8(char32_t point, char* out)
{
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (point < 0x80) {
        out[0] = byte(point);
        return 1;
    }
    if (point < 0x800) {
        out[0] = byte(0xC0 | (point >> 6));
        out[1] = byte(0x80 | (point & 0x3F));
        return 2;
    }
    if (point < 0x10000) {
        out[0] = byte(0xE0 | (point >> 12));
        out[1] = byte(0x80 | ((point >> 6) & 0x3F));
        out[2] = byte(0x80 | (point & 0x3F));
        return 3;
    }
    out[0] = byte(0xF0 | (point >> 18));
    out[1] = byte(0x80 | ((point >> 12) & 0x3F));
    out[2] = byte(0x80 | ((point >> 6) & 0x3F));
    out[3] = byte(0x80 | (point & 0x3F));
    return 4;
}

// Decodes the UTF-16 of `in` into UTF-8 at `out` (room for 3 bytes per code
// unit and one more); returns how many bytes of `in` it took. Half a code
// unit or a high surrogate at the end waits for the bytes that follow unless
// `atEnd`; then it is "?", like every surrogate without its partner.
std::size_t decodeUtf16(
    std::string_view in, bool bigEndian, bool atEnd, bool& markPending, char* out, std::size_t& outSize)
{
    const auto unitAt = [&](std::size_t pos) {
        const auto first = static_cast<unsigned char>(in[pos]);
        const auto second = static_cast<unsigned char>(in[pos + 1]);
        return bigEndian ? char32_t((first << 8) | second) : char32_t((second << 8) | first);
    };
    const auto isHigh = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    const auto isLow = [](char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
    outSize = 0;
    std::size_t pos = 0;
    while (pos + 2 <= in.size()) {
        char32_t point = unitAt(pos);
        std::size_t length = 2;
        if (isHigh(point) && pos + 4 > in.size() && !atEnd)
            break;
        if (isHigh(point) && pos + 4 <= in.size() && isLow(unitAt(pos + 2))) {
            point = 0x10000 + ((point - 0xD800) << 10) + (unitAt(pos + 2) - 0xDC00);
            length = 4;
        } else if (isHigh(point) || isLow(point)) {
            point = '?';
        }
        pos += length;
        if (std::exchange(markPending, false) && point == 0xFEFF)
            continue;
        outSize += putUtf8(point, out + outSize);
    }
    if (atEnd && pos < in.size()) {
        out[outSize++] = '?';
        pos = in.size();
    }
    return pos;
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
    m_source = FileEncoding::ShiftJis;
    m_atStart = true;
    return m_file.open(path, OpenMode::Read, m_error);
}

void LineReader::setSourceEncoding(FileEncoding encoding)
{
    m_source = encoding;
    m_rawCarried = 0;
    m_markPending = true;
    if (encoding == FileEncoding::Utf16Le || encoding == FileEncoding::Utf16Be) {
        // Decoded, 2 bytes of UTF-16 take at most 3 of UTF-8: a raw chunk
        // of two thirds of the buffer (and what the last one left) fits.
        m_raw.resize((m_buffer.size() - 6) / 3 * 2 + 3);
    }
}

void LineReader::close()
{
    m_file.closeQuietly();
    m_begin = m_end = 0;
    m_bufferOffset = m_nextOffset = m_lineOffset = 0;
    m_longLine.clear();
    m_atEnd = false;
    m_rawCarried = 0;
}

ScopedFile LineReader::releaseFile()
{
    ScopedFile file(m_file.release());
    close();
    return file;
}

bool LineReader::refill()
{
    m_begin = m_end = 0;
    if (m_atEnd || !m_file.isOpen())
        return false;
    if (m_source == FileEncoding::Utf16Le || m_source == FileEncoding::Utf16Be)
        return refillFromUtf16();
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
    m_bufferOffset = m_nextOffset;
    m_nextOffset += got;
    return true;
}

bool LineReader::refillFromUtf16()
{
    for (;;) {
        std::size_t got = 0;
        if (!fileOps().read(m_file.handle(), m_raw.data() + m_rawCarried, m_raw.size() - 3, got, m_error)) {
            m_atEnd = true;
            return false;
        }
        const bool atEnd = got == 0;
        const std::string_view raw(m_raw.data(), m_rawCarried + got);
        const std::size_t used = decodeUtf16(
            raw, m_source == FileEncoding::Utf16Be, atEnd, m_markPending, m_buffer.data(), m_end);
        m_rawCarried = raw.size() - used;
        std::memmove(m_raw.data(), m_raw.data() + used, m_rawCarried);
        m_atEnd = atEnd;
        if (m_end > 0)
            return true;
        if (atEnd)
            return false;
    }
}

bool LineReader::readLine(std::string_view& line)
{
    if (!readRawLine(line))
        return false;
    const bool first = std::exchange(m_atStart, false);
    if (m_source != FileEncoding::ShiftJis) {
        // UTF-16 comes decoded to UTF-8, its mark already dropped.
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
        if (!pieceTaken)
            m_lineOffset = m_bufferOffset + m_begin;
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

std::size_t LineReader::lineStartBefore(std::size_t at) const
{
    // Between two lines the buffer holds whole lines from m_begin on. A CR
    // as the buffer's last byte taken for a line end, where it starts a CR LF,
    // makes the LF an empty line of its own, which holds no needle.
    for (std::size_t i = at; i > m_begin; --i) {
        const char c = m_buffer[i - 1];
        if (c == '\n' || (c == '\r' && m_loneCrEndsLine))
            return i;
    }
    return m_begin;
}

const char* LineReader::findInBuffer(std::string_view needle) const
{
    const std::size_t size = needle.size();
    if (m_end - m_begin < size)
        return nullptr;
    const char rare = needle[m_rareAt];
    const char* from = m_buffer.data() + m_begin + m_rareAt;
    // One past the last place the rare byte can stand with the whole needle
    // inside the buffer.
    const char* const last = m_buffer.data() + m_end - size + m_rareAt + 1;
    while (from < last) {
        const void* hit = std::memchr(from, rare, static_cast<std::size_t>(last - from));
        if (hit == nullptr)
            return nullptr;
        const char* start = static_cast<const char*>(hit) - m_rareAt;
        if (std::memcmp(start, needle.data(), size) == 0)
            return start;
        from = static_cast<const char*>(hit) + 1;
    }
    return nullptr;
}

bool LineReader::readLineContaining(
    std::string_view needle, std::string_view& line, const std::atomic<bool>* stop)
{
    // Converted lines are no bytes of the buffer, and a needle holding a
    // line end could be found across two lines: those go line by line.
    if (convertsText() || needle.empty() || needle.find_first_of("\r\n") != std::string_view::npos) {
        while (readLine(line)) {
            if (line.find(needle) != std::string_view::npos)
                return true;
            if (stop != nullptr && stop->load(std::memory_order_relaxed))
                return false;
        }
        return false;
    }
    for (;;) {
        if (m_begin == m_end) {
            if (stop != nullptr && stop->load(std::memory_order_relaxed))
                return false;
            if (!refill())
                return false;
        }
        if (needle != m_needle) {
            m_needle = needle;
            const std::size_t sample = std::min(m_end - m_begin, kSampleBytes);
            m_rareAt = rarestByteOf(needle, std::string_view(m_buffer.data() + m_begin, sample));
        }
        // The needle holds no line end, so a find lies within one line and
        // every whole line before that line lacks it. Without a find, only
        // the unfinished last line can hold it, together with the next read.
        const char* found = findInBuffer(needle);
        m_begin
            = lineStartBefore(found != nullptr ? static_cast<std::size_t>(found - m_buffer.data()) : m_end);
        if (m_begin == m_end)
            continue;
        m_atStart = false;
        if (!readRawLine(line))
            return false;
        if (line.find(needle) != std::string_view::npos)
            return true;
    }
}

} // namespace vornik
