#include "dialogs/record_commands.h"

#include "dialogs/detail_dlg.h"
#include "dialogs/edit_dlg.h"
#include "platform/qt/platform_services.h"
#include "storage/data_file.h"
#include "storage/record.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/main_window_access.h"

namespace vornik {
namespace {

bool confirmDelete(QWidget* owner)
{
    return askYesNo(owner, QStringLiteral("データの削除"),
        QStringLiteral("選択されたデータを削除します。\nよろしいですか？"));
}

void runEditDialog(MainWindowAccess& window, const std::string& recordId, bool isEdit)
{
    CEditDlg dialog(window.mainWidget());
    dialog.m_recordId = recordId;
    dialog.m_isEdit = isEdit;
    dialog.DoModal();
}

} // namespace

void newRecordCommand(MainWindowAccess& window)
{
    runEditDialog(window, std::string(), false);
}

void editRecordCommand(MainWindowAccess& window)
{
    if (const std::optional<std::string> id = window.selectedRecordId())
        runEditDialog(window, *id, true);
}

void deleteRecordCommand(MainWindowAccess& window)
{
    if (!window.selectedRecordId() || !confirmDelete(window.mainWidget()))
        return;
    // The selection is taken again: the question may have taken a while.
    const std::optional<std::string> id = window.selectedRecordId();
    if (!id)
        return;
    currentRecord().id() = *id;
    bool deleted = false;
    std::size_t removed = 0;
    StorageError error;
    {
        BusyCursor busy;
        deleted = deleteRecord(removed, error);
    }
    if (!deleted) {
        showFileError(window.mainWidget(), error);
        return;
    }
    // Another window deleted it (or changed its id) meanwhile: the row stays
    // until the next search shows what the file holds.
    if (removed == 0) {
        showRecordNotFound(window.mainWidget());
        return;
    }
    window.removeRowsWithId(*id);
}

void detailCommand(MainWindowAccess& window)
{
    const std::optional<std::string> id = window.selectedRecordId();
    if (!id)
        return;
    std::string searchName;
    {
        CDetailDlg dialog(window.mainWidget());
        dialog.m_recordId = *id;
        dialog.DoModal();
        searchName = dialog.m_searchName;
    }
    if (!searchName.empty())
        window.LaunchSearchInstance(searchName);
}

} // namespace vornik
