#include "app/core/craft_plan_table.h"

#include "platform/sjis_literal.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"

#include <algorithm>

namespace vornik {
namespace {

bool contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string countText(std::int64_t count)
{
    return std::to_string(count);
}

} // namespace

PlanTable planTotalsTable(const Plan& plan)
{
    PlanTable table;
    table.headings = { "区分"_sj, "名前"_sj, "個数"_sj, "合成回数"_sj, "余り"_sj, "スキル"_sj, "ランク"_sj,
        "必要レベル"_sj };
    for (const PlanCount& raw : plan.raw) {
        const std::string& kind = contains(plan.unknown, raw.name) ? "素材（レシピなし）"_sj
            : contains(plan.cycles, raw.name)                      ? "素材（循環）"_sj
                                                                   : "素材"_sj;
        table.rows.emplace_back("", 0, std::vector<std::string> { kind, raw.name, countText(raw.count) });
    }
    for (const auto& [crystal, count] : plan.crystals) {
        table.rows.emplace_back("", crystal,
            std::vector<std::string> { "クリスタル"_sj, crystalName(crystal), countText(count) });
    }
    for (const CraftStep& step : plan.crafts) {
        const CraftRecipe& recipe = *step.recipe;
        table.rows.emplace_back(recipe.id, recipe.crystal,
            std::vector<std::string> { "合成"_sj, recipe.item, countText(step.needed + step.surplus),
                countText(step.crafts), countText(step.surplus), skillName(recipe.skill),
                rankName(recipe.rank), recipe.level });
    }
    return table;
}

std::string planTotalsText(const PlanTable& table)
{
    std::string text;
    const auto line = [&](std::size_t count, const auto& cellAt) {
        for (std::size_t column = 0; column < count; ++column) {
            if (column > 0)
                text += '\t';
            text += cellAt(column);
        }
        text += "\r\n";
    };
    line(table.headings.size(), [&](std::size_t column) { return std::string_view(table.headings[column]); });
    for (const ResultRow& row : table.rows)
        line(table.headings.size(), [&](std::size_t column) { return row.cell(column); });
    return text;
}

} // namespace vornik
