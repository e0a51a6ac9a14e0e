#include "app/core/result_sort.h"

#include "storage/vocabulary.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace vornik {
namespace {

const std::string& cell(const ResultRow& row, std::size_t column)
{
    static const std::string empty;
    return column < row.cells.size() ? row.cells[column] : empty;
}

int compareBytes(std::string_view a, std::string_view b)
{
    // std::string_view compares chars through char_traits<char>, which
    // compares as unsigned char: Shift-JIS lead bytes sort after ASCII.
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Position in the rank table, with "-" after every real rank.
int rankKey(const std::string& text)
{
    if (text == "-")
        return 1 << 20;
    return rankIndex(text);
}

int compareTexts(const ResultRow& a, const ResultRow& b, const SortOrder& order)
{
    const std::string& x = cell(a, order.sortColumn);
    const std::string& y = cell(b, order.sortColumn);
    if (x.empty() != y.empty())
        return x.empty() ? 1 : -1;
    if (const int c = compareBytes(x, y))
        return c;
    return compareBytes(cell(a, order.tieColumn), cell(b, order.tieColumn));
}

} // namespace

int CompareRows(const ResultRow& a, const ResultRow& b, const SortOrder& order)
{
    if (order.byRank) {
        const int x = rankKey(cell(a, order.sortColumn));
        const int y = rankKey(cell(b, order.sortColumn));
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return compareTexts(a, b, order);
}

void SortResults(std::vector<ResultRow>& rows, const SortOrder& order)
{
    if (rows.size() < 2)
        return;
    std::vector<int> rankKeys;
    if (order.byRank) {
        // The rank lookup walks the table; do it once per row, not per
        // comparison.
        rankKeys.reserve(rows.size());
        for (const ResultRow& row : rows)
            rankKeys.push_back(rankKey(cell(row, order.sortColumn)));
    }
    std::vector<std::size_t> index(rows.size());
    std::iota(index.begin(), index.end(), std::size_t{0});
    auto compare = [&](std::size_t i, std::size_t j) {
        if (order.byRank)
            return rankKeys[i] < rankKeys[j] ? -1 : (rankKeys[i] > rankKeys[j] ? 1 : 0);
        return compareTexts(rows[i], rows[j], order);
    };
    std::stable_sort(index.begin(), index.end(), [&](std::size_t i, std::size_t j) {
        const int c = compare(i, j);
        return order.ascending ? c < 0 : c > 0;
    });
    std::vector<ResultRow> sorted;
    sorted.reserve(rows.size());
    for (std::size_t i : index)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

} // namespace vornik
