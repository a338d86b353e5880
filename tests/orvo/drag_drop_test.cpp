#include <windows.h>
#include <gdiplus.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "drag_drop_support.h"
#include "orvo/drag_drop.h"

namespace {

using OrvoTest::PictureDialog;
using OrvoTest::ProbeBitmap;

constexpr COLORREF kRed = RGB(220, 30, 40);
constexpr COLORREF kBlue = RGB(20, 60, 230);
constexpr COLORREF kGreen = RGB(30, 200, 70);
constexpr COLORREF kMagenta = RGB(200, 0, 200);

// COLORREF as the 0x00RRGGBB a 32-bit DIB holds.
DWORD AsPixel(COLORREF colour) {
    return (DWORD{GetRValue(colour)} << 16) | (DWORD{GetGValue(colour)} << 8) | GetBValue(colour);
}

FORMATETC Format(CLIPFORMAT format, DWORD medium) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, medium};
}

HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
    Orvo::MemoryCanvas canvas(width, height);
    Orvo::MRender::FillSolidRect(canvas.GetDC(), RECT{0, 0, width, height}, Orvo::ColorRef(colour));
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, width, height, canvas.GetDC(), 0, 0, SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

// A packed 24-bit DIB (header, no colour table, bottom-up rows padded to 4 bytes).
HGLOBAL PackedDib(int width, int height, COLORREF colour) {
    const int stride = ((width * 3) + 3) & ~3;
    const SIZE_T size = sizeof(BITMAPINFOHEADER) + static_cast<SIZE_T>(stride) * height;
    HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* base = static_cast<BYTE*>(::GlobalLock(global));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(base);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    BYTE* pixels = base + sizeof(BITMAPINFOHEADER);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE* at = pixels + y * stride + x * 3;
            at[0] = GetBValue(colour);
            at[1] = GetGValue(colour);
            at[2] = GetRValue(colour);
        }
    }
    ::GlobalUnlock(global);
    return global;
}

// A metafile that fills a width x height pixel rectangle.
HENHMETAFILE SolidMetafile(int width, int height, COLORREF colour) {
    HDC screen = ::GetDC(nullptr);
    // The frame in 0.01 mm of the screen the metafile is recorded for.
    const RECT frame = {
        0, 0,
        ::MulDiv(width, ::GetDeviceCaps(screen, HORZSIZE) * 100, ::GetDeviceCaps(screen, HORZRES)),
        ::MulDiv(height, ::GetDeviceCaps(screen, VERTSIZE) * 100,
                 ::GetDeviceCaps(screen, VERTRES))};
    HDC recorder = ::CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
    ::ReleaseDC(nullptr, screen);
    HBRUSH brush = ::CreateSolidBrush(colour);
    const RECT area = {0, 0, width, height};
    ::FillRect(recorder, &area, brush);
    ::DeleteObject(brush);
    return ::CloseEnhMetaFile(recorder);
}

bool WritePng(const std::wstring& path, int width, int height, COLORREF colour) {
    Gdiplus::Bitmap picture(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&picture);
        Gdiplus::SolidBrush brush(
            Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
        graphics.FillRectangle(&brush, 0, 0, width, height);
    }
    CLSID png = {};
    UINT count = 0;
    UINT bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            png = encoders[i].Clsid;
        }
    }
    return picture.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

// A DROPFILES block naming one file.
HGLOBAL DropFiles(const std::wstring& path) {
    const SIZE_T size = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), path.c_str(),
                path.size() * sizeof(wchar_t));
    ::GlobalUnlock(global);
    return global;
}

class DropTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvoTest::StartGdiplus();
        ASSERT_NE(nullptr, m_dialog.CreateAt(80, 80, 200, 150));
        ::ShowWindow(m_dialog.GetSafeHwnd(), SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        m_dialog.DestroyWindow();
        OrvoTest::PumpMessages();
    }

    Orvo::CIDropTarget* Target() { return m_dialog.GetPaintManager()->GetDropTarget(); }

    // Enters with the data and drops it; the effect the target chose on entering.
    DWORD DragAndDrop(IDataObject* data, DWORD keys = 0,
                      DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        POINTL at = {120, 120};
        DWORD effect = allowed;
        Target()->DragEnter(data, keys, at, &effect);
        const DWORD entered = effect;
        effect = allowed;
        Target()->Drop(data, keys, at, &effect);
        return entered;
    }

    // A data object holding one medium, which it takes over.
    Orvo::CIDataObject* DataWith(CLIPFORMAT format, STGMEDIUM medium) {
        auto* data = new Orvo::CIDataObject(nullptr);
        FORMATETC etc = Format(format, medium.tymed);
        data->SetData(&etc, &medium, TRUE);
        return data;
    }

    PictureDialog m_dialog;
};

TEST_F(DropTest, EveryToolkitWindowIsADropTargetForTheFourFormatsInOrder) {
    ASSERT_NE(nullptr, Target());
    // OLE refuses a second registration of a window that already has a target.
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(m_dialog.GetSafeHwnd(), Target()));
    const std::vector<FORMATETC>& formats = Target()->GetSuportedFormats();
    ASSERT_EQ(4u, formats.size());
    const std::pair<CLIPFORMAT, DWORD> expected[] = {{CF_BITMAP, TYMED_GDI},
                                                     {CF_DIB, TYMED_HGLOBAL},
                                                     {CF_HDROP, TYMED_HGLOBAL},
                                                     {CF_ENHMETAFILE, TYMED_ENHMF}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i].first, formats[i].cfFormat) << i;
        EXPECT_EQ(expected[i].second, formats[i].tymed) << i;
        EXPECT_EQ(static_cast<DWORD>(DVASPECT_CONTENT), formats[i].dwAspect) << i;
        EXPECT_EQ(-1, formats[i].lindex) << i;
    }
}

TEST_F(DropTest, DroppedPictureOfEachFormatReachesTheWindowAsABitmap) {
    const std::wstring pngPath = [] {
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + L"orvo-drop-" + std::to_wstring(::GetCurrentProcessId()) +
               L".png";
    }();
    ASSERT_TRUE(WritePng(pngPath, 6, 5, kMagenta));

    struct Case {
        const char* name;
        CLIPFORMAT format;
        STGMEDIUM medium;
        int width;
        int height;
        COLORREF colour;
    };
    STGMEDIUM dib = {};
    dib.tymed = TYMED_HGLOBAL;
    dib.hGlobal = PackedDib(7, 3, kRed);
    STGMEDIUM bitmap = {};
    bitmap.tymed = TYMED_GDI;
    bitmap.hBitmap = SolidBitmap(5, 4, kBlue);
    STGMEDIUM metafile = {};
    metafile.tymed = TYMED_ENHMF;
    metafile.hEnhMetaFile = SolidMetafile(40, 30, kGreen);
    STGMEDIUM file = {};
    file.tymed = TYMED_HGLOBAL;
    file.hGlobal = DropFiles(pngPath);
    const Case cases[] = {
        {"DIB", CF_DIB, dib, 7, 3, kRed},
        {"bitmap", CF_BITMAP, bitmap, 5, 4, kBlue},
        {"metafile", CF_ENHMETAFILE, metafile, 40, 30, kGreen},
        {"PNG file", CF_HDROP, file, 6, 5, kMagenta},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialog.m_offered.clear();
        Orvo::CIDataObject* data = DataWith(c.format, c.medium);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), DragAndDrop(data));
        data->Release();
        ASSERT_EQ(1u, m_dialog.m_offered.size());
        const OrvoTest::BitmapProbe probe = ProbeBitmap(m_dialog.m_kept, c.width / 2, c.height / 2);
        // A metafile's frame goes through 0.01 mm, which may round by a pixel.
        EXPECT_NEAR(c.width, probe.width, c.format == CF_ENHMETAFILE ? 1 : 0);
        EXPECT_NEAR(c.height, probe.height, c.format == CF_ENHMETAFILE ? 1 : 0);
        EXPECT_EQ(AsPixel(c.colour), probe.pixel);
    }
    ::DeleteFileW(pngPath.c_str());
}

TEST_F(DropTest, ImageHandedBackAndPictureNotKeptAreBothDeleted) {
    STGMEDIUM first = {};
    first.tymed = TYMED_GDI;
    first.hBitmap = SolidBitmap(4, 4, kRed);
    Orvo::CIDataObject* data = DataWith(CF_BITMAP, first);
    DragAndDrop(data);
    ASSERT_EQ(1u, m_dialog.m_offered.size());
    HBITMAP firstKept = m_dialog.m_kept;
    // The second drop makes the window hand the first picture back: it must not leak.
    DragAndDrop(data);
    ASSERT_EQ(2u, m_dialog.m_offered.size());
    EXPECT_EQ(0u, ::GetObjectType(firstKept));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(m_dialog.m_kept));

    // A window that keeps nothing (as the toolkit's own do): the picture is deleted again.
    m_dialog.m_keeps = false;
    DragAndDrop(data);
    ASSERT_EQ(3u, m_dialog.m_offered.size());
    EXPECT_EQ(0u, ::GetObjectType(m_dialog.m_offered.back()));
    data->Release();
}

TEST_F(DropTest, EffectFollowsTheKeysAndWhatTheSourceAllows) {
    STGMEDIUM medium = {};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = SolidBitmap(2, 2, kBlue);
    Orvo::CIDataObject* data = DataWith(CF_BITMAP, medium);
    struct Case {
        DWORD keys;
        DWORD allowed;
        DWORD expected;
    };
    const Case cases[] = {
        {0, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {0, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE},
        {0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_LINK, DROPEFFECT_LINK},
        // A key asks for an effect the source does not allow: nothing is dropped.
        {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    POINTL at = {120, 120};
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(S_OK, Target()->DragEnter(data, 0, at, &effect));
    for (const Case& c : cases) {
        effect = c.allowed;
        Target()->DragOver(c.keys, at, &effect);
        EXPECT_EQ(c.expected, effect) << "keys " << c.keys << " allowed " << c.allowed;
    }
    Target()->DragLeave();
    data->Release();

    // Data in no accepted format is refused, and a drop of it offers the window nothing.
    auto* text = new Orvo::CIDataObject(nullptr);
    STGMEDIUM textMedium = {};
    textMedium.tymed = TYMED_HGLOBAL;
    textMedium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8);
    FORMATETC textFormat = Format(CF_UNICODETEXT, TYMED_HGLOBAL);
    text->SetData(&textFormat, &textMedium, TRUE);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DragAndDrop(text));
    EXPECT_TRUE(m_dialog.m_offered.empty());
    text->Release();
    EXPECT_EQ(E_INVALIDARG, Target()->DragEnter(nullptr, 0, at, &effect));
}

TEST_F(DropTest, HostileDibsAreRefusedWithoutReadingPastTheBlock) {
    struct Case {
        const char* name;
        void (*spoil)(BITMAPINFOHEADER& header);
    };
    const Case cases[] = {
        {"taller than its pixels", [](BITMAPINFOHEADER& h) { h.biHeight = 5000; }},
        {"header size past the block", [](BITMAPINFOHEADER& h) { h.biSize = 100000; }},
        {"colour table past the block", [](BITMAPINFOHEADER& h) { h.biClrUsed = 200000; }},
        {"zero width", [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
        {"unknown depth", [](BITMAPINFOHEADER& h) { h.biBitCount = 7; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialog.m_offered.clear();
        STGMEDIUM medium = {};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = PackedDib(4, 4, kRed);
        auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(medium.hGlobal));
        c.spoil(*header);
        ::GlobalUnlock(medium.hGlobal);
        Orvo::CIDataObject* data = DataWith(CF_DIB, medium);
        DragAndDrop(data);
        data->Release();
        EXPECT_TRUE(m_dialog.m_offered.empty());
    }
    // A file that is no picture gives nothing either.
    STGMEDIUM missing = {};
    missing.tymed = TYMED_HGLOBAL;
    missing.hGlobal = DropFiles(L"C:\\no-such-folder\\nothing.png");
    Orvo::CIDataObject* data = DataWith(CF_HDROP, missing);
    DragAndDrop(data);
    data->Release();
    EXPECT_TRUE(m_dialog.m_offered.empty());
}

TEST(DataObjectTest, GetDataHandsOutCopiesAndEnumeratesWhatItHolds) {
    OrvoTest::StartGdiplus();
    auto* data = new Orvo::CIDataObject(nullptr);
    STGMEDIUM bitmap = {};
    bitmap.tymed = TYMED_GDI;
    bitmap.hBitmap = SolidBitmap(3, 2, kGreen);
    FORMATETC bitmapFormat = Format(CF_BITMAP, TYMED_GDI);
    // Without release the object keeps its own copy; the caller's bitmap stays the caller's.
    ASSERT_EQ(S_OK, data->SetData(&bitmapFormat, &bitmap, FALSE));
    STGMEDIUM dib = {};
    dib.tymed = TYMED_HGLOBAL;
    dib.hGlobal = PackedDib(2, 2, kRed);
    FORMATETC dibFormat = Format(CF_DIB, TYMED_HGLOBAL);
    ASSERT_EQ(S_OK, data->SetData(&dibFormat, &dib, TRUE));

    STGMEDIUM out = {};
    ASSERT_EQ(S_OK, data->GetData(&bitmapFormat, &out));
    EXPECT_NE(bitmap.hBitmap, out.hBitmap);
    EXPECT_EQ(AsPixel(kGreen), ProbeBitmap(out.hBitmap, 1, 1).pixel);
    ::ReleaseStgMedium(&out);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(bitmap.hBitmap));
    ::DeleteObject(bitmap.hBitmap);

    ASSERT_EQ(S_OK, data->GetData(&dibFormat, &out));
    EXPECT_NE(dib.hGlobal, out.hGlobal);
    EXPECT_EQ(::GlobalSize(dib.hGlobal), ::GlobalSize(out.hGlobal));
    ::ReleaseStgMedium(&out);

    FORMATETC missing = Format(CF_ENHMETAFILE, TYMED_ENHMF);
    EXPECT_EQ(DV_E_FORMATETC, data->GetData(&missing, &out));
    EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&missing));
    EXPECT_EQ(S_OK, data->QueryGetData(&dibFormat));

    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, &formats));
    FORMATETC listed[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, formats->Next(3, listed, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(CF_BITMAP, listed[0].cfFormat);
    EXPECT_EQ(CF_DIB, listed[1].cfFormat);
    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(S_OK, formats->Clone(&clone));
    EXPECT_EQ(S_FALSE, clone->Next(1, listed, nullptr));
    EXPECT_EQ(S_OK, clone->Reset());
    EXPECT_EQ(S_OK, clone->Skip(1));
    EXPECT_EQ(S_OK, clone->Next(1, listed, nullptr));
    EXPECT_EQ(CF_DIB, listed[0].cfFormat);
    clone->Release();
    formats->Release();
    EXPECT_EQ(E_NOTIMPL, data->EnumFormatEtc(DATADIR_SET, &formats));
    data->Release();
}

TEST(DropSourceTest, EscapeCancelsReleasingTheButtonsDrops) {
    Orvo::CIDropSource source;
    EXPECT_EQ(DRAGDROP_S_CANCEL, source.QueryContinueDrag(TRUE, MK_LBUTTON));
    EXPECT_EQ(S_OK, source.QueryContinueDrag(FALSE, MK_LBUTTON));
    EXPECT_FALSE(source.IsDropped());
    EXPECT_EQ(DRAGDROP_S_DROP, source.QueryContinueDrag(FALSE, 0));
    EXPECT_TRUE(source.IsDropped());
    EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source.GiveFeedback(DROPEFFECT_COPY));
}

TEST_F(DropTest, PictureOfAControlIsThePartAskedFor) {
    auto* swatch = m_dialog.Add<OrvoTest::SwatchControl>(7, RECT{20, 30, 70, 60}, kBlue);
    OrvoTest::PumpMessages();
    HBITMAP whole = m_dialog.GetPaintManager()->GetDropBitmap(swatch, swatch->GetRect());
    const OrvoTest::BitmapProbe probe = ProbeBitmap(whole, 25, 15);
    EXPECT_EQ(50, probe.width);
    EXPECT_EQ(30, probe.height);
    EXPECT_EQ(AsPixel(kBlue), probe.pixel);
    ::DeleteObject(whole);
    // A part that reaches outside the control is cut to it; one beside it gives nothing.
    HBITMAP part = m_dialog.GetPaintManager()->GetDropBitmap(swatch, RECT{60, 50, 200, 200});
    EXPECT_EQ(10, ProbeBitmap(part, 0, 0).width);
    EXPECT_EQ(10, ProbeBitmap(part, 0, 0).height);
    ::DeleteObject(part);
    EXPECT_EQ(nullptr, m_dialog.GetPaintManager()->GetDropBitmap(swatch, RECT{100, 0, 150, 20}));
    EXPECT_EQ(nullptr, m_dialog.GetPaintManager()->GetDropBitmap(nullptr, RECT{0, 0, 9, 9}));
}

}  // namespace
