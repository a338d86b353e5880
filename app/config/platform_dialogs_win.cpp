#include "app/config/platform_dialogs_win.h"

#include <commdlg.h>

#include <utility>

#include "app/services/language_text.h"
#include "app/services/ui_message_box.h"

namespace tavik {

namespace {

// The file name buffer of the file dialogs, in characters.
constexpr DWORD kFileNameLength = 260;

// The default extension of a pattern ("*.xml" gives "xml"): the dialogs append it, with its
// dot, to a name typed without one. Empty for a pattern without a plain extension.
std::wstring DefaultExtension(const std::wstring& pattern) {
    const size_t dot = pattern.rfind(L'.');
    if (dot == std::wstring::npos) {
        return std::wstring();
    }
    const std::wstring extension = pattern.substr(dot + 1);
    return extension.find_first_of(L"*?;") == std::wstring::npos ? extension : std::wstring();
}

}  // namespace

PlatformDialogs::PlatformDialogs(HWND owner, TextLookup texts)
    : m_owner(owner), m_texts(std::move(texts)) {}

std::wstring PlatformDialogs::Text(int number) const {
    return m_texts ? m_texts(number) : GetLanguageText(number);
}

int PlatformDialogs::Confirm(int titleText, int messageText, int style) {
    // The skinned box answers 1 (accepted), 2 (declined, or closed as cancelled) or 0 and -1
    // (closed another way, not shown): the same numbers as the answers here.
    return ShowMessageBox(
        Text(messageText), m_owner, Text(titleText),
        style == kMessageStyleTwoAnswers ? kMessageBoxStyleQuestion : kMessageBoxStyleOk);
}

void PlatformDialogs::Message(int titleText, int messageText) {
    ShowMessageBox(Text(messageText), m_owner, Text(titleText), kMessageBoxStyleOk);
}

std::optional<std::uint32_t> PlatformDialogs::PickColour(std::uint32_t initial) {
    CHOOSECOLORW choice = {};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = m_owner;
    choice.rgbResult = static_cast<COLORREF>(initial & 0xFFFFFF);
    choice.lpCustColors = m_customColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choice)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(choice.rgbResult & 0xFFFFFF);
}

std::optional<std::wstring> PlatformDialogs::ChooseFileToOpen(const FileFilter& filter) {
    return ChooseFile(filter, false);
}

std::optional<std::wstring> PlatformDialogs::ChooseFileToSave(const FileFilter& filter) {
    return ChooseFile(filter, true);
}

std::optional<std::wstring> PlatformDialogs::ChooseFile(const FileFilter& filter, bool save) {
    // "label\0pattern\0" and the closing empty entry.
    std::wstring filterText = filter.label;
    filterText.push_back(L'\0');
    filterText += filter.pattern;
    filterText.push_back(L'\0');
    filterText.push_back(L'\0');
    const std::wstring extension = DefaultExtension(filter.pattern);
    wchar_t fileName[kFileNameLength] = {};

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kFileNameLength;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : 0);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen || fileName[0] == L'\0') {
        return std::nullopt;
    }
    fileName[kFileNameLength - 1] = L'\0';
    return std::wstring(fileName);
}

}  // namespace tavik
