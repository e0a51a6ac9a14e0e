#include "output/data_file_commands.h"

#include "output/core/export_file.h"
#include "output/export_commands.h"
#include "platform/file_identity.h"
#include "platform/native_path.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/memo_pad.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/main_window_access.h"

namespace vornik {
namespace {

const QString kDataFileFilters = QStringLiteral("Vornik形式(*.txt)|*.txt||");

// The settings file holds Shift-JIS text: a path it cannot hold is refused,
// never stored as another path.
bool settingCanHold(MainWindowAccess& window, const std::string& path)
{
    if (dataFileSetting(path))
        return true;
    showFileError(window.mainWidget(),
        "このファイルの場所には設定ファイルに書けない文字が含まれています。"_sj + "\n"
            + pathForMessage(path));
    return false;
}

void switchDataFile(MainWindowAccess& window, const std::string& path)
{
    if (!settingCanHold(window, path))
        return;
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
    // A new name starts a new data file, once the user agrees; otherwise the
    // current one stays (a name that leads nowhere would only end in open
    // errors at the next search).
    if (!settingCanHold(window, *path))
        return;
    if (fileIsMissing(*path)) {
        if (!askYesNo(window.mainWidget(), QStringLiteral("データファイルの作成"),
                QStringLiteral("データファイルがありません。\n%1\n\n空のデータファイルを作成して開きますか？")
                    .arg(fromPath(*path))))
            return;
        if (StorageError error; !createFileIfMissing(*path, error)) {
            showFileError(window.mainWidget(), error);
            return;
        }
    }
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
