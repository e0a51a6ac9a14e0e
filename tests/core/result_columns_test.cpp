#include "app/core/result_columns.h"

#include "platform/sjis_literal.h"
#include "storage/profile.h"
#include "storage/vocabulary.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

using namespace vornik;

namespace {

std::vector<int> visibleWidths(const ColumnLayout& layout)
{
    std::vector<int> widths;
    for (const ListColumn& column : layout.columns)
        widths.push_back(column.width);
    return widths;
}

class ResultRowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        skillVocabulary().clear();
        rankVocabulary().clear();
        crystalVocabulary().clear();
        skillVocabulary().set(1, "鍛冶"_sj);
        skillVocabulary().set(2, "縫製"_sj);
        rankVocabulary().set(3, "中堅"_sj);
        crystalVocabulary().set(1, "炎晶"_sj);
        crystalVocabulary().set(2, "水晶"_sj);

        record.id() = "42";
        record.name() = "鉄の小刀 3"_sj;
        record.material(1) = "鉄塊"_sj;
        record.material(2) = "鉄塊"_sj;
        record.material(3) = "木片"_sj;
        record.crystal() = "1";
        record.skill() = "1";
        record.rank() = "3";
        record.needLevel(1) = "12";
        record.capLevel(1) = "22";
        record.description() = "【片手】<br>攻撃+3"_sj;
        record.hq() = "鉄の小刀+1 2<><>"_sj;
        record.desynth() = "鉄塊 2"_sj;
        record.stackable() = "1";
        record.ex() = "0";
        record.rare() = "";
    }

    void TearDown() override
    {
        skillVocabulary().clear();
        rankVocabulary().clear();
        crystalVocabulary().clear();
    }

    RecipeRecord record;
};

} // namespace

TEST(ColumnLayoutTest, FirstRunSettingsShowFiveColumnsWithTheirWidths)
{
    const ColumnLayout layout = buildColumnLayout("x1x111xxxxx1", "166,68,132,246,367");
    const std::vector<std::string> expected = { "名前"_sj, "ﾗﾝｸ"_sj, "限界"_sj, "素材"_sj, "説明"_sj };
    EXPECT_EQ(layout.headings(), expected);
    EXPECT_EQ(visibleWidths(layout), (std::vector<int> { 166, 68, 132, 246, 367 }));
    EXPECT_EQ(layout.rankColumn, 1);
    EXPECT_EQ(layout.capColumn, 2);
    EXPECT_TRUE(layout.crystalPrefix);
    EXPECT_EQ(layout.columns[0].kind, ColumnKind::Name);
    EXPECT_EQ(layout.columns[4].kind, ColumnKind::Description);
}

TEST(ColumnLayoutTest, ShowingAColumnShiftsWidthsByPosition)
{
    const ColumnLayout layout = buildColumnLayout("11x111xxxxx1", "166,68,132,246,367");
    const std::vector<std::string> expected
        = { "名前"_sj, "ｽｷﾙ"_sj, "ﾗﾝｸ"_sj, "限界"_sj, "素材"_sj, "説明"_sj };
    EXPECT_EQ(layout.headings(), expected);
    // ｽｷﾙ takes the width ﾗﾝｸ had; the last column gets the default.
    EXPECT_EQ(visibleWidths(layout), (std::vector<int> { 166, 68, 132, 246, 367, 100 }));
    EXPECT_EQ(layout.rankColumn, 2);
    EXPECT_EQ(layout.capColumn, 3);
}

TEST(ColumnLayoutTest, FlagsOtherThanOneHideAndDefaultShowsEverything)
{
    const ColumnLayout none = buildColumnLayout("", "");
    ASSERT_EQ(none.columns.size(), 1u);
    EXPECT_EQ(none.rankColumn, 0);
    EXPECT_EQ(none.capColumn, 0);
    EXPECT_FALSE(none.crystalPrefix);

    const ColumnLayout odd = buildColumnLayout("0Y1 ", "");
    ASSERT_EQ(odd.columns.size(), 2u);
    EXPECT_EQ(odd.columns[1].heading, "必要"_sj);

    const ColumnLayout all = buildColumnLayout("1111111111111xxxxxxx", "");
    ASSERT_EQ(all.columns.size(), 12u);
    EXPECT_EQ(all.columns[11].heading, "Rare");
    EXPECT_EQ(all.columns[7].heading, "ﾊｲｸｫﾘﾃｨ"_sj);
    EXPECT_TRUE(all.crystalPrefix);
}

TEST(ColumnLayoutTest, WidthPiecesFollowTheFieldRule)
{
    struct Case {
        const char* text;
        std::array<int, 5> firstFive;
    };
    const Case cases[] = {
        { "", { 100, 100, 100, 100, 100 } },
        { "50", { 50, 100, 100, 100, 100 } },
        { "50,,0,70", { 50, 100, 100, 70, 100 } },
        { "abc,00,12px,-5,7", { 0, 0, 12, 0, 7 } },
        { "10,%2030,40,", { 10, 30, 40, 100, 100 } },
        { " 8,9", { 8, 9, 100, 100, 100 } },
    };
    for (const Case& c : cases) {
        const ColumnLayout layout = buildColumnLayout("", c.text);
        for (std::size_t i = 0; i < c.firstFive.size(); ++i)
            EXPECT_EQ(layout.widthsByPosition[i], c.firstFive[i]) << c.text << " position " << i;
        EXPECT_EQ(layout.widthsByPosition[20], 100) << c.text;
    }
    // More than 21 pieces: the rest is ignored.
    std::string many;
    for (int i = 1; i <= 25; ++i)
        many += std::to_string(i) + ",";
    const ColumnLayout layout = buildColumnLayout("11111111111", many);
    EXPECT_EQ(layout.widthsByPosition[20], 21);
    EXPECT_EQ(layout.columns.back().width, 12);
}

TEST(ColumnLayoutTest, WidthsTextRoundTrips)
{
    const std::vector<int> widths = { 166, 68, 132, 246, 367 };
    const std::string text = columnWidthsText(widths);
    EXPECT_EQ(text, "166,68,132,246,367,");
    EXPECT_EQ(visibleWidths(buildColumnLayout("x1x111", text)), widths);
    EXPECT_EQ(columnWidthsText({}), "");
}

TEST(ColumnLayoutTest, LoadsAndSavesThroughTheSettings)
{
    test::TempProgramDir dir;
    const ColumnLayout absent = loadColumnLayout();
    EXPECT_EQ(absent.columns.size(), 12u);
    EXPECT_EQ(absent.columns[3].width, 100);

    ASSERT_TRUE(writeIniString("window", "column", "x1x111xxxxx1"));
    ASSERT_TRUE(saveColumnWidths({ 150, 60, 120, 240, 360 }));
    EXPECT_EQ(readIniString("window", "columnsize", ""), "150,60,120,240,360,");
    const ColumnLayout stored = loadColumnLayout();
    EXPECT_EQ(visibleWidths(stored), (std::vector<int> { 150, 60, 120, 240, 360 }));
}

TEST(ColumnLayoutTest, MatchCountText)
{
    EXPECT_EQ(matchCountText(0), "0件のデータが一致しました。"_sj);
    EXPECT_EQ(matchCountText(100000), "100000件のデータが一致しました。"_sj);
}

TEST_F(ResultRowTest, EveryColumnShowsItsText)
{
    const ColumnLayout layout = buildColumnLayout("111111111111", "");
    const ResultRow row = makeResultRow(layout, record);
    EXPECT_EQ(row.id(), "42");
    EXPECT_EQ(row.icon, 1);
    ASSERT_EQ(row.cellCount(), 12u);
    EXPECT_EQ(row.cell(0), " 鉄の小刀×3"_sj);
    EXPECT_EQ(row.cell(1), "鍛冶"_sj);
    EXPECT_EQ(row.cell(2), "中堅"_sj);
    EXPECT_EQ(row.cell(3), "鍛冶: 12 "_sj);
    EXPECT_EQ(row.cell(4), "鍛冶: 22 "_sj);
    EXPECT_EQ(row.cell(5), "(炎晶) 鉄塊×2　木片　"_sj);
    EXPECT_EQ(row.cell(6), "【片手】 攻撃+3"_sj);
    EXPECT_EQ(row.cell(7), "(1)鉄の小刀+1×2　(2) -　(3) -"_sj);
    EXPECT_EQ(row.cell(8), "鉄塊×2"_sj);
    EXPECT_EQ(row.cell(9), "○"_sj);
    EXPECT_EQ(row.cell(10), "");
    EXPECT_EQ(row.cell(11), "");
}

TEST_F(ResultRowTest, CrystalPrefixNeedsTheFlagASkillAndACrystalName)
{
    const ColumnLayout withPrefix = buildColumnLayout("xxxx1xxxxxx1", "");
    const ColumnLayout withoutPrefix = buildColumnLayout("xxxx1xxxxxxx", "");
    EXPECT_EQ(makeResultRow(withoutPrefix, record).cell(1), "鉄塊×2　木片　"_sj);

    RecipeRecord unnamedCrystal = record;
    unnamedCrystal.crystal() = "7"; // no name in the table
    EXPECT_EQ(makeResultRow(withPrefix, unnamedCrystal).cell(1), "鉄塊×2　木片　"_sj);
    EXPECT_EQ(makeResultRow(withPrefix, unnamedCrystal).icon, 7);

    RecipeRecord noSkill = record;
    noSkill.skill() = "0";
    const ResultRow row = makeResultRow(withPrefix, noSkill);
    EXPECT_EQ(row.cell(1), "鉄塊×2　木片　"_sj);
    EXPECT_EQ(row.icon, 0);
}

TEST_F(ResultRowTest, IconIsZeroWhenTheCrystalHasNoImage)
{
    const ColumnLayout layout = buildColumnLayout("", "");
    for (const char* crystal : { "10", "-1", "abc", "" }) {
        RecipeRecord r = record;
        r.crystal() = crystal;
        EXPECT_EQ(makeResultRow(layout, r).icon, 0) << crystal;
    }
    record.crystal() = "9";
    EXPECT_EQ(makeResultRow(layout, record).icon, 9);
}

TEST_F(ResultRowTest, MarksOnlyForExactlyOneAndEmptyVocabularyShowsDash)
{
    const ColumnLayout layout = buildColumnLayout("x1xxxxxx111", "");
    record.rank() = "55";
    record.stackable() = "11";
    record.ex() = "1";
    record.rare() = " 1";
    const ResultRow row = makeResultRow(layout, record);
    ASSERT_EQ(row.cellCount(), 5u);
    EXPECT_EQ(row.cell(1), "-");
    EXPECT_EQ(row.cell(2), "");
    EXPECT_EQ(row.cell(3), "○"_sj);
    EXPECT_EQ(row.cell(4), "");
}

TEST_F(ResultRowTest, BreaksAndBlanksInTexts)
{
    const ColumnLayout layout = buildColumnLayout("xxxxx1x1", "");
    record.name() = "鋼 の 剣"_sj;
    record.description() = "<br><br>"_sj + "行1"_sj + "<br>";
    record.desynth() = "";
    const ResultRow row = makeResultRow(layout, record);
    EXPECT_EQ(row.cell(0), " 鋼×の×剣"_sj);
    EXPECT_EQ(row.cell(1), "  " + "行1"_sj + " ");
    EXPECT_EQ(row.cell(2), "");
}

TEST(ResultRowCells, CellsKeepTheirBytesAndCopiesAreIndependent)
{
    const std::string withNul("a\0b", 3);
    ResultRow row("07", 3, { "", " 鉄の小刀"_sj, withNul, "" });
    EXPECT_EQ(row.cellCount(), 4u);
    EXPECT_EQ(row.cell(0), "");
    EXPECT_EQ(row.cell(1), " 鉄の小刀"_sj);
    EXPECT_EQ(row.cell(2), withNul);
    EXPECT_EQ(row.cell(3), "");
    EXPECT_EQ(row.cell(4), "") << "past the last cell";

    ResultRow copy = row;
    row = ResultRow(" 1", 0, { "other" });
    EXPECT_EQ(copy.id(), "07");
    EXPECT_EQ(row.id(), " 1");
    EXPECT_EQ(copy.icon, 3);
    EXPECT_EQ(copy.cellTexts(), (std::vector<std::string> { "", " 鉄の小刀"_sj, withNul, "" }));
    EXPECT_EQ(row.cellTexts(), std::vector<std::string> { "other" });
    EXPECT_EQ(ResultRow().cellCount(), 0u);
    EXPECT_EQ(ResultRow().cell(0), "");
    EXPECT_EQ(ResultRow().id(), "");
    EXPECT_EQ(ResultRow("", 0, {}).id(), "");
}

TEST(ResultRowCells, TheBuilderKeepsNoMoreCellsThanTheListHasAndStartsAfresh)
{
    ResultRowBuilder builder;
    for (std::size_t i = 0; i < ResultRow::kMaxCells + 3; ++i) {
        builder.openCell() += "c" + std::to_string(i);
        builder.closeCell();
    }
    const ResultRow full = builder.take("1", 0);
    ASSERT_EQ(full.cellCount(), ResultRow::kMaxCells);
    EXPECT_EQ(full.cell(ResultRow::kMaxCells - 1), "c" + std::to_string(ResultRow::kMaxCells - 1));

    builder.addCell("next");
    const ResultRow next = builder.take("2", 0);
    EXPECT_EQ(next.cellTexts(), std::vector<std::string> { "next" });
}
