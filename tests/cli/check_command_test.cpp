// `vornik check` on data files with one fault of each kind the check knows,
// run as a user runs it: every finding with its line, the summary, the exit
// status, and the files left as they were.

#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "tests/support/record_lines.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

using namespace vornik;
using namespace vornik::field;
using vornik::test::ProgramRun;
using vornik::test::readFileBytes;
using vornik::test::recordLine;
using vornik::test::runWithoutDisplay;
using vornik::test::writeFileBytes;
using namespace std::string_literals;

namespace {

// A record as the program writes it, with `changes` on top.
std::string record(const std::string& id, const std::vector<test::Field>& changes = {})
{
    std::vector<test::Field> fields { { Id, id }, { Name, "鉄の剣"_sj }, { Material1, "鉄塊"_sj },
        { Material1 + 1, "鉄塊"_sj }, { Crystal, "1" }, { SkillUsed1, "1" }, { CapLevel1, "20" },
        { Hq, "<><>" }, { Skill, "1" }, { Rank, "3" }, { Description, "（片手剣） Lv10～"_sj }, { Ex, "0" },
        { Rare, "0" }, { Stackable, "1" }, { Desynth, "鉄片 2"_sj } };
    fields.insert(fields.end(), changes.begin(), changes.end());
    return recordLine(fields);
}

struct CheckCase {
    const char* what;
    std::string data;
    std::string memo;
    int exitCode;
    std::string out; // "D" and "M" at the start of a line stand for the two paths
};

std::string withPaths(const std::string& expected, const std::string& data, const std::string& memo)
{
    std::string out;
    std::size_t start = 0;
    while (start < expected.size()) {
        const std::size_t end = expected.find('\n', start);
        std::string line = expected.substr(start, end - start + 1);
        if (line.starts_with("D:"))
            line = data + line.substr(1);
        else if (line.starts_with("M:"))
            line = memo + line.substr(1);
        out += line;
        start = end + 1;
    }
    return out;
}

TEST(CheckCommandTest, FindingsLinesAndExitCodes)
{
    const std::string longText(70, 'a'); // pushes a fault past the first 64 bytes
    const CheckCase cases[] = {
        { "clean", record("1") + record("2"), "1," + "よく切れる"_sj + "\r\n", 0,
            "データ 2 行、メモ 1 行を調べました: 問題はありません。\n" },
        { "one of every fault",
            record("1") + "2,"s + "短い行"_sj + "\r\n" // 2 fields
                + record("1") // duplicate
                + record("04") // not a plain decimal
                + record("5", { { Description, longText + "\xFF" } }) // not Shift-JIS, past one block
                + record("6", { { Description, "a\rb" } }) // lone CR
                + record("7", { { Skill, "25" }, { Rank, "100" }, { Crystal, "x" } }) // outside the tables
                + record("8", { { Material1, "" } }) // material 1 empty
                + record("9", { { Material1, "鉄塊 8"_sj } }) // nine units
                + record("10", { { Name, "鉄の剣 abc"_sj }, { Hq, "A<>B" }, { Desynth, "鉄片 x"_sj } })
                + "11,鉄の剣" + std::string(48, ',') + "\r\n" // UTF-8
                + "\r\n" // empty
                + "13," + "剣"_sj.substr(0, 1) + "\r\n", // a lead byte without its second byte
            "1,a\r\n99," + "孤立"_sj + "\r\nno comma\r\n", 1,
            "D:2: 項目が 2 個あります（50 個のはずです）\n"
            "D:3: id 1 はこれより前の行にもあります（id の重複）\n"
            "D:4: id「04」は正の 10 進数ではありません\n"
            "D:5: 140 バイト目の 0xFF は Shift-JIS の文字になりません\n"
            "D:6: 71 バイト目に CR だけの改行があります（改行は CR LF か LF です）\n"
            "D:7: ｽｷﾙの番号「25」が表の外です（0～19）\n"
            "D:7: ﾗﾝｸの番号「100」が表の外です（0～99）\n"
            "D:7: ｸﾘｽﾀﾙの番号「x」が表の外です（0～19）\n"
            "D:8: 素材1が空なのに素材2があります（素材は 1 番目から詰めて入ります）\n"
            "D:9: 素材が合計 9 個あります（8 個までです）\n"
            "D:10: 名前の個数「abc」が数字ではありません\n"
            "D:10: ﾊｲｸｫﾘﾃｨの項目に「<>」が 1 個あります（3 つの結果を分ける 2 個のはずです）\n"
            "D:10: 分解の個数「x」が数字ではありません\n"
            "D:11: この行は Shift-JIS ではなく UTF-8 で書かれているようです\n"
            "D:12: 空の行です（項目が 50 個の行のはずです）\n"
            "D:13: 4 バイト目の 0x8C は Shift-JIS の文字になりません\n"
            "D:13: 項目が 2 個あります（50 個のはずです）\n"
            "M:2: id「99」のレシピがありません\n"
            "M:3: カンマのない行です（メモを保存すると消えます）\n"
            "データ 13 行、メモ 3 行を調べました: 19 件の問題があります。\n" },
        { "UTF-16",
            "\xFF\xFE"
            "1\0,\0"s,
            "", 1,
            "D: UTF-16 のファイルです（Shift-JIS のファイルではありません）\n"
            "データ 0 行、メモ 0 行を調べました: 1 件の問題があります。\n" },
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempProgramDir dir;
        const std::string dataPath = dir.file("recipes.txt");
        const std::string memoPath = dir.file("recipes_memo.txt");
        writeFileBytes(dataPath, c.data);
        if (!c.memo.empty())
            writeFileBytes(memoPath, c.memo);
        const ProgramRun run = runWithoutDisplay(
            VORNIK_EXECUTABLE, { "check", dataPath, "--program-dir", dir.path().string() });
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, withPaths(c.out, dataPath, memoPath));
        // Read only: both files as they were, nothing new in the folder.
        EXPECT_EQ(readFileBytes(dataPath), c.data);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), c.memo.empty() ? 1 : 2);
    }
}

TEST(CheckCommandTest, UnreadableFile)
{
    test::TempProgramDir dir;
    const ProgramRun run = runWithoutDisplay(VORNIK_EXECUTABLE, { "check", dir.file("none.txt") });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("下記ファイルが見つかりませんでした。"), std::string::npos) << run.err;
}

} // namespace
