#pragma once
// The rows of the result list, kept as the data-file lines of their records.
// "すべてのデータを表示" lists every record, and writing every cell of every row
// took several times as long as reading the file; the user sees a screenful.
// So a row is only where its line lies in the blocks the scan filled, and its
// cells are written when they are shown, sorted or exported. The lines are
// the bytes as read: the rows show the records as they were when the search
// ran, as rows always have, however the file changes afterwards.

#include "app/core/result_columns.h"
#include "app/core/result_row.h"
#include "app/core/result_sort.h"
#include "storage/record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

class ResultList {
public:
    // A matched record's line (without its line end); its row goes last.
    void appendLine(std::string_view line);
    std::size_t size() const { return m_order.size(); }
    bool empty() const { return m_order.empty(); }
    void clear();

    // By row, in display order.
    std::string_view line(std::size_t row) const;
    // The id text exactly as the line holds it (the text commands take back
    // to the file).
    std::string_view id(std::size_t row) const;
    // Which line a row shows: stays with the row through sorts and removals.
    std::uint32_t lineIndex(std::size_t row) const { return m_order[row]; }
    // The row with every cell of `layout` written. Not for two threads at
    // once (it decodes into a record kept for the purpose).
    ResultRow formatRow(const ColumnLayout& layout, std::size_t row) const;
    RowRange formattedRows(const ColumnLayout& layout) const;

    // Stable sorts, one after the other, each over the order the previous
    // one left: the cells of only the columns they compare are written, once
    // for all passes.
    void sort(const ColumnLayout& layout, const std::vector<SortOrder>& passes);
    // Rows first .. first + count - 1 leave the list.
    void removeRows(std::size_t first, std::size_t count);

    // Bytes held for the rows (the lines and the order), for measurements.
    std::size_t heldBytes() const;

private:
    struct LineSpan {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::string_view lineAt(std::uint32_t index) const;

    // Blocks never grow past the room reserved for them, so a line stays
    // where it was put and no block is ever copied.
    std::vector<std::string> m_blocks;
    std::vector<LineSpan> m_lines; // in file order
    std::vector<std::uint32_t> m_order; // the line of each row, in display order
    mutable RecipeRecord m_record;
};

} // namespace vornik
