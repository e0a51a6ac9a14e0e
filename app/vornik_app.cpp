#include "app/vornik_app.h"

#include "app/app_icon.h"
#include "app/core/command_line.h"
#include "app/main_dlg.h"
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

    setProgramDir(
        sjisPath(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdU16String()));

    const std::vector<std::string> arguments = argumentsAfterProgram();
    CMainDlg window(searchNameFromArguments(arguments));
    if (const std::optional<std::string> saved = savedSearchFromArguments(arguments))
        window.RunSavedSearch(*saved);
    window.show();
    return QApplication::exec();
}

} // namespace vornik
