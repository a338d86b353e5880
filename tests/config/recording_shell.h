#pragma once

#include <string>
#include <vector>

#include "app/config/shell.h"

namespace tavik::test {

// A shell with a clipboard of its own that writes down every request, in order, as
// "launch charmap.exe", "open www.example.com", "clipboard Hello", "key 17 down".
class RecordingShell : public Shell {
public:
    bool LaunchProgram(const std::wstring& path) override {
        calls.push_back(L"launch " + path);
        return true;
    }
    bool OpenAddress(const std::wstring& address) override {
        calls.push_back(L"open " + address);
        return true;
    }
    bool SetClipboardText(const std::wstring& text) override {
        calls.push_back(L"clipboard " + text);
        if (!clipboardWorks) {
            return false;
        }
        clipboard = {};
        if (!text.empty()) {
            clipboard.formats.push_back(
                {kTextFormat, std::vector<uint8_t>(text.begin(), text.end())});
        }
        return true;
    }
    bool ReadClipboard(ClipboardContent& content) override {
        content = clipboard;
        return clipboardWorks;
    }
    bool WriteClipboard(const ClipboardContent& content) override {
        calls.push_back(L"restore clipboard");
        clipboard = content;
        return clipboardWorks;
    }
    void PressKey(int virtualKey, bool down) override {
        calls.push_back(L"key " + std::to_wstring(virtualKey) + (down ? L" down" : L" up"));
    }

    static constexpr unsigned kTextFormat = 13;
    bool clipboardWorks = true;
    ClipboardContent clipboard;
    std::vector<std::wstring> calls;
};

}  // namespace tavik::test
