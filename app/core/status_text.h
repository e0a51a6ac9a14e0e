#pragma once
// The status bar holds at most 250 bytes of Shift-JIS text.

#include <string>
#include <string_view>

namespace vornik {

inline constexpr std::size_t kStatusTextLimit = 250;

// The first 250 bytes, never ending in half a double-byte character.
std::string statusTextCut(std::string_view text);

} // namespace vornik
