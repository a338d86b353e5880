#include <windows.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "drag_threshold.h"
#include "orvo/drag_drop.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

// Larger pictures are refused rather than allocated.
constexpr LONG kMaxDropSide = 16384;
constexpr int kHimetricPerMillimetre = 100;

// A device bitmap from a packed DIB in global memory (header, colour table, pixels), after
// every size in it has been checked against the block.
HBITMAP BitmapFromPackedDib(HGLOBAL global) {
    const SIZE_T size = ::GlobalSize(global);
    if (size < sizeof(BITMAPINFOHEADER)) {
        return nullptr;
    }
    const auto* base = static_cast<const BYTE*>(::GlobalLock(global));
    if (base == nullptr) {
        return nullptr;
    }
    HBITMAP bitmap = nullptr;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(base);
    const WORD bits = header->biBitCount;
    const bool knownDepth =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    if (header->biSize >= sizeof(BITMAPINFOHEADER) && header->biSize <= size && knownDepth &&
        header->biWidth > 0 && header->biWidth <= kMaxDropSide && height > 0 &&
        height <= kMaxDropSide && header->biPlanes == 1) {
        // The colour table: biClrUsed entries, or the full table of a palette depth; the
        // three masks of BI_BITFIELDS follow a plain 40-byte header.
        uint64_t colours = header->biClrUsed;
        if (colours == 0 && bits <= 8) {
            colours = uint64_t{1} << bits;
        }
        if (header->biCompression == BI_BITFIELDS && header->biSize == sizeof(BITMAPINFOHEADER)) {
            colours += 3;
        }
        const uint64_t offset = header->biSize + colours * sizeof(RGBQUAD);
        uint64_t pixels = 0;
        if (header->biCompression == BI_RGB || header->biCompression == BI_BITFIELDS) {
            const uint64_t stride = ((uint64_t(header->biWidth) * bits + 31) / 32) * 4;
            pixels = stride * uint64_t(height);
        } else {
            pixels = header->biSizeImage;
        }
        if (colours <= 259 && pixels != 0 && offset + pixels <= size) {
            HDC screen = ::GetDC(nullptr);
            bitmap = ::CreateDIBitmap(screen, header, CBM_INIT, base + offset,
                                      reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
            ::ReleaseDC(nullptr, screen);
        }
    }
    ::GlobalUnlock(global);
    return bitmap;
}

// The metafile played into a bitmap of its frame, converted from 0.01 mm to pixels of the
// device it was recorded on.
HBITMAP BitmapFromMetafile(HENHMETAFILE metafile) {
    ENHMETAHEADER header = {};
    if (::GetEnhMetaFileHeader(metafile, sizeof(header), &header) == 0) {
        return nullptr;
    }
    const LONG frameWidth = header.rclFrame.right - header.rclFrame.left;
    const LONG frameHeight = header.rclFrame.bottom - header.rclFrame.top;
    LONG width = 0;
    LONG height = 0;
    if (header.szlMillimeters.cx > 0 && header.szlMillimeters.cy > 0) {
        width = ::MulDiv(frameWidth, header.szlDevice.cx,
                         header.szlMillimeters.cx * kHimetricPerMillimetre);
        height = ::MulDiv(frameHeight, header.szlDevice.cy,
                          header.szlMillimeters.cy * kHimetricPerMillimetre);
    }
    if (width <= 0 || height <= 0) {
        // No usable frame: the bounds of what was drawn, already in pixels.
        width = header.rclBounds.right - header.rclBounds.left + 1;
        height = header.rclBounds.bottom - header.rclBounds.top + 1;
    }
    if (width <= 0 || height <= 0 || width > kMaxDropSide || height > kMaxDropSide) {
        return nullptr;
    }
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (bitmap != nullptr && dc != nullptr) {
        ScopedSelectObject select(dc, bitmap);
        const RECT area = {0, 0, width, height};
        ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::PlayEnhMetaFile(dc, metafile, &area);
    }
    if (dc != nullptr) {
        ::DeleteDC(dc);
    }
    return bitmap;
}

// The first dropped file as a bitmap: a BMP through LoadImageW, other pictures (PNG, JPEG,
// GIF) through GDI+.
HBITMAP BitmapFromDroppedFile(HGLOBAL global) {
    auto* drop = static_cast<HDROP>(global);
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0) {
        return nullptr;
    }
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0 || length > 32767) {
        return nullptr;
    }
    std::wstring path(length + 1, L'\0');
    if (::DragQueryFileW(drop, 0, path.data(), length + 1) != length) {
        return nullptr;
    }
    path.resize(length);
    auto* bitmap = static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (bitmap != nullptr) {
        return bitmap;
    }
    Gdiplus::Bitmap picture(path.c_str());
    if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetWidth() == 0 ||
        picture.GetWidth() > static_cast<UINT>(kMaxDropSide) ||
        picture.GetHeight() > static_cast<UINT>(kMaxDropSide)) {
        return nullptr;
    }
    HBITMAP converted = nullptr;
    if (picture.GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &converted) != Gdiplus::Ok) {
        return nullptr;
    }
    return converted;
}

// The picture recorded into an enhanced metafile, for targets that take only those.
HENHMETAFILE MetafileOfBitmap(HBITMAP bitmap) {
    BITMAP info = {};
    if (::GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return nullptr;
    }
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    if (recorder == nullptr) {
        return nullptr;
    }
    HDC source = ::CreateCompatibleDC(recorder);
    if (source != nullptr) {
        ScopedSelectObject select(source, bitmap);
        ::BitBlt(recorder, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    if (source != nullptr) {
        ::DeleteDC(source);
    }
    return ::CloseEnhMetaFile(recorder);
}

FORMATETC Format(CLIPFORMAT format, DWORD medium) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, medium};
}

}  // namespace

int PaintManager::InitDragDrop() {
    if (m_hWnd == nullptr) {
        return 0;
    }
    if (m_dropRegistered) {
        return 1;
    }
    if (m_dropTarget == nullptr) {
        m_dropTarget = new CIDropTarget(m_hWnd);
        m_dropTarget->AddSuportedFormat(Format(CF_BITMAP, TYMED_GDI));
        m_dropTarget->AddSuportedFormat(Format(CF_DIB, TYMED_HGLOBAL));
        m_dropTarget->AddSuportedFormat(Format(CF_HDROP, TYMED_HGLOBAL));
        m_dropTarget->AddSuportedFormat(Format(CF_ENHMETAFILE, TYMED_ENHMF));
    }
    m_dropTarget->SetDropHandler(this);
    if (FAILED(::RegisterDragDrop(m_hWnd, m_dropTarget))) {
        return 0;
    }
    m_dropRegistered = true;
    return 1;
}

void PaintManager::RevokeDragDrop() {
    if (m_dropRegistered && m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::RevokeDragDrop(m_hWnd);
    }
    m_dropRegistered = false;
    if (m_dropTarget != nullptr) {
        m_dropTarget->SetDropHandler(nullptr);
        m_dropTarget->Release();
        m_dropTarget = nullptr;
    }
}

bool PaintManager::OnDrop(FORMATETC* format, STGMEDIUM* medium, DWORD*) {
    if (m_hWnd == nullptr || format == nullptr || medium == nullptr) {
        return true;
    }
    // Whatever control held the button when the drag came in lets it go.
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(cursor.x, cursor.y));

    HBITMAP bitmap = nullptr;
    if (format->cfFormat == CF_DIB && medium->tymed == TYMED_HGLOBAL) {
        bitmap = BitmapFromPackedDib(medium->hGlobal);
    } else if (format->cfFormat == CF_BITMAP && medium->tymed == TYMED_GDI) {
        // A copy, so the medium is released the same way for every format.
        bitmap = static_cast<HBITMAP>(::CopyImage(medium->hBitmap, IMAGE_BITMAP, 0, 0, 0));
    } else if (format->cfFormat == CF_ENHMETAFILE && medium->tymed == TYMED_ENHMF) {
        bitmap = BitmapFromMetafile(medium->hEnhMetaFile);
    } else if (format->cfFormat == CF_HDROP && medium->tymed == TYMED_HGLOBAL) {
        bitmap = BitmapFromDroppedFile(medium->hGlobal);
    }
    if (bitmap == nullptr) {
        return true;
    }
    auto previous = reinterpret_cast<HGDIOBJ>(
        ::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous != nullptr && previous != bitmap) {
        ::DeleteObject(previous);
    }
    const auto kept =
        reinterpret_cast<HGDIOBJ>(::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (kept != bitmap) {
        ::DeleteObject(bitmap);
    }
    return true;
}

HBITMAP PaintManager::GetDropBitmap(MControl* control, const RECT& rect) {
    if (control == nullptr) {
        return nullptr;
    }
    const CRect part = CRect::Intersection(rect, control->GetRect());
    if (part.IsRectEmpty()) {
        return nullptr;
    }
    // The control draws at its own place, so the canvas spans up to its far corner.
    const CRect& bounds = control->GetRect();
    MemoryCanvas canvas(bounds.right, bounds.bottom);
    if (!canvas.IsValid()) {
        return nullptr;
    }
    MRender::FillSolidRect(canvas.GetDC(), RECT{0, 0, bounds.right, bounds.bottom}, m_fillColor);
    control->Draw(canvas.GetDC(), bounds);
    // Drawing from the cache again next time would show this canvas as background.
    control->SetUpdate(0, ColorRef());
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, part.Width(), part.Height());
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (bitmap != nullptr && dc != nullptr) {
        ScopedSelectObject select(dc, bitmap);
        ::BitBlt(dc, 0, 0, part.Width(), part.Height(), canvas.GetDC(), part.left, part.top,
                 SRCCOPY);
    }
    if (dc != nullptr) {
        ::DeleteDC(dc);
    }
    return bitmap;
}

void PaintManager::StartControlDrag(POINT) {
    HBITMAP picture = m_dragBitmap.get();
    if (picture == nullptr || m_hWnd == nullptr) {
        DisarmDrag();
        return;
    }
    m_dragArmed = false;
    ReleaseCapture();
    ::ReleaseCapture();

    auto* source = new CIDropSource();
    auto* data = new CIDataObject(source);
    FORMATETC bitmapFormat = Format(CF_BITMAP, TYMED_GDI);
    STGMEDIUM bitmapMedium = {};
    bitmapMedium.tymed = TYMED_GDI;
    bitmapMedium.hBitmap = static_cast<HBITMAP>(::OleDuplicateData(picture, CF_BITMAP, 0));
    if (bitmapMedium.hBitmap != nullptr) {
        data->SetData(&bitmapFormat, &bitmapMedium, TRUE);
    }
    FORMATETC metafileFormat = Format(CF_ENHMETAFILE, TYMED_ENHMF);
    STGMEDIUM metafileMedium = {};
    metafileMedium.tymed = TYMED_ENHMF;
    metafileMedium.hEnhMetaFile = MetafileOfBitmap(picture);
    if (metafileMedium.hEnhMetaFile != nullptr) {
        data->SetData(&metafileFormat, &metafileMedium, TRUE);
    }

    // The shell's drag image, where it exists (Wine answers E_NOTIMPL); it takes the bitmap
    // only when it succeeds.
    BITMAP info = {};
    ::GetObjectW(picture, sizeof(info), &info);
    CDragSourceHelper helper;
    auto* shellImage = static_cast<HBITMAP>(::OleDuplicateData(picture, CF_BITMAP, 0));
    if (shellImage != nullptr &&
        FAILED(helper.InitializeFromBitmap(shellImage, POINT{info.bmWidth / 2, info.bmHeight / 2},
                                           ::GetSysColor(COLOR_WINDOW), data))) {
        ::DeleteObject(shellImage);
    }

    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    data->Release();
    source->Release();
    DisarmDrag();

    // The release that ended the drag went to the drag loop: the control that took the press
    // gets one now.
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    OnLButtonUp(0, cursor.x, cursor.y);
}

}  // namespace Orvo
