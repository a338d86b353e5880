// Menus and the tip bubble on real windows: layout height, the command a click posts to the
// owner, closing on deactivation, pending item changes, and the bubble's timer and placement.
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/air_bladder.h"
#include "orvo/loading_wnd.h"
#include "orvo/manager.h"
#include "orvo/menu_wnd.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;

constexpr UINT kMenuMessage = 1709;

// A menu that tells when it is deleted and adds its items in InitUI, as application menus do.
class TestMenu : public Orvo::MenuWnd {
public:
    TestMenu(Orvo::MObject* parent, bool* deleted, int separators = 1)
        : MenuWnd(parent), m_deleted(deleted), m_separators(separators) {}
    ~TestMenu() override { *m_deleted = true; }
    void InitUI(const CRect& clientRect) override {
        AddMenu(L"Copy", 11, L"");
        AddMenu(L"Paste", 12, L"");
        for (int i = 0; i < m_separators; ++i) {
            AddSeparator(90 + i, nullptr);
        }
        AddMenu(L"Delete", 13, L"");
        MenuWnd::InitUI(clientRect);
    }

private:
    bool* m_deleted;  // not owned
    int m_separators;
};

class PopupsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override { ASSERT_NE(m_owner.CreateAt(40, 40, 400, 300), nullptr); }
    void TearDown() override { m_owner.DestroyWindow(); }

    // The menu's posted commands waiting in the owner's queue.
    std::vector<MSG> TakeCommands() {
        std::vector<MSG> commands;
        MSG msg;
        while (::PeekMessageW(&msg, m_owner.GetSafeHwnd(), kMenuMessage, kMenuMessage, PM_REMOVE)) {
            commands.push_back(msg);
        }
        return commands;
    }
    static int ClientHeight(HWND hwnd) {
        RECT client = {};
        ::GetClientRect(hwnd, &client);
        return client.bottom - client.top;
    }
    static void Send(HWND hwnd, UINT msg, int x, int y, WPARAM keys = 0) {
        ::SendMessageW(hwnd, msg, keys, MAKELPARAM(x, y));
    }

    OrvoTest::TestDialog m_owner;
};

TEST_F(PopupsTest, MenuHeightIsMarginsItemsAndSeparators) {
    struct Case {
        int separators;
        int height;
    };
    // Three items and one separator with the default margins: 6 + 3 x 25 + 4 + 6.
    const Case cases[] = {{1, 91}, {0, 87}, {2, 95}};
    for (const Case& c : cases) {
        bool deleted = false;
        auto* menu = new TestMenu(&m_owner, &deleted, c.separators);
        ASSERT_TRUE(menu->Create(m_owner.GetSafeHwnd(), POINT{60, 60}, kMenuMessage, 200));
        const HWND hwnd = menu->GetSafeHwnd();
        EXPECT_EQ(ClientHeight(hwnd), c.height) << c.separators;
        EXPECT_EQ(menu->GetPaintManager()->GetControl(12)->GetRect(), CRect(2, 31, 198, 56));
        menu->CloseWindow();
        OrvoTest::PumpMessages();
        EXPECT_FALSE(::IsWindow(hwnd));
        EXPECT_TRUE(deleted);
    }
}

TEST_F(PopupsTest, ClickingAnEntryPostsTheCommandOnceThenTheMenuCloses) {
    bool deleted = false;
    auto* menu = new TestMenu(&m_owner, &deleted);
    ASSERT_TRUE(menu->Create(m_owner.GetSafeHwnd(), POINT{60, 60}, kMenuMessage, 200));
    const HWND hwnd = menu->GetSafeHwnd();
    // "Paste" is the second item: y 31..56.
    Send(hwnd, WM_MOUSEMOVE, 50, 40);
    Send(hwnd, WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    EXPECT_TRUE(TakeCommands().empty()) << "a press posts nothing";
    Send(hwnd, WM_LBUTTONUP, 50, 40);
    // Taken before the pump, which would hand the owner its own message.
    const std::vector<MSG> commands = TakeCommands();
    OrvoTest::PumpMessages();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 0u);
    EXPECT_EQ(commands[0].lParam, 12);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(deleted);
}

TEST_F(PopupsTest, ClickingOutsideTheMenuClosesItWithoutACommand) {
    bool deleted = false;
    auto* menu = new TestMenu(&m_owner, &deleted);
    ASSERT_TRUE(menu->Create(m_owner.GetSafeHwnd(), POINT{60, 60}, kMenuMessage, 200));
    const HWND hwnd = menu->GetSafeHwnd();
    // Another window taking the activation deactivates the menu.
    ::SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
    EXPECT_TRUE(TakeCommands().empty());
    OrvoTest::PumpMessages();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(deleted);
}

TEST_F(PopupsTest, RecordedItemChangesApplyWhenTheMenuIsLaidOut) {
    bool deleted = false;
    auto* menu = new TestMenu(&m_owner, &deleted);
    menu->SetItemVisible(11, 0);
    menu->SetItemTitle(12, L"Paste here");
    menu->SetItemEnable(13, 0);
    menu->SetItemCheck(12, 1);
    ASSERT_TRUE(menu->Create(m_owner.GetSafeHwnd(), POINT{60, 60}, kMenuMessage, 200));
    Orvo::PaintManager& manager = *menu->GetPaintManager();
    auto* hidden = static_cast<Orvo::MenuItem*>(manager.GetControl(11));
    auto* paste = static_cast<Orvo::MenuItem*>(manager.GetControl(12));
    auto* removed = static_cast<Orvo::MenuItem*>(manager.GetControl(13));
    EXPECT_TRUE(hidden->GetRect().IsRectEmpty());
    EXPECT_EQ(paste->GetTitle(), L"Paste here");
    EXPECT_EQ(paste->GetCheck(), 1);
    EXPECT_EQ(removed->IsEnabled(), 0);
    // The hidden item takes no room: 6 + 2 x 25 + 4 + 6.
    EXPECT_EQ(ClientHeight(menu->GetSafeHwnd()), 66);
    // A disabled entry posts nothing.
    const HWND hwnd = menu->GetSafeHwnd();
    const CRect last = removed->GetRect();
    Send(hwnd, WM_MOUSEMOVE, 50, last.top + 5);
    Send(hwnd, WM_LBUTTONDOWN, 50, last.top + 5, MK_LBUTTON);
    Send(hwnd, WM_LBUTTONUP, 50, last.top + 5);
    EXPECT_TRUE(TakeCommands().empty());
    menu->CloseWindow();
    OrvoTest::PumpMessages();
    EXPECT_TRUE(deleted);
}

TEST_F(PopupsTest, AddMenuReturnsMinusOne) {
    bool deleted = false;
    auto* menu = new TestMenu(&m_owner, &deleted);
    ASSERT_TRUE(menu->Create(m_owner.GetSafeHwnd(), POINT{60, 60}, kMenuMessage, 200));
    EXPECT_EQ(menu->AddMenu(L"More", 14, static_cast<UINT>(-1)), -1);
    EXPECT_EQ(menu->GetPaintManager()->GetControl(14)->GetRect().top, 91 - 6);
    menu->CloseWindow();
    OrvoTest::PumpMessages();
}

TEST_F(PopupsTest, DialogBubbleRefusesAZeroCoordinate) {
    struct Case {
        POINT point;
        int result;
    };
    const Case cases[] = {{{0, 200}, 0}, {{200, 0}, 0}, {{0, 0}, 0}, {{200, 200}, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(m_owner.SetAirBladderMsg(L"Tip", c.point, 1), c.result)
            << c.point.x << "," << c.point.y;
    }
    Orvo::MAirBladder* bubble = m_owner.GetPaintManager()->GetAirBladder();
    ASSERT_NE(bubble, nullptr);
    EXPECT_TRUE(bubble->IsWindowVisible());
    std::wstring title;
    bubble->GetWindowTextW(title);
    EXPECT_EQ(title, L"AirBladder Window");
    // Placement 3: below the anchor.
    EXPECT_EQ(bubble->GetPlacement(), 3);
    EXPECT_EQ(bubble->GetBubbleRect().left, 200 - 25);
    EXPECT_EQ(bubble->GetBubbleRect().top, 200);
}

TEST_F(PopupsTest, TheSameBubbleTwiceKeepsItsTimerAndItHidesWhenTheTimerFires) {
    Orvo::PaintManager& manager = *m_owner.GetPaintManager();
    ASSERT_EQ(manager.SetAirBladderMsg(L"Tip", POINT{300, 300}, 1, 3), 1);
    Orvo::MAirBladder* bubble = manager.GetAirBladder();
    ASSERT_NE(bubble, nullptr);
    EXPECT_EQ(bubble->GetHideTimerStarts(), 1);
    manager.SetAirBladderMsg(L"Tip", POINT{300, 300}, 1, 3);
    EXPECT_EQ(bubble->GetHideTimerStarts(), 1);
    manager.SetAirBladderMsg(L"Other tip", POINT{300, 300}, 1, 3);
    EXPECT_EQ(bubble->GetHideTimerStarts(), 2);

    ::SendMessageW(bubble->GetSafeHwnd(), WM_TIMER, Orvo::MAirBladder::kHideTimerId, 0);
    EXPECT_FALSE(bubble->IsWindowVisible());
    // Shown again after its timer hid it, it gets a new timer instead of staying up.
    manager.SetAirBladderMsg(L"Other tip", POINT{300, 300}, 1, 3);
    EXPECT_EQ(bubble->GetHideTimerStarts(), 3);

    // Kind 4 stays until hidden explicitly.
    manager.SetAirBladderMsg(L"Sticky", POINT{300, 300}, 4, 3);
    EXPECT_EQ(bubble->GetHideTimerStarts(), 3);
}

TEST_F(PopupsTest, BubblePlacementsLieAroundTheAnchor) {
    Orvo::PaintManager& manager = *m_owner.GetPaintManager();
    const POINT anchor = {500, 400};
    for (int placement = 1; placement <= 5; ++placement) {
        SCOPED_TRACE(placement);
        manager.SetAirBladderMsg(L"Two\nlines", anchor, 4, placement);
        Orvo::MAirBladder* bubble = manager.GetAirBladder();
        ASSERT_NE(bubble, nullptr);
        EXPECT_EQ(bubble->GetLineCount(), 2);
        const CRect r = bubble->GetBubbleRect();
        EXPECT_GT(r.Width(), 40);
        switch (placement) {
            case 1:
                EXPECT_EQ(r.left, anchor.x);
                EXPECT_EQ(r.top, anchor.y);
                break;
            case 2:
                EXPECT_EQ(r.right, anchor.x);
                EXPECT_EQ(r.top, anchor.y - 27);
                break;
            case 3:
                EXPECT_EQ(r.left, anchor.x - 25);
                EXPECT_EQ(r.top, anchor.y);
                break;
            case 4:
                EXPECT_EQ(r.bottom, anchor.y);
                EXPECT_LE(std::abs((r.left + r.right) / 2 - anchor.x), 1);
                break;
            default:
                EXPECT_EQ(r.left, anchor.x);
                EXPECT_EQ(r.top, anchor.y - 10);
                break;
        }
        RECT window = {};
        ::GetWindowRect(bubble->GetSafeHwnd(), &window);
        EXPECT_EQ(CRect(window), r);
    }
}

bool SavePng(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return bitmap.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

TEST_F(PopupsTest, LoadingWindowAdvancesItsFrameEveryFewTicksAndWraps) {
    // A strip of four frames in the skin folder beside the test, one file per process.
    const std::wstring skins = Orvo::Manager::GetProgramDirectory() + L"skins";
    ::CreateDirectoryW(skins.c_str(), nullptr);
    ::CreateDirectoryW(Orvo::Manager::GetSkinDirectory().c_str(), nullptr);
    const std::wstring name =
        L"popups_test_frames_" + std::to_wstring(::GetCurrentProcessId()) + L".png";
    Gdiplus::Bitmap strip(64, 16, PixelFormat32bppARGB);
    ASSERT_TRUE(SavePng(strip, Orvo::Manager::GetSkinDirectory() + name));

    auto loading = std::make_unique<Orvo::LoadingWnd>();
    ASSERT_TRUE(loading->LoadAnimateImage(name.c_str(), 4, 3));
    ASSERT_TRUE(loading->CreateDlg(m_owner.GetSafeHwnd(), CRect(100, 100, 300, 260)));
    std::wstring title;
    loading->GetWindowTextW(title);
    EXPECT_EQ(title, L"Loading Window");
    EXPECT_EQ(loading->GetFrameCount(), 4);
    loading->SetRun(false);
    const auto tick = [&] {
        ::SendMessageW(loading->GetSafeHwnd(), WM_TIMER, Orvo::LoadingWnd::kAnimationTimerId, 0);
    };
    // Stopped: ticks change nothing.
    for (int i = 0; i < 6; ++i) {
        tick();
    }
    EXPECT_EQ(loading->GetFrame(), 0);
    loading->SetRun(true);
    std::vector<int> frames;
    for (int i = 0; i < 12; ++i) {
        tick();
        frames.push_back(loading->GetFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0}));
    // The window's images keep the file open until the window object goes.
    loading.reset();
    ::DeleteFileW((Orvo::Manager::GetSkinDirectory() + name).c_str());
}

TEST_F(PopupsTest, KeyboardTipsFitTheirLines) {
    Orvo::CKeyboardTips tips;
    ASSERT_TRUE(tips.CreateTips(m_owner.GetSafeHwnd()));
    ASSERT_EQ(tips.SetAirBladderMsg(L"Ctrl + F5", L"Next profile", nullptr, POINT{200, 200}), 1);
    EXPECT_EQ(tips.GetLineCount(), 2);
    const CRect two = tips.GetTipsRect();
    EXPECT_EQ(two.left, 200);
    EXPECT_EQ(two.top, 200);
    EXPECT_TRUE(tips.IsWindowVisible());
    tips.SetAirBladderMsg(L"Ctrl + F5", L"Next profile", L"A much longer third line of text",
                          POINT{200, 200});
    const CRect three = tips.GetTipsRect();
    EXPECT_GT(three.Height(), two.Height());
    EXPECT_GT(three.Width(), two.Width());
}

}  // namespace
