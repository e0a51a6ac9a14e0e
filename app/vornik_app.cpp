#include "app/vornik_app.h"

#include "app/app_icon.h"
#include "app/core/command_line.h"
#include "app/main_dlg.h"
#include "platform/data_folder.h"
#include "platform/native_path.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/translations.h"
#include "storage/paths.h"

#include <QApplication>
#include <QDir>

namespace vornik {
namespace {

std::vector<std::string> argumentsAfterProgram()
{
    // Qt has already decoded the arguments from the locale's encoding.
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(toSjis(all[i]));
    return arguments;
}

} // namespace

int CVornikApp::run(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vornik"));
    QApplication::setWindowIcon(appIcon());
    installJapaneseTranslations(app);

    const std::filesystem::path programFolder
        = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdU16String();
    const bool beside = !isInstalledTree(programFolder) && isWritableFolder(programFolder);
    const DataFolder folder
        = chooseDataFolder(programFolder, beside, defaultPerUserFolder(), sampleDataFolders(programFolder));
    setProgramDir(programPath(folder.path));

    const std::vector<std::string> arguments = argumentsAfterProgram();
    CMainDlg window(searchNameFromArguments(arguments));
    if (const std::optional<std::string> saved = savedSearchFromArguments(arguments))
        window.runSavedSearch(*saved);
    window.show();
    return QApplication::exec();
}

} // namespace vornik
