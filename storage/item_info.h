#pragma once
// The read-only item attribute dictionary vornik.dat in the program folder:
// "name,rare,ex,description" per line.

#include <string>

namespace vornik {

// The first line containing name + "," anywhere, unchanged; empty when name
// is empty, nothing matches or the file cannot be read.
std::string lookupItemInfo(const std::string& name);

} // namespace vornik
