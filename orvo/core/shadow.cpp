#include "orvo/shadow.h"

#include <gdiplus.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>

#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

bool MShadow::s_bHasInit = false;

namespace {

constexpr wchar_t kShadowClassName[] = L"ShadowWnd";

std::mutex g_shadowsLock;            // guards g_shadows
std::map<HWND, MShadow*> g_shadows;  // not owned: dialog window -> its shadow

MShadow* FindShadow(HWND dialog) {
    std::lock_guard<std::mutex> guard(g_shadowsLock);
    const auto found = g_shadows.find(dialog);
    return found == g_shadows.end() ? nullptr : found->second;
}

void RegisterShadow(HWND dialog, MShadow* shadow) {
    std::lock_guard<std::mutex> guard(g_shadowsLock);
    g_shadows[dialog] = shadow;
}

void UnregisterShadow(HWND dialog, const MShadow* shadow) {
    std::lock_guard<std::mutex> guard(g_shadowsLock);
    const auto found = g_shadows.find(dialog);
    if (found != g_shadows.end() && found->second == shadow) {
        g_shadows.erase(found);
    }
}

// Erodes the spans by one pixel: a row keeps what it shares with both neighbours, less one
// pixel at each end. Rows beyond the list count as empty.
void ShrinkOnce(std::vector<ShadowSpan>& spans) {
    std::vector<ShadowSpan> shrunk(spans.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        if (i == 0 || i + 1 == spans.size() || spans[i].IsEmpty() || spans[i - 1].IsEmpty() ||
            spans[i + 1].IsEmpty()) {
            continue;  // stays empty
        }
        const int left = std::max({spans[i - 1].left, spans[i].left, spans[i + 1].left}) + 1;
        const int right = std::min({spans[i - 1].right, spans[i].right, spans[i + 1].right}) - 1;
        if (left <= right) {
            shrunk[i] = ShadowSpan{left, right};
        }
    }
    spans.swap(shrunk);
}

}  // namespace

void ShadowDeleter::operator()(MShadow* shadow) const {
    delete shadow;
}

MShadow::MShadow() = default;

MShadow::~MShadow() {
    if (m_dialogWnd != nullptr) {
        // The dialog outlives its shadow object only when the manager is torn down first:
        // give the window its own procedure back so no message reaches a dead object.
        if (::IsWindow(m_dialogWnd) && m_previousProc != nullptr &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_dialogWnd, GWLP_WNDPROC)) ==
                &MShadow::ParentProc) {
            ::SetWindowLongPtrW(m_dialogWnd, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(m_previousProc));
        }
        UnregisterShadow(m_dialogWnd, this);
    }
    if (m_shadowWnd != nullptr && ::IsWindow(m_shadowWnd)) {
        ::DestroyWindow(m_shadowWnd);
    }
}

bool MShadow::Initialize(HINSTANCE instance, int force) {
    if (s_bHasInit && !force) {
        return true;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kShadowClassName;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    s_bHasInit = true;
    return true;
}

BYTE MShadow::StatusFromStyle(HWND dialog) const {
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    if (!(style & WS_VISIBLE)) {
        return kEnabled;
    }
    if ((style & WS_MAXIMIZE) || (style & WS_DISABLED)) {
        return kEnabled | kParentVisible;
    }
    return kEnabled | kVisible | kParentVisible;
}

void MShadow::Create(PaintManager* manager) {
    if (!m_show || manager == nullptr) {
        return;
    }
    HWND dialog = manager->GetPaintWnd();
    if (dialog == nullptr || !::IsWindow(dialog) || m_dialogWnd != nullptr) {
        return;
    }
    m_manager = manager;
    m_dialogWnd = dialog;
    RegisterShadow(dialog, this);
    const LONG dialogStyle = ::GetWindowLongW(dialog, GWL_STYLE);
    m_shadowWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClassName, nullptr,
                                    WS_POPUPWINDOW | (dialogStyle & WS_DLGFRAME), CW_USEDEFAULT, 0,
                                    0, 0, dialog, nullptr, Manager::GetInstance(), nullptr);
    m_status = StatusFromStyle(dialog);
    if (m_status == (kEnabled | kVisible | kParentVisible)) {
        ::ShowWindow(m_shadowWnd, SW_SHOWNA);
        Update(dialog);
    }
    m_previousProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MShadow::ParentProc)));
}

void MShadow::Place(HWND dialog) {
    RECT window{};
    ::GetWindowRect(dialog, &window);
    int x, y;
    if (m_imageMode) {
        x = window.left - m_corner.left;
        y = window.top - m_corner.top;
    } else {
        x = window.left + m_offsetX - m_size;
        y = window.top + m_offsetY - m_size;
    }
    ::SetWindowPos(m_shadowWnd, dialog, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK MShadow::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MShadow* shadow = FindShadow(hwnd);
    if (shadow == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    const WNDPROC previous = shadow->m_previousProc;
    if (!shadow->m_disabled && shadow->m_shadowWnd != nullptr) {
        const bool enabled = (shadow->m_status & kEnabled) != 0;
        switch (msg) {
            case WM_DESTROY:
                ::DestroyWindow(shadow->m_shadowWnd);
                shadow->m_shadowWnd = nullptr;
                break;
            case WM_MOVE:
            case WM_WINDOWPOSCHANGED:
                if (shadow->m_status & kVisible) {
                    shadow->Place(hwnd);
                }
                break;
            case WM_SIZE:
                if (enabled) {
                    if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED) {
                        ::ShowWindow(shadow->m_shadowWnd, SW_HIDE);
                        shadow->m_status &= static_cast<BYTE>(~kVisible);
                    } else if (shadow->m_status & kParentVisible) {
                        if (LOWORD(lParam) > LOWORD(shadow->m_lastSize) ||
                            HIWORD(lParam) > HIWORD(shadow->m_lastSize)) {
                            shadow->m_updatePending = 1;
                        } else {
                            shadow->Update(hwnd);
                        }
                        if (!(shadow->m_status & kVisible)) {
                            ::ShowWindow(shadow->m_shadowWnd, SW_SHOWNA);
                            shadow->m_status |= kVisible;
                        }
                    }
                    shadow->m_lastSize = lParam;
                }
                break;
            case WM_PAINT:
                if (shadow->m_updatePending) {
                    shadow->Update(hwnd);
                    shadow->m_updatePending = 0;
                }
                break;
            case WM_SHOWWINDOW:
                if (enabled) {
                    if (wParam) {
                        if (!(shadow->m_status & kParentVisible)) {
                            shadow->m_updatePending = 1;
                            ::ShowWindow(shadow->m_shadowWnd, SW_SHOWNA);
                            shadow->m_status |= kVisible | kParentVisible;
                        }
                    } else {
                        ::ShowWindow(shadow->m_shadowWnd, SW_HIDE);
                        shadow->m_status &= static_cast<BYTE>(~(kVisible | kParentVisible));
                    }
                }
                break;
            case WM_ACTIVATEAPP:
            case WM_NCACTIVATE:
                ::SetWindowPos(shadow->m_shadowWnd, hwnd, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE);
                break;
            case WM_EXITSIZEMOVE:
                if (shadow->m_status & kVisible) {
                    shadow->Update(hwnd);
                }
                break;
            default:
                break;
        }
    }
    if (msg == WM_NCDESTROY) {
        UnregisterShadow(hwnd, shadow);
        // The window is gone: the object must not restore a procedure on a dead handle.
        shadow->m_dialogWnd = nullptr;
        shadow->m_shadowWnd = nullptr;
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return previous != nullptr ? ::CallWindowProcW(previous, hwnd, msg, wParam, lParam)
                               : ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void MShadow::Update(HWND dialog) {
    if (!m_show || !(m_status & kVisible) || m_shadowWnd == nullptr || dialog == nullptr) {
        return;
    }
    RECT window{};
    ::GetWindowRect(dialog, &window);
    const int dialogWidth = window.right - window.left;
    const int dialogHeight = window.bottom - window.top;
    std::unique_ptr<Gdiplus::Image> image;
    int extraWidth, extraHeight;
    if (m_imageMode) {
        if (!m_imageFile.empty()) {
            image = MRender::LoadImageFromFile((Manager::GetSkinDirectory() + m_imageFile).c_str());
        } else if (m_imageResourceId != 0) {
            image =
                MRender::LoadImageFromIDResource(m_imageResourceId, L"PNG", Manager::GetInstance());
        }
        if (!image) {
            return;
        }
        extraWidth = m_corner.left + m_corner.right;
        extraHeight = m_corner.top + m_corner.bottom;
    } else {
        if (m_size == 0) {
            return;
        }
        extraWidth = extraHeight = 2 * m_size;
    }
    const int width = dialogWidth + extraWidth;
    const int height = dialogHeight + extraHeight;
    if (width <= 0 || height <= 0) {
        return;
    }
    MemoryCanvas canvas(width, height);
    if (!canvas.IsValid()) {
        DWORD error = ::GetLastError();
        wchar_t* message = nullptr;
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                             FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
        if (message != nullptr) {
            ::OutputDebugStringW(message);
            ::LocalFree(message);
        }
        return;
    }
    if (m_imageMode) {
        Gdiplus::Graphics graphics(canvas.GetDC());
        MRender::DrawImageFrameMID(&graphics, image.get(), RECT{0, 0, width, height}, 0, 0,
                                   static_cast<int>(image->GetWidth()),
                                   static_cast<int>(image->GetHeight()), m_corner.left,
                                   m_corner.top, m_corner.right, m_corner.bottom);
    } else {
        MakeShadow(canvas.Bits(), dialog, window);
    }
    POINT position;
    if (m_imageMode) {
        position = POINT{window.left - m_corner.left, window.top - m_corner.top};
    } else {
        position = POINT{window.left + m_offsetX - m_size, window.top + m_offsetY - m_size};
    }
    SIZE size{width, height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::SetWindowPos(m_shadowWnd, dialog, position.x, position.y, width, height, SWP_NOACTIVATE);
    ::UpdateLayeredWindow(m_shadowWnd, nullptr, &position, &size, canvas.GetDC(), &origin, 0,
                          &blend, ULW_ALPHA);
}

std::vector<ShadowSpan> MShadow::OutlineSpans(HRGN region, int width, int height) {
    std::vector<ShadowSpan> spans(height > 0 ? height : 0);
    for (int y = 0; y < height; ++y) {
        if (region == nullptr) {
            spans[y] = ShadowSpan{0, width - 1};
            continue;
        }
        int left = 0;
        while (left < width && !::PtInRegion(region, left, y)) {
            ++left;
        }
        if (left == width) {
            continue;
        }
        int right = width - 1;
        while (right > left && !::PtInRegion(region, right, y)) {
            --right;
        }
        spans[y] = ShadowSpan{left, right};
    }
    return spans;
}

void MShadow::MakeShadow(DWORD* bits, HWND dialog, const RECT& windowRect) {
    if (bits == nullptr || dialog == nullptr) {
        return;
    }
    const int width = windowRect.right - windowRect.left;
    const int height = windowRect.bottom - windowRect.top;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool hasRegion = region != nullptr && ::GetWindowRgn(dialog, region) != ERROR;
    const std::vector<ShadowSpan> outline =
        OutlineSpans(hasRegion ? region : nullptr, width, height);
    if (region != nullptr) {
        ::DeleteObject(region);
    }
    RenderComputedShadow(outline, width, height, m_size, m_sharpness, m_darkness, m_offsetX,
                         m_offsetY, m_colour, bits);
}

void MShadow::RenderComputedShadow(const std::vector<ShadowSpan>& outline, int width, int height,
                                   int size, int sharpness, int darkness, int offsetX, int offsetY,
                                   ColorRef colour, DWORD* bits) {
    const int bitmapWidth = width + 2 * size;
    const int bitmapHeight = height + 2 * size;
    if (bits == nullptr || bitmapWidth <= 0 || bitmapHeight <= 0 ||
        static_cast<int>(outline.size()) != height) {
        return;
    }
    auto pixel = [&](int x, int y) -> DWORD* {
        if (x < 0 || y < 0 || x >= bitmapWidth || y >= bitmapHeight) {
            return nullptr;
        }
        // Row 0 of the outline is the last row of the bottom-up bitmap.
        return bits + static_cast<size_t>(bitmapHeight - 1 - y) * bitmapWidth + x;
    };

    // The outline in bitmap coordinates: size pixels right and down, with size empty rows
    // above and below.
    const int margin = size > 0 ? size : 0;
    std::vector<ShadowSpan> spans(static_cast<size_t>(height + 2 * margin));
    for (int y = 0; y < height; ++y) {
        if (!outline[y].IsEmpty()) {
            spans[y + margin] = ShadowSpan{outline[y].left + size, outline[y].right + size};
        }
    }
    const int rowShift = size - margin;  // non-zero only for a negative size
    for (int pass = 0; pass < sharpness - size; ++pass) {
        ShrinkOnce(spans);
    }

    const int kernelRadius = std::max(size, sharpness);
    const int kernelSide = 2 * kernelRadius + 1;
    const int solidRadius = size > sharpness ? size - sharpness : 0;
    std::vector<DWORD> kernel(static_cast<size_t>(kernelSide) * kernelSide, 0);
    for (int ky = 0; ky < kernelSide; ++ky) {
        for (int kx = 0; kx < kernelSide; ++kx) {
            const double distance =
                std::sqrt(static_cast<double>((kx - kernelRadius) * (kx - kernelRadius) +
                                              (ky - kernelRadius) * (ky - kernelRadius)));
            int alpha = 0;
            if (distance < solidRadius) {
                alpha = darkness;
            } else if (distance <= kernelRadius) {
                alpha =
                    static_cast<int>((1.0 - (distance - solidRadius) / (sharpness + 1)) * darkness);
            }
            alpha = std::clamp(alpha, 0, 255);
            kernel[static_cast<size_t>(ky) * kernelSide + kx] =
                PreMultiply(colour, static_cast<BYTE>(alpha));
        }
    }
    auto stamp = [&](int cx, int cy) {
        for (int ky = 0; ky < kernelSide; ++ky) {
            for (int kx = 0; kx < kernelSide; ++kx) {
                DWORD* target = pixel(cx + kx - kernelRadius, cy + ky - kernelRadius);
                const DWORD value = kernel[static_cast<size_t>(ky) * kernelSide + kx];
                if (target != nullptr && (value >> 24) > (*target >> 24)) {
                    *target = value;
                }
            }
        }
    };

    const DWORD solid = PreMultiply(colour, static_cast<BYTE>(darkness));
    const int rows = static_cast<int>(spans.size());
    for (int i = 0; i < rows; ++i) {
        const ShadowSpan& span = spans[i];
        if (span.IsEmpty()) {
            continue;
        }
        const int y = i + rowShift;
        const ShadowSpan above = i > 0 ? spans[i - 1] : ShadowSpan{};
        const ShadowSpan below = i + 1 < rows ? spans[i + 1] : ShadowSpan{};
        // Where the neighbouring rows begin and end; an empty neighbour makes the whole row an
        // edge.
        int innerLeft = span.right;
        int innerRight = span.left;
        if (!above.IsEmpty() && !below.IsEmpty()) {
            innerLeft = std::clamp(std::max(above.left, below.left), span.left, span.right);
            innerRight = std::clamp(std::min(above.right, below.right), span.left, span.right);
        }
        for (int x = span.left; x <= innerLeft; ++x) {
            stamp(x, y);
        }
        for (int x = std::max(innerRight, innerLeft + 1); x <= span.right; ++x) {
            stamp(x, y);
        }
        for (int x = span.left; x <= span.right; ++x) {
            if (DWORD* target = pixel(x, y)) {
                *target = solid;
            }
        }
    }
    // The part under the dialog itself stays clear: only the outside shows a shadow.
    for (int y = 0; y < height; ++y) {
        if (outline[y].IsEmpty()) {
            continue;
        }
        const int by = y + size - offsetY;
        for (int x = outline[y].left; x <= outline[y].right; ++x) {
            if (DWORD* target = pixel(x + size - offsetX, by)) {
                *target = 0;
            }
        }
    }
}

DWORD MShadow::PreMultiply(ColorRef colour, BYTE alpha) {
    const DWORD red = DWORD{colour.Red()} * alpha / 255;
    const DWORD green = DWORD{colour.Green()} * alpha / 255;
    const DWORD blue = DWORD{colour.Blue()} * alpha / 255;
    return (static_cast<DWORD>(alpha) << 24) | (red << 16) | (green << 8) | blue;
}

void MShadow::RedrawIfVisible() {
    if ((m_status & kVisible) && m_dialogWnd != nullptr) {
        Update(m_dialogWnd);
    }
}

void MShadow::DisableShadow(int off) {
    m_disabled = off != 0;
    if (m_shadowWnd == nullptr || m_dialogWnd == nullptr) {
        return;
    }
    if (m_disabled) {
        ::ShowWindow(m_shadowWnd, SW_HIDE);
        return;
    }
    m_status = StatusFromStyle(m_dialogWnd);
    if (m_status == (kEnabled | kVisible | kParentVisible)) {
        ::ShowWindow(m_shadowWnd, SW_SHOWNA);
        Update(m_dialogWnd);
    }
}

int MShadow::SetSize(int size) {
    if (size < -35 || size > 35) {
        return 0;
    }
    m_size = static_cast<signed char>(size);
    RedrawIfVisible();
    return 1;
}

int MShadow::SetSharpness(UINT sharpness) {
    if (sharpness > 35) {
        return 0;
    }
    m_sharpness = static_cast<BYTE>(sharpness);
    RedrawIfVisible();
    return 1;
}

int MShadow::SetDarkness(UINT darkness) {
    if (darkness > 255) {
        return 0;
    }
    m_darkness = static_cast<BYTE>(darkness);
    RedrawIfVisible();
    return 1;
}

int MShadow::SetPosition(int x, int y) {
    if (x < -35 || x > 35 || y < -35 || y > 35) {
        return 0;
    }
    m_offsetX = static_cast<signed char>(x);
    m_offsetY = static_cast<signed char>(y);
    RedrawIfVisible();
    return 1;
}

int MShadow::SetColor(ColorRef colour) {
    m_colour = colour;
    RedrawIfVisible();
    return 1;
}

int MShadow::SetImage(const wchar_t* fileName) {
    if (fileName == nullptr) {
        return 0;
    }
    m_imageMode = 1;
    m_imageFile = fileName;
    m_imageResourceId = 0;
    LoadImageSize();
    RedrawIfVisible();
    return 1;
}

int MShadow::SetImage(UINT resourceId) {
    m_imageMode = 1;
    m_imageFile.clear();
    m_imageResourceId = resourceId;
    LoadImageSize();
    RedrawIfVisible();
    return 1;
}

bool MShadow::LoadImageSize() {
    std::unique_ptr<Gdiplus::Image> image =
        !m_imageFile.empty()
            ? MRender::LoadImageFromFile((Manager::GetSkinDirectory() + m_imageFile).c_str())
            : MRender::LoadImageFromIDResource(m_imageResourceId, L"PNG", Manager::GetInstance());
    m_imageWidth = image ? static_cast<int>(image->GetWidth()) : 0;
    m_imageHeight = image ? static_cast<int>(image->GetHeight()) : 0;
    return image != nullptr;
}

int MShadow::SetShadowCorner(const RECT& corner) {
    if (corner.left < 0 || corner.top < 0 || corner.right < 0 || corner.bottom < 0) {
        return 0;
    }
    m_corner = corner;
    RedrawIfVisible();
    return 1;
}

void MShadow::CopyShadow(const MShadow& other) {
    m_imageMode = other.m_imageMode;
    m_imageWidth = other.m_imageWidth;
    m_imageHeight = other.m_imageHeight;
    m_darkness = other.m_darkness;
    m_sharpness = other.m_sharpness;
    m_size = other.m_size;
    m_offsetX = other.m_offsetX;
    m_offsetY = other.m_offsetY;
    m_colour = other.m_colour;
    m_imageFile = other.m_imageFile;
    m_imageResourceId = other.m_imageResourceId;
    m_corner = other.m_corner;
    m_show = other.m_show;
    m_disabled = other.m_disabled;
    RedrawIfVisible();
}

}  // namespace Orvo
