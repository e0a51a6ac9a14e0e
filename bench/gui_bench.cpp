// Benchmarks of the main window, offscreen: "すべてのデータを表示(&A)" and a
// name search, from the command to the last row in the model and the count
// in the status bar. The "Painted" variants also let the window handle the
// events the command left behind (layout and painting of the list), which is
// when the user sees the result.
//
// usage: vornik-gui-bench --data-dir=DIR [benchmark flags]
// DIR holds <N>/vornik.txt (bench/run makes them).

#include "app/live_search.h"
#include "app/main_dlg.h"
#include "app/result_list_model.h"
#include "app/search_panel.h"
#include "bench/bench_main.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/paths.h"
#include "tests/support/scripted_platform_services.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <malloc.h>
#include <memory>
#include <string>
#include <string_view>

namespace fs = std::filesystem;
using namespace vornik;

namespace {

using vornik::bench::dataDir;

// A shown main window on the generated file of `records` lines.
std::unique_ptr<CMainDlg> openWindow(benchmark::State& state, long records)
{
    const fs::path folder = dataDir() / std::to_string(records);
    if (!fs::exists(folder / "vornik.txt")) {
        state.SkipWithError("data file missing: run bench/run");
        return nullptr;
    }
    setProgramDir(folder.string());
    auto window = std::make_unique<CMainDlg>();
    window->resize(1000, 640);
    window->show();
    QCoreApplication::processEvents();
    return window;
}

bool finishedWith(const CMainDlg& window, std::size_t expectedRows)
{
    return window.resultModel()->rowCount() == static_cast<int>(expectedRows)
        && window.statusText() == std::to_string(expectedRows) + "件のデータが一致しました。"_sj;
}

// Heap bytes in use (glibc), for what a full list holds.
double heapMiB()
{
    return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

void showAll(benchmark::State& state, bool painted)
{
    const long records = state.range(0);
    auto window = openWindow(state, records);
    if (!window)
        return;
    const double emptyHeap = heapMiB();
    for (auto _ : state) {
        window->menu().showAll->trigger();
        if (painted)
            QCoreApplication::processEvents();
    }
    if (!finishedWith(*window, static_cast<std::size_t>(records)))
        state.SkipWithError("not every record was shown");
    state.counters["rows"] = window->resultModel()->rowCount();
    // What the shown list holds on the heap beyond the empty window.
    state.counters["list_heap_mib"] = heapMiB() - emptyHeap;
}

void BM_GuiShowAll(benchmark::State& state)
{
    showAll(state, false);
}

void BM_GuiShowAllPainted(benchmark::State& state)
{
    showAll(state, true);
}

// Typed into the name box and sent with Enter, as the user does.
void nameSearch(benchmark::State& state, bool painted)
{
    auto window = openWindow(state, state.range(0));
    if (!window)
        return;
    QComboBox* box = window->searchPanel()->nameBox();
    box->setEditText(fromSjis("蒼鋼"_sj));
    for (auto _ : state) {
        // A search leaves the focus in the list, where Enter opens a record.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        if (painted)
            QCoreApplication::processEvents();
    }
    const auto rows = static_cast<std::size_t>(window->resultModel()->rowCount());
    if (rows == 0 || !finishedWith(*window, rows))
        state.SkipWithError("the search did not finish");
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_GuiNameSearch(benchmark::State& state)
{
    nameSearch(state, false);
}

void BM_GuiNameSearchPainted(benchmark::State& state)
{
    nameSearch(state, true);
}

// Search while typing: from the last edit of the name box to the painted
// list, less the pause the window waits for more keys (the time the user
// waits for the file, not for the pause). The pause is a precise timer, which
// never ends early: subtracting its length counts no part of the work as
// pause, and a pause that ends late counts against the result. The scan
// runs while the pause does; with `pauseMs` 0 the whole of the work is
// counted (scan, sort, hand-over, painting), as if it began when the pause
// ended.
void liveSearchPainted(benchmark::State& state, int pauseMs)
{
    auto window = openWindow(state, state.range(0));
    if (!window)
        return;
    LiveSearch* live = window->liveSearch();
    live->setEnabled(true);
    live->setPause(pauseMs);
    int results = 0;
    QObject::connect(live, &LiveSearch::resultReady, window.get(), [&results] { ++results; });
    QComboBox* box = window->searchPanel()->nameBox();
    const QString queries[] = { fromSjis("蒼鋼"_sj), fromSjis("蒼鋼の"_sj) };
    std::size_t turn = 0;
    for (auto _ : state) {
        const int before = results;
        QElapsedTimer clock;
        clock.start();
        box->setEditText(queries[turn++ % 2]);
        while (results == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9 - pauseMs / 1000.0);
    }
    state.counters["rows"] = window->resultModel()->rowCount();
}

void BM_GuiLiveSearchPainted(benchmark::State& state)
{
    liveSearchPainted(state, LiveSearch::kPauseMs);
}

void BM_GuiLiveSearchNoPause(benchmark::State& state)
{
    liveSearchPainted(state, 0);
}

// Ten characters typed 50 ms apart with search while typing on: the
// longest time the event loop went without running (a 1 ms timer's gaps).
void BM_GuiLiveSearchStall(benchmark::State& state)
{
    auto window = openWindow(state, state.range(0));
    if (!window)
        return;
    window->liveSearch()->setEnabled(true);
    QComboBox* box = window->searchPanel()->nameBox();
    const QString text = fromSjis("蒼鋼の剣の盾の指輪の"_sj);
    double worstMs = 0;
    for (auto _ : state) {
        box->setEditText(QString());
        window->liveSearch()->stop();
        QElapsedTimer clock;
        QTimer tick;
        tick.setInterval(1);
        qint64 last = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            worstMs = std::max(worstMs, static_cast<double>(now - last) / 1e6);
            last = now;
        });
        clock.start();
        tick.start();
        for (qsizetype typed = 1; typed <= text.size(); ++typed) {
            box->setEditText(text.left(typed));
            QTest::qWait(50);
        }
        QTest::qWait(LiveSearch::kPauseMs + 100);
        while (window->liveSearch()->isRunning())
            QTest::qWait(10);
        tick.stop();
    }
    state.counters["worst_gap_ms"] = worstMs;
}

} // namespace

BENCHMARK(BM_GuiShowAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiShowAllPainted)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiNameSearch)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiNameSearchPainted)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiLiveSearchPainted)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiLiveSearchNoPause)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiLiveSearchStall)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScopedScriptedPlatform platform; // message boxes answer themselves
    return vornik::bench::runBenchmarks(argc, argv, "vornik-gui-bench");
}
