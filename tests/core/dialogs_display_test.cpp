// How the record dialogs turn stored fields into what they show, and the
// material list back into the eight material slots.

#include "dialogs/core/material_entries.h"
#include "dialogs/core/record_display.h"
#include "dialogs/core/skill_levels.h"
#include "platform/sjis_literal.h"
#include "storage/formatting.h"

#include <gtest/gtest.h>

using namespace vornik;

TEST(DialogsDisplay, MaterialEntriesFromDisplaySummary)
{
    RecipeRecord record;
    record.material(1) = "霜草"_sj;
    record.material(2) = "霜草"_sj;
    record.material(3) = "月光石"_sj;
    record.crystal() = "3";
    const std::vector<std::string> entries = materialEntries(materialSummary(MaterialForm::Display, record));
    EXPECT_EQ(entries, (std::vector<std::string> { "霜草×2"_sj, "月光石"_sj }));

    // No materials: the summary is a lone full-width blank and gives nothing.
    EXPECT_TRUE(materialEntries("　"_sj).empty());
    // A last entry without its separator is still taken.
    EXPECT_EQ(materialEntries("A　B"_sj), (std::vector<std::string> { "A", "B" }));
    // At most eight passes: the eighth takes the whole rest.
    EXPECT_EQ(materialEntries("1　2　3　4　5　6　7　8　9　"_sj).size(), 8u);
    EXPECT_EQ(materialEntries("1　2　3　4　5　6　7　8　9　"_sj).back(), "8"_sj);
    // The bytes 0x81 0x81 0x40 are one double-byte character and "@", not
    // a character followed by a full-width blank (0x81 0x40).
    EXPECT_EQ(materialEntries("\x81\x81@"), (std::vector<std::string> { "\x81\x81@" }));
}

TEST(DialogsDisplay, FieldTextsForDisplay)
{
    EXPECT_EQ(blanksAsTimes("星鉄の剣 12"_sj), "星鉄の剣×12"_sj);
    EXPECT_EQ(descriptionForDisplay("一行目<br>二行目<BR>三"_sj), "一行目\r\n二行目\r\n三"_sj);
    // The detail view cuts a huge description (never inside a character).
    EXPECT_EQ(descriptionForDetail("短い<br>説明"_sj), "短い\r\n説明"_sj);
    const std::string limit(kMaxShownDescriptionBytes, 'd');
    EXPECT_EQ(descriptionForDetail(limit), limit);
    const std::string huge = std::string(kMaxShownDescriptionBytes - 1, 'd') + "説明"_sj;
    const std::string shown = descriptionForDetail(huge);
    EXPECT_EQ(shown.substr(0, kMaxShownDescriptionBytes), limit.substr(1) + "\r");
    EXPECT_NE(shown.find(std::to_string(huge.size()) + " バイト"_sj), std::string::npos);

    RecipeRecord record;
    EXPECT_EQ(attributeText(record), "スタック不可"_sj);
    record.stackable() = "1";
    record.ex() = "1";
    record.rare() = "1";
    EXPECT_EQ(attributeText(record), "スタック可　Ex　Rare"_sj);
    record.ex() = "yes";
    EXPECT_EQ(attributeText(record), "スタック可　Rare"_sj);

    EXPECT_FALSE(showsCrystal("-"));
    EXPECT_TRUE(showsCrystal("鍛冶"_sj));

    record.hq() = "<><>";
    EXPECT_EQ(hqRowText(1, record), "- ");
    EXPECT_EQ(hqRowText(2, record), "- ");
    EXPECT_EQ(hqRowText(3, record), "- ");
    record.hq() = "灰樫材 2<>0<>"_sj;
    EXPECT_EQ(hqRowText(1, record), "灰樫材×2"_sj);
    EXPECT_EQ(hqRowText(2, record), " - ");
    EXPECT_EQ(desynthRowText(record), "- ");
    record.desynth() = "琥珀糸 3"_sj;
    EXPECT_EQ(desynthRowText(record), "琥珀糸×3"_sj);
}

TEST(DialogsDisplay, ItemNameOfEntryCutsAtTimesAndSkipsPlaceholders)
{
    EXPECT_EQ(itemNameOfEntry("霜草×2"_sj), "霜草"_sj);
    EXPECT_EQ(itemNameOfEntry("月光石"_sj), "月光石"_sj);
    EXPECT_FALSE(itemNameOfEntry("- "));
    EXPECT_FALSE(itemNameOfEntry(" - "));
    EXPECT_FALSE(itemNameOfEntry(""));
    // An HQ part stored as " - " shows as "×-×"; a count alone names nothing.
    EXPECT_FALSE(itemNameOfEntry("×-×"_sj));
    EXPECT_FALSE(itemNameOfEntry("×2"_sj));
    // "×" is 0x81 0x7E: a trail byte 0x81 before "~" must not be taken for it.
    EXPECT_EQ(itemNameOfEntry("\x81\x81~x"), std::string("\x81\x81~x"));
}

TEST(DialogsDisplay, FindEntryByPrefixLikeADropDown)
{
    const std::vector<std::string> skills = { "", "鍛冶"_sj, "裁縫"_sj, "Cook", "鍛冶場"_sj };
    EXPECT_EQ(findEntryByPrefix(skills, "鍛冶"_sj), 1);
    EXPECT_EQ(findEntryByPrefix(skills, "cOOk"), 3);
    EXPECT_EQ(findEntryByPrefix(skills, "-"), -1);
    // The search starts at the second entry and wraps to the first.
    EXPECT_EQ(findEntryByPrefix({ "A1", "B", "A2" }, "A"), 2);
    EXPECT_EQ(findEntryByPrefix({ "A1", "B" }, "A"), 0);
    EXPECT_EQ(findEntryByPrefix({}, "A"), -1);
    // Half of a double-byte character is no prefix.
    EXPECT_EQ(findEntryByPrefix({ "", "\x83\x41" }, "\x83"), -1);
}

TEST(DialogsMaterials, EntryTextsRoundTrip)
{
    const MaterialEntry two = parseMaterialEntry("霜草×2"_sj);
    EXPECT_EQ(two.name, "霜草"_sj);
    EXPECT_EQ(two.count, 2);
    const MaterialEntry one = parseMaterialEntry("月光石"_sj);
    EXPECT_EQ(one.name, "月光石"_sj);
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(parseMaterialEntry("石×abc"_sj).count, 0);

    EXPECT_EQ(materialEntryText("霜草"_sj, 3), "霜草×3"_sj);
    EXPECT_EQ(materialEntryText("霜草"_sj, 1), "霜草"_sj);
    // A count typed as 0 or as text gives an entry of one unit.
    EXPECT_EQ(materialEntryText("霜草"_sj, 0), "霜草"_sj);
}

TEST(DialogsMaterials, SlotsFilledInListOrderNeverPastTheEighth)
{
    RecipeRecord record;
    record.crystal() = "5";
    fillMaterialSlots({ "A×3"_sj, "B", "C×0"_sj }, record);
    EXPECT_EQ(record.material(1), "A");
    EXPECT_EQ(record.material(3), "A");
    EXPECT_EQ(record.material(4), "B");
    EXPECT_EQ(record.material(5), "");

    EXPECT_EQ(materialUnits({ "A×3"_sj, "B", "C×0"_sj }), 4);
    EXPECT_EQ(materialUnits({ "A×8"_sj, "B" }), 9);
    EXPECT_EQ(materialUnits({ "A×2147483647"_sj, "B×2147483647"_sj }), 4294967294LL);

    RecipeRecord full;
    full.crystal() = "5";
    fillMaterialSlots({ "A×7"_sj, "B×5"_sj }, full);
    EXPECT_EQ(full.material(8), "B");
    EXPECT_EQ(full.crystal(), "5");
}

TEST(DialogsSkillLevels, QuestionMarkForUsedSkillsWithoutLevel)
{
    RecipeRecord record;
    record.skillUsed(2) = "1";
    record.needLevel(2) = "15";
    record.skillUsed(4) = "1";
    record.capLevel(4) = "30";
    const LevelBoxTexts cap = levelBoxTexts(record, LevelKind::Cap);
    EXPECT_EQ(cap[1], "?");
    EXPECT_EQ(cap[3], "30");
    EXPECT_EQ(cap[0], "");
    const LevelBoxTexts need = levelBoxTexts(record, LevelKind::Need);
    EXPECT_EQ(need[1], "15");
    EXPECT_EQ(need[3], "?");

    // Stored unchanged; skill 10 is kept; the flags follow both blocks.
    record.capLevel(10) = "99";
    LevelBoxTexts edited = cap;
    edited[3] = "";
    edited[6] = " 7";
    storeLevelBoxTexts(edited, LevelKind::Cap, record);
    EXPECT_EQ(record.capLevel(2), "?");
    EXPECT_EQ(record.capLevel(4), "");
    EXPECT_EQ(record.capLevel(7), " 7");
    EXPECT_EQ(record.capLevel(10), "99");
    EXPECT_EQ(record.skillUsed(2), "1");
    EXPECT_EQ(record.skillUsed(4), "");
    EXPECT_EQ(record.skillUsed(7), "1");
    EXPECT_EQ(record.skillUsed(10), "1");
}
