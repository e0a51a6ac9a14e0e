#include "app/core/window_placement.h"

#include "storage/profile.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

using namespace vornik;

namespace {

const PlacementRect kWide { 0, 0, 1920, 1040 }; // primary, task bar below
const PlacementRect kRightOfWide { 1920, 0, 3200, 1024 };

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
            { 0, 100, 800, 700 } }));

TEST(Cascade, StepsRightAndDownAndWrapsAtTheScreenEdge)
{
    EXPECT_EQ(cascaded({ 100, 50, 900, 650 }, 30, { kWide }), (PlacementRect { 130, 80, 930, 680 }));
    // Off the bottom: back to the screen's corner.
    EXPECT_EQ(cascaded({ 100, 420, 900, 1020 }, 30, { kWide }), (PlacementRect { 0, 0, 800, 600 }));
    // Already in the corner: one step from it, never exactly over it.
    EXPECT_EQ(cascaded({ 0, 0, 1920, 1040 }, 30, { kWide }), (PlacementRect { 30, 30, 1950, 1070 }));
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
