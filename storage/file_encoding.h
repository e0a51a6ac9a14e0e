#pragma once
// Telling a file in another encoding from a Shift-JIS one. Editors save text
// as UTF-8 (with or without a byte-order mark) or UTF-16; the program reads
// such a file as well as it can but never writes into it, since every line
// it rewrote would be damaged.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vornik {

// How much of a file's start is looked at.
inline constexpr std::size_t kEncodingProbeBytes = 64 * 1024;

// What a file's bytes are read as. Plain ASCII counts as Shift-JIS.
enum class FileEncoding { ShiftJis, Utf8, Utf16Le, Utf16Be };

// The encoding the first bytes of a file show (see foreignEncodingOf); for
// UTF-16 also its byte order: the byte-order mark's, or without one the
// order in which the NUL bytes of the first line's ASCII characters fall
// (little-endian when that does not tell).
FileEncoding encodingOf(std::string_view firstBytes, bool cut = false);
// The same for the first kEncodingProbeBytes of the file at `path`;
// Shift-JIS when it cannot be read (the caller's own reading reports that).
FileEncoding encodingOfFile(const std::string& path);
// "UTF-8" or "UTF-16" for the user's messages; nothing for Shift-JIS.
std::optional<std::string_view> foreignEncodingName(FileEncoding encoding);

// The encoding the first bytes of a file show when it is not Shift-JIS:
// "UTF-16" for its byte-order marks or a NUL byte in the first line (no
// Shift-JIS text holds one; UTF-16 has one in every ASCII character), "UTF-8" for its byte-order
// mark or for UTF-8 without it (see looksLikeUtf8Text). Nothing for Shift-JIS
// and for plain ASCII, which both encodings read alike. `cut` tells that the
// bytes end inside the file, maybe inside a character.
std::optional<std::string_view> foreignEncodingOf(std::string_view firstBytes, bool cut = false);

// The same for the first kEncodingProbeBytes of the file at `path`; nothing
// when it cannot be read (the caller's own reading reports that).
std::optional<std::string_view> foreignEncodingOfFile(const std::string& path);

// Every byte above 0x7F belongs to a well-formed UTF-8 sequence, and there is
// at least one. With `cut`, a sequence cut off at the end is allowed.
bool isUtf8WithMultiByte(std::string_view bytes, bool cut = false);

// Whether UTF-8 text without a byte-order mark is what `bytes` holds rather
// than Shift-JIS. Only when the bytes are well-formed UTF-8: then they are
// UTF-8 when they are no valid Shift-JIS, and, where they are both (Japanese
// UTF-8 often passes as Shift-JIS byte for byte), when their UTF-8 reading is
// mostly Japanese script. Shift-JIS text reads as well-formed UTF-8 only in
// short runs of half-width katakana or of rare kanji each followed by
// half-width katakana, which are never taken for UTF-8 here.
bool looksLikeUtf8Text(std::string_view bytes, bool cut = false);

// Japanese (Shift-JIS) message for a change refused because the file at
// `path` is in `encoding`; says how to convert it.
std::string foreignFileRefusal(const std::string& path, std::string_view encoding);
// Japanese (Shift-JIS) message telling that the file is shown as well as it
// can be but nothing is written into it; says how to convert it.
std::string foreignFileNotice(const std::string& path, std::string_view encoding);

// Called the first time in this run that a file the program reads turns out
// to be in another encoding (noticeForeignFile), so that the user interface
// can tell the user once instead of at every search.
void setForeignFileHandler(std::function<void(const std::string& path, std::string_view encoding)> handler);
// Checks the file at `path`: its encoding when it is not Shift-JIS. The
// handler is called only for the first such finding per path and run.
std::optional<std::string_view> noticeForeignFile(const std::string& path);
// The same, giving the encoding to read the file in.
FileEncoding noticeFileEncoding(const std::string& path);
// The same for a file whose encoding was found already (by a scan on
// another thread: the handler must run where the user interface does).
void noticeEncoding(const std::string& path, FileEncoding encoding);

} // namespace vornik
