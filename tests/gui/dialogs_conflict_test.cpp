// Two windows editing the same record: the edit dialog loads record 3, then
// another window stores its own version of it (here: the data file is
// rewritten as that window's save would leave it). OK must not overwrite it
// unasked, and a record deleted meanwhile must not come back.

#include "dialogs/detail_dlg.h"
#include "dialogs/edit_dlg.h"
#include "dialogs/sjis_byte_limit.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/record.h"
#include "storage/vocabulary.h"
#include "tests/support/record_lines.h"
#include "tests/support/scripted_folder.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <QLineEdit>
#include <QtTest>

#include <filesystem>

using namespace vornik;
using namespace std::string_literals;
using test::readFileBytes;
using test::writeFileBytes;

namespace {

std::string recordLine(const std::string& id, const std::string& name, const std::string& description)
{
    return test::recordLine({ { field::Id, id }, { field::Name, name }, { field::Hq, "<><>" },
        { field::Description, description } });
}

const std::string& firstVersion()
{
    static const std::string line = recordLine("3", "灰樫材"_sj, "最初の説明"_sj);
    return line;
}

const std::string& otherRecord()
{
    static const std::string line = recordLine("7", "霜草"_sj, "");
    return line;
}

} // namespace

class DialogsConflictTest : public QObject, protected test::ScriptedFolder {
    Q_OBJECT

private:
    void setData(const std::string& bytes) { writeFileBytes(m_dir->file("vornik.txt"), bytes); }

    // Opens record 3 for editing and types a new name and memo.
    void openAndType(CEditDlg& dialog)
    {
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        dialog.findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("手元で直した名前"));
        dialog.findChild<ByteLimitedTextEdit*>(QStringLiteral("memo"))
            ->setPlainText(QStringLiteral("手元のメモ"));
    }

private slots:
    void init()
    {
        startFolder();
        setOpenErrorHandler(nullptr);
        loadSettings();
        setData(firstVersion() + otherRecord());
    }
    void cleanup() { endFolder(); }

    void changedElsewhereAsksAndNoKeepsEverythingTyped()
    {
        CEditDlg dialog;
        openAndType(dialog);
        const std::string theirs = recordLine("3", "別窓の名前"_sj, "別窓の説明"_sj) + otherRecord();
        setData(theirs);

        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        dialog.OnOK();
        QCOMPARE(messages().size(), std::size_t(1));
        const MessageBoxRequest question = messages()[0].message;
        QCOMPARE(question.caption, QStringLiteral("確認"));
        QVERIFY(question.text.contains(QStringLiteral("別のウィンドウで変更されています")));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(question.defaultButton, std::optional<MessageAnswer>(MessageAnswer::No));

        // Nothing written, the dialog still open with what was typed.
        QCOMPARE(data(), theirs);
        QCOMPARE(memoFile(), std::string());
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(
            dialog.findChild<QLineEdit*>(QStringLiteral("name"))->text(), QStringLiteral("手元で直した名前"));
        QCOMPARE(dialog.findChild<ByteLimitedTextEdit*>(QStringLiteral("memo"))->sjisText(), "手元のメモ"_sj);
        QVERIFY(!std::filesystem::exists(m_dir->path() / "temp.dat"));

        // Asked again on the next OK; Yes overwrites.
        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        dialog.OnOK();
        QCOMPARE(messages().size(), std::size_t(2));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::string stored = data();
        QVERIFY(stored.starts_with("3,"s + "手元で直した名前"_sj + ","));
        QVERIFY(stored.ends_with(otherRecord()));
        QCOMPARE(memoFile(), "3,"s + "手元のメモ"_sj + "\r\n");
    }

    void unchangedOrOtherRecordsChangedStoresWithoutAsking()
    {
        CEditDlg dialog;
        openAndType(dialog);
        // Another window changes record 7 only, and writes LF line ends.
        setData(std::string(firstVersion()).replace(firstVersion().size() - 2, 2, "\n")
            + recordLine("7", "霜草"_sj, "別窓で追記"_sj));
        dialog.OnOK();
        QCOMPARE(messages().size(), std::size_t(0));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(data().starts_with("3,"s + "手元で直した名前"_sj + ","));
        QVERIFY(data().ends_with(recordLine("7", "霜草"_sj, "別窓で追記"_sj)));
    }

    void deletedElsewhereIsReportedAndNotStoredAgain()
    {
        CEditDlg dialog;
        openAndType(dialog);
        setData(otherRecord());

        dialog.OnOK();
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.caption, QStringLiteral("検索エラー"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(data(), otherRecord());
        QCOMPARE(memoFile(), std::string());
    }

    // The record memo: a dialog that did not change it leaves another
    // window's newer memo alone; one that did asks before replacing it.
    void memoChangedElsewhereIsKeptOrAsked()
    {
        const std::string memoPath = m_dir->file("vornik_memo.txt");
        writeFileBytes(memoPath, "3,"s + "最初のメモ"_sj + "\r\n");
        CEditDlg untouched;
        untouched.m_recordId = "3";
        untouched.m_isEdit = true;
        QVERIFY(untouched.OnInitDialog());
        untouched.findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("名前だけ直す"));
        const std::string theirs = "3,"s + "別窓のメモ"_sj + "\r\n";
        writeFileBytes(memoPath, theirs);
        untouched.OnOK();
        QCOMPARE(messages().size(), std::size_t(0));
        QCOMPARE(untouched.result(), int(QDialog::Accepted));
        QCOMPARE(memoFile(), theirs);

        CEditDlg typed;
        openAndType(typed); // loads their memo, types its own
        const std::string third = "3,"s + "三つ目のメモ"_sj + "\r\n";
        writeFileBytes(memoPath, third);
        const std::string recordBefore = data();
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        typed.OnOK();
        QCOMPARE(messages().size(), std::size_t(1));
        QVERIFY(
            messages()[0].message.text.contains(QStringLiteral("メモは、開いた後に別のウィンドウで変更")));
        QCOMPARE(messages()[0].message.defaultButton, std::optional<MessageAnswer>(MessageAnswer::No));
        QVERIFY(typed.result() != int(QDialog::Accepted));
        QCOMPARE(memoFile(), third);
        QCOMPARE(data(), recordBefore); // nothing at all written

        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        typed.OnOK();
        QCOMPARE(typed.result(), int(QDialog::Accepted));
        QCOMPARE(memoFile(), "3,"s + "手元のメモ"_sj + "\r\n");
        QVERIFY(data().starts_with("3,"s + "手元で直した名前"_sj + ","));

        // The detail dialog's memo box asks the same way.
        CDetailDlg detail;
        detail.m_recordId = "3";
        QVERIFY(detail.OnInitDialog());
        detail.findChild<ByteLimitedTextEdit*>(QStringLiteral("memo"))
            ->setPlainText(QStringLiteral("詳細のメモ"));
        writeFileBytes(memoPath, third);
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        detail.OnOK();
        QCOMPARE(messages().size(), std::size_t(3));
        QVERIFY(detail.result() != int(QDialog::Accepted));
        QCOMPARE(memoFile(), third);
        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        detail.OnOK();
        QCOMPARE(detail.result(), int(QDialog::Accepted));
        QCOMPARE(memoFile(), "3,"s + "詳細のメモ"_sj + "\r\n");
    }

    // After a stored OK, what this dialog wrote is the version it compares
    // with: saving its own change again asks nothing.
    void ownEarlierStoreIsNotAConflict()
    {
        CEditDlg first;
        openAndType(first);
        first.OnOK();
        QCOMPARE(first.result(), int(QDialog::Accepted));

        CEditDlg second;
        second.m_recordId = "3";
        second.m_isEdit = true;
        QVERIFY(second.OnInitDialog());
        second.findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("二度目"));
        second.OnOK();
        second.findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("三度目"));
        second.OnOK(); // the same dialog storing twice
        QCOMPARE(messages().size(), std::size_t(0));
        QVERIFY(data().starts_with("3,"s + "三度目"_sj + ","));
    }
};

QTEST_MAIN(DialogsConflictTest)
#include "dialogs_conflict_test.moc"
