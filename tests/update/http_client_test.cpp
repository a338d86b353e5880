#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/update/http_download.h"
#include "app/update/http_get.h"
#include "loopback_http_server.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

constexpr UINT kWorkerDoneMessage = WM_APP + 1;
const wchar_t kUnresolvableUrl[] = L"http://nonexistent.invalid/version";

// A real window that records the download progress posted to it while a worker thread runs,
// as the settings dialog and the main window receive it.
class ProgressWindow {
public:
    ProgressWindow() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &ProgressWindow::WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TavikHttpProgressTest";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"progress", WS_OVERLAPPED, 0, 0,
                                   100, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ProgressWindow() { DestroyWindow(m_window); }

    HWND Handle() const { return m_window; }

    // Runs `work` on a worker thread while this thread dispatches the window's messages, and
    // returns the progress values received, in order.
    std::vector<int> Run(const std::function<void()>& work) {
        m_values.clear();
        m_badWParam = false;
        m_done = false;
        std::thread worker([&] {
            work();
            PostMessageW(m_window, kWorkerDoneMessage, 0, 0);
        });
        MSG message;
        while (!m_done && GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        worker.join();
        EXPECT_FALSE(m_badWParam) << "progress posted with a wParam other than 0";
        return m_values;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == kDownloadProgressMessage) {
            self->m_values.push_back(static_cast<int>(lParam));
            self->m_badWParam = self->m_badWParam || wParam != 0;
            return 0;
        }
        if (self != nullptr && message == kWorkerDoneMessage) {
            self->m_done = true;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    std::vector<int> m_values;
    bool m_badWParam = false;
    bool m_done = false;
};

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Bytes of every value, zeros included, in an order no accidental copy reproduces.
std::string PackageBytes(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 0x2545F491u;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.IsListening());
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = fs::path(temp) / (L"tavik-http-test-" + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(m_folder);
        ASSERT_TRUE(fs::create_directories(m_folder));
        m_target = m_folder / L"mouse_1.2.3_fota.zip";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    fs::path PartialPath() const { return m_target.wstring() + CHttpDownload::kPartialSuffix; }

    LoopbackHttpServer m_server;
    fs::path m_folder;
    fs::path m_target;
};

TEST_F(HttpClientTest, FetchReturnsTheVersionTextAsSentWithTheRequestAsSpecified) {
    const struct {
        const char* name;
        std::string body;
        bool contentLength;
        std::wstring expected;
    } cases[] = {
        {"plain", "1.2.10", true, L"1.2.10"},
        {"trailing line break kept", "1.0.3\r\n", true, L"1.0.3\r\n"},
        {"cut at the first zero byte", std::string("2.0\0tail", 8), true, L"2.0"},
        {"utf-8", "v1.2 \xE6\xB5\x8B\xE8\xAF\x95", true, L"v1.2 \x6D4B\x8BD5"},
        {"no length, 0 bytes", "", false, L""},
        {"no length, 2 bytes", "1.", false, L"1."},
        {"no length, 8 bytes", "1.2.3.45", false, L"1.2.3.45"},
        {"no length, 10 bytes", "10.20.3045", false, L"10.20.3045"},
        {"no length, 100 bytes", std::string(100, '7'), false, std::wstring(100, L'7')},
    };
    for (const auto& c : cases) {
        ScriptedResponse response;
        response.body = c.body;
        response.sendContentLength = c.contentLength;
        m_server.SetResponse("/firmware-upgrade//mouse_version", response);
        std::wstring text = L"previous";
        CHttpGet get;
        EXPECT_EQ(get.Fetch(m_server.Url("/firmware-upgrade//mouse_version"), text), 1) << c.name;
        EXPECT_EQ(text, c.expected) << c.name;
    }

    const auto requests = m_server.Requests();
    ASSERT_FALSE(requests.empty());
    // The doubled slash of the firmware version paths reaches the server unchanged.
    EXPECT_EQ(requests[0].requestLine, "GET /firmware-upgrade//mouse_version HTTP/1.1");
    EXPECT_NE(requests[0].head.find("User-Agent: IIC2.0/PC 5.5.0000\r\n"), std::string::npos)
        << requests[0].head;
    EXPECT_NE(requests[0].head.find("Accept: */*\r\n"), std::string::npos) << requests[0].head;
    EXPECT_NE(requests[0].head.find("Pragma: no-cache\r\n"), std::string::npos) << requests[0].head;
}

TEST_F(HttpClientTest, FetchFailsWithoutTouchingTheTextWhenNoCompleteGoodBodyArrives) {
    ScriptedResponse notFound;
    notFound.statusLine = "HTTP/1.1 404 Not Found";
    notFound.body = "1.0";  // short enough to pass for a version if it were taken
    ScriptedResponse serverError;
    serverError.statusLine = "HTTP/1.1 500 Internal Server Error";
    serverError.body = "<html>error</html>";
    ScriptedResponse closedMidBody;
    closedMidBody.body = "1.2.3.4.5.6";
    closedMidBody.bytesBeforeClose = 4;
    ScriptedResponse resetMidBody = closedMidBody;
    resetMidBody.reset = true;
    ScriptedResponse oversized;
    oversized.body = std::string(CHttpGet::kMaxTextBytes + 1, '9');
    oversized.sendContentLength = false;
    m_server.SetResponse("/404", notFound);
    m_server.SetResponse("/500", serverError);
    m_server.SetResponse("/closed", closedMidBody);
    m_server.SetResponse("/reset", resetMidBody);
    m_server.SetResponse("/oversized", oversized);

    const struct {
        const char* name;
        std::wstring url;
    } cases[] = {
        {"404 with a version-like page", m_server.Url("/404")},
        {"500", m_server.Url("/500")},
        {"closed mid-body", m_server.Url("/closed")},
        {"reset mid-body", m_server.Url("/reset")},
        {"over the size limit", m_server.Url("/oversized")},
        {"unresolvable host", kUnresolvableUrl},
        {"refused port",
         L"http://127.0.0.1:" + std::to_wstring(LoopbackHttpServer::ClosedPort()) + L"/version"},
    };
    for (const auto& c : cases) {
        std::wstring text = L"previous";
        CHttpGet get;
        EXPECT_EQ(get.Fetch(c.url, text), -1) << c.name;
        EXPECT_EQ(text, L"previous") << c.name;
    }
}

TEST_F(HttpClientTest, DownloadOfSeveralMegabytesArrivesIntactWithEveryProgressStep) {
    // 292 whole pieces and a short last one: the progress climbs by at most one per piece.
    const std::string package = PackageBytes(3000000);
    ScriptedResponse response;
    response.body = package;
    m_server.SetResponse("/firmware///mouse_1.2.3_fota.zip", response);
    WriteFileBytes(m_target, std::string(4000000, 'x'));  // an older, longer download

    ProgressWindow window;
    CHttpDownload download;
    int result = 0;
    const std::vector<int> progress = window.Run([&] {
        result = download.Download(m_server.Url("/firmware///mouse_1.2.3_fota.zip"),
                                   m_target.wstring(), window.Handle());
    });

    EXPECT_EQ(result, 1);
    EXPECT_TRUE(ReadFileBytes(m_target) == package) << "file differs from the package";
    EXPECT_FALSE(fs::exists(PartialPath()));
    std::vector<int> expected = {2, 8};
    for (int value = 10; value <= 100; ++value) {
        expected.push_back(value);
    }
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(m_server.Requests().back().requestLine,
              "GET /firmware///mouse_1.2.3_fota.zip HTTP/1.1");
}

TEST_F(HttpClientTest, DownloadProgressCountsReadsAndPassesOneHundredBeforeTheEnd) {
    // Nine whole pieces announced, ten read: the last per-piece value is 110, then 100.
    ScriptedResponse response;
    response.body = PackageBytes(100000);
    m_server.SetResponse("/package.zip", response);

    ProgressWindow window;
    CHttpDownload download;
    int result = 0;
    const std::vector<int> progress = window.Run([&] {
        result =
            download.Download(m_server.Url("/package.zip"), m_target.wstring(), window.Handle());
    });

    EXPECT_EQ(result, 1);
    EXPECT_TRUE(ReadFileBytes(m_target) == response.body);
    EXPECT_EQ(progress,
              (std::vector<int>{2, 8, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 100}));
}

TEST_F(HttpClientTest, DownloadWithoutContentLengthPostsOnlyTheFixedSteps) {
    for (size_t size : {0u, 2u, 8u, 10u, 100u}) {
        ScriptedResponse response;
        response.body = PackageBytes(size);
        response.sendContentLength = false;
        m_server.SetResponse("/package.zip", response);

        ProgressWindow window;
        CHttpDownload download;
        int result = 0;
        const std::vector<int> progress = window.Run([&] {
            result = download.Download(m_server.Url("/package.zip"), m_target.wstring(),
                                       window.Handle());
        });

        EXPECT_EQ(result, 1) << size;
        EXPECT_TRUE(fs::exists(m_target)) << size;
        EXPECT_TRUE(ReadFileBytes(m_target) == response.body) << size;
        EXPECT_EQ(progress, (std::vector<int>{2, 8, 10, 100})) << size;
    }
}

TEST_F(HttpClientTest, ReusedDownloaderStartsAgainFromZero) {
    ScriptedResponse response;
    response.body = "PK";
    response.sendContentLength = false;
    m_server.SetResponse("/package.zip", response);

    ProgressWindow window;
    CHttpDownload download;
    const auto run = [&] {
        return window.Run([&] {
            EXPECT_EQ(download.Download(m_server.Url("/package.zip"), m_target.wstring(),
                                        window.Handle()),
                      1);
        });
    };
    EXPECT_EQ(run(), (std::vector<int>{2, 8, 10, 100}));
    EXPECT_EQ(run(), (std::vector<int>{0, 2, 8, 10, 100}));

    // Without a window nothing is posted and the last value posted stays 100.
    EXPECT_EQ(download.Download(m_server.Url("/package.zip"), m_target.wstring(), nullptr), 1);
    EXPECT_EQ(run(), (std::vector<int>{0, 2, 8, 10, 100}));
}

TEST_F(HttpClientTest, FailedDownloadLeavesNoFileUnderEitherName) {
    ScriptedResponse notFound;
    notFound.statusLine = "HTTP/1.1 404 Not Found";
    notFound.body = "<html><body>Not Found</body></html>";
    ScriptedResponse closedMidBody;
    closedMidBody.body = PackageBytes(50000);
    closedMidBody.bytesBeforeClose = 20000;
    ScriptedResponse resetMidBody = closedMidBody;
    resetMidBody.reset = true;
    m_server.SetResponse("/404", notFound);
    m_server.SetResponse("/closed", closedMidBody);
    m_server.SetResponse("/reset", resetMidBody);
    ScriptedResponse good;
    good.body = PackageBytes(30000);
    m_server.SetResponse("/good", good);

    const std::wstring refusedUrl =
        L"http://127.0.0.1:" + std::to_wstring(LoopbackHttpServer::ClosedPort()) + L"/p.zip";
    const struct {
        const char* name;
        std::wstring url;
        fs::path target;
        std::vector<int> progressStart;  // the values posted first, in order
        bool serverReached;              // the old target is deleted only then
    } cases[] = {
        {"404", m_server.Url("/404"), m_target, {2, 8}, true},
        {"closed mid-body", m_server.Url("/closed"), m_target, {2, 8, 10}, true},
        {"reset mid-body", m_server.Url("/reset"), m_target, {2, 8, 10}, true},
        {"unresolvable host", kUnresolvableUrl, m_target, {2}, false},
        {"refused port", refusedUrl, m_target, {2}, false},
        {"target folder missing",
         m_server.Url("/good"),
         m_folder / L"missing" / L"p.zip",
         {2, 8},
         true},
    };
    for (const auto& c : cases) {
        WriteFileBytes(c.target, "old package");
        ProgressWindow window;
        CHttpDownload download;
        int result = 0;
        const std::vector<int> progress = window.Run(
            [&] { result = download.Download(c.url, c.target.wstring(), window.Handle()); });

        EXPECT_EQ(result, -1) << c.name;
        ASSERT_GE(progress.size(), c.progressStart.size()) << c.name;
        EXPECT_TRUE(std::equal(c.progressStart.begin(), c.progressStart.end(), progress.begin()))
            << c.name;
        EXPECT_NE(progress.back(), 100) << c.name;
        if (c.serverReached) {
            EXPECT_FALSE(fs::exists(c.target)) << c.name;
        } else {
            EXPECT_EQ(ReadFileBytes(c.target), "old package") << c.name;
        }
        EXPECT_FALSE(fs::exists(c.target.wstring() + CHttpDownload::kPartialSuffix)) << c.name;
    }
}

}  // namespace
}  // namespace tavik
