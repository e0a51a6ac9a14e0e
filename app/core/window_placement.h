#pragma once
// Where the main window opens: the saved outer rectangle, moved back onto a
// screen when none of the screens shows its title bar any more (a monitor
// was removed, the resolution lowered), and offset for a window that opens
// beside another one.

#include <cstdint>
#include <optional>
#include <vector>

namespace vornik {

// A rectangle in screen pixels; right and bottom are exclusive, as the
// settings keys store them.
struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Wide enough for any two int edges (the settings file may hold anything).
    std::int64_t width() const { return std::int64_t { right } - left; }
    std::int64_t height() const { return std::int64_t { bottom } - top; }
    bool operator==(const PlacementRect&) const = default;
};

// Keys top, left, bottom, right of section window; nothing when top or
// bottom is 0 (no placement saved yet) and when the rectangle is empty,
// inverted or wider or higher than an int holds (a damaged settings file).
std::optional<PlacementRect> readSavedPlacement();
void writeSavedPlacement(const PlacementRect& outer);
// Whether the window was maximised when it was last closed.
bool readSavedMaximized();
void writeSavedMaximized(bool maximized);

// The saved rectangle as it is to be used on these screens (their available
// areas, the primary one first): unchanged while a screen shows enough of
// its top edge to grab the title bar; otherwise shrunk to fit and moved onto
// the screen it overlaps most, or, when it overlaps none, the nearest one
// (the earlier in the list when two are as near).
PlacementRect fitOnScreens(const PlacementRect& saved, const std::vector<PlacementRect>& screens);

// The rectangle moved right and down by `step`, for a window that would
// otherwise open exactly over the window that started it; kept on screen by
// fitOnScreens' rules.
PlacementRect cascaded(const PlacementRect& from, int step, const std::vector<PlacementRect>& screens);

} // namespace vornik
