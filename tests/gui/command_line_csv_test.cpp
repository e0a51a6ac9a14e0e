// The same query in the window and on the command line gives the same CSV
// file, byte for byte: the same rows, in the same order, with the same
// column texts. The command line runs first, on a program folder the window
// has never seen, as the built program without a display.

#include "app/main_dlg.h"
#include "app/search_panel.h"
#include "output/export_commands.h"
#include "tests/support/run_program.h"
#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <QComboBox>
#include <QtTest>

#include <filesystem>

using namespace vornik;
using vornik::test::ProgramRun;
using vornik::test::readFileBytes;
using vornik::test::runWithoutDisplay;
using vornik::test::TempProgramDir;

class CommandLineCsvTest : public QObject {
    Q_OBJECT

private slots:
    void sameCsvAsTheWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("skill");
        QTest::addColumn<bool>("materials");
        QTest::newRow("name") << QStringLiteral("鋼") << QString() << false;
        QTest::newRow("name and skill: two sort passes")
            << QStringLiteral("鋼") << QStringLiteral("鍛冶") << false;
        QTest::newRow("skill alone") << QString() << QStringLiteral("裁縫") << false;
        QTest::newRow("in materials too") << QStringLiteral("蒼鋼") << QString() << true;
    }

    void sameCsvAsTheWindow()
    {
        QFETCH(QString, name);
        QFETCH(QString, skill);
        QFETCH(bool, materials);
        TempProgramDir dir;
        std::filesystem::copy_file(
            std::filesystem::path(VORNIK_SAMPLES_DIR) / "vornik.txt", dir.path() / "vornik.txt");

        std::vector<std::string> arguments { "search", "--program-dir", dir.path().string(), "--format",
            "csv", "--encoding", "cp932" };
        if (!name.isEmpty())
            arguments.insert(arguments.end(), { "--name", name.toStdString() });
        if (!skill.isEmpty())
            arguments.insert(arguments.end(), { "--skill", skill.toStdString() });
        if (materials)
            arguments.push_back("--materials");
        const ProgramRun commandLine = runWithoutDisplay(VORNIK_EXECUTABLE, arguments);
        QCOMPARE(commandLine.exitCode, 0);

        ScopedScriptedPlatform platform;
        CMainDlg window(std::nullopt);
        window.searchPanel()->nameBox()->setEditText(name);
        window.searchPanel()->setIncludeMaterials(materials);
        for (QComboBox* box : window.searchPanel()->findChildren<QComboBox*>()) {
            if (box->accessibleName() == QStringLiteral("ｽｷﾙ"))
                box->setCurrentText(skill);
        }
        window.OnSearch();
        QVERIFY(window.shownRows().size() > 1);
        const std::string exported = dir.file("window.csv");
        platform->queueFileName(FileDialogResult { QString::fromStdString(exported), 0 });
        platform->queueMessageAnswer(MessageAnswer::No);
        QVERIFY(exportDisplayedData(window));

        QCOMPARE(commandLine.out, readFileBytes(exported));
    }
};

QTEST_MAIN(CommandLineCsvTest)
#include "command_line_csv_test.moc"
