#include "orvo/loading_wnd.h"

#include <algorithm>

#include "layered_paint.h"
#include "orvo/manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

constexpr DWORD kPopupStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kLayeredToolStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

std::unique_ptr<Gdiplus::Image> LoadSkinImage(const wchar_t* fileName) {
    if (fileName == nullptr) {
        return nullptr;
    }
    const std::wstring path = Manager::GetSkinDirectory() + fileName;
    return MRender::LoadImageFromFile(path.c_str());
}

void DrawBackground(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int width, int height,
                    int mode, int corner) {
    if (image == nullptr) {
        return;
    }
    const RECT whole = {0, 0, width, height};
    MRender::DrawImageFrame(&graphics, image, whole, 0, 0, static_cast<int>(image->GetWidth()),
                            static_cast<int>(image->GetHeight()), mode == 1 ? corner : 0);
}

}  // namespace

LoadingWnd::LoadingWnd() = default;

LoadingWnd::~LoadingWnd() {
    DestroyWindow();
}

bool LoadingWnd::CreateDlg(HWND owner, const RECT& rect) {
    if (m_animation == nullptr) {
        LoadGifImage(L"loading\\loading.gif");
    }
    if (m_logo == nullptr) {
        m_logo = LoadSkinImage(L"logo\\logo_loading.png");
    }
    if (Create(owner, L"Loading Window", kPopupStyle, kLayeredToolStyle, rect) == nullptr) {
        return false;
    }
    SetRun(true);
    DrawWindow();
    return true;
}

bool LoadingWnd::LoadBKImage(const wchar_t* fileName) {
    m_background = LoadSkinImage(fileName);
    return m_background != nullptr;
}

bool LoadingWnd::LoadAnimateImage(const wchar_t* fileName, int count, int ticksPerFrame) {
    std::unique_ptr<Gdiplus::Image> strip = LoadSkinImage(fileName);
    if (strip == nullptr || count <= 0) {
        return false;
    }
    m_animation = std::move(strip);
    m_isGif = false;
    m_frameCount = count;
    m_frame = 0;
    m_ticksPerFrame = std::max(1, ticksPerFrame);
    return true;
}

bool LoadingWnd::LoadGifImage(const wchar_t* fileName, int ticksPerFrame) {
    std::unique_ptr<Gdiplus::Image> gif = LoadSkinImage(fileName);
    if (gif == nullptr) {
        return false;
    }
    const UINT frames = gif->GetFrameCount(&Gdiplus::FrameDimensionTime);
    m_animation = std::move(gif);
    m_isGif = true;
    m_frameCount = frames > 0 ? static_cast<int>(frames) : 1;
    m_frame = 0;
    m_ticksPerFrame = std::max(1, ticksPerFrame);
    return true;
}

void LoadingWnd::SetBackMode(int mode, int value) {
    m_backMode = mode;
    m_corner = value;
}

void LoadingWnd::SetRun(bool on) {
    if (on == m_running || m_hWnd == nullptr) {
        return;
    }
    m_running = on;
    if (on) {
        SetTimer(kAnimationTimerId, kTickMs);
    } else {
        KillTimer(kAnimationTimerId);
    }
}

LRESULT LoadingWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kAnimationTimerId) {
        if (m_running && m_frameCount > 0 && ++m_ticks >= m_ticksPerFrame) {
            m_ticks = 0;
            m_frame = (m_frame + 1) % m_frameCount;
            DrawWindow();
        }
        return 0;
    }
    if (msg == WM_MOUSEACTIVATE) {
        return MA_NOACTIVATE;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

void LoadingWnd::DrawWindow() {
    CRect place;
    if (!GetWindowRect(&place)) {
        return;
    }
    const int width = place.Width();
    const int height = place.Height();
    PaintLayeredWindow(m_hWnd, place, [&](Gdiplus::Graphics& graphics, HDC) {
        DrawBackground(graphics, m_background.get(), width, height, m_backMode, m_corner);
        int logoBottom = 0;
        if (m_logo != nullptr) {
            const int logoWidth = static_cast<int>(m_logo->GetWidth());
            const int logoHeight = static_cast<int>(m_logo->GetHeight());
            const int top = height / 2 - logoHeight - 8;
            MRender::DrawImageExact(
                &graphics, m_logo.get(),
                Gdiplus::Rect((width - logoWidth) / 2, std::max(0, top), logoWidth, logoHeight), 0,
                0, logoWidth, logoHeight);
            logoBottom = std::max(0, top) + logoHeight;
        }
        if (m_animation == nullptr || m_frameCount <= 0) {
            return;
        }
        int frameWidth = static_cast<int>(m_animation->GetWidth());
        const int frameHeight = static_cast<int>(m_animation->GetHeight());
        int sourceX = 0;
        if (m_isGif) {
            m_animation->SelectActiveFrame(&Gdiplus::FrameDimensionTime,
                                           static_cast<UINT>(m_frame));
        } else {
            frameWidth /= m_frameCount;
            sourceX = m_frame * frameWidth;
        }
        const int top = m_logo != nullptr ? logoBottom + 12 : (height - frameHeight) / 2;
        MRender::DrawImageExact(
            &graphics, m_animation.get(),
            Gdiplus::Rect((width - frameWidth) / 2, top, frameWidth, frameHeight), sourceX, 0,
            frameWidth, frameHeight);
    });
}

CKeyboardTips::CKeyboardTips() = default;

CKeyboardTips::~CKeyboardTips() {
    DestroyWindow();
    for (HFONT font : {m_titleFont, m_detailFont}) {
        if (font != nullptr) {
            ::DeleteObject(font);
        }
    }
}

HFONT CKeyboardTips::MakeFont(int pixels, int weight) const {
    LOGFONTW description = {};
    description.lfHeight = -pixels;
    description.lfWeight = weight;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = Manager::GetFontName();
    face.copy(description.lfFaceName, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&description);
}

bool CKeyboardTips::CreateTips(HWND owner) {
    if (m_hWnd != nullptr) {
        return true;
    }
    if (m_background == nullptr) {
        LoadBKImage(L"img_keyboard_tips.png");
    }
    if (m_titleFont == nullptr) {
        m_titleFont = MakeFont(14, FW_BOLD);
        m_detailFont = MakeFont(12, FW_NORMAL);
    }
    return Create(owner, L"Keyboard Tips", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  kLayeredToolStyle | WS_EX_TOPMOST, CRect(0, 0, 1, 1)) != nullptr;
}

bool CKeyboardTips::LoadBKImage(const wchar_t* fileName) {
    m_background = LoadSkinImage(fileName);
    return m_background != nullptr;
}

void CKeyboardTips::SetBackMode(int mode, int value) {
    m_backMode = mode;
    m_corner = value;
}

int CKeyboardTips::GetLineCount() const {
    return static_cast<int>(std::count_if(std::begin(m_texts), std::end(m_texts),
                                          [](const std::wstring& text) { return !text.empty(); }));
}

int CKeyboardTips::SetAirBladderMsg(const wchar_t* text1, const wchar_t* text2,
                                    const wchar_t* text3, POINT point) {
    const wchar_t* texts[] = {text1, text2, text3};
    for (int i = 0; i < 3; ++i) {
        m_texts[i] = texts[i] != nullptr ? texts[i] : L"";
    }
    if (m_hWnd == nullptr) {
        return 0;
    }
    // Measure every line with its font: the card is as wide as the widest line.
    int width = 0;
    int height = 16;
    const HDC screen = ::GetDC(nullptr);
    for (int i = 0; i < 3; ++i) {
        if (m_texts[i].empty()) {
            continue;
        }
        const ScopedSelectObject font(screen, i == 0 ? m_titleFont : m_detailFont);
        SIZE size = {};
        ::GetTextExtentPoint32W(screen, m_texts[i].c_str(), static_cast<int>(m_texts[i].size()),
                                &size);
        width = std::max(width, static_cast<int>(size.cx));
        height += size.cy + 4;
    }
    ::ReleaseDC(nullptr, screen);
    m_rect = CRect(point.x, point.y, point.x + width + 32, point.y + height);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Paint();
    return 1;
}

LRESULT CKeyboardTips::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEACTIVATE) {
        return MA_NOACTIVATE;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

void CKeyboardTips::Paint() {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    PaintLayeredWindow(
        m_hWnd, m_rect,
        [&](Gdiplus::Graphics& graphics, HDC dc) {
            if (m_background != nullptr) {
                DrawBackground(graphics, m_background.get(), width, height, m_backMode, m_corner);
            } else {
                MRender::DrawRoundRectange(&graphics, 0, 0, width, height, 6, Argb(0xFF22272F));
            }
            graphics.Flush(Gdiplus::FlushIntentionSync);
            ::GdiFlush();
            int y = 8;
            for (int i = 0; i < 3; ++i) {
                if (m_texts[i].empty()) {
                    continue;
                }
                RECT line = {16, y, width - 16, height};
                const ColorRef colour =
                    i == 0 ? ColorRef::FromRgb(255, 255, 255) : ColorRef::FromRgb(184, 211, 239);
                y += MRender::DrawTextW(dc, line, m_texts[i].c_str(), colour,
                                        i == 0 ? m_titleFont : m_detailFont,
                                        DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX) +
                     4;
            }
        },
        true);
}

}  // namespace Orvo
