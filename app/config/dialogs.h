#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavik {

// Message box styles: one button ("OK"), or two answers (accept and decline).
constexpr int kMessageStyleOneButton = 0;
constexpr int kMessageStyleTwoAnswers = 4;

// Answers of Confirm. A box closed in another way (or one that could not be shown) gives
// neither; callers that ask a question stop only on kAnswerDeclined.
constexpr int kAnswerAccepted = 1;
constexpr int kAnswerDeclined = 2;

// One entry of a file dialog's type list: the label the user reads ("Macros (*.xml)") and
// the pattern it stands for ("*.xml").
struct FileFilter {
    std::wstring label;
    std::wstring pattern;
};

// The dialogs the page logic opens. Texts are given by their language text numbers so the
// logic never holds wording; the implementation looks them up. Every call is modal and runs
// on the user-interface thread. Tests script the answers; the window uses PlatformDialogs.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a message box with the title and message texts in the style; returns its answer
    // (kAnswerAccepted, kAnswerDeclined or anything else when it was closed another way).
    virtual int Confirm(int titleText, int messageText, int style) = 0;
    // A message with one button, for information or a failure the user must know of.
    virtual void Message(int titleText, int messageText) = 0;
    // Lets the user pick a colour, starting at `initial` (0x00BBGGRR). No colour when the
    // dialog was cancelled or closed.
    virtual std::optional<std::uint32_t> PickColour(std::uint32_t initial) = 0;
    // Lets the user choose an existing file to read, or a file to write; the full path as
    // the dialog gives it, or nothing when the user cancelled.
    virtual std::optional<std::wstring> ChooseFileToOpen(const FileFilter& filter) = 0;
    virtual std::optional<std::wstring> ChooseFileToSave(const FileFilter& filter) = 0;
};

// The file types of the file dialogs. The labels are the ones users know, also where a
// label names the other kind of file (the export of a macro offers "Profile (*.xml)").
namespace file_filter {
inline FileFilter Program() {
    return {L"Application (*.exe)", L"*.exe"};
}
inline FileFilter MacroImport() {
    return {L"Macros (*.xml)", L"*.xml"};
}
inline FileFilter MacroExport() {
    return {L"Profile (*.xml)", L"*.xml"};
}
inline FileFilter ProfileImport() {
    return {L"MouseKey (*.xml)", L"*.xml"};
}
inline FileFilter ProfileExport() {
    return {L"Macro (*.xml)", L"*.xml"};
}
}  // namespace file_filter

}  // namespace tavik
