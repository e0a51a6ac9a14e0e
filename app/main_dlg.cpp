#include "app/main_dlg.h"

#include "app/about_dialog.h"
#include "app/core/result_sort.h"
#include "app/core/scan.h"
#include "app/core/status_text.h"
#include "app/core/window_placement.h"
#include "app/display_settings_dlg.h"
#include "app/list_font.h"
#include "app/live_search.h"
#include "app/memo_pane.h"
#include "app/result_list_model.h"
#include "app/result_list_view.h"
#include "app/saved_search_menu.h"
#include "app/search_panel.h"
#include "dialogs/planner_dlg.h"
#include "dialogs/record_commands.h"
#include "output/clipboard_command.h"
#include "output/core/outside_addresses.h"
#include "output/core/outside_links.h"
#include "output/data_file_commands.h"
#include "output/export_commands.h"
#include "output/link_commands.h"
#include "platform/data_folder.h"
#include "platform/native_path.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/data_file.h"
#include "storage/file_encoding.h"
#include "storage/memo_file.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "storage/vocabulary.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWindow>

namespace vornik {
namespace {

// A window started for a search opens this far right of and below the
// saved placement, so it does not hide the window that started it exactly.
constexpr int kCascadeStep = 30;

// How often a long scan draws its running count in the status bar.
constexpr qint64 kProgressDrawMs = 100;

// The data file that cannot be opened is reported without an owner window,
// by whichever operation first tries to read it.
void reportOpenError(const std::string& path)
{
    QString text = QStringLiteral("下記ファイルが見つかりませんでした。\n") + fromPath(path);
    // A folder, a device or an unreadable file is there: say what is wrong.
    if (!openErrorDetail().empty())
        text += QStringLiteral("\n") + fromSjis(openErrorDetail());
    showWarning(nullptr, QStringLiteral("オープンエラー"), text);
}

// A data file, memo file or memo pad in another encoding, told once per
// file: the program shows what it can and writes nothing into it.
void reportForeignFile(const std::string& path, std::string_view encoding)
{
    showWarning(nullptr, QStringLiteral("ファイルの文字コード"), fromSjis(foreignFileNotice(path, encoding)));
}

// A program folder that cannot be written (a read-only copy or mount, and
// no folder of the user's own could be made instead): told once at start,
// instead of file errors later. True when told.
bool warnIfDataFolderReadOnly()
{
    if (isWritableFolder(nativePath(programDir())))
        return false;
    showWarning(nullptr, QStringLiteral("データフォルダー"),
        QStringLiteral("データフォルダーに書き込めません。\n%1\n\n"
                       "設定（vornik.ini）、メモ帳（memo.txt）、レシピとメモの変更は保存されません。\n"
                       "保存するには、このフォルダーに書き込めるようにしてから起動し直してください。")
            .arg(fromPath(programDir())));
    return true;
}

} // namespace

CMainDlg::CMainDlg(std::optional<std::string> searchName, QWidget* parent)
    : QMainWindow(parent)
    , m_panel(new SearchPanel(this))
    , m_panes(new QStackedWidget(this))
    , m_model(new ResultListModel(this))
    , m_list(new ResultListView(this))
    , m_memo(new MemoPane(this))
    , m_status(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Vornik for Windows"));
    setFont(mainWindowFont(font())); // the result list sets its own
    resize(1000, 640); // until a saved placement is restored
    m_list->setModel(m_model);
    m_list->setAccessibleName(QStringLiteral("検索結果"));
    m_panes->addWidget(m_list);
    m_panes->addWidget(m_memo);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);
    layout->addWidget(m_panes, 1);
    setCentralWidget(central);

    m_status->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(true);

    m_menu = buildMainMenu(this);
    connectCommands();
    setUpSearchExtras();
    qApp->installEventFilter(this);
    initialise(searchName);
}

CMainDlg::~CMainDlg()
{
    qApp->removeEventFilter(this);
}

void CMainDlg::initialise(const std::optional<std::string>& searchName)
{
    m_searchBusy = false;
    m_cascade = searchName.has_value();
    setOpenErrorHandler([](const std::string& path) { reportOpenError(path); });
    setForeignFileHandler(reportForeignFile);
    m_memo->setFolderReadOnlyTold(warnIfDataFolderReadOnly());
    writeIniString(ini::Version, "1, 4, 1, 1");
    loadSettings();
    writeMissingLinkSettings();
    BuildColumns();
    m_panel->fillCriteriaLists();
    SetListFont(readIniInt(ini::ListFont));
    RestoreWindowPlacement();
    showListPane(false);
    updateCaption();
    if (searchName) {
        m_panel->setNameQuery(*searchName);
        m_panel->setIncludeMaterials(false);
        OnSearch();
    }
    m_memo->LoadMemoPad();
}

void CMainDlg::connectCommands()
{
    connect(m_panel, &SearchPanel::searchRequested, this, &CMainDlg::OnSearch);
    connect(m_panel, &SearchPanel::paneToggleRequested, this, &CMainDlg::ToggleMemoPane);
    connect(m_list, &ResultListView::headingClicked, this, &CMainDlg::OnColumnClick);
    connect(m_list, &ResultListView::rowClicked, this, &CMainDlg::ShowRecordMemo);
    connect(m_list, &ResultListView::openRequested, this, &CMainDlg::openDetail);
    connect(m_list, &ResultListView::contextMenuRequested, this, &CMainDlg::showContextMenu);

    connect(m_menu.close, &QAction::triggered, this, &QWidget::close);
    connect(m_menu.displaySettings, &QAction::triggered, this, &CMainDlg::openDisplaySettings);
    connect(m_menu.shoppingList, &QAction::triggered, this, [this] {
        CPlannerDlg planner(this);
        planner.DoModal();
    });
    for (std::size_t i = 0; i < m_menu.fontSizes.size(); ++i) {
        connect(m_menu.fontSizes[i], &QAction::triggered, this, [this, i] { SetListFont(kFontSizes[i]); });
    }
    connect(m_menu.toggleMemo, &QAction::triggered, this, &CMainDlg::ToggleMemoPane);
    connect(m_menu.showAll, &QAction::triggered, this, &CMainDlg::OnShowAll);
    connect(m_menu.detail, &QAction::triggered, this, &CMainDlg::openDetail);
    connect(
        m_menu.recipeSearch, &QAction::triggered, this, [this] { LaunchSearchInstance(currentItemName()); });
    connect(m_menu.about, &QAction::triggered, this, [this] { showAboutBox(this); });
    connect(m_menu.searchAgain, &QAction::triggered, this, &CMainDlg::OnSearch);
    connect(m_menu.focusName, &QAction::triggered, this, [this] {
        m_panel->nameBox()->setFocus(Qt::ShortcutFocusReason);
        m_panel->nameBox()->lineEdit()->selectAll();
    });
    connectRecordCommands();
    connectOutputCommands();
}

void CMainDlg::setUpSearchExtras()
{
    // Both items sit in the 表示 menu, below "すべてのデータを表示(&A)".
    m_savedSearches = new SavedSearchMenu(qobject_cast<QMenu*>(m_menu.showAll->parent()), m_panel, this);
    connect(m_savedSearches, &SavedSearchMenu::searchRequested, this, &CMainDlg::OnSearch);

    m_liveSearch = new LiveSearch(
        [this] {
            LiveQuery query;
            query.inputs = m_panel->inputs();
            query.criteria = readCriteria(query.inputs);
            query.layout = m_layout;
            query.files = { dataFilePath(), memoFilePath() };
            query.tieColumn = m_model->tieColumn();
            return query;
        },
        this);
    m_liveSearch->setEnabled(liveSearchSetting());
    connect(m_panel, &SearchPanel::criteriaChanged, m_liveSearch, &LiveSearch::criteriaChanged);
    connect(m_liveSearch, &LiveSearch::resultReady, this, &CMainDlg::showLiveResult);
    connect(m_liveSearch, &LiveSearch::cleared, this, &CMainDlg::clearLiveResult);
}

bool CMainDlg::runSavedSearch(const std::string& name)
{
    return m_savedSearches->run(name);
}

// A result found while the user typed: shown as 検索 shows its own, but the
// focus stays in the criteria and the name history is left alone.
void CMainDlg::showLiveResult(LiveResult& result)
{
    if (m_searchBusy)
        return; // a search of the user's own is filling the list
    showListPane(true);
    m_list->setUpdatesEnabled(false);
    if (result.outcome == ScanResult::Complete)
        m_model->setRows(std::move(result.rows));
    else
        m_model->clear();
    if (result.sorted) {
        m_model->sortedAfterSearchBy(result.sortColumn);
        showSortIndicator();
    } else {
        m_list->clearSortIndicator();
    }
    m_list->setUpdatesEnabled(true);
    SetStatusText(matchCountText(m_model->rowCount()));
    // The first row is selected as after 検索, but the keys go on to the
    // criteria being typed.
    if (m_model->rowCount() > 0)
        m_list->selectRow(0);
    // The scan ran on another thread; a file in another encoding is told
    // here, once, as a search of the user's own tells it.
    noticeEncoding(dataFilePath(), result.dataEncoding);
    noticeEncoding(memoFilePath(), result.memoEncoding);
}

void CMainDlg::clearLiveResult()
{
    m_model->clear();
    SetStatusText(std::string());
}

void CMainDlg::connectRecordCommands()
{
    connect(m_menu.newRecord, &QAction::triggered, this, [this] { newRecordCommand(*this); });
    connect(m_menu.editRecord, &QAction::triggered, this, [this] { editRecordCommand(*this); });
    connect(m_menu.deleteRecord, &QAction::triggered, this, [this] { deleteRecordCommand(*this); });
    // Delete and Ctrl+C act on the record only from the list.
    m_list->addAction(m_menu.deleteRecord);
    auto* copyFromList = new QAction(m_list);
    copyFromList->setShortcut(QKeySequence::Copy);
    copyFromList->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(copyFromList);
    connect(copyFromList, &QAction::triggered, m_menu.copyRecord, &QAction::trigger);
}

void CMainDlg::connectOutputCommands()
{
    connect(m_menu.openFile, &QAction::triggered, this, [this] { openDataFileCommand(*this); });
    connect(m_menu.saveAs, &QAction::triggered, this, [this] { saveDataFileAs(*this); });
    connect(m_menu.exportText, &QAction::triggered, this, [this] { exportDisplayedData(*this); });
    connect(m_menu.exportWeb, &QAction::triggered, this, [this] { exportWebPage(*this); });
    connect(m_menu.exportIme, &QAction::triggered, this, [this] { exportImeDictionary(*this); });
    connect(m_menu.copyRecord, &QAction::triggered, this, [this] { copyRecordToClipboard(*this); });
    connect(m_menu.kestreloSearch, &QAction::triggered, this, [this] { searchKestreloCommand(*this); });
    connect(m_menu.openVornikSearch, &QAction::triggered, this, [this] { searchOpenVornikCommand(*this); });
    connect(m_menu.shopSearch, &QAction::triggered, this, [this] { shopSearchCommand(*this); });
    for (const MainMenu::LinkAction& entry : m_menu.helpLinks) {
        const HelpLink link = entry.link;
        connect(entry.action, &QAction::triggered, this, [link] { openHelpLink(link); });
    }
}

// ---- status bar, caption, panes -------------------------------------------

void CMainDlg::SetStatusText(const std::string& text)
{
    m_statusText = statusTextCut(text);
    // A record memo may hold line breaks; the bar shows one line.
    QString shown = fromSjis(m_statusText);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_status->setText(shown);
}

void CMainDlg::updateCaption()
{
    setWindowTitle(QStringLiteral("Vornik for Windows - [") + fromPath(dataFilePath()) + QStringLiteral("]"));
}

void CMainDlg::showListPane(bool list)
{
    m_panes->setCurrentWidget(list ? static_cast<QWidget*>(m_list) : m_memo);
    m_panel->setPaneButtonLabel(list);
    m_listShown = list;
}

void CMainDlg::ToggleMemoPane()
{
    showListPane(!m_listShown);
    // The pane the user asked for takes the keys: the memo pad can then be
    // written in, and the list walked, without reaching for the mouse.
    if (m_listShown)
        m_list->setFocus();
    else
        m_memo->setFocus();
}

// ---- search ----------------------------------------------------------------

void CMainDlg::OnSearch()
{
    m_liveSearch->stop(); // its answer would replace this search's
    const SearchInputs inputs = m_panel->inputs();
    if (!hasAnyCriterion(inputs)) {
        showWarning(this, QStringLiteral("検索条件"),
            QStringLiteral(
                "検索条件を指定してください。\nすべてのレシピを表示した場合は表示メニューから行えます。"));
        return;
    }
    const SearchCriteria criteria = readCriteria(inputs);
    showListPane(true);
    BusyCursor busy;
    m_panel->addNameToHistory(inputs.name);
    m_list->setUpdatesEnabled(false);
    ScanDataFile(criteria);
    const std::size_t n = m_model->rowCount();
    if (searchSortsRows(n)) {
        SetStatusText("ソート処理中です。"_sj);
        m_model->sortAfterSearch(!criteria.skillQuery.empty());
        showSortIndicator();
    } else {
        m_list->clearSortIndicator();
    }
    m_list->setUpdatesEnabled(true);
    SetStatusText(matchCountText(n));
    focusFirstRow();
}

void CMainDlg::focusFirstRow()
{
    // Selected and current, so Enter, the record commands and the arrow
    // keys all start from the row the user sees highlighted.
    m_list->selectRow(0);
    m_list->setFocus();
}

void CMainDlg::showSortIndicator()
{
    m_list->showSortIndicator(static_cast<int>(m_model->sortColumn()), m_model->sortAscending());
}

void CMainDlg::OnShowAll()
{
    m_panel->clearCriteria();
    m_liveSearch->stop(); // the cleared criteria must not empty the list
    BusyCursor busy;
    m_list->setUpdatesEnabled(false);
    m_panel->addNameToHistory(std::string());
    showListPane(true);
    ScanDataFile(readCriteria(m_panel->inputs()));
    m_list->clearSortIndicator();
    m_list->setUpdatesEnabled(true);
    SetStatusText(matchCountText(m_model->rowCount()));
    focusFirstRow();
}

bool CMainDlg::ScanDataFile(const SearchCriteria& criteria)
{
    if (m_searchBusy)
        return false;
    m_searchBusy = true;
    m_model->clear();
    SetStatusText(matchCountText(0));
    ResultList rows;
    StorageError error;
    // The running count is drawn a few times a second: drawing it for every
    // batch of rows cost more than reading them.
    QElapsedTimer sinceDrawn;
    sinceDrawn.start();
    const bool opened = scanForMatches(criteria, rows, error, [this, &sinceDrawn](std::size_t count) {
        SetStatusText(matchCountText(count));
        if (sinceDrawn.elapsed() >= kProgressDrawMs) {
            m_status->repaint();
            sinceDrawn.restart();
        }
    });
    m_model->setRows(std::move(rows));
    m_searchBusy = false;
    // A read error part way through must not pass for a complete result.
    if (opened && error.failed())
        showFileError(this, error);
    return opened;
}

void CMainDlg::OnColumnClick(int position)
{
    BusyCursor busy;
    m_model->OnColumnClick(position);
    showSortIndicator();
}

// ---- result list -------------------------------------------------------------

void CMainDlg::BuildColumns()
{
    m_model->clear();
    SetStatusText(std::string());
    m_layout = loadColumnLayout();
    m_model->setColumnLayout(m_layout);
    m_list->applyColumnWidths(m_layout);
    m_list->clearSortIndicator();
}

void CMainDlg::SetListFont(int tenthsOfPoint)
{
    writeIniInt(ini::ListFont, tenthsOfPoint);
    m_list->applyFontSize(tenthsOfPoint);
    checkFontSize(m_menu, tenthsOfPoint);
}

const std::vector<std::string>& CMainDlg::columnHeadings() const
{
    return m_model->headings();
}

RowRange CMainDlg::shownRows() const
{
    return m_model->rows();
}

SearchInputs CMainDlg::searchInputs() const
{
    return m_panel->inputs();
}

std::optional<std::string> CMainDlg::selectedRecordId() const
{
    const std::optional<int> row = m_list->selectedRow();
    if (!row)
        return std::nullopt;
    return m_model->recordIdAt(*row);
}

std::string CMainDlg::currentItemName() const
{
    const std::optional<int> row = m_list->selectedRow();
    std::optional<std::string_view> nameCell;
    const ResultRow selected = row ? m_model->rowAt(*row) : ResultRow();
    if (row)
        nameCell = selected.cell(0);
    return vornik::currentItemName(nameCell, m_panel->inputs().name);
}

void CMainDlg::removeRowsWithId(const std::string& id)
{
    m_model->removeRowsWithId(id);
}

void CMainDlg::ShowRecordMemo()
{
    const std::optional<std::string> id = selectedRecordId();
    if (!id)
        return;
    SetStatusText(std::string(sjis::cutAtChar(readMemo(*id), kStatusTextLimit)));
}

void CMainDlg::showContextMenu(const QPoint& globalPos)
{
    ShowRecordMemo();
    enableContextMenu(m_menu, m_list->selectedRow().has_value());
    m_menu.contextMenu->exec(globalPos + QPoint(5, 5));
    // The actions are shared with the menu bar, where they stay enabled.
    enableContextMenu(m_menu, true);
}

void CMainDlg::openDisplaySettings()
{
    // A result made for the old columns must not arrive after the list
    // was rebuilt with new ones.
    m_liveSearch->stop();
    CDisplaySettingsDlg dialog(this);
    dialog.exec();
    m_liveSearch->setEnabled(liveSearchSetting());
    if (dialog.m_columnsChanged)
        BuildColumns();
}

void CMainDlg::openDetail()
{
    if (selectedRecordId())
        detailCommand(*this);
}

// ---- other program windows ---------------------------------------------------

void CMainDlg::LaunchSearchInstance(const std::string& name)
{
    // The new window opens offset from the saved placement: saved now, that
    // is where this window is.
    SaveWindowPlacement();
    // One argument, no shell: blanks and quotes in the name arrive intact.
    platformServices().startDetached(
        QCoreApplication::applicationFilePath(), { QStringLiteral("/i=") + fromSjis(name) });
}

// ---- keyboard ------------------------------------------------------------------

bool CMainDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        // Framed and mapped: the frame's size is known now. A window that
        // is to open maximised is maximised only after that, so the
        // rectangle it returns to is the saved one.
        fitFrameToPlacement();
        if (m_openMaximized) {
            m_openMaximized = false;
            setWindowState(windowState() | Qt::WindowMaximized);
        }
    }
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || QApplication::activeModalWidget())
        return QMainWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape)
        return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return handleEnter(watched);
    return QMainWindow::eventFilter(watched, event);
}

bool CMainDlg::handleEnter(QObject* watched)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == m_memo || m_memo->isAncestorOf(focus) || watched == m_memo->viewport())
        return false;
    if (focus == m_list || m_list->isAncestorOf(focus)) {
        openDetail();
        return true;
    }
    OnSearch();
    return true;
}

// ---- placement and shutdown ----------------------------------------------------

void CMainDlg::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_frameWatched && windowHandle()) {
        m_frameWatched = true;
        windowHandle()->installEventFilter(this);
    }
}

std::vector<PlacementRect> CMainDlg::availableScreens() const
{
    std::vector<PlacementRect> screens;
    QList<QScreen*> all = QGuiApplication::screens();
    // The primary screen first: a window that fits on none goes there.
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        all.removeAll(primary);
        all.prepend(primary);
    }
    for (const QScreen* screen : all) {
        const QRect area = screen->availableGeometry();
        screens.push_back({ area.left(), area.top(), area.right() + 1, area.bottom() + 1 });
    }
    return screens;
}

void CMainDlg::RestoreWindowPlacement()
{
    if (const std::optional<PlacementRect> saved = readSavedPlacement()) {
        const std::vector<PlacementRect> screens = availableScreens();
        PlacementRect target = fitOnScreens(*saved, screens);
        if (m_cascade)
            target = cascaded(target, kCascadeStep, screens);
        m_placementTarget = target;
        // move() places the outer frame. The frame's size is not known
        // until the window manager has framed the window, so the size is
        // put right once it has (fitFrameToPlacement).
        move(target.left, target.top);
        resize(static_cast<int>(target.width()), static_cast<int>(target.height()));
    }
    m_openMaximized = readSavedMaximized() && !m_cascade;
}

void CMainDlg::fitFrameToPlacement()
{
    if (m_frameFitted || !m_placementTarget)
        return;
    m_frameFitted = true;
    const PlacementRect target = *m_placementTarget;
    const QMargins frame = windowHandle()->frameMargins();
    resize(static_cast<int>(target.width()) - frame.left() - frame.right(),
        static_cast<int>(target.height()) - frame.top() - frame.bottom());
    move(target.left, target.top);
}

void CMainDlg::SaveWindowPlacement()
{
    if (isMinimized())
        return;
    // A maximised window keeps the rectangle it had before; only the state
    // is remembered, so the next start is maximised again.
    writeSavedMaximized(isMaximized());
    if (isMaximized())
        return;
    const QRect outer = frameGeometry();
    writeSavedPlacement({ outer.left(), outer.top(), outer.right() + 1, outer.bottom() + 1 });
}

void CMainDlg::SaveColumnWidths()
{
    saveColumnWidths(m_list->currentWidths());
}

void CMainDlg::closeEvent(QCloseEvent* event)
{
    // The memo pad first: a pad that cannot be stored keeps the window open
    // when the user says so, with the pad shown to put right.
    if (!m_memo->SaveMemoPadBeforeClose()) {
        showListPane(false);
        m_memo->setFocus();
        event->ignore();
        return;
    }
    SaveWindowPlacement();
    SaveColumnWidths();
    event->accept();
}

} // namespace vornik
