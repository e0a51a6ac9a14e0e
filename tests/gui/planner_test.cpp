// The crafting planner window on the planner's hand-made data file: opened
// from the detail dialog, re-planned on a quantity, "buy" or record change,
// copied and exported; and the shopping list with an unknown name.

#include "dialogs/detail_dlg.h"
#include "dialogs/planner_dlg.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/record.h"
#include "storage/vocabulary.h"
#include "tests/support/modal_driver.h"
#include "tests/support/planner_data.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

using namespace vornik;

namespace {

// "区分 名前 個数" of every totals row, one text per row.
QStringList totalsRows(const CPlannerDlg& planner)
{
    QStringList rows;
    for (const ResultRow& row : planner.totals().rows)
        rows << fromSjis(row.cell(0)) + ' ' + fromSjis(row.cell(1)) + ' ' + fromSjis(row.cell(2));
    return rows;
}

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& prefix)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0).startsWith(prefix))
            return parent->child(i);
    }
    qFatal("no child %s", qPrintable(prefix));
}

} // namespace

class PlannerTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<test::TempProgramDir>();
        test::writeFileBytes(m_dir->path() / "vornik.txt", test::plannerDataFile());
        m_platform = std::make_unique<ScopedScriptedPlatform>();
        crystalVocabulary().clear();
        crystalVocabulary().set(1, "炎"_sj);
        crystalVocabulary().set(2, "水"_sj);
    }
    void cleanup()
    {
        m_platform.reset();
        m_dir.reset();
    }

    void fromTheDetailDialog()
    {
        CDetailDlg detail;
        detail.m_recordId = std::string("1");
        QVERIFY(detail.OnInitDialog());
        QPushButton* open = nullptr;
        for (QPushButton* button : detail.findChildren<QPushButton*>()) {
            if (button->accessibleName() == QStringLiteral("必要素材を計算..."))
                open = button;
        }
        QVERIFY(open);
        QString seen;
        test::ModalDriver driver({ test::on<CPlannerDlg>([&seen](CPlannerDlg& planner) {
            seen = planner.windowTitle() + ' ' + totalsRows(planner).join(',');
            planner.accept();
        }) });
        open->click();
        QCOMPARE(seen.section(' ', 0, 3), QStringLiteral("必要素材 - 蒼鋼の剣 -"));
        QVERIFY(seen.contains(QStringLiteral("素材 蒼鉱石 3,")));
        // The detail dialog still shows (and would store the memo of) its own record.
        QCOMPARE(currentRecord().id(), std::string("1"));
    }

    void replansOnEveryChange()
    {
        CPlannerDlg planner(nullptr, "蒼鋼の剣"_sj);
        QVERIFY(planner.OnInitDialog());
        QCOMPARE(planner.quantityBox()->accessibleName(), QStringLiteral("個数"));
        QCOMPARE(planner.tree()->accessibleName(), QStringLiteral("素材の内訳"));
        planner.quantityBox()->setValue(2);
        QCOMPARE(totalsRows(planner),
            QStringList({ "素材 蒼鉱石 6", "素材 砂石 2", "素材 獣の皮 1", "素材 岩塩 1", "クリスタル 炎 4",
                "クリスタル 水 2", "合成 蒼鋼インゴット 6", "合成 なめし革 1", "合成 革紐 3",
                "合成 蒼鋼の剣 2" }));

        QTreeWidgetItem* sword = planner.tree()->topLevelItem(0);
        QTreeWidgetItem* ingot = childNamed(sword, QStringLiteral("蒼鋼インゴット"));
        QCOMPARE(
            QStringList({ ingot->text(1), ingot->text(2), ingot->text(3) }), QStringList({ "4", "2", "2" }));
        QTreeWidgetItem* strap = childNamed(sword, QStringLiteral("革紐"));
        QCOMPARE(strap->text(0), QStringLiteral("革紐（レシピ 1/2）"));
        strap->setExpanded(true);
        QCOMPARE(strap->child(0)->text(0), QStringLiteral("なめし革"));

        planner.tree()->setCurrentItem(strap);
        planner.OnNextRecipe();
        QVERIFY(totalsRows(planner).contains(QStringLiteral("素材 麻糸 4")));
        {
            // Remembered for the session, in a new window too.
            CPlannerDlg again(nullptr, "蒼鋼の剣"_sj);
            QVERIFY(again.OnInitDialog());
            QCOMPARE(childNamed(again.tree()->topLevelItem(0), QStringLiteral("革紐"))->text(0),
                QStringLiteral("革紐（レシピ 2/2）"));
        }
        planner.tree()->setCurrentItem(childNamed(planner.tree()->topLevelItem(0), QStringLiteral("革紐")));
        planner.OnNextRecipe(); // back to the first record

        planner.tree()->setCurrentItem(
            childNamed(planner.tree()->topLevelItem(0), QStringLiteral("蒼鋼インゴット")));
        planner.OnToggleBuy();
        QCOMPARE(totalsRows(planner).first(), QStringLiteral("素材 蒼鋼インゴット 4"));
        QCOMPARE(childNamed(planner.tree()->topLevelItem(0), QStringLiteral("蒼鋼インゴット"))->text(2),
            QStringLiteral("買う"));

        planner.OnCopy();
        const QString copied
            = m_platform->services().callsOf(PlatformCallKind::SetClipboardText).at(0).clipboardText;
        QVERIFY(copied.startsWith(QStringLiteral("区分\t名前\t個数\t合成回数")));
        QVERIFY(copied.contains(QStringLiteral("素材\t蒼鋼インゴット\t4")));

        const std::string csv = m_dir->file("plan.csv");
        m_platform->services().queueFileName(FileDialogResult { fromSjis(csv), 0 });
        m_platform->services().queueMessageAnswer(MessageAnswer::No);
        planner.OnExportCsv();
        const std::string written = test::readFileBytes(m_dir->path() / "plan.csv");
        QVERIFY(written.starts_with("区分,名前,個数"_sj));
        QVERIFY(written.find("\r\n"_sj + "素材,"_sj + "蒼鋼インゴット,4,"_sj) != std::string::npos);
    }

    void shoppingListKeepsUnknownNames()
    {
        CPlannerDlg planner(nullptr);
        QVERIFY(planner.OnInitDialog());
        planner.listBox()->setPlainText(QStringLiteral("蒼鋼の剣×1\n\n幻の花 2\n蒼鋼インゴット　１\n"));
        planner.OnCalculate();
        QCOMPARE(planner.unknownNames(), std::vector<std::string> { "幻の花"_sj });
        QCOMPARE(planner.tree()->topLevelItemCount(), 3);
        // The ingot for the sword and the one wanted alone: one craft of three.
        QVERIFY(totalsRows(planner).contains(QStringLiteral("合成 蒼鋼インゴット 3")));
        QVERIFY(totalsRows(planner).contains(QStringLiteral("素材（レシピなし） 幻の花 2")));
    }

private:
    std::unique_ptr<test::TempProgramDir> m_dir;
    std::unique_ptr<ScopedScriptedPlatform> m_platform;
};

QTEST_MAIN(PlannerTest)
#include "planner_test.moc"
