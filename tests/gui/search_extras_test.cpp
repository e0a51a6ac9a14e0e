// Search while typing and saved searches in the main window, offscreen.

#include "app/core/saved_searches.h"
#include "app/live_search.h"
#include "app/main_dlg.h"
#include "app/saved_search_menu.h"
#include "app/search_panel.h"
#include "platform/sjis_literal.h"
#include "storage/numbers.h"
#include "storage/profile.h"
#include "tests/support/record_lines.h"
#include "tests/support/scripted_folder.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"
#include "tests/support/widget_input.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSemaphore>
#include <QTest>

using namespace vornik;
using vornik::test::typeText;
using namespace vornik::field;
using vornik::test::recordLine;
using vornik::test::writeFileBytes;

namespace {

std::vector<int> shownIds(const CMainDlg& window)
{
    std::vector<int> ids;
    for (const ResultRow& row : window.shownRows())
        ids.push_back(textToInt(row.id()));
    return ids;
}

// Key presses carrying Japanese text, one character each, as an input method
// delivers them (QTest::keyClicks takes Latin-1 only).
} // namespace

class SearchExtrasTest : public QObject, protected test::ScriptedFolder {
    Q_OBJECT

private:
    std::unique_ptr<CMainDlg> openWindow()
    {
        auto window = std::make_unique<CMainDlg>();
        window->show();
        return window;
    }

private slots:
    void init()
    {
        startFolder();
        writeFileBytes(m_dir->path() / "vornik.txt",
            recordLine({ { Id, "1" }, { Name, "鉄の剣"_sj }, { Skill, "1" }, { Rank, "2" } })
                + recordLine({ { Id, "2" }, { Name, "鉄の盾"_sj }, { Skill, "1" }, { Rank, "1" } })
                + recordLine({ { Id, "3" }, { Name, "麻の服"_sj }, { Skill, "2" }, { Rank, "1" } }));
    }

    void cleanup() { endFolder(); }

    void typingWithTheOptionOnFollowsTheKeyboard()
    {
        writeIniInt(ini::LiveSearch, 1);
        auto window = openWindow();
        QLineEdit* name = window->searchPanel()->nameBox()->lineEdit();
        name->setFocus();
        typeText(name, QStringLiteral("鉄"));
        QTRY_COMPARE(window->shownRows().size(), std::size_t { 2 });
        QCOMPARE(window->statusText(), "2件のデータが一致しました。"_sj);
        typeText(name, QStringLiteral("の盾"));
        QTRY_COMPARE(shownIds(*window), std::vector<int> { 2 });
        QVERIFY(name->hasFocus());
        QCOMPARE(window->searchPanel()->nameBox()->count(), 1); // typing adds no history

        name->clear(); // no criterion left: nothing shown, and no warning
        QTRY_VERIFY(window->shownRows().empty());
        QTest::qWait(2 * LiveSearch::kPauseMs);
        QCOMPARE(messages().size(), std::size_t { 0 });
    }

    void aFileInAnotherEncodingFoundWhileTypingIsToldOnce()
    {
        writeFileBytes(
            m_dir->path() / "vornik.txt", reinterpret_cast<const char*>(u8"1,鉄の剣\r\n2,鉄の盾\r\n"));
        writeIniInt(ini::LiveSearch, 1);
        auto window = openWindow();
        const std::size_t before = messages().size();
        QLineEdit* name = window->searchPanel()->nameBox()->lineEdit();
        name->setFocus();
        typeText(name, QStringLiteral("鉄"));
        QTRY_COMPARE(window->shownRows().size(), std::size_t { 2 });
        QTRY_COMPARE(messages().size(), before + 1);
        QVERIFY(messages().back().message.text.contains(QStringLiteral("UTF-8")));
        typeText(name, QStringLiteral("の盾"));
        QTRY_COMPARE(shownIds(*window), std::vector<int> { 2 });
        QCOMPARE(messages().size(), before + 1);
    }

    void typingWithTheOptionOffSearchesNothing()
    {
        auto window = openWindow();
        typeText(window->searchPanel()->nameBox()->lineEdit(), QStringLiteral("鉄"));
        QTest::qWait(3 * LiveSearch::kPauseMs);
        QVERIFY(!window->listShown());
        QVERIFY(window->shownRows().empty());
    }

    void aStaleResultNeverReplacesANewerOne()
    {
        // The first query's scan is held until the second one's result is in.
        QSemaphore releaseFirst;
        std::atomic<bool> firstStarted = false;
        std::atomic<bool> firstSawCancel = false;
        std::string typed = "A";
        LiveSearch::Job job = [&](const LiveQuery& query, const std::atomic<bool>& cancelled) {
            LiveResult result;
            if (query.inputs.name == "A") {
                firstStarted = true;
                releaseFirst.acquire();
                firstSawCancel = cancelled.load();
            }
            result.rows.appendLine(query.inputs.name == "A" ? "1" : "2");
            return result;
        };
        QObject owner;
        LiveSearch live(
            [&] {
                LiveQuery query;
                query.inputs.name = typed;
                return query;
            },
            &owner, job);
        std::vector<int> shown;
        connect(&live, &LiveSearch::resultReady, &owner,
            [&](const LiveResult& r) { shown.push_back(textToInt(r.rows.id(0))); });
        live.setEnabled(true);

        live.criteriaChanged();
        QTRY_VERIFY(firstStarted.load());
        typed = "B";
        live.criteriaChanged();
        QTRY_COMPARE(shown, std::vector<int> { 2 });
        releaseFirst.release();
        QTRY_VERIFY(!live.isRunning());
        QTest::qWait(50);
        QCOMPARE(shown, std::vector<int> { 2 });
        QVERIFY(firstSawCancel.load());
    }

    void theScanRunsDuringThePauseAndItsResultWaitsForIt()
    {
        std::atomic<int> scans = 0;
        LiveSearch::Job job = [&](const LiveQuery&, const std::atomic<bool>&) {
            ++scans;
            LiveResult result;
            result.rows.appendLine("1");
            return result;
        };
        QObject owner;
        LiveSearch live(
            [] {
                LiveQuery query;
                query.inputs.name = "A";
                return query;
            },
            &owner, job);
        int shown = 0;
        connect(&live, &LiveSearch::resultReady, &owner, [&] { ++shown; });
        live.setEnabled(true);
        live.setPause(60 * 1000); // no test waits for this pause to end

        live.criteriaChanged();
        QTRY_COMPARE(scans.load(), 1);
        QTRY_VERIFY(!live.isRunning());
        QCoreApplication::processEvents();
        QCOMPARE(shown, 0); // held back: the user may still be typing
        live.setPause(0);
        live.criteriaChanged(); // an edit with no pause: shown when scanned
        QTRY_COMPARE(shown, 1);
        QCOMPARE(scans.load(), 2);
    }

    void savedSearchRunsFromTheMenuAndByName()
    {
        auto window = openWindow();
        SearchPanel* panel = window->searchPanel();
        panel->nameBox()->setEditText(QStringLiteral("の"));
        SearchInputs wanted = panel->inputs();
        wanted.skill = "鍛冶"_sj;
        wanted.includeMemo = true;
        panel->setInputs(wanted);
        window->savedSearches()->setAskName([](QWidget*, const QString&, const QString&) {
            return std::optional(QStringLiteral("鍛冶もの"));
        });
        window->savedSearches()->saveCurrent();
        // Saving again under that name asks first; "No" keeps the old one.
        panel->nameBox()->setEditText(QStringLiteral("鉄"));
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        window->savedSearches()->saveCurrent();
        QCOMPARE(messages().size(), std::size_t { 1 });
        QCOMPARE(loadSavedSearch("鍛冶もの"_sj)->name, "の"_sj);
        m_platform->services().clearCalls();

        QMenu* menu = window->savedSearches()->savedMenu();
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions()[0]->text(), QStringLiteral("鍛冶もの"));

        panel->clearCriteria();
        QVERIFY(window->runSavedSearch("鍛冶もの"_sj));
        // Sorted by rank, as a search with a skill chosen.
        QCOMPARE(shownIds(*window), (std::vector<int> { 2, 1 }));
        QCOMPARE(panel->inputs().skill, "鍛冶"_sj);
        QVERIFY(panel->inputs().includeMemo);
        QCOMPARE(messages().size(), std::size_t { 0 });

        QVERIFY(!window->runSavedSearch("ない"_sj));
        QCOMPARE(messages().size(), std::size_t { 1 });
    }
};

QTEST_MAIN(SearchExtrasTest)
#include "search_extras_test.moc"
