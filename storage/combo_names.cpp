// Names offered by the drop-downs. Class and job lists live only in the
// settings file and are read afresh each time a drop-down is filled.

#include "storage/numbers.h"
#include "storage/profile.h"
#include "storage/profile_file.h"
#include "storage/settings_defaults.h"
#include "storage/settings_keys.h"
#include "storage/vocabulary.h"

namespace vornik {
namespace {

constexpr std::size_t kListNameCapacity = 200; // class and job names up to 199 bytes

// Keys first..last of a list section, up to the first missing or empty key.
std::vector<std::string> readList(std::string_view section, int last, std::size_t capacity)
{
    const ProfileFile file = settingsContent();
    std::vector<std::string> names;
    for (int key = 1; key <= last; ++key) {
        std::string name = file.readString(section, intToText(key), "", capacity);
        if (name.empty())
            break;
        names.push_back(std::move(name));
    }
    return names;
}

} // namespace

std::vector<std::string> rankComboNames()
{
    std::vector<std::string> names;
    const Vocabulary& ranks = rankVocabulary();
    for (std::size_t i = 0; i < ranks.size(); ++i) {
        // "-" stands for an empty entry and is never offered.
        const std::string& name = ranks.name(static_cast<int>(i));
        if (name.size() > 1)
            names.push_back(name);
    }
    return names;
}

std::vector<std::string> classComboNames()
{
    return readList(ini::ClassSection, 199, kListNameCapacity);
}

std::vector<std::string> jobComboNames()
{
    return readList(ini::JobSection, 29, kListNameCapacity);
}

// A chosen skill or crystal name is turned back into an index through its
// table, which keeps names only up to the table's limit: offering the same
// cut name keeps that mapping intact for long names.
std::vector<std::string> skillComboNames()
{
    return readList(ini::SkillSection, 19, skillVocabulary().longestName() + 1);
}

std::vector<std::string> crystalComboNames()
{
    return readList(ini::CrystalSection, 19, crystalVocabulary().longestName() + 1);
}

} // namespace vornik
