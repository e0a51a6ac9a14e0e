#include "app/core/search_criteria.h"

#include "platform/sjis_text.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"

namespace vornik {

bool hasAnyCriterion(const SearchInputs& in)
{
    return !(in.name.empty() && in.skill.empty() && in.rank.empty() && in.crystal.empty()
        && in.itemClass.empty() && in.job.empty() && in.levelFrom.empty() && in.levelTo.empty());
}

namespace {

int levelBound(const std::string& text)
{
    return text.empty() ? -1 : textToInt(text);
}

std::string jobAbbreviation(const std::string& job)
{
    if (job.size() <= 3)
        return job;
    // The first two bytes are the first double-byte character; a half-width
    // first character keeps its own byte only, never half of the next one.
    return std::string(sjis::cutAtChar(job, 2));
}

} // namespace

SearchCriteria readCriteria(const SearchInputs& in)
{
    SearchCriteria c;
    c.nameQuery = in.name;
    c.skillQuery = in.skill;
    c.rankIndex = rankIndex(in.rank);
    c.classQuery = in.itemClass;
    c.crystalIndex = crystalIndex(in.crystal);
    c.jobQuery = jobAbbreviation(in.job);
    c.levelFrom = levelBound(in.levelFrom);
    c.levelTo = levelBound(in.levelTo);
    c.includeMaterials = in.includeMaterials;
    c.exactOnly = in.exactOnly;
    c.includeMemo = in.includeMemo;
    return c;
}

} // namespace vornik
