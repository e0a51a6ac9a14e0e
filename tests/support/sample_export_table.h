#pragma once
// The small shown table the export tests write: four visible columns; the
// rows hold a comma, a quote, empty cells, "②" and a row with fewer cells
// than columns.

#include "app/core/result_sort.h"
#include "output/core/displayed_table.h"
#include "platform/sjis_literal.h"

#include <string>
#include <vector>

namespace vornik::test {

// A shown row of record `id` with these cells and no icon.
inline ResultRow row(int id, std::vector<std::string> cells)
{
    return ResultRow(std::to_string(id), 0, cells);
}

struct SampleTable {
    std::vector<std::string> headings = { "名前"_sj, "ﾗﾝｸ"_sj, "素材"_sj, "説明"_sj };
    std::vector<ResultRow> rows = {
        row(3, { " 銀の指輪"_sj, "見習い"_sj, "(炎) 銀塊×2　"_sj, "指に　はめる。"_sj }),
        row(5, { " 樫の杖×3"_sj, "", "樫材　"_sj, "A,B ②"_sj }),
        row(9, { " 赤いリボン"_sj, "職人"_sj, "", "say \"hi\"" }),
        row(4, { " 古い鍵"_sj, "-" }),
    };
    DisplayedTable table() const { return { headings, rows }; }
};

} // namespace vornik::test
