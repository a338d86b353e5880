// The message box and the wait dialog on real windows: clicks through the window procedure,
// the system's close command, a close from outside, and a wait dialog that finishes before it
// opens, from another thread, or never.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "app/services/language_text.h"
#include "app/services/ui_message_box.h"
#include "app/services/wait_dlg.h"
#include "orvo/buttons.h"
#include "orvo/manager.h"
#include "orvo/picture.h"
#include "orvo/text.h"

namespace {

using tavik::CUIMessageBox;
using tavik::KeptWaitDlg;
using tavik::ShowMessageBox;
using tavik::WaitDlg;
using tavik::WaitEnd;

// The top-level window of this thread with this title, or null.
HWND FindOwnWindow(const wchar_t* title) {
    struct Search {
        const wchar_t* title;
        HWND found;
    } search{title, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[32] = {};
            ::GetWindowTextW(window, text, 32);
            if (wcscmp(text, s->title) == 0 && ::IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs an action once on the UI thread, from inside the modal loop, as soon as a visible
// window of the given title is open. A window the action left open is closed as declined
// some ticks later, and Rescued() says so, so a fault fails the test instead of hanging it.
class WhenOpen {
public:
    WhenOpen(const wchar_t* title, std::function<void(HWND)> action) {
        s_title = title;
        s_action = std::move(action);
        s_ran = false;
        s_rescued = false;
        s_ticksAfter = 0;
        m_timer = ::SetTimer(nullptr, 0, 20, &WhenOpen::Tick);
    }
    ~WhenOpen() {
        ::KillTimer(nullptr, m_timer);
        s_action = nullptr;
    }
    static bool Ran() { return s_ran; }
    static bool Rescued() { return s_rescued; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!s_action) {
            return;
        }
        const HWND window = FindOwnWindow(s_title);
        constexpr int kRescueAfterTicks = 250;
        if (s_ran) {
            if (window != nullptr && ++s_ticksAfter == kRescueAfterTicks) {
                s_rescued = true;
                ::PostMessageW(window, Orvo::kCloseDialogMessage, IDCANCEL, 0);
            }
            return;
        }
        if (window != nullptr) {
            s_ran = true;
            s_action(window);
        }
    }

    UINT_PTR m_timer = 0;
    static inline const wchar_t* s_title = nullptr;
    static inline std::function<void(HWND)> s_action;
    static inline bool s_ran = false;
    static inline bool s_rescued = false;
    static inline int s_ticksAfter = 0;
};

void Click(HWND window, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::SendMessageW(window, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
}

// Alt+F4 as the keyboard delivers it.
void AltF4(HWND window) {
    constexpr LPARAM kAltDown = LPARAM{1} << 29;
    ::PostMessageW(window, WM_SYSKEYDOWN, VK_F4, kAltDown | 1);
}

// Centres of the buttons in a 430 x 230 box.
constexpr POINT kLeftButton = {145, 198};
constexpr POINT kRightButton = {285, 198};
constexpr POINT kMiddleButton = {215, 198};

class MessageBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Orvo::Manager::InitGdiplus();
        Orvo::Manager::SetInstance(::GetModuleHandleW(nullptr));
    }
    void SetUp() override {
        tavik::SetCurrentLanguage(1033);
        m_owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 600,
                                    400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
    }
    void TearDown() override { ::DestroyWindow(m_owner); }

    HWND m_owner = nullptr;
};

TEST_F(MessageBoxTest, ButtonsOfEachStyleWithTheirIdsPlacesAndTexts) {
    struct Button {
        UINT id;
        RECT rect;
        int text;
    };
    struct Case {
        int style;
        std::vector<Button> buttons;
    };
    const Case cases[] = {
        {0, {{33, {60, 180, 370, 216}, 20}}},
        {4, {{33, {95, 180, 195, 216}, 23}, {34, {235, 180, 335, 216}, 25}}},
        {1, {}},
        {7, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.style);
        CUIMessageBox box;
        box.SetTitleText(L"Title");
        box.SetMessageText(L"First line\nsecond line");
        box.SetBoxStyle(test.style);
        ASSERT_NE(box.Create(m_owner, L"MessageBox", 0x96000000, WS_EX_TOOLWINDOW,
                             Orvo::CRect(0, 0, 430, 230)),
                  nullptr);
        EXPECT_NE(box.GetExStyle() & WS_EX_TOPMOST, 0u);
        auto* title = dynamic_cast<Orvo::MText*>(box.GetControl(31));
        auto* message = dynamic_cast<Orvo::MText*>(box.GetControl(32));
        ASSERT_NE(title, nullptr);
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(title->GetTitle(), L"Title");
        EXPECT_EQ(title->GetRect(), Orvo::CRect(20, 15, 410, 45));
        EXPECT_EQ(message->GetTitle(), L"First line\nsecond line");
        EXPECT_EQ(message->GetRect(), Orvo::CRect(20, 50, 410, 180));
        EXPECT_EQ(message->IsMultiLine(), 1);
        EXPECT_EQ(title->GetTextColor().Value(), 0xFFFFFFFFu);
        for (UINT id : {33u, 34u}) {
            const Button* expected = nullptr;
            for (const Button& button : test.buttons) {
                expected = button.id == id ? &button : expected;
            }
            auto* button = dynamic_cast<Orvo::MButton*>(box.GetControl(id));
            if (expected == nullptr) {
                EXPECT_EQ(box.GetControl(id), nullptr) << id;
                continue;
            }
            ASSERT_NE(button, nullptr) << id;
            EXPECT_EQ(button->GetRect(), Orvo::CRect(expected->rect)) << id;
            EXPECT_EQ(button->GetTitle(), tavik::GetLanguageText(expected->text)) << id;
            EXPECT_FALSE(button->GetTitle().empty()) << id;
            EXPECT_EQ(button->GetFontWidth(), 16) << id;
            EXPECT_EQ(button->GetImageCount(), 4) << id;
        }
        box.DestroyWindow();
    }
}

TEST_F(MessageBoxTest, ResultsOfEveryWayABoxCloses) {
    struct Case {
        const char* name;
        int style;
        std::function<void(HWND)> action;
        int result;
    };
    const Case cases[] = {
        {"accept of a question", 4, [](HWND box) { Click(box, kLeftButton); }, 1},
        {"decline of a question", 4, [](HWND box) { Click(box, kRightButton); }, 2},
        {"the one button", 0, [](HWND box) { Click(box, kMiddleButton); }, 1},
        {"Alt+F4 on a question", 4, [](HWND box) { AltF4(box); }, 0},
        {"Alt+F4 on a box without buttons", 9, [](HWND box) { AltF4(box); }, 0},
        {"closed from outside", 4, [](HWND) { EXPECT_EQ(tavik::CloseMessageBoxes(), 1); }, 2},
        {"a box without buttons, closed from outside", 9,
         [](HWND) { EXPECT_EQ(tavik::CloseMessageBoxes(), 1); }, 2},
        {"closed from another thread", 0,
         [](HWND) { std::thread([] { tavik::CloseMessageBoxes(); }).join(); }, 2},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        bool openWhileShown = false;
        WhenOpen when(L"MessageBox", [&](HWND box) {
            openWhileShown = tavik::IsMessageBoxOpen() && !::IsWindowEnabled(m_owner);
            test.action(box);
        });
        EXPECT_EQ(ShowMessageBox(L"Message", m_owner, L"Title", test.style), test.result);
        EXPECT_TRUE(WhenOpen::Ran());
        EXPECT_FALSE(WhenOpen::Rescued());
        EXPECT_TRUE(openWhileShown);
        EXPECT_FALSE(tavik::IsMessageBoxOpen());
        EXPECT_TRUE(::IsWindowEnabled(m_owner));
    }
}

TEST_F(MessageBoxTest, ABoxThatCannotOpenReturnsMinusOne) {
    const HWND gone = ::CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    ::DestroyWindow(gone);
    EXPECT_EQ(ShowMessageBox(L"Message", gone, L"Title", 4), tavik::kMessageBoxNotShown);
    EXPECT_EQ(tavik::CloseMessageBoxes(), 0);
}

TEST_F(MessageBoxTest, TheBoxIsCentredOverItsOwner) {
    RECT placed = {};
    WhenOpen when(L"MessageBox", [&](HWND box) {
        ::GetWindowRect(box, &placed);
        tavik::CloseMessageBoxes();
    });
    ShowMessageBox(L"Message", m_owner, L"Title", 0);
    EXPECT_EQ(placed.right - placed.left, 430);
    EXPECT_EQ(placed.bottom - placed.top, 230);
    EXPECT_EQ(placed.left, 100 + (600 - 430) / 2);
    EXPECT_EQ(placed.top, 100 + (400 - 230) / 2);
}

class WaitDlgTest : public MessageBoxTest {};

TEST_F(WaitDlgTest, ADoOKBeforeTheWindowOpensIsNotLost) {
    WaitDlg dialog(20000);
    dialog.DoOK();
    EXPECT_EQ(dialog.ShowModalOver(m_owner), WaitEnd::kFinished);
    EXPECT_TRUE(::IsWindowEnabled(m_owner));
}

TEST_F(WaitDlgTest, ADoOKFromTheWorkerWhileItIsOpenClosesIt) {
    WaitDlg dialog(20000);
    std::thread worker;
    bool running = false;
    int frames = 0;
    RECT placed = {};
    WhenOpen when(L"WaitDlg", [&](HWND window) {
        auto* gif = dynamic_cast<Orvo::CGifPicture*>(dialog.GetControl(30));
        running = gif != nullptr && gif->IsRun() != 0;
        frames = gif != nullptr ? gif->GetFrameCount() : 0;
        ::GetWindowRect(window, &placed);
        worker = std::thread([&] { dialog.DoOK(); });
    });
    EXPECT_EQ(dialog.ShowModalOver(m_owner), WaitEnd::kFinished);
    worker.join();
    EXPECT_TRUE(running);
    EXPECT_GT(frames, 1);
    EXPECT_EQ(placed.right - placed.left, 102);
    EXPECT_EQ(placed.bottom - placed.top, 102);
    EXPECT_EQ(placed.left, 100 + (600 - 102) / 2);
    EXPECT_EQ(placed.top, 100 + (400 - 102) / 2);
}

TEST_F(WaitDlgTest, AJobThatNeverFinishesEndsOnTheBound) {
    WaitDlg dialog(200);
    EXPECT_EQ(dialog.ShowModalOver(m_owner), WaitEnd::kTimedOut);
    EXPECT_FALSE(dialog.IsDone());
    EXPECT_TRUE(::IsWindowEnabled(m_owner));
}

TEST_F(WaitDlgTest, AWindowThatCannotOpenReturnsAtOnce) {
    const HWND gone = ::CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    ::DestroyWindow(gone);
    WaitDlg dialog(20000);
    EXPECT_EQ(dialog.ShowModalOver(gone), WaitEnd::kNotShown);
}

TEST_F(WaitDlgTest, TheKeptDialogReachesTheWorkerBeforeAndAfterItOpens) {
    KeptWaitDlg kept;
    kept.DoOK();  // nothing kept yet: does nothing
    WaitDlg* first = kept.Renew(20000);
    std::thread([&] { kept.DoOK(); }).join();
    EXPECT_EQ(first->ShowModalOver(m_owner), WaitEnd::kFinished);

    WaitDlg* second = kept.Renew(20000);
    EXPECT_FALSE(second->IsDone());
    std::thread worker;
    WaitDlg* renewedWhileShowing = second;
    WhenOpen when(L"WaitDlg", [&](HWND) {
        renewedWhileShowing = kept.Renew(20000);
        worker = std::thread([&] { kept.DoOK(); });
    });
    EXPECT_EQ(second->ShowModalOver(m_owner), WaitEnd::kFinished);
    worker.join();
    // The dialog whose modal loop was running is kept, not deleted under it.
    EXPECT_EQ(renewedWhileShowing, nullptr);
    EXPECT_TRUE(second->IsDone());
    kept.Reset();
    kept.DoOK();
}

}  // namespace
