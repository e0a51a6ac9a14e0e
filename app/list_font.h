#pragma once
// The main window's fonts. The level summaries in the result list line up by
// padding with blanks, so the list needs a monospaced font that also has
// Japanese glyphs; the other controls use the Japanese dialog font.

#include <QFont>

namespace vornik {

// Used when the settings hold no size (tenths of a point).
inline constexpr int kDefaultListFontSize = 110;

// A Japanese monospaced font when one is installed, else the system's fixed
// font, at tenthsOfPoint / 10 points.
QFont listFont(int tenthsOfPoint);

inline constexpr int kMainWindowFontPoints = 9;

// "ＭＳ Ｐゴシック" 9 pt, or the first other Japanese user-interface font
// installed at that size; `systemFont` when there is none (a 9 pt Latin
// font would show the Japanese labels in a fallback of random size).
QFont mainWindowFont(const QFont& systemFont);

// The 20-pixel crystal images go with sizes from 11 points up.
inline bool largeIconsFor(int tenthsOfPoint)
{
    return tenthsOfPoint >= 110;
}

} // namespace vornik
