#include "storage/profile_file.h"

#include "platform/atomic_file.h"
#include "platform/native_path.h"
#include "platform/sjis_text.h"
#include "storage/numbers.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vornik {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    // Blanks and tabs are below 0x40 and never a trail byte.
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name; // section or key name
    std::string_view value; // key lines only, trimmed
};

ParsedLine parseLine(std::string_view text)
{
    const std::string_view line = trimBlanks(text);
    if (line.empty() || line.front() == ';')
        return {};
    if (line.front() == '[') {
        // ']' (0x5D) can be the trail byte of a double-byte character.
        const std::size_t close = sjis::find(line, "]", 1);
        if (close == std::string_view::npos)
            return {};
        return { LineKind::Section, trimBlanks(line.substr(1, close - 1)), {} };
    }
    const std::size_t equals = line.find('='); // 0x3D is never a trail byte
    if (equals == std::string_view::npos)
        return {};
    const std::string_view key = trimBlanks(line.substr(0, equals));
    if (key.empty())
        return {};
    return { LineKind::Key, key, trimBlanks(line.substr(equals + 1)) };
}

std::string_view withoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

bool hasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// True when the last byte is a lead byte without its trail byte: the "]"
// written after such a section name would be read as that trail byte.
bool endsInLoneLeadByte(std::string_view text)
{
    std::size_t pos = 0;
    while (pos + 1 < text.size())
        pos += sjis::charLength(text, pos);
    return pos + 1 == text.size() && sjis::isLeadByte(static_cast<unsigned char>(text[pos]));
}

// A name or value that would read back as something else, or split the line.
bool breaksLineStructure(std::string_view section, std::string_view key, std::string_view value)
{
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return true;
    if (section.empty() || sjis::contains(section, "]") || trimBlanks(section) != section
        || endsInLoneLeadByte(section))
        return true;
    if (key.empty() || key.find('=') != std::string_view::npos || trimBlanks(key) != key)
        return true;
    return key.front() == '[' || key.front() == ';';
}

} // namespace

bool profileNamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    std::size_t pos = 0;
    while (pos < a.size()) {
        const std::size_t length = sjis::charLength(a, pos);
        if (length == 2) {
            if (a.substr(pos, 2) != b.substr(pos, 2))
                return false;
        } else if (foldAscii(a[pos]) != foldAscii(b[pos])) {
            return false;
        }
        pos += length;
    }
    return true;
}

ProfileFile::ProfileFile(std::string_view bytes)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t newline = bytes.find('\n', start);
        if (newline == std::string_view::npos) {
            m_lines.push_back({ std::string(bytes.substr(start)), {} });
            break;
        }
        std::size_t textEnd = newline;
        if (textEnd > start && bytes[textEnd - 1] == '\r')
            --textEnd;
        m_lines.push_back({ std::string(bytes.substr(start, textEnd - start)),
            std::string(bytes.substr(textEnd, newline + 1 - textEnd)) });
        start = newline + 1;
    }
}

std::optional<ProfileFile> ProfileFile::load(const std::string& path)
{
    const std::filesystem::path native = nativePath(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(native, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return ProfileFile();
    // A folder or device of that name holds no settings, and must never be
    // replaced by a settings file.
    if (error || !std::filesystem::is_regular_file(status))
        return std::nullopt;
    std::ifstream in(native, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return std::nullopt; // a read error part way: the content is unknown
    }
    if (in.bad())
        return std::nullopt;
    // An editor may save the file as UTF-8 with a byte-order mark; the mark
    // is no part of the first line (it would hide "[system]").
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (std::string_view(bytes).starts_with(kUtf8Mark))
        bytes.erase(0, kUtf8Mark.size());
    return ProfileFile(bytes);
}

bool ProfileFile::save(const std::string& path) const
{
    std::string ignoredMessage; // the callers report failure as a truth value only
    return writeFileAtomically(path, bytes(), ignoredMessage);
}

std::size_t ProfileFile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine line = parseLine(m_lines[i].text);
        if (line.kind == LineKind::Section && profileNamesEqual(line.name, section))
            return i;
    }
    return std::string::npos;
}

std::size_t ProfileFile::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < m_lines.size() && parseLine(m_lines[i].text).kind != LineKind::Section)
        ++i;
    return i;
}

std::optional<std::string> ProfileFile::value(std::string_view section, std::string_view key) const
{
    const std::size_t header = findSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const ParsedLine line = parseLine(m_lines[i].text);
        if (line.kind == LineKind::Key && profileNamesEqual(line.name, key))
            return std::string(withoutQuotes(line.value));
    }
    return std::nullopt;
}

std::string ProfileFile::readString(
    std::string_view section, std::string_view key, std::string_view def, std::size_t capacity) const
{
    if (capacity == 0)
        return {};
    const std::optional<std::string> found = value(section, key);
    const std::string_view text = found ? std::string_view(*found) : def;
    return std::string(sjis::cutAtChar(text, capacity - 1));
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int def) const
{
    const std::optional<std::string> found = value(section, key);
    return found ? textToInt(*found) : def;
}

void ProfileFile::insertLine(std::size_t at, std::string text)
{
    // Only the last line may lack a line end; one inserted after it gets one.
    if (at > 0 && m_lines[at - 1].ending.empty())
        m_lines[at - 1].ending = kLineEnd;
    m_lines.insert(
        m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line { std::move(text), std::string(kLineEnd) });
}

bool ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    if (breaksLineStructure(section, key, value))
        return false;
    std::string keyLine = std::string(key) + "=" + std::string(value);

    const std::size_t header = findSection(section);
    if (header == std::string::npos) {
        insertLine(m_lines.size(), "[" + std::string(section) + "]");
        insertLine(m_lines.size(), std::move(keyLine));
        m_modified = true;
        return true;
    }

    const std::size_t end = sectionEnd(header);
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < end; ++i) {
        const ParsedLine line = parseLine(m_lines[i].text);
        if (line.kind != LineKind::Key)
            continue;
        if (profileNamesEqual(line.name, key)) {
            // An unchanged line keeps its bytes, line end included.
            Line& existing = m_lines[i];
            if (existing.text != keyLine) {
                existing.text = std::move(keyLine);
                existing.ending = kLineEnd;
                m_modified = true;
            }
            return true;
        }
        insertAt = i + 1;
    }
    insertLine(insertAt, std::move(keyLine));
    m_modified = true;
    return true;
}

bool ProfileFile::writeInt(std::string_view section, std::string_view key, int n)
{
    return writeString(section, key, intToText(n));
}

std::vector<std::pair<std::string, std::string>> ProfileFile::entries(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> found;
    const std::size_t header = findSection(section);
    if (header == std::string::npos)
        return found;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const ParsedLine line = parseLine(m_lines[i].text);
        if (line.kind != LineKind::Key)
            continue;
        const bool seen = std::any_of(found.begin(), found.end(),
            [&](const auto& entry) { return profileNamesEqual(entry.first, line.name); });
        if (!seen)
            found.emplace_back(std::string(line.name), std::string(withoutQuotes(line.value)));
    }
    return found;
}

bool ProfileFile::removeKey(std::string_view section, std::string_view key)
{
    const std::size_t header = findSection(section);
    if (header == std::string::npos)
        return false;
    bool removed = false;
    for (std::size_t i = sectionEnd(header); i > header + 1; --i) {
        const ParsedLine line = parseLine(m_lines[i - 1].text);
        if (line.kind == LineKind::Key && profileNamesEqual(line.name, key)) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i - 1));
            removed = true;
        }
    }
    m_modified = m_modified || removed;
    return removed;
}

std::string ProfileFile::bytes() const
{
    std::string out;
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

} // namespace vornik
