#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "orvo/control.h"

namespace Gallery {

// GDI fonts of the gallery by face, pixel height and weight, made once each.
class GalleryFonts {
public:
    GalleryFonts() = default;
    GalleryFonts(const GalleryFonts&) = delete;
    GalleryFonts& operator=(const GalleryFonts&) = delete;
    ~GalleryFonts();

    HFONT Get(const wchar_t* face, int pixels, bool bold = false);

private:
    std::map<std::wstring, HFONT> m_fonts;  // owned
};

// The face every gallery text is drawn in: the toolkit's private font.
constexpr wchar_t kUiFace[] = L"Open Sans Semibold";
constexpr wchar_t kChineseFace[] = L"Microsoft YaHei";

// A live control drawn from a skin strip: a push button (4 frames: normal, hot, pressed,
// disabled), a check box (8 frames: the four states unchecked, then checked) or a switch
// (a 4-frame strip for on and one for off). A click notifies the dialog with
// kNotifyClicked; check boxes and switches flip first and pass the new state in wParam.
class StripControl : public Orvo::MControl {
public:
    enum class Kind { kPush, kCheck, kSwitch };

    StripControl(Orvo::MObject* parent, UINT id, const RECT& rect, Kind kind, std::wstring image,
                 std::wstring offImage = L"");

    const wchar_t* GetClassNameW() const override { return L"GalleryStripControl"; }

    // Stretches the frame over the rectangle as a nine-patch; 0 draws it at its own size.
    void SetStretchCorner(int corner) { m_corner = corner; }
    // A caption centred on the control.
    void SetCaption(std::wstring text, HFONT font) {
        m_caption = std::move(text);
        m_font = font;
    }
    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked);

    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

private:
    int StateFrame() const;

    Kind m_kind;
    std::wstring m_image;
    std::wstring m_offImage;
    std::wstring m_caption;
    HFONT m_font = nullptr;  // not owned: a font of GalleryFonts
    int m_corner = 0;
    bool m_checked = false;
    bool m_hot = false;
    bool m_pressed = false;
};

// The still part of the gallery, drawn in the area list under the live controls.
class SceneArea : public Orvo::MControl {
public:
    SceneArea(Orvo::MObject* parent, const RECT& rect, GalleryFonts* fonts);

    const wchar_t* GetClassNameW() const override { return L"GallerySceneArea"; }
    void DrawControl(HDC hdc, const RECT& rect) override;

private:
    GalleryFonts* m_fonts;  // not owned: the dialog's
};

}  // namespace Gallery
