#include "output/core/clipboard_text.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/vocabulary.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vornik;

namespace {

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        skillVocabulary().clear();
        skillVocabulary().set(1, "鍛冶"_sj);
        crystalVocabulary().clear();
        crystalVocabulary().set(1, "炎"_sj);
        rankVocabulary().clear();
        rankVocabulary().set(2, "見習い"_sj);
    }

    static RecipeRecord shield()
    {
        RecipeRecord r;
        r.id() = "7";
        r.name() = "鉄の盾 2"_sj;
        r.material(1) = "鉄塊"_sj;
        r.material(2) = "鉄塊"_sj;
        r.material(3) = "木材"_sj;
        r.crystal() = "1";
        r.skillUsed(1) = "1";
        r.needLevel(1) = "12";
        r.capLevel(1) = "22";
        r.skill() = "1";
        r.rank() = "2";
        r.description() = "硬い。<br>重い。"_sj;
        r.hq() = "鉄の盾+1<><>"_sj;
        r.desynth() = "鉄塊 1"_sj;
        r.stackable() = "0";
        r.ex() = "1";
        r.rare() = "1";
        return r;
    }

    static std::string lastLine(const std::string& text) { return text.substr(text.rfind("\r\n") + 2); }
};

} // namespace

TEST_F(ClipboardTest, ElevenLabelledLinesJoinedByCrLf)
{
    const std::string expected = "名前：鉄の盾 2\r\n"
                                 "ｸﾘｽﾀﾙ：炎\r\n"
                                 "ｽｷﾙ：鍛冶\r\n"
                                 "ﾗﾝｸ：見習い\r\n"
                                 "必要：鍛冶: 12 \r\n"
                                 "限界：鍛冶: 22 \r\n"
                                 "材料：鉄塊×2　木材　\r\n"
                                 "説明：硬い。重い。\r\n"
                                 "ﾊｲｸｫﾘﾃｨ：(1)鉄の盾+1　(2) -　(3) -\r\n"
                                 "分解：鉄塊 1\r\n"
                                 "属性：ｽﾀｯｸ不可 ,Ex,Rare"_sj;
    const std::string text = buildClipboardText(shield());
    EXPECT_EQ(text, expected);

    std::size_t pairs = 0;
    for (std::size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += 2)
        ++pairs;
    EXPECT_EQ(pairs, 10u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 10);
}

TEST_F(ClipboardTest, AttributeLineVariants)
{
    RecipeRecord r = shield();
    r.stackable() = "1";
    EXPECT_EQ(lastLine(buildClipboardText(r)), "属性：ｽﾀｯｸ可 ,Ex,Rare"_sj);
    r.ex() = "0";
    EXPECT_EQ(lastLine(buildClipboardText(r)), "属性：ｽﾀｯｸ可 ,Rare"_sj);
    r.stackable() = r.rare() = "0";
    EXPECT_EQ(lastLine(buildClipboardText(r)), "属性：ｽﾀｯｸ不可 "_sj);
    r.ex() = "yes"; // a flag is "1" or nothing
    EXPECT_EQ(lastLine(buildClipboardText(r)), "属性：ｽﾀｯｸ不可 "_sj);
}

TEST_F(ClipboardTest, NoSkillMeansNoCrystalAndEmptyHighQualityLine)
{
    RecipeRecord r = shield();
    r.skill() = "0";
    r.hq() = "<><>";
    const std::string text = buildClipboardText(r);
    EXPECT_NE(text.find("\r\nｸﾘｽﾀﾙ：-\r\n"_sj), std::string::npos);
    EXPECT_NE(text.find("\r\nｽｷﾙ：-\r\n"_sj), std::string::npos);
    EXPECT_NE(text.find("\r\nﾊｲｸｫﾘﾃｨ：\r\n"_sj), std::string::npos);
}

TEST_F(ClipboardTest, LastRecordWithTheIdWins)
{
    StorageError error;
    test::TempProgramDir dir;
    RecipeRecord first = shield();
    first.name() = "first";
    RecipeRecord other = shield();
    other.id() = "07"; // another record: ids are compared as text
    other.name() = "other";
    RecipeRecord last = shield();
    last.name() = "last";
    test::writeFileBytes(dir.file("vornik.txt"),
        joinFields(first) + "\r\n" + joinFields(other) + "\r\n" + joinFields(last) + "\r\n");

    const std::optional<std::string> text = clipboardTextForId("7", error);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->starts_with("名前：last\r\n"_sj)) << *text;
    EXPECT_EQ(clipboardTextForId("07", error)->substr(0, 13), "名前：other\r\n"_sj);
    EXPECT_FALSE(clipboardTextForId("9", error));
}

TEST_F(ClipboardTest, MissingDataFileGivesNothingAfterTheOpenErrorHandler)
{
    StorageError error;
    test::TempProgramDir dir;
    std::string reported;
    setOpenErrorHandler([&reported](const std::string& path) { reported = path; });
    EXPECT_FALSE(clipboardTextForId("7", error));
    setOpenErrorHandler({});
    EXPECT_EQ(reported, dir.file("vornik.txt"));
}
