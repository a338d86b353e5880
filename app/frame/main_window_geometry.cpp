#include "app/frame/main_window_geometry.h"

#include <cmath>

namespace tavik {
namespace {

constexpr int kCaptionButtonSize = 30;
constexpr int kCaptionButtonTop = 10;

Box CaptionButton(int rightEdge) {
    return {rightEdge - kCaptionButtonSize, kCaptionButtonTop, rightEdge,
            kCaptionButtonTop + kCaptionButtonSize};
}

Box CentredHorizontally(const Box& client, int width, int top, int bottom) {
    const int left = client.left + (client.Width() - width) / 2;
    return {left, top, left + width, bottom};
}

int Scaled(int value, double scale) {
    return static_cast<int>(std::lround(value * scale));
}

}  // namespace

MainWindowGeometry ComputeMainWindowGeometry(const Box& client, int logoWidth, int logoHeight) {
    const int right = client.right;
    const int bottom = client.bottom;
    MainWindowGeometry g;
    g.scale = client.Height() > 0 ? static_cast<double>(client.Height()) / kMainWindowHeight : 1.0;
    g.background = client;
    g.captionBar = {1, 1, right - 1, 50};
    g.statusBar = {1, bottom - 50, right - 1, bottom - 1};
    g.logo = {30, 30, 30 + logoWidth, 30 + logoHeight};
    g.closeButton = CaptionButton(right - 20);
    g.minimiseButton = CaptionButton(right - 51);
    g.settingsButton = CaptionButton(right - 82);
    g.maximiseButton = CaptionButton(right - 113);
    g.title = CentredHorizontally(client, 260, 10, 40);
    g.applicationVersion = {25, bottom - 38, 185, bottom - 12};
    g.statusCentreText = CentredHorizontally(client, 550, bottom - 38, bottom - 12);
    g.battery = {right - 110, 50, right - 15, 80};
    g.connectionStatus = {right - 300, 50, right - 115, 80};
    g.profileButton = {right - 150, bottom - 38, right - 20, bottom - 12};
    g.leftPanel = {1, 1, 201, bottom - 1};
    g.tabStrip = {1, 120, 191, 540};
    g.pageArea = {200, 75, right - 1, bottom - 50};
    g.homeView = {10, 75, right - 10, bottom - 1};
    g.deviceList = {90, 130, right - 60, bottom - 100};
    g.noConnection = CentredHorizontally(client, Scaled(500, g.scale), Scaled(200, g.scale),
                                         Scaled(200, g.scale) + Scaled(80, g.scale));
    return g;
}

}  // namespace tavik
