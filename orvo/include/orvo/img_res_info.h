#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

namespace Orvo {

// One cached skin image: a horizontal strip of frameCount equal frames. The cache of a
// PaintManager owns it; controls keep only borrowed pointers to the image.
struct ImgResInfo {
    std::unique_ptr<Gdiplus::Image> image;
    int frameWidth = 0;   // image width / frameCount (integer division)
    int frameHeight = 0;  // image height
    int frameCount = 0;
    std::wstring key;  // the file name, or the resource id in decimal
};

}  // namespace Orvo
