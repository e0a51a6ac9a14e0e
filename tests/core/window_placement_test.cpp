#include "app/core/window_placement.h"

#include "storage/profile.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vornik;

namespace {

const PlacementRect kWide { 0, 0, 1920, 1040 }; // primary, task bar below
const PlacementRect kRightOfWide { 1920, 0, 3200, 1024 };
constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

struct FitCase {
    const char* what;
    PlacementRect saved;
    std::vector<PlacementRect> screens;
    PlacementRect expected;
};

class FitOnScreens : public ::testing::TestWithParam<FitCase> { };

TEST_P(FitOnScreens, KeepsOrMovesTheRectangle)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(fitOnScreens(c.saved, c.screens), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, FitOnScreens,
    ::testing::Values(
        FitCase { "inside the primary screen", { 100, 50, 900, 650 }, { kWide }, { 100, 50, 900, 650 } },
        FitCase { "on the second screen", { 2000, 100, 2800, 700 }, { kWide, kRightOfWide },
            { 2000, 100, 2800, 700 } },
        FitCase { "bottom part below the screen, title reachable", { 100, 800, 900, 1400 }, { kWide },
            { 100, 800, 900, 1400 } },
        FitCase { "second screen removed", { 2000, 100, 2800, 700 }, { kWide }, { 1120, 100, 1920, 700 } },
        FitCase { "title bar above the screen", { 100, -40, 900, 560 }, { kWide }, { 100, 0, 900, 600 } },
        FitCase { "lower resolution: larger than the screen", { 0, 10, 1600, 1000 }, { { 0, 0, 1280, 770 } },
            { 0, 0, 1280, 770 } },
        FitCase { "only a corner left on the screen", { 1900, 1030, 2700, 1630 }, { kWide },
            { 1120, 440, 1920, 1040 } },
        FitCase { "a sliver of the title bar is not enough", { -760, 100, 40, 700 }, { kWide },
            { 0, 100, 800, 700 } },
        // Values a damaged settings file may hold: int's whole range.
        FitCase { "off every screen: the nearest one, not the primary", { 3300, 2000, 4100, 2600 },
            { kWide, kRightOfWide }, { 2400, 424, 3200, 1024 } },
        FitCase { "at int's lowest corner", { kMin, kMin, kMin + 800, kMin + 600 }, { kWide, kRightOfWide },
            { 0, 0, 800, 600 } },
        FitCase { "at int's right edge", { kMax - 800, 100, kMax, 700 }, { kWide, kRightOfWide },
            { 2400, 100, 3200, 700 } },
        FitCase { "as large as int allows", { kMin, kMin, kMax, kMax }, { kWide, kRightOfWide }, kWide }));

TEST(Cascade, StepsRightAndDownAndWrapsAtTheScreenEdge)
{
    EXPECT_EQ(cascaded({ 100, 50, 900, 650 }, 30, { kWide }), (PlacementRect { 130, 80, 930, 680 }));
    // Off the bottom: back to the screen's corner.
    EXPECT_EQ(cascaded({ 100, 420, 900, 1020 }, 30, { kWide }), (PlacementRect { 0, 0, 800, 600 }));
    // Already in the corner: one step from it, never exactly over it.
    EXPECT_EQ(cascaded({ 0, 0, 1920, 1040 }, 30, { kWide }), (PlacementRect { 30, 30, 1950, 1070 }));
    // No screen known: the step stops at int's edge.
    EXPECT_EQ(cascaded({ 0, 0, kMax, kMax }, 30, {}), (PlacementRect { 30, 30, kMax, kMax }));
}

// Empty, inverted and overlong rectangles are no placement; the window then
// opens where it would without one.
TEST(SavedPlacement, DamagedValuesAreNoPlacement)
{
    test::TempProgramDir dir;
    struct Stored {
        const char *left, *top, *right, *bottom;
        bool used;
    };
    const Stored rows[] = {
        { "10", "20", "810", "620", true },
        { "-2147483648", "-2147483648", "-2147482848", "-2147483048", true },
        { "810", "20", "10", "620", false },
        { "10", "620", "810", "20", false },
        { "10", "20", "10", "620", false },
        { "-2147483648", "20", "2147483647", "620", false },
        { "99999999999", "-99999999999", "-99999999999", "99999999999", false },
    };
    for (const Stored& row : rows) {
        writeIniString("window", "left", row.left);
        writeIniString("window", "top", row.top);
        writeIniString("window", "right", row.right);
        writeIniString("window", "bottom", row.bottom);
        EXPECT_EQ(readSavedPlacement().has_value(), row.used) << row.left << " " << row.top;
    }
}

TEST(SavedPlacement, FourKeysAndTheMaximisedState)
{
    test::TempProgramDir dir;
    EXPECT_FALSE(readSavedPlacement().has_value());
    writeSavedPlacement({ 12, 34, 812, 634 });
    EXPECT_EQ(readIniInt("window", "left", 0), 12);
    EXPECT_EQ(readIniInt("window", "top", 0), 34);
    EXPECT_EQ(readIniInt("window", "right", 0), 812);
    EXPECT_EQ(readIniInt("window", "bottom", 0), 634);
    EXPECT_EQ(readSavedPlacement(), (PlacementRect { 12, 34, 812, 634 }));
    // A saved top of 0 means nothing saved, as it always has.
    writeIniInt("window", "top", 0);
    EXPECT_FALSE(readSavedPlacement().has_value());

    EXPECT_FALSE(readSavedMaximized());
    writeSavedMaximized(true);
    EXPECT_TRUE(readSavedMaximized());
}

} // namespace
