#include "platform/sjis_literal.h"
#include "storage/formatting.h"
#include "storage/vocabulary.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace vornik;

namespace {

class Formatting : public ::testing::Test {
protected:
    void SetUp() override
    {
        Vocabulary& skills = skillVocabulary();
        skills.clear();
        int k = 1;
        for (const std::string* name : { &"鍛冶"_sj, &"裁縫"_sj, &"錬金術"_sj, &"木工"_sj, &"彫金"_sj,
                 &"革細工"_sj, &"骨細工"_sj, &"釣り"_sj, &"調理"_sj, &"栽培"_sj })
            skills.set(k++, *name);
        skills.set(15, "extra");
        record.skill() = "0";
        record.crystal() = "0";
    }
    void TearDown() override { skillVocabulary().clear(); }

    void setMaterials(std::initializer_list<const char*> names)
    {
        int k = 1;
        for (const char* name : names)
            record.material(k++) = name;
    }

    RecipeRecord record;
};

} // namespace

TEST_F(Formatting, SkillLevelSummaryListsMainSkillFirst)
{
    record.skill() = "2";
    record.needLevel(2) = "12";
    record.skillUsed(5) = "1";
    EXPECT_EQ(skillLevelSummary(LevelKind::Need, record), "裁縫: 12 彫金:?  "_sj);
    EXPECT_EQ(skillLevelSummary(LevelKind::Cap, record), "裁縫:?  彫金:?  "_sj);

    // A flagged main skill is not listed twice; only "1" counts as a flag.
    record.skillUsed(2) = "1";
    record.skillUsed(9) = "yes";
    record.skillUsed(10) = "1";
    record.capLevel(10) = "100";
    record.capLevel(2) = "5";
    EXPECT_EQ(skillLevelSummary(LevelKind::Cap, record), "裁縫:  5 彫金:?  栽培:100 "_sj);
}

TEST_F(Formatting, SkillLevelSummaryWithoutMainSkill)
{
    EXPECT_EQ(skillLevelSummary(LevelKind::Need, record), "");
    record.skillUsed(1) = "1";
    record.needLevel(1) = "7";
    record.skillUsed(3) = "1";
    record.needLevel(3) = "1234";
    EXPECT_EQ(skillLevelSummary(LevelKind::Need, record), "鍛冶:  7 錬金術:1234 "_sj);
}

TEST_F(Formatting, DamagedMainSkillNeverReadsOutsideTheRecord)
{
    record.skillUsed(1) = "1";
    record.needLevel(1) = "3";
    // Position 20 (skillUsed 10) would be "needLevel 0"; it must not show.
    record.skillUsed(10) = "77";
    record.reserved() = "99";
    for (const char* damaged : { "25", "-3", "11" }) {
        record.skill() = damaged;
        EXPECT_EQ(skillLevelSummary(LevelKind::Need, record), "-:?  鍛冶:  3 "_sj) << damaged;
        EXPECT_EQ(skillLevelSummary(LevelKind::Cap, record), "-:?  鍛冶:?  "_sj) << damaged;
    }
    // Empty or not a number reads as skill 0, no skill: no phantom "-:?  ".
    for (const char* none : { "", "abc" }) {
        record.skill() = none;
        EXPECT_EQ(skillLevelSummary(LevelKind::Need, record), "鍛冶:  3 "_sj) << none;
        EXPECT_EQ(skillLevelSummary(LevelKind::Cap, record), "鍛冶:?  "_sj) << none;
    }
    record.skill() = "15"; // named in the table, but without level fields
    EXPECT_EQ(skillLevelSummary(LevelKind::Need, record), "extra:?  鍛冶:  3 "_sj);
}

TEST(FormattingPad, PadsToThreeBytes)
{
    EXPECT_EQ(padLevel("5"), "  5");
    EXPECT_EQ(padLevel("12"), " 12");
    EXPECT_EQ(padLevel("100"), "100");
    EXPECT_EQ(padLevel("1000"), "1000");
    EXPECT_EQ(padLevel(""), "   ");
}

TEST_F(Formatting, MaterialSummaryMergesAdjacentRuns)
{
    setMaterials({ "A", "A", "A", "B" });
    record.crystal() = "3";
    EXPECT_EQ(materialSummary(MaterialForm::Display, record), "A×3　B　"_sj);
    EXPECT_EQ(materialSummary(MaterialForm::Compact, record), "A3B1");

    RecipeRecord single = record;
    single.material(2) = single.material(3) = single.material(4) = "";
    single.material(1) = "M";
    EXPECT_EQ(materialSummary(MaterialForm::Display, single), "M　"_sj);

    RecipeRecord none;
    none.crystal() = "0";
    EXPECT_EQ(materialSummary(MaterialForm::Display, none), "　"_sj);
    EXPECT_EQ(materialSummary(MaterialForm::Compact, none), "1");

    RecipeRecord split;
    split.material(1) = "A";
    split.material(2) = "B";
    split.material(3) = "A";
    split.crystal() = "1";
    EXPECT_EQ(materialSummary(MaterialForm::Display, split), "A　B　A　"_sj);

    RecipeRecord full;
    for (int k = 1; k <= 8; ++k)
        full.material(k) = "Z";
    full.crystal() = "2";
    EXPECT_EQ(materialSummary(MaterialForm::Display, full), "Z×8　"_sj);
    EXPECT_EQ(materialSummary(MaterialForm::Compact, full), "Z8");
}

TEST_F(Formatting, MaterialSummaryComparesWholeCharacters)
{
    // Same lead byte, different trail bytes: two different materials.
    setMaterials({ "\x83\x41", "\x83\x61" });
    record.crystal() = "1";
    EXPECT_EQ(materialSummary(MaterialForm::Compact, record),
        "\x83\x41"
        "1\x83\x61"
        "1");
}

TEST_F(Formatting, MaterialSummaryClosesTheLastRunOfADamagedRecord)
{
    setMaterials({ "A", "B", "B" });
    record.crystal() = "";
    EXPECT_EQ(materialSummary(MaterialForm::Display, record), "A　B×2　"_sj);
    record.crystal() = "B"; // a crystal equal to the last slot does not extend the run
    for (int k = 4; k <= 8; ++k)
        record.material(k) = "B";
    EXPECT_EQ(materialSummary(MaterialForm::Compact, record), "A1B7");
}

TEST(FormattingHq, Summary)
{
    RecipeRecord record;
    const auto summary = [&record](const std::string& hq) {
        record.hq() = hq;
        return hqSummary(record);
    };
    EXPECT_EQ(summary("A 2<><>B"), "(1)A×2　(2) -　(3)B"_sj);
    EXPECT_EQ(summary("<><>"), "");
    EXPECT_EQ(summary("0<><>"), "");
    EXPECT_EQ(summary(""), "");
    EXPECT_EQ(summary("X"), "");
    EXPECT_EQ(summary("XY"), "(1)XY　(2) -　(3) -　"_sj);
    EXPECT_EQ(summary("A<>B"), "(1)A　(2) -　(3) -　"_sj);
    EXPECT_EQ(summary("<>B 3<>C"), "(1) -　(2)B×3　(3)C"_sj);
    EXPECT_EQ(summary("A<>B<>"), "(1)A　(2)B　(3) -"_sj);
}

TEST(FormattingHq, Parts)
{
    RecipeRecord record;
    const auto part = [&record](const std::string& hq, int n) {
        record.hq() = hq;
        return hqPart(n, record);
    };
    EXPECT_EQ(part("A 2<>B<>C 3", 1), "A×2"_sj);
    EXPECT_EQ(part("A 2<>B<>C 3", 2), "B");
    EXPECT_EQ(part("A 2<>B<>C 3", 3), "C×3"_sj);
    EXPECT_EQ(part("A<>0<>B", 2), " - ");
    EXPECT_EQ(part("A<>B<>", 3), "");
    EXPECT_EQ(part("0<><>", 1), " - ");
    EXPECT_EQ(part("<><>", 1), "");
    EXPECT_EQ(part("solo", 1), "solo");
    EXPECT_EQ(part("solo", 2), " - ");
    EXPECT_EQ(part("solo", 3), "solo");
    EXPECT_EQ(part("A<>B", 2), "B");
    EXPECT_EQ(part("A<>B", 3), "B");
}
