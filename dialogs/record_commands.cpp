#include "dialogs/record_commands.h"

#include "app/file_error.h"
#include "app/main_window_access.h"
#include "dialogs/detail_dlg.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/edit_dlg.h"
#include "platform/qt/platform_services.h"
#include "storage/data_file.h"
#include "storage/numbers.h"
#include "storage/record.h"

namespace vornik {
namespace {

bool confirmDelete(QWidget* owner)
{
    return askYesNo(owner, QStringLiteral("データの削除"),
        QStringLiteral("選択されたデータを削除します。\nよろしいですか？"));
}

void runEditDialog(MainWindowAccess& window, int recordId, int isEdit)
{
    CEditDlg dialog(window.window());
    dialog.m_recordId = recordId;
    dialog.m_isEdit = isEdit;
    dialog.DoModal();
}

} // namespace

void newRecordCommand(MainWindowAccess& window)
{
    runEditDialog(window, 0, 0);
}

void editRecordCommand(MainWindowAccess& window)
{
    if (const std::optional<int> id = window.selectedRecordId())
        runEditDialog(window, *id, 1);
}

void deleteRecordCommand(MainWindowAccess& window)
{
    if (!window.selectedRecordId() || !confirmDelete(window.window()))
        return;
    // The selection is taken again: the question may have taken a while.
    const std::optional<int> id = window.selectedRecordId();
    if (!id)
        return;
    currentRecord().id() = intToText(*id);
    bool deleted = false;
    {
        BusyCursor busy;
        deleted = deleteRecord();
    }
    if (!deleted) {
        showFileError(window.window());
        return;
    }
    window.removeRowsWithId(*id);
}

void detailCommand(MainWindowAccess& window)
{
    const std::optional<int> id = window.selectedRecordId();
    if (!id)
        return;
    std::string searchName;
    {
        CDetailDlg dialog(window.window());
        dialog.m_recordId = *id;
        dialog.DoModal();
        searchName = dialog.m_searchName;
    }
    if (!searchName.empty())
        window.LaunchSearchInstance(searchName);
}

} // namespace vornik
