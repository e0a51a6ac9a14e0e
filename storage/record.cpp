#include "storage/record.h"

namespace vornik {

void RecipeRecord::clearForNew()
{
    for (int pos = 1; pos < kFieldCount; ++pos)
        (*this)[pos].clear();
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
