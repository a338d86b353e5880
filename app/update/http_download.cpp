#include "app/update/http_download.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "app/update/http_request.h"

namespace tavik {

namespace {

constexpr DWORD kPieceBytes = 10240;

struct FileHandleCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = std::unique_ptr<void, FileHandleCloser>;

// The partial file is removed on every failure after it was created.
class PartialFile {
public:
    explicit PartialFile(std::wstring path) : m_path(std::move(path)) {}
    ~PartialFile() {
        m_file.reset();
        if (m_created && !m_kept) {
            DeleteFileW(m_path.c_str());
        }
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    bool Create() {
        HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        m_file.reset(file);
        m_created = true;
        return true;
    }

    bool Write(const void* bytes, DWORD size) {
        DWORD written = 0;
        return WriteFile(m_file.get(), bytes, size, &written, nullptr) && written == size;
    }

    // Closes the file and gives it the target name, replacing whatever is there.
    bool MoveTo(const std::wstring& targetPath) {
        m_file.reset();
        if (!MoveFileExW(m_path.c_str(), targetPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return false;
        }
        m_kept = true;
        return true;
    }

private:
    std::wstring m_path;
    FileHandle m_file;
    bool m_created = false;
    bool m_kept = false;
};

}  // namespace

void CHttpDownload::PostProgress(HWND progressWindow, int value) {
    if (progressWindow == nullptr || value == m_lastProgress) {
        return;
    }
    PostMessageW(progressWindow, kDownloadProgressMessage, 0, value);
    m_lastProgress = value;
}

int CHttpDownload::Download(const std::wstring& url, const std::wstring& targetPath,
                            HWND progressWindow) {
    m_running = true;
    PostProgress(progressWindow, 0);
    HttpRequest request;
    if (!request.OpenInternet()) {
        return kNoInternet;
    }
    PostProgress(progressWindow, 2);
    if (!request.OpenUrl(url)) {
        return kFailed;
    }
    PostProgress(progressWindow, 8);

    // The old file goes first, whatever becomes of this download.
    DeleteFileW(targetPath.c_str());
    if (!request.HasSuccessStatus()) {
        return kFailed;
    }
    PartialFile partial(targetPath + kPartialSuffix);
    if (!partial.Create()) {
        return kFailed;
    }

    uint64_t announced = 0;
    const bool hasLength = request.QueryContentLength(announced);
    const uint64_t pieces = hasLength ? announced / kPieceBytes : 0;
    PostProgress(progressWindow, 10);

    std::vector<char> piece(kPieceBytes);
    uint64_t received = 0;
    uint64_t progressSum = 0;
    for (;;) {
        DWORD bytesRead = 0;
        if (!request.Read(piece.data(), kPieceBytes, bytesRead)) {
            return kFailed;
        }
        if (bytesRead == 0) {
            break;
        }
        // A package with a hole or a missing tail is worse than none.
        if (!partial.Write(piece.data(), bytesRead)) {
            return kFailed;
        }
        received += bytesRead;
        progressSum += 90;
        if (pieces != 0) {
            PostProgress(progressWindow, static_cast<int>(progressSum / pieces + 10));
        }
    }

    // A connection that drops mid-body ends the reads as quietly as a complete body does.
    if (hasLength && received < announced) {
        return kFailed;
    }
    if (!partial.MoveTo(targetPath)) {
        return kFailed;
    }
    PostProgress(progressWindow, 100);
    return kCompleted;
}

}  // namespace tavik
