#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <memory>
#include <string>

namespace tavik {

// One HTTP GET through WinINet, as both update clients make it: the Internet handle and the
// URL handle belong to the request and are closed when it goes away, URL handle first.
class HttpRequest {
public:
    // Opens the Internet handle, through the proxy when the machine connects through one.
    bool OpenInternet();
    // Opens the URL (UTF-16, sent as UTF-8), always from the server, never from the cache.
    bool OpenUrl(const std::wstring& url);
    // True when the server answered with a 2xx status. An error page must never pass for the
    // file that was asked for, and neither may a response whose status cannot be read.
    bool HasSuccessStatus() const;
    // The Content-Length the server announced; false when it announced none.
    bool QueryContentLength(uint64_t& length) const;
    // Reads up to `size` bytes of the body; 0 bytes read with true means the body ended.
    bool Read(void* buffer, DWORD size, DWORD& bytesRead);

private:
    struct InternetHandleCloser {
        void operator()(void* handle) const { InternetCloseHandle(handle); }
    };
    using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

    // Declared in this order so that the URL handle is closed before the Internet handle.
    InternetHandle m_internet;
    InternetHandle m_url;
};

}  // namespace tavik
