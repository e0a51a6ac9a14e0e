#pragma once
// The rows of the result list as a Qt model. Rows keep their cells as
// Shift-JIS bytes (exports and sorting use them as they are); text for the
// screen is converted only when a cell is drawn.

#include "app/core/result_columns.h"
#include "app/core/result_sort.h"

#include <QAbstractTableModel>

#include <optional>
#include <string>
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
    // All rows of a batch are announced at once, so a large search result
    // costs one view update instead of one per row.
    void appendRows(std::vector<ResultRow>&& rows);
    void appendRow(ResultRow&& row);
    const std::vector<ResultRow>& rows() const { return m_rows; }

    // Reorders the rows; a selected row stays selected.
    void sortRows(const SortOrder& order);
    // Rows whose id text is exactly `id`.
    void removeRowsWithId(std::string_view id);
    std::optional<std::string> recordIdAt(int row) const;

    // Pixel size of the crystal images (15 or 20).
    void setIconSize(int pixels);
    int iconSize() const { return m_iconSize; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits = 1,
        Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith | Qt::MatchWrap)) const override;

private:
    void remapPersistentRows(const std::vector<int>& newRowOfOldRow);

    ColumnLayout m_layout;
    std::vector<std::string> m_headings;
    std::vector<ResultRow> m_rows;
    int m_iconSize;
};

} // namespace vornik
