// Web-address encoding of an item name and the EUC-JP conversion. The
// encoded text may hold only letters, digits, '+' and '%' escapes, and
// decodes back to the input; the EUC-JP text must be well formed and keep
// ASCII text as it is.

#include "fuzz_check.h"
#include "output/core/url_encoding.h"

#include <cstdint>
#include <string>

using namespace vornik;

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool isAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string urlDecode(std::string_view encoded)
{
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            FUZZ_CHECK(i + 2 < encoded.size());
            const int hi = hexValue(encoded[i + 1]);
            const int lo = hexValue(encoded[i + 2]);
            FUZZ_CHECK(hi >= 0 && lo >= 0);
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            FUZZ_CHECK(isAlnum(static_cast<unsigned char>(c)));
            out += c;
        }
    }
    return out;
}

void checkEucJp(std::string_view euc, std::string_view sjis)
{
    bool allAscii = true;
    for (const char c : sjis)
        allAscii &= static_cast<unsigned char>(c) < 0x80;
    if (allAscii)
        FUZZ_CHECK(euc == sjis);
    std::size_t i = 0;
    while (i < euc.size()) {
        const auto c = static_cast<unsigned char>(euc[i]);
        if (c < 0x80) {
            ++i;
        } else if (c == 0x8E) {
            FUZZ_CHECK(i + 1 < euc.size());
            const auto k = static_cast<unsigned char>(euc[i + 1]);
            FUZZ_CHECK(k >= 0xA1 && k <= 0xDF);
            i += 2;
        } else {
            FUZZ_CHECK(c >= 0xA1 && c <= 0xFE && i + 1 < euc.size());
            const auto t = static_cast<unsigned char>(euc[i + 1]);
            FUZZ_CHECK(t >= 0xA1 && t <= 0xFE);
            i += 2;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string encoded = urlEncode(bytes);
    FUZZ_CHECK(urlDecode(encoded) == bytes);
    checkEucJp(sjisToEucJp(bytes), bytes);
    return 0;
}
