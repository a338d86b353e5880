#include "family_dialog.h"

#include <gdiplus.h>

#include <algorithm>
#include <map>
#include <memory>

#include "gallery_scene.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Gallery {
namespace {

constexpr UINT_PTR kCaptureTimer = 33;
constexpr UINT kCaptureTickMs = 50;
// Ticks before the first capture step: the window has shown and painted by then.
constexpr int kFirstPaintTicks = 6;
constexpr int kCaptionHeight = 50;

struct RegisteredPage {
    FamilyBuilder build;
    int width;
    int height;
};

std::map<std::wstring, RegisteredPage>& Registry() {
    static std::map<std::wstring, RegisteredPage> pages;
    return pages;
}

bool SavePng(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) {
        return false;
    }
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return bitmap.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

// A text drawn in the area list: the caption title and the column labels.
class LabelArea : public Orvo::MControl {
public:
    LabelArea(Orvo::MObject* parent, const RECT& rect, std::wstring text, HFONT font,
              COLORREF colour)
        : Orvo::MControl(parent, 0, rect, 1, 1, 0),
          m_text(std::move(text)),
          m_font(font),
          m_colour(colour) {}

    const wchar_t* GetClassNameW() const override { return L"GalleryLabel"; }
    void DrawControl(HDC hdc, const RECT&) override {
        RECT box = m_rect;
        Orvo::ScopedSelectObject font(hdc, m_font);
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, m_colour);
        ::DrawTextW(hdc, m_text.c_str(), -1, &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }

private:
    std::wstring m_text;
    HFONT m_font;  // not owned: a font of GalleryFonts
    COLORREF m_colour;
};

}  // namespace

FamilyRegistrar::FamilyRegistrar(const wchar_t* name, FamilyBuilder build, int width, int height) {
    Registry()[name] = RegisteredPage{build, width, height};
}

std::vector<FamilyPage> FamilyPages() {
    std::vector<FamilyPage> pages;
    for (const auto& [name, page] : Registry()) {
        pages.push_back(FamilyPage{name.c_str(), page.build, page.width, page.height});
    }
    return pages;
}

const FamilyPage* FindFamilyPage(const std::wstring& name) {
    static std::vector<FamilyPage> pages = FamilyPages();
    const auto found = std::find_if(pages.begin(), pages.end(),
                                    [&](const FamilyPage& page) { return name == page.name; });
    return found == pages.end() ? nullptr : &*found;
}

FamilyDialog::FamilyDialog(const FamilyPage& page, std::wstring capturePath)
    : m_page(page), m_capturePath(std::move(capturePath)) {}

RECT FamilyDialog::ContentRect() const {
    return RECT{24, kCaptionHeight + 16, Width() - 24, Height() - 24};
}

Orvo::MControl* FamilyDialog::Create(const wchar_t* className, UINT id, const RECT& rect,
                                     const wchar_t* text) {
    return m_PaintManager.CreateControl(this, className, id, rect, text, 1, 1);
}

void FamilyDialog::AddLabel(const RECT& rect, const wchar_t* text) {
    m_PaintManager.AddAreaControl(std::make_unique<LabelArea>(
        this, rect, text, m_fonts.Get(kUiFace, 12), RGB(130, 130, 130)));
}

void FamilyDialog::BeforeCapture(void (*step)(FamilyDialog& dialog), int settleTicks) {
    m_beforeCapture = step;
    m_settleTicks = std::max(0, settleTicks);
}

void FamilyDialog::InitUI(const Orvo::CRect&) {
    m_PaintManager.AddGDITempFont(106, L"TTF");
    LoadBKImage(L"main_bkg.png");
    SetBackMode(1, 40);
    SetCaptionRect(RECT{0, 0, Width(), kCaptionHeight});
    EnableWndDrag(m_capturePath.empty());
    const std::wstring title = std::wstring(L"Orvo gallery \u2014 ") + m_page.name;
    m_PaintManager.AddAreaControl(
        std::make_unique<LabelArea>(this, RECT{24, 0, Width() - 80, kCaptionHeight}, title,
                                    m_fonts.Get(kUiFace, 18), RGB(255, 255, 255)));
    RECT closeRect = SystemButtonRect(2);
    closeRect.left += Width() - kWidth;
    closeRect.right += Width() - kWidth;
    auto close = std::make_unique<StripControl>(this, kCloseButton, closeRect,
                                                StripControl::Kind::kPush, L"sysbtn_close.png");
    m_PaintManager.AddControl(std::move(close));
    m_page.build(*this);
    if (!m_capturePath.empty()) {
        SetTimer(kCaptureTimer, kCaptureTickMs);
    }
}

long FamilyDialog::OnMessage(UINT controlId, UINT code, WPARAM, LPARAM) {
    if (code == Orvo::kNotifyClicked && controlId == kCloseButton) {
        DoClose();
    }
    return 0;
}

void FamilyDialog::OnTimer(UINT_PTR id) {
    if (id == kCaptureTimer) {
        StepCapture();
    }
}

void FamilyDialog::StepCapture() {
    ++m_captureTicks;
    if (m_captureTicks == kFirstPaintTicks && m_beforeCapture != nullptr) {
        m_beforeCapture(*this);
    }
    if (m_captureTicks < kFirstPaintTicks + m_settleTicks) {
        return;
    }
    KillTimer(kCaptureTimer);
    m_captureResult = CaptureWindowToPng(GetSafeHwnd(), m_capturePath) ? 0 : 1;
    DoClose();
}

bool CaptureWindowToPng(HWND window, const std::wstring& path) {
    RECT bounds;
    if (!::GetWindowRect(window, &bounds)) {
        return false;
    }
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    Orvo::MemoryCanvas canvas(width, height);
    if (!canvas.IsValid()) {
        return false;
    }
    HDC screen = ::GetDC(nullptr);
    const BOOL copied =
        ::BitBlt(canvas.GetDC(), 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    if (!copied) {
        return false;
    }
    ::GdiFlush();
    // The canvas is bottom-up: start at its top row and step backwards.
    BYTE* topRow = reinterpret_cast<BYTE*>(canvas.Bits()) +
                   static_cast<size_t>(height - 1) * static_cast<size_t>(width) * 4;
    Gdiplus::Bitmap bitmap(width, height, -width * 4, PixelFormat32bppRGB, topRow);
    return bitmap.GetLastStatus() == Gdiplus::Ok && SavePng(bitmap, path);
}

}  // namespace Gallery
