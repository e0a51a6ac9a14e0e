#include "storage/record.h"

namespace vornik {

void RecipeRecord::assignLine(std::string_view line)
{
    m_line.assign(line);
    m_pending = kAllFields;
    m_boundsFound = false;
    m_hasLine = true;
}

std::string_view RecipeRecord::storedId() const
{
    if (!m_hasLine)
        return id();
    const std::string_view line = m_line;
    return line.substr(0, line.find(','));
}

void RecipeRecord::decodePending(int pos) const
{
    if (!m_boundsFound) {
        findFieldBounds(m_line, m_bounds);
        m_boundsFound = true;
    }
    decodeFieldInto(
        m_bounds.field(m_line, pos), pos, m_bounds.hasEscapes, m_fields[static_cast<std::size_t>(pos)]);
    m_pending &= ~(std::uint64_t { 1 } << pos);
}

void RecipeRecord::decodeAllPending() const
{
    for (int pos = 0; pos < kFieldCount && m_pending != 0; ++pos)
        decodeIfPending(pos);
}

void RecipeRecord::clearForNew()
{
    // Field 0 (the id) stays as read; the others need no decoding.
    m_pending &= 1U;
    for (int pos = 1; pos < kFieldCount; ++pos)
        m_fields[static_cast<std::size_t>(pos)].clear();
}

RecipeRecord& currentRecord()
{
    static RecipeRecord record;
    return record;
}

void recomputeSkillUsed(RecipeRecord& record)
{
    for (int k = 1; k <= kLevelSkills; ++k)
        record.skillUsed(k).clear();
    for (int k = 1; k <= kLevelSkills; ++k) {
        if (!record.capLevel(k).empty())
            record.skillUsed(k) = "1";
    }
    for (int k = 1; k <= kLevelSkills; ++k) {
        if (!record.needLevel(k).empty())
            record.skillUsed(k) = "1";
    }
}

} // namespace vornik
