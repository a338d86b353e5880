#pragma once

#include <windows.h>

namespace Orvo {
class PaintManager;
}

namespace Gallery {

class GalleryFonts;

constexpr int kWidth = 1000;
constexpr int kHeight = 640;

// Where the live controls and the overlay sit, in client coordinates.
RECT CaptionRect();
RECT SystemButtonRect(int index);  // 0 settings, 1 minimise, 2 close
RECT ResetButtonRect();
RECT OpenFileButtonRect();
RECT StartupCheckRect();
RECT StartupSwitchRect();
RECT UpdateButtonRect();
RECT ProgressOverlayRect();

// Draws the still part of the gallery (cards, strips in every state, text, shapes, shadow)
// with the skin images of the manager's cache.
void DrawScene(HDC dc, Orvo::PaintManager* manager, GalleryFonts& fonts);

}  // namespace Gallery
