#pragma once
// Does a record match the search criteria? Plain C++, used by every scan.

#include "app/core/search_criteria.h"
#include "storage/record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vornik {

// Ids of the records whose memo the name query finds: the memo contains the
// query or, with 完全一致のみ, equals it. Empty unless the criteria include
// memos and the name query is not empty (an empty query finds no memo).
using MemoHits = std::unordered_set<std::int32_t>;
MemoHits findMemoHits(
    const SearchCriteria& criteria, const std::unordered_map<std::int32_t, std::string>& memos);

// `memoHits`: the records whose memo matched, when the criteria include memos.
bool MatchRecord(const SearchCriteria& criteria, const RecipeRecord& record = currentRecord(),
    const MemoHits* memoHits = nullptr);

// True when MatchRecord is true for every record whatever its fields
// (no criterion is set, as for すべてのデータを表示): a scan then need not
// decode a single field.
bool matchesEveryRecord(const SearchCriteria& criteria);

// A quick test on a raw data-file line, before it is decoded: false only when
// no record decoded from that line can match the criteria. Texts that every
// match must contain are looked for as plain bytes; a text that decoding
// could produce ("%20" becomes a blank, "&gt" becomes "＞") is not used, so
// the test never turns a match away.
class LineFilter {
public:
    // A line lacking the name query still passes when its record's id is
    // among `memoHits` (kept by pointer: it must outlive the filter).
    explicit LineFilter(const SearchCriteria& criteria, const MemoHits* memoHits = nullptr);
    // True when every line passes (nothing to look for).
    bool passesAll() const { return m_required.empty(); }
    bool mayMatch(std::string_view line) const;
    // Bytes that every line passing mayMatch holds, empty when there are
    // none (a memo can let a line pass without the name): a scan may pass
    // over lines lacking them without calling mayMatch.
    std::string_view bytesEveryMatchHolds() const;

private:
    std::vector<std::string> m_required;
    bool m_firstIsName = false;
    const MemoHits* m_memoHits = nullptr;
};

// Item level from a description: the number after the first "Lv", read up to
// the next "～"; none without both.
std::optional<int> itemLevel(std::string_view description);

} // namespace vornik
