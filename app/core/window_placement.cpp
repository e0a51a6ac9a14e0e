#include "app/core/window_placement.h"

#include "storage/profile.h"

#include <algorithm>

namespace vornik {
namespace {

// The title bar is grabbed along the top edge: a band this high and at least
// this wide must lie on one screen.
constexpr int kTitleBand = 24;
constexpr int kGrabWidth = 100;

long long overlapArea(const PlacementRect& a, const PlacementRect& b)
{
    const int w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? static_cast<long long>(w) * h : 0;
}

bool titleReachable(const PlacementRect& rect, const PlacementRect& screen)
{
    const PlacementRect band { rect.left, rect.top, rect.right, rect.top + kTitleBand };
    const int w = std::min(band.right, screen.right) - std::max(band.left, screen.left);
    return rect.top >= screen.top && rect.top < screen.bottom && w >= std::min(kGrabWidth, rect.width());
}

} // namespace

std::optional<PlacementRect> readSavedPlacement()
{
    PlacementRect rect;
    rect.top = readIniInt(ini::WindowTop);
    rect.left = readIniInt(ini::WindowLeft);
    rect.bottom = readIniInt(ini::WindowBottom);
    rect.right = readIniInt(ini::WindowRight);
    if (rect.top == 0 || rect.bottom == 0)
        return std::nullopt;
    return rect;
}

void writeSavedPlacement(const PlacementRect& outer)
{
    writeIniInt(ini::WindowTop, outer.top);
    writeIniInt(ini::WindowLeft, outer.left);
    writeIniInt(ini::WindowBottom, outer.bottom);
    writeIniInt(ini::WindowRight, outer.right);
}

bool readSavedMaximized()
{
    return readIniInt(ini::WindowMaximized) == 1;
}

void writeSavedMaximized(bool maximized)
{
    writeIniInt(ini::WindowMaximized, maximized ? 1 : 0);
}

PlacementRect fitOnScreens(const PlacementRect& saved, const std::vector<PlacementRect>& screens)
{
    if (screens.empty() || saved.width() <= 0 || saved.height() <= 0)
        return saved;
    for (const PlacementRect& screen : screens) {
        if (titleReachable(saved, screen) && saved.width() <= screen.width()
            && saved.height() <= screen.height())
            return saved;
    }
    const PlacementRect* target = &screens.front();
    long long best = 0;
    for (const PlacementRect& screen : screens) {
        const long long area = overlapArea(saved, screen);
        if (area > best) {
            best = area;
            target = &screen;
        }
    }
    const int width = std::min(saved.width(), target->width());
    const int height = std::min(saved.height(), target->height());
    const int left = std::clamp(saved.left, target->left, target->right - width);
    const int top = std::clamp(saved.top, target->top, target->bottom - height);
    return PlacementRect { left, top, left + width, top + height };
}

PlacementRect cascaded(const PlacementRect& from, int step, const std::vector<PlacementRect>& screens)
{
    PlacementRect moved { from.left + step, from.top + step, from.right + step, from.bottom + step };
    for (const PlacementRect& screen : screens) {
        // Off the bottom or right edge: start again at the screen's corner,
        // as a cascade of windows does.
        if (overlapArea(from, screen) > 0 && (moved.bottom > screen.bottom || moved.right > screen.right)) {
            const int width = std::min(from.width(), screen.width());
            const int height = std::min(from.height(), screen.height());
            moved = PlacementRect { screen.left, screen.top, screen.left + width, screen.top + height };
            if (moved == from)
                moved = PlacementRect { screen.left + step, screen.top + step, screen.left + step + width,
                    screen.top + step + height };
            break;
        }
    }
    return fitOnScreens(moved, screens);
}

} // namespace vornik
