#pragma once
// Search while typing: the criteria are scanned on a worker thread, so the
// window never waits for the file, and the result is shown after a short
// pause in the user's edits. The scan starts with the edit and only its
// showing waits for the pause: when the user stops typing, the result is
// mostly there already. A newer query cancels the running scan, and a
// result is handed over only when it answers the newest query.

#include "app/core/result_columns.h"
#include "app/core/scan.h"
#include "app/core/search_criteria.h"
#include "storage/file_encoding.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

template <typename T> class QFutureWatcher;

namespace vornik {

// "入力中に検索" in the display settings (ini::LiveSearch).
bool liveSearchSetting();

// What one scan needs, taken on the GUI thread when the pause ends.
struct LiveQuery {
    SearchInputs inputs;
    SearchCriteria criteria; // read from the inputs on the GUI thread
    ColumnLayout layout;
    ScanFiles files;
    std::size_t tieColumn = 0; // the search's sort breaks ties by this column
};

struct LiveResult {
    ScanResult outcome = ScanResult::Complete;
    ResultList rows; // sorted as a search sorts them
    std::size_t sortColumn = 0; // the last sort pass's column, when sorted
    bool sorted = false;
    // Found by the worker, told by the window (reading them there would
    // make the window wait for the disk at every result).
    FileEncoding dataEncoding = FileEncoding::ShiftJis;
    FileEncoding memoEncoding = FileEncoding::ShiftJis;
};

// The scan and the sort a search does, as one job for a worker thread.
LiveResult runLiveQuery(const LiveQuery& query, const std::atomic<bool>& cancelled);

class LiveSearch : public QObject {
    Q_OBJECT
public:
    using QueryProvider = std::function<LiveQuery()>;
    // What runs on the worker thread (another job only in tests).
    using Job = std::function<LiveResult(const LiveQuery&, const std::atomic<bool>& cancelled)>;
    LiveSearch(QueryProvider provider, QObject* parent, Job job = runLiveQuery);
    ~LiveSearch() override;

    static constexpr int kPauseMs = 150;

    // How long the edits must rest before a result is shown (kPauseMs
    // unless a test needs another).
    void setPause(int milliseconds) { m_pause.setInterval(milliseconds); }
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    // An edit of the criteria: the scan starts now, its result is shown
    // when the pause has passed without another edit.
    void criteriaChanged();
    // Cancels the pending and the running scan and waits for it to end, so
    // that nothing it reads changes under it and no result of it arrives.
    void stop();
    bool isRunning() const;

signals:
    // The newest query's result (never an older one). Connected directly,
    // the receiver may take the rows out: large results are not copied.
    void resultReady(vornik::LiveResult& result);
    // The newest query had no criterion: nothing is to be shown.
    void cleared();

private:
    void start();
    void finished(unsigned generation);
    void pauseEnded();
    void show(LiveResult& result);

    QueryProvider m_provider;
    Job m_job;
    QTimer m_pause;
    bool m_enabled = false;
    unsigned m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    // Scans not yet finished, by the generation they answer.
    std::vector<std::pair<unsigned, QFutureWatcher<LiveResult>*>> m_running;
    // The newest query's answer, when it came before the pause ended.
    std::optional<LiveResult> m_waiting;
    bool m_clearWaiting = false;
};

} // namespace vornik
