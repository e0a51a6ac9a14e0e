// `vornik search` as a user runs it from a shell without a display: the
// window's criteria, sort and column texts in each output format, and the
// exit status and message of each failure.

#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "tests/support/record_lines.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vornik;
using namespace vornik::field;
using vornik::test::ProgramRun;
using vornik::test::recordLine;
using vornik::test::runWithoutDisplay;

namespace {

struct SearchCase {
    const char* what;
    std::vector<std::string> arguments;
    int exitCode;
    std::string out; // UTF-8 unless the case asks for cp932
    std::string errPart;
};

class SearchCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string data;
        data += recordLine({ { Id, "1" }, { Name, "鉄の剣"_sj }, { Material1, "鉄塊"_sj },
            { Material1 + 1, "鉄塊"_sj }, { Crystal, "1" }, { SkillUsed1, "1" }, { CapLevel1, "20" },
            { Hq, "<><>" }, { Skill, "1" }, { Rank, "2" }, { Description, "（片手剣） Lv10～"_sj } });
        data += recordLine({ { Id, "2" }, { Name, "鉄の盾 2"_sj }, { Material1, "鉄塊"_sj },
            { Material1 + 1, "木材"_sj }, { Crystal, "1" }, { SkillUsed1, "1" }, { CapLevel1, "15" },
            { Hq, "<><>" }, { Skill, "1" }, { Rank, "2" }, { Description, "【盾】 \"堅い\" Lv12～"_sj } });
        data += recordLine({ { Id, "3" }, { Name, "麻の服"_sj }, { Material1, "麻布"_sj }, { Crystal, "4" },
            { SkillUsed1 + 1, "1" }, { CapLevel1 + 1, "8" }, { Hq, "<><>" }, { Skill, "2" }, { Rank, "1" },
            { Description, "【胴】 Lv5～ All Job"_sj } });
        data += recordLine({ { Id, "4" }, { Name, "鉄の指輪"_sj }, { Material1, "鉄塊"_sj }, { Crystal, "1" },
            { SkillUsed1, "1" }, { CapLevel1, "12" }, { Hq, "<><>" }, { Skill, "1" }, { Rank, "3" },
            { Description, "【指】 Lv30～"_sj } });
        data += recordLine({ { Id, "5" }, { Name, "謎の鉄片"_sj }, { Crystal, "1" }, { Hq, "<><>" },
            { Skill, "0" }, { Rank, "0" }, { Description, "素材"_sj } });
        test::writeFileBytes(m_dir.path() / "vornik.txt", data);
    }

    ProgramRun search(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), { "search", "--program-dir", m_dir.path().string() });
        return runWithoutDisplay(VORNIK_EXECUTABLE, arguments);
    }

    test::TempProgramDir m_dir;
};

TEST_F(SearchCommandTest, FormatsSortsAndExitCodes)
{
    const std::string header = "名前\tﾗﾝｸ\t限界\t素材\t説明\n";
    const SearchCase cases[] = {
        // No skill: one pass by the 限界 text, empty cells last. Columns are
        // those of a first start (nothing in vornik.ini yet).
        { "aligned text", { "--name", "鉄" }, 0,
            "名前        ﾗﾝｸ     限界       素材               説明\n"
            " 鉄の指輪   徒弟    鍛冶: 12   (炎) 鉄塊　        【指】 Lv30～\n"
            " 鉄の盾×2  見習い  鍛冶: 15   (炎) 鉄塊　木材　  【盾】 \"堅い\" Lv12～\n"
            " 鉄の剣     見習い  鍛冶: 20   (炎) 鉄塊×2　     （片手剣） Lv10～\n"
            " 謎の鉄片   -                  　                 素材\n",
            "" },
        // A skill: the second pass orders by rank, keeping the 限界 order
        // within one rank.
        { "skill, two passes", { "--name=鉄", "--skill", "鍛冶", "--format", "tsv" }, 0,
            header
                + " 鉄の盾×2\t見習い\t鍛冶: 15 \t(炎) 鉄塊　木材　\t【盾】 \"堅い\" Lv12～\n"
                  " 鉄の剣\t見習い\t鍛冶: 20 \t(炎) 鉄塊×2　\t（片手剣） Lv10～\n"
                  " 鉄の指輪\t徒弟\t鍛冶: 12 \t(炎) 鉄塊　\t【指】 Lv30～\n",
            "" },
        { "all records stay in file order", { "--all", "--format", "tsv" }, 0,
            header
                + " 鉄の剣\t見習い\t鍛冶: 20 \t(炎) 鉄塊×2　\t（片手剣） Lv10～\n"
                  " 鉄の盾×2\t見習い\t鍛冶: 15 \t(炎) 鉄塊　木材　\t【盾】 \"堅い\" Lv12～\n"
                  " 麻の服\t素人\t裁縫:  8 \t(風) 麻布　\t【胴】 Lv5～ All Job\n"
                  " 鉄の指輪\t徒弟\t鍛冶: 12 \t(炎) 鉄塊　\t【指】 Lv30～\n"
                  " 謎の鉄片\t-\t\t　\t素材\n",
            "" },
        { "crystal, class and job",
            { "--crystal", "風", "--class", "【", "--job", "戦士", "--format", "tsv" }, 0,
            header + " 麻の服\t素人\t裁縫:  8 \t(風) 麻布　\t【胴】 Lv5～ All Job\n", "" },
        { "json", { "--name", "鉄の盾", "--format", "json" }, 0,
            "[\n{\"名前\": \" 鉄の盾×2\", \"ﾗﾝｸ\": \"見習い\", \"限界\": \"鍛冶: 15 \", \"素材\": \"(炎) "
            "鉄塊　木材　\", "
            "\"説明\": \"【盾】 \\\"堅い\\\" Lv12～\"}\n]\n",
            "" },
        { "csv, level range", { "--level", "10-15", "--format", "csv" }, 0,
            "名前,ﾗﾝｸ,限界,素材,説明\r\n"
            " 鉄の盾×2,見習い,鍛冶: 15 ,(炎) 鉄塊　木材　,\"【盾】 \"\"堅い\"\" Lv12～\"\r\n"
            " 鉄の剣,見習い,鍛冶: 20 ,(炎) 鉄塊×2　,（片手剣） Lv10～\r\n",
            "" },
        { "cp932 output", { "--name", "麻", "--format", "tsv", "--encoding", "cp932" }, 0,
            utf8ToSjis(header + " 麻の服\t素人\t裁縫:  8 \t(風) 麻布　\t【胴】 Lv5～ All Job\n"), "" },
        { "exact name without its count finds nothing", { "--name", "鉄", "--exact", "--format", "json" }, 1,
            "[\n]\n", "" },
        { "no criterion", {}, 2, "", "検索条件を指定してください。" },
        { "rank not in the table", { "--rank", "名人" }, 2, "",
            "ランク「名人」は vornik.ini のランクにありません。" },
        { "bad level", { "--level", "abc" }, 2, "", "--level には" },
        { "unknown option", { "--colour" }, 2, "", "不明なオプションです: --colour" },
        { "missing data file", { "--name", "鉄", "--data", "/nonexistent/vornik.txt" }, 2, "",
            "下記ファイルが見つかりませんでした。\n/nonexistent/vornik.txt" },
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = search(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, c.out);
        EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
    }
    // Reading never writes: no settings file appears.
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "vornik.ini"));
}

TEST_F(SearchCommandTest, SavedSearchAndMemo)
{
    test::writeFileBytes(m_dir.path() / "vornik.ini", "[search]\r\n盾=\"0,0,0,盾,鍛冶,,,,,,\"\r\n"_sj);
    test::writeFileBytes(m_dir.path() / "vornik_memo.txt", "3,倉庫にある\r\n"_sj);
    const std::string header = "名前\tﾗﾝｸ\t限界\t素材\t説明\n";
    const SearchCase cases[] = {
        { "saved in the window", { "--saved", "盾", "--format", "tsv" }, 0,
            header + " 鉄の盾×2\t見習い\t鍛冶: 15 \t(炎) 鉄塊　木材　\t【盾】 \"堅い\" Lv12～\n", "" },
        { "no such saved search", { "--saved", "ない" }, 2, "",
            "保存した検索「ない」は vornik.ini にありません。" },
        { "saved and typed criteria", { "--saved", "盾", "--name", "鉄" }, 2, "", "--saved と" },
        { "memo", { "--name", "倉庫", "--memo", "--format", "tsv" }, 0,
            header + " 麻の服\t素人\t裁縫:  8 \t(風) 麻布　\t【胴】 Lv5～ All Job\n", "" },
        { "memo not asked for", { "--name", "倉庫" }, 1, "", "" },
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = search(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.exitCode != 1) {
            EXPECT_EQ(run.out, c.out);
        }
        EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
    }
}

TEST(CommandLineTest, HelpVersionAndNoDisplay)
{
    const ProgramRun help = runWithoutDisplay(VORNIK_EXECUTABLE, { "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("使い方: vornik", 0), 0u) << help.out;
    const ProgramRun version = runWithoutDisplay(VORNIK_EXECUTABLE, { "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "vornik " VORNIK_VERSION_TEXT "\n");
    // The window without a display: a message, not Qt's abort.
    const ProgramRun window = runWithoutDisplay(VORNIK_EXECUTABLE, {});
    EXPECT_EQ(window.exitCode, 2);
    EXPECT_NE(window.err.find("no display is available"), std::string::npos) << window.err;
}

} // namespace
