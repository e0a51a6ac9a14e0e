#pragma once
// The one command-line option: "/i=" followed by an item name to search for.

#include <optional>
#include <string>
#include <vector>

namespace vornik {

// The arguments after the program's own name (Shift-JIS) are joined with
// single blanks; everything after the first "/i=" is the name, blanks
// included. No "/i=" at all: no search.
std::optional<std::string> searchNameFromArguments(const std::vector<std::string>& arguments);

} // namespace vornik
