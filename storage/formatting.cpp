#include "storage/formatting.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"

namespace vornik {
namespace {

constexpr std::string_view kHqSeparator = "<>";

const std::string& levelOf(LevelKind which, const RecipeRecord& record, int k)
{
    return which == LevelKind::Need ? record.needLevel(k) : record.capLevel(k);
}

void appendLevelEntry(std::string& out, std::string_view skillLabel, std::string_view level)
{
    out += skillLabel;
    out += ':';
    if (level.empty()) {
        out += "?  ";
        return;
    }
    if (level.size() < 3)
        out.append(3 - level.size(), ' ');
    out += level;
    out += ' ';
}

void appendCountSuffix(std::string& out, MaterialForm form, int n)
{
    if (form == MaterialForm::Compact) {
        out += intToText(n);
        return;
    }
    if (n != 1) {
        out += "×"_sj;
        out += intToText(n);
    }
    out += "　"_sj;
}

// The record's hq field as shown: a stored blank is the count separator.
std::string shownHq(const RecipeRecord& record)
{
    return sjis::replaceAll(record.hq(), " ", "×"_sj);
}

std::string orDash(std::string_view part)
{
    return part.empty() ? std::string(" -") : std::string(part);
}

std::string_view beforeSeparator(std::string_view text)
{
    return text.substr(0, sjis::find(text, kHqSeparator));
}

} // namespace

void appendSkillLevelSummary(std::string& out, LevelKind which, const RecipeRecord& record)
{
    // An empty skill field is "no skill" like "0": listing it would show a
    // phantom "-:?  " entry in front of the real levels.
    const int mainSkill = textToInt(record.skill());
    const bool hasMainSkill = mainSkill != 0;
    if (hasMainSkill) {
        // Only skills 1 to 10 have level fields; a damaged record may name
        // any other index, which then has no level to show.
        const bool hasLevels = mainSkill >= 1 && mainSkill <= kLevelSkills;
        appendLevelEntry(out, skillName(mainSkill), hasLevels ? levelOf(which, record, mainSkill) : "");
    }
    for (int k = 1; k <= kLevelSkills; ++k) {
        if (record.skillUsed(k) == "1" && !(hasMainSkill && k == mainSkill))
            appendLevelEntry(out, skillName(k), levelOf(which, record, k));
    }
}

std::string skillLevelSummary(LevelKind which, const RecipeRecord& record)
{
    std::string summary;
    appendSkillLevelSummary(summary, which, record);
    return summary;
}

std::string padLevel(std::string_view text)
{
    std::string padded;
    if (text.size() < 3)
        padded.assign(3 - text.size(), ' ');
    padded += text;
    return padded;
}

void appendMaterialSummary(std::string& out, MaterialForm form, const RecipeRecord& record)
{
    const int firstSlot = field::Material1;
    const int lastSlot = field::Material1 + kMaterialSlots - 1;
    out += record[firstSlot];
    const std::string* run = nullptr; // the open run, written when it closes
    int count = 1;
    for (int pos = firstSlot + 1; pos <= lastSlot; ++pos) {
        const std::string& slot = record[pos];
        if (slot.empty())
            continue;
        if (slot == record[pos - 1]) {
            ++count;
            continue;
        }
        if (run)
            out += *run;
        appendCountSuffix(out, form, count);
        run = &slot;
        count = 1;
    }
    // The crystal field follows the last slot and closes the last run, even
    // when a damaged record leaves it empty or equal to that slot.
    if (run)
        out += *run;
    appendCountSuffix(out, form, count);
}

std::string materialSummary(MaterialForm form, const RecipeRecord& record)
{
    std::string summary;
    appendMaterialSummary(summary, form, record);
    return summary;
}

std::string hqSummary(const RecipeRecord& record)
{
    const std::string t = shownHq(record);
    if (t.size() < 2 || t == "<><>" || t == "0<><>")
        return {};
    const std::string noMore = "　(2) -　(3) -　"_sj;
    const std::size_t first = sjis::find(t, kHqSeparator);
    if (first == std::string::npos)
        return "(1)" + t + noMore;
    const std::string p1 = orDash(std::string_view(t).substr(0, first));
    const std::string_view rest = std::string_view(t).substr(first + kHqSeparator.size());
    const std::size_t second = sjis::find(rest, kHqSeparator);
    if (second == std::string::npos)
        return "(1)" + p1 + noMore;
    const std::string p2 = orDash(rest.substr(0, second));
    const std::string p3 = orDash(rest.substr(second + kHqSeparator.size()));
    return "(1)" + p1 + "　(2)"_sj + p2 + "　(3)"_sj + p3;
}

std::string hqPart(int n, const RecipeRecord& record)
{
    const std::string t = shownHq(record);
    const std::string_view text = t;
    std::string part;
    if (n == 1) {
        part = beforeSeparator(text);
    } else if (n == 2) {
        const std::size_t first = sjis::find(text, kHqSeparator);
        if (first == std::string::npos)
            return " - ";
        part = beforeSeparator(text.substr(first + kHqSeparator.size()));
    } else if (n == 3) {
        // '>' (0x3E) is never a trail byte, so a byte search is exact here.
        const std::size_t last = text.rfind('>');
        part = last == std::string::npos ? text : text.substr(last + 1);
    }
    return part == "0" ? std::string(" - ") : part;
}

} // namespace vornik
