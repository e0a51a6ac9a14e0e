#include "ui/file_error.h"

#include "platform/qt/qt_text.h"
#include "storage/storage_error.h"
#include "ui/dialog_parts.h"

namespace vornik {

void showFileError(QWidget* parent, const std::string& message)
{
    showMessage(parent, QStringLiteral("ファイルエラー"), fromSjis(message), MessageIcon::Error);
}

void showFileError(QWidget* parent, const StorageError& error)
{
    if (!error.shown)
        showFileError(parent, error.text);
}

} // namespace vornik
