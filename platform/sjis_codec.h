#pragma once
// Conversion between code page 932 (Shift-JIS) and Unicode (UTF-8).
// Only widget and command-line boundaries convert; every text inside the
// program stays Shift-JIS, except paths (platform/native_path.h).

#include <string>
#include <string_view>

namespace vornik {

// Bytes that are not valid code page 932 become U+FFFD, one per bad byte.
std::string sjisToUtf8(std::string_view sjis);

// Characters code page 932 cannot hold (and malformed UTF-8) become "?".
std::string utf8ToSjis(std::string_view utf8);

// How a user of this system saves a text file that is in `encoding` (as
// named by storage/file_encoding.h) again as code page 932, in the words of
// the tools the system has: a Shift-JIS sentence for a message.
std::string sjisConversionHint(std::string_view encoding);

} // namespace vornik
