#pragma once
// One-line summaries of a record shared by the list, the dialogs, the
// clipboard copy and the dictionary export. They only read the record.

#include "storage/record.h"

#include <string>
#include <string_view>

namespace vornik {

enum class LevelKind { Need, Cap };
enum class MaterialForm { Display, Compact };

// e.g. "裁縫: 12 彫金:?  "
std::string skillLevelSummary(LevelKind which, const RecipeRecord& record = currentRecord());
// Spaces in front until 3 bytes long.
std::string padLevel(std::string_view text);
// Display: "A×3　B　"; compact: "A3B1".
std::string materialSummary(MaterialForm form, const RecipeRecord& record = currentRecord());
// The same two summaries appended to `out`, for callers that build many
// cells and want no temporary strings.
void appendSkillLevelSummary(std::string& out, LevelKind which, const RecipeRecord& record);
void appendMaterialSummary(std::string& out, MaterialForm form, const RecipeRecord& record);
// "(1)A×2　(2) -　(3)B"
std::string hqSummary(const RecipeRecord& record = currentRecord());
// High-quality result n (1, 2 or 3) alone.
std::string hqPart(int n, const RecipeRecord& record = currentRecord());

} // namespace vornik
