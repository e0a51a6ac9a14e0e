#pragma once
// The name box's drop-down list: an empty entry, then at most 19 names,
// newest first, duplicates allowed.

#include <string>
#include <vector>

namespace vornik {

inline constexpr std::size_t kNameHistoryEntries = 20; // including the empty entry

// Inserts a non-empty name at position 1 and drops the entry at position 20
// when the list grows past 20 entries. `entries` starts with the empty entry.
void addToNameHistory(std::vector<std::string>& entries, const std::string& name);

} // namespace vornik
