#pragma once
// The program's one main window: search criteria, result list or memo pad,
// status bar, and the menus through which every command is reached.

#include "app/core/result_columns.h"
#include "app/core/window_placement.h"
#include "app/main_menu.h"
#include "ui/main_window_access.h"

#include <QMainWindow>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QStackedWidget;

namespace vornik {

class LiveSearch;
class MemoPane;
class ResultListModel;
class ResultListView;
class SavedSearchMenu;
class SearchPanel;
struct LiveResult;

class CMainDlg : public QMainWindow, public MainWindowAccess {
    Q_OBJECT
public:
    // `searchName`: the name that followed "/i=" on the command line.
    explicit CMainDlg(std::optional<std::string> searchName = std::nullopt, QWidget* parent = nullptr);
    ~CMainDlg() override;

    // MainWindowAccess
    QWidget* mainWidget() override { return this; }
    std::optional<std::string> selectedRecordId() const override;
    std::string currentItemName() const override;
    const std::vector<std::string>& columnHeadings() const override;
    RowRange shownRows() const override;
    SearchInputs searchInputs() const override;
    void removeRowsWithId(const std::string& id) override;
    void SetStatusText(const std::string& text) override;
    void LaunchSearchInstance(const std::string& name) override;
    void updateCaption() override;

    // Commands (also reached from tests).
    void OnSearch();
    void OnShowAll();
    void OnColumnClick(int position);
    void ToggleMemoPane();
    void BuildColumns();
    void SetListFont(int tenthsOfPoint);
    void openDisplaySettings();
    void openDetail();
    // The search saved under `name` ("保存した検索", --saved): its criteria
    // put into the panel and searched; false when there is none.
    bool runSavedSearch(const std::string& name);

    const std::string& statusText() const { return m_statusText; }
    bool listShown() const { return m_listShown; }
    SearchPanel* searchPanel() const { return m_panel; }
    ResultListView* resultList() const { return m_list; }
    ResultListModel* resultModel() const { return m_model; }
    MemoPane* memoPane() const { return m_memo; }
    const MainMenu& menu() const { return m_menu; }
    SavedSearchMenu* savedSearches() const { return m_savedSearches; }
    LiveSearch* liveSearch() const { return m_liveSearch; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void initialise(const std::optional<std::string>& searchName);
    void connectCommands();
    void connectRecordCommands();
    void connectOutputCommands();
    void showListPane(bool list);
    bool ScanDataFile(const SearchCriteria& criteria);
    void focusFirstRow();
    void showSortIndicator();
    void ShowRecordMemo();
    void showContextMenu(const QPoint& globalPos);
    void SaveColumnWidths();
    void SaveWindowPlacement();
    void RestoreWindowPlacement();
    void fitFrameToPlacement();
    std::vector<PlacementRect> availableScreens() const;
    bool handleEnter(QObject* watched);
    void setUpSearchExtras();
    void showLiveResult(LiveResult& result);
    void clearLiveResult();

    MainMenu m_menu;
    SearchPanel* m_panel;
    QStackedWidget* m_panes;
    ResultListModel* m_model;
    ResultListView* m_list;
    MemoPane* m_memo;
    QLabel* m_status;
    SavedSearchMenu* m_savedSearches = nullptr;
    LiveSearch* m_liveSearch = nullptr;

    ColumnLayout m_layout;
    std::string m_statusText;
    bool m_searchBusy = false;
    bool m_listShown = false;
    // Started for a "/i=" search: opens offset from the saved placement.
    bool m_cascade = false;
    std::optional<PlacementRect> m_placementTarget;
    bool m_frameWatched = false;
    bool m_frameFitted = false;
    bool m_openMaximized = false;
};

} // namespace vornik
