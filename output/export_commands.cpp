#include "output/export_commands.h"

#include "output/core/csv_export.h"
#include "output/core/displayed_table.h"
#include "output/core/export_file.h"
#include "output/core/export_target.h"
#include "output/core/html_export.h"
#include "output/core/ime_dictionary.h"
#include "platform/qt/qt_text.h"
#include "storage/paths.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/main_window_access.h"

namespace vornik {
namespace {

const QString kTableExportCaption = QStringLiteral("表示データを出力");

// Paths are kept as the system names them, so any chosen name works.
std::optional<std::string> pathOf(const std::optional<FileDialogResult>& result)
{
    if (!result)
        return std::nullopt;
    return toPath(result->path);
}

// Writes the table in the chosen format; false with `error` set when the
// file could not be written completely.
bool writeTable(MainWindowAccess& window, const std::string& path, ExportFormat format, std::string& error)
{
    BusyCursor busy;
    const DisplayedTable table { window.columnHeadings(), window.shownRows() };
    if (format == ExportFormat::Csv)
        return writeCsvFile(table, path, error);
    TableExportPage page;
    page.heading = buildSearchHeading(window.searchInputs());
    return writeHtmlFile(table, path, page, error);
}

// The busy cursor is over before any message: Qt keeps an override cursor
// on top of message boxes too.
bool exportTable(
    MainWindowAccess& window, const FileDialogRequest& dialog, std::optional<ExportFormat> format)
{
    const std::optional<std::string> path = askExportTarget(dialog);
    if (!path)
        return false;
    std::string error;
    if (!writeTable(window, *path, format.value_or(exportFormatForPath(*path)), error)) {
        showFileError(window.mainWidget(), error);
        return false;
    }
    confirmOpenExported(*path, kTableExportCaption);
    return true;
}

void reportImeResult(
    QWidget* parent, ImeExportResult result, const std::string& path, const std::string& error)
{
    const QString errorCaption = QStringLiteral("エラー");
    switch (result) {
    case ImeExportResult::Written:
        showMessage(parent, QStringLiteral("IME辞書出力"),
            QStringLiteral("正常に保存が終了しました。\n") + fromPath(path), MessageIcon::Information);
        return;
    case ImeExportResult::CannotCreate:
        showMessage(parent, errorCaption,
            QStringLiteral("辞書ファイルの作成に失敗しました。")
                + (error.empty() ? QString() : QStringLiteral("\n") + fromSjis(error)),
            MessageIcon::Warning);
        return;
    case ImeExportResult::DataFileNotOpened:
        showMessage(
            parent, errorCaption, QStringLiteral("データファイルが開けませんでした。"), MessageIcon::Warning);
        return;
    case ImeExportResult::DataFileUnreadable:
    case ImeExportResult::WriteFailed:
        // The dictionary is incomplete: say so instead of reporting success.
        showMessage(parent, errorCaption,
            QStringLiteral("辞書ファイルの作成に失敗しました。\n") + fromSjis(error), MessageIcon::Warning);
        return;
    }
}

} // namespace

FileDialogRequest programFolderDialog(QWidget* parent, const QString& title, const QString& filters,
    const QString& initialName, const QString& defaultExtension)
{
    FileDialogRequest request;
    request.parent = parent;
    request.title = title;
    request.filters = filters;
    request.initialFolder = fromPath(programDir());
    request.initialName = initialName;
    request.defaultExtension = defaultExtension;
    return request;
}

std::optional<std::string> askSaveFileName(const FileDialogRequest& request)
{
    return pathOf(platformServices().saveFileName(request));
}

std::optional<std::string> askOpenFileName(const FileDialogRequest& request)
{
    return pathOf(platformServices().openFileName(request));
}

std::optional<std::string> askExportTarget(const FileDialogRequest& request)
{
    std::optional<std::string> path = askSaveFileName(request);
    if (!path)
        return std::nullopt;
    // Said before the busy cursor and the writing start; the writer checks
    // again for every other caller.
    const std::string refusal = ownFileRefusal(*path);
    if (!refusal.empty()) {
        showFileError(request.parent, refusal);
        return std::nullopt;
    }
    return path;
}

void confirmOpenExported(const std::string& path, const QString& caption)
{
    // Yes is the default: opening what was just written is the usual wish.
    if (askYesNo(nullptr, caption,
            QStringLiteral("正常に保存が終了しました。出力したファイルを開きますか？\nファイル:")
                + fromPath(path),
            MessageAnswer::Yes))
        platformServices().openWithShell(fromPath(path));
}

bool exportDisplayedData(MainWindowAccess& window)
{
    const FileDialogRequest dialog = programFolderDialog(window.mainWidget(), kTableExportCaption,
        QStringLiteral("CSV形式(*.csv)|*.csv|Web形式(*.htm,*.html)|*.htm||"), QStringLiteral("*.csv"),
        QStringLiteral("csv"));
    return exportTable(window, dialog, std::nullopt);
}

bool exportWebPage(MainWindowAccess& window)
{
    const FileDialogRequest dialog = programFolderDialog(window.mainWidget(), QStringLiteral("WEB形式で出力"),
        QStringLiteral("Web形式(*.htm,*.html)|*.htm||"), QStringLiteral("*.htm"), QStringLiteral("htm"));
    return exportTable(window, dialog, ExportFormat::Html);
}

void exportImeDictionary(MainWindowAccess& window)
{
    const FileDialogRequest dialog = programFolderDialog(window.mainWidget(), QStringLiteral("IME辞書を出力"),
        QStringLiteral("テキスト形式(*.txt)|*.txt||"), QStringLiteral("*.txt"), QStringLiteral("txt"));
    const std::optional<std::string> path = askExportTarget(dialog);
    if (!path)
        return;
    std::string error;
    ImeExportResult result = ImeExportResult::CannotCreate;
    {
        BusyCursor busy;
        result = writeImeDictionaryFile(*path, error);
    }
    reportImeResult(window.mainWidget(), result, *path, error);
}

} // namespace vornik
