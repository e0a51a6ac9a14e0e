#include "output/data_file_commands.h"

#include "output/export_commands.h"
#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "ui/main_window_access.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace vornik {
namespace {

const QString kDataFileFilters = QStringLiteral("Vornik形式(*.txt)|*.txt||");

bool readWholeFile(const std::string& path, std::string& content, std::string& error)
{
    int code = 0;
    ScopedFile file;
    if (!file.open(path, OpenMode::Read, code)) {
        error = fileErrorText(FileAction::Open, path, code);
        return false;
    }
    content.clear();
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        std::size_t got = 0;
        if (!fileOps().read(file.handle(), buffer.data(), buffer.size(), got, code)) {
            error = fileErrorText(FileAction::Read, path, code);
            return false;
        }
        if (got == 0)
            return true;
        content.append(buffer.data(), got);
    }
}

// The target is replaced in one step, so an interrupted copy never leaves a
// half-written recipe file under the chosen name.
bool copyDataFile(const std::string& source, const std::string& target, std::string& error)
{
    std::string content;
    return readWholeFile(source, content, error) && writeFileAtomically(target, content, error);
}

bool isSameFile(const std::string& a, const std::string& b)
{
    std::error_code ignored;
    return std::filesystem::equivalent(nativePath(a), nativePath(b), ignored);
}

void switchDataFile(MainWindowAccess& window, const std::string& path)
{
    bool written = false;
    {
        BusyCursor busy;
        written = writeIniString("system", "file", path);
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
    std::string error;
    bool copied = false;
    {
        BusyCursor busy;
        // Copying a file onto itself would only risk it; choosing it again
        // just keeps it.
        copied = isSameFile(current, *path) || copyDataFile(current, *path, error);
    }
    if (!copied) {
        showFileErrorText(window.window(), error);
        return;
    }
    switchDataFile(window, *path);
}

} // namespace vornik
