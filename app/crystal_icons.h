#pragma once
// The crystal images shown in front of each result row: ten per size, drawn
// once on first use, so the program needs no image files.

#include <QIcon>
#include <QPixmap>

namespace vornik {

inline constexpr int kSmallIconSize = 15;
inline constexpr int kLargeIconSize = 20;
inline constexpr int kCrystalIconCount = 10;

// Image `index` (0 .. 9) at `size` pixels square. Images 0 and 9 are blank
// (transparent); 1 to 8 are the elements 炎, 水, 土, 風, 雷, 氷, 光, 闇.
// An index without an image gives a null pixmap.
// With `pixelRatio` above 1 the image has size × pixelRatio device pixels,
// drawn at that resolution, for a screen scaled by that ratio.
QPixmap crystalIcon(int index, int size, qreal pixelRatio = 1.0);
// The image for every scaling in use (1×, 2× and each screen's own), so the
// list draws it sharp on each screen; null for an index without an image.
QIcon crystalIconSet(int index, int size);

} // namespace vornik
