#include "dialogs/sjis_byte_limit.h"

#include "platform/qt/qt_text.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>

namespace vornik {
namespace {

// A document hands out paragraph breaks as U+2029.
QString withPlainLineBreaks(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// Leading whole characters of `text` that take at most `bytes` bytes.
QString leadingPartWithin(const QString& text, std::size_t bytes)
{
    std::size_t used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype length = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const std::size_t size = sjisByteCount(text.mid(end, length));
        if (used + size > bytes)
            break;
        used += size;
        end += length;
    }
    return text.left(end);
}

} // namespace

std::size_t sjisByteCount(const QString& text)
{
    return toSjis(text).size() + static_cast<std::size_t>(text.count(QLatin1Char('\n')));
}

QString multiLineFromSjis(std::string_view sjis)
{
    QString text = fromSjis(sjis);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string multiLineToSjis(const QString& text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toSjis(crlf);
}

SjisByteValidator::SjisByteValidator(std::size_t limit, QObject* parent)
    : QValidator(parent)
    , m_limit(limit)
{
}

QValidator::State SjisByteValidator::validate(QString& input, int& /*pos*/) const
{
    return sjisByteCount(input) <= m_limit ? Acceptable : Invalid;
}

ByteLimitedTextEdit::ByteLimitedTextEdit(std::size_t limit, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_limit(limit)
{
}

void ByteLimitedTextEdit::setSjisText(std::string_view sjis)
{
    setPlainText(multiLineFromSjis(sjis));
}

std::string ByteLimitedTextEdit::sjisText() const
{
    return multiLineToSjis(toPlainText());
}

QString ByteLimitedTextEdit::fittingPart(const QString& text) const
{
    const std::size_t whole = sjisByteCount(toPlainText());
    const std::size_t replaced = sjisByteCount(withPlainLineBreaks(textCursor().selectedText()));
    const std::size_t kept = whole - std::min(whole, replaced);
    const std::size_t room = kept < m_limit ? m_limit - kept : 0;
    return leadingPartWithin(text, room);
}

void ByteLimitedTextEdit::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = lineBreak ? QStringLiteral("\n") : event->text();
    const bool inserts
        = !typed.isEmpty() && (lineBreak || typed[0].isPrint() || typed[0] == QLatin1Char('\t'));
    if (inserts) {
        const QString fitting = fittingPart(typed);
        if (fitting.size() < typed.size()) {
            if (!fitting.isEmpty())
                insertPlainText(fitting);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ByteLimitedTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    const QString fitting = fittingPart(committed);
    if (fitting.size() == committed.size()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fitting, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

void ByteLimitedTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertPlainText(fittingPart(source->text()));
}

} // namespace vornik
