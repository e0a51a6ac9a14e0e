// Every control a user can reach in every window carries an accessible name:
// its label as a screen reader should say it, without the mnemonic.

#include "app/about_dialog.h"
#include "app/display_settings_dlg.h"
#include "app/main_dlg.h"
#include "app/search_panel.h"
#include "dialogs/detail_dlg.h"
#include "dialogs/edit_dlg.h"
#include "dialogs/material_dlg.h"
#include "dialogs/planner_dlg.h"
#include "dialogs/skill_value_dlg.h"
#include "platform/qt/qt_text.h"
#include "storage/paths.h"
#include "tests/support/modal_driver.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>

using namespace vornik;
using vornik::test::TempProgramDir;

namespace {

bool isInputControl(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget)
        || qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractItemView*>(widget)
        || qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget);
}

// The text box inside an editable drop-down and the heading row of a list
// are parts of their owner, which carries the name.
bool isPartOfAnotherControl(const QWidget* widget)
{
    return qobject_cast<const QComboBox*>(widget->parentWidget()) || qobject_cast<const QHeaderView*>(widget);
}

// What is wrong with the names of the visible controls, one line per control.
QStringList namingFaults(const QWidget* window)
{
    static const QRegularExpression mnemonicLeft(QStringLiteral("\\([A-Z]\\)"));
    QStringList faults;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || !isInputControl(widget) || isPartOfAnotherControl(widget))
            continue;
        const QString name = widget->accessibleName();
        const QString what
            = QStringLiteral("%1 '%2' in '%3'")
                  .arg(QString::fromLatin1(widget->metaObject()->className()), name, window->windowTitle());
        if (name.isEmpty())
            faults << what + QStringLiteral(": no accessible name");
        else if (name.contains(QLatin1Char('&')) || name.contains(mnemonicLeft))
            faults << what + QStringLiteral(": mnemonic left in the name");
        else if (name.endsWith(QStringLiteral("：")))
            faults << what + QStringLiteral(": label colon left in the name");
    }
    return faults;
}

QString nameOf(const QWidget* window, const char* objectName)
{
    const QWidget* control = window->findChild<QWidget*>(QString::fromLatin1(objectName));
    return control ? control->accessibleName() : QStringLiteral("<missing %1>").arg(objectName);
}

} // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowInBothPanes()
    {
        TempProgramDir dir;
        ScopedScriptedPlatform platform;
        CMainDlg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(namingFaults(&window).join(QLatin1Char('\n')), QString());
        window.ToggleMemoPane();
        QCOMPARE(namingFaults(&window).join(QLatin1Char('\n')), QString());

        QStringList criteria;
        for (const QComboBox* box : window.searchPanel()->findChildren<QComboBox*>())
            criteria << box->accessibleName();
        QVERIFY2(criteria.contains(QStringLiteral("名前")), qPrintable(criteria.join(u',')));
        QVERIFY2(criteria.contains(QStringLiteral("ｽｷﾙ")), qPrintable(criteria.join(u',')));
    }

    void recordDialogs()
    {
        TempProgramDir dir;
        ScopedScriptedPlatform platform;
        CDetailDlg detail;
        CEditDlg edit;
        CMaterialDlg material;
        CSkillValueDlg levels;
        for (QDialog* dialog : std::initializer_list<QDialog*> { &detail, &edit, &material, &levels }) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QCOMPARE(namingFaults(dialog).join(QLatin1Char('\n')), QString());
        }
        // Labels with a mnemonic and a colon are read as the bare word.
        QCOMPARE(nameOf(&edit, "name"), QStringLiteral("名前"));
        QCOMPARE(nameOf(&edit, "hq1"), QStringLiteral("HQ1"));
        QCOMPARE(nameOf(&edit, "skill"), QStringLiteral("ｽｷﾙ"));
        // Three buttons read "編集": each name says what it edits.
        QCOMPARE(nameOf(&edit, "capLevelsEdit"), QStringLiteral("限界を編集"));
        QCOMPARE(nameOf(&edit, "needLevelsEdit"), QStringLiteral("必要を編集"));
        QCOMPARE(nameOf(&edit, "materialEdit"), QStringLiteral("素材を編集"));
        QCOMPARE(nameOf(&material, "materialCount"), QStringLiteral("個数"));
        QCOMPARE(nameOf(&levels, "level1"), QStringLiteral("鍛冶"));
        QCOMPARE(nameOf(&detail, "name"), QStringLiteral("名前"));
    }

    void plannerWindows()
    {
        TempProgramDir dir;
        ScopedScriptedPlatform platform;
        CPlannerDlg one(nullptr, "x");
        CPlannerDlg list(nullptr);
        for (QDialog* dialog : std::initializer_list<QDialog*> { &one, &list }) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QCOMPARE(namingFaults(dialog).join(QLatin1Char('\n')), QString());
        }
        QCOMPARE(list.listBox()->accessibleName(), QStringLiteral("作るもの"));
    }

    void displaySettingsDialog()
    {
        TempProgramDir dir;
        CDisplaySettingsDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(namingFaults(&dialog).join(QLatin1Char('\n')), QString());
        QStringList boxes;
        for (const QAbstractButton* box : dialog.findChildren<QAbstractButton*>())
            boxes << box->accessibleName();
        QVERIFY2(boxes.contains(QStringLiteral("スキル")), qPrintable(boxes.join(u',')));
        QVERIFY2(boxes.contains(QStringLiteral("Ex")), qPrintable(boxes.join(u',')));
    }

    void aboutBox()
    {
        QString faults = QStringLiteral("the about box did not open");
        QStringList labels;
        test::ModalDriver driver({ [&faults, &labels](QWidget* box) {
            faults = namingFaults(box).join(QLatin1Char('\n'));
            for (const QLabel* label : box->findChildren<QLabel*>())
                labels << label->text();
            box->close();
        } });
        showAboutBox(nullptr);
        QCOMPARE(faults, QString());
        // Which folder holds the files: an installed program uses the user's own.
        QVERIFY2(labels.contains(QStringLiteral("データフォルダー：") + fromSjis(programDir())),
            qPrintable(labels.join(u',')));
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "accessible_names_test.moc"
