#pragma once
// The rows of the result list, each the data-file line of its record.
// "すべてのデータを表示" lists every record, and writing every cell of every row
// took several times as long as reading the file; the user sees a screenful.
// So a row is only which line it shows, and its cells are written when they
// are shown, sorted or exported. The rows show the records as they were when
// the search ran, as rows always have, however the file changes afterwards.
//
// The lines are held one of two ways, chosen by the scan:
// - as places in the scanned file, which the list keeps open and reads back
//   when cells are needed (storage/line_places.h): some 20 bytes a row
//   whatever the records hold. Where an open file goes on reading as it was
//   when a save renames a new file over it (openFileSurvivesReplace).
// - as the lines' bytes, where it does not (Windows), and for a file read
//   through a conversion (UTF-8, UTF-16), whose lines stand at no place in it.
// A file changed in place (an editor that rewrites the same file) no longer
// holds the lines it held: its rows read as empty lines, with no id, so no
// command acts on them.

#include "app/core/result_columns.h"
#include "app/core/result_row.h"
#include "app/core/result_sort.h"
#include "storage/line_places.h"
#include "storage/record.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

class ResultList {
public:
    // A matched record's line (without its line end), held by the list; its
    // row goes last. A list holds all its rows one way: this one, or
    // appendLineAt.
    void appendLine(std::string_view line);
    // A matched record's line found at `offset` of the file being scanned
    // (lines come in file order): only its place is kept. The row reads as
    // empty until readLinesFrom hands that file over.
    void appendLineAt(std::uint64_t offset, std::string_view line);
    // The file of appendLineAt, open, and its stamp from before the scan read
    // its first line.
    void readLinesFrom(ScopedFile file, const FileStamp& stampBeforeScan);
    std::size_t size() const { return m_order.size(); }
    bool empty() const { return m_order.empty(); }
    void clear();

    // By row, in display order. A line read back from the file is valid
    // until the next call that reads rows (line, id, readable, formatRow, a
    // row of formattedRows, sort); empty when it could not be read as it was.
    std::string_view line(std::size_t row) const;
    // The id text exactly as the line holds it (the text commands take back
    // to the file).
    std::string_view id(std::size_t row) const;
    // False for a row whose line cannot be read back as it was found.
    bool readable(std::size_t row) const;
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

    // Bytes held for the rows (the lines or their places, lines read back,
    // the order), for measurements.
    std::size_t heldBytes() const;

private:
    struct LineSpan {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::optional<std::string_view> lineOf(std::size_t row) const;
    // Reads the lines of a run of rows from `row` on, in the direction the
    // rows were last asked for.
    void loadAround(std::size_t row) const;
    // `visit(row, line)` for every row, in file order where lines are read
    // back; a line that cannot be read is an empty one.
    void forEachRow(const std::function<void(std::size_t, std::string_view)>& visit) const;

    // Blocks never grow past the room reserved for them, so a line stays
    // where it was put and no block is ever copied.
    std::vector<std::string> m_blocks;
    std::vector<LineSpan> m_lines; // in file order
    LinePlaces m_places; // instead of m_lines
    std::vector<std::uint32_t> m_order; // the line of each row, in display order
    // The run of rows read last: where it began, the row after its end in
    // its direction, and how many rows it took.
    mutable std::size_t m_lastRow = 0;
    mutable std::size_t m_nextRow = static_cast<std::size_t>(-1);
    mutable bool m_backwards = false;
    mutable std::size_t m_runRows = 0;
    // Where the lines of the run's rows stand in what was read, from its
    // lowest row m_runFirst on (empty once rows move or other lines are read).
    mutable std::size_t m_runFirst = 0;
    mutable std::vector<std::uint32_t> m_runPositions;
    mutable RecipeRecord m_record;
};

} // namespace vornik
