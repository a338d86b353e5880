#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavik {

// What the clipboard held, format by format, so that it can be put back after a paste.
struct ClipboardContent {
    std::vector<std::pair<unsigned, std::vector<uint8_t>>> formats;  // format id, its bytes
    bool Empty() const { return formats.empty(); }
};

// The computer-side services the page logic uses: starting programs and addresses, the
// clipboard and synthesised key presses. The program uses PlatformShell (ShellExecuteW,
// the clipboard API, keybd_event); tests record the calls.
class Shell {
public:
    virtual ~Shell() = default;

    // Opens a program or document with the verb "open" in a normal window; false when the
    // shell could not start it.
    virtual bool LaunchProgram(const std::wstring& path) = 0;
    // Opens a web address with the verb "open"; false when nothing took it.
    virtual bool OpenAddress(const std::wstring& address) = 0;
    // Puts the text on the clipboard, or empties the clipboard for an empty text. False when
    // the clipboard could not be opened or did not take the text.
    virtual bool SetClipboardText(const std::wstring& text) = 0;
    // Copies everything the clipboard holds; false when it could not be opened.
    virtual bool ReadClipboard(ClipboardContent& content) = 0;
    // Replaces the clipboard's content with a copy made by ReadClipboard.
    virtual bool WriteClipboard(const ClipboardContent& content) = 0;
    // Synthesises one key going down or up (a virtual-key code).
    virtual void PressKey(int virtualKey, bool down) = 0;
};

#ifdef _WIN32
// The shell of the running Windows session.
class PlatformShell : public Shell {
public:
    bool LaunchProgram(const std::wstring& path) override;
    bool OpenAddress(const std::wstring& address) override;
    bool SetClipboardText(const std::wstring& text) override;
    bool ReadClipboard(ClipboardContent& content) override;
    bool WriteClipboard(const ClipboardContent& content) override;
    void PressKey(int virtualKey, bool down) override;
};
#endif

}  // namespace tavik
