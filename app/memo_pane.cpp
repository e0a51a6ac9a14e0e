#include "app/memo_pane.h"

#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "storage/data_file.h"
#include "storage/file_encoding.h"
#include "storage/memo_pad.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/text_box_keys.h"

#include <QStringDecoder>
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

// The text of a file in `encoding` ("UTF-8" or "UTF-16"; UTF-16 without a
// byte-order mark in the byte order its first ASCII character shows).
QString foreignText(const std::string& bytes, std::string_view encoding)
{
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringConverter::Encoding from = QStringConverter::Utf8;
    if (encoding == "UTF-16") {
        const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(data);
        from = marked
            ? *marked
            : (!bytes.empty() && bytes[0] == '\0' ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    }
    QStringDecoder decoder(from);
    return decoder.decode(data);
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
    const std::string bytes = readMemoPadBytes(ignored).value_or(std::string());
    // A memo.txt an editor saved in another encoding is shown as that text
    // but never saved over: the user is told once how to convert it.
    const std::optional<std::string_view> encoding = noticeForeignFile(memoPadPath());
    setReadOnly(encoding.has_value());
    if (!encoding) {
        showFileBytes(bytes);
        return;
    }
    m_fileBytes = bytes;
    QString text = foreignText(bytes, *encoding);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(text);
    document()->setModified(false);
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
            m_lastFailure.clear();
            return true;
        case MemoPadSave::Failed:
            // Saved at every focus change: the same failure (a read-only
            // folder) is told once, not each time, and not at all when the
            // start warning told it already; closing asks again.
            if (error.text != m_lastFailure && !m_folderReadOnlyTold) {
                m_lastFailure = error.text;
                showFileError(this, error);
            }
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

bool MemoPane::SaveMemoPadBeforeClose()
{
    if (!document()->isModified())
        return true;
    // Asked in one question, not a warning and then another.
    const QStringList unstorable = unstorableCharacters(toPlainText());
    if (unstorable.isEmpty() && SaveMemoPad())
        return true;
    QString text = unstorable.isEmpty()
        ? QStringLiteral("メモ帳を保存できませんでした。")
        : QStringLiteral("メモ帳に Shift-JIS で保存できない文字が含まれているため、保存できません: %1")
              .arg(unstorable.join(QLatin1Char(' ')));
    text += QStringLiteral("\n\nこのまま閉じると、メモ帳の変更は失われます。閉じますか？");
    return askYesNo(this, QStringLiteral("メモ帳の保存"), text);
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
