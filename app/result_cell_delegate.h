#pragma once
// Paints the result list's cells. Qt's own delegate lays a cell's text out
// two or three times each time it paints it (to measure it, to cut it to the
// column, to draw it), and the list is painted anew with every result of
// search while typing: that was most of the time from the last key to the
// list. Here a cell's text is laid out once and kept, cut to its column: the
// same texts come back screen after screen (skills, crystals, levels, and
// the rows the previous result showed while the user narrows the query).

#include <QFont>
#include <QStaticText>
#include <QStyledItemDelegate>

#include <cstddef>
#include <unordered_map>

namespace vornik {

class ResultCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Texts laid out and kept at most; a screen holds a few hundred cells.
    static constexpr std::size_t kTextsKept = 2048;

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Texts laid out since the last clear (for measurements and tests).
    std::size_t layoutsMade() const { return m_layoutsMade; }

private:
    struct TextKey {
        QString text;
        int width = 0;
        bool operator==(const TextKey& other) const { return width == other.width && text == other.text; }
    };
    struct TextKeyHash {
        std::size_t operator()(const TextKey& key) const
        {
            return qHash(key.text, static_cast<size_t>(key.width));
        }
    };

    const QStaticText& laidOut(const QString& text, const QFont& font, int width) const;

    mutable QFont m_font;
    mutable std::unordered_map<TextKey, QStaticText, TextKeyHash> m_texts;
    mutable std::size_t m_layoutsMade = 0;
};

} // namespace vornik
