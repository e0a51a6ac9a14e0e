#pragma once
// Input limits counted as the files count them: in Shift-JIS bytes, a
// full-width character as two and a line break as CR LF.

#include <QPlainTextEdit>
#include <QValidator>

#include <cstddef>
#include <string>
#include <string_view>

namespace vornik {

std::size_t sjisByteCount(const QString& text);

// Multi-line texts: CR LF in the files, "\n" in the widgets.
QString multiLineFromSjis(std::string_view sjis);
std::string multiLineToSjis(const QString& text);

// Refuses any edit of a line box that would make its text longer than the
// limit, so a byte past it can never be typed or pasted.
class SjisByteValidator : public QValidator {
    Q_OBJECT
public:
    SjisByteValidator(std::size_t limit, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    std::size_t m_limit;
};

// A multi-line box whose typed, composed or pasted text never takes it past
// the limit: what does not fit of an insertion is dropped at a character
// boundary.
// Text set by the program may be longer (a memo written by other means);
// the user can then only shorten it.
class ByteLimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ByteLimitedTextEdit(std::size_t limit, QWidget* parent = nullptr);

    std::size_t limit() const { return m_limit; }
    void setSjisText(std::string_view sjis); // CR LF line breaks, not limited
    std::string sjisText() const; // CR LF line breaks

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The part of `text` that fits in place of the selection.
    QString fittingPart(const QString& text) const;

    std::size_t m_limit;
};

} // namespace vornik
