#pragma once
// Decimal text conversions shared by the storage code.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornik {

// Base-10 text of a signed 32-bit integer.
std::string intToText(std::int32_t n);

// Value of the leading decimal digits (after leading white space, with an
// optional sign); 0 when there are none. Saturates instead of overflowing.
std::int32_t textToInt(std::string_view text);

} // namespace vornik
