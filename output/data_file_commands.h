#pragma once
// Switching the program to another recipe data file, or to a copy of the
// current one. The current data file is only a setting (key "file" of
// section "system"): nothing is loaded, the next command reads the new file.

namespace vornik {

class MainWindowAccess;

// "開く(&O)...": any name may be chosen, also one that does not exist yet;
// the setting and the caption switch to it.
void openDataFileCommand(MainWindowAccess& window);

// "名前を付けて保存(&A)...": copies the data file to the chosen name and
// switches to the copy. The per-record memo file is not copied. When the
// copy fails the error is shown and the program stays on the old file.
void saveDataFileAs(MainWindowAccess& window);

} // namespace vornik
