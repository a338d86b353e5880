// The factory-reset question as the user sees it, in English and in Chinese, compared with
// the committed pictures in tests/data/services (TAVIK_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "../orvo/render_test_support.h"
#include "app/services/language_text.h"
#include "app/services/ui_message_box.h"
#include "orvo/manager.h"

namespace {

// The screen under the window, as shown.
std::unique_ptr<Gdiplus::Bitmap> CaptureWindow(HWND window) {
    RECT bounds;
    if (!::GetWindowRect(window, &bounds)) {
        return nullptr;
    }
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    Orvo::MemoryCanvas canvas(width, height);
    if (!canvas.IsValid()) {
        return nullptr;
    }
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.GetDC(), 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    ::GdiFlush();
    return RenderTest::CanvasToBitmap(canvas);
}

// Empty when every pixel's channels are within `tolerance` of the golden picture.
std::string CompareWithPicture(Gdiplus::Bitmap& actual, const std::wstring& goldenPath,
                               int tolerance) {
    const char* update = std::getenv("TAVIK_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        return RenderTest::SavePng(actual, goldenPath) ? "" : "the golden could not be written";
    }
    Gdiplus::Bitmap golden(goldenPath.c_str());
    if (golden.GetLastStatus() != Gdiplus::Ok || golden.GetWidth() != actual.GetWidth() ||
        golden.GetHeight() != actual.GetHeight()) {
        RenderTest::SavePng(actual, L"message_box.actual.png");
        return "the golden is missing or of another size (message_box.actual.png written)";
    }
    int differing = 0;
    for (UINT y = 0; y < actual.GetHeight(); ++y) {
        for (UINT x = 0; x < actual.GetWidth(); ++x) {
            Gdiplus::Color a;
            Gdiplus::Color g;
            actual.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &a);
            golden.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &g);
            if (std::abs(a.GetR() - g.GetR()) > tolerance ||
                std::abs(a.GetG() - g.GetG()) > tolerance ||
                std::abs(a.GetB() - g.GetB()) > tolerance) {
                ++differing;
            }
        }
    }
    if (differing == 0) {
        return "";
    }
    RenderTest::SavePng(actual, L"message_box.actual.png");
    return std::to_string(differing) + " pixels differ (message_box.actual.png written)";
}

// Pumps what is queued, then lets the window's timers and paints run a few rounds.
void LetItPaint() {
    for (int round = 0; round < 30; ++round) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}

std::unique_ptr<Gdiplus::Bitmap> g_picture;

void CALLBACK CaptureOpenBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = ::FindWindowW(tavik::kMessageBoxWindowClass, tavik::kMessageBoxWindowTitle);
    if (box == nullptr || !::IsWindowVisible(box)) {
        return;
    }
    ::KillTimer(nullptr, timer);
    LetItPaint();
    g_picture = CaptureWindow(box);
    tavik::CloseMessageBoxes();
}

TEST(MessageBoxPicture, TheFactoryResetQuestionInBothLanguages) {
    Orvo::Manager::InitGdiplus();
    Orvo::Manager::SetInstance(::GetModuleHandleW(nullptr));
    for (int language : {1033, 2052}) {
        SCOPED_TRACE(language);
        tavik::SetCurrentLanguage(language);
        Orvo::Manager::SetLanguage(language);
        g_picture.reset();
        ::SetTimer(nullptr, 0, 20, &CaptureOpenBox);
        EXPECT_EQ(
            tavik::ShowMessageBox(tavik::GetLanguageText(571), nullptr, tavik::GetLanguageText(570),
                                  tavik::kMessageBoxStyleQuestion),
            tavik::kMessageBoxDeclined);
        ASSERT_NE(g_picture, nullptr);
        const std::wstring golden = RenderTest::WindowsPath(TAVIK_SOURCE_DIR) +
                                    L"\\tests\\data\\services\\message_box_" +
                                    std::to_wstring(language) + L".png";
        const std::string problem = CompareWithPicture(*g_picture, golden, 24);
        EXPECT_TRUE(problem.empty()) << problem;
    }
}

}  // namespace
