#pragma once
// The free memo pad that shares the list's place, kept in memo.txt beside
// the program. Saved whenever it loses the focus and when the window closes,
// but only when it was changed in this window: several windows share the
// file, and one that was only looked at must not overwrite another's text.

#include <QPlainTextEdit>

#include <string>

namespace vornik {

class MemoPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoPane(QWidget* parent = nullptr);

    void LoadMemoPad();
    // Writes the pad's lines as typed (not as wrapped on screen) when they
    // were changed here. When another window saved memo.txt since this one
    // read it, asks first: keep this window's text, take the other's, or
    // keep both. Reports a file error through the platform layer; false when
    // the pad's text is not in the file.
    bool SaveMemoPad();
    // SaveMemoPad when the window closes. When the pad cannot be stored (a
    // character Shift-JIS cannot hold, a file error) the user is asked
    // whether to close anyway; false keeps the window open with the pad.
    bool SaveMemoPadBeforeClose();
    // The window told the user at start that its folder cannot be written:
    // a save failing at a focus change is then not told again (closing
    // still asks before the pad's text is lost).
    void setFolderReadOnlyTold(bool told) { m_folderReadOnlyTold = told; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Conflict { KeepMine, TakeTheirs, KeepBoth };
    Conflict askConflict();
    void showFileBytes(const std::string& bytes);

    // memo.txt as this window loaded or last saved it.
    std::string m_fileBytes;
    // The last save's failure as told to the user; empty after a success.
    std::string m_lastFailure;
    // A question is open: the focus it takes must not start a second save.
    bool m_saving = false;
    bool m_folderReadOnlyTold = false;
};

} // namespace vornik
