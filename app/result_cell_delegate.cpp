#include "app/result_cell_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace vornik {

namespace {

QPalette::ColorGroup colourGroup(const QStyleOptionViewItem& option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return (option.state & QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
}

QIcon::Mode iconMode(const QStyleOptionViewItem& option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QIcon::Disabled;
    return (option.state & QStyle::State_Selected) ? QIcon::Selected : QIcon::Normal;
}

} // namespace

void ResultCellDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The row with the keyboard focus (one at most) keeps Qt's painting,
    // focus frame included.
    if (option.state & QStyle::State_HasFocus) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();

    // Where the icon and the text go, as the style places them: the text's
    // place does not depend on the text, so none is given to the style
    // (it would lay the text out to measure it).
    QStyleOptionViewItem cell = option;
    cell.index = index;
    cell.text.clear();
    cell.features = QStyleOptionViewItem::None;
    const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
    if (!icon.isNull()) {
        cell.features |= QStyleOptionViewItem::HasDecoration;
        cell.icon = icon;
    }
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
    if (!icon.isNull()) {
        const QRect iconRect = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &cell, widget);
        const QIcon::State state = (option.state & QStyle::State_Open) ? QIcon::On : QIcon::Off;
        icon.paint(painter, iconRect, option.decorationAlignment, iconMode(option), state);
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect
        = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget).adjusted(margin, 0, -margin, 0);
    if (textRect.width() <= 0)
        return;
    const QStaticText& shown = laidOut(text, option.font, textRect.width());
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(colourGroup(option), selected ? QPalette::HighlightedText : QPalette::Text));
    const qreal top = textRect.top() + (textRect.height() - shown.size().height()) / 2.0;
    painter->drawStaticText(QPointF(textRect.left(), top), shown);
    painter->restore();
}

const QStaticText& ResultCellDelegate::laidOut(const QString& text, const QFont& font, int width) const
{
    if (font != m_font || m_texts.size() >= kTextsKept) {
        m_texts.clear();
        m_font = font;
    }
    TextKey key { text, width };
    if (const auto found = m_texts.find(key); found != m_texts.end())
        return found->second;
    ++m_layoutsMade;
    // Cut at the right as Qt's own delegate cuts, with "…".
    QStaticText shown(QFontMetrics(font).elidedText(text, Qt::ElideRight, width));
    shown.setTextFormat(Qt::PlainText);
    shown.setPerformanceHint(QStaticText::AggressiveCaching);
    shown.prepare(QTransform(), font);
    return m_texts.emplace(std::move(key), std::move(shown)).first->second;
}

} // namespace vornik
