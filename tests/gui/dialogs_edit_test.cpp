// The data edit dialog with its material and skill value dialogs, driven
// without nested event loops: each test fills a small data file, opens the
// dialog's initialisation, sets controls, presses OK through its slot and
// reads the files back. Message boxes go to the scripted desktop.

#include "dialogs/core/record_display.h"
#include "dialogs/edit_dlg.h"
#include "dialogs/material_dlg.h"
#include "dialogs/sjis_byte_limit.h"
#include "dialogs/skill_value_dlg.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/record.h"
#include "storage/vocabulary.h"
#include "tests/support/file_lines.h"
#include "tests/support/named_child.h"
#include "tests/support/record_lines.h"
#include "tests/support/scripted_folder.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"
#include "tests/support/widget_input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <functional>

using namespace vornik;
using vornik::test::entries;
using vornik::test::typeText;
using namespace vornik::field;
using vornik::test::child;
using namespace std::string_literals;
using test::readFileBytes;
using test::recordLine;
using test::writeFileBytes;

namespace {

// Answers the material and skill value dialogs in place of a user.
class ScriptedEditDlg : public CEditDlg {
public:
    std::function<int(CMaterialDlg&)> onMaterial;
    std::function<int(CSkillValueDlg&)> onSkillValues;

protected:
    int runMaterialDialog(CMaterialDlg& dialog) override { return onMaterial(dialog); }
    int runSkillValueDialog(CSkillValueDlg& dialog) override { return onSkillValues(dialog); }
};

std::function<int(CMaterialDlg&)> answerMaterial(const std::string& name, int count)
{
    return [name, count](CMaterialDlg& dialog) {
        dialog.m_materialName = name;
        dialog.m_count = count;
        return int(QDialog::Accepted);
    };
}

// Types characters one by one, as a keyboard or an input method delivers
// them (QTest::keyClicks knows only ASCII).
} // namespace

class DialogsEditTest : public QObject, protected test::ScriptedFolder {
    Q_OBJECT

private:
    std::string m_original;

private slots:
    void init()
    {
        startFolder();
        setOpenErrorHandler(nullptr);
        loadSettings();
        // Record 3 is made of 霜草, 霜草, 月光石 (stored out of list order),
        // skill 2 with rank 2, crystal 4, and no HQ results.
        m_original = recordLine({ { Id, "3" }, { Name, "灰樫材 3"_sj }, { Material1, "霜草"_sj },
                         { Material1 + 1, "霜草"_sj }, { Material1 + 2, "月光石"_sj }, { Crystal, "4" },
                         { SkillUsed1 + 1, "1" }, { NeedLevel1 + 1, "12" }, { Hq, "<><>" }, { Skill, "2" },
                         { Rank, "2" }, { Description, "木材<br>（素材）"_sj }, { Ex, "0" }, { Rare, "1" },
                         { Stackable, "1" }, { Desynth, "灰 2"_sj } })
            + recordLine({ { Id, "7" }, { Name, "霜草"_sj }, { Hq, "" }, { Skill, "0" } });
        writeFileBytes(dataPath(), m_original);
        writeFileBytes(m_dir->file("vornik_memo.txt"), "3,"s + "古いメモ"_sj + "\r\n");
    }
    void cleanup() { endFolder(); }

    void newRecordIsAppendedUnderTheNextId()
    {
        ScriptedEditDlg dialog;
        dialog.onMaterial = answerMaterial("霜草"_sj, 3);
        QVERIFY(dialog.OnInitDialog());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("　データの新規作成"));
        QCOMPARE(child<QLabel>(dialog, "note")->text(),
            QStringLiteral("説明：新規データは次回検索時から有効になります。"));
        QVERIFY(!child<QPushButton>(dialog, "materialEdit")->isEnabled());

        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("星鉄の剣×2"));
        dialog.OnMaterialAdd();
        QCOMPARE(entries(child<QListWidget>(dialog, "materials")), QStringList { QStringLiteral("霜草×3") });
        child<QComboBox>(dialog, "skill")->setCurrentText(QStringLiteral("鍛冶"));
        child<QComboBox>(dialog, "crystal")->setCurrentText(QStringLiteral("炎"));
        child<ByteLimitedTextEdit>(dialog, "memo")->setPlainText(QStringLiteral("一行目\n二行目"));
        dialog.OnOK();

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::vector<std::string> lines = test::crlfLines(data());
        QCOMPARE(lines.size(), std::size_t(3));
        const std::vector<std::string> added = test::fieldsOf(lines[2]);
        QCOMPARE(added[Id], std::string("8"));
        QCOMPARE(added[Name], "星鉄の剣 2"_sj); // "×" typed is stored as a blank
        QCOMPARE(added[Material1], "霜草"_sj);
        QCOMPARE(added[Material1 + 2], "霜草"_sj);
        QCOMPARE(added[Material1 + 3], std::string());
        QCOMPARE(added[Crystal], std::string("1"));
        QCOMPARE(added[Hq], std::string("<><>"));
        QCOMPARE(added[Skill], std::string("1"));
        QCOMPARE(memoFile(), "3,"s + "古いメモ"_sj + "\r\n8," + "一行目<br>二行目"_sj + "\r\n");
    }

    void firstRecordStartsANewDataFileWhenAsked()
    {
        std::filesystem::remove(dataPath());
        ScriptedEditDlg dialog;
        QVERIFY(dialog.OnInitDialog());
        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("星鉄の剣"));
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        dialog.OnOK();
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.buttons, MessageButtons::YesNo);
        QVERIFY(messages()[0].message.text.contains(fromPath(dataPath())));
        QVERIFY(!std::filesystem::exists(dataPath()));

        m_platform->services().queueMessageAnswer(MessageAnswer::Yes);
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(2)); // asked again, nothing else
        const std::vector<std::string> lines = test::crlfLines(data());
        QCOMPARE(lines.size(), std::size_t(1));
        QCOMPARE(test::fieldsOf(lines[0])[Name], "星鉄の剣"_sj);
    }

    void editShowsTheRecordAndRewritesItInPlace()
    {
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("　データの編集 - 灰樫材×3 -"));
        QCOMPARE(child<QLineEdit>(dialog, "name")->text(), QStringLiteral("灰樫材×3"));
        QCOMPARE(child<QComboBox>(dialog, "skill")->currentText(), QStringLiteral("裁縫"));
        QCOMPARE(child<QComboBox>(dialog, "rank")->currentText(), QStringLiteral("見習い"));
        QCOMPARE(child<QComboBox>(dialog, "crystal")->currentText(), QStringLiteral("風"));
        QCOMPARE(child<QLabel>(dialog, "needLevels")->text(), QStringLiteral("裁縫: 12 "));
        QCOMPARE(entries(child<QListWidget>(dialog, "materials")),
            (QStringList { QStringLiteral("月光石"), QStringLiteral("霜草×2") }));
        QCOMPARE(
            child<QPlainTextEdit>(dialog, "description")->toPlainText(), QStringLiteral("木材\n（素材）"));
        for (const char* box : { "hq1", "hq2", "hq3" })
            QCOMPARE(child<QLineEdit>(dialog, box)->text(), QString());
        QCOMPARE(child<QLineEdit>(dialog, "desynth")->text(), QStringLiteral("灰×2"));
        QVERIFY(child<QCheckBox>(dialog, "stackable")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "rare")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "ex")->isChecked());
        QCOMPARE(child<ByteLimitedTextEdit>(dialog, "memo")->sjisText(), "古いメモ"_sj);

        // Only the changed name is rebuilt; every other field keeps its bytes
        // (the materials stay out of the list's order, hq stays "<><>").
        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("灰樫材×4"));
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        std::string expected = m_original;
        expected.replace(expected.find("灰樫材 3"_sj), "灰樫材 3"_sj.size(), "灰樫材 4"_sj);
        QCOMPARE(data(), expected);
    }

    void hugeDescriptionIsShownCutAndStoredWhole()
    {
        // Laying out megabytes would freeze the dialog; the box shows the
        // beginning read-only and the whole text is stored back.
        const std::string huge = "前書き<br>"_sj + std::string(kMaxShownDescriptionBytes, 'w');
        writeFileBytes(dataPath(),
            recordLine({ { Id, "9" }, { Name, "巻物"_sj }, { Skill, "0" }, { Description, huge } }));
        ScriptedEditDlg dialog;
        dialog.m_recordId = "9";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        auto* box = child<QPlainTextEdit>(dialog, "description");
        QVERIFY(box->isReadOnly());
        QVERIFY(box->toPlainText().startsWith(QStringLiteral("前書き\nwww")));
        QVERIFY(box->toPlainText().size() < 70000);
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(test::fieldsOf(test::crlfLines(data())[0])[Description], huge);
    }

    void emptyHqIsShownAsItsPlaceholderAndKeptUntouched()
    {
        ScriptedEditDlg dialog;
        dialog.m_recordId = "7";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        QCOMPARE(child<QLineEdit>(dialog, "hq2")->text(), QStringLiteral("×-×"));
        QCOMPARE(child<QComboBox>(dialog, "crystal")->currentIndex(), -1);
        // OK without a change leaves the line byte for byte as it was.
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(data(), m_original);
    }

    void materialCommandsKeepTheListSorted()
    {
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        auto* list = child<QListWidget>(dialog, "materials");
        QVERIFY(!child<QPushButton>(dialog, "materialDelete")->isEnabled());

        list->setCurrentRow(1); // 霜草×2
        QVERIFY(child<QPushButton>(dialog, "materialDelete")->isEnabled());
        std::string seenName;
        int seenCount = 0;
        dialog.onMaterial = [&](CMaterialDlg& material) {
            seenName = material.m_materialName;
            seenCount = material.m_count;
            material.m_materialName = "赤霜草"_sj;
            material.m_count = 4;
            return int(QDialog::Accepted);
        };
        dialog.OnMaterialDoubleClick();
        QCOMPARE(seenName, "霜草"_sj);
        QCOMPARE(seenCount, 2);
        QCOMPARE(entries(list), (QStringList { QStringLiteral("月光石"), QStringLiteral("赤霜草×4") }));

        // A cancelled material dialog changes nothing.
        dialog.onMaterial = [](CMaterialDlg& material) {
            material.m_materialName = "x";
            return int(QDialog::Rejected);
        };
        dialog.OnMaterialEdit();
        QCOMPARE(entries(list), (QStringList { QStringLiteral("月光石"), QStringLiteral("赤霜草×4") }));

        list->setCurrentRow(0);
        dialog.OnMaterialDelete();
        QCOMPARE(entries(list), QStringList { QStringLiteral("赤霜草×4") });
        list->clearSelection();
        dialog.onMaterial = answerMaterial("A", 0); // a count of 0 is one unit
        dialog.OnMaterialDoubleClick();
        QCOMPARE(entries(list), (QStringList { QStringLiteral("A"), QStringLiteral("赤霜草×4") }));
    }

    void materialOverflowIsRefused()
    {
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        dialog.onMaterial = answerMaterial("B", 6); // 3 units already
        dialog.OnMaterialAdd();
        dialog.OnOK();
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.caption, QStringLiteral("入力エラー"));
        QCOMPARE(data(), m_original);

        // Brought back to eight units, the same dialog stores.
        child<QListWidget>(dialog, "materials")->setCurrentRow(0);
        dialog.OnMaterialDelete(); // B×6 goes, 月光石 and 霜草×2 stay
        dialog.onMaterial = answerMaterial("B", 5);
        dialog.OnMaterialAdd();
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::vector<std::string> edited = test::fieldsOf(test::crlfLines(data())[0]);
        QCOMPARE(edited[Material1 + 7], "霜草"_sj);
        QCOMPARE(edited[Crystal], std::string("4"));
    }

    void itemInfoFillsOnlyAnEmptyDescription()
    {
        writeFileBytes(
            m_dir->file("vornik.dat"), "古木,0,0,x\r\n"_sj + "月光の杖,1,0,（両手棍）/Lv30\r\n"_sj);
        ScriptedEditDlg dialog;
        QVERIFY(dialog.OnInitDialog());
        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("月光の杖"));
        child<QCheckBox>(dialog, "ex")->setChecked(true);
        dialog.fillFromItemInfo();
        QVERIFY(child<QCheckBox>(dialog, "rare")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "ex")->isChecked());
        QCOMPARE(
            child<QPlainTextEdit>(dialog, "description")->toPlainText(), QStringLiteral("（両手棍）\nLv30"));

        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("古木"));
        dialog.fillFromItemInfo();
        QCOMPARE(
            child<QPlainTextEdit>(dialog, "description")->toPlainText(), QStringLiteral("（両手棍）\nLv30"));
    }

    void skillValuesQuestionMarksAndCancel()
    {
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());

        // Cancel after typing: record and summaries as they were.
        const RecipeRecord before = currentRecord();
        dialog.onSkillValues = [](CSkillValueDlg& values) {
            values.OnInitDialog();
            child<QLineEdit>(values, "level5")->setText(QStringLiteral("40"));
            values.reject();
            return values.result();
        };
        dialog.OnEditNeededLevels();
        QCOMPARE(currentRecord().fields(), before.fields());
        QCOMPARE(child<QLabel>(dialog, "needLevels")->text(), QStringLiteral("裁縫: 12 "));

        // OK without changes: skill 2 has no cap yet and shows "?"; the
        // store empties a "?" cap but keeps a "?" needed level.
        QString capCaption;
        QString shownCap;
        dialog.onSkillValues = [&](CSkillValueDlg& values) {
            values.OnInitDialog();
            capCaption = values.windowTitle();
            shownCap = child<QLineEdit>(values, "level2")->text();
            values.OnOK();
            return values.result();
        };
        dialog.OnEditCapLevels();
        QCOMPARE(capCaption, QStringLiteral("スキル上昇の限界値"));
        QCOMPARE(shownCap, QStringLiteral("?"));
        QCOMPARE(currentRecord().capLevel(2), std::string("?"));
        QCOMPARE(child<QLabel>(dialog, "capLevels")->text(), QStringLiteral("裁縫:  ? "));

        dialog.onSkillValues = [](CSkillValueDlg& values) {
            values.OnInitDialog();
            child<QLineEdit>(values, "level2")->setText(QStringLiteral("?"));
            child<QLineEdit>(values, "level4")->setText(QStringLiteral("?"));
            values.OnOK();
            return values.result();
        };
        dialog.OnEditNeededLevels();
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::vector<std::string> stored = test::fieldsOf(test::crlfLines(data())[0]);
        QCOMPARE(stored[SkillUsed1 + 1], std::string("1"));
        QCOMPARE(stored[SkillUsed1 + 3], std::string("1"));
        QCOMPARE(stored[NeedLevel1 + 1], std::string("?"));
        QCOMPARE(stored[NeedLevel1 + 3], std::string("?"));
        QCOMPARE(stored[CapLevel1 + 1], std::string());
    }

    void levelBoxesTakeThreeBytes()
    {
        currentRecord() = RecipeRecord();
        CSkillValueDlg values;
        values.m_isNeeded = 1;
        values.OnInitDialog();
        QCOMPARE(values.windowTitle(), QStringLiteral("スキル上昇の必要値"));
        auto* box = child<QLineEdit>(values, "level1");
        QTest::keyClicks(box, QStringLiteral("1234"));
        QCOMPARE(box->text(), QStringLiteral("123"));
        box->clear();
        typeText(box, QStringLiteral("1あい"));
        QCOMPARE(box->text(), QStringLiteral("1あ"));
        values.OnOK();
        QCOMPARE(currentRecord().needLevel(1), "1あ"_sj);
        QCOMPARE(currentRecord().skillUsed(1), std::string("1"));
    }

    void missingRecordIsReportedAndNothingStored()
    {
        ScriptedEditDlg dialog;
        dialog.m_recordId = "99";
        dialog.m_isEdit = true;
        QVERIFY(!dialog.OnInitDialog());
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.caption, QStringLiteral("検索エラー"));
        QCOMPARE(messages()[0].message.text,
            QStringLiteral("指定データは見つかりませんでした。\nデータ編集後は再度検索を行ってください。"));
        QVERIFY(dialog.result() != int(QDialog::Accepted));

        // A data file that cannot be read is no record either.
        std::filesystem::remove(dataPath());
        ScriptedEditDlg unreadable;
        unreadable.m_recordId = "3";
        unreadable.m_isEdit = true;
        QVERIFY(!unreadable.OnInitDialog());
        unreadable.OnOK();
        QVERIFY(!std::filesystem::exists(dataPath()));
        QCOMPARE(memoFile(), "3,"s + "古いメモ"_sj + "\r\n");
    }

    void failedStoreKeepsTheDialogOpen()
    {
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("新しい名前"));
        std::filesystem::create_directory(m_dir->path() / "temp.dat");
        dialog.OnOK();
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.caption, QStringLiteral("ファイルエラー"));
        QVERIFY(!messages()[0].message.text.isEmpty());
        QCOMPARE(child<QLineEdit>(dialog, "name")->text(), QStringLiteral("新しい名前"));
        QCOMPARE(data(), m_original);

        std::filesystem::remove(m_dir->path() / "temp.dat");
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(test::fieldsOf(test::crlfLines(data())[0])[Name], "新しい名前"_sj);
    }

    void dataFileGoneBeforeStoreIsReportedOnce()
    {
        setOpenErrorHandler([](const std::string&) {
            MessageBoxRequest request;
            request.caption = QStringLiteral("オープンエラー");
            platformServices().messageBox(request);
        });
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("新しい名前"));
        std::filesystem::remove(dataPath());
        dialog.OnOK();
        setOpenErrorHandler(nullptr);
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.caption, QStringLiteral("オープンエラー"));
        QCOMPARE(child<QLineEdit>(dialog, "name")->text(), QStringLiteral("新しい名前"));
        QVERIFY(!std::filesystem::exists(dataPath()));
    }

    void memoLimitIsCheckedBeforeAnything()
    {
        writeFileBytes(m_dir->file("vornik_memo.txt"), "3," + std::string(1001, 'm') + "\r\n");
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        auto* memo = child<ByteLimitedTextEdit>(dialog, "memo");
        QCOMPARE(memo->sjisText().size(), std::size_t(1001)); // shown whole
        QTest::keyClicks(memo, QStringLiteral("x"));
        QCOMPARE(memo->sjisText().size(), std::size_t(1001)); // but never longer
        dialog.OnOK();
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.text, QStringLiteral("1000 文字以内で入力してください。"));
        QCOMPARE(data(), m_original);

        // Typing stops at 1000 bytes; a line break counts as two.
        memo->setPlainText(QString(997, QLatin1Char('m')));
        memo->moveCursor(QTextCursor::End);
        typeText(memo, QStringLiteral("あ"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("ab"));
        QCOMPARE(memo->toPlainText(), QString(997, QLatin1Char('m')) + QStringLiteral("あa"));
        dialog.OnOK();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void charactersShiftJisCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::newRow("emoji in the name") << "name" << QStringLiteral("星鉄😀の剣") << QStringLiteral("😀");
        QTest::newRow("Hangul in an HQ box") << "hq2" << QStringLiteral("한글×2") << QStringLiteral("한 글");
        QTest::newRow("accented letter in desynthesis")
            << "desynth" << QStringLiteral("灰ñ") << QStringLiteral("ñ");
        // Each named once; a typed "?" is an ordinary character.
        QTest::newRow("memo") << "memo" << QStringLiteral("😀?\n😀한") << QStringLiteral("😀 한");
        QTest::newRow("description") << "description" << QStringLiteral("木材\n🍄") << QStringLiteral("🍄");
    }

    void charactersShiftJisCannotHoldAreRefused()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        const std::string memoBefore = memoFile();
        ScriptedEditDlg dialog;
        dialog.m_recordId = "3";
        dialog.m_isEdit = true;
        QVERIFY(dialog.OnInitDialog());
        QWidget* widget = child<QWidget>(dialog, box.toLatin1().constData());
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->setText(typed);
        else
            qobject_cast<QPlainTextEdit*>(widget)->setPlainText(typed);
        dialog.OnOK();
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(1));
        QVERIFY2(
            messages()[0].message.text.startsWith(
                QStringLiteral("Shift-JIS で保存できない文字が含まれています: ") + named + QLatin1Char('\n')),
            qPrintable(messages()[0].message.text));
        QCOMPARE(data(), m_original);
        QCOMPARE(memoFile(), memoBefore);

        // The material dialog refuses at its own OK.
        CMaterialDlg material;
        material.m_isAdd = 1;
        material.OnInitDialog();
        child<QLineEdit>(material, "materialName")->setText(typed);
        material.OnOK();
        QVERIFY(material.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(2));
    }

    void materialDialogChecksTheName()
    {
        CMaterialDlg add;
        add.m_isAdd = 1;
        add.OnInitDialog();
        QCOMPARE(add.windowTitle(), QStringLiteral("材料の追加"));
        auto* count = child<QComboBox>(add, "materialCount");
        QCOMPARE(count->currentText(), QStringLiteral("1"));
        add.OnOK();
        QVERIFY(add.result() != int(QDialog::Accepted));
        QCOMPARE(messages().size(), std::size_t(1));
        QCOMPARE(messages()[0].message.caption, QStringLiteral("入力エラー"));
        QCOMPARE(messages()[0].message.text, QStringLiteral("名前が入力されていません。"));
        child<QLineEdit>(add, "materialName")->setText(QStringLiteral("霜草"));
        count->setEditText(QStringLiteral("abc"));
        add.OnOK();
        QCOMPARE(add.result(), int(QDialog::Accepted));
        QCOMPARE(add.m_materialName, "霜草"_sj);
        QCOMPARE(add.m_count, 0);

        CMaterialDlg edit;
        edit.m_isAdd = 0;
        edit.m_materialName = "霜草"_sj;
        edit.m_count = 12;
        edit.OnInitDialog();
        QCOMPARE(edit.windowTitle(), QStringLiteral("材料の編集"));
        QCOMPARE(child<QLineEdit>(edit, "materialName")->text(), QStringLiteral("霜草"));
        QCOMPARE(child<QComboBox>(edit, "materialCount")->currentText(), QString());
        edit.m_count = 5;
        edit.OnInitDialog();
        QCOMPARE(child<QComboBox>(edit, "materialCount")->currentText(), QStringLiteral("5"));
    }
};

QTEST_MAIN(DialogsEditTest)
#include "dialogs_edit_test.moc"
