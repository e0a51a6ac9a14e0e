// Code page 932 conversion through the Windows code page functions.

#include "platform/sjis_codec.h"

#include <windows.h>

namespace vornik {
namespace {

std::wstring toWide(UINT codePage, std::string_view in, DWORD flags)
{
    if (in.empty())
        return {};
    const int n = MultiByteToWideChar(codePage, flags, in.data(), static_cast<int>(in.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, in.data(), static_cast<int>(in.size()), wide.data(), n);
    return wide;
}

std::string fromWide(UINT codePage, const std::wstring& wide, const char* defaultChar)
{
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(
        codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, defaultChar, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(
        codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, defaultChar, nullptr);
    return out;
}

} // namespace

std::string sjisToUtf8(std::string_view sjis)
{
    // Without MB_ERR_INVALID_CHARS, invalid bytes map to U+FFFD.
    return fromWide(CP_UTF8, toWide(932, sjis, 0), nullptr);
}

std::string utf8ToSjis(std::string_view utf8)
{
    return fromWide(932, toWide(CP_UTF8, utf8, 0), "?");
}

} // namespace vornik
