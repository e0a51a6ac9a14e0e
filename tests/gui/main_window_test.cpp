// The main window driven as a user would, offscreen, with the desktop
// replaced by the scripted platform layer.

#include "app/display_settings_dlg.h"
#include "app/main_dlg.h"
#include "app/memo_pane.h"
#include "app/result_list_model.h"
#include "app/result_list_view.h"
#include "app/search_panel.h"
#include "output/core/outside_addresses.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/scripted_platform_services.h"
#include "platform/sjis_literal.h"
#include "storage/profile.h"
#include "tests/support/temp_program_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <map>

using namespace vornik;
using vornik::test::readFileBytes;
using vornik::test::TempProgramDir;
using vornik::test::writeFileBytes;

namespace {

// One data-file line from the fields given by position; the rest empty.
std::string line(const std::map<int, std::string>& fields)
{
    std::string out;
    for (int pos = 0; pos < 50; ++pos) {
        if (pos)
            out += ',';
        const auto it = fields.find(pos);
        if (it != fields.end())
            out += it->second;
    }
    return out + "\r\n";
}

// id, name, skill, rank, cap level of the main skill, description
std::string recipe(int id, const std::string& name, int skill, int rank, const std::string& cap,
    const std::string& description = {})
{
    std::map<int, std::string> f { { 0, std::to_string(id) }, { 1, name }, { 2, "石"_sj }, { 10, "1" },
        { 41, "<><>" }, { 42, std::to_string(skill) }, { 43, std::to_string(rank) }, { 44, description },
        { 45, "0" }, { 46, "0" }, { 47, "1" } };
    if (skill >= 1 && skill <= 10 && !cap.empty()) {
        f[10 + skill] = "1";
        f[30 + skill] = cap;
    }
    return line(f);
}

std::vector<std::string> column(const CMainDlg& window, std::size_t position)
{
    std::vector<std::string> out;
    for (const ResultRow& row : window.shownRows())
        out.emplace_back(row.cell(position));
    return out;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<ScopedScriptedPlatform> m_platform;

    void writeData()
    {
        writeFileBytes(m_dir->path() / "vornik.txt",
            recipe(1, "鉄の剣"_sj, 1, 3, "20", "（片手剣） Lv10～ 戦ナ"_sj)
                + recipe(2, "鉄の盾 2"_sj, 1, 2, "15", "【盾】 Lv12～ ナ"_sj)
                + recipe(3, "麻の服"_sj, 2, 1, "8", "【胴】 Lv5～ All Job"_sj)
                + recipe(4, "鉄の指輪"_sj, 1, 2, "12", "【指】 Lv30～ 白"_sj)
                + recipe(5, "謎の鉄片"_sj, 0, 0, "", "素材"_sj));
    }

    std::unique_ptr<CMainDlg> openWindow(std::optional<std::string> name = std::nullopt)
    {
        auto window = std::make_unique<CMainDlg>(std::move(name));
        window->resize(900, 600);
        window->show();
        return window;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<TempProgramDir>();
        m_platform = std::make_unique<ScopedScriptedPlatform>();
        writeData();
    }

    void cleanup()
    {
        m_platform.reset();
        m_dir.reset();
    }

    void freshStartWritesVersionAndDefaults()
    {
        auto window = openWindow();
        QCOMPARE(readIniString("system", "version", ""), std::string("1, 4, 1, 1"));
        QCOMPARE(readIniInt("system", "setup", 0), 10);
        QCOMPARE(readIniString("window", "column", ""), std::string("x1x111xxxxx1"));
        QCOMPARE(readIniString("link", "home", ""), std::string(address::kHomePage));
        QVERIFY(!window->listShown());
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("Vornik for Windows - [")));
        QVERIFY(window->windowTitle().contains(QStringLiteral("vornik.txt]")));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "temp.dat"));
    }

    void enterInTheNameBoxSearchesAndSorts()
    {
        auto window = openWindow();
        const std::string before = readFileBytes(m_dir->path() / "vornik.txt");
        window->searchPanel()->nameBox()->setFocus();
        window->searchPanel()->nameBox()->setEditText(QStringLiteral("鉄"));
        QTest::keyClick(window->searchPanel()->nameBox(), Qt::Key_Return);
        QVERIFY(window->listShown());
        QCOMPARE(window->shownRows().size(), std::size_t { 4 });
        QCOMPARE(window->statusText(), "4件のデータが一致しました。"_sj);
        // No skill chosen: sorted by the 限界 column text (first-run columns:
        // 名前, ﾗﾝｸ, 限界, 素材, 説明), records without levels last.
        const std::vector<std::string> caps = column(*window, 2);
        QCOMPARE(caps.back(), std::string());
        QVERIFY(caps[0] <= caps[1] && caps[1] <= caps[2]);
        QCOMPARE(window->shownRows()[0].cell(0), " 鉄の指輪"_sj);
        QCOMPARE(window->searchPanel()->nameBox()->itemText(1), QStringLiteral("鉄"));
        QCOMPARE(readFileBytes(m_dir->path() / "vornik.txt"), before);
    }

    void noCriteriaWarnsAndKeepsTheList()
    {
        auto window = openWindow();
        window->OnSearch();
        const auto boxes = m_platform->services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(boxes.size(), std::size_t { 1 });
        QCOMPARE(boxes[0].message.caption, QStringLiteral("検索条件"));
        QVERIFY(boxes[0].message.text.startsWith(QStringLiteral("検索条件を指定してください。\n")));
        QVERIFY(!window->listShown());
    }

    void exactNameAndMaterialMatching()
    {
        auto window = openWindow();
        auto* panel = window->searchPanel();
        panel->nameBox()->setEditText(QStringLiteral("鉄の盾"));
        panel->findChild<QCheckBox*>(QString(), Qt::FindChildrenRecursively);
        for (QCheckBox* box : panel->findChildren<QCheckBox*>()) {
            if (box->text().startsWith(QStringLiteral("完全一致")))
                box->setChecked(true);
        }
        window->OnSearch();
        QCOMPARE(window->shownRows().size(), std::size_t { 1 });
        QVERIFY(window->shownRows()[0].id() == "2");
        QCOMPARE(window->shownRows()[0].cell(0), " 鉄の盾×2"_sj);

        panel->clearCriteria();
        panel->nameBox()->setEditText(QStringLiteral("石"));
        panel->setIncludeMaterials(true);
        window->OnSearch();
        QCOMPARE(window->shownRows().size(), std::size_t { 5 });
    }

    void rankSortWithASkillChosen()
    {
        auto window = openWindow();
        auto* panel = window->searchPanel();
        for (QComboBox* box : panel->findChildren<QComboBox*>()) {
            if (box->accessibleName() == QStringLiteral("ｽｷﾙ"))
                box->setCurrentText(QStringLiteral("鍛冶"));
        }
        window->OnSearch();
        QCOMPARE(window->shownRows().size(), std::size_t { 3 });
        // By rank position (見習い before 徒弟), within one rank by 限界 text.
        std::vector<std::string> ids;
        for (const ResultRow& row : window->shownRows())
            ids.emplace_back(row.id());
        QVERIFY(ids == (std::vector<std::string> { "4", "2", "1" }));
    }

    void headingClickTwiceReverses()
    {
        auto window = openWindow();
        window->OnShowAll();
        QCOMPARE(window->shownRows().size(), std::size_t { 5 });
        window->OnColumnClick(0);
        const std::vector<std::string> ascending = column(*window, 0);
        window->OnColumnClick(0);
        std::vector<std::string> descending = column(*window, 0);
        std::reverse(descending.begin(), descending.end());
        QCOMPARE(descending, ascending);
        QVERIFY(std::is_sorted(ascending.begin(), ascending.end()));
    }

    void searchNameFromTheCommandLineOpensOnTheList()
    {
        auto window = openWindow(std::string("麻"_sj));
        QVERIFY(window->listShown());
        QCOMPARE(window->shownRows().size(), std::size_t { 1 });
        QVERIFY(window->shownRows()[0].id() == "3");
        window->ToggleMemoPane();
        QVERIFY(!window->listShown());
    }

    void emptyNameFromTheCommandLineAsksForCriteria()
    {
        auto window = openWindow(std::string());
        QCOMPARE(m_platform->services().callsOf(PlatformCallKind::MessageBox).size(), std::size_t { 1 });
    }

    void missingDataFileReportsAndShowsNothing()
    {
        std::filesystem::remove(m_dir->path() / "vornik.txt");
        auto window = openWindow();
        window->OnShowAll();
        const auto boxes = m_platform->services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(boxes.size(), std::size_t { 1 });
        QCOMPARE(boxes[0].message.caption, QStringLiteral("オープンエラー"));
        QCOMPARE(window->statusText(), "0件のデータが一致しました。"_sj);
    }

    void memoPadKeepsLongLinesAcrossRestarts()
    {
        const QString longLine = QString(400, QChar(u'字'));
        {
            auto window = openWindow();
            window->memoPane()->setFocus();
            window->memoPane()->insertPlainText(
                QStringLiteral("\n一行目\n") + longLine + QStringLiteral("\n最後"));
            window->close();
        }
        const std::string file = readFileBytes(m_dir->path() / "memo.txt");
        QVERIFY(file.size() > 800);
        QCOMPARE(file.substr(file.size() - 6), std::string("\r\n") + "最後"_sj);
        auto window = openWindow();
        QCOMPARE(window->memoPane()->toPlainText(),
            QStringLiteral("一行目\n") + longLine + QStringLiteral("\n最後"));
    }

    void displaySettingsChangeRebuildsAndEmptiesTheList()
    {
        auto window = openWindow();
        window->OnShowAll();
        QVERIFY(!window->shownRows().empty());
        writeIniString("window", "column", "11x111xxxxx1");
        window->BuildColumns();
        QVERIFY(window->shownRows().empty());
        QCOMPARE(window->columnHeadings().size(), std::size_t { 6 });
        QCOMPARE(window->columnHeadings()[1], "ｽｷﾙ"_sj);
    }

    void statusTextIsCutAt250BytesOnACharacter()
    {
        auto window = openWindow();
        window->SetStatusText("a" + std::string(300 / 2, 'x') + std::string(200, '\x82'));
        QVERIFY(window->statusText().size() <= 250);
        std::string japanese;
        for (int i = 0; i < 200; ++i)
            japanese += "字"_sj;
        window->SetStatusText("a" + japanese);
        QCOMPARE(window->statusText().size(), std::size_t { 249 });
    }

    void launchSearchInstancePassesTheNameAsOneArgument()
    {
        auto window = openWindow();
        window->LaunchSearchInstance("鉄の 剣"_sj);
        const auto starts = m_platform->services().callsOf(PlatformCallKind::StartDetached);
        QCOMPARE(starts.size(), std::size_t { 1 });
        QCOMPARE(starts[0].arguments, QStringList { QStringLiteral("/i=鉄の 剣") });
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
