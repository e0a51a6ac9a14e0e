#include "app/core/craft_plan.h"

#include "platform/sjis_literal.h"
#include "tests/support/planner_data.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vornik;

namespace {

class CraftPlanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::writeFileBytes(dir.path() / "vornik.txt", test::plannerDataFile());
        StorageError error;
        std::optional<CraftIndex> scanned = scanCraftIndex(error);
        ASSERT_TRUE(scanned);
        index = std::move(*scanned);
    }

    Plan plan(const std::vector<WantedItem>& wanted) const { return makePlan(index, choices, wanted); }

    // "name count" for every bought item, in the plan's order.
    static std::vector<std::string> raw(const Plan& p)
    {
        std::vector<std::string> out;
        for (const PlanCount& c : p.raw)
            out.push_back(c.name + " " + std::to_string(c.count));
        return out;
    }

    // "id crafts surplus" for every craft, in the plan's order.
    static std::vector<std::string> crafts(const Plan& p)
    {
        std::vector<std::string> out;
        for (const CraftStep& s : p.crafts)
            out.push_back(s.recipe->id + " " + std::to_string(s.crafts) + " " + std::to_string(s.surplus));
        return out;
    }

    test::TempProgramDir dir;
    CraftIndex index;
    PlanChoices choices;
};

} // namespace

TEST(CraftPlanText, YieldAndWantedLines)
{
    const struct {
        const char* text;
        const char* item;
        std::int64_t count;
    } yields[] = { { "X 12", "X", 12 }, { "X", "X", 1 }, { "X Y", "X Y", 1 }, { "X 0", "X", 1 } };
    for (const auto& y : yields)
        EXPECT_EQ(splitYield(y.text), std::make_pair(std::string(y.item), y.count)) << y.text;

    const struct {
        std::string line;
        std::string name; // empty: no item
        std::int64_t count;
    } lines[] = {
        { "蒼鋼の剣×3"_sj, "蒼鋼の剣"_sj, 3 },
        { " 蒼鋼の剣 12 "_sj, "蒼鋼の剣"_sj, 12 },
        { "蒼鋼の剣　３"_sj, "蒼鋼の剣"_sj, 3 },
        { "ポーション2"_sj, "ポーション2"_sj, 1 },
        { "蒼鋼の剣"_sj, "蒼鋼の剣"_sj, 1 },
        { "蒼鋼の剣×0"_sj, "", 0 },
        { " \t"_sj, "", 0 },
    };
    for (const auto& l : lines) {
        const std::optional<WantedItem> item = parseWantedLine(l.line);
        EXPECT_EQ(item ? item->name : "", l.name) << l.line;
        EXPECT_EQ(item ? item->quantity : 0, l.count) << l.line;
    }
}

TEST_F(CraftPlanTest, TotalsOrderAndSurplus)
{
    const Plan p = plan({ { "蒼鋼の剣"_sj, 2 } });
    // 4 ingots take 2 crafts of 3 (2 left over); 2 straps 1 craft of 3.
    EXPECT_EQ(crafts(p), (std::vector<std::string> { "2 2 2", "4 1 0", "3 1 1", "1 2 0" }));
    EXPECT_EQ(raw(p), (std::vector<std::string> { "蒼鉱石 6"_sj, "砂石 2"_sj, "獣の皮 1"_sj, "岩塩 1"_sj }));
    EXPECT_EQ(p.crystals, (std::vector<std::pair<int, std::int64_t>> { { 1, 4 }, { 2, 2 } }));
    EXPECT_EQ(p.crafts.back().recipe->level, "30");
    EXPECT_TRUE(p.cycles.empty());
    EXPECT_TRUE(p.unknown.empty());
}

TEST_F(CraftPlanTest, ChoicesBuyAndSharedItems)
{
    choices.recipe["革紐"_sj] = 1; // the second record: one strap from two threads
    EXPECT_EQ(
        crafts(plan({ { "蒼鋼の剣"_sj, 2 } })), (std::vector<std::string> { "2 2 2", "5 2 0", "1 2 0" }));
    choices.buy.insert("蒼鋼インゴット"_sj);
    EXPECT_EQ(raw(plan({ { "蒼鋼の剣"_sj, 2 } })),
        (std::vector<std::string> { "蒼鋼インゴット 4"_sj, "麻糸 4"_sj }));

    // An ingot wanted on its own and through the sword is crafted once for both.
    choices = {};
    const Plan shared = plan({ { "蒼鋼の剣"_sj, 1 }, { "蒼鋼インゴット"_sj, 1 }, { "幻の花"_sj, 2 } });
    EXPECT_EQ(shared.crafts.front().recipe->id, "2");
    EXPECT_EQ(shared.crafts.front().crafts, 1);
    EXPECT_EQ(shared.unknown, std::vector<std::string> { "幻の花"_sj });
    const std::vector<std::string> bought = raw(shared);
    EXPECT_NE(std::find(bought.begin(), bought.end(), "幻の花 2"_sj), bought.end());
}

TEST_F(CraftPlanTest, CycleIsMarkedAndNotExpanded)
{
    const Plan p = plan({ { "賢者の石"_sj, 2 } });
    EXPECT_EQ(crafts(p), (std::vector<std::string> { "7 1 0", "6 2 0" }));
    EXPECT_EQ(raw(p), (std::vector<std::string> { "賢者の石 1"_sj, "灰 1"_sj, "水晶 2"_sj }));
    EXPECT_EQ(p.cycles, std::vector<std::string> { "賢者の石"_sj });

    const PlanNode stone = planNode(index, choices, "賢者の石"_sj, 2);
    const std::vector<PlanNode> powder = planChildren(index, choices, stone, { stone.item });
    ASSERT_EQ(powder.size(), 2U);
    EXPECT_EQ(powder[0].quantity, 4);
    EXPECT_EQ(powder[0].crafts, 1);
    const std::vector<PlanNode> back
        = planChildren(index, choices, powder[0], { stone.item, powder[0].item });
    EXPECT_TRUE(back[0].cycle);
    EXPECT_EQ(back[0].recipe, nullptr);
    EXPECT_FALSE(back[1].cycle);
}

TEST_F(CraftPlanTest, IndexIsReadAgainOnlyAfterTheFileChanged)
{
    StorageError error;
    const std::size_t before = craftIndexScanCount();
    const std::shared_ptr<const CraftIndex> first = currentCraftIndex(error);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(currentCraftIndex(error), first);
    EXPECT_EQ(craftIndexScanCount(), before + 1);
    test::writeFileBytes(dir.path() / "vornik.txt", test::plannerDataFile() + "8,NEW 2,,,,,,,,,0\r\n");
    const std::shared_ptr<const CraftIndex> second = currentCraftIndex(error);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(craftIndexScanCount(), before + 2);
    EXPECT_NE(second->recipesFor("NEW"), nullptr);
}

// Thousands of items, each made by one or two records: every one is found
// with its recipes in file order, after the item table has grown many times.
TEST(CraftIndexTable, FindsEveryItemAfterGrowing)
{
    CraftIndex index;
    constexpr int kItems = 3000;
    for (int round = 0; round < 2; ++round) {
        for (int item = 0; item < kItems; item += round + 1) {
            CraftRecipe recipe;
            recipe.id = std::to_string(round * kItems + item);
            recipe.item = "品"_sj + std::to_string(item);
            index.add(std::move(recipe));
        }
    }
    EXPECT_EQ(index.itemCount(), std::size_t { kItems });
    for (int item = 0; item < kItems; ++item) {
        const ItemRecipes* recipes = index.recipesFor("品"_sj + std::to_string(item));
        ASSERT_NE(recipes, nullptr) << item;
        ASSERT_EQ(recipes->size(), item % 2 == 0 ? 2u : 1u) << item;
        EXPECT_EQ((*recipes)[0].id, std::to_string(item));
        EXPECT_EQ((*recipes)[recipes->size() - 1].alternative, recipes->size() - 1);
    }
    EXPECT_EQ(index.recipesFor("品"_sj + std::to_string(kItems)), nullptr);
    EXPECT_EQ(CraftIndex().recipesFor("品"_sj), nullptr);
}
