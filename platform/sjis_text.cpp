#include "platform/sjis_text.h"

#include <cstring>

namespace vornik::sjis {

std::size_t find(std::string_view text, std::string_view needle, std::size_t from)
{
    if (needle.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (needle.size() > text.size())
        return std::string_view::npos;
    const std::size_t last = text.size() - needle.size();
    std::size_t pos = from;
    while (pos <= last) {
        // Jump to the next byte equal to the needle's first byte, but keep the
        // character walk exact: boundaries between `pos` and the candidate are
        // found by stepping through the skipped characters.
        const void* hit = std::memchr(text.data() + pos, needle[0], last - pos + 1);
        if (!hit)
            return std::string_view::npos;
        const auto candidate = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        while (pos < candidate)
            pos += charLength(text, pos);
        if (pos == candidate) {
            if (std::memcmp(text.data() + pos, needle.data(), needle.size()) == 0)
                return pos;
            pos += charLength(text, pos);
        }
        // pos > candidate: the hit was a trail byte; continue from pos.
    }
    return std::string_view::npos;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out;
    if (from.empty())
        return std::string(text);
    std::size_t start = 0;
    std::size_t pos = find(text, from, 0);
    if (pos == std::string_view::npos)
        return std::string(text);
    out.reserve(text.size());
    while (pos != std::string_view::npos) {
        out.append(text.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
        pos = find(text, from, start);
    }
    out.append(text.substr(start));
    return out;
}

bool replaceAllInPlace(std::string& text, std::string_view from, std::string_view to)
{
    if (from.empty() || find(text, from) == std::string_view::npos)
        return false;
    text = replaceAll(text, from, to);
    return true;
}

std::string_view trimmed(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isAsciiSpace(static_cast<unsigned char>(text[begin])))
        ++begin;
    // White space bytes are all below 0x40, so they are never a trail byte:
    // trimming from the right cannot cut a character in two.
    while (end > begin && isAsciiSpace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

void trim(std::string& text)
{
    const std::string_view t = trimmed(text);
    if (t.size() == text.size())
        return;
    const auto offset = static_cast<std::size_t>(t.data() - text.data());
    text.erase(offset + t.size());
    text.erase(0, offset);
}

std::size_t boundaryAtOrBefore(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return text.size();
    std::size_t at = 0;
    while (at < pos) {
        const std::size_t next = at + charLength(text, at);
        if (next > pos)
            break;
        at = next;
    }
    return at;
}

std::string_view cutAtChar(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    return text.substr(0, boundaryAtOrBefore(text, maxBytes));
}

} // namespace vornik::sjis
