#pragma once
// Does a record match the search criteria? Plain C++, used by every scan.

#include "app/core/search_criteria.h"
#include "storage/record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

bool MatchRecord(const SearchCriteria& criteria, const RecipeRecord& record = currentRecord());

// A quick test on a raw data-file line, before it is decoded: false only when
// no record decoded from that line can match the criteria. Texts that every
// match must contain are looked for as plain bytes; a text that decoding
// could produce ("%20" becomes a blank, "&gt" becomes "＞") is not used, so
// the test never turns a match away.
class LineFilter {
public:
    explicit LineFilter(const SearchCriteria& criteria);
    // True when every line passes (nothing to look for).
    bool passesAll() const { return m_required.empty(); }
    bool mayMatch(std::string_view line) const;

private:
    std::vector<std::string> m_required;
};

// Item level from a description: the number after the first "Lv", read up to
// the next "～"; none without both.
std::optional<int> itemLevel(std::string_view description);

} // namespace vornik
