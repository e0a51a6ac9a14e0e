#include "storage/file_encoding.h"

#include "platform/native_path.h"
#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>

namespace vornik {
namespace {

bool between(unsigned char c, unsigned lo, unsigned hi)
{
    return c >= lo && c <= hi;
}

// Walks the UTF-8 sequences of `bytes`; calls `each` with the code point of
// every multi-byte one. False at the first malformed byte.
template <typename Each> bool walkUtf8(std::string_view bytes, bool cut, Each each)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[pos]);
        std::size_t length = 1;
        char32_t point = c;
        if (between(c, 0xC2, 0xDF)) {
            length = 2;
            point = c & 0x1Fu;
        } else if (between(c, 0xE0, 0xEF)) {
            length = 3;
            point = c & 0x0Fu;
        } else if (between(c, 0xF0, 0xF4)) {
            length = 4;
            point = c & 0x07u;
        } else if (c >= 0x80) {
            return false;
        }
        for (std::size_t i = 1; i < length; ++i) {
            if (pos + i == bytes.size())
                return cut;
            const auto next = static_cast<unsigned char>(bytes[pos + i]);
            if ((next & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (next & 0x3Fu);
        }
        if (length > 1)
            each(point);
        pos += length;
    }
    return true;
}

// Lead and trail bytes as Shift-JIS (code page 932) arranges them; whether a
// pair is assigned to a character is not asked.
bool isValidShiftJis(std::string_view bytes, bool cut)
{
    for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
        const auto c = static_cast<unsigned char>(bytes[pos]);
        if (c < 0x80 || between(c, 0xA1, 0xDF))
            continue;
        if (!between(c, 0x81, 0x9F) && !between(c, 0xE0, 0xFC))
            return false;
        if (++pos == bytes.size())
            return cut;
        const auto trail = static_cast<unsigned char>(bytes[pos]);
        if (!between(trail, 0x40, 0x7E) && !between(trail, 0x80, 0xFC))
            return false;
    }
    return true;
}

bool isJapaneseScript(char32_t point)
{
    return (point >= 0x3000 && point <= 0x30FF) // punctuation, hiragana, katakana
        || (point >= 0x3400 && point <= 0x9FFF) // kanji
        || (point >= 0xFF00 && point <= 0xFFEF); // full-width and half-width forms
}

std::function<void(const std::string&, std::string_view)>& foreignFileHandler()
{
    static std::function<void(const std::string&, std::string_view)> handler;
    return handler;
}

std::string savedAs(std::string_view encoding)
{
    return "このファイルは Shift-JIS ではなく "_sj + std::string(encoding) + " で保存されているため、"_sj;
}

} // namespace

bool isUtf8WithMultiByte(std::string_view bytes, bool cut)
{
    bool multiByte = false;
    return walkUtf8(bytes, cut, [&multiByte](char32_t) { multiByte = true; }) && multiByte;
}

bool looksLikeUtf8Text(std::string_view bytes, bool cut)
{
    std::size_t japanese = 0;
    std::size_t other = 0;
    const bool wellFormed
        = walkUtf8(bytes, cut, [&](char32_t point) { ++(isJapaneseScript(point) ? japanese : other); });
    if (!wellFormed || japanese + other == 0)
        return false;
    if (!isValidShiftJis(bytes, cut))
        return true;
    // Both readings hold: a few characters could be either (a short run of
    // half-width katakana reads as accented Latin letters), so only text
    // whose UTF-8 reading is mostly Japanese is taken for UTF-8.
    constexpr std::size_t kAmbiguousMinimum = 3;
    return japanese >= kAmbiguousMinimum && japanese > other;
}

FileEncoding encodingOf(std::string_view firstBytes, bool cut)
{
    if (firstBytes.starts_with("\xFF\xFE"))
        return FileEncoding::Utf16Le;
    if (firstBytes.starts_with("\xFE\xFF"))
        return FileEncoding::Utf16Be;
    // A NUL in the first line only: one further down is damage to a line
    // of a Shift-JIS file, whose other lines are still fine.
    const std::string_view firstLine = firstBytes.substr(0, firstBytes.find('\n'));
    if (firstLine.find('\0') != std::string_view::npos) {
        // An ASCII character is its byte and a NUL: the NUL comes second
        // in little-endian, first in big-endian order.
        std::size_t nulsFirst = 0;
        std::size_t nulsSecond = 0;
        for (std::size_t pos = 0; pos < firstLine.size(); ++pos) {
            if (firstLine[pos] == '\0')
                ++(pos % 2 == 0 ? nulsFirst : nulsSecond);
        }
        return nulsFirst > nulsSecond ? FileEncoding::Utf16Be : FileEncoding::Utf16Le;
    }
    if (firstBytes.starts_with("\xEF\xBB\xBF") || looksLikeUtf8Text(firstBytes, cut))
        return FileEncoding::Utf8;
    return FileEncoding::ShiftJis;
}

std::optional<std::string_view> foreignEncodingName(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::ShiftJis:
        return std::nullopt;
    case FileEncoding::Utf8:
        return "UTF-8";
    case FileEncoding::Utf16Le:
    case FileEncoding::Utf16Be:
        return "UTF-16";
    }
    return std::nullopt;
}

std::optional<std::string_view> foreignEncodingOf(std::string_view firstBytes, bool cut)
{
    return foreignEncodingName(encodingOf(firstBytes, cut));
}

FileEncoding encodingOfFile(const std::string& path)
{
    // A look at the start only, which fails quietly: it goes around the
    // file operations layer, so that the reading it precedes meets every
    // failure (also one a test injects) exactly as it would without it.
    // Only a regular file: opening a FIFO would wait for a writer.
    std::error_code statusError;
    if (!std::filesystem::is_regular_file(nativePath(path), statusError))
        return FileEncoding::ShiftJis;
    std::ifstream file(nativePath(path), std::ios::binary);
    if (!file)
        return FileEncoding::ShiftJis;
    std::string bytes(kEncodingProbeBytes, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad())
        return FileEncoding::ShiftJis;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return encodingOf(bytes, bytes.size() == kEncodingProbeBytes);
}

std::optional<std::string_view> foreignEncodingOfFile(const std::string& path)
{
    return foreignEncodingName(encodingOfFile(path));
}

std::string foreignFileRefusal(const std::string& path, std::string_view encoding)
{
    return savedAs(encoding) + "変更を書き込めません。\n"_sj + pathForMessage(path) + "\n"_sj
        + sjisConversionHint(encoding);
}

std::string foreignFileNotice(const std::string& path, std::string_view encoding)
{
    return savedAs(encoding) + "読める範囲で表示しますが、変更は書き込みません。\n"_sj + pathForMessage(path)
        + "\n"_sj + sjisConversionHint(encoding);
}

void setForeignFileHandler(std::function<void(const std::string& path, std::string_view encoding)> handler)
{
    foreignFileHandler() = std::move(handler);
}

FileEncoding noticeFileEncoding(const std::string& path)
{
    const FileEncoding encoding = encodingOfFile(path);
    noticeEncoding(path, encoding);
    return encoding;
}

void noticeEncoding(const std::string& path, FileEncoding encoding)
{
    const std::optional<std::string_view> name = foreignEncodingName(encoding);
    if (!name)
        return;
    static std::mutex toldMutex;
    static std::set<std::string> told;
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(toldMutex);
        first = told.insert(path).second;
    }
    if (first && foreignFileHandler())
        foreignFileHandler()(path, *name);
}

std::optional<std::string_view> noticeForeignFile(const std::string& path)
{
    return foreignEncodingName(noticeFileEncoding(path));
}

} // namespace vornik
