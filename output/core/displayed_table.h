#pragma once
// The result list as the user sees it, which is what the table exports write:
// the visible columns' headings by position (0 is the name column) and the
// rows in display order, all Shift-JIS.

#include "app/core/result_sort.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

struct DisplayedTable {
    const std::vector<std::string>& headings;
    RowRange rows;
};

// The list hands out at most this many bytes of a heading or a cell; longer
// texts are cut (never inside a double-byte character).
inline constexpr std::size_t kMaxHeadingBytes = 199;
inline constexpr std::size_t kMaxCellBytes = 999;

// Heading `column` as the list shows it.
std::string_view shownHeading(const DisplayedTable& table, std::size_t column);
// Cell `column` of `row` as the list shows it; empty when the row has no
// such cell, so every exported line has one field per column.
std::string_view shownCell(const ResultRow& row, std::size_t column);

} // namespace vornik
