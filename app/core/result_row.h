#pragma once
// One row of the result list: a record's id, its crystal image and the texts
// of its cells. "すべてのデータを表示" makes a row for every record, so a row
// is small and its cells live in one block of memory of exactly their size:
// the list grows and sorts by moving 16-byte rows, and a row costs one
// allocation however many columns it shows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

class ResultRow {
public:
    // The name and one cell for each optional column.
    static constexpr std::size_t kMaxCells = 12;

    int id = 0; // the record's id, read as a number
    int icon = 0; // crystal image index, 0 for none

    ResultRow() = default;
    // Cells past kMaxCells are not kept.
    ResultRow(int id, int icon, std::initializer_list<std::string_view> cells);
    ResultRow(int id, int icon, const std::vector<std::string>& cells);
    ResultRow(const ResultRow& other);
    ResultRow& operator=(const ResultRow& other);
    ResultRow(ResultRow&&) noexcept = default;
    ResultRow& operator=(ResultRow&&) noexcept = default;
    ~ResultRow() = default;

    std::size_t cellCount() const { return m_block ? m_block[0] : 0; }
    // The text of a cell by visible column (0 = name); empty past the last.
    std::string_view cell(std::size_t column) const
    {
        const std::size_t count = cellCount();
        if (column >= count)
            return {};
        const char* text = reinterpret_cast<const char*>(m_block.get() + 1 + count);
        const std::size_t begin = column == 0 ? 0 : m_block[column];
        return std::string_view(text + begin, m_block[1 + column] - begin);
    }
    // Copies of every cell's text.
    std::vector<std::string> cellTexts() const;

private:
    friend class ResultRowBuilder;
    // [0] the number of cells n, [1 .. n] where each cell's text ends, then
    // the texts end to end.
    std::unique_ptr<std::uint32_t[]> m_block;
};

// Builds rows one after another in a buffer that is kept between them.
class ResultRowBuilder {
public:
    // A cell is written by appending its text to openCell() and then calling
    // closeCell(). Cells past kMaxCells are dropped. The texts of one row are
    // cut at 4 GiB in all (more than any line of a data file).
    std::string& openCell() { return m_text; }
    void closeCell();
    void addCell(std::string_view text);
    // The row with the cells written since the last take().
    ResultRow take(int id, int icon);

private:
    std::string m_text;
    std::array<std::uint32_t, ResultRow::kMaxCells> m_ends {};
    std::size_t m_count = 0;
};

} // namespace vornik
