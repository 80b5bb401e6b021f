#include "core/WindowPlacement.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using VD_Core::rescuedPosition;

// The clock: 102 x 60 pixels with its title strip inside a one-pixel border.
const QSize kClock(102, 60);
const QRect kStrip(1, 1, 100, 14);
const QRect kScreen(0, 0, 800, 600);

struct PlacementCase {
    const char* name;
    QPoint at;
    QList<QRect> screens;
    std::optional<QPoint> back;
};

class RescueTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(RescueTest, OnlyAWindowWithItsStripOnNoScreenIsMoved) {
    const PlacementCase& c = GetParam();
    EXPECT_EQ(rescuedPosition(c.at, kClock, kStrip, c.screens), c.back);
}

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

INSTANTIATE_TEST_SUITE_P(
    Windows, RescueTest,
    ::testing::Values(
        PlacementCase{"OnTheScreen", {100, 100}, {kScreen}, std::nullopt},
        PlacementCase{"StripPartlyPastTheRightEdge", {750, 100}, {kScreen}, std::nullopt},
        PlacementCase{"OnePixelOfTheStripInTheCorner", {-100, -14}, {kScreen}, std::nullopt},
        PlacementCase{"StripAboveTheTopWithTheFaceShowing", {100, -20}, {kScreen}, QPoint(100, 0)},
        PlacementCase{"FarRight", {2000, 300}, {kScreen}, QPoint(698, 300)},
        PlacementCase{"FarUpAndLeft", {-500, -500}, {kScreen}, QPoint(0, 0)},
        PlacementCase{"NearestOfTwoScreens",
                      {1900, 700},
                      {kScreen, QRect(800, 0, 1024, 768)},
                      QPoint(1722, 700)},
        PlacementCase{"InTheGapBetweenScreensTheCloserOne",
                      {880, 100},
                      {kScreen, QRect(1000, 0, 800, 600)},
                      QPoint(1000, 100)},
        PlacementCase{
            "ScreenSmallerThanTheWindow", {500, 500}, {QRect(0, 0, 80, 40)}, QPoint(0, 0)},
        PlacementCase{"AtTheEndsOfInt", {kMax - 10, kMin + 10}, {kScreen}, QPoint(698, 0)},
        PlacementCase{"NoScreens", {2000, 300}, {}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
