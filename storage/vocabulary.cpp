#include "storage/vocabulary.h"

#include "platform/sjis_text.h"
#include "storage/numbers.h"
#include "storage/profile.h"
#include "storage/profile_file.h"

namespace vornik {
namespace {

const std::string& placeholder()
{
    static const std::string dash = "-";
    return dash;
}

bool inTable(int i, std::size_t size)
{
    return i >= 0 && static_cast<std::size_t>(i) < size;
}

} // namespace

Vocabulary::Vocabulary(std::size_t entries, std::size_t longestName)
    : m_names(entries, placeholder())
    , m_longestName(longestName)
{
}

const std::string& Vocabulary::name(int i) const
{
    if (!inTable(i, m_names.size()) || m_names[static_cast<std::size_t>(i)].empty())
        return placeholder();
    return m_names[static_cast<std::size_t>(i)];
}

int Vocabulary::indexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == name)
            return static_cast<int>(i);
    }
    return 0;
}

void Vocabulary::set(int i, std::string_view name)
{
    if (!inTable(i, m_names.size()))
        return;
    // Cut at a character boundary: half a double-byte character would be an
    // invalid character in every view that shows the name.
    const std::string_view kept = sjis::cutAtChar(name, m_longestName);
    m_names[static_cast<std::size_t>(i)] = kept.empty() ? placeholder() : std::string(kept);
}

void Vocabulary::clear()
{
    for (std::string& name : m_names)
        name = placeholder();
}

void Vocabulary::load(std::string_view section)
{
    std::optional<ProfileFile> file = ProfileFile::load(settingsFilePath());
    load(file ? *file : ProfileFile(), section);
}

void Vocabulary::load(const ProfileFile& file, std::string_view section)
{
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        const int index = static_cast<int>(i);
        set(index, file.readString(section, intToText(index), "", m_longestName + 1));
    }
}

Vocabulary& rankVocabulary()
{
    static Vocabulary table(100, 99);
    return table;
}

Vocabulary& skillVocabulary()
{
    static Vocabulary table(20, 19);
    return table;
}

Vocabulary& imeVocabulary()
{
    static Vocabulary table(20, 19);
    return table;
}

Vocabulary& crystalVocabulary()
{
    static Vocabulary table(20, 19);
    return table;
}

const std::string& rankName(int i)
{
    return rankVocabulary().name(i);
}

const std::string& skillName(int i)
{
    return skillVocabulary().name(i);
}

const std::string& imeName(int i)
{
    return imeVocabulary().name(i);
}

const std::string& crystalName(int i)
{
    return crystalVocabulary().name(i);
}

int rankIndex(std::string_view name)
{
    return rankVocabulary().indexOf(name);
}

int skillIndex(std::string_view name)
{
    return skillVocabulary().indexOf(name);
}

int crystalIndex(std::string_view name)
{
    return crystalVocabulary().indexOf(name);
}

} // namespace vornik
