#pragma once
// The window's command-line options: "/i=" followed by an item name to search
// for, and "--saved" followed by the name of a saved search.

#include <optional>
#include <string>
#include <vector>

namespace vornik {

// The arguments after the program's own name (Shift-JIS) are joined with
// single blanks; everything after the first "/i=" is the name, blanks
// included. No "/i=" at all: no search.
std::optional<std::string> searchNameFromArguments(const std::vector<std::string>& arguments);

// "--saved NAME" (or "--saved=NAME"): the window opens on the search saved
// under that name. nullopt without it or without a name after it.
std::optional<std::string> savedSearchFromArguments(const std::vector<std::string>& arguments);

} // namespace vornik
