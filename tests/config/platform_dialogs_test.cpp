#include "app/config/platform_dialogs_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace tavik::test {
namespace {

// The control ids of the common dialogs: the file name edit and combo box, the file type
// combo box.
constexpr int kFileNameEdit = 0x480;
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileTypeCombo = 0x470;

std::wstring TextOf(int number) {
    return L"Text " + std::to_wstring(number);
}

// Plays the user of one modal dialog of this thread: a helper thread waits for the dialog
// window, lets `act` work on it (read it, fill it, press a button) and remembers what it read.
class DialogUser {
public:
    explicit DialogUser(std::function<void(HWND)> act)
        : m_owner(GetCurrentThreadId()), m_act(std::move(act)), m_thread([this] { Run(); }) {}
    ~DialogUser() { m_thread.join(); }
    bool Found() const { return m_found; }

private:
    void Run() {
        // A watchdog against a dialog that never appears, not a measure of speed.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < giveUp) {
            HWND dialog = nullptr;
            EnumThreadWindows(
                m_owner,
                [](HWND window, LPARAM found) {
                    wchar_t name[16] = {};
                    GetClassNameW(window, name, 16);
                    if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
                        *reinterpret_cast<HWND*>(found) = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&dialog));
            if (dialog != nullptr) {
                m_found = true;
                m_act(dialog);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    DWORD m_owner;
    std::function<void(HWND)> m_act;
    std::atomic<bool> m_found{false};
    std::thread m_thread;
};

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// The texts of every child of a window, joined by '|'.
std::wstring ChildTexts(HWND window) {
    std::wstring texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM joined) {
            *reinterpret_cast<std::wstring*>(joined) += WindowText(child) + L"|";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void Press(HWND dialog, int button) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

struct ConfirmCase {
    int style;
    int button;
    int answer;
};

TEST(PlatformDialogsTest, ConfirmShowsTheTextsAndGivesTheAnswer) {
    const ConfirmCase cases[] = {
        {kMessageStyleTwoAnswers, IDYES, kAnswerAccepted},
        {kMessageStyleTwoAnswers, IDNO, kAnswerDeclined},
        {kMessageStyleOneButton, IDOK, kAnswerAccepted},
    };
    PlatformDialogs dialogs(nullptr, TextOf);
    for (const ConfirmCase& test : cases) {
        SCOPED_TRACE(test.button);
        std::wstring title;
        std::wstring texts;
        int answer = -1;
        {
            DialogUser user([&](HWND dialog) {
                title = WindowText(dialog);
                texts = ChildTexts(dialog);
                Press(dialog, test.button);
            });
            answer = dialogs.Confirm(253, 258, test.style);
        }
        EXPECT_EQ(answer, test.answer);
        EXPECT_EQ(title, L"Text 253");
        EXPECT_NE(texts.find(L"Text 258"), std::wstring::npos)
            << std::string(texts.begin(), texts.end());
    }
}

TEST(PlatformDialogsTest, ColourDialogGivesNoColourOnCancel) {
    PlatformDialogs dialogs(nullptr, TextOf);
    std::optional<std::uint32_t> colour;
    {
        DialogUser user([](HWND dialog) { Press(dialog, IDCANCEL); });
        colour = dialogs.PickColour(0x123456);
        EXPECT_TRUE(user.Found());
    }
    EXPECT_FALSE(colour.has_value());
    {
        DialogUser user([](HWND dialog) { Press(dialog, IDOK); });
        colour = dialogs.PickColour(0x123456);
    }
    ASSERT_TRUE(colour.has_value());
    EXPECT_EQ(*colour, 0x123456u) << "OK keeps the colour the dialog started with";
}

std::wstring ComboText(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    wchar_t text[256] = {};
    if (selected >= 0 && SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0) < 255) {
        SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
    }
    return text;
}

void TypeFileName(HWND dialog, const std::wstring& name) {
    HWND edit = GetDlgItem(dialog, kFileNameEdit);
    if (edit == nullptr) {
        edit = GetDlgItem(dialog, kFileNameCombo);
    }
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

TEST(PlatformDialogsTest, SaveDialogOffersTheFilterAndAddsItsExtension) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("tavik-dialogs-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    PlatformDialogs dialogs(nullptr, TextOf);
    std::wstring offered;
    std::optional<std::wstring> path;
    {
        DialogUser user([&](HWND dialog) {
            offered = ComboText(dialog, kFileTypeCombo);
            TypeFileName(dialog, (folder / L"backup").wstring());
            Press(dialog, IDOK);
        });
        path = dialogs.ChooseFileToSave(file_filter::MacroExport());
    }
    EXPECT_EQ(offered, L"Profile (*.xml)");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(std::filesystem::path(*path).filename().wstring(), L"backup.xml");

    {
        DialogUser user([](HWND dialog) { Press(dialog, IDCANCEL); });
        path = dialogs.ChooseFileToSave(file_filter::ProfileExport());
    }
    EXPECT_FALSE(path.has_value());
    std::filesystem::remove_all(folder);
}

TEST(PlatformDialogsTest, OpenDialogGivesTheChosenFile) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("tavik-open-" + std::to_string(GetCurrentProcessId()) + ".xml");
    std::ofstream(file) << "<macro/>";
    PlatformDialogs dialogs(nullptr, TextOf);
    std::wstring offered;
    std::optional<std::wstring> path;
    {
        DialogUser user([&](HWND dialog) {
            offered = ComboText(dialog, kFileTypeCombo);
            TypeFileName(dialog, file.wstring());
            Press(dialog, IDOK);
        });
        path = dialogs.ChooseFileToOpen(file_filter::ProfileImport());
    }
    EXPECT_EQ(offered, L"MouseKey (*.xml)");
    ASSERT_TRUE(path.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(*path), file));
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace tavik::test
