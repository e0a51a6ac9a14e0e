#pragma once
// The rows of the result list as a Qt model, and their order. Rows are the
// lines of their records (app/core/result_list.h); a row's cells are written
// when the view first asks for them and kept while it is painted, as
// Shift-JIS bytes that are converted to text only for the screen.

#include "app/core/result_columns.h"
#include "app/core/result_list.h"
#include "app/core/result_sort.h"

#include <QAbstractTableModel>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vornik {

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultListModel(QObject* parent = nullptr);

    // New columns; every row is dropped.
    void setColumnLayout(const ColumnLayout& layout);
    const ColumnLayout& columnLayout() const { return m_layout; }
    // Heading of each visible column by position (0 is the name).
    const std::vector<std::string>& headings() const { return m_headings; }

    void clear();
    // The rows of a search, in the order they come, instead of those shown:
    // one view update however many there are.
    void setRows(ResultList&& rows);
    // The rows in display order, each with every cell written when it is
    // taken from the range (valid while the rows and columns stay).
    RowRange rows() const;
    // One row with every cell; empty past the last row.
    ResultRow rowAt(int row) const;

    // Rows whose id text is exactly `id`.
    void removeRowsWithId(std::string_view id);
    std::optional<std::string> recordIdAt(int row) const;

    // ---- the order ------------------------------------------------------
    // The sort key column, the heading clicked last (-1 before the first
    // click; it breaks ties) and the direction.
    std::size_t sortColumn() const { return m_sortColumn; }
    int lastClickedColumn() const { return m_lastClickedColumn; }
    bool sortAscending() const { return m_sortAscending; }
    // The column that breaks ties: the last heading clicked, else the name.
    std::size_t tieColumn() const;
    // Sorts the rows by m_sortColumn in the direction m_sortAscending; a
    // selected row stays selected.
    void SortResults();
    // The sort after a search: ascending, one pass per column of
    // searchSortColumns. Leaves m_sortColumn at the last pass's column.
    void sortAfterSearch(bool skillChosen);
    // Rows sorted elsewhere as a search sorts them (search while typing):
    // the state that sort leaves.
    void sortedAfterSearchBy(std::size_t column);
    // A heading click: the same heading again flips the direction, another
    // one sorts by it ascending; then it is the heading clicked last.
    void OnColumnClick(int position);

    // Pixel size of the crystal images (15 or 20).
    void setIconSize(int pixels);
    int iconSize() const { return m_iconSize; }

    // Bytes held for the rows: their lines (or where those lie) and order,
    // the lines read back, and the cells written for painting (for
    // measurements).
    std::size_t heldBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits = 1,
        Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith | Qt::MatchWrap)) const override;

private:
    // The row with its cells, written on first use and kept for painting.
    const ResultRow& shownRow(std::size_t row) const;
    void sortBy(const std::vector<SortOrder>& passes);
    void dropShownRows();

    ColumnLayout m_layout;
    std::vector<std::string> m_headings;
    ResultList m_rows;
    // Cells written for the rows painted lately, by line index. A screen
    // shows a few dozen rows; the cells are written again after this many.
    static constexpr std::size_t kShownRowsKept = 1024;
    mutable std::unordered_map<std::uint32_t, ResultRow> m_shown;
    std::size_t m_sortColumn = 0;
    int m_lastClickedColumn = -1;
    bool m_sortAscending = true;
    int m_iconSize;
};

} // namespace vornik
