// `vornik export` as a user runs it: the window's three exports written
// without the window, and every failure reported with exit status 2.

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
using vornik::test::readFileBytes;
using vornik::test::recordLine;
using vornik::test::runWithoutDisplay;

namespace {

struct ExportCase {
    const char* what;
    std::vector<std::string> arguments; // "OUT" stands for the output file
    int exitCode;
    std::string file; // Shift-JIS; the whole file, or for the page a part of it
    bool wholeFile;
    std::string errPart;
};

TEST(ExportCommandTest, TheWindowsExportsWithoutTheWindow)
{
    test::TempProgramDir dir;
    test::writeFileBytes(dir.path() / "vornik.txt",
        recordLine(
            { { Id, "1" }, { Name, "鉄の剣"_sj }, { Material1, "鉄塊"_sj }, { Material1 + 1, "鉄塊"_sj },
                { Material1 + 2, "木材"_sj }, { Crystal, "1" }, { SkillUsed1, "1" }, { CapLevel1, "20" },
                { Hq, "<><>" }, { Skill, "1" }, { Rank, "3" }, { Description, "よく切れる剣"_sj } })
            + recordLine({ { Id, "2" }, { Name, "謎の石"_sj }, { Description, "素材"_sj } }));
    const ExportCase cases[] = {
        { "csv", { "--csv", "OUT", "--name", "鉄" }, 0,
            utf8ToSjis(
                "名前,ﾗﾝｸ,限界,素材,説明\r\n 鉄の剣,徒弟,鍛冶: 20 ,(炎) 鉄塊×2　木材　,よく切れる剣\r\n"),
            true, "" },
        { "html with the search line", { "--html", "OUT", "--name", "鉄", "--skill", "鍛冶" }, 0,
            "[検索条件]　鉄 鍛冶 "_sj, false, "" },
        // Every record with a first material, criteria play no part.
        { "ime dictionary", { "--ime", "OUT" }, 0,
            utf8ToSjis("＠かじ\t鉄の剣炎鉄塊2木材1\t顔文字\t【ユーザー】\r\n"
                       "＠かじ3\t鉄の剣炎鉄塊2木材1\t顔文字\t【ユーザー】\r\n"),
            true, "" },
        { "ime with criteria", { "--ime", "OUT", "--name", "鉄" }, 2, "", true, "--ime はすべてのレシピ" },
        { "no export named", { "--name", "鉄" }, 2, "", true, "--csv、--html、--ime のどれか" },
        { "folder missing", { "--csv", "/nonexistent/out.csv", "--all" }, 2, "", true,
            "/nonexistent/out.csv" },
    };
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path out = dir.path() / "out.txt";
        std::filesystem::remove(out);
        std::vector<std::string> arguments { "export", "--program-dir", dir.path().string() };
        for (const std::string& argument : c.arguments)
            arguments.push_back(argument == "OUT" ? out.string() : argument);
        const ProgramRun run = runWithoutDisplay(VORNIK_EXECUTABLE, arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
        const std::string written = readFileBytes(out);
        if (c.wholeFile)
            EXPECT_EQ(written, c.file);
        else
            EXPECT_NE(written.find(c.file), std::string::npos);
    }
}

} // namespace
