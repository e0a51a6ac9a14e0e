#include "storage/numbers.h"

#include "platform/sjis_text.h"

#include <limits>

namespace vornik {

std::string intToText(std::int32_t n)
{
    return std::to_string(n);
}

std::int32_t textToInt(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && sjis::isAsciiSpace(static_cast<unsigned char>(text[pos])))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t { std::numeric_limits<std::int32_t>::max() } + 1;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value > limit - 1 ? limit - 1 : value);
}

} // namespace vornik
