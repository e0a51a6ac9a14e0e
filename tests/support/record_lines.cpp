#include "tests/support/record_lines.h"

#include "storage/data_file.h"

namespace vornik::test {

std::string recordFields(const std::vector<Field>& fields)
{
    RecipeRecord record;
    for (const auto& [pos, value] : fields)
        record[pos] = value;
    std::string line = record[0];
    for (int pos = 1; pos < kFieldCount; ++pos)
        line += "," + record[pos];
    return line;
}

std::string recordLine(const std::vector<Field>& fields)
{
    return recordFields(fields) + "\r\n";
}

std::string namedRecord(const std::string& id, const std::string& name)
{
    return recordFields({ { field::Id, id }, { field::Name, name } });
}

void setCurrent(const std::string& id, const std::string& name)
{
    RecipeRecord& record = currentRecord();
    record = RecipeRecord();
    record.id() = id;
    record.name() = name;
}

std::vector<RecipeRecord> readAllRecords()
{
    StorageError error;
    std::vector<RecipeRecord> records;
    if (!openDataFile(error))
        return records;
    while (readNextRecord(error))
        records.push_back(currentRecord());
    closeDataFile();
    return records;
}

} // namespace vornik::test
