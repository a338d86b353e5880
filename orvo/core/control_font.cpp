#include "orvo/control_font.h"

#include <cwchar>

#include "orvo/manager.h"
#include "orvo/paint_manager.h"

namespace Orvo {

MControlFont::MControlFont(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                           int visible, int enabled, int responsive)
    : MControl(parent, id, rect, visible, enabled, responsive),
      m_title(title != nullptr ? title : L""),
      m_fontName(Manager::GetFontName()),
      m_fontSize(Manager::GetFontWidth()),
      m_textBrush(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(m_textColor.Value()))) {}

MControlFont::~MControlFont() {
    ClearGDIFont();
}

void MControlFont::SetTextFont(const wchar_t* name) {
    SetFontName(name);
}

void MControlFont::SetTextColor(Argb colour) {
    m_textColor = colour;
    m_textBrush = std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(colour.Value()));
}

int MControlFont::SetImage(UINT resourceId, const wchar_t* resourceType, int count) {
    if (m_manager == nullptr || count <= 0) {
        return 0;
    }
    ImgResInfo* info = m_manager->AddImgResInfo(resourceId, resourceType, count, 1);
    if (info == nullptr || info->image == nullptr) {
        return 0;
    }
    m_image = info->image.get();
    m_imageWidth = info->frameWidth;
    m_imageHeight = info->frameHeight;
    m_imageCount = count;
    m_imagePath = info->key;
    if (m_visible) {
        UpdateControl(TRUE);
    }
    return 1;
}

int MControlFont::SetImage(const wchar_t* fileName, int count) {
    if (m_manager == nullptr || fileName == nullptr || count <= 0) {
        return 0;
    }
    ImgResInfo* info = m_manager->AddImgResInfo(fileName, count);
    if (info == nullptr || info->image == nullptr) {
        return 0;
    }
    m_image = info->image.get();
    m_imageWidth = info->frameWidth;
    m_imageHeight = info->frameHeight;
    m_imageCount = count;
    m_imagePath = fileName;
    if (m_visible) {
        UpdateControl(TRUE);
    }
    return 1;
}

void MControlFont::SetControlTitle(const wchar_t* text) {
    SetTitle(text);
}

std::wstring MControlFont::GetControlTitle() const {
    return m_title;
}

void MControlFont::SetTitle(const wchar_t* text) {
    m_title = text != nullptr ? text : L"";
}

void MControlFont::SetAlignment(int horizontal) {
    m_hAlign = horizontal;
}

void MControlFont::SetVAlignment(int vertical) {
    m_vAlign = vertical;
}

void MControlFont::SetAlignment(int horizontal, int vertical) {
    m_hAlign = horizontal;
    m_vAlign = vertical;
}

void MControlFont::GetAlignment(int& horizontal, int& vertical) const {
    horizontal = m_hAlign;
    vertical = m_vAlign;
}

void MControlFont::SetFont(const wchar_t* family, int size, int style) {
    if (family != nullptr) {
        m_fontName = family;
    }
    if (size > 0) {
        m_fontSize = size;
    }
    m_fontStyle = style;
    ClearGDIFont();
}

void MControlFont::SetFontName(const wchar_t* family) {
    if (family == nullptr) {
        return;
    }
    m_fontName = family;
    ClearGDIFont();
}

void MControlFont::SetFontWidth(int size) {
    if (size <= 0) {
        return;
    }
    m_fontSize = size;
    ClearGDIFont();
}

void MControlFont::SetFontStyle(int style) {
    m_fontStyle = style;
    ClearGDIFont();
}

Gdiplus::FontFamily* MControlFont::GetFontFamily(const wchar_t* name) {
    const std::wstring wanted = name != nullptr ? name : m_fontName;
    if (m_fontFamily != nullptr && m_fontFamilyName == wanted) {
        return m_fontFamily.get();
    }
    m_fontFamily.reset();
    m_fontFamilyName.clear();
    if (m_manager == nullptr) {
        return nullptr;
    }
    Gdiplus::FontFamily* cached = m_manager->FindTempFont(wanted.c_str());
    if (cached == nullptr) {
        return nullptr;
    }
    m_fontFamily.reset(cached->Clone());
    m_fontFamilyName = wanted;
    return m_fontFamily.get();
}

HFONT MControlFont::GetGDIFont() {
    if (m_gdiFont != nullptr) {
        return m_gdiFont.get();
    }
    LOGFONTW description = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
    std::wcsncpy(description.lfFaceName, m_fontName.c_str(), LF_FACESIZE - 1);
    description.lfFaceName[LF_FACESIZE - 1] = L'\0';
    description.lfHeight = -m_fontSize;
    description.lfCharSet = DEFAULT_CHARSET;
    if (m_fontStyle & kFontBold) {
        description.lfWeight += 700;
    }
    description.lfItalic = (m_fontStyle & kFontItalic) ? TRUE : FALSE;
    description.lfUnderline = (m_fontStyle & kFontUnderline) ? TRUE : FALSE;
    m_gdiFont.reset(::CreateFontIndirectW(&description));
    return m_gdiFont.get();
}

void MControlFont::ClearGDIFont() {
    m_gdiFont.reset();
}

void MControlFont::SetImageCount(int count) {
    if (count > 0) {
        m_imageCount = count;
    }
}

}  // namespace Orvo
