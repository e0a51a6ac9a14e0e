#pragma once
// Building data-file lines and records in tests. Fields are named by their
// field:: positions (storage/record.h).

#include "storage/record.h"

#include <string>
#include <utility>
#include <vector>

namespace vornik::test {

// One field of a record: its position and its text.
using Field = std::pair<int, std::string>;

// The 50 fields of a data-file line joined by commas, without a line end:
// the given fields at their positions (a later one for the same position
// wins), every other one empty.
std::string recordFields(const std::vector<Field>& fields);

// The same as a line of the data file, ending in CR LF.
std::string recordLine(const std::vector<Field>& fields);

// A record with nothing but an id and a name, without a line end.
std::string namedRecord(const std::string& id, const std::string& name);

// The current record becomes one with nothing but this id and name, ready to
// be saved.
void setCurrent(const std::string& id, const std::string& name);

// Every record of the data file, in file order; none when it cannot be opened.
std::vector<RecipeRecord> readAllRecords();

} // namespace vornik::test
