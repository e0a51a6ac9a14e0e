#include "output/data_file_commands.h"

#include "output/core/export_file.h"
#include "output/export_commands.h"
#include "platform/file_identity.h"
#include "platform/native_path.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "ui/file_error.h"
#include "ui/main_window_access.h"

namespace vornik {
namespace {

const QString kDataFileFilters = QStringLiteral("Vornik形式(*.txt)|*.txt||");

void switchDataFile(MainWindowAccess& window, const std::string& path)
{
    // The settings file holds Shift-JIS text: a path it cannot hold is
    // refused, never stored as another path.
    if (!dataFileSetting(path)) {
        showFileError(window.mainWidget(),
            "このファイルの場所には設定ファイルに書けない文字が含まれています。"_sj + "\n"
                + pathForMessage(path));
        return;
    }
    bool written = false;
    {
        BusyCursor busy;
        written = setDataFilePath(path);
    }
    if (!written) {
        showFileError(window.mainWidget(),
            "設定ファイルに書き込めませんでした。"_sj + "\n" + pathForMessage(settingsFilePath()));
        return;
    }
    window.updateCaption();
}

} // namespace

void openDataFileCommand(MainWindowAccess& window)
{
    FileDialogRequest dialog = programFolderDialog(window.mainWidget(), QStringLiteral("ファイルを開く"),
        kDataFileFilters, QStringLiteral("*.txt"), QStringLiteral("txt"));
    dialog.mustExist = false;
    const std::optional<std::string> path = askOpenFileName(dialog);
    if (!path)
        return;
    switchDataFile(window, *path);
}

void saveDataFileAs(MainWindowAccess& window)
{
    const FileDialogRequest dialog = programFolderDialog(window.mainWidget(),
        QStringLiteral("名前をつけて保存"), kDataFileFilters, QStringLiteral("*.txt"), QStringLiteral("txt"));
    const std::optional<std::string> path = askSaveFileName(dialog);
    if (!path)
        return;
    const std::string current = dataFilePath();
    // Choosing the current file again just keeps it (copying a file onto
    // itself would only risk it); every other own file is refused.
    const bool keepCurrent = isSameFile(current, *path);
    std::string error;
    bool copied = false;
    {
        BusyCursor busy;
        copied = keepCurrent || copyFileSafely(current, *path, error);
    }
    if (!copied) {
        showFileError(window.mainWidget(), error);
        return;
    }
    switchDataFile(window, *path);
}

} // namespace vornik
