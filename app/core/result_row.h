#pragma once
// One row of the result list: a record's id text, its crystal image and the
// texts of its cells. "すべてのデータを表示" makes a row for every record, so a row
// is small and its cells live in one block of memory of exactly their size:
// the list grows and sorts by moving 16-byte rows, and a row costs one
// allocation however many columns it shows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vornik {

class ResultRow {
public:
    // The name and one cell for each optional column.
    static constexpr std::size_t kMaxCells = 12;

    int icon = 0; // crystal image index, 0 for none

    ResultRow() = default;
    // Cells past kMaxCells are not kept.
    ResultRow(std::string_view id, int icon, std::initializer_list<std::string_view> cells);
    ResultRow(std::string_view id, int icon, const std::vector<std::string>& cells);
    ResultRow(const ResultRow& other);
    ResultRow& operator=(const ResultRow& other);
    ResultRow(ResultRow&&) noexcept = default;
    ResultRow& operator=(ResultRow&&) noexcept = default;
    ~ResultRow() = default;

    std::size_t cellCount() const { return m_block ? m_block[0] : 0; }
    // The record's id exactly as its line holds it: commands find the
    // record by this text, as saving and deleting compare it.
    std::string_view id() const
    {
        return m_block ? std::string_view(texts(), m_block[1]) : std::string_view();
    }
    // The text of a cell by visible column (0 = name); empty past the last.
    std::string_view cell(std::size_t column) const
    {
        if (column >= cellCount())
            return {};
        const std::size_t begin = m_block[1 + column];
        return std::string_view(texts() + begin, m_block[2 + column] - begin);
    }
    // Copies of every cell's text.
    std::vector<std::string> cellTexts() const;

private:
    friend class ResultRowBuilder;
    const char* texts() const { return reinterpret_cast<const char*>(m_block.get() + 2 + m_block[0]); }
    // [0] the number of cells n, [1] where the id text ends, [2 .. n + 1]
    // where each cell's text ends, then the id and the cell texts end to end.
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
    ResultRow take(std::string_view id, int icon);

private:
    std::string m_text;
    std::array<std::uint32_t, ResultRow::kMaxCells> m_ends {};
    std::size_t m_count = 0;
};

// Rows in display order, each made when it is asked for: the rows of the
// result list, whose cells are written only then, or rows made already. A
// row is handed out by value, so it stays valid however far the range moves.
class RowRange {
public:
    using RowAt = std::function<ResultRow(std::size_t)>;

    RowRange(const std::vector<ResultRow>& rows) // NOLINT: every vector of rows is a range
        : m_rows(&rows)
        , m_size(rows.size())
    {
    }
    RowRange(std::size_t size, RowAt rowAt)
        : m_rowAt(std::move(rowAt))
        , m_size(size)
    {
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    ResultRow operator[](std::size_t index) const { return m_rows ? (*m_rows)[index] : m_rowAt(index); }
    ResultRow front() const { return (*this)[0]; }

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = ResultRow;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = ResultRow;

        Iterator(const RowRange* range, std::size_t at)
            : m_range(range)
            , m_at(at)
        {
        }
        ResultRow operator*() const { return (*m_range)[m_at]; }
        Iterator& operator++()
        {
            ++m_at;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_at == other.m_at; }

    private:
        const RowRange* m_range;
        std::size_t m_at;
    };
    Iterator begin() const { return { this, 0 }; }
    Iterator end() const { return { this, m_size }; }

private:
    const std::vector<ResultRow>* m_rows = nullptr;
    RowAt m_rowAt;
    std::size_t m_size = 0;
};

} // namespace vornik
