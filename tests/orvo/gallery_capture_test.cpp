// The gallery as a person sees it: orvo-gallery.exe draws itself off-screen with the skins
// beside it, and the picture is compared with the golden one.

#include <gtest/gtest.h>

#include <string>

#include "orvo/render.h"
#include "render_test_support.h"

namespace Orvo {
namespace {

// The gallery photographs itself with the pointer resting on its reset button: that
// button hot, its tooltip open below it, and the overlay progress at 65 %. Exit status 0
// says the tooltip and the progress both showed before the picture was taken.
TEST(Gallery, CaptureMatchesTheGoldenPicture) {
    const std::wstring exe = RenderTest::WindowsPath(TAVIK_OUTPUT_DIR) + L"\\orvo-gallery.exe";
    const std::wstring capture = L"gallery_capture.png";
    ::DeleteFileW(capture.c_str());
    std::wstring command = L"\"" + exe + L"\" --capture " + capture;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process));
    ASSERT_EQ(::WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ASSERT_NE(exitCode, 1u) << "no picture was written";
    EXPECT_EQ(exitCode, 0u) << "the tooltip or the progress never showed";

    Gdiplus::Bitmap picture(capture.c_str());
    ASSERT_EQ(picture.GetLastStatus(), Gdiplus::Ok);
    MemoryCanvas canvas(static_cast<int>(picture.GetWidth()),
                        static_cast<int>(picture.GetHeight()));
    ASSERT_TRUE(canvas.IsValid());
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            Gdiplus::Color colour;
            picture.GetPixel(x, y, &colour);
            canvas.SetPixel(x, y, colour.GetValue());
        }
    }
    // The caption title and the Chinese line really carry text.
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{450, 12, 640, 40}, 0x14171C), 150);
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{412, 290, 590, 318}, 0x1C2027), 100);
    // The light tooltip under the reset button; the card there is dark.
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{505, 176, 630, 200}, 0x1C2027), 1500);
    // The progress bar runs along the overlay's bottom edge up to 65 %.
    const DWORD barStart = canvas.GetPixel(710, 312) & 0xFFFFFF;
    const DWORD pastEnd = canvas.GetPixel(950, 312) & 0xFFFFFF;
    EXPECT_NE(barStart, pastEnd);
    const std::string problem = RenderTest::CompareWithGolden(canvas, L"gallery.png", 24);
    EXPECT_TRUE(problem.empty()) << problem;
}

}  // namespace
}  // namespace Orvo
