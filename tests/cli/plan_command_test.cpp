// `vornik plan` on the planner's hand-made data file, run as a user runs it:
// the totals and craft order, the exit status, and the file left as it was.

#include "platform/sjis_codec.h"
#include "tests/support/planner_data.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

using namespace vornik;

namespace {

// A tsv line of the eight columns; cells not given are empty.
std::string row(std::vector<std::string> cells)
{
    cells.resize(8);
    std::string line = cells[0];
    for (std::size_t column = 1; column < cells.size(); ++column)
        line += "\t" + cells[column];
    return line + "\n";
}

} // namespace

TEST(PlanCommandTest, TotalsCraftOrderAndExitCodes)
{
    const std::string head = "区分\t名前\t個数\t合成回数\t余り\tスキル\tランク\t必要レベル\n";
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out;
    } cases[] = {
        { { "蒼鋼の剣×2" }, 0,
            head + row({ "素材", "蒼鉱石", "6" }) + row({ "素材", "砂石", "2" })
                + row({ "素材", "獣の皮", "1" }) + row({ "素材", "岩塩", "1" })
                + row({ "クリスタル", "炎", "4" }) + row({ "クリスタル", "水", "2" })
                + row({ "合成", "蒼鋼インゴット", "6", "2", "2", "鍛冶", "素人", "20" })
                + row({ "合成", "なめし革", "1", "1", "0", "裁縫", "素人", "5" })
                + row({ "合成", "革紐", "3", "1", "1", "裁縫", "素人", "12" })
                + row({ "合成", "蒼鋼の剣", "2", "2", "0", "鍛冶", "見習い", "30" }) },
        { { "蒼鋼の剣 2", "--buy", "蒼鋼インゴット", "--buy=革紐" }, 0,
            head + row({ "素材", "蒼鋼インゴット", "4" }) + row({ "素材", "革紐", "2" })
                + row({ "クリスタル", "炎", "2" })
                + row({ "合成", "蒼鋼の剣", "2", "2", "0", "鍛冶", "見習い", "30" }) },
        { { "賢者の石", "幻の花×2" }, 1,
            head + row({ "素材（循環）", "賢者の石", "1" }) + row({ "素材", "灰", "1" })
                + row({ "素材", "水晶", "1" }) + row({ "素材（レシピなし）", "幻の花", "2" })
                + row({ "クリスタル", "土", "2" })
                + row({ "合成", "賢者の粉", "4", "1", "2", "錬金術", "徒弟", "55" })
                + row({ "合成", "賢者の石", "1", "1", "0", "錬金術", "徒弟", "60" }) },
        { { "蒼鋼の剣×0" }, 2, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        test::TempProgramDir dir;
        const std::string data = test::plannerDataFile();
        test::writeFileBytes(dir.path() / "vornik.txt", data);
        std::vector<std::string> arguments { "plan" };
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        arguments.insert(arguments.end(), { "--format", "tsv", "--program-dir", dir.path().string() });
        const test::ProgramRun run = test::runWithoutDisplay(VORNIK_EXECUTABLE, arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(test::readFileBytes(dir.path() / "vornik.txt"), data);
    }
}
