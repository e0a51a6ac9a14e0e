// What keyboard users of desktop programs expect of the main window and the
// record dialogs: a selected first row after a search, the sort arrow, keys
// for the commands, type-ahead, Tab that leaves multi-line boxes, level
// boxes that are typed over, and a question before edits are thrown away.

#include "app/main_dlg.h"
#include "app/main_menu.h"
#include "app/memo_pane.h"
#include "app/result_list_model.h"
#include "app/result_list_view.h"
#include "app/search_panel.h"
#include "dialogs/detail_dlg.h"
#include "dialogs/edit_dlg.h"
#include "dialogs/skill_value_dlg.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/record.h"
#include "storage/vocabulary.h"
#include "tests/support/named_child.h"
#include "tests/support/record_lines.h"
#include "tests/support/scripted_folder.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vornik;
using namespace vornik::field;
using test::recordLine;
using vornik::test::child;

namespace {

// skill 1 (鍛冶) with rank and cap level, as the first-run columns show them.
std::string recipe(const char* id, const std::string& name, const char* rank, const char* cap)
{
    return recordLine({ { Id, id }, { Name, name }, { Material1, "石"_sj }, { Crystal, "1" },
        { SkillUsed1, "1" }, { NeedLevel1, "5" }, { CapLevel1, cap }, { Hq, "<><>" }, { Skill, "1" },
        { Rank, rank }, { Ex, "0" }, { Rare, "0" }, { Stackable, "1" } });
}

} // namespace

class KeyboardAndSelectionTest : public QObject, protected test::ScriptedFolder {
    Q_OBJECT

private:
    std::unique_ptr<CMainDlg> activeWindow()
    {
        auto window = std::make_unique<CMainDlg>();
        window->resize(900, 600);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the main window did not become active");
        return window;
    }

private slots:
    void init()
    {
        startFolder();
        setOpenErrorHandler(nullptr);
        test::writeFileBytes(m_dir->path() / "vornik.txt",
            recipe("1", "鉄の剣"_sj, "3", "20") + recipe("2", "麻の服"_sj, "1", "8")
                + recipe("3", "鉄の盾"_sj, "2", "15") + recipe("4", "麻布"_sj, "1", "3"));
    }
    void cleanup() { endFolder(); }

    void firstRowSelectedAndCurrentAfterEverySearch()
    {
        auto window = activeWindow();
        ResultListView* list = window->resultList();
        for (const bool showAll : { false, true }) {
            if (showAll) {
                window->OnShowAll();
            } else {
                window->searchPanel()->setNameQuery("鉄"_sj);
                window->OnSearch();
            }
            QCOMPARE(list->selectedRow(), std::optional<int>(0));
            QCOMPARE(list->currentIndex().row(), 0);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list));
            // Down goes on to the second row, not back to the first.
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->selectedRow(), std::optional<int>(1));
        }
    }

    void sortArrowFollowsTheSort()
    {
        auto window = activeWindow();
        QHeaderView* heading = window->resultList()->header();
        window->searchPanel()->setNameQuery("鉄"_sj);
        window->OnSearch();
        // Sorted by 限界 (position 2 of the first-run columns) after a search.
        QVERIFY(heading->isSortIndicatorShown());
        QCOMPARE(heading->sortIndicatorSection(), 2);
        QCOMPARE(heading->sortIndicatorOrder(), Qt::AscendingOrder);

        // Clicked on the heading as a user does: the header's own arrow
        // flipping must not leave it pointing the wrong way.
        const auto click = [&](int section) {
            const int x = heading->sectionViewportPosition(section) + heading->sectionSize(section) / 2;
            QTest::mouseClick(heading->viewport(), Qt::LeftButton, {}, QPoint(x, heading->height() / 2));
        };
        const std::vector<std::pair<int, Qt::SortOrder>> expected
            = { { 0, Qt::AscendingOrder }, { 0, Qt::DescendingOrder }, { 1, Qt::AscendingOrder } };
        for (const auto& [section, order] : expected) {
            click(section);
            QCOMPARE(heading->sortIndicatorSection(), section);
            QCOMPARE(heading->sortIndicatorOrder(), order);
        }

        window->OnShowAll(); // file order: no arrow
        QVERIFY(!heading->isSortIndicatorShown());
    }

    void keysReachTheCommands()
    {
        auto window = activeWindow();
        window->OnShowAll();
        ResultListView* list = window->resultList();
        QLineEdit* nameText = window->searchPanel()->nameBox()->lineEdit();

        // Delete acts on the record only from the list; in a text box it
        // deletes text.
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(messages().size(), std::size_t { 1 });
        QCOMPARE(messages()[0].message.caption, QStringLiteral("データの削除"));
        nameText->setFocus();
        QTest::keyClick(nameText, Qt::Key_Delete);
        QCOMPARE(messages().size(), std::size_t { 1 });

        // Ctrl+C in the list copies the recipe, not the cell.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        const auto copies = m_platform->services().callsOf(PlatformCallKind::SetClipboardText);
        QCOMPARE(copies.size(), std::size_t { 1 });

        // Ctrl+F goes to the name box with its text selected; Enter in a
        // criterion list searches.
        window->searchPanel()->setNameQuery("麻"_sj);
        QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->searchPanel()->nameBox()));
        QCOMPARE(nameText->selectedText(), QStringLiteral("麻"));
        auto* skill = window->searchPanel()->findChildren<QComboBox*>().at(1);
        skill->setFocus();
        QTest::keyClick(skill, Qt::Key_Return);
        QCOMPARE(window->shownRows().size(), std::size_t { 2 });

        // F5 searches again with the same criteria.
        window->removeRowsWithId(std::string(window->shownRows().front().id()));
        QTest::keyClick(list, Qt::Key_F5);
        QCOMPARE(window->shownRows().size(), std::size_t { 2 });
    }

    void fontSizeMenuShowsTheSizeInUse()
    {
        auto window = activeWindow();
        const MainMenu& menu = window->menu();
        window->SetListFont(140);
        for (std::size_t i = 0; i < menu.fontSizes.size(); ++i)
            QCOMPARE(menu.fontSizes[i]->isChecked(), i == 1);
        window->SetListFont(100); // not one of the five
        for (QAction* size : menu.fontSizes)
            QVERIFY(!size->isChecked());
        QCOMPARE(menu.exportIme->text(), QStringLiteral("IME辞書テキスト出力(&I)..."));
    }

    void typeAheadLooksPastTheBlank()
    {
        auto window = activeWindow();
        window->OnShowAll();
        ResultListView* list = window->resultList();
        list->keyboardSearch(QStringLiteral("麻"));
        QCOMPARE(
            window->shownRows()[static_cast<std::size_t>(list->currentIndex().row())].cell(0), " 麻の服"_sj);
        // Typed on: the next match of the longer text.
        list->keyboardSearch(QStringLiteral("布"));
        QCOMPARE(
            window->shownRows()[static_cast<std::size_t>(list->currentIndex().row())].cell(0), " 麻布"_sj);
    }

    void tipsOnlyForCutCells()
    {
        auto window = activeWindow();
        window->OnShowAll();
        ResultListView* list = window->resultList();
        const QModelIndex name = list->model()->index(0, 0);
        list->header()->resizeSection(0, 300);
        QVERIFY(!list->cellTextCut(name));
        list->header()->resizeSection(0, 12);
        QVERIFY(list->cellTextCut(name));
    }

    void paneButtonIsAnnouncedAsLabelled()
    {
        auto window = activeWindow();
        QPushButton* pane = window->searchPanel()->paneButton();
        QCOMPARE(pane->accessibleName(), QStringLiteral("ﾚｼﾋﾟ"));
        window->ToggleMemoPane();
        QCOMPARE(pane->accessibleName(), QStringLiteral("ﾒﾓ"));
    }

    void switchedPaneTakesTheKeys()
    {
        auto window = activeWindow();
        window->searchPanel()->nameBox()->setFocus();
        for (bool listShown : { false, true }) {
            if (window->listShown() == listShown)
                window->ToggleMemoPane();
            window->ToggleMemoPane();
            QWidget* shown = listShown ? static_cast<QWidget*>(window->resultList()) : window->memoPane();
            QVERIFY(QTest::qWaitFor([shown] { return shown->hasFocus(); }));
        }
    }

    void tabLeavesMultiLineBoxes()
    {
        CEditDlg dialog;
        QVERIFY(dialog.OnInitDialog());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const char* name : { "description", "memo" }) {
            auto* box = child<QPlainTextEdit>(dialog, name);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Tab);
            QVERIFY2(!box->hasFocus(), name);
            QCOMPARE(box->toPlainText(), QString());
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(box->toPlainText(), QStringLiteral("\t"));
        }
    }

    void levelBoxesAreTypedOver()
    {
        currentRecord() = RecipeRecord();
        currentRecord().needLevel(1) = "15";
        currentRecord().skillUsed(2) = "1"; // shows "?"
        CSkillValueDlg values;
        values.OnInitDialog();
        values.show();
        values.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&values));
        auto* first = child<QLineEdit>(values, "level1");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(first));
        QTest::keyClicks(first, QStringLiteral("20"));
        QCOMPARE(first->text(), QStringLiteral("20"));
        QTest::keyClick(first, Qt::Key_Tab);
        auto* second = child<QLineEdit>(values, "level2");
        QTest::keyClicks(second, QStringLiteral("5"));
        QCOMPARE(second->text(), QStringLiteral("5"));
        // Focus given by the program (not the mouse) selects as well.
        first->setFocus(Qt::OtherFocusReason);
        QCOMPARE(first->selectedText(), QStringLiteral("20"));
    }

    void editDialogAsksBeforeDroppingChanges()
    {
        loadSettings();
        CEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        dialog.show();
        // Unchanged: closes without a question.
        dialog.reject();
        QVERIFY(messages().empty());
        QVERIFY(!dialog.isVisible());

        for (const char* change : { "name", "memo", "levels" }) {
            CEditDlg edited;
            edited.m_recordId = "3";
            edited.m_isEdit = true;
            QVERIFY(edited.OnInitDialog());
            edited.show();
            if (change == std::string("name"))
                child<QLineEdit>(edited, "name")->setText(QStringLiteral("鉄の大盾"));
            else if (change == std::string("memo"))
                child<QPlainTextEdit>(edited, "memo")->setPlainText(QStringLiteral("メモ"));
            else
                currentRecord().needLevel(1) = "30"; // as the skill value dialog leaves it
            QVERIFY2(edited.hasChanges(), change);
            const std::size_t asked = messages().size();
            m_platform->services().queueMessageAnswer(MessageAnswer::No);
            edited.reject();
            QCOMPARE(messages().size(), asked + 1);
            QVERIFY(messages().back().message.text.contains(QStringLiteral("変更を破棄しますか？")));
            QCOMPARE(messages().back().message.defaultButton, MessageAnswer::No);
            QVERIFY2(edited.isVisible(), change);
            m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
            edited.reject();
            QVERIFY2(!edited.isVisible(), change);
        }
        // Nothing was stored.
        QVERIFY(!test::readFileBytes(m_dir->path() / "vornik.txt").empty());
        QVERIFY(test::readFileBytes(m_dir->path() / "vornik.txt").find("大盾"_sj) == std::string::npos);
    }

    void valueLabelsAreReadWithTheirValues()
    {
        loadSettings();
        CDetailDlg detail;
        detail.m_recordId = "3";
        QVERIFY(detail.OnInitDialog());
        QCOMPARE(child<QLabel>(detail, "capLevels")->accessibleName(), QStringLiteral("限界：鍛冶: 15 "));
        QVERIFY(child<QLabel>(detail, "skill")->accessibleName().startsWith(QStringLiteral("スキル：")));
        QVERIFY(child<QLabel>(detail, "attributes")->accessibleName().contains(QStringLiteral("スタック")));

        CEditDlg edit;
        edit.m_recordId = "3";
        edit.m_isEdit = true;
        QVERIFY(edit.OnInitDialog());
        QCOMPARE(child<QLabel>(edit, "needLevels")->accessibleName(), QStringLiteral("必要：鍛冶:  5 "));
        // The unlabelled boxes and lists are named by what they hold.
        for (QDialog* dialog : std::initializer_list<QDialog*> { &detail, &edit }) {
            QCOMPARE(child<QWidget>(*dialog, "description")->accessibleName(), QStringLiteral("説明"));
            QCOMPARE(child<QWidget>(*dialog, "memo")->accessibleName(), QStringLiteral("メモ"));
            QCOMPARE(child<QWidget>(*dialog, "materials")->accessibleName(), QStringLiteral("合成素材"));
        }
        QCOMPARE(child<QWidget>(detail, "hq")->accessibleName(), QStringLiteral("ハイクォリティ"));
        QCOMPARE(child<QWidget>(detail, "desynth")->accessibleName(), QStringLiteral("分解アイテム"));
    }
};

QTEST_MAIN(KeyboardAndSelectionTest)
#include "keyboard_and_selection_test.moc"
