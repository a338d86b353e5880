#pragma once

#include <windows.h>

#include <string>

namespace tavik {

// Posted to the progress window with wParam 0 and the progress value in lParam.
constexpr UINT kDownloadProgressMessage = 1690;

// Downloads a package into a file and reports progress to a window. Blocks the calling thread
// for the whole transfer, so it runs on a worker, never on the UI thread.
//
// The body is written to the target path with kPartialSuffix appended and renamed to the
// target only once it is complete, so a failed or interrupted download never leaves a file
// under the target name.
class CHttpDownload {
public:
    // Results of Download.
    static constexpr int kCompleted = 1;
    static constexpr int kNoInternet = 0;
    static constexpr int kFailed = -1;

    static constexpr wchar_t kPartialSuffix[] = L".part";

    // Deletes `targetPath`, then downloads `url` into it. Progress goes to `progressWindow`
    // when it is not null: 0 (unless 0 was the last value posted), 2 with the Internet handle
    // open, 8 with the URL open, 10 before the body, then per piece read "90 per piece over the
    // announced number of whole pieces, plus 10" while a length is announced, and 100 at the
    // end; a value equal to the last one posted is not posted again. The per-piece value
    // counts reads, so it can pass 100 before the final 100.
    // Returns 1 on success; 0 when no Internet handle can be opened; -1 when the URL cannot be
    // opened, the server answers with a status other than 2xx, the file cannot be created or
    // written, a read fails, or the body ends before its announced length.
    int Download(const std::wstring& url, const std::wstring& targetPath, HWND progressWindow);

private:
    void PostProgress(HWND progressWindow, int value);

    // Set when a download starts. Nothing stops a transfer once begun, so nothing reads it yet.
    bool m_running = false;
    int m_lastProgress = 0;
};

}  // namespace tavik
