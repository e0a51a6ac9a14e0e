// The detail dialog and the four record commands. The dialog is driven
// through its slots; the commands run it for real, with a timer acting on
// the modal window where a command opens one.

#include "dialogs/detail_dlg.h"
#include "dialogs/edit_dlg.h"
#include "dialogs/record_commands.h"
#include "dialogs/sjis_byte_limit.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/profile.h"
#include "storage/record.h"
#include "storage/vocabulary.h"
#include "tests/support/modal_driver.h"
#include "tests/support/named_child.h"
#include "tests/support/record_lines.h"
#include "tests/support/recording_main_window.h"
#include "tests/support/scripted_folder.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"
#include "tests/support/widget_input.h"
#include "ui/main_window_access.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <tuple>

using namespace vornik;
using vornik::test::entries;
using namespace vornik::field;
using vornik::test::child;
using namespace std::string_literals;
using test::readFileBytes;
using test::recordLine;
using test::writeFileBytes;

class DialogsDetailTest : public QObject, protected test::ScriptedFolder {
    Q_OBJECT

private:
    std::string m_original;

    std::vector<PlatformCall> calls(PlatformCallKind kind) const
    {
        return m_platform->services().callsOf(kind);
    }

    // The detail dialog for record `id`, initialised.
    std::unique_ptr<CDetailDlg> openDetail(int id)
    {
        auto dialog = std::make_unique<CDetailDlg>();
        dialog->m_recordId = std::to_string(id);
        if (!dialog->OnInitDialog())
            qFatal("record %d not shown", id);
        return dialog;
    }

private slots:
    void init()
    {
        startFolder();
        setOpenErrorHandler(nullptr);
        loadSettings();
        // Record 4 has no main skill but a stored crystal; record 9 is
        // complete.
        m_original = recordLine({ { Id, "4" }, { Name, "霜草"_sj }, { Crystal, "2" }, { Hq, "<><>" },
                         { Skill, "0" }, { Stackable, "0" } })
            + recordLine({ { Id, "9" }, { Name, "灰樫の弓 2"_sj }, { Material1, "霜草"_sj },
                { Material1 + 1, "霜草"_sj }, { Material1 + 2, "月光石"_sj }, { Crystal, "1" },
                { SkillUsed1 + 3, "1" }, { NeedLevel1 + 3, "20" }, { CapLevel1 + 3, "31" },
                { Hq, "灰樫の弓 2<>灰樫の弓 3<>"_sj }, { Skill, "4" }, { Rank, "3" },
                { Description, "弓<br>Lv20"_sj }, { Ex, "1" }, { Rare, "0" }, { Stackable, "1" },
                { Desynth, "琥珀糸 3"_sj } });
        writeFileBytes(dataPath(), m_original);
        writeFileBytes(m_dir->file("vornik_memo.txt"), "9,"s + "弓のメモ<br>二行目"_sj + "\r\n");
    }
    void cleanup() { endFolder(); }

    void showsTheWholeRecord()
    {
        auto dialog = openDetail(9);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("　詳細情報 - 灰樫の弓×2 -"));
        QCOMPARE(child<QLineEdit>(*dialog, "name")->text(), QStringLiteral("灰樫の弓×2"));
        QCOMPARE(child<QLabel>(*dialog, "attributes")->text(), QStringLiteral("スタック可　Ex"));
        QCOMPARE(child<QPlainTextEdit>(*dialog, "description")->toPlainText(), QStringLiteral("弓\nLv20"));
        QCOMPARE(child<QLabel>(*dialog, "skill")->text(), QStringLiteral("木工"));
        QCOMPARE(child<QLabel>(*dialog, "rank")->text(), QStringLiteral("徒弟"));
        QCOMPARE(child<QLabel>(*dialog, "needLevels")->text(), QStringLiteral("木工: 20 "));
        QCOMPARE(child<QLabel>(*dialog, "capLevels")->text(), QStringLiteral("木工: 31 "));
        QCOMPARE(child<QLabel>(*dialog, "crystal")->text(), QStringLiteral("炎"));
        QCOMPARE(entries(child<QListWidget>(*dialog, "materials")),
            (QStringList { QStringLiteral("月光石"), QStringLiteral("霜草×2") }));
        auto* hq = child<QTreeWidget>(*dialog, "hq");
        QCOMPARE(hq->topLevelItemCount(), 3);
        QCOMPARE(hq->topLevelItem(0)->text(0), QStringLiteral("HQ1"));
        QCOMPARE(hq->topLevelItem(0)->text(1), QStringLiteral("灰樫の弓×2"));
        QCOMPARE(hq->topLevelItem(2)->text(1), QStringLiteral("- "));
        QCOMPARE(entries(child<QListWidget>(*dialog, "desynth")), QStringList { QStringLiteral("琥珀糸×3") });
        QCOMPARE(
            child<ByteLimitedTextEdit>(*dialog, "memo")->toPlainText(), QStringLiteral("弓のメモ\n二行目"));

        // No main skill: no crystal, whatever is stored; placeholders.
        auto plain = openDetail(4);
        QCOMPARE(child<QLabel>(*plain, "crystal")->text(), QStringLiteral("-"));
        QCOMPARE(child<QLabel>(*plain, "attributes")->text(), QStringLiteral("スタック不可"));
        QCOMPARE(entries(child<QListWidget>(*plain, "desynth")), QStringList { QStringLiteral("- ") });
        QCOMPARE(entries(child<QListWidget>(*plain, "materials")), QStringList());
        QCOMPARE(data(), m_original);
    }

    void searchChoicesCutAtTimes()
    {
        auto dialog = openDetail(9);
        auto* materials = child<QListWidget>(*dialog, "materials");
        materials->setCurrentRow(1);
        dialog->OnMaterialRecipeSearch();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->m_searchName, "霜草"_sj);

        auto desynth = openDetail(9);
        child<QListWidget>(*desynth, "desynth")->setCurrentRow(0);
        desynth->OnDesynthDoubleClick();
        QCOMPARE(desynth->m_searchName, "琥珀糸"_sj);

        auto hq = openDetail(9);
        auto* rows = child<QTreeWidget>(*hq, "hq");
        rows->topLevelItem(2)->setSelected(true); // "- ": nothing happens
        hq->OnHqDoubleClick();
        QVERIFY(hq->m_searchName.empty());
        QVERIFY(hq->result() != int(QDialog::Accepted));
        rows->topLevelItem(1)->setSelected(true); // the first selected row counts
        hq->OnHqDoubleClick();
        QCOMPARE(hq->m_searchName, "灰樫の弓"_sj);

        auto placeholder = openDetail(4);
        child<QListWidget>(*placeholder, "desynth")->setCurrentRow(0);
        placeholder->OnDesynthDoubleClick();
        QVERIFY(placeholder->m_searchName.empty());
        QVERIFY(placeholder->result() != int(QDialog::Accepted));
    }

    // Enter in the lists searches as a double click does; on the "- "
    // placeholder it does nothing, and never closes the dialog by the
    // default button.
    void enterInTheListsSearchesLikeADoubleClick()
    {
        for (const auto& [id, list, row, expected] : {
                 std::tuple { 9, "desynth", 0, "琥珀糸"_sj },
                 std::tuple { 9, "hq", 0, "灰樫の弓"_sj },
                 std::tuple { 9, "hq", 2, std::string() },
             }) {
            auto dialog = openDetail(id);
            dialog->show();
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
            auto* view = child<QAbstractItemView>(*dialog, list);
            view->setFocus();
            // Tabbed into, not selected yet.
            view->selectionModel()->setCurrentIndex(
                view->model()->index(row, 0), QItemSelectionModel::NoUpdate);
            QTest::keyClick(view, Qt::Key_Return);
            QCOMPARE(dialog->m_searchName, expected);
            QCOMPARE(dialog->isVisible(), expected.empty());
        }
    }

    void outsideSearchesKeepTheDialogOpen()
    {
        auto dialog = openDetail(9);
        dialog->OnMaterialKestrelo(); // nothing selected: nothing happens
        QVERIFY(calls(PlatformCallKind::OpenWithShell).empty());

        child<QListWidget>(*dialog, "materials")->setCurrentRow(1);
        dialog->OnMaterialKestrelo();
        dialog->OnMaterialOpenVornik();
        dialog->OnMaterialShopSearch();
        const std::vector<PlatformCall> opened = calls(PlatformCallKind::OpenWithShell);
        QCOMPARE(opened.size(), std::size_t(3));
        // 霜草 is 0x91 0x9A 0x91 0x90 in Shift-JIS, 0xC1 0xFA 0xC1 0xF0 in EUC-JP.
        QVERIFY(opened[0].target.endsWith(QStringLiteral("search.php?itemName=%91%9a%91%90")));
        QVERIFY(opened[1].target.endsWith(QStringLiteral("?word=%c1%fa%c1%f0")));
        QVERIFY(opened[2].target.endsWith(QStringLiteral("?itemname=%91%9a%91%90&prg=VornikWin")));

        writeIniString("window", "shop", "1");
        writeIniString("window", "shoppath", "C:\\tools\\shop search.exe");
        dialog->OnMaterialShopSearch();
        const std::vector<PlatformCall> started = calls(PlatformCallKind::StartDetached);
        QCOMPARE(started.size(), std::size_t(1));
        QCOMPARE(started[0].program, QStringLiteral("C:\\tools\\shop search.exe"));
        QCOMPARE(started[0].arguments, QStringList { QStringLiteral("霜草") });
        QVERIFY(dialog->result() != int(QDialog::Accepted));
        QVERIFY(dialog->m_searchName.empty());
    }

    void memoIsStoredByCloseButtonAndCloseBoxOnly()
    {
        const std::string before = memoFile();
        auto escaped = openDetail(9);
        child<ByteLimitedTextEdit>(*escaped, "memo")->setPlainText(QStringLiteral("変更"));
        escaped->reject(); // Escape
        QCOMPARE(memoFile(), before);

        auto closed = openDetail(9);
        closed->OnOK();
        QCOMPARE(memoFile(), before); // unchanged memo: nothing written
        QCOMPARE(closed->result(), int(QDialog::Accepted));

        auto changed = openDetail(9);
        child<ByteLimitedTextEdit>(*changed, "memo")->setPlainText(QStringLiteral("新しい\nメモ"));
        changed->OnOK();
        QCOMPARE(memoFile(), "9,"s + "新しい<br>メモ"_sj + "\r\n");

        auto closeBox = openDetail(4);
        closeBox->show();
        child<ByteLimitedTextEdit>(*closeBox, "memo")->setPlainText(QStringLiteral("霜草のメモ"));
        closeBox->close();
        QVERIFY(!closeBox->isVisible());
        QCOMPARE(memoFile(), "9,"s + "新しい<br>メモ"_sj + "\r\n4," + "霜草のメモ"_sj + "\r\n");
    }

    void failedMemoStoreKeepsTheDialogOpen()
    {
        auto dialog = openDetail(9);
        child<QListWidget>(*dialog, "materials")->setCurrentRow(0);
        child<ByteLimitedTextEdit>(*dialog, "memo")->setPlainText(QStringLiteral("残したい"));
        std::filesystem::create_directory(m_dir->path() / "temp2.dat");
        dialog->OnMaterialRecipeSearch();
        QVERIFY(dialog->result() != int(QDialog::Accepted));
        QVERIFY(dialog->m_searchName.empty()); // Escape now must not search
        const std::vector<PlatformCall> shown = calls(PlatformCallKind::MessageBox);
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].message.caption, QStringLiteral("ファイルエラー"));
        QCOMPARE(child<ByteLimitedTextEdit>(*dialog, "memo")->toPlainText(), QStringLiteral("残したい"));

        std::filesystem::remove(m_dir->path() / "temp2.dat");
        dialog->OnOK();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(memoFile(), "9,"s + "残したい"_sj + "\r\n");
    }

    void memoWithCharactersShiftJisCannotHoldIsRefused()
    {
        const std::string before = memoFile();
        auto dialog = openDetail(9);
        child<ByteLimitedTextEdit>(*dialog, "memo")->setPlainText(QStringLiteral("メモ😀"));
        dialog->OnOK();
        QVERIFY(dialog->result() != int(QDialog::Accepted));
        const std::vector<PlatformCall> shown = calls(PlatformCallKind::MessageBox);
        QCOMPARE(shown.size(), std::size_t(1));
        QVERIFY(shown[0].message.text.contains(QStringLiteral("できない文字が含まれています: 😀")));
        QCOMPARE(memoFile(), before);
    }

    void missingRecordShowsSearchError()
    {
        CDetailDlg dialog;
        dialog.m_recordId = "5";
        QVERIFY(!dialog.OnInitDialog());
        const std::vector<PlatformCall> shown = calls(PlatformCallKind::MessageBox);
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].message.caption, QStringLiteral("検索エラー"));
        QCOMPARE(shown[0].message.icon, MessageIcon::Warning);
        QCOMPARE(memoFile(), "9,"s + "弓のメモ<br>二行目"_sj + "\r\n");

        // An unreadable data file: the dialog shows nothing and stores nothing.
        std::filesystem::remove(dataPath());
        CDetailDlg empty;
        empty.m_recordId = "9";
        QVERIFY(empty.OnInitDialog());
        child<ByteLimitedTextEdit>(empty, "memo")->setPlainText(QStringLiteral("x"));
        empty.OnOK();
        QCOMPARE(memoFile(), "9,"s + "弓のメモ<br>二行目"_sj + "\r\n");
    }

    void deleteAsksWithNoPreselected()
    {
        test::RecordingMainWindow window;
        window.selectedId = "4";
        deleteRecordCommand(window); // Enter at the question: No
        const std::vector<PlatformCall> asked = calls(PlatformCallKind::MessageBox);
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].message.caption, QStringLiteral("データの削除"));
        QCOMPARE(asked[0].message.text, QStringLiteral("選択されたデータを削除します。\nよろしいですか？"));
        QCOMPARE(asked[0].message.buttons, MessageButtons::YesNo);
        QCOMPARE(asked[0].message.icon, MessageIcon::Question);
        QVERIFY(asked[0].message.defaultButton == MessageAnswer::No);
        QCOMPARE(data(), m_original);
        QVERIFY(window.removedIds.empty());

        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        deleteRecordCommand(window);
        QCOMPARE(window.removedIds, std::vector<std::string> { "4" });
        QVERIFY(data().find("\r\n4,") == std::string::npos && data().rfind("4,", 0) != 0);
        QVERIFY(data().rfind("9,", 0) == 0);
        QVERIFY(!memoFile().empty()); // memo lines stay

        // A delete that fails keeps the row and says so.
        window.selectedId = "9";
        std::filesystem::create_directory(m_dir->path() / "temp.dat");
        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        deleteRecordCommand(window);
        QCOMPARE(window.removedIds, std::vector<std::string> { "4" });
        QCOMPARE(
            calls(PlatformCallKind::MessageBox).back().message.caption, QStringLiteral("ファイルエラー"));
        QVERIFY(data().rfind("9,", 0) == 0);
    }

    void commandsFindTheRecordByItsExactIdText()
    {
        // Ids that read as one number, or as none, are still different records.
        const std::string seven = recordLine({ { Id, "7" }, { Name, "七"_sj } });
        const std::string sevenAgain = recordLine({ { Id, "7" }, { Name, "七の二"_sj } });
        writeFileBytes(dataPath(),
            seven + recordLine({ { Id, "07" }, { Name, "〇七"_sj } })
                + recordLine({ { Id, " 8" }, { Name, "八"_sj } })
                + recordLine({ { Id, "abc" }, { Name, "英字"_sj } })
                + recordLine({ { Id, "99999999999" }, { Name, "大"_sj } }) + sevenAgain);
        const std::vector<std::pair<std::string, QString>> rows { { "07", QStringLiteral("〇七") },
            { " 8", QStringLiteral("八") }, { "abc", QStringLiteral("英字") },
            { "99999999999", QStringLiteral("大") } };
        test::RecordingMainWindow window;
        for (const auto& [id, name] : rows) {
            window.selectedId = id;
            QString shown;
            {
                test::ModalDriver look({ test::on<CDetailDlg>([&shown](CDetailDlg& dialog) {
                    shown = child<QLineEdit>(dialog, "name")->text();
                    dialog.reject();
                }) });
                detailCommand(window);
            }
            QCOMPARE(shown, name);
        }

        // Editing " 8" replaces its own line, which keeps its id text.
        window.selectedId = " 8";
        {
            test::ModalDriver type({ test::on<CEditDlg>([](CEditDlg& dialog) {
                child<QLineEdit>(dialog, "name")->setText(QStringLiteral("八改"));
                dialog.OnOK();
            }) });
            editRecordCommand(window);
        }
        QVERIFY(data().find("\r\n 8,"s + "八改"_sj + ",") != std::string::npos);
        QVERIFY(data().find("\r\n8,") == std::string::npos);

        for (const auto& row : rows) {
            window.selectedId = row.first;
            m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
            deleteRecordCommand(window);
            QCOMPARE(window.removedIds.back(), row.first);
        }
        QCOMPARE(data(), seven + sevenAgain);
        QCOMPARE(readFileBytes(m_dir->file("vornik_memo.txt")), "9,"s + "弓のメモ<br>二行目"_sj + "\r\n");

        // A row whose line went meanwhile: said so, nothing changed, the row stays.
        const std::size_t messages = calls(PlatformCallKind::MessageBox).size();
        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        deleteRecordCommand(window);
        editRecordCommand(window);
        const std::vector<PlatformCall> told = calls(PlatformCallKind::MessageBox);
        QCOMPARE(told.size(), messages + 3); // the question, then one message per command
        QCOMPARE(told[messages + 1].message.caption, QStringLiteral("検索エラー"));
        QCOMPARE(told[messages + 2].message.caption, QStringLiteral("検索エラー"));
        QCOMPARE(window.removedIds.size(), rows.size());
        QCOMPARE(data(), seven + sevenAgain);
    }

    void commandsWithoutSelectionDoNothing()
    {
        test::RecordingMainWindow window;
        test::ModalDriver guard(
            { test::on<QDialog>([](QDialog& open) { open.reject(); }) }); // only if one opened by mistake
        editRecordCommand(window);
        deleteRecordCommand(window);
        detailCommand(window);
        QVERIFY(m_platform->services().calls().empty());
        QVERIFY(window.launched.empty());
        QCOMPARE(data(), m_original);
    }

    void detailCommandLaunchesTheChosenSearch()
    {
        test::RecordingMainWindow window;
        window.selectedId = "9";
        {
            test::ModalDriver choose({ test::on<CDetailDlg>([](CDetailDlg& dialog) {
                child<QListWidget>(dialog, "materials")->setCurrentRow(1);
                dialog.OnMaterialRecipeSearch();
            }) });
            detailCommand(window);
        }
        QCOMPARE(window.launched, std::vector<std::string> { "霜草"_sj });

        window.launched.clear();
        {
            test::ModalDriver escape({ test::on<CDetailDlg>([](CDetailDlg& dialog) { dialog.reject(); }) });
            detailCommand(window);
        }
        QVERIFY(window.launched.empty());

        // A record deleted meanwhile: the message, and no dialog to wait for.
        window.selectedId = "5";
        detailCommand(window);
        QCOMPARE(calls(PlatformCallKind::MessageBox).back().message.caption, QStringLiteral("検索エラー"));
    }

    void newAndEditCommandsOpenTheEditDialog()
    {
        test::RecordingMainWindow window;
        {
            test::ModalDriver type({ test::on<CEditDlg>([](CEditDlg& dialog) {
                child<QLineEdit>(dialog, "name")->setText(QStringLiteral("新しい品"));
                dialog.OnOK();
            }) });
            newRecordCommand(window);
        }
        QVERIFY(data().find("\r\n10,"s + "新しい品"_sj + ",") != std::string::npos);

        window.selectedId = "4";
        QString shownName;
        {
            test::ModalDriver look({ test::on<CEditDlg>([&shownName](CEditDlg& dialog) {
                shownName = child<QLineEdit>(dialog, "name")->text();
                dialog.reject();
            }) });
            editRecordCommand(window);
        }
        QCOMPARE(shownName, QStringLiteral("霜草"));
        QVERIFY(window.removedIds.empty());
    }
};

QTEST_MAIN(DialogsDetailTest)
#include "dialogs_detail_test.moc"
