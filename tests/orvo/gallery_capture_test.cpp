// The gallery as a person sees it: orvo-gallery.exe draws itself off-screen with the skins
// beside it, and the picture is compared with the golden one.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orvo/render.h"
#include "render_test_support.h"

namespace Orvo {
namespace {

// The gallery photographs itself with the pointer resting on its reset button: that
// button hot, its tooltip open below it, and the overlay progress at 65 %. Exit status 0
// says the tooltip and the progress both showed before the picture was taken.
// Runs orvo-gallery.exe with the arguments and returns its exit status (~0u when it could
// not start or did not end within a minute).
DWORD RunGallery(const std::wstring& arguments) {
    const std::wstring exe = RenderTest::WindowsPath(TAVIK_OUTPUT_DIR) + L"\\orvo-gallery.exe";
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return ~0u;
    }
    DWORD exitCode = ~0u;
    if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exitCode;
}

// The PNG file copied into a canvas; an invalid canvas when it cannot be read.
std::unique_ptr<MemoryCanvas> LoadPicture(const std::wstring& path) {
    Gdiplus::Bitmap picture(path.c_str());
    if (picture.GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    auto canvas = std::make_unique<MemoryCanvas>(static_cast<int>(picture.GetWidth()),
                                                 static_cast<int>(picture.GetHeight()));
    if (!canvas->IsValid()) {
        return nullptr;
    }
    for (int y = 0; y < canvas->Height(); ++y) {
        for (int x = 0; x < canvas->Width(); ++x) {
            Gdiplus::Color colour;
            picture.GetPixel(x, y, &colour);
            canvas->SetPixel(x, y, colour.GetValue());
        }
    }
    return canvas;
}

TEST(Gallery, CaptureMatchesTheGoldenPicture) {
    const std::wstring capture = L"gallery_capture.png";
    ::DeleteFileW(capture.c_str());
    const DWORD exitCode = RunGallery(L"--capture " + capture);
    ASSERT_NE(exitCode, ~0u) << "the gallery did not start or did not end";
    ASSERT_NE(exitCode, 1u) << "no picture was written";
    EXPECT_EQ(exitCode, 0u) << "the tooltip or the progress never showed";

    std::unique_ptr<MemoryCanvas> picture = LoadPicture(capture);
    ASSERT_NE(picture, nullptr);
    MemoryCanvas& canvas = *picture;
    // The caption title and the Chinese line really carry text.
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{450, 12, 640, 40}, Orvo::Argb(0xFF14171C)), 150);
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{412, 290, 590, 318}, Orvo::Argb(0xFF1C2027)), 100);
    // The light tooltip under the reset button; the card there is dark.
    EXPECT_GT(RenderTest::CountInk(canvas, RECT{505, 176, 630, 200}, Orvo::Argb(0xFF1C2027)), 1500);
    // The progress bar runs along the overlay's bottom edge up to 65 %.
    const DWORD barStart = canvas.GetPixel(710, 312) & 0xFFFFFF;
    const DWORD pastEnd = canvas.GetPixel(950, 312) & 0xFFFFFF;
    EXPECT_NE(barStart, pastEnd);
    const std::string problem = RenderTest::CompareWithGolden(canvas, L"gallery.png", 24);
    EXPECT_TRUE(problem.empty()) << problem;
}

// Every family page of the gallery, photographed as it first paints, matches its golden
// picture "families\\<family>.png".
TEST(Gallery, EachFamilyPageMatchesItsGoldenPicture) {
    const std::wstring listPath = L"gallery_families.txt";
    ::DeleteFileW(listPath.c_str());
    ASSERT_EQ(RunGallery(L"--list-families " + listPath), 0u);
    std::vector<std::wstring> families;
    {
        HANDLE file = ::CreateFileW(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        char buffer[4096];
        DWORD read = 0;
        const BOOL ok = ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
        ::CloseHandle(file);
        ASSERT_TRUE(ok);
        std::wstring name;
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] == '\n') {
                families.push_back(name);
                name.clear();
            } else {
                name += static_cast<wchar_t>(buffer[i]);
            }
        }
    }
    if (families.empty()) {
        GTEST_SKIP() << "the gallery has no family pages yet";
    }
    for (const std::wstring& family : families) {
        SCOPED_TRACE(std::string(family.begin(), family.end()));
        const std::wstring capture = L"gallery_family_" + family + L".png";
        ::DeleteFileW(capture.c_str());
        ASSERT_EQ(RunGallery(L"--family " + family + L" --capture " + capture), 0u);
        std::unique_ptr<MemoryCanvas> picture = LoadPicture(capture);
        ASSERT_NE(picture, nullptr);
        const std::wstring golden = L"families\\" + family + L".png";
        const std::string problem = RenderTest::CompareWithGolden(*picture, golden.c_str(), 24);
        EXPECT_TRUE(problem.empty()) << problem;
    }
}

}  // namespace
}  // namespace Orvo
