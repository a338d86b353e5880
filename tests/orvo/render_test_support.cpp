#include "render_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace RenderTest {
namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

const ::testing::Environment* const g_gdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

bool PngEncoder(CLSID* clsid) {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) {
        return false;
    }
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

int ChannelDistance(DWORD a, DWORD b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int difference =
            static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        worst = std::max(worst, difference < 0 ? -difference : difference);
    }
    return worst;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

}  // namespace

std::wstring WindowsPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return path;
}

std::wstring SkinFolder() {
    return WindowsPath(TAVIK_OUTPUT_DIR) + L"\\skins\\theme1\\";
}

std::wstring GoldenPath(const wchar_t* name) {
    return WindowsPath(TAVIK_SOURCE_DIR) + L"\\tests\\data\\orvo\\" + name;
}

bool SavePng(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
    CLSID png;
    return PngEncoder(&png) && bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

std::unique_ptr<Gdiplus::Bitmap> CanvasToBitmap(const Orvo::MemoryCanvas& canvas) {
    auto bitmap =
        std::make_unique<Gdiplus::Bitmap>(canvas.Width(), canvas.Height(), PixelFormat32bppARGB);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            bitmap->SetPixel(x, y, Gdiplus::Color(0xFF000000 | canvas.GetPixel(x, y)));
        }
    }
    return bitmap;
}

std::string CompareWithGolden(const Orvo::MemoryCanvas& canvas, const wchar_t* name,
                              int tolerance) {
    std::unique_ptr<Gdiplus::Bitmap> actual = CanvasToBitmap(canvas);
    const std::wstring goldenPath = GoldenPath(name);
    const char* update = std::getenv("TAVIK_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        return SavePng(*actual, goldenPath) ? "" : "cannot write " + Narrow(goldenPath);
    }
    std::string problem;
    Gdiplus::Bitmap golden(goldenPath.c_str());
    const bool loaded = golden.GetLastStatus() == Gdiplus::Ok;
    if (!loaded) {
        problem = "no golden image " + Narrow(goldenPath);
    } else if (static_cast<int>(golden.GetWidth()) != canvas.Width() ||
               static_cast<int>(golden.GetHeight()) != canvas.Height()) {
        problem = "golden image has another size";
    }
    Gdiplus::Bitmap diff(canvas.Width(), canvas.Height(), PixelFormat32bppARGB);
    int differing = 0;
    if (problem.empty()) {
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                Gdiplus::Color expected;
                golden.GetPixel(x, y, &expected);
                const DWORD got = canvas.GetPixel(x, y);
                const bool same = ChannelDistance(expected.GetValue(), got) <= tolerance;
                differing += same ? 0 : 1;
                diff.SetPixel(x, y, Gdiplus::Color(same ? 0xFF202020 : 0xFFFF00FF));
            }
        }
        if (differing > 0) {
            problem =
                std::to_string(differing) + " pixels differ beyond " + std::to_string(tolerance);
        }
    }
    if (!problem.empty()) {
        const std::wstring stem = std::wstring(name).substr(0, std::wstring(name).size() - 4);
        SavePng(*actual, stem + L".actual.png");
        if (loaded) {
            SavePng(diff, stem + L".diff.png");
        }
        problem += " (see " + Narrow(stem) + ".actual.png and .diff.png in the test folder)";
    }
    return problem;
}

int CountInk(const Orvo::MemoryCanvas& canvas, const RECT& rect, Orvo::Argb background) {
    int ink = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (ChannelDistance(canvas.GetPixel(x, y), background.Value()) > 60) {
                ++ink;
            }
        }
    }
    return ink;
}

}  // namespace RenderTest
