#include "platform/sjis_literal.h"
#include "storage/profile.h"
#include "storage/profile_file.h"
#include "storage/settings_defaults.h"
#include "storage/vocabulary.h"
#include "tests/support/fault_injection.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

using namespace vornik;
using vornik::test::fixture;
using vornik::test::readFileBytes;
using vornik::test::TempProgramDir;
using vornik::test::writeFileBytes;

namespace {

std::filesystem::path iniPath(const TempProgramDir& dir)
{
    return dir.path() / "vornik.ini";
}

} // namespace

TEST(LoadSettings, FreshStartWritesEveryDefault)
{
    TempProgramDir dir;
    const auto started = std::chrono::steady_clock::now();
    loadSettings();
    const auto elapsed = std::chrono::steady_clock::now() - started;
    std::cout << "loadSettings on a fresh file: "
              << std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() << " us\n";
    // One flushed write costs a few tens of milliseconds; a write per key
    // (about a hundred of them) would take seconds.
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000));

    // The whole file, in the order key-by-key writes put the keys.
    EXPECT_EQ(readFileBytes(iniPath(dir)), fixture("settings_fresh.ini"));

    EXPECT_EQ(readIniInt("system", "setup", 0), 10);
    EXPECT_EQ(readIniString("window", "columnsize", ""), "166,68,132,246,367");
    EXPECT_EQ(readIniString("window", "column", ""), "x1x111xxxxx1");

    EXPECT_EQ(rankName(0), "-");
    EXPECT_EQ(rankName(1), "素人"_sj);
    EXPECT_EQ(rankName(8), "高弟"_sj);
    EXPECT_EQ(rankName(9), "皆伝"_sj);
    EXPECT_EQ(rankName(10), "師範"_sj);
    EXPECT_EQ(rankName(11), "次期"_sj);
    EXPECT_EQ(rankName(12), "-");
    EXPECT_EQ(rankName(98), "不明"_sj);
    EXPECT_EQ(rankName(99), "隠し"_sj);
    EXPECT_EQ(skillName(1), "鍛冶"_sj);
    EXPECT_EQ(skillName(10), "栽培"_sj);
    EXPECT_EQ(skillName(11), "-");
    EXPECT_EQ(crystalName(8), "闇"_sj);
    EXPECT_EQ(crystalName(9), "-");
    EXPECT_EQ(imeName(1), "＠かじ"_sj);
    EXPECT_EQ(imeName(10), "＠さいばい"_sj);
    EXPECT_EQ(imeName(0), "-");

    const std::vector<std::string> classes = classComboNames();
    ASSERT_EQ(classes.size(), 30u);
    EXPECT_EQ(classes[1], "（短剣"_sj);
    EXPECT_EQ(classes[18], "（触媒）"_sj);
    EXPECT_EQ(classes[29], "【指】"_sj);
    const std::vector<std::string> jobs = jobComboNames();
    ASSERT_EQ(jobs.size(), 16u);
    EXPECT_EQ(jobs.back(), "All Job");
    EXPECT_EQ(skillComboNames().size(), 10u);
    EXPECT_EQ(crystalComboNames().size(), 8u);
}

TEST(LoadSettings, OlderFileGetsOnlyTheLaterSteps)
{
    TempProgramDir dir;
    writeFileBytes(iniPath(dir), fixture("settings_setup3.ini"));
    loadSettings();

    const std::string after = readFileBytes(iniPath(dir));
    EXPECT_EQ(
        after.rfind("; 自分用の設定\r\n[system]\r\nsetup=10\r\nversion=1, 3, 0, 0\r\n\r\n[rank]\r\n"_sj, 0),
        0u);
    EXPECT_EQ(readIniInt("system", "setup", 0), 10);

    EXPECT_EQ(rankName(9), "皆伝"_sj);
    EXPECT_EQ(rankName(10), "師範"_sj);
    EXPECT_EQ(rankName(11), "次期"_sj);
    EXPECT_EQ(rankName(98), "不明"_sj);
    EXPECT_EQ(rankName(2), "-"); // step 1 did not run again
    EXPECT_EQ(skillName(10), "自作"_sj); // step 2 did not run again
    EXPECT_EQ(skillName(2), "-");
    EXPECT_EQ(imeName(5), "＠ちょうきん"_sj);
    EXPECT_EQ(readIniString("window", "column", ""), "x1x111xxxxx1");

    // Step 5 adds class 19, which the list does not reach past its gap.
    EXPECT_EQ(readIniString("class", "19", ""), "（触媒）"_sj);
    EXPECT_EQ(readIniString("class", "3", "none"), "none");
    const std::vector<std::string> classes = classComboNames();
    EXPECT_EQ(classes, (std::vector<std::string> { "（テスト分類）"_sj, "【テスト】"_sj }));
}

TEST(LoadSettings, CurrentFileIsLeftAlone)
{
    TempProgramDir dir;
    const std::string user
        = "[system]\r\nsetup=9\r\n[rank]\r\n9=" + "自分の段位"_sj + "\r\n[skill]\r\n1=" + "自作スキル"_sj;
    writeFileBytes(iniPath(dir), user);
    loadSettings();
    EXPECT_EQ(readFileBytes(iniPath(dir)), user);
    EXPECT_EQ(rankName(9), "自分の段位"_sj);
    EXPECT_EQ(rankName(10), "-");
    EXPECT_EQ(skillName(1), "自作スキル"_sj);
}

// A settings file an editor saved as UTF-8 with a byte-order mark keeps the
// user's vocabulary; a folder named vornik.ini gives the defaults in memory
// and is never replaced.
TEST(LoadSettings, MarkedAndUnreadableFiles)
{
    {
        TempProgramDir dir;
        const std::string marked
            = "\xEF\xBB\xBF[system]\r\nsetup=10\r\n[skill]\r\n1=" + "自作スキル"_sj + "\r\n";
        writeFileBytes(iniPath(dir), marked);
        EXPECT_TRUE(loadSettings());
        EXPECT_EQ(skillName(1), "自作スキル"_sj);
        EXPECT_EQ(readFileBytes(iniPath(dir)), marked);
    }
    {
        TempProgramDir dir;
        std::filesystem::create_directory(iniPath(dir));
        EXPECT_FALSE(loadSettings());
        EXPECT_NE(skillName(1), "-");
        EXPECT_FALSE(writeIniString("system", "font", "120"));
        EXPECT_TRUE(std::filesystem::is_directory(iniPath(dir)));
    }
}

TEST(LoadSettings, UserEntriesInTheDropDowns)
{
    TempProgramDir dir;
    loadSettings();
    ASSERT_TRUE(writeIniString("rank", "50", "自作ランク"_sj));
    ASSERT_TRUE(writeIniString("rank", "60", "x")); // one byte: looks like a placeholder, not listed
    ASSERT_TRUE(writeIniString("class", "35", "（遠い分類）"_sj));
    ASSERT_TRUE(writeIniString("job", "17", "新ジョブ"_sj));
    loadSettings();

    const std::vector<std::string> ranks = rankComboNames();
    ASSERT_EQ(ranks.size(), 14u);
    EXPECT_EQ(ranks[10], "次期"_sj);
    EXPECT_EQ(ranks[11], "自作ランク"_sj);
    EXPECT_EQ(ranks[12], "不明"_sj);
    EXPECT_EQ(ranks[13], "隠し"_sj);
    EXPECT_EQ(rankIndex("自作ランク"_sj), 50);

    const std::vector<std::string> classes = classComboNames();
    EXPECT_EQ(classes.size(), 30u);
    EXPECT_EQ(jobComboNames().back(), "新ジョブ"_sj);
}

TEST(LoadSettings, IndexLookups)
{
    TempProgramDir dir;
    loadSettings();
    EXPECT_EQ(skillIndex("不明"_sj), 0);
    EXPECT_EQ(rankIndex("不明"_sj), 98);
    EXPECT_EQ(rankIndex("皆伝"_sj), 9);
    EXPECT_EQ(skillIndex("裁縫"_sj), 2);
    EXPECT_EQ(crystalIndex("闇"_sj), 8);
    EXPECT_EQ(crystalIndex(""), 0);
    EXPECT_EQ(rankIndex("次ランク"_sj), 0); // overwritten by later steps
}

TEST(LoadSettings, LongSkillNameIsCutAtACharacter)
{
    TempProgramDir dir;
    loadSettings();
    // 12 double-byte characters and one ASCII letter: 25 bytes. Byte 19 would
    // fall inside the tenth character, so 18 bytes are kept.
    std::string longName;
    for (int i = 0; i < 12; ++i)
        longName += "錬"_sj;
    longName += "X";
    ASSERT_EQ(longName.size(), 25u);
    ASSERT_TRUE(writeIniString("skill", "3", longName));
    loadSettings();

    EXPECT_EQ(skillName(3), longName.substr(0, 18));
    EXPECT_EQ(skillIndex(longName), 0);
    // The drop-down offers the name the table holds, so a choice maps back.
    const std::vector<std::string> names = skillComboNames();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[2], skillName(3));
    EXPECT_EQ(skillIndex(names[2]), 3);
}

// A read-only copy of the program (no vornik.ini, none can be written)
// still names skills, ranks and crystals and fills its drop-downs and
// columns; only nothing is kept.
TEST(LoadSettings, UnwritableFolderKeepsTheDefaultsInMemory)
{
    TempProgramDir dir;
    vornik::test::ReadOnlyFileOps readOnly;
    vornik::test::ScopedFileOps installed(readOnly);
    loadSettings();

    EXPECT_FALSE(std::filesystem::exists(iniPath(dir)));
    EXPECT_FALSE(writeIniString("rank", "50", "自作ランク"_sj));
    EXPECT_EQ(rankName(1), "素人"_sj);
    EXPECT_EQ(skillName(1), "鍛冶"_sj);
    EXPECT_EQ(crystalName(8), "闇"_sj);
    EXPECT_EQ(rankComboNames().size(), 13u);
    const std::vector<std::string> classes = classComboNames();
    ASSERT_FALSE(classes.empty());
    EXPECT_EQ(classes.front(), "（格闘）"_sj);
    EXPECT_EQ(readIniString(ini::ColumnFlags), "x1x111xxxxx1");
}

TEST(SettingsDefaults, StepsAreOrderedAndSetupComesLast)
{
    int previous = 0;
    for (const SettingsDefault& entry : settingsDefaults()) {
        EXPECT_GE(entry.step, previous);
        EXPECT_LE(entry.step, kLastDefaultsStep);
        previous = entry.step;
    }
    ProfileFile file;
    applySettingsDefaults(file, 8);
    EXPECT_EQ(file.bytes(),
        "[rank]\r\n11=" + "次期"_sj + "\r\n[ime]\r\n1=" + "＠かじ"_sj + "\r\n2=" + "＠さいほう"_sj
            + "\r\n3=" + "＠れんきん"_sj + "\r\n4=" + "＠もっこう"_sj + "\r\n5=" + "＠ちょうきん"_sj
            + "\r\n6=" + "＠かわ"_sj + "\r\n7=" + "＠ほね"_sj + "\r\n8=" + "＠つり"_sj
            + "\r\n9=" + "＠ちょうり"_sj + "\r\n10=" + "＠さいばい"_sj + "\r\n[system]\r\nsetup=10\r\n");
}
