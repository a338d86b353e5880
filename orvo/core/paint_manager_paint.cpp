#include <cwchar>

#include "control_list.h"
#include "core_math.h"
#include "orvo/control_font.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

constexpr Argb kOverlayFill = Argb(0xFF141414);
constexpr Argb kOverlayOutline = Argb(0xFF6D6D6D);

CoreMath::Box ToBox(const RECT& rect) {
    return CoreMath::Box{rect.left, rect.top, rect.right, rect.bottom};
}

Gdiplus::Color WithAlpha(int alpha, Argb colour) {
    return Gdiplus::Color(colour.WithAlpha(static_cast<uint8_t>(alpha)).Value());
}

}  // namespace

LRESULT PaintManager::OnPaint() {
    if (m_hWnd == nullptr || ::IsIconic(m_hWnd)) {
        return 0;
    }
    RECT update;
    if (!::GetUpdateRect(m_hWnd, &update, FALSE)) {
        return 0;
    }
    int width = 0;
    int height = 0;
    GetClientSize(width, height);
    PAINTSTRUCT paint;
    HDC paintDC = ::BeginPaint(m_hWnd, &paint);
    if (paintDC == nullptr || width <= 0 || height <= 0) {
        ::EndPaint(m_hWnd, &paint);
        return 1;
    }
    const CRect updateRect = paint.rcPaint;
    const CRect client(0, 0, width, height);
    {
        // A layered window is drawn whole into a clear frame each time; a plain one reuses
        // its frame, since only the update rectangle is drawn and shown.
        std::unique_ptr<MemoryCanvas> fresh;
        HDC memoryDC = nullptr;
        uint32_t* bits = nullptr;
        if (m_layered) {
            fresh = std::make_unique<MemoryCanvas>(width, height);
            if (fresh->IsValid()) {
                memoryDC = fresh->GetDC();
                bits = reinterpret_cast<uint32_t*>(fresh->Bits());
            }
        } else {
            memoryDC = m_paintBuffer.Ensure(paintDC, width, height);
        }
        if (memoryDC != nullptr) {
            const int saved = ::SaveDC(memoryDC);
            if (m_layered) {
                CoreMath::ClearPixels(bits, width, height, ToBox(updateRect));
            }
            {
                Gdiplus::Graphics graphics(memoryDC);
                // Only the update rectangle reaches the screen of a plain window, and the
                // full-window fill would cost most of a small repaint (a hovered button).
                if (!m_layered) {
                    graphics.SetClip(Gdiplus::Rect(updateRect.left, updateRect.top,
                                                   updateRect.Width(), updateRect.Height()));
                }
                DrawBackground(graphics, width, height);
            }
            const CRect drawRect = m_layered ? client : updateRect;
            DrawControl(memoryDC, drawRect);
            DrawCaret(memoryDC, drawRect);
            if (!m_overlayText.empty()) {
                DrawOverlay(memoryDC);
            }
            ::GdiFlush();
            if (m_layered) {
                // GDI leaves alpha 0 where it drew; those pixels are meant to be opaque.
                CoreMath::MakeDrawnPixelsOpaque(bits, width, height, ToBox(updateRect));
            }
            ::RestoreDC(memoryDC, saved);
            if (m_layered) {
                const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
                if ((exStyle & WS_EX_LAYERED) == 0) {
                    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
                }
                SIZE size = {width, height};
                POINT source = {0, 0};
                BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                ::UpdateLayeredWindow(m_hWnd, nullptr, nullptr, &size, memoryDC, &source, 0, &blend,
                                      ULW_ALPHA);
            } else {
                ::BitBlt(paintDC, updateRect.left, updateRect.top, updateRect.Width(),
                         updateRect.Height(), memoryDC, updateRect.left, updateRect.top, SRCCOPY);
            }
        }
    }
    ::EndPaint(m_hWnd, &paint);
    return 1;
}

void PaintManager::DrawBackground(Gdiplus::Graphics& graphics, int width, int height) {
    if (m_backImage != nullptr) {
        if (m_backMode == 1) {
            const int corner = m_backModeValue;
            MRender::DrawImageFrame(&graphics, m_backImage.get(), CRect(0, 0, width, height), 0, 0,
                                    m_backImageWidth, m_backImageHeight, corner);
        } else {
            graphics.DrawImage(m_backImage.get(), 0, 0, m_backImageWidth, m_backImageHeight);
        }
        return;
    }
    Gdiplus::SolidBrush border(Gdiplus::Color(m_borderColor.ToArgb(254).Value()));
    graphics.FillRectangle(&border, 0, 0, width, height);
    Gdiplus::SolidBrush fill(Gdiplus::Color(m_fillColor.ToArgb(254).Value()));
    graphics.FillRectangle(&fill, 1, 1, width - 2, height - 2);
}

void PaintManager::DrawControl(HDC hdc, const RECT& rect) {
    for (auto* list : {&m_areaControls, &m_controls}) {
        for (size_t i = 0;; ++i) {
            MControl* control = ControlList::At(*list, i);
            if (control == nullptr) {
                break;
            }
            if (control->IsVisible()) {
                control->Draw(hdc, rect);
            }
        }
    }
}

void PaintManager::DrawOverlay(HDC hdc) {
    const CRect rect = m_overlayRect;
    if (rect.IsRectEmpty()) {
        return;
    }
    const int alpha = m_overlayOpacity < 0 ? 0 : (m_overlayOpacity > 255 ? 255 : m_overlayOpacity);
    {
        Gdiplus::Graphics graphics(hdc);
        Gdiplus::SolidBrush fill(WithAlpha(alpha, kOverlayFill));
        graphics.FillRectangle(&fill, rect.left, rect.top, rect.Width(), rect.Height());
        Gdiplus::Pen outline(WithAlpha(alpha, kOverlayOutline), 2);
        graphics.DrawRectangle(&outline, rect.left, rect.top, rect.Width(), rect.Height());
        if (m_progressTarget > 0 && m_overlayProgress > 0) {
            const int filled =
                (rect.Width() - 4) * (m_overlayProgress > 100 ? 100 : m_overlayProgress) / 100;
            Gdiplus::SolidBrush bar(WithAlpha(alpha, kAccentColor));
            graphics.FillRectangle(&bar, rect.left + 2, rect.bottom - 5, filled, 3);
        }
    }
    if (m_overlayFont == nullptr) {
        LOGFONTW description = {};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
        std::wcsncpy(description.lfFaceName, Manager::GetFontName().c_str(), LF_FACESIZE - 1);
        description.lfFaceName[LF_FACESIZE - 1] = L'\0';
        description.lfHeight = -m_overlayFontSize;
        m_overlayFont.reset(::CreateFontIndirectW(&description));
    }
    ScopedSelectObject font(hdc, m_overlayFont.get());
    CRect measured(rect.left, 0, rect.right, 0);
    ::DrawTextW(hdc, m_overlayText.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    CRect textRect(rect.left, rect.top + (rect.Height() - measured.Height()) / 2, rect.right, 0);
    textRect.bottom = textRect.top + measured.Height();
    const int previousMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF previousColour = ::SetTextColor(hdc, RGB(255, 255, 255));
    ::DrawTextW(hdc, m_overlayText.c_str(), -1, &textRect, DT_WORDBREAK | DT_CENTER);
    ::SetTextColor(hdc, previousColour);
    ::SetBkMode(hdc, previousMode);
}

void PaintManager::InvalidateOverlay() {
    if (m_layered) {
        InvalidateRect(nullptr, TRUE);
        return;
    }
    CRect area = m_overlayRect;
    area.InflateRect(2, 2);
    InvalidateRect(&area, FALSE);
}

void PaintManager::SetMessage(const wchar_t* text, const RECT& rect, int fontSize) {
    m_overlayFont.reset();
    // A fade or count-up still running belongs to the previous overlay.
    if (m_hWnd != nullptr) {
        ::KillTimer(m_hWnd, kOverlayFadeTimerId);
        ::KillTimer(m_hWnd, kOverlayProgressTimerId);
    }
    m_overlayOpacity = 255;
    m_overlayProgress = 0;
    m_progressTarget = 0;
    m_overlayText = text != nullptr ? text : L"";
    m_overlayRect = rect;
    m_overlayFontSize = fontSize > 0 ? fontSize : 16;
    InvalidateRect(nullptr, m_layered ? TRUE : FALSE);
}

void PaintManager::SetProgress(int percent, const wchar_t* text, const RECT& rect) {
    if (percent == m_progressTarget) {
        return;
    }
    if (percent < 5 && m_hWnd != nullptr) {
        ::KillTimer(m_hWnd, kOverlayFadeTimerId);
    }
    m_overlayOpacity = 255;
    m_overlayText = text != nullptr ? text : L"";
    m_progressTarget = percent;
    if (!CRect(rect).IsRectEmpty()) {
        m_overlayRect = rect;
    } else {
        const CRect client = GetClientRect();
        m_overlayRect = CRect(client.left, client.bottom - 60, client.right, client.bottom - 2);
    }
    if (m_progressTarget - m_overlayProgress < 6) {
        m_overlayProgress = m_progressTarget;
        InvalidateOverlay();
        if (m_progressTarget > 99 && m_hWnd != nullptr) {
            ::SetTimer(m_hWnd, kOverlayFadeTimerId, 50, nullptr);
        }
    } else if (m_hWnd != nullptr) {
        ::SetTimer(m_hWnd, kOverlayProgressTimerId, 10, nullptr);
    }
}

bool PaintManager::LoadBKImage(const wchar_t* fileName) {
    if (fileName == nullptr) {
        return false;
    }
    const std::wstring path = Manager::GetSkinDirectory() + fileName;
    std::unique_ptr<Gdiplus::Image> image = MRender::LoadImageFromFile(path.c_str());
    if (image == nullptr) {
        return false;
    }
    m_backImageWidth = static_cast<int>(image->GetWidth());
    m_backImageHeight = static_cast<int>(image->GetHeight());
    m_backImage = std::move(image);
    return true;
}

bool PaintManager::LoadBKImage(UINT resourceId, const wchar_t* resourceType) {
    std::unique_ptr<Gdiplus::Image> image =
        MRender::LoadImageFromIDResource(resourceId, resourceType, Manager::GetInstance());
    if (image == nullptr) {
        return false;
    }
    m_backImageWidth = static_cast<int>(image->GetWidth());
    m_backImageHeight = static_cast<int>(image->GetHeight());
    m_backImage = std::move(image);
    return true;
}

void PaintManager::SetBackMode(int mode, int value) {
    m_backMode = mode;
    m_backModeValue = value;
}

void PaintManager::SetBackColor(ColorRef fill, ColorRef border) {
    m_fillColor = fill;
    m_borderColor = border;
}

void PaintManager::ShowCaret(bool on) {
    if (on == m_caretVisible) {
        return;
    }
    m_caretVisible = on;
    if (m_hWnd == nullptr) {
        return;
    }
    if (on) {
        ::SetTimer(m_hWnd, kCaretTimerId, ::GetCaretBlinkTime(), nullptr);
        m_caretOn = true;
    } else {
        ::KillTimer(m_hWnd, kCaretTimerId);
        m_caretOn = false;
    }
    if (m_layered) {
        InvalidateRect(nullptr, FALSE);
    } else {
        InvalidateRect(&m_caretRect, FALSE);
    }
}

void PaintManager::SetCaretPos(MControl* edit, int x, int y) {
    ::SetCaretPos(x, y);
    const CRect old = m_caretRect;
    m_caretRect = CRect(x, y, x + old.Width(), y + old.Height());
    m_caretOwner = edit;
    if (m_layered) {
        InvalidateRect(nullptr, FALSE);
    } else {
        InvalidateRect(&old, FALSE);
        InvalidateRect(&m_caretRect, FALSE);
    }
}

BOOL PaintManager::CreateCaret(HBITMAP bitmap, int width, int height) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    const BOOL created = ::CreateCaret(m_hWnd, bitmap, width, height);
    m_caretRect = CRect(m_caretRect.left, m_caretRect.top, m_caretRect.left + width,
                        m_caretRect.top + height);
    return created;
}

void PaintManager::DrawCaret(HDC hdc, const RECT& rect) {
    MControl* owner = m_caretOwner;
    if (owner != nullptr && owner->IsFocused() && m_hWnd != nullptr && ::GetFocus() == m_hWnd) {
        if (!m_caretOn || !m_caretVisible) {
            return;
        }
        const CRect part = CRect::Intersection(m_caretRect, rect);
        if (part.IsRectEmpty()) {
            return;
        }
        const auto* textOwner = dynamic_cast<const MControlFont*>(owner);
        const Argb colour = textOwner != nullptr ? textOwner->GetTextColor() : Argb(0xFFFFFFFF);
        Gdiplus::Graphics graphics(hdc);
        Gdiplus::SolidBrush brush(WithAlpha(254, colour));
        graphics.FillRectangle(&brush, part.left, part.top, part.Width(), part.Height());
        return;
    }
    // Without a focused owner the caret stops blinking; ShowCaret can start it again.
    if (m_hWnd != nullptr) {
        ::KillTimer(m_hWnd, kCaretTimerId);
    }
    if (m_caretOn) {
        InvalidateRect(&m_caretRect, FALSE);
    }
    m_caretOn = false;
    m_caretVisible = false;
}

}  // namespace Orvo
