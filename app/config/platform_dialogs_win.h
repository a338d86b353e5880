#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/config/dialogs.h"

namespace tavik {

// The dialogs of the page logic on Windows, owned by the main window. The file dialogs are
// the platform's open and save dialogs. The questions, messages and the colour choice use the
// platform's message box and colour dialog for now: they stand in for the skinned message
// box and the palette dialog of the toolkit, which take their place once those exist, with
// the same answers (accept 1, decline 2; no colour on cancel).
class PlatformDialogs : public Dialogs {
public:
    using TextLookup = std::function<std::wstring(int number)>;

    // `owner` may be null; `texts` looks up the language texts (GetLanguageText when empty).
    explicit PlatformDialogs(HWND owner, TextLookup texts = {});

    int Confirm(int titleText, int messageText, int style) override;
    void Message(int titleText, int messageText) override;
    std::optional<std::uint32_t> PickColour(std::uint32_t initial) override;
    std::optional<std::wstring> ChooseFileToOpen(const FileFilter& filter) override;
    std::optional<std::wstring> ChooseFileToSave(const FileFilter& filter) override;

private:
    std::wstring Text(int number) const;
    std::optional<std::wstring> ChooseFile(const FileFilter& filter, bool save);

    HWND m_owner;  // not owned
    TextLookup m_texts;
    COLORREF m_customColours[16] = {};  // the colour dialog's custom colours, kept between uses
};

}  // namespace tavik
