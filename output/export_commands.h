#pragma once
// The file menu's exports: the result list as shown (CSV or a web page) and
// the input method's user dictionary of every recipe. Each asks for the
// target file, writes it under the busy cursor and tells the user how it
// went; a failed write is always reported and never followed by the
// completion prompt.

#include "platform/qt/platform_services.h"

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace vornik {

class MainWindowAccess;

// "表示データをファイルに出力(&O)...": CSV when the chosen name ends in
// ".csv" (any letter case), otherwise the web page. True when a file was
// written.
bool exportDisplayedData(MainWindowAccess& window);
// "表示データをWEB出力(&W)...": always the web page, whatever the name.
bool exportWebPage(MainWindowAccess& window);
// "IME辞書テキスト出力(I)...".
void exportImeDictionary(MainWindowAccess& window);

// The question after a table export; Yes opens the file with the desktop's
// default handler.
void confirmOpenExported(const std::string& path, const QString& caption);

// ---- shared by the output commands -------------------------------------

// A file dialog that starts in the program's folder.
FileDialogRequest programFolderDialog(QWidget* parent, const QString& title, const QString& filters,
    const QString& initialName, const QString& defaultExtension);
// Run the dialog and return the chosen path as Shift-JIS; nothing when the
// user cancels, or when the name holds a character Shift-JIS cannot hold
// (reported: every path the program keeps or opens is Shift-JIS, so such a
// name would silently become another file).
std::optional<std::string> askSaveFileName(const FileDialogRequest& request);
std::optional<std::string> askOpenFileName(const FileDialogRequest& request);
// askSaveFileName for a file the command will write: one of the program's
// own files is refused with a message (and nothing is returned).
std::optional<std::string> askExportTarget(const FileDialogRequest& request);

} // namespace vornik
