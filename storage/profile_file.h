#pragma once
// An INI-style profile file held in memory: '[section]' lines and
// 'key=value' lines in Shift-JIS. Users edit vornik.ini with a text editor,
// so every line the program does not change (comments, blank lines, lines it
// does not understand, their line ends) is written back byte for byte.
//
// Names match as the Windows profile functions match them: ASCII letters
// without regard to case, everything else exactly (the trail byte of a
// double-byte character is never folded). Only the first section of a name
// and the first key of a name inside it count.

#include "storage/settings_keys.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vornik {

class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string_view bytes);

    // The file's content; a missing file is an empty profile. nullopt when
    // the file exists but cannot be read (writing it would lose its content).
    static std::optional<ProfileFile> load(const std::string& path);
    // Writes the whole content atomically; false when that fails (the file
    // on disk is then unchanged).
    bool save(const std::string& path) const;

    // Value trimmed of blanks and tabs, without one enclosing pair of double
    // quotes; nullopt when the key is absent.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Value or def, at most capacity - 1 bytes, never ending in half a
    // character.
    std::string readString(
        std::string_view section, std::string_view key, std::string_view def, std::size_t capacity) const;
    // Leading decimal digits of the value (0 when it has none), def when absent.
    int readInt(std::string_view section, std::string_view key, int def) const;
    // The same for one of the program's settings (storage/settings_keys.h).
    std::string readString(const TextSetting& setting) const
    {
        return readString(setting.section, setting.key, setting.def, setting.capacity);
    }
    int readInt(const IntSetting& setting) const
    {
        return readInt(setting.section, setting.key, setting.def);
    }

    // Replaces the key's line in place, or adds the key at the end of its
    // section, or adds the section at the end of the file. False (nothing
    // changed) when a name or the value would break the line structure.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, int n);
    bool writeInt(const IntSetting& setting, int n) { return writeInt(setting.section, setting.key, n); }

    // Key names and values of the first section of that name, in file order,
    // each name once (its first line), as value() reads them.
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;
    // Removes every line of the key in the first section of that name. False
    // when there was none.
    bool removeKey(std::string_view section, std::string_view key);

    std::string bytes() const;
    // True once a write has changed the content.
    bool isModified() const { return m_modified; }

private:
    struct Line {
        std::string text; // without its line end
        std::string ending; // "\r\n", "\n", or "" for a last line without one
    };

    // Index of the header of the first section named `section`, or npos.
    std::size_t findSection(std::string_view section) const;
    // End of the section whose header is at `header`: the next header or the end.
    std::size_t sectionEnd(std::size_t header) const;
    void insertLine(std::size_t at, std::string text);

    std::vector<Line> m_lines;
    bool m_modified = false;
};

// ASCII letters compared without regard to case, double-byte characters
// compared exactly.
bool profileNamesEqual(std::string_view a, std::string_view b);

} // namespace vornik
