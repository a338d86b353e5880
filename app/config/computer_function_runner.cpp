#include "app/config/computer_function_runner.h"

#include <cwctype>

#include "app/config/shell.h"
#include "app/device/clock.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

constexpr int kVirtualKeyControl = 0x11;
constexpr int kVirtualKeyV = 0x56;

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t index = 0; index < prefix.size(); ++index) {
        if (std::towlower(text[index]) != std::towlower(prefix[index])) {
            return false;
        }
    }
    return true;
}

// True for "name:" at the start, where name is a URI scheme (a letter, then letters, digits,
// "+", "-" or "."), followed by "//" or by something that is not a port number.
bool HasScheme(std::wstring_view address) {
    if (address.empty() || !std::iswalpha(address[0])) {
        return false;
    }
    size_t colon = 1;
    while (colon < address.size() && (std::iswalnum(address[colon]) || address[colon] == L'+' ||
                                      address[colon] == L'-' || address[colon] == L'.')) {
        ++colon;
    }
    if (colon >= address.size() || address[colon] != L':') {
        return false;
    }
    // "example.com:8080/…" is a host and port, not a scheme.
    const std::wstring_view rest = address.substr(colon + 1);
    return rest.empty() || !std::iswdigit(rest[0]);
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::iswspace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::wstring RewriteWebAddress(std::wstring_view stored) {
    std::wstring_view address = Trim(stored);
    if (address.empty()) {
        return std::wstring();
    }
    constexpr std::wstring_view kPlainScheme = L"http://";
    if (StartsWithIgnoringCase(address, kPlainScheme)) {
        address.remove_prefix(kPlainScheme.size());
    } else if (HasScheme(address)) {
        return std::wstring(address);
    }
    if (address.empty() || StartsWithIgnoringCase(address, L"www.")) {
        return std::wstring(address);
    }
    return L"www." + std::wstring(address);
}

void ComputerFunctionRunner::RunComputerFunction(int functionType, int value) {
    switch (functionType) {
        case kLaunchProgram: {
            std::wstring description;
            std::wstring path;
            int type = 0;
            if (m_database.GetKeyExtraData(value, description, path, type) && !path.empty()) {
                m_shell.LaunchProgram(path);
            }
            break;
        }
        case kOpenWebAddress: {
            std::wstring address;
            std::wstring parameter;
            int type = 0;
            if (m_database.GetKeyExtraData(value, address, parameter, type)) {
                const std::wstring rewritten = RewriteWebAddress(address);
                if (!rewritten.empty()) {
                    m_shell.OpenAddress(rewritten);
                }
            }
            break;
        }
        case kTypeTextSnippet: {
            std::wstring content;
            // A snippet deleted since the button was assigned types nothing.
            if (m_database.GetTextContent(value, content)) {
                TypeText(content);
            }
            break;
        }
        default:
            break;
    }
}

bool ComputerFunctionRunner::TypeText(const std::wstring& text) {
    if (text.empty()) {
        return false;
    }
    ClipboardContent saved;
    const bool readSaved = m_shell.ReadClipboard(saved);
    if (!m_shell.SetClipboardText(text)) {
        return false;
    }
    m_shell.PressKey(kVirtualKeyControl, true);
    m_shell.PressKey(kVirtualKeyV, true);
    m_clock.SleepMs(kPasteHoldMs);
    m_shell.PressKey(kVirtualKeyV, false);
    m_shell.PressKey(kVirtualKeyControl, false);
    // The target reads the clipboard when it handles the keys, which a busy program does
    // late; the user's content comes back only after that.
    m_clock.SleepMs(kPasteSettleMs);
    if (readSaved && !saved.Empty()) {
        m_shell.WriteClipboard(saved);
    } else {
        m_shell.SetClipboardText(std::wstring());
    }
    return true;
}

}  // namespace tavik
