#pragma once
// Text as editors save it in encodings other than Shift-JIS, for tests of
// files in a foreign encoding.

#include <string>
#include <string_view>

namespace vornik::test {

// ASCII text as UTF-16 (little-endian unless `bigEndian`), no byte-order mark.
inline std::string utf16(std::string_view ascii, bool bigEndian = false)
{
    std::string out;
    for (const char c : ascii)
        out += bigEndian ? std::string { '\0', c } : std::string { c, '\0' };
    return out;
}

// A u"" literal as UTF-16 bytes (little-endian unless `bigEndian`), no
// byte-order mark.
inline std::string utf16(std::u16string_view text, bool bigEndian = false)
{
    std::string out;
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string { high, low } : std::string { low, high };
    }
    return out;
}

// A u8"" literal as bytes.
inline std::string utf8(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

} // namespace vornik::test
