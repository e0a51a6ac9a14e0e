#include "ui/file_error.h"

#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "storage/storage_error.h"

namespace vornik {

void showFileError(QWidget* parent, const std::string& message)
{
    MessageBoxRequest request;
    request.parent = parent;
    request.caption = QStringLiteral("ファイルエラー");
    request.text = fromSjis(message);
    request.icon = MessageIcon::Error;
    platformServices().messageBox(request);
}

void showFileError(QWidget* parent, const StorageError& error)
{
    if (!error.shown)
        showFileError(parent, error.text);
}

} // namespace vornik
