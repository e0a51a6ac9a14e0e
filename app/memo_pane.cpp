#include "app/memo_pane.h"

#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "storage/memo_pad.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/text_box_keys.h"

#include <QStringList>

namespace vornik {
namespace {

std::vector<std::string> typedLines(const QString& text)
{
    std::vector<std::string> lines;
    const QStringList shown = text.split(QLatin1Char('\n'));
    lines.reserve(static_cast<std::size_t>(shown.size()));
    for (const QString& line : shown)
        lines.push_back(toSjis(line));
    return lines;
}

// Lines are separated by CR LF in the file; the widget wants LF.
QString paneText(const std::string& fileBytes)
{
    QString text = fromSjis(memoPadText(fileBytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

MemoPane::MemoPane(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAccessibleName(QStringLiteral("メモ"));
    setPlaceholderText(QStringLiteral("メモ帳：自由に書き込めます（memo.txt に保存されます）"));
    letTabMoveFocus(this);
}

void MemoPane::LoadMemoPad()
{
    // An unreadable pad shows empty; saving then tells the user.
    StorageError ignored;
    showFileBytes(readMemoPadBytes(ignored).value_or(std::string()));
}

void MemoPane::showFileBytes(const std::string& bytes)
{
    m_fileBytes = bytes;
    setPlainText(paneText(bytes));
    document()->setModified(false);
}

bool MemoPane::SaveMemoPad()
{
    if (!document()->isModified())
        return true;
    if (m_saving)
        return false;
    m_saving = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done { m_saving };

    // Refused until the user replaces them, so the file never gets "?"
    // in their place.
    if (!checkStorable(this, { toPlainText() }))
        return false;
    for (;;) {
        const std::vector<std::string> lines = typedLines(toPlainText());
        std::string current;
        StorageError error;
        switch (saveMemoPadIfUnchanged(lines, m_fileBytes, current, error)) {
        case MemoPadSave::Saved:
            m_fileBytes = memoPadBytes(lines);
            document()->setModified(false);
            return true;
        case MemoPadSave::Failed:
            showFileError(this, error);
            return false;
        case MemoPadSave::ChangedElsewhere:
            break;
        }
        // Asked with the lock released; until the user has chosen, the file
        // keeps the other window's text.
        switch (askConflict()) {
        case Conflict::KeepMine:
            m_fileBytes = current;
            break;
        case Conflict::TakeTheirs:
            showFileBytes(current);
            return true;
        case Conflict::KeepBoth: {
            const QString mine = toPlainText();
            setPlainText(paneText(current) + QLatin1Char('\n') + mine);
            m_fileBytes = current;
            break;
        }
        }
    }
}

MemoPane::Conflict MemoPane::askConflict()
{
    // Cancel is the default: closing the box loses nothing, both texts are kept.
    const MessageAnswer answer = askQuestion(this, QStringLiteral("メモ帳の保存"),
        QStringLiteral("メモ帳は、読み込んだ後に別のウィンドウで変更されています。\n\n"
                       "はい：このウィンドウの内容で上書きします。\n"
                       "いいえ：別のウィンドウの内容を読み込みます（ここでの変更は破棄されます）。\n"
                       "キャンセル：両方を残します（別のウィンドウの内容の後に、ここでの内容を続けます）。"),
        MessageButtons::YesNoCancel, MessageAnswer::Cancel);
    switch (answer) {
    case MessageAnswer::Yes:
        return Conflict::KeepMine;
    case MessageAnswer::No:
        return Conflict::TakeTheirs;
    default:
        return Conflict::KeepBoth;
    }
}

void MemoPane::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    SaveMemoPad();
}

} // namespace vornik
