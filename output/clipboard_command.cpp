#include "output/clipboard_command.h"

#include "output/core/clipboard_text.h"
#include "output/export_commands.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "storage/data_file.h"
#include "storage/record.h"
#include "ui/dialog_parts.h"
#include "ui/main_window_access.h"

#include <optional>
#include <string>

namespace vornik {
namespace {

enum class ScanOutcome { Finished, NotOpened, ReadFailed };

// The text of the last record with `id`. Unlike a plain scan it tells a read
// error from the end of the file: a later record with the same id may lie
// behind the error, so a text found before it is not trustworthy.
ScanOutcome scanForId(const std::string& id, std::optional<std::string>& text)
{
    if (!openDataFile())
        return ScanOutcome::NotOpened;
    while (readNextRecord()) {
        if (currentRecord().storedId() == id)
            text = buildClipboardText(currentRecord());
    }
    const bool readFailed = !storageError().empty();
    closeDataFile();
    return readFailed ? ScanOutcome::ReadFailed : ScanOutcome::Finished;
}

} // namespace

void copyRecordToClipboard(MainWindowAccess& window)
{
    const std::optional<std::string> id = window.selectedRecordId();
    if (!id)
        return;
    std::optional<std::string> text;
    ScanOutcome outcome = ScanOutcome::Finished;
    {
        BusyCursor busy;
        outcome = scanForId(*id, text);
    }
    if (outcome == ScanOutcome::ReadFailed) {
        showFileErrorText(window.window(), storageError());
        return;
    }
    if (outcome != ScanOutcome::Finished)
        return;
    if (text)
        platformServices().setClipboardText(fromSjis(*text));
    else
        showRecordNotFound(window.window());
}

} // namespace vornik
