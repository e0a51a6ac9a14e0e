#pragma once
// Does a record match the search criteria? Plain C++, used by every scan.

#include "app/core/search_criteria.h"
#include "storage/record.h"

#include <optional>
#include <string_view>

namespace vornik {

bool MatchRecord(const SearchCriteria& criteria, const RecipeRecord& record = currentRecord());

// Item level from a description: the number after the first "Lv", read up to
// the next "～"; none without both.
std::optional<int> itemLevel(std::string_view description);

} // namespace vornik
