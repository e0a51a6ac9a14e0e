// The main window driven as a user would, offscreen, with the desktop
// replaced by the scripted platform layer.

#include "app/display_settings_dlg.h"
#include "app/main_dlg.h"
#include "app/memo_pane.h"
#include "app/result_list_model.h"
#include "app/result_list_view.h"
#include "app/search_panel.h"
#include "output/core/outside_addresses.h"
#include "output/core/outside_links.h"
#include "platform/data_folder.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "storage/profile.h"
#include "tests/support/record_lines.h"
#include "tests/support/scripted_folder.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace vornik;
using vornik::test::readFileBytes;
using vornik::test::writeFileBytes;

namespace {

// id, name, skill, rank, cap level of the main skill, description
std::string recipe(int id, const std::string& name, int skill, int rank, const std::string& cap,
    const std::string& description = {})
{
    using namespace field;
    std::vector<test::Field> f { { Id, std::to_string(id) }, { Name, name }, { Material1, "石"_sj },
        { Crystal, "1" }, { Hq, "<><>" }, { Skill, std::to_string(skill) }, { Rank, std::to_string(rank) },
        { Description, description }, { Ex, "0" }, { Rare, "0" }, { Stackable, "1" } };
    if (skill >= 1 && skill <= 10 && !cap.empty()) {
        f.emplace_back(SkillUsed1 + skill - 1, "1");
        f.emplace_back(CapLevel1 + skill - 1, cap);
    }
    return test::recordLine(f);
}

std::vector<std::string> column(const CMainDlg& window, std::size_t position)
{
    std::vector<std::string> out;
    for (const ResultRow& row : window.shownRows())
        out.emplace_back(row.cell(position));
    return out;
}

} // namespace

class MainWindowTest : public QObject, protected test::ScriptedFolder {
    Q_OBJECT

private:
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
        startFolder();
        writeData();
    }

    void cleanup() { endFolder(); }

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

    // A pad that cannot be stored is not lost by closing: the user is asked,
    // and No keeps the window open on the pad.
    void closingWithAnUnstorablePadAsks()
    {
        writeFileBytes(m_dir->path() / "memo.txt", "old"_sj);
        auto window = openWindow();
        window->ToggleMemoPane();
        window->memoPane()->setFocus();
        window->memoPane()->insertPlainText(QStringLiteral("한글"));
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QVERIFY(!window->listShown());
        QVERIFY(window->memoPane()->toPlainText().contains(QStringLiteral("한글")));
        auto boxes = m_platform->services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(boxes.size(), std::size_t { 1 });
        QVERIFY(boxes[0].message.text.contains(QStringLiteral("한 글")));

        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        QVERIFY(window->close());
        QCOMPARE(readFileBytes(m_dir->path() / "memo.txt"), "old"_sj);
    }

    // The pad is saved at every focus change: a failure that stays is told
    // once, not each time.
    void memoPadFailureIsToldOnce()
    {
        std::filesystem::create_directory(m_dir->path() / "memo.txt");
        auto window = openWindow();
        for (int i = 0; i < 3; ++i) {
            window->memoPane()->insertPlainText(QStringLiteral("x"));
            QVERIFY(!window->memoPane()->SaveMemoPad());
        }
        const auto boxes = m_platform->services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(boxes.size(), std::size_t { 1 });
        QCOMPARE(boxes[0].message.caption, QStringLiteral("ファイルエラー"));
    }

    void readOnlyFolderIsToldOnceAtStart()
    {
        namespace fs = std::filesystem;
        fs::permissions(m_dir->path(),
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
            fs::perm_options::remove);
        struct Restore {
            fs::path path;
            ~Restore() { fs::permissions(path, fs::perms::owner_write, fs::perm_options::add); }
        } restore { m_dir->path() };
        if (isWritableFolder(m_dir->path()))
            QSKIP("this user writes into read-only folders (root)");
        auto window = openWindow();
        const auto boxes = m_platform->services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(boxes.size(), std::size_t { 1 });
        QVERIFY(boxes[0].message.text.contains(fromPath(m_dir->path().string())));
        QVERIFY(boxes[0].message.text.contains(QStringLiteral("memo.txt")));
        QVERIFY(boxes[0].message.text.contains(QStringLiteral("vornik.ini")));
    }

    // Files an editor saved as UTF-8 or UTF-16: told once each, shown as
    // well as can be, never written.
    void foreignFilesAreToldOnceAndNeverWritten()
    {
        const std::string data = reinterpret_cast<const char*>(u8"1,鉄の剣,石,,,\r\n2,鉄の盾,石\r\n");
        std::string pad = "\xFF\xFE";
        for (const char16_t c : std::u16string(u"一行目\r\n二行目"))
            pad += std::string { static_cast<char>(c & 0xFF), static_cast<char>(c >> 8) };
        writeFileBytes(m_dir->path() / "vornik.txt", data);
        writeFileBytes(m_dir->path() / "memo.txt", pad);
        {
            auto window = openWindow();
            QVERIFY(window->memoPane()->isReadOnly());
            QCOMPARE(window->memoPane()->toPlainText(), QStringLiteral("一行目\n二行目"));
            window->OnShowAll();
            window->OnShowAll();
            QCOMPARE(window->shownRows().size(), std::size_t { 2 });
            // UTF-8 is read as the text it holds, so it can be searched.
            QCOMPARE(window->shownRows()[0].cell(0), " 鉄の剣"_sj);
            const auto boxes = m_platform->services().callsOf(PlatformCallKind::MessageBox);
            QCOMPARE(boxes.size(), std::size_t { 2 });
            QVERIFY(boxes[0].message.text.contains(QStringLiteral("UTF-16")));
            QVERIFY(boxes[0].message.text.contains(QStringLiteral("memo.txt")));
            QVERIFY(boxes[1].message.text.contains(QStringLiteral("UTF-8")));
            QVERIFY(boxes[1].message.text.contains(QStringLiteral("vornik.txt")));
            QVERIFY(boxes[1].message.text.contains(fromSjis(sjisConversionHint("UTF-8"))));
            window->memoPane()->setFocus();
            QTest::keyClicks(window->memoPane(), QStringLiteral("x"));
            window->close();
        }
        QCOMPARE(readFileBytes(m_dir->path() / "vornik.txt"), data);
        QCOMPARE(readFileBytes(m_dir->path() / "memo.txt"), pad);
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

    // Each web link of the help menu opens its own page: the related sites
    // from the submenu, the two boards from the menu itself.
    void helpMenuLinksOpenTheirPages()
    {
        auto window = openWindow();
        QMenu* help = nullptr;
        for (QAction* item : window->menuBar()->actions()) {
            if (item->text() == QStringLiteral("ヘルプ(&H)"))
                help = item->menu();
        }
        QVERIFY(help);
        QList<QAction*> links;
        for (QAction* item : help->actions()) {
            if (item->menu())
                links += item->menu()->actions();
            else if (!item->isSeparator() && item->text() != QStringLiteral("バージョン情報(&V)..."))
                links += item;
        }
        const HelpLink expected[] = { HelpLink::HomePage, HelpLink::EquipmentList,
            HelpLink::DeliveryQuestNotes, HelpLink::ShopSearchTop, HelpLink::KestreloTop,
            HelpLink::CraftingBoard, HelpLink::RecipeUpdateBoard, HelpLink::FaultReports };
        QCOMPARE(links.size(), qsizetype { std::size(expected) });
        for (QAction* link : links)
            link->trigger();
        const auto opened = m_platform->services().callsOf(PlatformCallKind::OpenWithShell);
        QCOMPARE(opened.size(), std::size(expected));
        for (std::size_t i = 0; i < std::size(expected); ++i)
            QCOMPARE(opened[i].target, QString::fromStdString(helpLinkAddress(expected[i])));
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
