#include "app/core/match_record.h"
#include "app/core/result_sort.h"
#include "app/core/search_criteria.h"
#include "platform/sjis_literal.h"
#include "storage/vocabulary.h"
#include "tests/support/sample_export_table.h"

#include <gtest/gtest.h>

using namespace vornik;

namespace {

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        skillVocabulary().clear();
        skillVocabulary().set(1, "鍛冶"_sj);
        skillVocabulary().set(2, "裁縫"_sj);
        crystalVocabulary().clear();
        crystalVocabulary().set(1, "炎"_sj);
        crystalVocabulary().set(2, "水"_sj);
        rankVocabulary().clear();
        rankVocabulary().set(1, "素人"_sj);
        rankVocabulary().set(2, "見習い"_sj);
        rankVocabulary().set(98, "不明"_sj);
    }

    static RecipeRecord record(
        const std::string& name, const std::string& skill, const std::string& description)
    {
        RecipeRecord r;
        r.id() = "1";
        r.name() = name;
        r.skill() = skill;
        r.crystal() = "1";
        r.rank() = "1";
        r.description() = description;
        return r;
    }

    static SearchCriteria byName(const std::string& name, bool exact = false, bool materials = false)
    {
        SearchInputs in;
        in.name = name;
        in.exactOnly = exact;
        in.includeMaterials = materials;
        return readCriteria(in);
    }
};

} // namespace

TEST_F(SearchTest, CriteriaFromControls)
{
    SearchInputs in;
    EXPECT_FALSE(hasAnyCriterion(in));
    in.includeMaterials = in.exactOnly = true;
    EXPECT_FALSE(hasAnyCriterion(in));
    in.levelTo = "5";
    EXPECT_TRUE(hasAnyCriterion(in));

    in.job = "ナイト"_sj;
    in.rank = "見習い"_sj;
    in.crystal = "水"_sj;
    in.levelFrom = "abc";
    in.levelTo = "";
    const SearchCriteria c = readCriteria(in);
    EXPECT_EQ(c.jobQuery, "ナ"_sj);
    EXPECT_EQ(c.rankIndex, 2);
    EXPECT_EQ(c.crystalIndex, 2);
    EXPECT_EQ(c.levelFrom, 0) << "text without digits is level 0, not an absent bound";
    EXPECT_EQ(c.levelTo, -1);

    in.job = "侍"_sj; // 2 bytes: kept whole
    EXPECT_EQ(readCriteria(in).jobQuery, "侍"_sj);
    in.job = "AllJ";
    EXPECT_EQ(readCriteria(in).jobQuery, "Al") << "two single-byte characters";
}

TEST_F(SearchTest, NameContainsRespectsCharacterBoundaries)
{
    // "ア" is 0x83 0x41: its trail byte is 'A'.
    const RecipeRecord r = record("アイアンソード 3"_sj, "1", "");
    EXPECT_TRUE(MatchRecord(byName("ソード"_sj), r));
    EXPECT_FALSE(MatchRecord(byName("A"), r));
    EXPECT_TRUE(MatchRecord(byName(""), r)) << "an empty name matches every record";
}

TEST_F(SearchTest, ExactNameIgnoresTheYieldCountOnly)
{
    const RecipeRecord r = record("星の矢 12"_sj, "1", "");
    EXPECT_TRUE(MatchRecord(byName("星の矢"_sj, true), r));
    EXPECT_FALSE(MatchRecord(byName("星の矢 12"_sj, true), r));
    EXPECT_FALSE(MatchRecord(byName("星の矢×12"_sj, true), r));
    EXPECT_FALSE(MatchRecord(byName("星の"_sj, true), r));
    EXPECT_FALSE(MatchRecord(byName("", true), r)) << "exact with an empty name finds nothing";
    EXPECT_TRUE(MatchRecord(byName("月の盾"_sj, true), record("月の盾"_sj, "1", "")));
}

TEST_F(SearchTest, IncludeMaterialsSearchesOtherFields)
{
    RecipeRecord r = record("銀の指輪"_sj, "1", "【指】 Lv20～ 戦"_sj);
    r.material(1) = "銀塊"_sj;
    r.material(2) = "銀塊"_sj;
    r.hq() = "銀の指輪+1<><>"_sj;
    r.desynth() = "銀くず 2"_sj;
    EXPECT_FALSE(MatchRecord(byName("銀塊"_sj), r));
    EXPECT_TRUE(MatchRecord(byName("銀塊"_sj, false, true), r));
    EXPECT_TRUE(MatchRecord(byName("くず"_sj, false, true), r));
    EXPECT_TRUE(MatchRecord(byName("【指】"_sj, false, true), r));
    EXPECT_TRUE(MatchRecord(byName("銀塊"_sj, true, true), r));
    EXPECT_FALSE(MatchRecord(byName("銀"_sj, true, true), r)) << "exact compares whole fields";
    EXPECT_TRUE(MatchRecord(byName("銀の指輪"_sj, true, true), r));
}

TEST_F(SearchTest, SkillRankClassCrystalCriteria)
{
    RecipeRecord r = record("布"_sj, "2", "（片手剣） Lv5～"_sj);
    r.rank() = "2";
    r.crystal() = "2";
    SearchCriteria c = byName("");
    c.skillQuery = "裁"_sj;
    EXPECT_TRUE(MatchRecord(c, r));
    c.skillQuery = "鍛冶"_sj;
    EXPECT_FALSE(MatchRecord(c, r));
    c = byName("");
    c.rankIndex = 2;
    EXPECT_TRUE(MatchRecord(c, r));
    c.rankIndex = 1;
    EXPECT_FALSE(MatchRecord(c, r));
    c = byName("");
    c.classQuery = "（片手剣）"_sj;
    EXPECT_TRUE(MatchRecord(c, r));
    c.classQuery = "【指】"_sj;
    EXPECT_FALSE(MatchRecord(c, r));
    c = byName("");
    c.crystalIndex = 2;
    EXPECT_TRUE(MatchRecord(c, r));

    // The first crystal drops records without a skill.
    RecipeRecord noSkill = record("石"_sj, "0", "");
    c.crystalIndex = 1;
    EXPECT_FALSE(MatchRecord(c, noSkill));
    noSkill.skill() = "1";
    EXPECT_TRUE(MatchRecord(c, noSkill));
}

TEST_F(SearchTest, JobNeedsItemInfoInTheDescription)
{
    SearchCriteria c = byName("");
    c.jobQuery = "戦"_sj;
    EXPECT_TRUE(MatchRecord(c, record("a", "1", "All Job")));
    EXPECT_TRUE(MatchRecord(c, record("a", "1", "【胴】 戦赤"_sj)));
    EXPECT_TRUE(MatchRecord(c, record("a", "1", "Lv3～ 戦"_sj)));
    EXPECT_FALSE(MatchRecord(c, record("a", "1", "戦士の好物"_sj))) << "no （, 【 or Lv";
    EXPECT_FALSE(MatchRecord(c, record("a", "1", "【胴】 赤"_sj)));
}

TEST_F(SearchTest, LevelBoundsAreInclusiveAndNeedALevel)
{
    EXPECT_EQ(itemLevel("Lv30～"_sj), 30);
    EXPECT_EQ(itemLevel("x Lv 7 ～ Lv9～"_sj), 7);
    EXPECT_FALSE(itemLevel("Lv30").has_value());
    EXPECT_FALSE(itemLevel("～ 30"_sj).has_value());

    SearchCriteria c = byName("");
    c.levelFrom = 30;
    c.levelTo = 30;
    EXPECT_TRUE(MatchRecord(c, record("a", "1", "Lv30～"_sj)));
    EXPECT_FALSE(MatchRecord(c, record("a", "1", "Lv31～"_sj)));
    EXPECT_FALSE(MatchRecord(c, record("a", "1", "Lv30")));
    c.levelFrom = -1;
    c.levelTo = 10;
    EXPECT_FALSE(MatchRecord(c, record("a", "1", "no level")));
    EXPECT_TRUE(MatchRecord(c, record("a", "1", "Lv1～"_sj)));
}

namespace {
using vornik::test::row;

std::vector<int> ids(const std::vector<ResultRow>& rows)
{
    std::vector<int> out;
    for (const auto& r : rows)
        out.push_back(std::stoi(std::string(r.id())));
    return out;
}
} // namespace

TEST_F(SearchTest, TextSortPutsEmptyCellsLastAndUsesTheTieColumn)
{
    std::vector<ResultRow> rows = { row(1, { "b", "" }), row(2, { "c", "x" }), row(3, { "a", "x" }),
        row(4, { "", "" }), row(5, { "d", "x" }), row(6, { "\x82\xa0", "a" }) };
    SortOrder order { 1, 0, true, false };
    SortResults(rows, order);
    EXPECT_EQ(ids(rows), (std::vector<int> { 6, 3, 2, 5, 4, 1 }))
        << "x ties broken by column 0; empties last";
    order.ascending = false;
    SortResults(rows, order);
    EXPECT_EQ(ids(rows), (std::vector<int> { 1, 4, 5, 2, 3, 6 })) << "descending is the exact reverse";
}

TEST_F(SearchTest, RankSortKeepsOrderWithinARankAndPutsDashLast)
{
    std::vector<ResultRow> rows
        = { row(1, { "n", "-" }), row(2, { "n", "見習い"_sj }), row(3, { "n", "素人"_sj }),
              row(4, { "n", "見習い"_sj }), row(5, { "n", "不明"_sj }), row(6, { "n", "素人"_sj }) };
    SortOrder order { 1, 0, true, true };
    SortResults(rows, order);
    EXPECT_EQ(ids(rows), (std::vector<int> { 3, 6, 2, 4, 5, 1 }));
    EXPECT_EQ(CompareRows(rows[0], rows[1], order), 0);
    EXPECT_LT(CompareRows(rows[4], rows[5], order), 0);
}

TEST_F(SearchTest, ComparatorIsAConsistentOrdering)
{
    // Every pair compares as the negation of its swap, so std::stable_sort
    // is well defined.
    const std::vector<ResultRow> rows = { row(1, { "", "" }), row(2, { "", "a" }), row(3, { "a", "a" }),
        row(4, { "a", "" }), row(5, { "-", "-" }), row(6, { "b", "-" }) };
    for (bool byRank : { false, true }) {
        const SortOrder order { 1, 0, true, byRank };
        for (const auto& a : rows) {
            for (const auto& b : rows)
                EXPECT_EQ(CompareRows(a, b, order), -CompareRows(b, a, order)) << a.id() << " vs " << b.id();
        }
    }
}
