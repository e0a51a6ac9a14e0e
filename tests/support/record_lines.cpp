#include "tests/support/record_lines.h"

#include "storage/record.h"

namespace vornik::test {

std::string recordLine(std::initializer_list<std::pair<int, std::string>> fields)
{
    RecipeRecord record;
    for (const auto& [pos, value] : fields)
        record[pos] = value;
    std::string line = record[0];
    for (int pos = 1; pos < kFieldCount; ++pos)
        line += "," + record[pos];
    return line + "\r\n";
}

} // namespace vornik::test
