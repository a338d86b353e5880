#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "orvo/colour.h"
#include "orvo/orvo_api.h"

namespace Orvo {

class PaintManager;

// One row of a window outline: the first and last pixel inside, or empty.
struct ShadowSpan {
    int left = 0;
    int right = -1;
    bool IsEmpty() const { return right < left; }
};

// A soft drop shadow for a top-level dialog, drawn in its own layered window that follows the
// dialog. Computed from the dialog's outline (size, sharpness, darkness, colour, offset) or
// drawn from a nine-patch image. The shadow subclasses the dialog window to follow it.
class ORVO_API MShadow {
public:
    // Status bits.
    static constexpr BYTE kEnabled = 1;
    static constexpr BYTE kVisible = 2;
    static constexpr BYTE kParentVisible = 4;

    MShadow();
    ~MShadow();
    MShadow(const MShadow&) = delete;
    MShadow& operator=(const MShadow&) = delete;

    // Registers the "ShadowWnd" class once per process (again when force is set).
    static bool Initialize(HINSTANCE instance, int force);
    // Attaches the shadow to the manager's window; nothing unless the show flag is set.
    void Create(PaintManager* manager);
    // Redraws the shadow for the dialog's current rectangle.
    void Update(HWND dialog);
    // Fills bits (the shadow bitmap, bottom-up, premultiplied ARGB) from the dialog's
    // outline; windowRect is the dialog's window rectangle.
    void MakeShadow(DWORD* bits, HWND dialog, const RECT& windowRect);

    void ShowShadow(int on) { m_show = on != 0; }
    int IsShowShadow() const { return m_show ? 1 : 0; }
    void DisableShadow(int off);
    int IsDisableShadow() const { return m_disabled ? 1 : 0; }

    // Range setters: 0 and nothing changed when out of range, else 1.
    int SetSize(int size);             // -35 ... 35
    int SetSharpness(UINT sharpness);  // 0 ... 35
    int SetDarkness(UINT darkness);    // 0 ... 255
    int SetPosition(int x, int y);     // each -35 ... 35
    // 0x00RRGGBB.
    int SetColor(ColorRef colour);
    // Image shadows: a skin file or a PNG resource of the application, drawn as a nine-patch
    // with the corner margins.
    int SetImage(const wchar_t* fileName);
    int SetImage(UINT resourceId);
    int SetShadowCorner(const RECT& corner);
    void CopyShadow(const MShadow& other);

    // A shadow pixel: alpha in the top byte, then red, green and blue of the colour, each
    // scaled by alpha / 255.
    static DWORD PreMultiply(ColorRef colour, BYTE alpha);

    // The outline of a w x h window, row by row from the top: inside pixels of its region, or
    // the whole rectangle when region is null.
    static std::vector<ShadowSpan> OutlineSpans(HRGN region, int width, int height);
    // The computed shadow of an outline into a (width + 2 size) x (height + 2 size) bitmap,
    // bottom-up; exposed for tests.
    static void RenderComputedShadow(const std::vector<ShadowSpan>& outline, int width, int height,
                                     int size, int sharpness, int darkness, int offsetX,
                                     int offsetY, ColorRef colour, DWORD* bits);

    int GetSize() const { return m_size; }
    int GetSharpness() const { return m_sharpness; }
    int GetDarkness() const { return m_darkness; }
    int GetOffsetX() const { return m_offsetX; }
    int GetOffsetY() const { return m_offsetY; }
    ColorRef GetColor() const { return m_colour; }
    BYTE GetStatus() const { return m_status; }
    HWND GetShadowWindow() const { return m_shadowWnd; }

private:
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Place(HWND dialog);
    void RedrawIfVisible();
    BYTE StatusFromStyle(HWND dialog) const;
    bool LoadImageSize();

    PaintManager* m_manager = nullptr;  // not owned: the dialog's manager
    HWND m_shadowWnd = nullptr;         // owned: destroyed with the dialog
    HWND m_dialogWnd = nullptr;         // not owned
    WNDPROC m_previousProc = nullptr;
    BYTE m_status = 0;
    int m_imageMode = 0;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    BYTE m_darkness = 150;
    BYTE m_sharpness = 5;
    signed char m_size = 0;
    signed char m_offsetX = 5;
    signed char m_offsetY = 5;
    LPARAM m_lastSize = 0;
    int m_updatePending = 0;
    ColorRef m_colour;
    std::wstring m_imageFile;
    UINT m_imageResourceId = 0;
    RECT m_corner{0, 0, 0, 0};
    bool m_show = false;
    bool m_disabled = false;

    static bool s_bHasInit;
};

}  // namespace Orvo
