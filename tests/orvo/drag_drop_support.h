#pragma once

#include <windows.h>

#include <vector>

#include "core_test_support.h"
#include "orvo/control.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace OrvoTest {

// A dialog that does with STM_SETIMAGE what a static picture control does: it keeps the
// bitmap and hands back the one it held. With keeping off it takes nothing (like every
// toolkit window) and answers STM_GETIMAGE with null.
class PictureDialog : public TestDialog {
public:
    ~PictureDialog() override {
        if (m_kept != nullptr) {
            ::DeleteObject(m_kept);
        }
    }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == STM_SETIMAGE && wParam == IMAGE_BITMAP) {
            auto* offered = reinterpret_cast<HBITMAP>(lParam);
            m_offered.push_back(offered);
            OnPicture(offered);
            if (!m_keeps) {
                return 0;
            }
            HBITMAP previous = m_kept;
            m_kept = offered;
            return reinterpret_cast<LRESULT>(previous);
        }
        if (msg == STM_GETIMAGE) {
            return reinterpret_cast<LRESULT>(m_keeps ? m_kept : nullptr);
        }
        return TestDialog::OnWindowMessage(msg, wParam, lParam);
    }
    // Called while the offered bitmap is still alive.
    virtual void OnPicture(HBITMAP) {}

    bool m_keeps = true;
    HBITMAP m_kept = nullptr;  // owned while kept
    std::vector<HBITMAP> m_offered;
};

// Width, height and the pixel at (x, y) (0x00RRGGBB) of a bitmap.
struct BitmapProbe {
    int width = 0;
    int height = 0;
    DWORD pixel = 0;
};

inline BitmapProbe ProbeBitmap(HBITMAP bitmap, int x, int y) {
    BitmapProbe probe;
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return probe;
    }
    probe.width = info.bmWidth;
    probe.height = info.bmHeight;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = ::GetDC(nullptr);
    const int rows =
        ::GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows == info.bmHeight && x >= 0 && y >= 0 && x < info.bmWidth && y < info.bmHeight) {
        probe.pixel = pixels[static_cast<size_t>(y) * info.bmWidth + x] & 0x00FFFFFF;
    }
    return probe;
}

// A drawn control that fills itself with one colour and can be dragged out as its picture.
class SwatchControl : public Orvo::MControl {
public:
    SwatchControl(Orvo::MObject* parent, UINT id, const RECT& rect, COLORREF colour)
        : MControl(parent, id, rect, 1, 1, 1), m_colour(colour) {
        SetDragDrop(1);
    }
    const wchar_t* GetClassNameW() const override { return L"SwatchControl"; }
    void DrawControl(HDC hdc, const RECT&) override {
        Orvo::MRender::FillSolidRect(hdc, m_rect, Orvo::ColorRef(m_colour));
    }
    BOOL OnControlLButtonDown(UINT, POINT) override {
        ++m_presses;
        return TRUE;
    }
    BOOL OnControlLButtonUp(UINT, POINT) override {
        ++m_releases;
        return TRUE;
    }
    // The drag picture: a new bitmap of the whole swatch each press; the manager owns it.
    HBITMAP GetControlDropBitmap() override {
        return m_manager != nullptr ? m_manager->GetDropBitmap(this, m_rect) : nullptr;
    }

    int m_presses = 0;
    int m_releases = 0;

private:
    COLORREF m_colour;
};

}  // namespace OrvoTest
