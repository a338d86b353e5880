#include "app/update/http_request.h"

#include "app/common/text_encoding.h"

namespace tavik {

namespace {

constexpr char kUserAgent[] = "IIC2.0/PC 5.5.0000";
constexpr char kRequestHeaders[] = "Accept: */*\r\n\r\n";

}  // namespace

bool HttpRequest::OpenInternet() {
    // The connection state only decides whether automatic proxy detection is worth trying.
    DWORD connectionFlags = 0;
    InternetGetConnectedState(&connectionFlags, 0);
    const DWORD accessType = (connectionFlags & INTERNET_CONNECTION_PROXY) != 0
                                 ? INTERNET_OPEN_TYPE_PRECONFIG
                                 : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    m_url.reset();
    m_internet.reset(InternetOpenA(kUserAgent, accessType, nullptr, nullptr, 0));
    return m_internet != nullptr;
}

bool HttpRequest::OpenUrl(const std::wstring& url) {
    if (!m_internet) {
        return false;
    }
    const std::string utf8Url = WideToUtf8(url);
    const DWORD flags =
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    m_url.reset(InternetOpenUrlA(m_internet.get(), utf8Url.c_str(), kRequestHeaders,
                                 static_cast<DWORD>(sizeof(kRequestHeaders) - 1), flags, 0));
    return m_url != nullptr;
}

bool HttpRequest::HasSuccessStatus() const {
    if (!m_url) {
        return false;
    }
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(m_url.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr)) {
        return false;
    }
    return status >= 200 && status <= 299;
}

bool HttpRequest::QueryContentLength(uint64_t& length) const {
    if (!m_url) {
        return false;
    }
    DWORD announced = 0;
    DWORD size = sizeof(announced);
    if (!HttpQueryInfoW(m_url.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced,
                        &size, nullptr)) {
        return false;
    }
    length = announced;
    return true;
}

bool HttpRequest::Read(void* buffer, DWORD size, DWORD& bytesRead) {
    bytesRead = 0;
    if (!m_url) {
        return false;
    }
    if (!InternetReadFile(m_url.get(), buffer, size, &bytesRead)) {
        return false;
    }
    // A misbehaving stack must not make the caller read past its buffer.
    return bytesRead <= size;
}

}  // namespace tavik
