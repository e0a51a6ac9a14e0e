#include "app/memo_pane.h"

#include "app/file_error.h"
#include "app/text_box_keys.h"
#include "platform/qt/qt_text.h"
#include "storage/memo_pad.h"

#include <QStringList>

namespace vornik {

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
    // Lines are separated by CR LF in the file; the widget wants LF.
    QString text = fromSjis(loadMemoPadText());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(text);
    document()->setModified(false);
}

bool MemoPane::SaveMemoPad()
{
    std::vector<std::string> lines;
    const QStringList shown = toPlainText().split(QLatin1Char('\n'));
    lines.reserve(static_cast<std::size_t>(shown.size()));
    for (const QString& line : shown)
        lines.push_back(toSjis(line));
    if (!saveMemoPadLines(lines)) {
        showFileError(this);
        return false;
    }
    document()->setModified(false);
    return true;
}

void MemoPane::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    SaveMemoPad();
}

} // namespace vornik
