#pragma once
// The free memo pad that shares the list's place, kept in memo.txt beside
// the program. Saved whenever it loses the focus and when the window closes.

#include <QPlainTextEdit>

namespace vornik {

class MemoPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoPane(QWidget* parent = nullptr);

    void LoadMemoPad();
    // Writes the pad's lines as typed (not as wrapped on screen). Reports a
    // file error through the platform layer; false when nothing was saved.
    bool SaveMemoPad();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace vornik
