#pragma once

// Helpers of the value, colour, device and picture control tests: skin pictures of known
// colours written for one test process, and the controls of a dialog painted into a canvas
// as a paint of the window would.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace ValuesTest {

inline bool SavePng(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return bitmap.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

// A picture in the skin folder beside the test executable: a strip of frames, each filled
// with its own ARGB colour, under a name of this process (tests of several processes run
// at once). Removed again by the destructor.
class SkinPicture {
public:
    SkinPicture(const std::wstring& stem, int frameWidth, int height,
                const std::vector<DWORD>& frameColours)
        : m_name(stem + L"_" + std::to_wstring(::GetCurrentProcessId()) + L".png") {
        ::CreateDirectoryW((Orvo::Manager::GetProgramDirectory() + L"skins").c_str(), nullptr);
        ::CreateDirectoryW(Orvo::Manager::GetSkinDirectory().c_str(), nullptr);
        const int frames = static_cast<int>(frameColours.size());
        Gdiplus::Bitmap bitmap(frameWidth * frames, height, PixelFormat32bppARGB);
        for (int frame = 0; frame < frames; ++frame) {
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < frameWidth; ++x) {
                    bitmap.SetPixel(frame * frameWidth + x, y,
                                    Gdiplus::Color(frameColours[static_cast<size_t>(frame)]));
                }
            }
        }
        m_saved = SavePng(bitmap, Orvo::Manager::GetSkinDirectory() + m_name);
    }
    ~SkinPicture() { ::DeleteFileW((Orvo::Manager::GetSkinDirectory() + m_name).c_str()); }
    SkinPicture(const SkinPicture&) = delete;
    SkinPicture& operator=(const SkinPicture&) = delete;

    bool Saved() const { return m_saved; }
    const wchar_t* Name() const { return m_name.c_str(); }

private:
    std::wstring m_name;
    bool m_saved = false;
};

// The dialog's controls painted over an opaque black client area, as the window's paint
// draws them.
inline std::unique_ptr<Orvo::MemoryCanvas> PaintControls(OrvoTest::TestDialog& dialog) {
    Orvo::PaintManager& manager = *dialog.GetPaintManager();
    const Orvo::CRect client = manager.GetClientRect();
    auto canvas = std::make_unique<Orvo::MemoryCanvas>(client.Width(), client.Height());
    if (!canvas->IsValid()) {
        return nullptr;
    }
    for (int y = 0; y < client.Height(); ++y) {
        for (int x = 0; x < client.Width(); ++x) {
            canvas->SetPixel(x, y, 0xFF000000);
        }
    }
    manager.DrawControl(canvas->GetDC(), client);
    ::GdiFlush();
    return canvas;
}

// Red, green and blue of a 0xAARRGGBB pixel as 0xRRGGBB.
inline DWORD Rgb(DWORD pixel) {
    return pixel & 0x00FFFFFF;
}

// True when every channel of the two 0x..RRGGBB colours is within `tolerance`.
inline bool Near(DWORD a, DWORD b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (ca - cb > tolerance || cb - ca > tolerance) {
            return false;
        }
    }
    return true;
}

// A COLORREF-ordered value (red low) as 0xRRGGBB.
inline DWORD RgbOfColorRef(DWORD colorref) {
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

}  // namespace ValuesTest
