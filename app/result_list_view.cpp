#include "app/result_list_view.h"

#include "app/crystal_icons.h"
#include "app/list_font.h"
#include "app/result_cell_delegate.h"
#include "app/result_list_model.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace vornik {

ResultListView::ResultListView(QWidget* parent)
    : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new ResultCellDelegate(this));
    // Keep the selection drawn as selected while another control has the
    // focus, as the list's owner relies on the user seeing which row the
    // menu commands act on.
    QPalette colours = palette();
    colours.setColor(
        QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
        colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    QHeaderView* heading = header();
    heading->setSectionsMovable(false);
    heading->setSectionsClickable(true);
    // Which column the rows are sorted by is the owner's to say; the arrow
    // stays off until it does.
    heading->setSortIndicatorShown(false);
    heading->setSortIndicator(-1, Qt::AscendingOrder);
    heading->setStretchLastSection(false);
    heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading->setMinimumSectionSize(0);
    connect(heading, &QHeaderView::sectionClicked, this, &ResultListView::headingClicked);

    setLargeIcons(true);
}

void ResultListView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    if (ResultListModel* results = resultModel())
        results->setIconSize(m_iconPixels);
}

ResultListModel* ResultListView::resultModel() const
{
    return qobject_cast<ResultListModel*>(model());
}

void ResultListView::applyColumnWidths(const ColumnLayout& layout)
{
    for (std::size_t position = 0; position < layout.columns.size(); ++position)
        header()->resizeSection(static_cast<int>(position), layout.columns[position].width);
}

std::vector<int> ResultListView::currentWidths() const
{
    std::vector<int> widths;
    const int count = header()->count();
    widths.reserve(static_cast<std::size_t>(count));
    for (int position = 0; position < count; ++position)
        widths.push_back(header()->sectionSize(position));
    return widths;
}

void ResultListView::setLargeIcons(bool large)
{
    m_iconPixels = large ? kLargeIconSize : kSmallIconSize;
    setIconSize(QSize(m_iconPixels, m_iconPixels));
    if (ResultListModel* results = resultModel())
        results->setIconSize(m_iconPixels);
}

void ResultListView::applyFontSize(int tenthsOfPoint)
{
    setFont(listFont(tenthsOfPoint));
    setLargeIcons(largeIconsFor(tenthsOfPoint));
}

void ResultListView::showSortIndicator(int position, bool ascending)
{
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(position, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ResultListView::clearSortIndicator()
{
    header()->setSortIndicatorShown(false);
    header()->setSortIndicator(-1, Qt::AscendingOrder);
}

std::optional<int> ResultListView::selectedRow() const
{
    if (!selectionModel())
        return std::nullopt;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().row();
}

std::optional<std::string> ResultListView::selectedRecordId() const
{
    const std::optional<int> row = selectedRow();
    const ResultListModel* results = resultModel();
    return row && results ? results->recordIdAt(*row) : std::nullopt;
}

void ResultListView::selectRow(int row)
{
    const QModelIndex index = model() ? model()->index(row, 0) : QModelIndex();
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void ResultListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && selectionModel()) {
        // The menu acts on the row under the mouse, so that row becomes the
        // selection first; beside every row there is then no selection.
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            selectRow(index.row());
        else
            selectionModel()->clearSelection();
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void ResultListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit rowClicked();
}

void ResultListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Not passed on: the base class would start expanding or editing.
    event->accept();
    if (event->button() == Qt::LeftButton && selectedRow())
        emit openRequested();
}

void ResultListView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        if (selectedRow())
            emit openRequested();
        return;
    }
    QTreeView::keyPressEvent(event);
}

bool ResultListView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        // A cell's whole text pops up only where the column cuts it.
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid() && !cellTextCut(index)) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
    }
    return QTreeView::viewportEvent(event);
}

bool ResultListView::cellTextCut(const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return itemDelegateForIndex(index)->sizeHint(option, index).width() > option.rect.width();
}

void ResultListView::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint globalPos = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // From the keyboard: open at the selected row rather than wherever
        // the mouse happens to be.
        if (const std::optional<int> row = selectedRow())
            globalPos = viewport()->mapToGlobal(visualRect(model()->index(*row, 0)).center());
    }
    event->accept();
    emit contextMenuRequested(globalPos);
}

} // namespace vornik
