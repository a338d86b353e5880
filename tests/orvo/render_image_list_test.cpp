// MImageList: insertion rules, frame geometry of its records and which frame it draws.

#include <gtest/gtest.h>

#include <algorithm>

#include "orvo/image_list.h"
#include "orvo/render.h"
#include "render_test_support.h"

namespace Orvo {
namespace {

// A 100 x 10 strip of ten-pixel columns, red, green, blue, then grey.
// Each test writes its own file: ctest runs them as parallel processes.
std::wstring WriteStrip(const wchar_t* path) {
    Gdiplus::Bitmap strip(100, 10, PixelFormat32bppARGB);
    const DWORD colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080};
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 100; ++x) {
            strip.SetPixel(x, y, Gdiplus::Color(colours[std::min(x / 33, 3)]));
        }
    }
    RenderTest::SavePng(strip, path);
    return path;
}

TEST(ImageList, InsertRulesAndLookups) {
    MImageList list;
    const std::wstring strip = WriteStrip(L"image_list_insert.png");
    EXPECT_EQ(list.InsertImage(0, strip.c_str(), 1, 3), -1);  // no position 0 in an empty list
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_EQ(list.AddImage(nullptr, 1, 3), -1);
    EXPECT_EQ(list.AddImage(strip.c_str(), 7, 3), 0);
    EXPECT_EQ(list.AddImage(L"no such file.png", 8, 4), 1);   // kept without a picture
    EXPECT_EQ(list.InsertImage(0, strip.c_str(), 9, 0), -1);  // inserted before 0
    EXPECT_EQ(list.InsertImage(3, strip.c_str(), 9, 1), -1);  // past the end: nothing
    EXPECT_EQ(list.InsertImage(-2, strip.c_str(), 9, 1), -1);
    ASSERT_EQ(list.GetImageCount(), 3);

    const _M_IAMGELIST* first = list.GetItemImageData(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id, 9);
    EXPECT_EQ(first->frameWidth, 100);  // a count of 0 is one frame, not a division by zero
    const _M_IAMGELIST* byId = list.GetImageDataByID(7);
    ASSERT_NE(byId, nullptr);
    EXPECT_EQ(byId->frameWidth, 33);  // 100 / 3: the last column is never shown
    EXPECT_EQ(byId->frameHeight, 10);
    const _M_IAMGELIST* missing = list.GetImageDataByID(8);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->image, nullptr);
    EXPECT_EQ(list.GetImagePathByID(8), L"no such file.png");
    EXPECT_EQ(list.GetImagePath(5), L"");
    EXPECT_EQ(list.GetImageDataByID(42), nullptr);
    list.SetDrawImgSize(24, 20);
    EXPECT_EQ(list.GetIconSize().cx, 24);
    list.DelAllImages();
    EXPECT_EQ(list.GetImageCount(), 0);
}

TEST(ImageList, DrawsTheRequestedFrameCentredAndClampsIt) {
    MImageList list;
    ASSERT_EQ(list.AddImage(WriteStrip(L"image_list_draw.png").c_str(), 1, 3), 0);
    MemoryCanvas canvas(60, 30);
    {
        Gdiplus::Graphics graphics(canvas.GetDC());
        list.DrawItemIcon(&graphics, RECT{0, 0, 60, 30}, 0, 1);   // green, centred
        list.DrawItemIcon(&graphics, RECT{0, 0, 60, 10}, 0, 9);   // past the last: blue
        list.DrawItemIcon(&graphics, RECT{0, 20, 60, 30}, 5, 0);  // no such record
        list.DrawItemIcon(nullptr, RECT{0, 0, 60, 30}, 0, 0);
    }
    EXPECT_EQ(canvas.GetPixel(30, 15) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(canvas.GetPixel(13, 15) & 0xFFFFFF, 0x00FF00u);  // left = (60 - 33) / 2
    EXPECT_EQ(canvas.GetPixel(12, 15) & 0xFFFFFF, 0u);
    EXPECT_EQ(canvas.GetPixel(30, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(canvas.GetPixel(30, 25) & 0xFFFFFF, 0u);
}

}  // namespace
}  // namespace Orvo
