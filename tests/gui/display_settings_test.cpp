#include "app/display_settings_dlg.h"
#include "storage/profile.h"
#include "tests/support/temp_program_dir.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

using namespace vornik;

namespace {

const QStringList kColumnLabels = {
    QStringLiteral("スキル(&M)"),
    QStringLiteral("ランク(&S)"),
    QStringLiteral("必要(&L)"),
    QStringLiteral("限界(&U)"),
    QStringLiteral("素材(&R)"),
    QStringLiteral("説明(&E)"),
    QStringLiteral("ハイクォリティ(&H)"),
    QStringLiteral("分解(&B)"),
    QStringLiteral("スタック(&T)"),
    QStringLiteral("Ex(&E)"),
    QStringLiteral("Rare(&A)"),
    QStringLiteral("クリスタル(&C)"),
};
const QString kOnline = QStringLiteral("オンライン版を使用する （インターネットへの接続環境が必要）");
const QString kOffline = QStringLiteral("オフライン版を使用する (shopsearch.exeが必要)");

QCheckBox* box(const QDialog& dialog, int flag)
{
    for (QCheckBox* candidate : dialog.findChildren<QCheckBox*>()) {
        if (candidate->text() == kColumnLabels[flag])
            return candidate;
    }
    return nullptr;
}

QRadioButton* option(const QDialog& dialog, const QString& label)
{
    for (QRadioButton* candidate : dialog.findChildren<QRadioButton*>()) {
        if (candidate->text() == label)
            return candidate;
    }
    return nullptr;
}

QString checkedFlags(const QDialog& dialog)
{
    QString flags;
    for (int flag = 0; flag < kColumnLabels.size(); ++flag)
        flags += box(dialog, flag)->isChecked() ? QLatin1Char('1') : QLatin1Char('x');
    return flags;
}

std::string storedColumn()
{
    return readIniString("window", "column", "<absent>");
}
std::string storedShop()
{
    return readIniString("window", "shop", "<absent>");
}

} // namespace

class DisplaySettingsTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryControlWithItsLabel();
    void opensFromTheStoredFlags();
    void okWritesTwelveFlagsAndTheShopMode();
    void okReportsAChangeOnlyWhenTheTextDiffers();
    void cancelWritesNothing();
};

void DisplaySettingsTest::showsEveryControlWithItsLabel()
{
    test::TempProgramDir dir;
    CDisplaySettingsDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("表示設定"));
    for (int flag = 0; flag < kColumnLabels.size(); ++flag) {
        QCheckBox* control = box(dialog, flag);
        QVERIFY2(control, qPrintable(kColumnLabels[flag]));
        QCOMPARE(control->accessibleName(),
            QString(kColumnLabels[flag])
                .remove(QRegularExpression(QStringLiteral("\\(&.\\)")))
                .remove(QLatin1Char('&')));
    }
    QCOMPARE(dialog.findChildren<QCheckBox*>().size(), 13); // the columns and "入力中に検索"
    QVERIFY(option(dialog, kOnline));
    QVERIFY(option(dialog, kOffline));

    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    QCOMPARE(groups, (QStringList { QStringLiteral("表示項目"), QStringLiteral("Orlanmereショップサーチ") }));

    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("説明：各種表示に関する設定を変更する事が出来ます。")));

    QStringList buttons;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (!qobject_cast<const QCheckBox*>(button) && !qobject_cast<const QRadioButton*>(button))
            buttons << button->text();
    }
    buttons.sort();
    QCOMPARE(buttons, (QStringList { QStringLiteral("OK"), QStringLiteral("キャンセル") }));
}

void DisplaySettingsTest::opensFromTheStoredFlags()
{
    test::TempProgramDir dir;
    {
        // No key: every box checked, the online shop search.
        CDisplaySettingsDlg dialog;
        QCOMPARE(checkedFlags(dialog), QStringLiteral("111111111111"));
        QVERIFY(option(dialog, kOnline)->isChecked());
        QVERIFY(!option(dialog, kOffline)->isChecked());
        QVERIFY(!dialog.m_columnsChanged);
    }
    writeIniString("window", "column", "x1x111xxxxx1");
    writeIniString("window", "shop", "7");
    {
        CDisplaySettingsDlg dialog;
        QCOMPARE(checkedFlags(dialog), QStringLiteral("x1x111xxxxx1"));
        QVERIFY(option(dialog, kOffline)->isChecked());
    }
    // Short and odd values: only "1" checks a box.
    writeIniString("window", "column", "1Y0 1");
    {
        CDisplaySettingsDlg dialog;
        QCOMPARE(checkedFlags(dialog), QStringLiteral("1xxx1xxxxxxx"));
    }
}

void DisplaySettingsTest::okWritesTwelveFlagsAndTheShopMode()
{
    test::TempProgramDir dir;
    {
        CDisplaySettingsDlg dialog;
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(storedColumn(), std::string("111111111111"));
        QCOMPARE(storedShop(), std::string("0"));
        QCOMPARE(readIniString("window", "livesearch", ""), std::string("0")); // off by default
        QVERIFY(dialog.m_columnsChanged); // nothing was stored before
    }
    {
        CDisplaySettingsDlg dialog;
        box(dialog, 0)->setChecked(false);
        box(dialog, 11)->setChecked(false);
        option(dialog, kOffline)->setChecked(true);
        for (QCheckBox* live : dialog.findChildren<QCheckBox*>()) {
            if (live->text() == QStringLiteral("入力中に検索"))
                live->setChecked(true);
        }
        dialog.accept();
        QCOMPARE(readIniString("window", "livesearch", ""), std::string("1"));
        QCOMPARE(storedColumn(), std::string("x1111111111x"));
        QCOMPARE(storedShop(), std::string("1"));
    }
    writeIniString("window", "shop", "3");
    {
        // Stored as "0" or "1" only, whatever was there.
        CDisplaySettingsDlg dialog;
        dialog.accept();
        QCOMPARE(storedShop(), std::string("1"));
    }
}

void DisplaySettingsTest::okReportsAChangeOnlyWhenTheTextDiffers()
{
    test::TempProgramDir dir;
    writeIniString("window", "column", "x1x111xxxxx1");
    {
        CDisplaySettingsDlg dialog;
        option(dialog, kOffline)->setChecked(true);
        dialog.accept();
        QVERIFY(!dialog.m_columnsChanged);
        QCOMPARE(storedColumn(), std::string("x1x111xxxxx1"));
        QCOMPARE(storedShop(), std::string("1"));
    }
    {
        CDisplaySettingsDlg dialog;
        box(dialog, 0)->setChecked(true);
        dialog.accept();
        QVERIFY(dialog.m_columnsChanged);
        QCOMPARE(storedColumn(), std::string("11x111xxxxx1"));
    }
    // The long forms are rewritten in the 12-character form, which counts
    // as a change although every box stayed as it was.
    for (const char* stored : { "11111111111110000000", "1111111111111xxxxxxx" }) {
        writeIniString("window", "column", stored);
        CDisplaySettingsDlg dialog;
        dialog.accept();
        QVERIFY2(dialog.m_columnsChanged, stored);
        QCOMPARE(storedColumn(), std::string("111111111111"));
    }
}

void DisplaySettingsTest::cancelWritesNothing()
{
    test::TempProgramDir dir;
    writeIniString("window", "column", "x1x111xxxxx1");
    const std::string before = test::readFileBytes(dir.file("vornik.ini"));

    CDisplaySettingsDlg dialog;
    box(dialog, 0)->setChecked(true);
    option(dialog, kOffline)->setChecked(true);
    dialog.reject();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.m_columnsChanged);
    QCOMPARE(test::readFileBytes(dir.file("vornik.ini")), before);
    QCOMPARE(storedShop(), std::string("<absent>"));
}

QTEST_MAIN(DisplaySettingsTest)
#include "display_settings_test.moc"
