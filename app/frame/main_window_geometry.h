#pragma once

namespace tavik {

// A rectangle in client pixels: left and top inside, right and bottom outside.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Box& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// Where the main window's frame puts each control for a client rectangle. The caption
// buttons stay anchored to the right edge, the status bar to the bottom, and the centred
// views scale with the height (scale = height / 780).
struct MainWindowGeometry {
    double scale = 1.0;
    Box background;
    Box captionBar;
    Box statusBar;
    Box logo;
    Box closeButton;
    Box minimiseButton;
    Box settingsButton;
    Box title;
    Box applicationVersion;
    Box statusCentreText;
    Box battery;
    Box profileButton;
    Box leftPanel;
    Box tabStrip;
    Box pageArea;
    Box homeView;
    Box deviceList;
    Box noConnection;
    // Beside the settings button, so that it follows the right edge when it is shown.
    Box maximiseButton;
    // The connection status text, left of the battery.
    Box connectionStatus;
};

// The design's window size; the scale is the client height over its height.
constexpr int kMainWindowWidth = 1280;
constexpr int kMainWindowHeight = 780;

// The layout of the frame for `client`, with the logo picture's own size.
MainWindowGeometry ComputeMainWindowGeometry(const Box& client, int logoWidth, int logoHeight);

}  // namespace tavik
