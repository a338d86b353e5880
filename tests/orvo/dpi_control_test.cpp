// The DPI stage bar on a real dialog: cards, notifications, the inline edit and the device
// worker's selection beside paints and input.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core_test_support.h"
#include "thread_noting_dialog.h"
#include "orvo/control_factory.h"
#include "orvo/dpi_control.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::ColorRef;
using Orvo::CRect;

constexpr UINT kStagesId = 103;
const CRect kStagesRect(20, 20, 800, 120);

const int kDpis[] = {400, 800, 1200, 1600, 2400, 3200};
const ColorRef kColours[] = {ColorRef(255),      ColorRef(65280), ColorRef(16711680),
                             ColorRef(16776960), ColorRef(65535), ColorRef(8388992)};

class DpiControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(30, 30, 840, 160), nullptr);
        // Active, as a window the user clicks in is: the edit's focus then stays inside it.
        m_dialog.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_dialog.GetSafeHwnd());
        ::SetActiveWindow(m_dialog.GetSafeHwnd());
        // DPIControl is made only by a panel's factory; the dialog then takes it over.
        std::unique_ptr<Orvo::MControl> made =
            Orvo::ControlFactory::Create(Orvo::FactoryTable::kPanel, L"DPIControl", &m_dialog,
                                         kStagesId, kStagesRect, L"", 1, 1);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(nullptr,
                  Orvo::ControlFactory::Create(Orvo::FactoryTable::kDialog, L"DPIControl",
                                               &m_dialog, kStagesId, kStagesRect, L"", 1, 1));
        m_stages =
            static_cast<Orvo::DPIControl*>(m_dialog.GetPaintManager()->AddControl(std::move(made)));
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    void AddStages(int count) {
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(i, m_stages->AddItem(kDpis[i], kColours[i]));
        }
    }
    // A click at a point of card `index`, `y` pixels below the control's top.
    void ClickCard(int index, int x, int y) {
        const int px = kStagesRect.left + index * 130 + x;
        const int py = kStagesRect.top + y;
        m_dialog.Mouse(WM_MOUSEMOVE, px, py);
        m_dialog.Mouse(WM_LBUTTONDOWN, px, py, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, px, py);
    }
    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const auto& message : m_dialog.m_messages) {
            if (message.controlId == kStagesId) {
                codes.push_back(message.code);
                EXPECT_EQ(0u, message.wParam);
                EXPECT_EQ(0, message.lParam);
            }
        }
        return codes;
    }
    HWND Edit() const {
        return m_stages->GetEditWindow() != nullptr ? m_stages->GetEditWindow()->GetSafeHwnd()
                                                    : nullptr;
    }

    OrvoTest::ThreadNotingDialog m_dialog;
    Orvo::DPIControl* m_stages = nullptr;
};

TEST_F(DpiControlTest, FiveStagesAre110PixelCards20PixelsApart) {
    AddStages(5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(CRect(130 * i, 0, 130 * i + 110, 100), m_stages->GetCardRect(i)) << i;
    }
    EXPECT_EQ(520, m_stages->GetCardRect(4).left);
    EXPECT_TRUE(m_stages->GetCardRect(5).IsRectNull());
}

TEST_F(DpiControlTest, ValuesOutsideTheListGiveTheRangeLimits) {
    AddStages(3);
    EXPECT_EQ(50, m_stages->GetDPIValue(-1));
    EXPECT_EQ(26000, m_stages->GetDPIValue(3));
    EXPECT_EQ(26000, m_stages->GetDPIValue(100));
    EXPECT_EQ(800, m_stages->GetDPIValue(1));
    EXPECT_EQ(ColorRef(), m_stages->GetDPIColorValue(3));
    EXPECT_EQ(ColorRef(65280), m_stages->GetDPIColorValue(1));
    // Setters ignore what lies outside.
    m_stages->SetDPIValue(3, 999);
    m_stages->SetDPIValue(-1, 999);
    m_stages->SetDPIColorValue(7, ColorRef(1));
    EXPECT_EQ(3, m_stages->GetItemCount());
    EXPECT_EQ(26000, m_stages->GetDPIValue(3));
}

TEST_F(DpiControlTest, ClicksOnTheColourBlockSend9AndBelowItSend2) {
    AddStages(6);
    struct Case {
        int card;
        int y;
        UINT code;
        int colourItem;
    };
    const Case cases[] = {
        {2, 10, Orvo::kNotifySecondary, 2},  // in the header
        {3, 39, Orvo::kNotifySecondary, 3},  // the last row of the colour block
        {1, 40, Orvo::kNotifyClicked, 3},    // just below it: the colour item stays
        {5, 90, Orvo::kNotifyClicked, 3},
    };
    for (const Case& c : cases) {
        m_dialog.m_messages.clear();
        ClickCard(c.card, 100, c.y);
        EXPECT_EQ(std::vector<UINT>{c.code}, Codes()) << c.card << " at " << c.y;
        EXPECT_EQ(c.card, m_stages->GetSelectItem());
        EXPECT_EQ(c.colourItem, m_stages->GetColorItem());
    }
    // Between two cards nothing is sent.
    m_dialog.m_messages.clear();
    ClickCard(0, 120, 60);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(DpiControlTest, TypedValueIsKeptWhenAnotherCardIsClicked) {
    AddStages(4);
    m_dialog.m_messages.clear();
    // A press in the value field of the selected first card opens the edit over it.
    ClickCard(0, 50, 56);
    ASSERT_NE(nullptr, Edit());
    EXPECT_TRUE(::IsWindowVisible(Edit()));
    EXPECT_EQ(std::vector<UINT>({Orvo::kNotifyEditOpened, Orvo::kNotifyClicked}), Codes());
    EXPECT_EQ(L"400", m_stages->GetEditText());

    m_dialog.m_messages.clear();
    ::SetWindowTextW(Edit(), L"");
    for (const wchar_t digit : std::wstring(L"800")) {
        ::SendMessageW(Edit(), WM_CHAR, digit, 0);
    }
    EXPECT_EQ(L"800", m_stages->GetEditText());
    const std::vector<UINT> typing = Codes();
    ASSERT_FALSE(typing.empty());
    EXPECT_EQ(Orvo::kNotifyEditAccepted, typing.back());

    m_dialog.m_messages.clear();
    ClickCard(1, 60, 80);
    EXPECT_EQ(std::vector<UINT>({Orvo::kNotifyEditClosed, Orvo::kNotifyClicked}), Codes());
    EXPECT_FALSE(::IsWindowVisible(Edit()));
    EXPECT_EQ(800, m_stages->GetDPIValue(0));
    EXPECT_EQ(1, m_stages->GetSelectItem());
}

TEST_F(DpiControlTest, DisabledBarTakesNoClicks) {
    AddStages(2);
    m_stages->SetEnabled(0);
    m_dialog.m_messages.clear();
    ClickCard(1, 50, 10);
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(0, m_stages->GetSelectItem());
    m_stages->ShowEdit();
    EXPECT_EQ(nullptr, Edit());
}

// The device worker selects stages while the window paints, the user moves over the cards and
// the edit is open: only the window's thread paints, and the open edit closes there with what
// was typed kept in the card it was opened on.
TEST_F(DpiControlTest, WorkerSelectsStagesWhileTheWindowPaintsAndTakesInput) {
    AddStages(6);
    ClickCard(2, 50, 56);
    ASSERT_NE(nullptr, Edit());
    ::SetWindowTextW(Edit(), L"1234");
    const DWORD uiThread = ::GetCurrentThreadId();

    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < 300; ++round) {
            m_stages->SetSelectItem(round % 6);
        }
        m_stages->SetSelectItem(4);
        done = true;
    });
    int x = kStagesRect.left;
    while (!done) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, kStagesRect.top + 50);
        x = x >= kStagesRect.right ? kStagesRect.left : x + 17;
        ::InvalidateRect(m_dialog.GetSafeHwnd(), nullptr, FALSE);
        ::UpdateWindow(m_dialog.GetSafeHwnd());
        OrvoTest::PumpMessages();
    }
    worker.join();
    OrvoTest::PumpMessages();
    ::UpdateWindow(m_dialog.GetSafeHwnd());

    EXPECT_EQ(4, m_stages->GetSelectItem());
    EXPECT_FALSE(::IsWindowVisible(Edit()));
    EXPECT_EQ(1234, m_stages->GetDPIValue(2));
    const std::vector<UINT> codes = Codes();
    EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), Orvo::kNotifyEditClosed));
    for (const DWORD thread : m_dialog.Threads()) {
        EXPECT_EQ(uiThread, thread);
    }
}

}  // namespace
