#pragma once
// Pieces every record dialog is built from: labelled controls whose
// accessible name is their label, the bottom button row, and the messages
// these dialogs show.

#include "platform/qt/platform_services.h"

#include <QString>
#include <QStringList>

class QBoxLayout;
class QDialog;
class QFormLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace vornik {

// The label as a screen reader should say it: "名前(&N)：" -> "名前".
QString withoutMnemonic(const QString& label);

// Adds a row "label  control" with the label as the control's buddy and
// accessible name.
QLabel* addLabelledRow(QFormLayout* form, const QString& label, QWidget* control);
void nameControl(QWidget* control, const QString& label);
// Shows `text` in a value label named by nameControl; a screen reader hears
// the caption and the value ("限界：鍛冶: 15"), not the caption alone.
void setShownValue(QLabel* value, const QString& text);

struct OkCancelButtons {
    QPushButton* cancel = nullptr;
    QPushButton* ok = nullptr;
};
// "キャンセル" and "OK" (the default) on the right; OK calls nothing by
// itself, the dialog connects it to its own handler.
OkCancelButtons addOkCancel(QBoxLayout* layout, QDialog* dialog);

// Every message box of the program goes through these (and showFileError in
// ui/file_error.h), so each caption, icon and default button is set in one
// call. A null parent shows the box without an owner window.
void showMessage(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon);
void showWarning(QWidget* parent, const QString& caption, const QString& text);
// A question with Yes and No. No is the default before something is lost,
// so Enter never confirms by accident. True for Yes.
bool askYesNo(QWidget* parent, const QString& caption, const QString& text,
    MessageAnswer defaultAnswer = MessageAnswer::No);
// A question with other buttons (Yes, No and Cancel); the answer given.
MessageAnswer askQuestion(QWidget* parent, const QString& caption, const QString& text,
    MessageButtons buttons, MessageAnswer defaultAnswer);
// "検索エラー": the record looked up by id is no longer in the data file.
void showRecordNotFound(QWidget* parent);
// The memo box holds more than it may: nothing has been stored.
void showTooLong(QWidget* parent, int limit);
// Asked before a record (or, with `memo`, a record's memo) that another
// window stored after this dialog loaded it is overwritten; No is preselected.
bool confirmOverwriteChanged(QWidget* parent, bool memo);

// The characters of `text` that Shift-JIS cannot hold (emoji, Hangul, ...),
// each once, in the order they first appear. U+FFFD is left out: it stands
// for file bytes the program shows but did not understand.
QStringList unstorableCharacters(const QString& text);
// True when every text can be stored as Shift-JIS. Otherwise names the
// characters that cannot be held and returns false, so the caller stores
// nothing rather than writing "?" in their place.
bool checkStorable(QWidget* parent, const QStringList& texts);

} // namespace vornik
