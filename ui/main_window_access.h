#pragma once
// What the command modules (record dialogs, exports, outside links) need from
// the main window. CMainDlg implements it; tests can implement it without a
// window.

#include "app/core/result_sort.h"
#include "app/core/search_criteria.h"

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vornik {

class MainWindowAccess {
public:
    virtual ~MainWindowAccess() = default;

    // Owner for dialogs and message boxes. (Not named window(): CMainDlg
    // would hide QWidget::window() with it.)
    virtual QWidget* mainWidget() = 0;

    // The id text of the selected row's record exactly as its line holds
    // it, if a row is selected.
    virtual std::optional<std::string> selectedRecordId() const = 0;
    // The selected row's name up to the first "×" without leading blanks,
    // or the name box's text when no row is selected (Shift-JIS).
    virtual std::string currentItemName() const = 0;

    // The list as shown: headings of the visible columns by position (0 is
    // "名前") and the rows in display order, each with its cells written when
    // it is taken from the range.
    virtual const std::vector<std::string>& columnHeadings() const = 0;
    virtual RowRange shownRows() const = 0;
    // The search boxes' current texts.
    virtual SearchInputs searchInputs() const = 0;

    // After a delete: the rows of that record (same id text) leave the list.
    virtual void removeRowsWithId(const std::string& id) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    // Starts another program window that searches for name.
    virtual void LaunchSearchInstance(const std::string& name) = 0;
    // After the data file changed (open, save as).
    virtual void updateCaption() = 0;
};

} // namespace vornik
