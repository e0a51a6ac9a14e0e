#pragma once
// Turning an item name into the query text of an outside web address.

#include <string>
#include <string_view>

namespace vornik {

// Letters and digits stay, a half-width blank becomes "+", every other byte
// "%" and two lower-case hex digits. Both bytes of a double-byte Shift-JIS
// character are escaped, also a trail byte that looks like a letter.
std::string urlEncode(std::string_view bytes);

// Shift-JIS to EUC-JP: JIS X 0208 characters become their EUC-JP pair,
// half-width katakana 0x8E and the byte, ASCII stays. A byte that starts no
// convertible character (user-defined or vendor codes, a broken pair, a lone
// lead byte at the end) becomes "?" so the result is always valid EUC-JP.
std::string sjisToEucJp(std::string_view sjis);

} // namespace vornik
