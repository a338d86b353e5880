#include "app/update/http_get.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/update/http_request.h"

namespace tavik {

namespace {

constexpr DWORD kPieceBytes = 10240;

}  // namespace

int CHttpGet::Fetch(const std::wstring& url, std::wstring& text) {
    m_running = true;
    HttpRequest request;
    if (!request.OpenInternet()) {
        return kNoInternet;
    }
    if (!request.OpenUrl(url) || !request.HasSuccessStatus()) {
        return kFailed;
    }

    std::string body;
    std::vector<char> piece(kPieceBytes);
    for (;;) {
        DWORD bytesRead = 0;
        if (!request.Read(piece.data(), kPieceBytes, bytesRead)) {
            return kFailed;
        }
        if (bytesRead == 0) {
            break;
        }
        if (bytesRead > kMaxTextBytes - body.size()) {
            return kFailed;
        }
        body.append(piece.data(), bytesRead);
    }

    // A connection that drops mid-body ends the reads as quietly as a complete body does.
    uint64_t announced = 0;
    if (request.QueryContentLength(announced) && body.size() < announced) {
        return kFailed;
    }

    const size_t end = body.find('\0');
    text = Utf8ToWide(std::string_view(body).substr(0, end));
    return kCompleted;
}

}  // namespace tavik
