#pragma once
// A plan's totals as one table (Shift-JIS): the bought items, the crystals
// and the crafts in an order that can be followed. The window shows it,
// copies and exports it, and the command line prints it.

#include "app/core/craft_plan.h"
#include "app/core/result_row.h"
#include "output/core/displayed_table.h"

#include <string>
#include <vector>

namespace vornik {

struct PlanTable {
    std::vector<std::string> headings;
    std::vector<ResultRow> rows;
    DisplayedTable view() const { return { headings, rows }; }
};

// Columns: 区分, 名前, 個数, 合成回数, 余り, スキル, ランク, 必要レベル.
// 区分 is "素材" for a bought item ("素材（循環）" when it closes a cycle,
// "素材（レシピなし）" for a wanted name no record makes), "クリスタル", or
// "合成" for a craft, whose 個数 is what its crafts make.
PlanTable planTotalsTable(const Plan& plan);

// The same table as tab-separated lines for the clipboard.
std::string planTotalsText(const PlanTable& table);

} // namespace vornik
