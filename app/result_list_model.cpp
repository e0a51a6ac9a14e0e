#include "app/result_list_model.h"

#include "app/core/scan.h"
#include "app/crystal_icons.h"
#include "output/core/displayed_table.h"
#include "platform/qt/qt_text.h"

#include <algorithm>

namespace vornik {

ResultListModel::ResultListModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_iconSize(kLargeIconSize)
{
}

void ResultListModel::setColumnLayout(const ColumnLayout& layout)
{
    beginResetModel();
    m_layout = layout;
    m_headings = layout.headings();
    m_rows.clear();
    dropShownRows();
    endResetModel();
}

void ResultListModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    dropShownRows();
    endResetModel();
}

void ResultListModel::setRows(ResultList&& rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    rows.clear();
    dropShownRows();
    endResetModel();
}

RowRange ResultListModel::rows() const
{
    return m_rows.formattedRows(m_layout);
}

ResultRow ResultListModel::rowAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return {};
    return shownRow(static_cast<std::size_t>(row));
}

const ResultRow& ResultListModel::shownRow(std::size_t row) const
{
    const std::uint32_t line = m_rows.lineIndex(row);
    if (const auto found = m_shown.find(line); found != m_shown.end())
        return found->second;
    if (m_shown.size() >= kShownRowsKept)
        m_shown.clear();
    return m_shown.emplace(line, m_rows.formatRow(m_layout, row)).first->second;
}

void ResultListModel::dropShownRows()
{
    m_shown = {};
}

std::size_t ResultListModel::tieColumn() const
{
    // Before the first heading click, ties are broken by the name.
    return m_lastClickedColumn < 0 ? 0 : static_cast<std::size_t>(m_lastClickedColumn);
}

void ResultListModel::SortResults()
{
    sortBy({ columnSortOrder(m_layout, m_sortColumn, tieColumn(), m_sortAscending) });
}

void ResultListModel::sortAfterSearch(bool skillChosen)
{
    m_sortAscending = true;
    sortBy(searchSortPasses(m_layout, skillChosen, tieColumn()));
    m_sortColumn = searchSortColumns(m_layout, skillChosen).back();
}

void ResultListModel::sortedAfterSearchBy(std::size_t column)
{
    m_sortAscending = true;
    m_sortColumn = column;
}

void ResultListModel::OnColumnClick(int position)
{
    if (position == m_lastClickedColumn) {
        // m_sortColumn stays: after a search in between, the flip applies
        // to the key that search set.
        m_sortAscending = !m_sortAscending;
    } else {
        m_sortAscending = true;
        m_sortColumn = static_cast<std::size_t>(position);
    }
    SortResults(); // ties still by the heading clicked before this one
    m_lastClickedColumn = position;
}

void ResultListModel::sortBy(const std::vector<SortOrder>& passes)
{
    if (m_rows.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Where selected rows go is found by the lines they show.
    std::vector<std::uint32_t> lineOfOldRow(m_rows.size());
    std::uint32_t lines = 0;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        lineOfOldRow[row] = m_rows.lineIndex(row);
        lines = std::max(lines, lineOfOldRow[row] + 1);
    }
    m_rows.sort(m_layout, passes);
    std::vector<int> newRowOfLine(lines, -1);
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        newRowOfLine[m_rows.lineIndex(row)] = static_cast<int>(row);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        const auto oldRow = static_cast<std::size_t>(index.row());
        to.push_back(oldRow < lineOfOldRow.size()
                ? this->index(newRowOfLine[lineOfOldRow[oldRow]], index.column())
                : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultListModel::removeRowsWithId(std::string_view id)
{
    // From the end, one contiguous run at a time, so the rows still to be
    // looked at keep their positions.
    int row = static_cast<int>(m_rows.size()) - 1;
    while (row >= 0) {
        if (m_rows.id(static_cast<std::size_t>(row)) != id) {
            --row;
            continue;
        }
        const int last = row;
        while (row > 0 && m_rows.id(static_cast<std::size_t>(row - 1)) == id)
            --row;
        beginRemoveRows(QModelIndex(), row, last);
        m_rows.removeRows(static_cast<std::size_t>(row), static_cast<std::size_t>(last - row + 1));
        endRemoveRows();
        --row;
    }
}

std::optional<std::string> ResultListModel::recordIdAt(int row) const
{
    // A row whose line is gone (its file was changed in place) names no
    // record: commands on it do nothing.
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()
        || !m_rows.readable(static_cast<std::size_t>(row)))
        return std::nullopt;
    return std::string(m_rows.id(static_cast<std::size_t>(row)));
}

std::size_t ResultListModel::heldBytes() const
{
    std::size_t bytes = m_rows.heldBytes();
    for (const auto& [line, row] : m_shown) {
        bytes += sizeof(line) + sizeof(row) + (2 + row.cellCount()) * sizeof(std::uint32_t) + row.id().size();
        for (std::size_t column = 0; column < row.cellCount(); ++column)
            bytes += row.cell(column).size();
    }
    return bytes;
}

void ResultListModel::setIconSize(int pixels)
{
    if (pixels == m_iconSize)
        return;
    m_iconSize = pixels;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), { Qt::DecorationRole });
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_layout.columns.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    const auto column = static_cast<std::size_t>(index.column());
    const auto cellsOf
        = [this, &index]() -> const ResultRow& { return shownRow(static_cast<std::size_t>(index.row())); };
    switch (role) {
    // At most kMaxCellBytes of a cell, as the exports write it: laying out
    // a description of many megabytes would freeze the window.
    case Qt::DisplayRole: {
        const ResultRow& row = cellsOf();
        return column < row.cellCount() ? fromSjis(shownCell(row, column)) : QString();
    }
    case Qt::ToolTipRole: {
        // The whole text of a cell; the view shows it only where the
        // column is too narrow for it (two skills in 限界, long materials).
        const ResultRow& row = cellsOf();
        if (row.cell(column).empty())
            return QVariant();
        return fromSjis(shownCell(row, column));
    }
    case Qt::DecorationRole:
        if (column == 0)
            return crystalIconSet(cellsOf().icon, m_iconSize);
        return QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return QVariant();
    }
}

QModelIndexList ResultListModel::match(
    const QModelIndex& start, int role, const QVariant& value, int hits, Qt::MatchFlags flags) const
{
    // The list's type-ahead looks for a name as typed, whichever cell of
    // the row is current; every name cell begins with a blank, which it
    // must look past.
    if (role != Qt::DisplayRole || !start.isValid() || (flags & Qt::MatchTypeMask) != Qt::MatchStartsWith)
        return QAbstractTableModel::match(start, role, value, hits, flags);
    const QString typed = value.toString();
    const Qt::CaseSensitivity cs = (flags & Qt::MatchCaseSensitive) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QModelIndexList found;
    const int rows = rowCount();
    const bool wrap = flags & Qt::MatchWrap;
    for (int step = 0; step < rows && (hits < 0 || found.size() < hits); ++step) {
        const int row = start.row() + step;
        if (row >= rows && !wrap)
            break;
        const int at = row % rows;
        const QString cell = fromSjis(shownRow(static_cast<std::size_t>(at)).cell(0));
        qsizetype blanks = 0;
        while (blanks < cell.size() && cell[blanks] == QLatin1Char(' '))
            ++blanks;
        if (QStringView(cell).mid(blanks).startsWith(typed, cs))
            found.push_back(index(at, start.column()));
    }
    return found;
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0
        || static_cast<std::size_t>(section) >= m_headings.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return fromSjis(m_headings[static_cast<std::size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return QVariant();
}

} // namespace vornik
