#pragma once
// The main window's commands on single records: new, edit, delete and
// detail. Each works on the id the selected result row carries.

namespace vornik {

class MainWindowAccess;

// Opens the edit dialog for a new record.
void newRecordCommand(MainWindowAccess& window);
// Opens the edit dialog for the selected row's record; nothing without one.
void editRecordCommand(MainWindowAccess& window);
// Asks (No preselected), deletes the selected row's record and removes its
// row. A failed delete keeps the row and tells the user.
void deleteRecordCommand(MainWindowAccess& window);
// Opens the detail dialog for the selected row's record; a recipe search
// chosen there starts another program window.
void detailCommand(MainWindowAccess& window);

} // namespace vornik
