#include "output/clipboard_command.h"

#include "output/core/clipboard_text.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/main_window_access.h"

#include <optional>
#include <string>

namespace vornik {

void copyRecordToClipboard(MainWindowAccess& window)
{
    const std::optional<std::string> id = window.selectedRecordId();
    if (!id)
        return;
    std::optional<std::string> text;
    StorageError error;
    {
        BusyCursor busy;
        text = clipboardTextForId(*id, error);
    }
    // An unopened file has been reported by the open-error handler; a read
    // error is told here.
    if (error.failed()) {
        showFileError(window.mainWidget(), error);
        return;
    }
    if (text)
        platformServices().setClipboardText(fromSjis(*text));
    else
        showRecordNotFound(window.mainWidget());
}

} // namespace vornik
