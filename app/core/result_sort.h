#pragma once
// Ordering of the result list's rows by one column, with a second column to
// break ties. Plain C++ on the rows' Shift-JIS cell texts.

#include "app/core/result_row.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vornik {

struct SortOrder {
    std::size_t sortColumn = 0;
    std::size_t tieColumn = 0;
    bool ascending = true;
    bool byRank = false; // the sort column is the rank column
};

// Three-way comparison of two rows in ascending order:
//  - rank column: cells "-" after every rank, otherwise by the rank's index
//    in the rank table; one rank compares equal (a stable sort then keeps
//    the previous order of its rows);
//  - other columns: empty cells after non-empty ones, then unsigned byte
//    order, then the tie-break column in byte order.
int CompareRows(const ResultRow& a, const ResultRow& b, const SortOrder& order);

// Stable sort by CompareRows; descending is the exact reverse, so rows that
// compare equal keep their order in both directions.
void SortResults(std::vector<ResultRow>& rows, const SortOrder& order);

// The same sort as the new order of positions, the rows left in place:
// `sorted[i]` is the position in `rows` of the row that goes to position i.
void sortedPositions(
    const std::vector<ResultRow>& rows, const SortOrder& order, std::vector<std::uint32_t>& sorted);

} // namespace vornik
