#include "app/live_search.h"

#include "storage/profile.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace vornik {

bool liveSearchSetting()
{
    return readIniInt(ini::LiveSearch) == 1;
}

LiveResult runLiveQuery(const LiveQuery& query, const std::atomic<bool>& cancelled)
{
    LiveResult result;
    result.dataEncoding = encodingOfFile(query.files.dataPath);
    result.memoEncoding = encodingOfFile(query.files.memoPath);
    result.outcome = scanFileForMatches(query.files, query.criteria, result.rows, cancelled);
    if (result.outcome != ScanResult::Complete || !searchSortsRows(result.rows.size()))
        return result;
    if (cancelled.load(std::memory_order_relaxed)) {
        result.outcome = ScanResult::Cancelled;
        return result;
    }
    const bool skillChosen = !query.criteria.skillQuery.empty();
    result.rows.sort(query.layout, searchSortPasses(query.layout, skillChosen, query.tieColumn));
    result.sortColumn = searchSortColumns(query.layout, skillChosen).back();
    result.sorted = true;
    return result;
}

LiveSearch::LiveSearch(QueryProvider provider, QObject* parent, Job job)
    : QObject(parent)
    , m_provider(std::move(provider))
    , m_job(std::move(job))
{
    m_pause.setSingleShot(true);
    // A coarse timer may end the pause up to 5 % early or late; a precise
    // one ends it when due, so the list follows the keys at one steady pace.
    m_pause.setTimerType(Qt::PreciseTimer);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &LiveSearch::pauseEnded);
}

LiveSearch::~LiveSearch()
{
    stop();
}

void LiveSearch::setEnabled(bool on)
{
    m_enabled = on;
    if (!on)
        stop();
}

void LiveSearch::criteriaChanged()
{
    if (!m_enabled)
        return;
    m_pause.start();
    start();
}

bool LiveSearch::isRunning() const
{
    return !m_running.empty();
}

void LiveSearch::stop()
{
    m_pause.stop();
    m_waiting.reset();
    m_clearWaiting = false;
    ++m_generation; // whatever still arrives is stale
    if (m_cancel)
        m_cancel->store(true);
    for (const auto& [generation, watcher] : m_running) {
        watcher->disconnect(this);
        watcher->waitForFinished();
        watcher->deleteLater();
    }
    m_running.clear();
}

void LiveSearch::start()
{
    const unsigned generation = ++m_generation;
    if (m_cancel)
        m_cancel->store(true); // the older scan's answer is no longer wanted
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_waiting.reset();
    LiveQuery query = m_provider();
    m_clearWaiting = !hasAnyCriterion(query.inputs);
    if (m_clearWaiting)
        return;
    auto* watcher = new QFutureWatcher<LiveResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, generation] { finished(generation); });
    watcher->setFuture(QtConcurrent::run(
        [job = m_job, query = std::move(query), cancel = m_cancel] { return job(query, *cancel); }));
    m_running.emplace_back(generation, watcher);
}

void LiveSearch::finished(unsigned generation)
{
    const auto it = std::find_if(m_running.begin(), m_running.end(),
        [generation](const auto& entry) { return entry.first == generation; });
    if (it == m_running.end())
        return;
    QFutureWatcher<LiveResult>* watcher = it->second;
    m_running.erase(it);
    watcher->deleteLater(); // it is still sending this signal
    // Only the newest query's answer is shown: an older scan that ends
    // after a newer one started is dropped, cancelled or not.
    if (generation != m_generation || watcher->future().resultCount() == 0)
        return;
    LiveResult result = watcher->future().takeResult();
    if (result.outcome == ScanResult::Cancelled)
        return;
    if (m_pause.isActive())
        m_waiting = std::move(result); // shown when the pause ends
    else
        show(result);
}

void LiveSearch::pauseEnded()
{
    if (m_clearWaiting) {
        m_clearWaiting = false;
        emit cleared();
    } else if (m_waiting) {
        show(*m_waiting);
    }
    // Otherwise the scan is still running: it shows its result when done.
}

void LiveSearch::show(LiveResult& result)
{
    emit resultReady(result);
    m_waiting.reset();
}

} // namespace vornik
