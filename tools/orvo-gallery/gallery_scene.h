#pragma once

#include <windows.h>

#include <string>

namespace Gallery {

constexpr int kWidth = 1000;
constexpr int kHeight = 640;

// What the pointer is over, so hovered pictures show their hot frames.
struct SceneState {
    POINT pointer{-1, -1};
    bool pressed = false;
};

// Rectangles the window reacts to.
RECT CloseButtonRect();
RECT MinimizeButtonRect();

// Draws the whole gallery into a 32-bit DC of kWidth x kHeight, with the skins of
// skinFolder (trailing backslash).
void DrawScene(HDC dc, const std::wstring& skinFolder, const SceneState& state);

}  // namespace Gallery
