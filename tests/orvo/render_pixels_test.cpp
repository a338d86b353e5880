// MRender drawing into a memory DIB, compared with golden pictures; the private font and
// the skin strips as the build makes them.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "orvo/image_strip.h"
#include "orvo/render.h"
#include "orvo/shadow.h"
#include "render_test_support.h"

namespace Orvo {
namespace {

constexpr Orvo::ColorRef kBackground = Orvo::ColorRef(0x0A0C0F);

std::unique_ptr<Gdiplus::Image> Skin(const wchar_t* name) {
    return MRender::LoadImageFromFile((RenderTest::SkinFolder() + name).c_str());
}

// Makes the toolkit's private font available to GDI in this process.
class PrivateFont {
public:
    PrivateFont() {
        HMODULE orvo = ::GetModuleHandleW(L"Orvo.dll");
        HRSRC resource = orvo ? ::FindResourceW(orvo, MAKEINTRESOURCEW(106), L"TTF") : nullptr;
        if (resource == nullptr) {
            return;
        }
        m_size = ::SizeofResource(orvo, resource);
        void* bytes = ::LockResource(::LoadResource(orvo, resource));
        DWORD fonts = 0;
        m_handle = ::AddFontMemResourceEx(bytes, m_size, nullptr, &fonts);
    }
    ~PrivateFont() {
        if (m_handle != nullptr) {
            ::RemoveFontMemResourceEx(m_handle);
        }
    }
    bool Loaded() const { return m_handle != nullptr; }
    DWORD Size() const { return m_size; }

private:
    HANDLE m_handle = nullptr;
    DWORD m_size = 0;
};

HFONT MakeFont(const wchar_t* face, int pixels) {
    LOGFONTW description{};
    description.lfHeight = -pixels;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = ANTIALIASED_QUALITY;
    wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&description);
}

TEST(PrivateFontResource, OrvoCarriesTheFontAndGdiUsesItByName) {
    PrivateFont font;
    ASSERT_TRUE(font.Loaded());
    EXPECT_GT(font.Size(), 100000u);
    HFONT handle = MakeFont(L"Open Sans Semibold", 18);
    MemoryCanvas canvas(10, 10);
    HGDIOBJ old = ::SelectObject(canvas.GetDC(), handle);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(canvas.GetDC(), LF_FACESIZE, face);
    ::SelectObject(canvas.GetDC(), old);
    ::DeleteObject(handle);
    EXPECT_EQ(std::wstring(face), L"Open Sans Semibold");
}

// One picture of the helpers at work: strips in every state, nine-patch frames, rounded
// shapes, gradients and text.
void DrawScene(MemoryCanvas& canvas) {
    HDC dc = canvas.GetDC();
    MRender::FillSolidRect(dc, 0, 0, canvas.Width(), canvas.Height(), kBackground);
    MRender::DrawGradient(dc, RECT{0, 0, canvas.Width(), 40}, Argb(0xFF050505), Argb(0xFF1C2027),
                          true, 64);
    {
        Gdiplus::Graphics graphics(dc);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        auto button = Skin(L"img_button.png");
        auto check = Skin(L"btn_checkbox.png");
        auto radio = Skin(L"btn_radiobox.png");
        auto edit = Skin(L"img_edit.png");
        auto combo = Skin(L"img_combobox.png");
        auto switchOn = Skin(L"img_switch_btn_on.png");
        auto switchOff = Skin(L"img_switch_btn_off.png");
        auto close = Skin(L"sysbtn_close.png");
        auto tab = Skin(L"icon\\tab_dpi.png");
        for (int state = 0; state < 4; ++state) {
            const StripRect frame = StripFrameRect(320, 30, 4, state);
            MRender::DrawImageFrame(&graphics, button.get(),
                                    RECT{10 + 100 * state, 8, 100 + 100 * state, 38}, frame.x,
                                    frame.y, frame.width, frame.height, 8);
        }
        for (int state = 0; state < 8; ++state) {
            MRender::DrawImageStripFrame(&graphics, check.get(), 10 + 24 * state, 50, 8, state);
            MRender::DrawImageStripFrame(&graphics, radio.get(), 214 + 24 * state, 50, 8, state);
        }
        MRender::DrawImageFrame(&graphics, edit.get(), RECT{10, 80, 200, 110}, 0, 0, 120, 30, 10);
        MRender::DrawImageFrameMID(&graphics, combo.get(), RECT{214, 80, 404, 110}, 120, 0, 120, 30,
                                   6, 6, 32, 6);
        for (int state = 0; state < 4; ++state) {
            MRender::DrawImageStripFrame(&graphics, switchOn.get(), 10 + 50 * state, 120, 4, state);
            MRender::DrawImageStripFrame(&graphics, switchOff.get(), 10 + 50 * state, 150, 4,
                                         state);
            MRender::DrawImageStripFrame(&graphics, close.get(), 214 + 34 * state, 120, 4, state);
        }
        for (int state = 0; state < 3; ++state) {
            MRender::DrawImageStripFrame(&graphics, tab.get(), 354 + 0 * state, 120 + 0, 3, 2);
            MRender::DrawImageStripFrame(&graphics, tab.get(), 214 + 34 * state, 155, 3, state);
        }
        MRender::DrawRoundRectange(&graphics, 10, 185, 90, 40, 10, Argb(0xFF1C2027));
        MRender::DrawRoundRectange(&graphics, 110, 185, 90, 40, 6, Orvo::kAccentColor, 2,
                                   Argb(0xFF231C14));
        MRender::DrawRoundRectange(&graphics, 310, 155, 94, 26, 2, Argb(0xFF3D556D), 1, TRUE,
                                   Argb(0xFF212D3B));
    }
    MRender::DrawGradient(dc, RECT{214, 190, 404, 220}, Argb(0x80FF4B00), Argb(0x802BD576), false,
                          64);
    MRender::DrawColor(dc, RECT{214, 222, 404, 226}, Argb(0x80FFFFFF));
    PrivateFont font;
    HFONT latin = MakeFont(L"Open Sans Semibold", 18);
    HFONT chinese = MakeFont(L"Microsoft YaHei", 16);
    MRender::DrawTextW(dc, RECT{10, 234, 240, 262}, L"TAVIK 16000 DPI",
                       ColorRef::FromRgb(255, 255, 255), latin,
                       DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    MRender::DrawTextW(dc, RECT{250, 234, 404, 262}, L"鼠标设置 宏",
                       ColorRef::FromRgb(184, 210, 239), chinese,
                       DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    ::DeleteObject(latin);
    ::DeleteObject(chinese);
}

TEST(RenderPixels, SceneMatchesTheGoldenPicture) {
    ASSERT_TRUE(Skin(L"img_button.png")) << "the skin set is not built";
    MemoryCanvas canvas(414, 268);
    ASSERT_TRUE(canvas.IsValid());
    DrawScene(canvas);
    // Text really renders, in both scripts.
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{10, 234, 240, 262}, kBackground.ToArgb(255)), 150);
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{250, 234, 404, 262}, kBackground.ToArgb(255)), 100);
    const std::string problem = RenderTest::CompareWithGolden(canvas, L"render_scene.png", 24);
    EXPECT_TRUE(problem.empty()) << problem;
}

// Writes a two-frame strip: frame 0 red, frame 1 blue, each 4 x 4.
std::wstring WriteRedBlueStrip() {
    Gdiplus::Bitmap strip(8, 4, PixelFormat32bppARGB);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            strip.SetPixel(x, y, Gdiplus::Color(x < 4 ? 0xFFFF0000 : 0xFF0000FF));
        }
    }
    const std::wstring path = L"red_blue_strip.png";
    RenderTest::SavePng(strip, path);
    return path;
}

TEST(RenderPixels, StretchedFrameTakesNothingFromItsNeighbour) {
    auto strip = MRender::LoadImageFromFileEx(WriteRedBlueStrip().c_str(), 0, 0);
    ASSERT_TRUE(strip);
    MemoryCanvas canvas(60, 60);
    {
        Gdiplus::Graphics graphics(canvas.GetDC());
        // The default filter of a Graphics would blend in the blue frame at the right edge.
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
        MRender::DrawImageFrame(&graphics, strip.get(), RECT{3, 3, 57, 57}, 0, 0, 4, 4, 1);
    }
    int bluish = 0;
    for (int y = 3; y < 57; ++y) {
        for (int x = 3; x < 57; ++x) {
            const DWORD pixel = canvas.GetPixel(x, y);
            bluish += (pixel & 0xFF) != 0 || ((pixel >> 16) & 0xFF) != 0xFF ? 1 : 0;
        }
    }
    EXPECT_EQ(bluish, 0);
    EXPECT_EQ(canvas.GetPixel(2, 30) & 0xFFFFFF, 0u);  // nothing outside the destination
}

TEST(RenderPixels, ColourFillsAndBlackCheck) {
    MemoryCanvas canvas(8, 8);
    MRender::FillSolidRect(canvas.GetDC(), 0, 0, 8, 8, ColorRef::FromRgb(0, 0, 255));
    MRender::DrawColor(canvas.GetDC(), RECT{0, 0, 8, 8}, Argb(0x00FF0000));  // alpha 0: nothing
    EXPECT_EQ(canvas.GetPixel(4, 4) & 0xFFFFFF, 0x0000FFu);
    MRender::DrawColor(canvas.GetDC(), RECT{0, 0, 4, 8}, Argb(0x80FF0000));  // half red over blue
    const DWORD blended = canvas.GetPixel(1, 1);
    EXPECT_NEAR(static_cast<int>((blended >> 16) & 0xFF), 128, 3);
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), 127, 3);
    ColorRef black(0);
    MRender::CheckAlphaColor(black);
    EXPECT_EQ(black.Value(), 0x000001u);
    ColorRef red = ColorRef::FromRgb(255, 0, 0);
    MRender::CheckAlphaColor(red);
    EXPECT_EQ(red.Value(), 0x0000FFu);
}

TEST(RenderPixels, VerticalTransitionRampsTheAlpha) {
    MemoryCanvas target(4, 10);
    MemoryCanvas source(4, 10);
    MRender::FillSolidRect(target.GetDC(), 0, 0, 4, 10, ColorRef());
    MRender::FillSolidRect(source.GetDC(), 0, 0, 4, 10, ColorRef::FromRgb(200, 200, 200));
    const int last = MRender::DrawVerticalTransition(target.GetDC(), source.GetDC(),
                                                     RECT{0, 0, 4, 10}, RECT{0, 0, 4, 10}, 0, 100);
    EXPECT_EQ(last, 25);  // 255 - 255 / 10 * 9, truncated
    EXPECT_NEAR(static_cast<int>(target.GetPixel(1, 0) & 0xFF), 200, 2);
    EXPECT_LT(target.GetPixel(1, 9) & 0xFF, 30u);
    // No transparency at all copies the source.
    EXPECT_EQ(MRender::DrawHorizontalTransition(target.GetDC(), source.GetDC(), RECT{0, 0, 4, 10},
                                                RECT{0, 0, 4, 10}, 0, 0),
              255);
    EXPECT_EQ(target.GetPixel(3, 9) & 0xFF, 200u);
}

TEST(RenderPixels, TextBoundsAndOrigin) {
    // GDI+ sees a private font only through its own collection.
    HMODULE orvo = ::GetModuleHandleW(L"Orvo.dll");
    HRSRC resource = ::FindResourceW(orvo, MAKEINTRESOURCEW(106), L"TTF");
    ASSERT_NE(resource, nullptr);
    Gdiplus::PrivateFontCollection collection;
    ASSERT_EQ(collection.AddMemoryFont(::LockResource(::LoadResource(orvo, resource)),
                                       static_cast<INT>(::SizeofResource(orvo, resource))),
              Gdiplus::Ok);
    Gdiplus::FontFamily family;
    INT found = 0;
    ASSERT_EQ(collection.GetFamilies(1, &family, &found), Gdiplus::Ok);
    ASSERT_EQ(found, 1);
    Gdiplus::Font font(&family, 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    const SIZE empty = MRender::GetTextBounds(&font, L"");
    const SIZE shortText = MRender::GetTextBounds(&font, L"DPI");
    const SIZE longText = MRender::GetTextBounds(&font, L"DPI 16000");
    EXPECT_EQ(empty.cx, 0);
    EXPECT_GT(shortText.cx, 10);
    EXPECT_GT(longText.cx, shortText.cx);
    EXPECT_GE(shortText.cy, 15);  // the line height of a 14-pixel face, plus the margin
    EXPECT_EQ(shortText.cy, longText.cy);
    const SIZE wrapped = MRender::GetTextBounds(&font, nullptr, 40, L"DPI 16000 DPI 16000");
    EXPECT_LT(wrapped.cx, longText.cx + 5);
    EXPECT_GT(wrapped.cy, 0);
    const POINT origin = MRender::GetOriginPoint(RECT{10, 20, 110, 40}, 40, 10, 1, 4);
    EXPECT_EQ(origin.x, 40);
    EXPECT_EQ(origin.y, 27);
}

TEST(Shadow, SettersRefuseValuesOutOfRange) {
    MShadow shadow;
    EXPECT_EQ(shadow.SetSize(36), 0);
    EXPECT_EQ(shadow.SetSize(-36), 0);
    EXPECT_EQ(shadow.SetSize(-35), 1);
    EXPECT_EQ(shadow.SetSharpness(36), 0);
    EXPECT_EQ(shadow.SetDarkness(255), 1);
    EXPECT_EQ(shadow.SetDarkness(256), 0);
    EXPECT_EQ(shadow.GetDarkness(), 255);
    EXPECT_EQ(shadow.SetPosition(35, -35), 1);
    EXPECT_EQ(shadow.SetPosition(36, 0), 0);
    EXPECT_EQ(shadow.GetOffsetX(), 35);
    EXPECT_EQ(shadow.SetShadowCorner(RECT{1, 1, -1, 1}), 0);
    EXPECT_EQ(shadow.SetImage(static_cast<const wchar_t*>(nullptr)), 0);
    // The shadow colour is a platform colour: red in its low byte.
    EXPECT_EQ(MShadow::PreMultiply(ColorRef::FromRgb(0xFF, 0x80, 0x40), 128), 0x80804020u);
}

TEST(Shadow, ComputedShadowLiesOutsideTheDialogAndFades) {
    const int width = 40, height = 30, size = 6;
    const std::vector<ShadowSpan> outline = MShadow::OutlineSpans(nullptr, width, height);
    std::vector<DWORD> bits(static_cast<size_t>(width + 2 * size) * (height + 2 * size), 0);
    MShadow::RenderComputedShadow(outline, width, height, size, 3, 150, 5, 5, ColorRef(),
                                  bits.data());
    const int bitmapWidth = width + 2 * size, bitmapHeight = height + 2 * size;
    auto alphaAt = [&](int x, int y) {
        return static_cast<int>(bits[static_cast<size_t>(bitmapHeight - 1 - y) * bitmapWidth + x] >>
                                24);
    };
    // Under the dialog (placed at size - offset in the bitmap) nothing is drawn.
    EXPECT_EQ(alphaAt(size - 5 + 10, size - 5 + 10), 0);
    // Below and right of the dialog the shadow is at full darkness, fading towards the edge.
    EXPECT_EQ(alphaAt(width + 2, height + 2), 150);
    EXPECT_GT(alphaAt(bitmapWidth - 3, height), 0);
    EXPECT_LT(alphaAt(bitmapWidth - 3, height), 150);
    EXPECT_EQ(alphaAt(bitmapWidth - 1, bitmapHeight - 1), 0);
}

}  // namespace
}  // namespace Orvo
