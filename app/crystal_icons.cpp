#include "app/crystal_icons.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>
#include <QString>
#include <QVector>

namespace vornik {
namespace {

struct Element {
    const char16_t* glyph;
    QColor frame;
    QColor fill;
    QColor text;
};

// Index 1 .. 8 of the images; the frame carries the element's colour and the
// fill is a light tint of it so the character stays readable.
const Element kElements[] = {
    { u"炎", QColor(200, 30, 20), QColor(255, 225, 215), QColor(180, 20, 10) },
    { u"水", QColor(20, 70, 200), QColor(215, 230, 255), QColor(15, 55, 170) },
    { u"土", QColor(140, 95, 30), QColor(240, 225, 195), QColor(115, 75, 20) },
    { u"風", QColor(20, 150, 50), QColor(215, 245, 215), QColor(15, 120, 40) },
    { u"雷", QColor(130, 40, 180), QColor(240, 220, 255), QColor(110, 30, 155) },
    { u"氷", QColor(0, 150, 190), QColor(215, 245, 255), QColor(0, 120, 155) },
    { u"光", QColor(200, 160, 0), QColor(255, 250, 200), QColor(150, 115, 0) },
    { u"闇", QColor(40, 30, 60), QColor(120, 105, 140), QColor(255, 255, 255) },
};

QPixmap blankImage(int size, qreal pixelRatio)
{
    const int pixels = qRound(size * pixelRatio);
    QPixmap image(pixels, pixels);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    return image;
}

// Drawn in logical pixels on an image of the device resolution: lines and
// the character come out sharp at any scaling.
QPixmap elementImage(const Element& element, int size, qreal pixelRatio)
{
    QPixmap image = blankImage(size, pixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(element.frame);
    painter.setBrush(element.fill);
    painter.drawRect(0, 0, size - 1, size - 1);

    QFont font;
    font.setPixelSize(size - 4);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(element.text);
    painter.drawText(QRect(1, 1, size - 2, size - 2), Qt::AlignCenter, QString::fromUtf16(element.glyph));
    return image;
}

QVector<QPixmap> drawImages(int size, qreal pixelRatio)
{
    QVector<QPixmap> images;
    images.reserve(kCrystalIconCount);
    images.push_back(blankImage(size, pixelRatio));
    for (const Element& element : kElements)
        images.push_back(elementImage(element, size, pixelRatio));
    images.push_back(blankImage(size, pixelRatio));
    return images;
}

} // namespace

QPixmap crystalIcon(int index, int size, qreal pixelRatio)
{
    if (index < 0 || index >= kCrystalIconCount || size <= 0 || pixelRatio <= 0)
        return QPixmap();
    static QHash<QPair<int, int>, QVector<QPixmap>> imagesBySize;
    const QPair<int, int> key(size, qRound(pixelRatio * 100));
    auto found = imagesBySize.find(key);
    if (found == imagesBySize.end())
        found = imagesBySize.insert(key, drawImages(size, pixelRatio));
    return found.value().at(index);
}

QIcon crystalIconSet(int index, int size)
{
    if (index < 0 || index >= kCrystalIconCount || size <= 0)
        return QIcon();
    // Built once per image: the list asks for it on every paint.
    static QHash<QPair<int, int>, QIcon> icons;
    const QPair<int, int> key(index, size);
    if (const auto found = icons.constFind(key); found != icons.constEnd())
        return found.value();
    QList<qreal> ratios { 1.0, 2.0 };
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (!ratios.contains(screen->devicePixelRatio()))
            ratios.push_back(screen->devicePixelRatio());
    }
    QIcon icon;
    for (const qreal ratio : ratios)
        icon.addPixmap(crystalIcon(index, size, ratio));
    icons.insert(key, icon);
    return icon;
}

} // namespace vornik
