// Two program windows share memo.txt. Each pane here stands for the memo
// pane of one window: it keeps what it read, so the file compared is the
// same one another process would have written.

#include "app/memo_pane.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "tests/support/fault_injection.h"
#include "tests/support/scripted_folder.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <QtTest>

using namespace vornik;
using namespace std::string_literals;
using test::readFileBytes;
using test::writeFileBytes;

class MemoPadSharingTest : public QObject, protected test::ScriptedFolder {
    Q_OBJECT

private:
    std::string memo() const { return readFileBytes(m_dir->file("memo.txt")); }
    // Typing, as the user does: the pane counts as changed.
    static void type(MemoPane& pane, const QString& text)
    {
        pane.selectAll();
        pane.insertPlainText(text);
    }

    // Two windows read memo.txt; then the first types and saves.
    static bool bothLoadThenFirstSaves(MemoPane& first, MemoPane& second, const QString& text)
    {
        first.LoadMemoPad();
        second.LoadMemoPad();
        type(first, text);
        return first.SaveMemoPad();
    }

private slots:
    void init()
    {
        startFolder();
        writeFileBytes(m_dir->file("memo.txt"), "共有の\r\nメモ"_sj);
    }
    void cleanup() { endFolder(); }

    void untouchedWindowNeverWrites()
    {
        MemoPane first;
        MemoPane second;
        QVERIFY(bothLoadThenFirstSaves(first, second, QStringLiteral("一つ目の窓")));
        QCOMPARE(memo(), "一つ目の窓"_sj);
        // The second window only lost the focus.
        QVERIFY(second.SaveMemoPad());
        QCOMPARE(memo(), "一つ目の窓"_sj);
        QCOMPARE(messages().size(), std::size_t(0));
        // Its own earlier save is no conflict.
        type(first, QStringLiteral("一つ目の窓\n二行目"));
        QVERIFY(first.SaveMemoPad());
        QCOMPARE(memo(), "一つ目の窓\r\n二行目"_sj);
        QCOMPARE(messages().size(), std::size_t(0));
    }

    void charactersShiftJisCannotHoldAreRefused()
    {
        MemoPane pane;
        pane.LoadMemoPad();
        type(pane, QStringLiteral("共有の한"));
        QVERIFY(!pane.SaveMemoPad());
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(memo(), "共有の\r\nメモ"_sj);
        type(pane, QStringLiteral("共有の"));
        QVERIFY(pane.SaveMemoPad());
        QCOMPARE(memo(), "共有の"_sj);
    }

    // A folder that cannot be written: a save at every focus change fails.
    // The failure is told once, or not at all when the window's start
    // warning told it; closing asks before the text is lost.
    void unwritableFolderIsToldOnce_data()
    {
        QTest::addColumn<bool>("toldAtStart");
        QTest::addColumn<int>("boxes");
        QTest::newRow("not told at start") << false << 1;
        QTest::newRow("told at start") << true << 0;
    }
    void unwritableFolderIsToldOnce()
    {
        QFETCH(bool, toldAtStart);
        QFETCH(int, boxes);
        MemoPane pane;
        pane.LoadMemoPad();
        pane.setFolderReadOnlyTold(toldAtStart);
        test::ReadOnlyFileOps readOnly;
        test::ScopedFileOps installed(readOnly);
        type(pane, QStringLiteral("書けない"));
        QVERIFY(!pane.SaveMemoPad());
        QVERIFY(!pane.SaveMemoPad());
        QCOMPARE(messages().size(), std::size_t(boxes));
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        QVERIFY(!pane.SaveMemoPadBeforeClose());
        QCOMPARE(messages().size(), std::size_t(boxes + 1));
        QCOMPARE(memo(), "共有の\r\nメモ"_sj);
    }

    void conflictingChangeIsAsked_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pane");
        QTest::newRow("keep mine") << int(MessageAnswer::Yes) << QStringLiteral("二つ目")
                                   << QStringLiteral("二つ目");
        QTest::newRow("take theirs") << int(MessageAnswer::No) << QStringLiteral("一つ目\r\n続き")
                                     << QStringLiteral("一つ目\n続き");
        QTest::newRow("keep both") << int(MessageAnswer::Cancel) << QStringLiteral("一つ目\r\n続き\r\n二つ目")
                                   << QStringLiteral("一つ目\n続き\n二つ目");
    }
    void conflictingChangeIsAsked()
    {
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(QString, pane);
        MemoPane first;
        MemoPane second;
        QVERIFY(bothLoadThenFirstSaves(first, second, QStringLiteral("一つ目\n続き")));
        type(second, QStringLiteral("二つ目"));

        m_platform->services().queueMessageAnswer(static_cast<MessageAnswer>(answer));
        QVERIFY(second.SaveMemoPad());
        const auto asked = m_platform->services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].message.buttons, MessageButtons::YesNoCancel);
        QVERIFY(asked[0].message.defaultButton == MessageAnswer::Cancel); // closing it loses nothing
        QCOMPARE(fromSjis(memo()), file);
        QCOMPARE(second.toPlainText(), pane);

        // What the second window shows now is what it compares with.
        type(second, second.toPlainText() + QStringLiteral("!"));
        QVERIFY(second.SaveMemoPad());
        QCOMPARE(messages().size(), std::size_t(1));
    }
};

QTEST_MAIN(MemoPadSharingTest)
#include "memo_pad_sharing_test.moc"
