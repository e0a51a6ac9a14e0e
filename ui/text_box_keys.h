#pragma once
// Keyboard habits shared by the program's text boxes: Tab leaves a
// multi-line box as it leaves every other control (Ctrl+Tab types a tab
// where one is wanted), and a short value box selects its text when the
// keyboard brings the user to it, so typing replaces the value.

class QLineEdit;
class QPlainTextEdit;

namespace vornik {

void letTabMoveFocus(QPlainTextEdit* box);

// Also when the box has the focus as its dialog opens; a mouse click still
// puts the cursor where it points.
void selectTextOnFocus(QLineEdit* box);

} // namespace vornik
