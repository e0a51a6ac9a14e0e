#pragma once
// The result list as the main window embeds it: one row per matched record,
// one selected row at most. Sorting is the main window's business (its
// order rules are not Qt's), so heading clicks are only reported.

#include "app/core/result_columns.h"

#include <QTreeView>

#include <optional>
#include <vector>

namespace vornik {

class ResultListModel;

class ResultListView : public QTreeView {
    Q_OBJECT

public:
    explicit ResultListView(QWidget* parent = nullptr);

    // The list shows a ResultListModel; other models are shown as they are.
    void setModel(QAbstractItemModel* model) override;
    ResultListModel* resultModel() const;

    // The widths of the layout's columns, by position.
    void applyColumnWidths(const ColumnLayout& layout);
    // Width of each column by position, as the user left them.
    std::vector<int> currentWidths() const;

    // 20-pixel crystal images when true, 15-pixel ones otherwise.
    void setLargeIcons(bool large);
    // The list font at tenthsOfPoint / 10 points with the icon size that
    // goes with it.
    void applyFontSize(int tenthsOfPoint);

    // The arrow on the heading at `position`, pointing the way the rows are
    // sorted; none while the rows are in the data file's order.
    void showSortIndicator(int position, bool ascending);
    void clearSortIndicator();

    // True when the cell's column is too narrow for its whole text.
    bool cellTextCut(const QModelIndex& index) const;

    std::optional<int> selectedRow() const;
    std::optional<std::string> selectedRecordId() const;
    void selectRow(int row);

signals:
    void rowClicked();
    // The row under the mouse is selected already (none when the click was
    // beside every row).
    void contextMenuRequested(const QPoint& globalPos);
    // Double click or Enter.
    void openRequested();
    void headingClicked(int position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int m_iconPixels = 0;
};

} // namespace vornik
