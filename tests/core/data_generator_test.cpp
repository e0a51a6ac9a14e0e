// The synthetic data files must have the shape of real data files, so that
// load tests and benchmarks measure what users will see.

#include "bench/data_generator.h"
#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace vornik;

namespace {

std::vector<std::string> splitOn(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + separator.size();
    }
}

// Lines of a file that must end in CR LF; the empty piece after the last
// line end is dropped.
std::vector<std::string> fileLines(const std::string& bytes)
{
    EXPECT_TRUE(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
    std::vector<std::string> lines = splitOn(bytes, "\r\n");
    lines.pop_back();
    return lines;
}

std::string generated(
    test::TempProgramDir& dir, const std::string& name, std::uint32_t count, std::uint32_t seed)
{
    EXPECT_TRUE(writeDataFile(dir.path() / name, count, seed));
    return test::readFileBytes(dir.path() / name);
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
    const std::vector<std::string> lines = fileLines(bytes);
    ASSERT_EQ(lines.size(), 3000u);

    std::set<int> skills, ranks, crystals;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos);
        const std::vector<std::string> f = splitOn(line, ",");
        ASSERT_EQ(f.size(), 50u) << sjisToUtf8(line);
        EXPECT_EQ(f[0], std::to_string(i + 1));
        EXPECT_FALSE(f[1].empty());
        EXPECT_FALSE(sjis::contains(f[1], "×"_sj));
        const std::size_t blank = f[1].find(' ');
        if (blank != std::string::npos) {
            EXPECT_GT(asInt(f[1].substr(blank + 1)), 0) << sjisToUtf8(line);
        }
        // Used material slots come first.
        const auto firstEmpty = std::find(f.begin() + 2, f.begin() + 10, std::string());
        EXPECT_TRUE(std::all_of(firstEmpty, f.begin() + 10, [](const std::string& m) { return m.empty(); }));
        for (int k = 1; k <= 10; ++k) {
            const bool hasLevel = !f[20 + k].empty() || !f[30 + k].empty();
            EXPECT_EQ(f[10 + k] == "1", hasLevel) << sjisToUtf8(line);
        }
        EXPECT_EQ(splitOn(f[41], "<>").size(), 3u) << sjisToUtf8(line);
        skills.insert(asInt(f[42]));
        ranks.insert(asInt(f[43]));
        crystals.insert(asInt(f[10]));
        for (int flag : { 45, 46, 47 })
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
    const std::vector<std::string> lines = fileLines(generated(dir, "d.txt", 3000, 11));
    auto linesWith = [&](const std::string& needle) {
        return std::count_if(lines.begin(), lines.end(),
            [&](const std::string& line) { return sjis::contains(splitOn(line, ",")[44], needle); });
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
        const std::string name = splitOn(line, ",")[1];
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
