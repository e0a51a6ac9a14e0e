#pragma once
// Byte-string helpers for Shift-JIS (code page 932) text.
//
// Every text inside the program is a Shift-JIS byte string. A double-byte
// character starts with a lead byte (0x81-0x9F, 0xE0-0xFC) and its trail byte
// may look like ASCII ('@' to '~'), so plain byte searches can match in the
// middle of a character. These helpers walk character by character: a match
// only ever starts where a character starts.

#include <cstddef>
#include <string>
#include <string_view>

namespace vornik::sjis {

constexpr bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Bytes taken by the character starting at `pos` (1 or 2). A lead byte at the
// very end of the text counts as one byte, so walking never runs past the end.
inline std::size_t charLength(std::string_view text, std::size_t pos)
{
    return (isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
}

// Position of the first occurrence of `needle` at or after `from` that starts
// on a character boundary, or npos. `from` must itself be a boundary.
// An empty needle is found at `from`.
std::size_t find(std::string_view text, std::string_view needle, std::size_t from = 0);

inline bool contains(std::string_view text, std::string_view needle)
{
    return find(text, needle) != std::string_view::npos;
}

// Every boundary-aligned occurrence of `from` replaced by `to`, left to right.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);
// Same, in place; returns true when something was replaced.
bool replaceAllInPlace(std::string& text, std::string_view from, std::string_view to);

// Single-byte white space as the C library sees it: space, tab, CR, LF,
// vertical tab, form feed. The full-width space is not white space here.
constexpr bool isAsciiSpace(unsigned char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

std::string_view trimmed(std::string_view text);
void trim(std::string& text);

// Longest prefix of at most `maxBytes` bytes that does not end in the middle
// of a double-byte character.
std::string_view cutAtChar(std::string_view text, std::size_t maxBytes);

// Position just after the last whole character that starts before `pos`
// (i.e. the largest character boundary <= pos).
std::size_t boundaryAtOrBefore(std::string_view text, std::size_t pos);

} // namespace vornik::sjis
