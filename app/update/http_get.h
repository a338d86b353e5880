#pragma once

#include <string>

namespace tavik {

// Fetches a short text file, such as a version number, into memory. Blocks the calling thread
// for the whole transfer, so it runs on a worker, never on the UI thread.
class CHttpGet {
public:
    // Results of Fetch.
    static constexpr int kCompleted = 1;
    static constexpr int kNoInternet = 0;
    static constexpr int kFailed = -1;

    // A text body larger than this is no version file; the fetch fails rather than keep
    // whatever a hostile server sends in memory.
    static constexpr size_t kMaxTextBytes = 1024 * 1024;

    // Fetches `url` and decodes the body as UTF-8 up to its first zero byte into `text`.
    // Returns 1 on success; 0 when no Internet handle can be opened; -1 when the URL cannot be
    // opened, a read fails, the server answers with a status other than 2xx, the body ends
    // before its announced length, or it exceeds kMaxTextBytes. On failure `text` is unchanged.
    int Fetch(const std::wstring& url, std::wstring& text);

private:
    // Set when a fetch starts. Nothing stops a transfer once begun, so nothing reads it yet.
    bool m_running = false;
};

}  // namespace tavik
