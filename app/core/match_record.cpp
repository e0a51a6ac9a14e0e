#include "app/core/match_record.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"

namespace vornik {
namespace {

bool matchesJob(const std::string& job, const std::string& description)
{
    if (sjis::contains(description, "All Job"))
        return true;
    const bool carriesItemInfo = sjis::contains(description, "（"_sj) || sjis::contains(description, "【"_sj)
        || sjis::contains(description, "Lv");
    return carriesItemInfo && sjis::contains(description, job);
}

bool matchesLevel(const SearchCriteria& c, const std::string& description)
{
    if (c.levelFrom == -1 && c.levelTo == -1)
        return true;
    const std::optional<int> level = itemLevel(description);
    if (c.levelTo != -1 && (!level || *level > c.levelTo))
        return false;
    if (c.levelFrom != -1 && (!level || *level < c.levelFrom))
        return false;
    return true;
}

// The name without its yield count equals the query (names store the count
// after a blank).
bool nameEqualsExactly(const std::string& name, const std::string& query)
{
    const std::size_t blank = name.find(' ');
    if (blank == std::string::npos)
        return name == query;
    return std::string_view(name).substr(0, blank) == query;
}

template <typename Test> bool anyOtherField(const RecipeRecord& r, Test test)
{
    for (int k = 1; k <= kMaterialSlots; ++k) {
        if (test(r.material(k)))
            return true;
    }
    return test(r.hq()) || test(r.desynth()) || test(r.description());
}

bool matchesName(const SearchCriteria& c, const RecipeRecord& r)
{
    const std::string& query = c.nameQuery;
    if (!c.includeMaterials) {
        return c.exactOnly ? nameEqualsExactly(r.name(), query) : sjis::contains(r.name(), query);
    }
    if (c.exactOnly) {
        return nameEqualsExactly(r.name(), query)
            || anyOtherField(r, [&](const std::string& f) { return f == query; });
    }
    return sjis::contains(r.name(), query)
        || anyOtherField(r, [&](const std::string& f) { return sjis::contains(f, query); });
}

// Decoding puts a blank (0x20) or "＞" (0x81 0x84) where "%20" or "&gt" was;
// a query holding none of these bytes can only match bytes that stood on the
// line as they are.
bool decodingCannotForm(std::string_view query)
{
    return query.find_first_of(std::string_view("\x20\x81\x84", 3)) == std::string_view::npos;
}

} // namespace

MemoHits findMemoHits(const SearchCriteria& c, const std::unordered_map<std::int32_t, std::string>& memos)
{
    MemoHits hits;
    if (!c.includeMemo || c.nameQuery.empty())
        return hits;
    for (const auto& [id, memo] : memos) {
        if (c.exactOnly ? memo == c.nameQuery : sjis::contains(memo, c.nameQuery))
            hits.insert(id);
    }
    return hits;
}

LineFilter::LineFilter(const SearchCriteria& c, const MemoHits* memoHits)
{
    // The name test runs for every record; the class test whenever a class
    // is given. Both look for the query inside decoded fields.
    if (!c.nameQuery.empty() && decodingCannotForm(c.nameQuery)) {
        m_required.push_back(c.nameQuery);
        m_firstIsName = true;
        if (c.includeMemo && memoHits != nullptr && !memoHits->empty())
            m_memoHits = memoHits;
    }
    if (!c.classQuery.empty() && decodingCannotForm(c.classQuery))
        m_required.push_back(c.classQuery);
}

bool LineFilter::mayMatch(std::string_view line) const
{
    for (std::size_t i = 0; i < m_required.size(); ++i) {
        if (line.find(m_required[i]) != std::string_view::npos)
            continue;
        // The id is the line's first field.
        const bool memoMatched = i == 0 && m_firstIsName && m_memoHits != nullptr
            && m_memoHits->count(textToInt(line.substr(0, line.find(',')))) != 0;
        if (!memoMatched)
            return false;
    }
    return true;
}

std::string_view LineFilter::bytesEveryMatchHolds() const
{
    for (std::size_t i = 0; i < m_required.size(); ++i) {
        const bool memoMayPass = i == 0 && m_firstIsName && m_memoHits != nullptr;
        if (!memoMayPass)
            return m_required[i];
    }
    return {};
}

std::optional<int> itemLevel(std::string_view description)
{
    const std::size_t lv = sjis::find(description, "Lv");
    if (lv == std::string_view::npos)
        return std::nullopt;
    const std::size_t from = lv + 2;
    const std::size_t tilde = sjis::find(description, "～"_sj, from);
    if (tilde == std::string_view::npos)
        return std::nullopt;
    return textToInt(description.substr(from, tilde - from));
}

bool matchesEveryRecord(const SearchCriteria& c)
{
    // An empty name is contained in every name (and memos are looked at
    // only for a name); "完全一致のみ" with it matches only empty names.
    return c.nameQuery.empty() && !c.exactOnly && c.skillQuery.empty() && c.rankIndex == 0
        && c.classQuery.empty() && c.crystalIndex == 0 && c.jobQuery.empty() && c.levelFrom == -1
        && c.levelTo == -1;
}

bool MatchRecord(const SearchCriteria& c, const RecipeRecord& r, const MemoHits* memoHits)
{
    const std::string& recordSkill = skillName(textToInt(r.skill()));
    if (!c.skillQuery.empty() && !sjis::contains(recordSkill, c.skillQuery))
        return false;
    if (c.rankIndex != 0 && textToInt(r.rank()) != c.rankIndex)
        return false;
    if (!c.classQuery.empty() && !sjis::contains(r.description(), c.classQuery))
        return false;
    if (c.crystalIndex != 0) {
        if (textToInt(r.crystal()) != c.crystalIndex)
            return false;
        // The first crystal is also listed for records without a skill;
        // those are not crafted with it.
        if (c.crystalIndex == 1 && recordSkill.size() < 3)
            return false;
    }
    if (!c.jobQuery.empty() && !matchesJob(c.jobQuery, r.description()))
        return false;
    if (!matchesLevel(c, r.description()))
        return false;
    if (matchesName(c, r))
        return true;
    return c.includeMemo && memoHits != nullptr && memoHits->count(textToInt(r.id())) != 0;
}

} // namespace vornik
