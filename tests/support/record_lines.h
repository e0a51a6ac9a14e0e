#pragma once
// Building data-file lines in tests.

#include <initializer_list>
#include <string>
#include <utility>

namespace vornik::test {

// A data-file line with CR LF: the given fields by position, every other one
// empty, 50 fields in all.
std::string recordLine(std::initializer_list<std::pair<int, std::string>> fields);

} // namespace vornik::test
