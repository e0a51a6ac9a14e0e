#include "ui/file_error.h"

#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "storage/data_file.h"

namespace vornik {

void showFileError(QWidget* parent)
{
    if (storageErrorShown())
        return;
    MessageBoxRequest request;
    request.parent = parent;
    request.caption = QStringLiteral("ファイルエラー");
    request.text = fromSjis(storageError());
    request.icon = MessageIcon::Error;
    platformServices().messageBox(request);
}

} // namespace vornik
