#include "output/core/url_encoding.h"

#include "platform/sjis_text.h"

namespace vornik {
namespace {

bool isAlphanumeric(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isHalfWidthKatakana(unsigned char c)
{
    return c >= 0xA1 && c <= 0xDF;
}

// Lead bytes of the JIS X 0208 rows (1 to 94); 0xF0 and above hold
// user-defined and vendor characters that EUC-JP has no place for.
bool isJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF);
}

bool isTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Shift-JIS packs two JIS rows into one lead byte; the trail byte tells the
// odd row (0x40-0x9E) from the even one (0x9F-0xFC).
void appendEucPair(std::string& out, unsigned char s1, unsigned char s2)
{
    const unsigned row = 2 * (s1 <= 0x9F ? s1 - 0x81u : s1 - 0xC1u) + (s2 >= 0x9F ? 2u : 1u);
    unsigned cell;
    if (s2 >= 0x9F)
        cell = s2 - 0x9Eu;
    else
        cell = s2 <= 0x7E ? s2 - 0x3Fu : s2 - 0x40u;
    out += static_cast<char>(0xA0 + row);
    out += static_cast<char>(0xA0 + cell);
}

} // namespace

std::string urlEncode(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 3);
    const auto escape = [&out](unsigned char c) {
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    };
    for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
        const auto c = static_cast<unsigned char>(bytes[pos]);
        if (sjis::isLeadByte(c) && pos + 1 < bytes.size()) {
            // A trail byte may look like a letter; it is escaped with its lead
            // byte all the same, so a character is always two escapes.
            escape(c);
            escape(static_cast<unsigned char>(bytes[++pos]));
        } else if (isAlphanumeric(c)) {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            escape(c);
        }
    }
    return out;
}

std::string sjisToEucJp(std::string_view sjis)
{
    std::string out;
    out.reserve(sjis.size() * 2);
    std::size_t pos = 0;
    while (pos < sjis.size()) {
        const auto c = static_cast<unsigned char>(sjis[pos]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++pos;
        } else if (isHalfWidthKatakana(c)) {
            out += '\x8E';
            out += static_cast<char>(c);
            ++pos;
        } else if (isJisLeadByte(c) && pos + 1 < sjis.size()
            && isTrailByte(static_cast<unsigned char>(sjis[pos + 1]))) {
            appendEucPair(out, c, static_cast<unsigned char>(sjis[pos + 1]));
            pos += 2;
        } else if ((c >= 0xF0 && c <= 0xFC) && pos + 1 < sjis.size()
            && isTrailByte(static_cast<unsigned char>(sjis[pos + 1]))) {
            // The vendor rows hold one JIS X 0208 character twice: "∵" is
            // also 0x81 0xE6. Everything else there EUC-JP cannot hold.
            if (c == 0xFA && static_cast<unsigned char>(sjis[pos + 1]) == 0x5B)
                appendEucPair(out, 0x81, 0xE6);
            else
                out += '?';
            pos += 2;
        } else {
            out += '?'; // broken: the next byte starts afresh
            ++pos;
        }
    }
    return out;
}

} // namespace vornik
