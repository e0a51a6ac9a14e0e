#include "app/core/saved_searches.h"
#include "platform/sjis_literal.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

using namespace vornik;
using namespace vornik::test;

namespace {

SearchInputs awkwardInputs()
{
    SearchInputs in;
    in.name = " 鋼,%2C=\"ゾ\" "_sj; // blanks at both ends, a comma, an escape look-alike
    in.skill = "鍛冶"_sj;
    in.rank = "見習い"_sj;
    in.crystal = "炎"_sj;
    in.itemClass = "【指】"_sj;
    in.job = "戦士"_sj;
    in.levelFrom = "10";
    in.levelTo = "%";
    in.includeMaterials = true;
    in.includeMemo = true;
    return in;
}

void expectSameInputs(const SearchInputs& a, const SearchInputs& b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.skill, b.skill);
    EXPECT_EQ(a.rank, b.rank);
    EXPECT_EQ(a.crystal, b.crystal);
    EXPECT_EQ(a.itemClass, b.itemClass);
    EXPECT_EQ(a.job, b.job);
    EXPECT_EQ(a.levelFrom, b.levelFrom);
    EXPECT_EQ(a.levelTo, b.levelTo);
    EXPECT_EQ(a.includeMaterials, b.includeMaterials);
    EXPECT_EQ(a.exactOnly, b.exactOnly);
    EXPECT_EQ(a.includeMemo, b.includeMemo);
}

TEST(SavedSearchTest, NamesTheSettingsFileCannotHoldAreRefused)
{
    const std::vector<std::pair<std::string, bool>> names {
        { "鍛冶 上げ"_sj, true },
        { "ゾンビ"_sj, true }, // its second byte is "]"
        { "a=b", false },
        { "a]b", false },
        { "", false },
        { " a", false },
        { "a\t", false },
        { "[a", false },
        { ";a", false },
        { "a\r\nb", false },
    };
    ProfileFile settings;
    for (const auto& [name, valid] : names) {
        EXPECT_EQ(isSavedSearchName(name), valid) << name;
        EXPECT_EQ(storeSavedSearch(settings, name, SearchInputs {}) == SavedSearchResult::Done, valid)
            << name;
    }
    EXPECT_EQ(savedSearches(settings).size(), 2U);
}

TEST(SavedSearchTest, EveryCriterionComesBackFromTheFile)
{
    TempProgramDir dir;
    const std::string before = "; 手で書いた行\r\n[window]\r\nfile=vornik.txt\r\n"_sj;
    writeFileBytes(dir.path() / "vornik.ini", before);
    SearchInputs exact;
    exact.name = "銀"_sj;
    exact.exactOnly = true;
    ASSERT_EQ(saveSearchAs("指輪"_sj, awkwardInputs()), SavedSearchResult::Done);
    ASSERT_EQ(saveSearchAs("銀"_sj, exact), SavedSearchResult::Done);

    const std::string bytes = readFileBytes(dir.path() / "vornik.ini");
    EXPECT_EQ(bytes.substr(0, before.size()), before) << "other lines are kept";
    EXPECT_NE(bytes.find("[search]\r\n"), std::string::npos);

    const std::vector<SavedSearch> all = loadSavedSearches();
    ASSERT_EQ(all.size(), 2U);
    EXPECT_EQ(all[0].name, "指輪"_sj);
    expectSameInputs(all[0].inputs, awkwardInputs());
    expectSameInputs(all[1].inputs, exact);
}

TEST(SavedSearchTest, RenameAndDelete)
{
    TempProgramDir dir;
    ASSERT_EQ(saveSearchAs("one", awkwardInputs()), SavedSearchResult::Done);
    ASSERT_EQ(saveSearchAs("two", SearchInputs {}), SavedSearchResult::Done);

    EXPECT_EQ(renameSavedSearch("one", "TWO"), SavedSearchResult::NameTaken);
    EXPECT_EQ(renameSavedSearch("none", "three"), SavedSearchResult::NotFound);
    EXPECT_EQ(renameSavedSearch("one", "a=b"), SavedSearchResult::BadName);
    EXPECT_EQ(renameSavedSearch("one", "ONE"), SavedSearchResult::Done) << "a change of case only";
    EXPECT_EQ(renameSavedSearch("one", "鋼"_sj), SavedSearchResult::Done);
    ASSERT_TRUE(loadSavedSearch("鋼"_sj).has_value());
    expectSameInputs(*loadSavedSearch("鋼"_sj), awkwardInputs());
    EXPECT_FALSE(loadSavedSearch("ONE").has_value());

    EXPECT_EQ(deleteSavedSearch("TWO"), SavedSearchResult::Done);
    EXPECT_EQ(deleteSavedSearch("two"), SavedSearchResult::NotFound);
    const std::vector<SavedSearch> left = loadSavedSearches();
    ASSERT_EQ(left.size(), 1U);
    EXPECT_EQ(left[0].name, "鋼"_sj);
}

TEST(SavedSearchTest, HandEditedValuesThatDoNotDecodeAreSkipped)
{
    for (const std::string_view value : { "", "1,0,1", "2,0,0,,,,,,,,", "0,0,0,,,,,,,,,x" })
        EXPECT_FALSE(decodeSearchInputs(value).has_value()) << value;
    EXPECT_TRUE(decodeSearchInputs("0,0,0,,,,,,,,").has_value());
}

} // namespace
