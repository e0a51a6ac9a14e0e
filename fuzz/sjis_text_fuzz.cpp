// The Shift-JIS string helpers and the code page 932 conversion. The input
// holds a needle, a replacement, a length and a text. A match must be real and
// start on a character boundary, and no boundary match may be skipped; the
// copying and in-place replacements must agree; cuts never split a
// character; the conversion must give valid UTF-8 and settle after one round.

#include "fuzz_check.h"
#include "platform/sjis_codec.h"
#include "platform/sjis_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace vornik;

namespace {

std::vector<std::size_t> boundaries(std::string_view text)
{
    std::vector<std::size_t> result;
    std::size_t pos = 0;
    while (pos < text.size()) {
        result.push_back(pos);
        pos += sjis::charLength(text, pos);
    }
    result.push_back(text.size());
    return result;
}

bool isBoundary(const std::vector<std::size_t>& bounds, std::size_t pos)
{
    for (const std::size_t b : bounds) {
        if (b == pos)
            return true;
    }
    return false;
}

// The first boundary match at or after `from`, found the slow way.
std::size_t slowFind(
    std::string_view text, std::string_view needle, std::size_t from, const std::vector<std::size_t>& bounds)
{
    for (const std::size_t b : bounds) {
        if (b >= from && text.substr(b).starts_with(needle) && b + needle.size() <= text.size())
            return b;
    }
    return std::string_view::npos;
}

bool isValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string needle = provider.ConsumeRandomLengthString(6);
    const std::string replacement = provider.ConsumeRandomLengthString(6);
    const std::size_t cut = provider.ConsumeIntegralInRange<std::size_t>(0, 80);
    const std::string text = provider.ConsumeRemainingBytesAsString();

    const std::vector<std::size_t> bounds = boundaries(text);
    for (const std::size_t from : { std::size_t(0), bounds[bounds.size() / 2] }) {
        const std::size_t found = sjis::find(text, needle, from);
        FUZZ_CHECK(found == slowFind(text, needle, from, bounds));
    }
    FUZZ_CHECK(sjis::contains(text, needle) == (slowFind(text, needle, 0, bounds) != std::string::npos));

    const std::string replaced = sjis::replaceAll(text, needle, replacement);
    std::string inPlace = text;
    const bool changed = sjis::replaceAllInPlace(inPlace, needle, replacement);
    FUZZ_CHECK(inPlace == replaced);
    FUZZ_CHECK(changed == (!needle.empty() && sjis::contains(text, needle)));
    if (!needle.empty() && replacement.empty() && changed)
        FUZZ_CHECK(replaced.size() < text.size());

    const std::string_view prefix = sjis::cutAtChar(text, cut);
    FUZZ_CHECK(prefix.size() <= cut && prefix.size() <= text.size());
    const std::size_t limit = std::min(cut, text.size());
    std::size_t longest = 0;
    for (const std::size_t b : bounds) {
        if (b <= limit)
            longest = b;
    }
    // A lone lead byte at the very end may be dropped as well.
    const bool loneLeadDropped = longest == text.size() && !text.empty()
        && sjis::isLeadByte(static_cast<unsigned char>(text.back())) && prefix.size() + 1 == longest;
    FUZZ_CHECK(prefix.size() == longest || loneLeadDropped);
    const std::size_t before = sjis::boundaryAtOrBefore(text, limit);
    FUZZ_CHECK(isBoundary(bounds, before) && before <= limit);

    const std::string_view trimmedText = sjis::trimmed(text);
    std::string trimmedCopy = text;
    sjis::trim(trimmedCopy);
    FUZZ_CHECK(trimmedCopy == trimmedText);

    const std::string utf8 = sjisToUtf8(text);
    FUZZ_CHECK(isValidUtf8(utf8));
    const std::string once = utf8ToSjis(utf8);
    FUZZ_CHECK(utf8ToSjis(sjisToUtf8(once)) == once);
    (void)utf8ToSjis(text); // arbitrary bytes as UTF-8
    return 0;
}
