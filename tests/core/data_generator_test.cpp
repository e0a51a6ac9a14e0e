// The synthetic data files must have the shape of real data files, so that
// load tests and benchmarks measure what users will see.

#include "bench/data_generator.h"
#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/record.h"
#include "tests/support/file_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace vornik;
using namespace vornik::field;

namespace {

std::string generated(
    test::TempProgramDir& dir, const std::string& name, std::uint32_t count, std::uint32_t seed)
{
    EXPECT_TRUE(writeDataFile(dir.path() / name, count, seed));
    const std::string bytes = test::readFileBytes(dir.path() / name);
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    return bytes;
}

int asInt(const std::string& text)
{
    return text.empty() ? -1 : std::stoi(text);
}

} // namespace

TEST(DataGenerator, WritesRecordLinesOfTheDataFileShape)
{
    test::TempProgramDir dir;
    const std::string bytes = generated(dir, "big.txt", 3000, 7);
    EXPECT_EQ(sjisToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "not valid code page 932";
    const std::vector<std::string> lines = test::crlfLines(bytes);
    ASSERT_EQ(lines.size(), 3000u);

    std::set<int> skills, ranks, crystals;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos);
        const std::vector<std::string> f = test::fieldsOf(line);
        ASSERT_EQ(f.size(), 50u) << sjisToUtf8(line);
        EXPECT_EQ(f[Id], std::to_string(i + 1));
        EXPECT_FALSE(f[Name].empty());
        EXPECT_FALSE(sjis::contains(f[Name], "×"_sj));
        const std::size_t blank = f[Name].find(' ');
        if (blank != std::string::npos) {
            EXPECT_GT(asInt(f[Name].substr(blank + 1)), 0) << sjisToUtf8(line);
        }
        // Used material slots come first.
        const auto firstEmpty
            = std::find(f.begin() + Material1, f.begin() + Material1 + kMaterialSlots, std::string());
        EXPECT_TRUE(std::all_of(firstEmpty, f.begin() + Material1 + kMaterialSlots,
            [](const std::string& m) { return m.empty(); }));
        for (int k = 1; k <= 10; ++k) {
            const bool hasLevel = !f[NeedLevel1 + k - 1].empty() || !f[CapLevel1 + k - 1].empty();
            EXPECT_EQ(f[SkillUsed1 + k - 1] == "1", hasLevel) << sjisToUtf8(line);
        }
        EXPECT_EQ(test::split(f[Hq], "<>").size(), 3u) << sjisToUtf8(line);
        skills.insert(asInt(f[Skill]));
        ranks.insert(asInt(f[Rank]));
        crystals.insert(asInt(f[Crystal]));
        for (int flag : { Ex, Rare, Stackable })
            EXPECT_TRUE(f[flag] == "0" || f[flag] == "1");
    }
    for (int skill = 0; skill <= 10; ++skill)
        EXPECT_TRUE(skills.count(skill)) << "skill " << skill;
    for (int rank : { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 98, 99 })
        EXPECT_TRUE(ranks.count(rank)) << "rank " << rank;
    EXPECT_EQ(*crystals.begin(), 1);
    EXPECT_EQ(*crystals.rbegin(), 8);
    EXPECT_EQ(crystals.size(), 8u);
}

TEST(DataGenerator, DescriptionsCarryWhatTheSearchLooksFor)
{
    test::TempProgramDir dir;
    const std::vector<std::string> lines = test::crlfLines(generated(dir, "d.txt", 3000, 11));
    auto linesWith = [&](const std::string& needle) {
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return sjis::contains(test::fieldsOf(line)[Description], needle);
        });
    };
    EXPECT_GT(linesWith("Lv"), 1000);
    EXPECT_GT(linesWith("～"_sj), 1000);
    EXPECT_GT(linesWith("All Job"), 100);
    EXPECT_GT(linesWith("&gt"), 30);
    EXPECT_GT(linesWith("<br>"), 1500);
    for (const char* c : { "（短剣", "（片手剣）", "【指】", "【両脚】", "（触媒）" })
        EXPECT_GT(linesWith(utf8ToSjis(c)), 20) << c;
    for (const char* j : { "戦", "召", "侍" })
        EXPECT_GT(linesWith(utf8ToSjis(j)), 100) << j;
    // Half-width katakana somewhere in the names.
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        const std::string name = test::fieldsOf(line)[Name];
        return std::any_of(name.begin(), name.end(), [](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b >= 0xA1 && b <= 0xDF;
        });
    }));
}

TEST(DataGenerator, SameSeedSameBytesOtherSeedOtherBytes)
{
    test::TempProgramDir dir;
    const std::string first = generated(dir, "a.txt", 500, 42);
    EXPECT_EQ(generated(dir, "b.txt", 500, 42), first);
    EXPECT_NE(generated(dir, "c.txt", 500, 43), first);
    // The file is the line function's output in sequence on one engine.
    std::mt19937 rng(42);
    std::string expected;
    for (std::uint32_t id = 1; id <= 500; ++id)
        expected += generateRecordLine(id, rng) + "\r\n";
    EXPECT_EQ(first, expected);
    // A shorter run is a prefix of a longer one.
    const std::string shorter = generated(dir, "e.txt", 100, 42);
    EXPECT_EQ(first.substr(0, shorter.size()), shorter);
}

TEST(DataGenerator, LinesAverageRealisticLength)
{
    test::TempProgramDir dir;
    const std::string bytes = generated(dir, "len.txt", 5000, 3);
    const double average = static_cast<double>(bytes.size()) / 5000.0;
    EXPECT_GE(average, 150.0);
    EXPECT_LE(average, 260.0);
}

TEST(DataGenerator, EmptyCountAndUnwritablePath)
{
    test::TempProgramDir dir;
    EXPECT_TRUE(writeDataFile(dir.path() / "empty.txt", 0, 1));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "empty.txt"));
    EXPECT_EQ(test::readFileBytes(dir.path() / "empty.txt"), "");
    EXPECT_FALSE(writeDataFile(dir.path() / "no-such-folder" / "x.txt", 10, 1));
}
