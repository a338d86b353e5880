#include "app/frame/main_window_geometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tavik {

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "(" << box.left << ", " << box.top << ", " << box.right << ", " << box.bottom
               << ")";
}

namespace {

constexpr int kLogoWidth = 140;
constexpr int kLogoHeight = 40;

struct Placement {
    const char* control;
    Box MainWindowGeometry::*field;
    // The expected rectangle for a client of width w and height h.
    Box (*expected)(int w, int h);
};

// Each row is the frame's table, written once for any client size.
const Placement kPlacements[] = {
    {"background", &MainWindowGeometry::background,
     [](int w, int h) {
         return Box{0, 0, w, h};
     }},
    {"caption bar", &MainWindowGeometry::captionBar,
     [](int w, int) {
         return Box{1, 1, w - 1, 50};
     }},
    {"status bar", &MainWindowGeometry::statusBar,
     [](int w, int h) {
         return Box{1, h - 50, w - 1, h - 1};
     }},
    {"logo", &MainWindowGeometry::logo,
     [](int, int) {
         return Box{30, 30, 30 + kLogoWidth, 30 + kLogoHeight};
     }},
    {"close", &MainWindowGeometry::closeButton,
     [](int w, int) {
         return Box{w - 50, 10, w - 20, 40};
     }},
    {"minimise", &MainWindowGeometry::minimiseButton,
     [](int w, int) {
         return Box{w - 81, 10, w - 51, 40};
     }},
    {"settings", &MainWindowGeometry::settingsButton,
     [](int w, int) {
         return Box{w - 112, 10, w - 82, 40};
     }},
    {"title", &MainWindowGeometry::title,
     [](int w, int) {
         return Box{(w - 260) / 2, 10, (w - 260) / 2 + 260, 40};
     }},
    {"application version", &MainWindowGeometry::applicationVersion,
     [](int, int h) {
         return Box{25, h - 38, 185, h - 12};
     }},
    {"status-bar centre text", &MainWindowGeometry::statusCentreText,
     [](int w, int h) {
         return Box{(w - 550) / 2, h - 38, (w - 550) / 2 + 550, h - 12};
     }},
    {"battery", &MainWindowGeometry::battery,
     [](int w, int) {
         return Box{w - 110, 50, w - 15, 80};
     }},
    {"profile button", &MainWindowGeometry::profileButton,
     [](int w, int h) {
         return Box{w - 150, h - 38, w - 20, h - 12};
     }},
    {"left panel", &MainWindowGeometry::leftPanel,
     [](int, int h) {
         return Box{1, 1, 201, h - 1};
     }},
    {"tab strip", &MainWindowGeometry::tabStrip,
     [](int, int) {
         return Box{1, 120, 191, 540};
     }},
    {"page area", &MainWindowGeometry::pageArea,
     [](int w, int h) {
         return Box{200, 75, w - 1, h - 50};
     }},
    {"home view", &MainWindowGeometry::homeView,
     [](int w, int h) {
         return Box{10, 75, w - 10, h - 1};
     }},
    {"device list", &MainWindowGeometry::deviceList,
     [](int w, int h) {
         return Box{90, 130, w - 60, h - 100};
     }},
};

TEST(MainWindowGeometryTest, EveryControlFollowsTheFrameTableAtTwoSizes) {
    for (const auto& [width, height] : {std::pair{1280, 780}, std::pair{1600, 900}}) {
        const MainWindowGeometry geometry =
            ComputeMainWindowGeometry(Box{0, 0, width, height}, kLogoWidth, kLogoHeight);
        for (const Placement& placement : kPlacements) {
            EXPECT_EQ(geometry.*placement.field, placement.expected(width, height))
                << placement.control << " at " << width << " x " << height;
        }
    }
}

TEST(MainWindowGeometryTest, NoConnectionViewScalesWithTheHeight) {
    const struct {
        int height;
        Box expected;
    } cases[] = {
        {780, Box{390, 200, 890, 280}},
        // 1560 / 780 = 2: twice as wide, twice as low, twice as high, still centred.
        {1560, Box{140, 400, 1140, 560}},
        // 390 / 780 = 0.5.
        {390, Box{515, 100, 765, 140}},
    };
    for (const auto& test : cases) {
        const MainWindowGeometry geometry =
            ComputeMainWindowGeometry(Box{0, 0, 1280, test.height}, 0, 0);
        EXPECT_EQ(geometry.noConnection, test.expected) << "height " << test.height;
        EXPECT_DOUBLE_EQ(geometry.scale, test.height / 780.0);
    }
}

TEST(MainWindowGeometryTest, AnEmptyClientKeepsTheDesignScale) {
    // A minimised window reports an empty client: no division by its height.
    EXPECT_DOUBLE_EQ(ComputeMainWindowGeometry(Box{}, 0, 0).scale, 1.0);
}

}  // namespace
}  // namespace tavik
