#include "dialogs/core/skill_levels.h"

namespace vornik {
namespace {

std::string& level(RecipeRecord& record, LevelKind block, int k)
{
    return block == LevelKind::Need ? record.needLevel(k) : record.capLevel(k);
}

} // namespace

LevelBoxTexts levelBoxTexts(const RecipeRecord& record, LevelKind block)
{
    LevelBoxTexts texts;
    for (int k = 1; k <= kLevelBoxes; ++k) {
        const std::string& value = block == LevelKind::Need ? record.needLevel(k) : record.capLevel(k);
        texts[static_cast<std::size_t>(k - 1)] = value.empty() && record.skillUsed(k) == "1" ? "?" : value;
    }
    return texts;
}

void storeLevelBoxTexts(const LevelBoxTexts& texts, LevelKind block, RecipeRecord& record)
{
    for (int k = 1; k <= kLevelBoxes; ++k)
        level(record, block, k) = texts[static_cast<std::size_t>(k - 1)];
    recomputeSkillUsed(record);
}

} // namespace vornik
