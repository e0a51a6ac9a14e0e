#pragma once
// Reports a file error (what failed, the file name and the cause, in
// Japanese) in a "ファイルエラー" message box through the platform layer.

#include <string>

class QWidget;

namespace vornik {

struct StorageError;

// `message` is Shift-JIS, as storage and output messages are.
void showFileError(QWidget* parent, const std::string& message);
// The failure of a storage call; nothing when the user has already been told
// (the open-error handler showed it).
void showFileError(QWidget* parent, const StorageError& error);

} // namespace vornik
