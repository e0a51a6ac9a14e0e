#pragma once
// The four name tables loaded from vornik.ini. Records store indexes into
// them; an empty entry reads as "-".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

class ProfileFile;

class Vocabulary {
public:
    Vocabulary(std::size_t entries, std::size_t longestName);

    std::size_t size() const { return m_names.size(); }
    std::size_t longestName() const { return m_longestName; }

    // Entry i, or "-" when it is empty or i lies outside the table.
    const std::string& name(int i) const;
    // First index whose entry equals name exactly; 0 when none does.
    int indexOf(std::string_view name) const;

    // Stores name cut to longestName bytes (never splitting a character);
    // an empty name is stored as "-". Indexes outside the table are ignored.
    void set(int i, std::string_view name);
    void clear(); // every entry "-"

    // Reads keys "0" .. size()-1 of `section` from vornik.ini.
    void load(std::string_view section);
    // The same from content already read (one read for all the tables).
    void load(const ProfileFile& file, std::string_view section);

private:
    std::vector<std::string> m_names;
    std::size_t m_longestName;
};

Vocabulary& rankVocabulary(); // 100 entries, names up to 99 bytes
Vocabulary& skillVocabulary(); // 20 entries, names up to 19 bytes
Vocabulary& imeVocabulary(); // 20 entries, names up to 19 bytes
Vocabulary& crystalVocabulary(); // 20 entries, names up to 19 bytes

const std::string& rankName(int i);
const std::string& skillName(int i);
const std::string& imeName(int i);
const std::string& crystalName(int i);

int rankIndex(std::string_view name);
int skillIndex(std::string_view name);
int crystalIndex(std::string_view name);

// Brings vornik.ini up to the current default level, then loads the rank,
// skill, ime and crystal tables.
// False when vornik.ini exists but cannot be read (a folder of that name, a
// read error): the tables then hold the defaults and nothing is written.
bool loadSettings();

// Names for the drop-downs, in key order, without the leading empty entry
// that each drop-down adds itself.
std::vector<std::string> rankComboNames();
std::vector<std::string> classComboNames();
std::vector<std::string> jobComboNames();
std::vector<std::string> skillComboNames();
std::vector<std::string> crystalComboNames();

} // namespace vornik
