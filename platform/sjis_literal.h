#pragma once
// Japanese text constants written readably in the (UTF-8) source and used as
// Shift-JIS bytes: "検索条件"_sj is a const std::string& converted once, on
// first use.

#include "platform/sjis_codec.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace vornik {

template <std::size_t N> struct Utf8Literal {
    char text[N];
    constexpr Utf8Literal(const char (&s)[N]) { std::copy_n(s, N, text); } // NOLINT: implicit by design
    constexpr std::string_view view() const { return std::string_view(text, N - 1); }
};

namespace literals {
template <Utf8Literal L> const std::string& operator""_sj()
{
    static const std::string converted = utf8ToSjis(L.view());
    return converted;
}
} // namespace literals

using namespace literals; // NOLINT: the suffix is meant to be used everywhere

} // namespace vornik
