// The paint manager's image cache and fonts, the control font layer, cursors, tooltips,
// size limits and layered painting.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <cwchar>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/control_font.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;

// A text control with a state image, drawing nothing.
class FontControl : public Orvo::MControlFont {
public:
    FontControl(Orvo::MObject* parent, UINT id, const RECT& rect)
        : MControlFont(parent, id, rect, L"title", 1, 1, 1) {}
    void DrawControl(HDC, const RECT&) override {}
};

bool SavePng(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return bitmap.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

class CoreResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        OrvoTest::StartGdiplus();
        // The skin folder is beside the test executable.
        const std::wstring skins = Orvo::Manager::GetProgramDirectory() + L"skins";
        ::CreateDirectoryW(skins.c_str(), nullptr);
        ::CreateDirectoryW(Orvo::Manager::GetSkinDirectory().c_str(), nullptr);
        // Each test runs in its own process, several at once: each writes its own file.
        s_strip = L"core_test_strip_" + std::to_wstring(::GetCurrentProcessId()) + L".png";
        Gdiplus::Bitmap strip(100, 20, PixelFormat32bppARGB);
        ASSERT_TRUE(SavePng(strip, Orvo::Manager::GetSkinDirectory() + s_strip));
    }
    static void TearDownTestSuite() {
        ::DeleteFileW((Orvo::Manager::GetSkinDirectory() + s_strip).c_str());
    }
    void SetUp() override { ASSERT_NE(m_dialog.CreateAt(40, 40, 300, 200), nullptr); }
    void TearDown() override { m_dialog.DestroyWindow(); }
    Orvo::PaintManager& Manager() { return *m_dialog.GetPaintManager(); }

    static std::wstring s_strip;
    TestDialog m_dialog;
};

std::wstring CoreResourcesTest::s_strip;

TEST_F(CoreResourcesTest, TheFirstRequestOfAFileFixesItsFrameCount) {
    const wchar_t* strip = s_strip.c_str();
    auto* four = m_dialog.Add<FontControl>(1, CRect(0, 0, 10, 10));
    auto* two = m_dialog.Add<FontControl>(2, CRect(0, 0, 10, 10));
    ASSERT_EQ(four->SetImage(strip, 4), 1);
    ASSERT_EQ(two->SetImage(strip, 2), 1);
    EXPECT_EQ(four->GetImageSize(), Orvo::CSize(25, 20));
    EXPECT_EQ(two->GetImageSize(), Orvo::CSize(25, 20));
    EXPECT_EQ(two->GetImageCount(), 2);
    EXPECT_EQ(four->GetImage(), two->GetImage());
    EXPECT_EQ(two->GetImagePath(), strip);

    // Integer division: a 100-pixel strip of three frames has 33-pixel frames.
    Manager().ClearImgResInfo();
    Orvo::ImgResInfo* thirds = Manager().AddImgResInfo(strip, 3);
    ASSERT_NE(thirds, nullptr);
    EXPECT_EQ(thirds->frameWidth, 33);
    EXPECT_EQ(thirds->frameHeight, 20);
    // A count of 0 would divide by zero: it means one frame.
    Manager().ClearImgResInfo();
    Orvo::ImgResInfo* whole = Manager().AddImgResInfo(strip, 0);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->frameWidth, 100);
}

TEST_F(CoreResourcesTest, MissingImagesChangeNothing) {
    const wchar_t* strip = s_strip.c_str();
    auto* control = m_dialog.Add<FontControl>(1, CRect(0, 0, 10, 10));
    EXPECT_EQ(control->SetImage(L"no_such_file.png", 4), 0);
    EXPECT_EQ(control->GetImage(), nullptr);
    EXPECT_EQ(Manager().AddImgResInfo(L"no_such_file.png", 4), nullptr);
    EXPECT_EQ(Manager().AddImgResInfo(9999, L"PNG", 1, 1), nullptr);
    FontControl unattached(nullptr, 2, CRect(0, 0, 10, 10));
    EXPECT_EQ(unattached.SetImage(strip, 4), 0);
}

TEST_F(CoreResourcesTest, ToolkitResourcesLoad) {
    Orvo::ImgResInfo* scroll = Manager().AddImgResInfo(102, L"PNG", 3, 0);
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->frameWidth, 0);
    EXPECT_GT(scroll->frameHeight, 0);
    EXPECT_EQ(Manager().AddImgResInfo(102, L"PNG", 1, 0), scroll);
}

TEST_F(CoreResourcesTest, FontsAndFamilies) {
    EXPECT_EQ(Manager().FindTempFont(L"No Such Family"), nullptr);
    Gdiplus::FontFamily* tahoma = Manager().FindTempFont(L"Tahoma");
    ASSERT_NE(tahoma, nullptr);
    EXPECT_EQ(Manager().FindTempFont(L"Tahoma"), tahoma);

    auto* control = m_dialog.Add<FontControl>(1, CRect(0, 0, 10, 10));
    EXPECT_EQ(control->GetTextFont(), L"Segoe UI");
    EXPECT_EQ(control->GetFontWidth(), 14);
    control->SetFont(L"Tahoma", 18, Orvo::kFontBold);
    ASSERT_NE(control->GetFontFamily(L"Tahoma"), nullptr);
    const HFONT font = control->GetGDIFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(control->GetGDIFont(), font);
    LOGFONTW description = {};
    ASSERT_NE(::GetObjectW(font, sizeof(description), &description), 0);
    EXPECT_EQ(description.lfHeight, -18);
    EXPECT_GE(description.lfWeight, 700);
    EXPECT_EQ(std::wstring(description.lfFaceName), L"Tahoma");
    control->SetFontStyle(Orvo::kFontItalic);
    ASSERT_NE(control->GetGDIFont(), nullptr);
    EXPECT_EQ(::GetObjectW(control->GetGDIFont(), sizeof(description), &description),
              static_cast<int>(sizeof(description)));
    EXPECT_TRUE(description.lfItalic);

    // The toolkit's private font is known to GDI once a dialog is initialised.
    HDC dc = ::GetDC(m_dialog.GetSafeHwnd());
    LOGFONTW wanted = {};
    std::wcscpy(wanted.lfFaceName, L"Open Sans Semibold");
    wanted.lfCharSet = DEFAULT_CHARSET;
    bool found = false;
    ::EnumFontFamiliesExW(
        dc, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(m_dialog.GetSafeHwnd(), dc);
    EXPECT_TRUE(found);
}

TEST_F(CoreResourcesTest, CursorNamesMapToSystemCursors) {
    auto* control = m_dialog.Add<FontControl>(1, CRect(0, 0, 10, 10));
    EXPECT_EQ(control->GetCursor(), nullptr);
    control->SetCursorEx(L"hand");
    EXPECT_EQ(control->GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    control->SetCursorEx(L"Hand");
    control->SetCursorEx(nullptr);
    EXPECT_EQ(control->GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    control->SetCursorEx(Orvo::kCursorSizeWE);
    EXPECT_EQ(control->GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
}

TEST_F(CoreResourcesTest, HoveringAControlWithATooltipShowsIt) {
    auto* control = m_dialog.Add(9, CRect(10, 10, 60, 60));
    control->SetTooltip(L"Polling rate");
    m_dialog.Mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(Manager().GetTooltipCtrlID(), 9u);
    ASSERT_NE(Manager().GetToolTipWnd(), nullptr);
    wchar_t text[64] = {};
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = m_dialog.GetSafeHwnd();
    tool.uId = 1313;
    tool.lpszText = text;
    ::SendMessageW(Manager().GetToolTipWnd(), TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), L"Polling rate");

    control->ClearTooltip();
    EXPECT_EQ(Manager().GetTooltipCtrlID(), 0u);
}

TEST_F(CoreResourcesTest, MinMaxInfoUsesLimitsAndTheWorkArea) {
    Manager().SetWindowMixSize(320, 240);
    Manager().SetWindowMaxSize(800, 0);
    MINMAXINFO info = {};
    m_dialog.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT work;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(info.ptMinTrackSize.x, 320);
    EXPECT_EQ(info.ptMinTrackSize.y, 240);
    EXPECT_EQ(info.ptMaxTrackSize.x, 800);
    EXPECT_EQ(info.ptMaxPosition.x, work.left);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top);
}

TEST_F(CoreResourcesTest, LayeredDialogsPaintThroughUpdateLayeredWindow) {
    m_dialog.SetLayeredWindow(true);
    m_dialog.Add(1, CRect(10, 10, 60, 60));
    m_dialog.ShowWindow(SW_SHOWNA);
    Manager().Invalidate();
    ::UpdateWindow(m_dialog.GetSafeHwnd());
    EXPECT_NE(m_dialog.GetExStyle() & WS_EX_LAYERED, 0u);
}

}  // namespace
