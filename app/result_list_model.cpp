#include "app/result_list_model.h"

#include "app/crystal_icons.h"
#include "output/core/displayed_table.h"
#include "platform/qt/qt_text.h"

#include <iterator>

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
    endResetModel();
}

void ResultListModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

void ResultListModel::appendRows(std::vector<ResultRow>&& rows)
{
    if (rows.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    if (m_rows.empty()) {
        m_rows = std::move(rows);
    } else {
        m_rows.reserve(m_rows.size() + rows.size());
        std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
    }
    rows.clear();
    endInsertRows();
}

void ResultListModel::appendRow(ResultRow&& row)
{
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void ResultListModel::sortRows(const SortOrder& order)
{
    if (m_rows.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Each row carries its old position through the sort; that tells where
    // selected rows went.
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i].position = static_cast<int>(i);
    SortResults(m_rows, order);
    std::vector<int> newRowOfOldRow(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        newRowOfOldRow[static_cast<std::size_t>(m_rows[i].position)] = static_cast<int>(i);
    remapPersistentRows(newRowOfOldRow);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultListModel::remapPersistentRows(const std::vector<int>& newRowOfOldRow)
{
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        const auto oldRow = static_cast<std::size_t>(index.row());
        to.push_back(oldRow < newRowOfOldRow.size() ? this->index(newRowOfOldRow[oldRow], index.column())
                                                    : QModelIndex());
    }
    changePersistentIndexList(from, to);
}

void ResultListModel::removeRowsWithId(std::string_view id)
{
    // From the end, one contiguous run at a time, so the rows still to be
    // looked at keep their positions.
    int row = static_cast<int>(m_rows.size()) - 1;
    while (row >= 0) {
        if (m_rows[static_cast<std::size_t>(row)].id() != id) {
            --row;
            continue;
        }
        const int last = row;
        while (row > 0 && m_rows[static_cast<std::size_t>(row - 1)].id() == id)
            --row;
        beginRemoveRows(QModelIndex(), row, last);
        m_rows.erase(m_rows.begin() + row, m_rows.begin() + last + 1);
        endRemoveRows();
        --row;
    }
}

std::optional<std::string> ResultListModel::recordIdAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return std::nullopt;
    return std::string(m_rows[static_cast<std::size_t>(row)].id());
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
    const ResultRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
    // At most kMaxCellBytes of a cell, as the exports write it: laying out
    // a description of many megabytes would freeze the window.
    case Qt::DisplayRole:
        return column < row.cellCount() ? fromSjis(shownCell(row, column)) : QString();
    case Qt::ToolTipRole:
        // The whole text of a cell; the view shows it only where the
        // column is too narrow for it (two skills in 限界, long materials).
        if (row.cell(column).empty())
            return QVariant();
        return fromSjis(shownCell(row, column));
    case Qt::DecorationRole:
        if (column == 0)
            return crystalIconSet(row.icon, m_iconSize);
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
        const QString cell = fromSjis(m_rows[static_cast<std::size_t>(at)].cell(0));
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
