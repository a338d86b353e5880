#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "orvo/control.h"
#include "orvo/orvo_api.h"
#include "orvo/render.h"

namespace Orvo {

// Font styles (GDI+ bits).
enum FontStyleBits : int { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4 };

// The layer under text controls: title, font, text colour, alignment and a state image (a
// strip of equal frames; with four frames normal, hot, pressed, disabled).
class ORVO_API MControlFont : public MControl {
public:
    MControlFont(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                 int enabled, int responsive);
    ~MControlFont() override;

    const wchar_t* GetObjectClass() const override { return L"MControlFont"; }
    const wchar_t* BaseObjectClassName() const override { return L"MControl"; }

    virtual void SetTextFont(const wchar_t* name);
    virtual void SetTextColor(Argb colour);
    // A "PNG"-like resource of the application module; 1 when loaded.
    virtual int SetImage(UINT resourceId, const wchar_t* resourceType, int count);
    // A file in the skin folder; 1 when loaded. The first request of a file fixes its
    // frame width for the whole dialog.
    virtual int SetImage(const wchar_t* fileName, int count);
    virtual void SetControlTitle(const wchar_t* text);
    virtual std::wstring GetControlTitle() const;

    void SetTitle(const wchar_t* text);
    const std::wstring& GetTitle() const { return m_title; }
    // DrawText values: 0 left, 1 centre, 2 right; vertical 0 top, 4 centre, 8 bottom.
    void SetAlignment(int horizontal);
    void SetVAlignment(int vertical);
    void SetAlignment(int horizontal, int vertical);
    void GetAlignment(int& horizontal, int& vertical) const;
    void SetFont(const wchar_t* family, int size, int style);
    void SetFontName(const wchar_t* family);
    void SetFontWidth(int size);
    int GetFontWidth() const { return m_fontSize; }
    void SetFontStyle(int style);
    int GetFontStyle() const { return m_fontStyle; }
    const std::wstring& GetTextFont() const { return m_fontName; }
    Argb GetTextColor() const { return m_textColor; }
    Gdiplus::SolidBrush* GetTextBrush() const { return m_textBrush.get(); }
    void SetTextRenderingHint(int hint) { m_renderingHint = hint; }
    int GetTextRenderingHint() const { return m_renderingHint; }
    // The GDI+ family of name from the manager's fonts (cached); null when none exists.
    Gdiplus::FontFamily* GetFontFamily(const wchar_t* name);
    // The control's GDI font, created on first use and kept until font or style change.
    HFONT GetGDIFont();
    void ClearGDIFont();
    void SetImageCount(int count);
    int GetImageCount() const { return m_imageCount; }
    // Frame width and height of the state image.
    CSize GetImageSize() const { return CSize(m_imageWidth, m_imageHeight); }
    const std::wstring& GetImagePath() const { return m_imagePath; }
    Gdiplus::Image* GetImage() const { return m_image; }

protected:
    std::wstring m_title;
    std::wstring m_fontName;
    int m_fontSize = 14;
    Argb m_textColor = Argb(0xFFFFFFFF);
    std::unique_ptr<Gdiplus::SolidBrush> m_textBrush;
    int m_fontStyle = 0;
    std::unique_ptr<Gdiplus::FontFamily> m_fontFamily;
    std::wstring m_fontFamilyName;  // the name m_fontFamily was made for
    int m_hAlign = 0;
    int m_vAlign = 4;
    int m_renderingHint = 5;
    UniqueFont m_gdiFont;               // cleared by ClearGDIFont
    Gdiplus::Image* m_image = nullptr;  // not owned: the manager's image cache
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_imageCount = 4;
    std::wstring m_imagePath;
};

}  // namespace Orvo
