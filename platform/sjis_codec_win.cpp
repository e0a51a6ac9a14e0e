// Code page 932 conversion through the Windows code page functions.
//
// Left to themselves those functions differ from the conversion on the other
// systems in ways that change texts: a stray byte becomes U+0080 or "・"
// instead of U+FFFD, a character outside code page 932 may be "best fitted"
// to a different one (even to a path separator), and a character outside the
// Basic Multilingual Plane becomes two "?". Here every malformed byte is one
// U+FFFD and every character that code page 932 cannot hold is one "?".

#include "platform/sjis_codec.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"

#include <windows.h>

namespace vornik {
namespace {

constexpr UINT kCodePage932 = 932;

bool isTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

bool isSingleByteChar(unsigned char c)
{
    return c < 0x80 || (c >= 0xA1 && c <= 0xDF);
}

// Bytes of the well-formed character at `pos`, or 0 for a malformed byte.
std::size_t wellFormedLength(std::string_view sjis, std::size_t pos)
{
    const auto c = static_cast<unsigned char>(sjis[pos]);
    if (isSingleByteChar(c))
        return 1;
    if (sjis::isLeadByte(c) && pos + 1 < sjis.size()
        && isTrailByte(static_cast<unsigned char>(sjis[pos + 1])))
        return 2;
    return 0;
}

// Appends the UTF-16 of `run`; false (and nothing appended) when some
// character in it has no mapping.
bool appendWide(UINT codePage, std::string_view run, std::wstring& out)
{
    if (run.empty())
        return true;
    const int size = static_cast<int>(run.size());
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, run.data(), size, nullptr, 0);
    if (n <= 0)
        return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, run.data(), size, out.data() + at, n);
    return true;
}

std::wstring sjisToWide(std::string_view sjis)
{
    std::wstring wide;
    wide.reserve(sjis.size());
    std::size_t pos = 0;
    while (pos < sjis.size()) {
        // The longest run of well-formed characters converts in one call.
        std::size_t end = pos;
        for (std::size_t n = 0; end < sjis.size() && (n = wellFormedLength(sjis, end)) != 0;)
            end += n;
        if (end == pos) {
            wide += L'\xFFFD';
            ++pos;
            continue;
        }
        if (appendWide(kCodePage932, sjis.substr(pos, end - pos), wide)) {
            pos = end;
            continue;
        }
        // Some pair in the run is unassigned: character by character. An
        // unassigned pair yields U+FFFD for its first byte, and the second
        // byte is read again on its own, which may make it a stray byte or
        // the first byte of a pair reaching past the run.
        while (pos < end) {
            const std::size_t n = wellFormedLength(sjis, pos);
            if (n != 0 && appendWide(kCodePage932, sjis.substr(pos, n), wide)) {
                pos += n;
            } else {
                wide += L'\xFFFD';
                ++pos;
            }
        }
    }
    return wide;
}

std::wstring utf8ToWide(std::string_view utf8)
{
    // Malformed UTF-8 becomes U+FFFD, which code page 932 then cannot hold.
    std::wstring wide;
    if (utf8.empty())
        return wide;
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    wide.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

std::string wideTo(UINT codePage, std::wstring_view wide)
{
    if (wide.empty())
        return {};
    // Best fit is off for code page 932: a character it cannot hold must not
    // turn into a different, valid one.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* defaultChar = codePage == CP_UTF8 ? nullptr : "?";
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, defaultChar, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, defaultChar, nullptr);
    return out;
}

} // namespace

std::string sjisToUtf8(std::string_view sjis)
{
    return wideTo(CP_UTF8, sjisToWide(sjis));
}

std::string utf8ToSjis(std::string_view utf8)
{
    std::wstring wide = utf8ToWide(utf8);
    // No code page 932 character lies outside the Basic Multilingual Plane:
    // a surrogate pair (or a stray surrogate) is one character it cannot hold.
    std::wstring single;
    single.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF)
                ++i;
            single += L'?';
        } else {
            single += c;
        }
    }
    return wideTo(kCodePage932, single);
}

std::string sjisConversionHint(std::string_view)
{
    return "メモ帳などで開き、文字コード「ANSI」（Shift-JIS）を選んで保存し直してください。"_sj;
}

} // namespace vornik
