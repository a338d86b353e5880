#include "orvo/air_bladder.h"

#include "layered_paint.h"

#include <algorithm>
#include <vector>

#include "orvo/manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

// The toolkit's own font face, a "TTF" resource of Orvo.dll.
constexpr UINT kOrvoFontResource = 106;

std::unique_ptr<Gdiplus::Image> LoadSkinImage(const wchar_t* fileName) {
    if (fileName == nullptr) {
        return nullptr;
    }
    const std::wstring path = Manager::GetSkinDirectory() + fileName;
    return MRender::LoadImageFromFile(path.c_str());
}

std::unique_ptr<Gdiplus::Image> LoadAppImage(UINT id, const wchar_t* type) {
    return MRender::LoadImageFromIDResource(id, type, Manager::GetInstance());
}

}  // namespace

MAirBladder::MAirBladder() = default;

MAirBladder::~MAirBladder() {
    DestroyWindow();
}

bool MAirBladder::LoadBKImage(const wchar_t* fileName) {
    m_background = LoadSkinImage(fileName);
    return m_background != nullptr;
}

bool MAirBladder::LoadBKImage(UINT resourceId, const wchar_t* resourceType) {
    m_background = LoadAppImage(resourceId, resourceType);
    return m_background != nullptr;
}

bool MAirBladder::LoadArrowLImage(const wchar_t* fileName) {
    m_arrowLeft = LoadSkinImage(fileName);
    return m_arrowLeft != nullptr;
}

bool MAirBladder::LoadArrowLImage(UINT resourceId, const wchar_t* resourceType) {
    m_arrowLeft = LoadAppImage(resourceId, resourceType);
    return m_arrowLeft != nullptr;
}

bool MAirBladder::LoadArrowRImage(const wchar_t* fileName) {
    m_arrowRight = LoadSkinImage(fileName);
    return m_arrowRight != nullptr;
}

bool MAirBladder::LoadArrowRImage(UINT resourceId, const wchar_t* resourceType) {
    m_arrowRight = LoadAppImage(resourceId, resourceType);
    return m_arrowRight != nullptr;
}

bool MAirBladder::LoadArrowTImage(const wchar_t* fileName) {
    m_arrowTop = LoadSkinImage(fileName);
    return m_arrowTop != nullptr;
}

bool MAirBladder::LoadArrowTImage(UINT resourceId, const wchar_t* resourceType) {
    m_arrowTop = LoadAppImage(resourceId, resourceType);
    return m_arrowTop != nullptr;
}

void MAirBladder::SetBackMode(int mode, int value) {
    m_backMode = mode;
    m_corner = value;
}

int MAirBladder::SetAirBladderMsg(const wchar_t* text, POINT point, int kind, int placement) {
    const std::wstring newText = text != nullptr ? text : L"";
    if (newText == m_text && point.x == m_anchor.x && point.y == m_anchor.y && kind == m_kind &&
        placement == m_placement) {
        // The same bubble again keeps its timer running; once the timer has hidden it, showing
        // it again must not leave it up for good.
        if (kind != 4 && m_hWnd != nullptr && !IsWindowVisible()) {
            SetTimer(kHideTimerId, kHideAfterMs);
            ++m_hideTimerStarts;
        }
        return 1;
    }
    m_text = newText;
    m_anchor = point;
    m_kind = kind;
    m_placement = placement;
    AutoFit();
    if (kind != 4 && m_hWnd != nullptr) {
        SetTimer(kHideTimerId, kHideAfterMs);
        ++m_hideTimerStarts;
    }
    return 1;
}

LRESULT MAirBladder::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == kHideTimerId) {
                KillTimer(kHideTimerId);
                ShowWindow(SW_HIDE);
                return 0;
            }
            break;
        case WM_MOUSEACTIVATE:
            // The bubble never takes the focus from the window it explains.
            return MA_NOACTIVATE;
        case WM_SHOWWINDOW:
            if (wParam) {
                Paint();
            }
            break;
        default:
            break;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

Gdiplus::FontFamily* MAirBladder::LoadTempFont() {
    if (m_family != nullptr) {
        return m_family.get();
    }
    const HMODULE module = Manager::GetOrvoInstance();
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(kOrvoFontResource), L"TTF");
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes != nullptr) {
        m_fonts = std::make_unique<Gdiplus::PrivateFontCollection>();
        if (m_fonts->AddMemoryFont(bytes, static_cast<INT>(::SizeofResource(module, found))) ==
                Gdiplus::Ok &&
            m_fonts->GetFamilyCount() > 0) {
            auto family = std::make_unique<Gdiplus::FontFamily>();
            INT foundCount = 0;
            if (m_fonts->GetFamilies(1, family.get(), &foundCount) == Gdiplus::Ok &&
                foundCount == 1) {
                m_family = std::move(family);
                return m_family.get();
            }
        }
    }
    // Without the toolkit's face the default text face stands in.
    auto fallback = std::make_unique<Gdiplus::FontFamily>(Manager::GetFontName().c_str());
    if (fallback->GetLastStatus() == Gdiplus::Ok) {
        m_family = std::move(fallback);
    }
    return m_family.get();
}

void MAirBladder::AutoFit() {
    m_lines = 1 + static_cast<int>(std::count(m_text.begin(), m_text.end(), L'\n'));
    int w = 0;
    int h = kFontPixels + 4;
    if (Gdiplus::FontFamily* family = LoadTempFont()) {
        Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(kFontPixels),
                           Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        size_t start = 0;
        while (start <= m_text.size()) {
            size_t end = m_text.find(L'\n', start);
            if (end == std::wstring::npos) {
                end = m_text.size();
            }
            const std::wstring line = m_text.substr(start, end - start);
            const SIZE size = MRender::GetTextBounds(&font, line.empty() ? L" " : line.c_str());
            w = std::max(w, static_cast<int>(size.cx));
            h = std::max(1, static_cast<int>(size.cy));
            start = end + 1;
        }
    }
    const int x = m_anchor.x;
    const int y = m_anchor.y;
    const int n = m_lines;
    switch (m_placement) {
        case 1:
            m_bubbleRect = CRect(x, y, x + w + 40, y + n * h + 20);
            break;
        case 2:
            m_bubbleRect = CRect(x - w - 40, y - 27, x, y + n * h - 7);
            break;
        case 4:
            m_bubbleRect = CRect(x - (w + 30) / 2, y - n * h - 20, x + (w + 30) / 2, y);
            break;
        case 5:
            m_bubbleRect = CRect(x, y - 10, x + w + 40, y + n * h - 45);
            break;
        default:
            m_bubbleRect = CRect(x - 25, y, x + w + 15, y + n * h + 30);
            break;
    }
    // Placement 5 with one short line would invert; keep at least the text's own height.
    if (m_bubbleRect.bottom < m_bubbleRect.top + h + 4) {
        m_bubbleRect.bottom = m_bubbleRect.top + h + 4;
    }
    if (m_hWnd != nullptr) {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_bubbleRect.left, m_bubbleRect.top,
                       m_bubbleRect.Width(), m_bubbleRect.Height(), SWP_NOACTIVATE | SWP_NOREDRAW);
        Paint();
    }
}

void MAirBladder::Paint() {
    const int width = m_bubbleRect.Width();
    const int height = m_bubbleRect.Height();
    PaintLayeredWindow(m_hWnd, m_bubbleRect, [&](Gdiplus::Graphics& graphics, HDC) {
        const RECT frame = {0, 0, width - 1, height - 1};
        if (m_background != nullptr) {
            const int imageWidth = static_cast<int>(m_background->GetWidth());
            const int imageHeight = static_cast<int>(m_background->GetHeight());
            MRender::DrawImageFrame(&graphics, m_background.get(), frame, 0, 0, imageWidth,
                                    imageHeight, m_backMode == 1 ? m_corner : 0);
        } else {
            MRender::DrawRoundRectange(&graphics, 0, 0, width - 1, height - 1, 6, Argb(0xF022272F));
        }
        Gdiplus::FontFamily* family = LoadTempFont();
        if (family == nullptr) {
            return;
        }
        Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(kFontPixels),
                           Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetAlignment(m_lines == 1 || m_placement == 4 ? Gdiplus::StringAlignmentCenter
                                                             : Gdiplus::StringAlignmentNear);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        const Gdiplus::SolidBrush white{Gdiplus::Color(0xFFFFFFFF)};
        const Gdiplus::RectF box(8.0f, 0.0f, static_cast<Gdiplus::REAL>(width - 16),
                                 static_cast<Gdiplus::REAL>(height));
        graphics.DrawString(m_text.c_str(), static_cast<INT>(m_text.size()), &font, box, &format,
                            &white);
    });
}

}  // namespace Orvo
