#include "app/config/platform_dialogs_win.h"

#include "app/services/ui_message_box.h"
#include "orvo/dialog.h"

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
    // The common dialogs are of class "#32770"; the skinned message box is "MWindow".
    explicit DialogUser(std::function<void(HWND)> act, std::wstring windowClass = L"#32770")
        : m_owner(GetCurrentThreadId()),
          m_class(std::move(windowClass)),
          m_act(std::move(act)),
          m_thread([this] { Run(); }) {}
    ~DialogUser() { m_thread.join(); }
    bool Found() const { return m_found; }

private:
    void Run() {
        // A watchdog against a dialog that never appears, not a measure of speed.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < giveUp) {
            struct Search {
                const std::wstring* windowClass;
                HWND found;
            } search = {&m_class, nullptr};
            EnumThreadWindows(
                m_owner,
                [](HWND window, LPARAM context) {
                    auto* wanted = reinterpret_cast<Search*>(context);
                    wchar_t name[16] = {};
                    GetClassNameW(window, name, 16);
                    if (std::wstring(name) == *wanted->windowClass && IsWindowVisible(window)) {
                        wanted->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            HWND dialog = search.found;
            if (dialog != nullptr) {
                m_found = true;
                m_act(dialog);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    DWORD m_owner;
    std::wstring m_class;
    std::function<void(HWND)> m_act;
    std::atomic<bool> m_found{false};
    std::thread m_thread;
};

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

void Press(HWND dialog, int button) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

struct ConfirmCase {
    int style;
    UINT closeResult;  // what the box's button, or the system's close, closes it with
    int answer;
};

TEST(PlatformDialogsTest, ConfirmShowsTheSkinnedBoxAndGivesItsAnswer) {
    const ConfirmCase cases[] = {
        {kMessageStyleTwoAnswers, kMessageBoxAccepted, kAnswerAccepted},
        {kMessageStyleTwoAnswers, kMessageBoxDeclined, kAnswerDeclined},
        {kMessageStyleOneButton, kMessageBoxAccepted, kAnswerAccepted},
        // Alt+F4 closes with 0: neither an acceptance nor a refusal.
        {kMessageStyleTwoAnswers, 0, 0},
    };
    PlatformDialogs dialogs(nullptr, TextOf);
    for (const ConfirmCase& test : cases) {
        SCOPED_TRACE(test.closeResult);
        std::wstring title;
        int answer = -1;
        {
            DialogUser user(
                [&](HWND box) {
                    title = WindowText(box);
                    PostMessageW(box, Orvo::kCloseDialogMessage, test.closeResult, 0);
                },
                kMessageBoxWindowClass);
            answer = dialogs.Confirm(253, 258, test.style);
            EXPECT_TRUE(user.Found());
        }
        EXPECT_EQ(answer, test.answer);
        // The box is found by other code through its window title.
        EXPECT_EQ(title, kMessageBoxWindowTitle);
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
