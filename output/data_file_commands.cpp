#include "output/data_file_commands.h"

#include "output/core/export_file.h"
#include "output/export_commands.h"
#include "platform/file_identity.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "ui/main_window_access.h"

namespace vornik {
namespace {

const QString kDataFileFilters = QStringLiteral("Vornik形式(*.txt)|*.txt||");

// The settings file drops blanks and tabs around a value and one pair of
// enclosing quotes; quoted, a path keeps its blanks ("data " stays "data ",
// not another file).
std::string settingValueOf(const std::string& path)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool needsQuotes = !path.empty()
        && (blank(path.front()) || blank(path.back()) || (path.front() == '"' && path.back() == '"'));
    return needsQuotes ? "\"" + path + "\"" : path;
}

void switchDataFile(MainWindowAccess& window, const std::string& path)
{
    bool written = false;
    {
        BusyCursor busy;
        written = writeIniString("system", "file", settingValueOf(path));
    }
    if (!written) {
        showFileErrorText(
            window.window(), "設定ファイルに書き込めませんでした。"_sj + "\n" + settingsFilePath());
        return;
    }
    window.updateCaption();
}

} // namespace

void openDataFileCommand(MainWindowAccess& window)
{
    FileDialogRequest dialog = programFolderDialog(window.window(), QStringLiteral("ファイルを開く"),
        kDataFileFilters, QStringLiteral("*.txt"), QStringLiteral("txt"));
    dialog.mustExist = false;
    const std::optional<std::string> path = askOpenFileName(dialog);
    if (!path)
        return;
    switchDataFile(window, *path);
}

void saveDataFileAs(MainWindowAccess& window)
{
    const FileDialogRequest dialog = programFolderDialog(window.window(), QStringLiteral("名前をつけて保存"),
        kDataFileFilters, QStringLiteral("*.txt"), QStringLiteral("txt"));
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
        showFileErrorText(window.window(), error);
        return;
    }
    switchDataFile(window, *path);
}

} // namespace vornik
