#include "loopback_http_server.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace tavik {

namespace {

constexpr size_t kMaxRequestHead = 64 * 1024;

bool SendAll(SOCKET socket, const char* bytes, size_t size) {
    while (size > 0) {
        const int chunk = static_cast<int>(std::min<size_t>(size, 64 * 1024));
        const int sent = send(socket, bytes, chunk, 0);
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

SOCKET ListenOnLoopback(unsigned short& port) {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        return INVALID_SOCKET;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, SOMAXCONN) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return listener;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return;
    }
    m_listener = ListenOnLoopback(m_port);
    if (m_listener != INVALID_SOCKET) {
        m_thread = std::thread([this] { Serve(); });
    }
}

LoopbackHttpServer::~LoopbackHttpServer() {
    m_stopping = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_listener != INVALID_SOCKET) {
        closesocket(m_listener);
    }
    WSACleanup();
}

std::wstring LoopbackHttpServer::Url(const std::string& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + std::wstring(path.begin(), path.end());
}

void LoopbackHttpServer::SetResponse(const std::string& path, ScriptedResponse response) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_responses[path] = std::move(response);
}

std::vector<ReceivedRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

unsigned short LoopbackHttpServer::ClosedPort() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return 0;
    }
    unsigned short port = 0;
    SOCKET probe = ListenOnLoopback(port);
    if (probe != INVALID_SOCKET) {
        closesocket(probe);
    }
    WSACleanup();
    return port;
}

void LoopbackHttpServer::Serve() {
    while (!m_stopping) {
        // A short wait keeps the thread responsive to the destructor without a busy loop.
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait = {0, 20 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) {
            continue;
        }
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            continue;
        }
        Answer(client);
    }
}

void LoopbackHttpServer::Answer(SOCKET client) {
    DWORD timeoutMs = 5000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
               sizeof(timeoutMs));
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestHead) {
        const int received = recv(client, buffer, sizeof(buffer), 0);
        if (received <= 0) {
            closesocket(client);
            return;
        }
        head.append(buffer, static_cast<size_t>(received));
    }
    ReceivedRequest request;
    const size_t lineEnd = head.find("\r\n");
    request.requestLine = head.substr(0, lineEnd);
    request.head = head.substr(lineEnd + 2);
    // "GET <path> HTTP/1.1"
    const size_t pathStart = request.requestLine.find(' ') + 1;
    const size_t pathEnd = request.requestLine.find(' ', pathStart);
    const std::string path = request.requestLine.substr(pathStart, pathEnd - pathStart);

    ScriptedResponse response;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_requests.push_back(request);
        const auto found = m_responses.find(path);
        if (found != m_responses.end()) {
            response = found->second;
        } else {
            response.statusLine = "HTTP/1.1 404 Not Found";
            response.body = "<html><body>Not Found</body></html>";
        }
    }

    std::string reply = response.statusLine + "\r\nContent-Type: application/octet-stream\r\n";
    if (response.sendContentLength) {
        reply += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    }
    reply += "Connection: close\r\n\r\n";
    const size_t bodyBytes = std::min(response.bytesBeforeClose, response.body.size());
    if (SendAll(client, reply.data(), reply.size())) {
        SendAll(client, response.body.data(), bodyBytes);
    }
    if (response.reset) {
        linger abortive = {1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
                   sizeof(abortive));
    } else {
        // The whole request head was read, so this close is an orderly one, not a reset.
        shutdown(client, SD_SEND);
    }
    closesocket(client);
}

}  // namespace tavik
