#pragma once
// "クリップボードにコピー(&C)": the selected recipe as labelled plain text.

namespace vornik {

class MainWindowAccess;

// Reads the data file for the selected row's id; when several records carry
// that id the last one is copied. Nothing happens without a selection or
// when no record has the id. A data file that fails part way through is
// reported and leaves the clipboard as it was.
void copyRecordToClipboard(MainWindowAccess& window);

} // namespace vornik
