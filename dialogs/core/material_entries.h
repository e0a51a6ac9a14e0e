#pragma once
// The edit dialog's material list against the record's eight material slots.
// An entry is a name alone (one unit) or a name, "×" and a unit count.

#include "storage/record.h"

#include <string>
#include <string_view>
#include <vector>

namespace vornik {

struct MaterialEntry {
    std::string name;
    int count = 1;
};

// Split at the first "×": the count is the number that follows it (0 when
// none does); without "×" the whole text is the name and the count 1.
MaterialEntry parseMaterialEntry(std::string_view text);

// The name, followed by "×" and the count when the count is 2 or more.
std::string materialEntryText(std::string_view name, int count);

// Units the entries fill together; entries with a count below 1 fill none.
// Saturates instead of overflowing.
long long materialUnits(const std::vector<std::string>& entries);

// The entries' names into material1 onwards, each into as many consecutive
// slots as its count, in list order. Never writes past material8: the
// caller refuses lists of more than kMaterialSlots units first.
void fillMaterialSlots(const std::vector<std::string>& entries, RecipeRecord& record);

} // namespace vornik
