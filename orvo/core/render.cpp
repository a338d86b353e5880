#include "orvo/render.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "orvo/image_strip.h"

namespace Orvo {
namespace {

// Sampling settings for drawing skin pixels exactly, restored when the scope ends.
class ExactSampling {
public:
    explicit ExactSampling(Gdiplus::Graphics* graphics)
        : m_graphics(graphics),
          m_interpolation(graphics->GetInterpolationMode()),
          m_pixelOffset(graphics->GetPixelOffsetMode()),
          m_smoothing(graphics->GetSmoothingMode()) {
        graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        // Anti-aliased image edges would leave half-covered seams between nine-patch pieces.
        graphics->SetSmoothingMode(Gdiplus::SmoothingModeNone);
    }
    ~ExactSampling() {
        m_graphics->SetInterpolationMode(m_interpolation);
        m_graphics->SetPixelOffsetMode(m_pixelOffset);
        m_graphics->SetSmoothingMode(m_smoothing);
    }
    ExactSampling(const ExactSampling&) = delete;
    ExactSampling& operator=(const ExactSampling&) = delete;

private:
    Gdiplus::Graphics* m_graphics;
    Gdiplus::InterpolationMode m_interpolation;
    Gdiplus::PixelOffsetMode m_pixelOffset;
    Gdiplus::SmoothingMode m_smoothing;
};

Gdiplus::Color ToColor(Argb colour) {
    return Gdiplus::Color(colour.Value());
}

void DrawPieces(Gdiplus::Graphics* graphics, Gdiplus::Image* image, const RECT& dest, int srcX,
                int srcY, int srcW, int srcH, int left, int top, int right, int bottom) {
    if (graphics == nullptr || image == nullptr) {
        return;
    }
    NinePatchPiece pieces[9];
    const int count = ComputeNinePatch(
        StripRect{srcX, srcY, srcW, srcH},
        StripRect{dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top}, left, top,
        right, bottom, pieces);
    for (int i = 0; i < count; ++i) {
        const NinePatchPiece& piece = pieces[i];
        MRender::DrawImageExact(graphics, image,
                                Gdiplus::Rect(piece.destination.x, piece.destination.y,
                                              piece.destination.width, piece.destination.height),
                                piece.source.x, piece.source.y, piece.source.width,
                                piece.source.height);
    }
}

// The source rectangle scaled to width x height by repeating pixels (nearest neighbour on
// whole pixels: every output pixel comes from inside the rectangle). Null when the image
// cannot be read.
std::unique_ptr<Gdiplus::Bitmap> ScaleNearest(Gdiplus::Image* image, int srcX, int srcY, int srcW,
                                              int srcH, int width, int height) {
    if (image->GetType() != Gdiplus::ImageTypeBitmap) {
        return nullptr;
    }
    auto* source = static_cast<Gdiplus::Bitmap*>(image);
    Gdiplus::Rect sourceRect(srcX, srcY, srcW, srcH);
    Gdiplus::BitmapData input{};
    if (source->LockBits(&sourceRect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &input) !=
        Gdiplus::Ok) {
        return nullptr;
    }
    auto scaled = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Rect targetRect(0, 0, width, height);
    Gdiplus::BitmapData output{};
    if (scaled->GetLastStatus() != Gdiplus::Ok ||
        scaled->LockBits(&targetRect, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &output) !=
            Gdiplus::Ok) {
        source->UnlockBits(&input);
        return nullptr;
    }
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[x] = static_cast<int>(static_cast<long long>(x) * srcW / width);
    }
    for (int y = 0; y < height; ++y) {
        const int sourceRow = static_cast<int>(static_cast<long long>(y) * srcH / height);
        const auto* in =
            reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(input.Scan0) +
                                           static_cast<ptrdiff_t>(sourceRow) * input.Stride);
        auto* out = reinterpret_cast<DWORD*>(static_cast<BYTE*>(output.Scan0) +
                                             static_cast<ptrdiff_t>(y) * output.Stride);
        for (int x = 0; x < width; ++x) {
            out[x] = in[columns[x]];
        }
    }
    scaled->UnlockBits(&output);
    source->UnlockBits(&input);
    return scaled;
}

// Blends one slice of src over dst with a constant alpha.
void BlendSlice(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, BYTE alpha) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    AlphaBlend(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, blend);
}

// The constant alphas of a transition of `count` slices.
std::vector<int> TransitionAlphas(int count, int from, int to) {
    std::vector<int> alphas;
    if (count <= 0) {
        return alphas;
    }
    const int first = 255 * (100 - from) / 100;
    const int last = 255 * (100 - to) / 100;
    const double step = static_cast<double>(first - last) / count;
    alphas.reserve(count);
    for (int i = 0; i < count; ++i) {
        alphas.push_back(static_cast<int>(first - step * i) & 0xFF);
    }
    return alphas;
}

}  // namespace

void MRender::DrawImageFrame(Gdiplus::Graphics* graphics, Gdiplus::Image* image, const RECT& dest,
                             int srcX, int srcY, int srcW, int srcH, int corner) {
    DrawPieces(graphics, image, dest, srcX, srcY, srcW, srcH, corner, corner, corner, corner);
}

void MRender::DrawImageFrameMID(Gdiplus::Graphics* graphics, Gdiplus::Image* image,
                                const RECT& dest, int srcX, int srcY, int srcW, int srcH, int left,
                                int top, int right, int bottom) {
    DrawPieces(graphics, image, dest, srcX, srcY, srcW, srcH, left, top, right, bottom);
}

void MRender::DrawImageStripFrame(Gdiplus::Graphics* graphics, Gdiplus::Image* image, int x, int y,
                                  int count, int frame) {
    if (graphics == nullptr || image == nullptr) {
        return;
    }
    const StripRect source = StripFrameRect(static_cast<int>(image->GetWidth()),
                                            static_cast<int>(image->GetHeight()), count, frame);
    if (source.IsEmpty()) {
        return;
    }
    DrawImageExact(graphics, image, Gdiplus::Rect(x, y, source.width, source.height), source.x,
                   source.y, source.width, source.height);
}

void MRender::DrawImageExact(Gdiplus::Graphics* graphics, Gdiplus::Image* image,
                             const Gdiplus::Rect& dest, int srcX, int srcY, int srcW, int srcH) {
    if (graphics == nullptr || image == nullptr || srcW <= 0 || srcH <= 0) {
        return;
    }
    if (dest.Width <= 0 || dest.Height <= 0) {
        return;
    }
    ExactSampling sampling(graphics);
    if (dest.Width == srcW && dest.Height == srcH) {
        graphics->DrawImage(image, dest, srcX, srcY, srcW, srcH, Gdiplus::UnitPixel);
        return;
    }
    // GDI+ stretching at large factors leaves the first column or row out under Wine, and its
    // filters reach into neighbouring frames: the pixels are scaled here and copied 1:1.
    std::unique_ptr<Gdiplus::Bitmap> scaled =
        ScaleNearest(image, srcX, srcY, srcW, srcH, dest.Width, dest.Height);
    if (scaled) {
        graphics->DrawImage(scaled.get(), dest, 0, 0, dest.Width, dest.Height, Gdiplus::UnitPixel);
    } else {
        graphics->DrawImage(image, dest, srcX, srcY, srcW, srcH, Gdiplus::UnitPixel);
    }
}

int MRender::DrawVerticalTransition(HDC dst, HDC src, const RECT& dstRect, const RECT& srcRect,
                                    int from, int to) {
    const int height = dstRect.bottom - dstRect.top;
    const int width = dstRect.right - dstRect.left;
    const int srcWidth = srcRect.right - srcRect.left;
    const std::vector<int> alphas = TransitionAlphas(height, from, to);
    int alpha = 0;
    for (int i = 0; i < height; ++i) {
        alpha = alphas[i];
        BlendSlice(dst, dstRect.left, dstRect.top + i, width, 1, src, srcRect.left, srcRect.top + i,
                   srcWidth, 1, static_cast<BYTE>(alpha));
    }
    return alpha;
}

int MRender::DrawHorizontalTransition(HDC dst, HDC src, const RECT& dstRect, const RECT& srcRect,
                                      int from, int to) {
    const int height = dstRect.bottom - dstRect.top;
    const int width = dstRect.right - dstRect.left;
    const int srcHeight = srcRect.bottom - srcRect.top;
    const std::vector<int> alphas = TransitionAlphas(width, from, to);
    int alpha = 0;
    for (int i = 0; i < width; ++i) {
        alpha = alphas[i];
        BlendSlice(dst, dstRect.left + i, dstRect.top, 1, height, src, srcRect.left + i,
                   srcRect.top, 1, srcHeight, static_cast<BYTE>(alpha));
    }
    return alpha;
}

void MRender::DrawRightBottomTransition(HDC dst, HDC src, const RECT& dstRect, const RECT& srcRect,
                                        int n) {
    const int width = dstRect.right - dstRect.left;
    const int height = dstRect.bottom - dstRect.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    n = std::min({n, width, height});
    if (n <= 0) {
        ::BitBlt(dst, dstRect.left, dstRect.top, width, height, src, srcRect.left, srcRect.top,
                 SRCCOPY);
        return;
    }
    // Everything outside the corner square is copied as it is.
    ::BitBlt(dst, dstRect.left, dstRect.top, width - n, height, src, srcRect.left, srcRect.top,
             SRCCOPY);
    ::BitBlt(dst, dstRect.right - n, dstRect.top, n, height - n, src, srcRect.left + width - n,
             srcRect.top, SRCCOPY);
    MemoryCanvas corner(n, n);
    if (!corner.IsValid()) {
        return;
    }
    ::BitBlt(corner.GetDC(), 0, 0, n, n, src, srcRect.left + width - n, srcRect.top + height - n,
             SRCCOPY);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const double distance = std::sqrt(static_cast<double>(x * x + y * y));
            const int alpha = 255 - static_cast<int>(255 * std::min<double>(n, distance) / n);
            const DWORD pixel = corner.GetPixel(x, y);
            auto channel = [&](int shift) {
                return static_cast<DWORD>(((pixel >> shift) & 0xFF) * alpha / 255) << shift;
            };
            corner.SetPixel(
                x, y, (static_cast<DWORD>(alpha) << 24) | channel(16) | channel(8) | channel(0));
        }
    }
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dst, dstRect.right - n, dstRect.bottom - n, n, n, corner.GetDC(), 0, 0, n, n, blend);
}

void MRender::DrawGradient(HDC hdc, const RECT& rect, Argb first, Argb second, bool vertical,
                           int /*steps*/) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int alpha = (first.Alpha() + second.Alpha()) / 2;
    if (hdc == nullptr || alpha == 0 || width <= 0 || height <= 0) {
        return;
    }
    auto fill = [&](HDC target, int x, int y) {
        TRIVERTEX vertices[2];
        vertices[0].x = x;
        vertices[0].y = y;
        vertices[0].Red = static_cast<COLOR16>(first.Red() << 8);
        vertices[0].Green = static_cast<COLOR16>(first.Green() << 8);
        vertices[0].Blue = static_cast<COLOR16>(first.Blue() << 8);
        vertices[0].Alpha = 0xFF00;
        vertices[1].x = x + width;
        vertices[1].y = y + height;
        vertices[1].Red = static_cast<COLOR16>(second.Red() << 8);
        vertices[1].Green = static_cast<COLOR16>(second.Green() << 8);
        vertices[1].Blue = static_cast<COLOR16>(second.Blue() << 8);
        vertices[1].Alpha = 0xFF00;
        GRADIENT_RECT gradient{0, 1};
        GradientFill(target, vertices, 2, &gradient, 1,
                     vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    };
    if (alpha >= 255) {
        fill(hdc, rect.left, rect.top);
        return;
    }
    MemoryCanvas scratch(width, height);
    if (!scratch.IsValid()) {
        return;
    }
    fill(scratch.GetDC(), 0, 0);
    BlendSlice(hdc, rect.left, rect.top, width, height, scratch.GetDC(), 0, 0, width, height,
               static_cast<BYTE>(alpha));
}

void MRender::AddRoundRectPath(Gdiplus::GraphicsPath* path, int x, int y, int width, int height,
                               int radiusX, int radiusY) {
    if (path == nullptr) {
        return;
    }
    radiusX = std::min(std::max(radiusX, 0), width / 2);
    radiusY = std::min(std::max(radiusY, 0), height / 2);
    if (radiusX == 0 || radiusY == 0) {
        path->AddRectangle(Gdiplus::Rect(x, y, width, height));
        return;
    }
    const int dx = 2 * radiusX;
    const int dy = 2 * radiusY;
    path->StartFigure();
    path->AddLine(x + radiusX, y, x + width - radiusX, y);
    path->AddArc(x + width - dx, y, dx, dy, 270, 90);
    path->AddLine(x + width, y + radiusY, x + width, y + height - radiusY);
    path->AddArc(x + width - dx, y + height - dy, dx, dy, 0, 90);
    path->AddLine(x + width - radiusX, y + height, x + radiusX, y + height);
    path->AddArc(x, y + height - dy, dx, dy, 90, 90);
    path->AddLine(x, y + height - radiusY, x, y + radiusY);
    path->AddArc(x, y, dx, dy, 180, 90);
    path->CloseFigure();
}

void MRender::DrawRoundRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                                int radius, Argb fill) {
    if (graphics == nullptr || width <= 0 || height <= 0) {
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRectPath(&path, x, y, width, height, radius, radius);
    Gdiplus::SolidBrush brush(ToColor(fill));
    graphics->FillPath(&brush, &path);
}

void MRender::DrawRoundRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                                int radius, Argb pen, int penWidth, Argb fill) {
    if (graphics == nullptr || width <= 0 || height <= 0) {
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRectPath(&path, x, y, width, height, radius, radius);
    Gdiplus::SolidBrush brush(ToColor(fill));
    graphics->FillPath(&brush, &path);
    Gdiplus::Pen outline(ToColor(pen), static_cast<Gdiplus::REAL>(penWidth));
    graphics->DrawPath(&outline, &path);
}

void MRender::DrawRoundRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                                int divisor, Argb pen, int penWidth, BOOL filled, Argb fill) {
    if (graphics == nullptr || width <= 0 || height <= 0 || divisor <= 0) {
        return;
    }
    int radiusX = width / divisor / 2;
    int radiusY = height / divisor / 2;
    if (std::abs(radiusX - radiusY) > 10) {
        radiusX = radiusY = std::min(radiusX, radiusY);
    }
    Gdiplus::GraphicsPath path;
    AddRoundRectPath(&path, x, y, width, height, radiusX, radiusY);
    if (filled) {
        Gdiplus::SolidBrush brush(ToColor(fill));
        graphics->FillPath(&brush, &path);
    }
    Gdiplus::Pen outline(ToColor(pen), static_cast<Gdiplus::REAL>(penWidth));
    graphics->DrawPath(&outline, &path);
}

int MRender::DrawTextW(HDC hdc, const RECT& rect, const wchar_t* text, ColorRef colour, HFONT font,
                       UINT format) {
    if (hdc == nullptr || text == nullptr) {
        return 0;
    }
    const COLORREF oldColour = ::SetTextColor(hdc, colour.Value());
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    int height = 0;
    {
        ScopedSelectObject selected(hdc, font);
        RECT box = rect;
        height = ::DrawTextW(hdc, text, -1, &box, format);
    }
    ::SetBkMode(hdc, oldMode);
    ::SetTextColor(hdc, oldColour);
    return height;
}

void MRender::DrawColor(HDC hdc, const RECT& rect, Argb colour) {
    if (hdc == nullptr || colour.Alpha() == 0) {
        return;
    }
    Gdiplus::Graphics graphics(hdc);
    Gdiplus::SolidBrush brush(ToColor(colour));
    graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                           static_cast<INT>(rect.right - rect.left),
                           static_cast<INT>(rect.bottom - rect.top));
}

void MRender::FillSolidRect(HDC hdc, const RECT& rect, ColorRef colour) {
    if (hdc == nullptr) {
        return;
    }
    const COLORREF old = ::SetBkColor(hdc, colour.Value());
    ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(hdc, old);
}

void MRender::FillSolidRect(HDC hdc, int x, int y, int width, int height, ColorRef colour) {
    const RECT rect{x, y, x + width, y + height};
    FillSolidRect(hdc, rect, colour);
}

SIZE MRender::GetTextBounds(Gdiplus::Font* font, const Gdiplus::StringFormat* format,
                            const wchar_t* text) {
    return GetTextBounds(font, format, 0, text);
}

SIZE MRender::GetTextBounds(Gdiplus::Font* font, const Gdiplus::StringFormat* format, int width,
                            const wchar_t* text) {
    SIZE size{0, 0};
    if (font == nullptr || text == nullptr) {
        return size;
    }
    Gdiplus::FontFamily family;
    if (font->GetFamily(&family) != Gdiplus::Ok) {
        return size;
    }
    // Wine refuses a path string without a format: a null format means the generic one.
    std::unique_ptr<Gdiplus::StringFormat> ownFormat;
    if (format == nullptr) {
        ownFormat.reset(Gdiplus::StringFormat::GenericDefault()->Clone());
        format = ownFormat.get();
    }
    Gdiplus::GraphicsPath path;
    if (width > 0) {
        // No height limit: a layout height of 0 lets the lines run on.
        const Gdiplus::RectF layout(0, 0, static_cast<Gdiplus::REAL>(width), 0);
        path.AddString(text, -1, &family, font->GetStyle(), font->GetSize(), layout, format);
    } else {
        path.AddString(text, -1, &family, font->GetStyle(), font->GetSize(), Gdiplus::PointF(0, 0),
                       format);
    }
    Gdiplus::RectF bounds;
    path.GetBounds(&bounds);
    size.cx = static_cast<LONG>(std::ceil(bounds.Width));
    // The line height in pixels: the font's own size unit at the screen's 96 dpi.
    const Gdiplus::REAL lineHeight = font->GetHeight(96.0f);
    const bool fractional = lineHeight != std::floor(lineHeight);
    size.cy = static_cast<LONG>(lineHeight + (fractional ? 4 : 1));
    return size;
}

SIZE MRender::GetTextBounds(Gdiplus::Font* font, const wchar_t* text) {
    return GetTextBounds(font, nullptr, 0, text);
}

POINT MRender::GetOriginPoint(int width, int height, int contentWidth, int contentHeight,
                              int hAlign, int vAlign) {
    const StripOffset offset =
        AlignContent(width, height, contentWidth, contentHeight, hAlign, vAlign);
    return POINT{offset.x, offset.y};
}

POINT MRender::GetOriginPoint(const RECT& rect, int contentWidth, int contentHeight, int hAlign,
                              int vAlign) {
    const POINT offset = GetOriginPoint(rect.right - rect.left, rect.bottom - rect.top,
                                        contentWidth, contentHeight, hAlign, vAlign);
    return POINT{rect.left + offset.x, rect.top + offset.y + 2};
}

HBITMAP MRender::CreateARGB32Bitmap(HDC hdc, int width, int height, DWORD*& bits) {
    bits = nullptr;
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr) {
        return nullptr;
    }
    bits = static_cast<DWORD*>(pixels);
    return bitmap;
}

void MRender::CheckAlphaColor(ColorRef& colour) {
    if (colour.Value() == 0) {
        colour = ColorRef(1);
    }
}

int MRender::SaveBitmapToFile(HBITMAP bitmap, const wchar_t* path) {
    if (bitmap == nullptr || path == nullptr) {
        return 0;
    }
    BITMAP description{};
    if (::GetObjectW(bitmap, sizeof(description), &description) == 0) {
        return 0;
    }
    HDC screen = ::GetDC(nullptr);
    const int depth = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    const WORD bitCount = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : 24;
    const DWORD paletteEntries = bitCount <= 8 ? (1u << bitCount) : 0;
    const DWORD rowBytes = ((description.bmWidth * bitCount + 31) / 32) * 4;
    const DWORD pixelBytes = rowBytes * static_cast<DWORD>(std::abs(description.bmHeight));

    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + paletteEntries * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = description.bmWidth;
    info->bmiHeader.biHeight = description.bmHeight;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bitCount;
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biSizeImage = pixelBytes;
    std::vector<BYTE> pixels(pixelBytes);
    HPALETTE palette = static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
    HPALETTE oldPalette = ::SelectPalette(screen, palette, FALSE);
    ::RealizePalette(screen);
    ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(std::abs(description.bmHeight)), pixels.data(),
                info, DIB_RGB_COLORS);
    if (oldPalette != nullptr) {
        ::SelectPalette(screen, oldPalette, TRUE);
        ::RealizePalette(screen);
    }
    ::ReleaseDC(nullptr, screen);

    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const DWORD headerBytes = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + header.size());
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = headerBytes + pixelBytes;
    fileHeader.bfOffBits = headerBytes;
    DWORD written = 0;
    ::WriteFile(file, &fileHeader, sizeof(fileHeader), &written, nullptr);
    ::WriteFile(file, header.data(), static_cast<DWORD>(header.size()), &written, nullptr);
    ::WriteFile(file, pixels.data(), pixelBytes, &written, nullptr);
    ::CloseHandle(file);
    return 1;
}

std::unique_ptr<Gdiplus::Image> MRender::LoadImageFromFile(const wchar_t* path) {
    if (path == nullptr || *path == L'\0') {
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromFile(path));
    if (!image || image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0) {
        return nullptr;
    }
    return image;
}

std::unique_ptr<Gdiplus::Image> MRender::LoadImageFromFileEx(const wchar_t* path, int width,
                                                             int height) {
    std::unique_ptr<Gdiplus::Image> loaded = LoadImageFromFile(path);
    if (!loaded) {
        return nullptr;
    }
    if (width <= 0 && height <= 0) {
        width = static_cast<int>(loaded->GetWidth());
        height = static_cast<int>(loaded->GetHeight());
    }
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    // A plain 32-bit copy rather than GDI+ thumbnails: those may come from the file's
    // embedded preview and lose the alpha channel.
    auto copy = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    if (copy->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    {
        Gdiplus::Graphics graphics(copy.get());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics.DrawImage(loaded.get(), Gdiplus::Rect(0, 0, width, height), 0, 0,
                           static_cast<INT>(loaded->GetWidth()),
                           static_cast<INT>(loaded->GetHeight()), Gdiplus::UnitPixel);
    }
    return copy;
}

std::unique_ptr<Gdiplus::Image> MRender::LoadImageFromIDResource(UINT id, const wchar_t* type,
                                                                 HMODULE module) {
    if (type == nullptr) {
        return nullptr;
    }
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (resource == nullptr) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return nullptr;
    }
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return nullptr;
    }
    void* target = ::GlobalLock(memory);
    if (target == nullptr) {
        ::GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    // The stream frees the memory when its last reference goes; GDI+ keeps one while the
    // image lives.
    if (::CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
        ::GlobalFree(memory);
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromStream(stream));
    stream->Release();
    if (!image || image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0) {
        return nullptr;
    }
    return image;
}

HICON MRender::LoadIconFromFile(const wchar_t* path) {
    if (path == nullptr || *path == L'\0') {
        return nullptr;
    }
    wchar_t buffer[MAX_PATH] = {};
    const size_t length = std::wcslen(path);
    if (length >= MAX_PATH) {
        return nullptr;
    }
    std::memcpy(buffer, path, length * sizeof(wchar_t));
    WORD index = 0;
    return ::ExtractAssociatedIconW(nullptr, buffer, &index);
}

MemoryCanvas::MemoryCanvas(int width, int height) : m_width(width), m_height(height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    HDC screen = ::GetDC(nullptr);
    m_dc.reset(::CreateCompatibleDC(screen));
    ::ReleaseDC(nullptr, screen);
    if (m_dc == nullptr) {
        return;
    }
    DWORD* bits = nullptr;
    m_bitmap.reset(MRender::CreateARGB32Bitmap(m_dc.get(), width, height, bits));
    if (m_bitmap == nullptr || bits == nullptr) {
        return;
    }
    m_selection = std::make_unique<ScopedSelectObject>(m_dc.get(), m_bitmap.get());
    m_bits = bits;
    std::memset(m_bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
}

MemoryCanvas::~MemoryCanvas() = default;

DWORD MemoryCanvas::GetPixel(int x, int y) const {
    if (m_bits == nullptr || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    ::GdiFlush();
    return m_bits[static_cast<size_t>(m_height - 1 - y) * m_width + x];
}

void MemoryCanvas::SetPixel(int x, int y, DWORD argb) {
    if (m_bits == nullptr || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    ::GdiFlush();
    m_bits[static_cast<size_t>(m_height - 1 - y) * m_width + x] = argb;
}

}  // namespace Orvo
