#include "app/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vornik {

QPixmap appIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // The page.
    p.setPen(QPen(QColor(90, 70, 40), s / 32.0));
    p.setBrush(QColor(250, 240, 215));
    p.drawRoundedRect(QRectF(s * 0.08, s * 0.12, s * 0.62, s * 0.80), s * 0.06, s * 0.06);
    p.setPen(QPen(QColor(150, 130, 100), s / 24.0));
    for (int line = 0; line < 4; ++line) {
        const qreal y = s * (0.30 + 0.14 * line);
        p.drawLine(QPointF(s * 0.16, y), QPointF(s * 0.50, y));
    }

    // The crystal.
    QPainterPath crystal;
    crystal.moveTo(s * 0.70, s * 0.06);
    crystal.lineTo(s * 0.94, s * 0.40);
    crystal.lineTo(s * 0.70, s * 0.94);
    crystal.lineTo(s * 0.46, s * 0.40);
    crystal.closeSubpath();
    QLinearGradient glow(QPointF(s * 0.46, s * 0.06), QPointF(s * 0.94, s * 0.94));
    glow.setColorAt(0, QColor(140, 220, 255));
    glow.setColorAt(1, QColor(30, 90, 200));
    p.setPen(QPen(QColor(20, 50, 120), s / 28.0));
    p.setBrush(glow);
    p.drawPath(crystal);
    p.setPen(QPen(QColor(255, 255, 255, 180), s / 40.0));
    p.drawLine(QPointF(s * 0.70, s * 0.06), QPointF(s * 0.70, s * 0.94));
    p.drawLine(QPointF(s * 0.46, s * 0.40), QPointF(s * 0.94, s * 0.40));
    return pixmap;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : { 16, 24, 32, 48, 64, 128, 256 })
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

} // namespace vornik
