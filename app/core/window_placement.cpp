#include "app/core/window_placement.h"

#include "storage/profile.h"

#include <algorithm>
#include <limits>

namespace vornik {
namespace {

// The title bar is grabbed along the top edge: a band this high and at least
// this wide must lie on one screen.
constexpr int kTitleBand = 24;
constexpr int kGrabWidth = 100;

// Edges are compared in 64 bits: saved values may be anywhere in int's
// range, and their differences are not.
std::int64_t overlapArea(const PlacementRect& a, const PlacementRect& b)
{
    const std::int64_t w = std::int64_t { std::min(a.right, b.right) } - std::max(a.left, b.left);
    const std::int64_t h = std::int64_t { std::min(a.bottom, b.bottom) } - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// How far apart two rectangles that do not overlap are, along both axes.
std::int64_t gapBetween(const PlacementRect& a, const PlacementRect& b)
{
    const auto gap = [](int aLow, int aHigh, int bLow, int bHigh) {
        return std::max({ std::int64_t { 0 }, std::int64_t { bLow } - aHigh, std::int64_t { aLow } - bHigh });
    };
    return gap(a.left, a.right, b.left, b.right) + gap(a.top, a.bottom, b.top, b.bottom);
}

bool titleReachable(const PlacementRect& rect, const PlacementRect& screen)
{
    const std::int64_t w
        = std::int64_t { std::min(rect.right, screen.right) } - std::max(rect.left, screen.left);
    return rect.top >= screen.top && rect.top < screen.bottom
        && w >= std::min<std::int64_t>(kGrabWidth, rect.width());
}

// `value` + `step`, held inside int's range.
int shifted(int value, int step)
{
    return static_cast<int>(std::clamp<std::int64_t>(
        std::int64_t { value } + step, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
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
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    if (rect.width() <= 0 || rect.height() <= 0 || rect.width() > kIntMax || rect.height() > kIntMax)
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
    std::int64_t best = 0;
    for (const PlacementRect& screen : screens) {
        const std::int64_t area = overlapArea(saved, screen);
        if (area > best) {
            best = area;
            target = &screen;
        }
    }
    if (best == 0) {
        std::int64_t nearest = gapBetween(saved, *target);
        for (const PlacementRect& screen : screens) {
            const std::int64_t gap = gapBetween(saved, screen);
            if (gap < nearest) {
                nearest = gap;
                target = &screen;
            }
        }
    }
    const int width = static_cast<int>(std::min(saved.width(), target->width()));
    const int height = static_cast<int>(std::min(saved.height(), target->height()));
    const int left = std::clamp(saved.left, target->left, target->right - width);
    const int top = std::clamp(saved.top, target->top, target->bottom - height);
    return PlacementRect { left, top, left + width, top + height };
}

PlacementRect cascaded(const PlacementRect& from, int step, const std::vector<PlacementRect>& screens)
{
    PlacementRect moved { shifted(from.left, step), shifted(from.top, step), shifted(from.right, step),
        shifted(from.bottom, step) };
    for (const PlacementRect& screen : screens) {
        // Off the bottom or right edge: start again at the screen's corner,
        // as a cascade of windows does.
        if (overlapArea(from, screen) > 0 && (moved.bottom > screen.bottom || moved.right > screen.right)) {
            const int width = static_cast<int>(std::min(from.width(), screen.width()));
            const int height = static_cast<int>(std::min(from.height(), screen.height()));
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
