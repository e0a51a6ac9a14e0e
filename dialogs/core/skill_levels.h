#pragma once
// The skill value dialog's nine boxes against one level block of a record
// (needed or cap levels of skills 1 to 9; skill 10 has no box).

#include "storage/formatting.h"
#include "storage/record.h"

#include <array>
#include <cstddef>
#include <string>

namespace vornik {

inline constexpr int kLevelBoxes = 9;
inline constexpr std::size_t kLevelByteLimit = 3;

using LevelBoxTexts = std::array<std::string, kLevelBoxes>;

// Each slot's level; "?" for a skill that takes part in the recipe but has
// no level in this block yet.
LevelBoxTexts levelBoxTexts(const RecipeRecord& record, LevelKind block);

// The boxes' texts, unchanged, into the block's slots 1 to 9; then the
// skillUsed flags are rebuilt from both blocks.
void storeLevelBoxTexts(const LevelBoxTexts& texts, LevelKind block, RecipeRecord& record);

} // namespace vornik
