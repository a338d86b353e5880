#pragma once

#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavik {

// What the server answers for one path. Every answer ends by closing the connection, which
// also delimits a body sent without a Content-Length.
struct ScriptedResponse {
    std::string statusLine = "HTTP/1.1 200 OK";
    bool sendContentLength = true;
    std::string body;
    // Body bytes sent before the connection closes; the Content-Length still announces all.
    size_t bytesBeforeClose = std::string::npos;
    // Closes with a reset instead of an orderly shutdown.
    bool reset = false;
};

struct ReceivedRequest {
    std::string requestLine;
    std::string head;  // every header line as received, CR LF separated
};

// A small HTTP/1.1 server on 127.0.0.1 with a free port, answering from a script on its own
// thread, one connection at a time.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool IsListening() const { return m_listener != INVALID_SOCKET; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::wstring Url(const std::string& path) const;
    // Paths without a script get a 404 page.
    void SetResponse(const std::string& path, ScriptedResponse response);
    std::vector<ReceivedRequest> Requests() const;

    // A loopback port on which nothing listens.
    static unsigned short ClosedPort();

private:
    void Serve();
    void Answer(SOCKET client);

    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_lock;  // guards m_responses, m_requests
    std::map<std::string, ScriptedResponse> m_responses;
    std::vector<ReceivedRequest> m_requests;
    std::thread m_thread;
};

}  // namespace tavik
