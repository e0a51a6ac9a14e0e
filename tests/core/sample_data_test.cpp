// The bundled sample files must keep the shape the program reads and writes,
// and cover every criterion a search can test.

#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/record.h"
#include "tests/support/file_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace vornik;

namespace {

const std::filesystem::path kSamples = VORNIK_SAMPLES_DIR;

// Lines of a CR LF file; a bare CR or LF, or a missing final line end, fails
// the test.
std::vector<std::string> crlfLines(const std::string& bytes)
{
    EXPECT_TRUE(bytes.empty() || bytes.ends_with("\r\n")) << "last line has no CR LF";
    const std::vector<std::string> lines = test::crlfLines(bytes);
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare CR or LF in: " << sjisToUtf8(line);
    return lines;
}

bool isNumber(const std::string& text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isDigitsOrEmpty(const std::string& text)
{
    return text.empty() || isNumber(text);
}

std::size_t countOf(const std::string& text, const std::string& needle)
{
    std::size_t n = 0;
    for (std::size_t pos = sjis::find(text, needle); pos != std::string::npos;
         pos = sjis::find(text, needle, pos + needle.size()))
        ++n;
    return n;
}

std::vector<RecipeRecord> loadSampleRecords()
{
    std::vector<RecipeRecord> records;
    for (const std::string& line : crlfLines(test::readFileBytes(kSamples / "vornik.txt"))) {
        const std::vector<std::string> fields = test::fieldsOf(line);
        EXPECT_EQ(fields.size(), static_cast<std::size_t>(kFieldCount)) << sjisToUtf8(line);
        RecipeRecord record;
        for (std::size_t i = 0; i < fields.size() && i < record.fields().size(); ++i)
            record.fields()[i] = fields[i];
        records.push_back(record);
    }
    return records;
}

std::string nameWithoutYield(const std::string& name)
{
    return name.substr(0, name.find(' '));
}

} // namespace

TEST(SampleDataFile, HasFiftyFieldsPerLineAndValidShiftJis)
{
    const std::string bytes = test::readFileBytes(kSamples / "vornik.txt");
    ASSERT_FALSE(bytes.empty()) << "missing " << (kSamples / "vornik.txt").string();
    EXPECT_EQ(sjisToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "not valid code page 932";
    const std::vector<std::string> lines = crlfLines(bytes);
    EXPECT_GE(lines.size(), 150u);
    for (const std::string& line : lines)
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 49) << sjisToUtf8(line);
}

TEST(SampleDataFile, IdsAreUniqueNumbersAndFieldsAreInStoredForm)
{
    std::set<std::string> ids;
    for (const RecipeRecord& r : loadSampleRecords()) {
        const std::string shown = sjisToUtf8(r.id() + " " + r.name());
        EXPECT_TRUE(isNumber(r.id())) << shown;
        EXPECT_TRUE(ids.insert(r.id()).second) << "duplicate id " << shown;
        EXPECT_FALSE(r.name().empty()) << shown;
        for (const std::string& field : r.fields()) {
            // Reading trims fields and turns "&gt" back: the stored form must
            // already be what a save would write.
            EXPECT_EQ(sjis::trimmed(field), field) << shown;
            EXPECT_FALSE(sjis::contains(field, "＞"_sj)) << shown;
        }
        for (const std::string& counted : { r.name(), r.hq(), r.desynth() })
            EXPECT_FALSE(sjis::contains(counted, "×"_sj)) << shown;
        EXPECT_TRUE(isNumber(r.crystal()) && isNumber(r.skill()) && isNumber(r.rank())) << shown;
        for (const std::string& flag : { r.ex(), r.rare(), r.stackable() })
            EXPECT_TRUE(flag == "0" || flag == "1") << shown;
    }
}

TEST(SampleDataFile, MaterialsFillSlotsInOrderAndRepeatConsecutively)
{
    std::set<int> unitCounts;
    for (const RecipeRecord& r : loadSampleRecords()) {
        const std::string shown = sjisToUtf8(r.name());
        std::set<std::string> finished;
        int used = 0;
        for (int k = 1; k <= kMaterialSlots; ++k) {
            const std::string& m = r.material(k);
            if (m.empty())
                continue;
            EXPECT_EQ(used, k - 1) << "empty slot before slot " << k << " in " << shown;
            used = k;
            if (k > 1 && m != r.material(k - 1))
                finished.insert(r.material(k - 1));
            EXPECT_EQ(finished.count(m), 0u) << "material repeated apart in " << shown;
        }
        unitCounts.insert(used);
    }
    EXPECT_TRUE(unitCounts.count(8)) << "no recipe uses all eight slots";
    EXPECT_TRUE(unitCounts.count(1));
}

TEST(SampleDataFile, SkillFlagsMatchTheLevels)
{
    int subSkillRecords = 0;
    int recordsWithoutSkill = 0;
    for (const RecipeRecord& r : loadSampleRecords()) {
        const std::string shown = sjisToUtf8(r.name());
        int skillsUsed = 0;
        for (int k = 1; k <= kLevelSkills; ++k) {
            EXPECT_TRUE(isDigitsOrEmpty(r.needLevel(k)) && isDigitsOrEmpty(r.capLevel(k))) << shown;
            const bool hasLevel = !r.needLevel(k).empty() || !r.capLevel(k).empty();
            EXPECT_EQ(r.skillUsed(k) == "1", hasLevel) << shown << " skill " << k;
            EXPECT_TRUE(r.skillUsed(k).empty() || r.skillUsed(k) == "1") << shown;
            skillsUsed += hasLevel ? 1 : 0;
        }
        if (r.skill() == "0")
            ++recordsWithoutSkill;
        if (skillsUsed > 1)
            ++subSkillRecords;
    }
    EXPECT_GE(subSkillRecords, 10);
    EXPECT_GE(recordsWithoutSkill, 2);
}

TEST(SampleDataFile, CoversEverySkillRankAndCrystal)
{
    std::set<int> skills, ranks, crystals;
    for (const RecipeRecord& r : loadSampleRecords()) {
        skills.insert(std::stoi(r.skill()));
        ranks.insert(std::stoi(r.rank()));
        crystals.insert(std::stoi(r.crystal()));
    }
    for (int skill = 1; skill <= 10; ++skill)
        EXPECT_TRUE(skills.count(skill)) << "skill " << skill;
    for (int rank : { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 98, 99 })
        EXPECT_TRUE(ranks.count(rank)) << "rank " << rank;
    for (int crystal = 1; crystal <= 8; ++crystal)
        EXPECT_TRUE(crystals.count(crystal)) << "crystal " << crystal;
}

TEST(SampleDataFile, DescriptionsCarryEveryClassJobAndLevels)
{
    const std::vector<RecipeRecord> records = loadSampleRecords();
    auto described = [&](const std::string& needle) {
        return std::any_of(records.begin(), records.end(),
            [&](const RecipeRecord& r) { return sjis::contains(r.description(), needle); });
    };
    const std::vector<std::string> classes = { "（格闘）"_sj, "（短剣"_sj, "（片手剣）"_sj, "（両手剣）"_sj,
        "（片手斧）"_sj, "（両手斧）"_sj, "（両手鎌）"_sj, "（両手槍）"_sj, "（片手刀）"_sj, "（両手刀）"_sj,
        "（片手棍）"_sj, "（両手棍）"_sj, "（弦楽器）"_sj, "（管楽器）"_sj, "（弓術）"_sj, "（射撃）"_sj,
        "（投てき）"_sj, "（釣り具）"_sj, "（触媒）"_sj, "【盾】"_sj, "【頭】"_sj, "【首】"_sj, "【胴】"_sj,
        "【両手】"_sj, "【腰】"_sj, "【両脚】"_sj, "【両足】"_sj, "【背】"_sj, "【耳】"_sj, "【指】"_sj };
    for (const std::string& c : classes)
        EXPECT_TRUE(described(c)) << sjisToUtf8(c);
    const std::vector<std::string> jobs = { "戦"_sj, "モ"_sj, "赤"_sj, "黒"_sj, "白"_sj, "シ"_sj, "ナ"_sj,
        "暗"_sj, "狩"_sj, "吟"_sj, "獣"_sj, "侍"_sj, "竜"_sj, "忍"_sj, "召"_sj, "All Job" };
    for (const std::string& j : jobs)
        EXPECT_TRUE(described(j)) << sjisToUtf8(j);
    EXPECT_TRUE(described("&gt"));
    EXPECT_TRUE(described("<br>"));
    EXPECT_TRUE(described("Lv30"_sj + "～"_sj));
    EXPECT_TRUE(described("Lv31"_sj + "～"_sj));
    // "Lv" with no "～" after it: an item without a level.
    EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const RecipeRecord& r) {
        const std::size_t lv = sjis::find(r.description(), "Lv");
        return lv != std::string::npos && sjis::find(r.description(), "～"_sj, lv) == std::string::npos;
    }));
}

TEST(SampleDataFile, YieldsHqAndDesynthesisHaveTheirStoredShape)
{
    int yields = 0, fullHq = 0, partialHq = 0, noHq = 0, desynths = 0, halfWidthKana = 0;
    for (const RecipeRecord& r : loadSampleRecords()) {
        const std::string shown = sjisToUtf8(r.name());
        const std::size_t blank = r.name().find(' ');
        if (blank != std::string::npos) {
            EXPECT_TRUE(isNumber(r.name().substr(blank + 1))) << shown;
            ++yields;
        }
        if (r.hq().size() > 1) {
            EXPECT_EQ(countOf(r.hq(), "<>"), 2u) << shown;
            const std::vector<std::string> parts
                = { r.hq().substr(0, r.hq().find("<>")), r.hq().substr(r.hq().rfind("<>") + 2) };
            if (r.hq() == "<><>")
                ++noHq;
            else if (parts[0].empty() || parts[1].empty())
                ++partialHq;
            else
                ++fullHq;
        }
        if (!r.desynth().empty())
            ++desynths;
        if (std::any_of(r.name().begin(), r.name().end(), [](char c) {
                return static_cast<unsigned char>(c) >= 0xA1 && static_cast<unsigned char>(c) <= 0xDF;
            }))
            ++halfWidthKana;
    }
    EXPECT_GE(yields, 10);
    EXPECT_GE(fullHq, 10);
    EXPECT_GE(partialHq, 10);
    EXPECT_GE(noHq, 3);
    EXPECT_GE(desynths, 20);
    EXPECT_GE(halfWidthKana, 1);
}

TEST(SampleDictionary, HasFourFieldsPerLineAndAnEntryForEveryRecipe)
{
    const std::string bytes = test::readFileBytes(kSamples / "vornik.dat");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(sjisToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "not valid code page 932";
    std::map<std::string, std::vector<std::string>> entries;
    for (const std::string& line : crlfLines(bytes)) {
        const std::vector<std::string> fields = test::fieldsOf(line);
        ASSERT_EQ(fields.size(), 4u) << sjisToUtf8(line);
        EXPECT_FALSE(fields[0].empty());
        EXPECT_TRUE(entries.emplace(fields[0], fields).second) << "duplicate " << sjisToUtf8(fields[0]);
        EXPECT_TRUE(fields[1] == "0" || fields[1] == "1") << sjisToUtf8(line);
        EXPECT_TRUE(fields[2] == "0" || fields[2] == "1") << sjisToUtf8(line);
        EXPECT_FALSE(sjis::contains(fields[3], "<br>")) << "line breaks are written as /";
    }
    // The edit dialog presets Rare and Ex from the dictionary: they must agree.
    for (const RecipeRecord& r : loadSampleRecords()) {
        const auto entry = entries.find(nameWithoutYield(r.name()));
        if (entry == entries.end()) {
            ADD_FAILURE() << "no entry for " << sjisToUtf8(r.name());
            continue;
        }
        EXPECT_EQ(entry->second[1], r.rare()) << sjisToUtf8(r.name());
        EXPECT_EQ(entry->second[2], r.ex()) << sjisToUtf8(r.name());
    }
}
