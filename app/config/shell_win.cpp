#include <windows.h>

#include <shellapi.h>

#include <cstring>

#include "app/config/shell.h"

namespace tavik {
namespace {

// ShellExecuteW reports success with a value above 32.
constexpr INT_PTR kShellExecuteSucceeded = 32;
// Another program may hold the clipboard for a moment; a few short tries ride that out.
constexpr int kClipboardTries = 5;
constexpr DWORD kClipboardRetryMs = 10;
// What a copy of the clipboard may take; beyond it nothing is kept.
constexpr size_t kMaxSavedClipboardBytes = 64u << 20;

bool ShellOpen(const std::wstring& target) {
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > kShellExecuteSucceeded;
}

// Formats whose data is a GDI or other handle rather than global memory cannot be copied
// byte for byte; their memory equivalents (the DIB of a bitmap) are.
bool IsMemoryFormat(UINT format) {
    switch (format) {
        case CF_BITMAP:
        case CF_METAFILEPICT:
        case CF_PALETTE:
        case CF_ENHMETAFILE:
        case CF_OWNERDISPLAY:
        case CF_DSPBITMAP:
        case CF_DSPMETAFILEPICT:
        case CF_DSPENHMETAFILE:
            return false;
        default:
            return true;
    }
}

// The clipboard, open for the lifetime of the object when Opened() is true. For writing it is
// opened for a message-only window of the calling thread: opened for no window, the
// clipboard has no owner after EmptyClipboard, and Windows may then refuse SetClipboardData.
class OpenClipboardScope {
public:
    enum class Use { kRead, kWrite };

    explicit OpenClipboardScope(Use use)
        : m_owner(use == Use::kWrite
                      ? CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleW(nullptr), nullptr)
                      : nullptr) {
        for (int attempt = 0; attempt < kClipboardTries && !m_open; ++attempt) {
            m_open = OpenClipboard(m_owner) != FALSE;
            if (!m_open) {
                Sleep(kClipboardRetryMs);
            }
        }
    }
    ~OpenClipboardScope() {
        if (m_open) {
            CloseClipboard();
        }
        if (m_owner != nullptr) {
            DestroyWindow(m_owner);
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool Opened() const { return m_open; }

private:
    HWND m_owner;  // owned
    bool m_open = false;
};

// Hands a copy of the bytes to the clipboard, which then owns the memory.
bool PutOnClipboard(UINT format, const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size > 0 ? size : 1);
    if (memory == nullptr) {
        return false;
    }
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

}  // namespace

bool PlatformShell::LaunchProgram(const std::wstring& path) {
    return ShellOpen(path);
}

bool PlatformShell::OpenAddress(const std::wstring& address) {
    // An address without a scheme ("www.example.com") is a web address to the user, but a
    // file name to a shell that does not guess: it gets the scheme the guess would give.
    const bool hasScheme = address.find(L':') != std::wstring::npos &&
                           address.find(L':') < address.find_first_of(L"/?#.");
    return ShellOpen(hasScheme ? address : L"http://" + address);
}

bool PlatformShell::SetClipboardText(const std::wstring& text) {
    OpenClipboardScope clipboard(OpenClipboardScope::Use::kWrite);
    if (!clipboard.Opened() || !EmptyClipboard()) {
        return false;
    }
    if (text.empty()) {
        return true;
    }
    return PutOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool PlatformShell::ReadClipboard(ClipboardContent& content) {
    content = ClipboardContent();
    OpenClipboardScope clipboard(OpenClipboardScope::Use::kRead);
    if (!clipboard.Opened()) {
        return false;
    }
    size_t total = 0;
    for (UINT format = EnumClipboardFormats(0); format != 0;
         format = EnumClipboardFormats(format)) {
        if (!IsMemoryFormat(format)) {
            continue;
        }
        HANDLE data = GetClipboardData(format);
        if (data == nullptr) {
            continue;
        }
        const SIZE_T size = GlobalSize(data);
        const void* bytes = GlobalLock(data);
        if (bytes == nullptr) {
            continue;
        }
        if (size <= kMaxSavedClipboardBytes - total) {
            const uint8_t* begin = static_cast<const uint8_t*>(bytes);
            content.formats.push_back({format, std::vector<uint8_t>(begin, begin + size)});
            total += size;
        }
        GlobalUnlock(data);
    }
    return true;
}

bool PlatformShell::WriteClipboard(const ClipboardContent& content) {
    OpenClipboardScope clipboard(OpenClipboardScope::Use::kWrite);
    if (!clipboard.Opened() || !EmptyClipboard()) {
        return false;
    }
    bool all = true;
    for (const auto& [format, bytes] : content.formats) {
        all = PutOnClipboard(format, bytes.data(), bytes.size()) && all;
    }
    return all;
}

void PlatformShell::PressKey(int virtualKey, bool down) {
    keybd_event(static_cast<BYTE>(virtualKey), 0, down ? 0 : KEYEVENTF_KEYUP, 0);
}

}  // namespace tavik
