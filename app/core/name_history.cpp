#include "app/core/name_history.h"

namespace vornik {

void addToNameHistory(std::vector<std::string>& entries, const std::string& name)
{
    if (name.empty())
        return;
    if (entries.empty())
        entries.emplace_back();
    entries.insert(entries.begin() + 1, name);
    if (entries.size() > kNameHistoryEntries)
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(kNameHistoryEntries));
}

} // namespace vornik
