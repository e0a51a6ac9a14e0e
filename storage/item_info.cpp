#include "storage/item_info.h"

#include "platform/sjis_text.h"
#include "storage/line_reader.h"
#include "storage/paths.h"

namespace vornik {

std::string lookupItemInfo(const std::string& name)
{
    if (name.empty())
        return std::string();
    LineReader reader;
    if (!reader.open(programFilePath("vornik.dat")))
        return std::string();
    const std::string needle = name + ",";
    std::string_view line;
    while (reader.readLine(line)) {
        if (sjis::contains(line, needle))
            return std::string(line);
    }
    return std::string();
}

} // namespace vornik
