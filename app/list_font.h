#pragma once
// The result list's font. The level summaries line up by padding with
// blanks, so the list needs a monospaced font that also has Japanese glyphs.

#include <QFont>

namespace vornik {

// Used when the settings hold no size (tenths of a point).
inline constexpr int kDefaultListFontSize = 110;

// A Japanese monospaced font when one is installed, else the system's fixed
// font, at tenthsOfPoint / 10 points.
QFont listFont(int tenthsOfPoint);

// The 20-pixel crystal images go with sizes from 11 points up.
inline bool largeIconsFor(int tenthsOfPoint)
{
    return tenthsOfPoint >= 110;
}

} // namespace vornik
