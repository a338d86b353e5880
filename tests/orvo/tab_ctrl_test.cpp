// Tab strips on a real dialog, driven through its window procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include "core_test_support.h"
#include "orvo/control_factory.h"
#include "orvo/tab_ctrl.h"

namespace {

using Orvo::CRect;
using OrvoTest::RecordingControl;
using OrvoTest::TestDialog;

constexpr UINT kTabsId = 48;

class TabCtrlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(20, 20, 900, 500), nullptr);
        m_tabs = static_cast<Orvo::MTabCtrl*>(
            m_dialog.CreateControl(L"MTabCtrl", kTabsId, CRect(0, 50, 700, 470), L"", 1, 1));
        ASSERT_NE(m_tabs, nullptr);
        m_tabs->SetTabCtrlWidth(190);
        m_tabs->SetItemHeight(60, 0, 1);
        for (UINT i = 0; i < 4; ++i) {
            m_pages[i] = m_dialog.Add(100 + i, CRect(200, 50, 700, 470));
            m_tabs->InsertItem(i + 1, L"Tab", nullptr, m_pages[i]);
        }
        m_dialog.m_messages.clear();
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    std::vector<int> VisiblePages() const {
        std::vector<int> shown;
        for (int i = 0; i < 4; ++i) {
            if (m_pages[i]->IsVisible()) {
                shown.push_back(i);
            }
        }
        return shown;
    }

    TestDialog m_dialog;
    Orvo::MTabCtrl* m_tabs = nullptr;
    RecordingControl* m_pages[4] = {};
};

TEST_F(TabCtrlTest, VerticalTabsStackOnePixelApartAndTheFirstIsSelected) {
    for (int i = 0; i < 4; ++i) {
        const int top = 50 + i * 61;
        EXPECT_EQ(CRect(m_tabs->GetItemInfo(i)->rect), CRect(0, top, 190, top + 60)) << i;
    }
    EXPECT_EQ(0, m_tabs->GetSelectItem());
    EXPECT_EQ(std::vector<int>{0}, VisiblePages());
    EXPECT_EQ(nullptr, m_tabs->GetItemInfo(4));
    EXPECT_EQ(0u, m_tabs->GetItemID(-1));
    EXPECT_EQ(3u, m_tabs->GetItemID(2));
}

TEST_F(TabCtrlTest, SelectingSendsOneNotificationAndShowsOnlyThatPage) {
    EXPECT_EQ(0, m_tabs->SetSelectItem(0));
    EXPECT_TRUE(m_dialog.m_messages.empty()) << "the selected tab again sends nothing";

    EXPECT_EQ(0, m_tabs->SetSelectItem(2));
    ASSERT_EQ(1u, m_dialog.m_messages.size());
    EXPECT_EQ(kTabsId, m_dialog.m_messages[0].controlId);
    EXPECT_EQ(Orvo::kNotifyPressed, m_dialog.m_messages[0].code);
    EXPECT_EQ(2u, m_dialog.m_messages[0].wParam);
    EXPECT_EQ(std::vector<int>{2}, VisiblePages());

    // A press on the second tab selects it.
    m_dialog.Mouse(WM_MOUSEMOVE, 60, 50 + 61 + 30);
    m_dialog.Mouse(WM_LBUTTONDOWN, 60, 50 + 61 + 30, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 60, 50 + 61 + 30);
    EXPECT_EQ(1, m_tabs->GetSelectItem());
    EXPECT_EQ(std::vector<int>{1}, VisiblePages());
    EXPECT_EQ(2u, m_dialog.m_messages.size());
}

TEST_F(TabCtrlTest, HidingTheSelectedTabMovesTheSelectionToTheLastVisibleTab) {
    m_tabs->SetSelectItem(1);
    m_tabs->SetItemVisible(1, 0);
    EXPECT_EQ(3, m_tabs->GetSelectItem());
    EXPECT_EQ(std::vector<int>{3}, VisiblePages());
    EXPECT_TRUE(CRect(m_tabs->GetItemInfo(1)->rect).IsRectNull());
    // The tabs after the hidden one move up into its place.
    EXPECT_EQ(50 + 61, m_tabs->GetItemInfo(2)->rect.top);
}

TEST_F(TabCtrlTest, ItemWidthFitsTheStripBetweenMinimumAndPreferred) {
    struct Case {
        int preferred;
        int minimum;
        int expected;
    };
    // Four tabs in 700 pixels fit at 175 each.
    const Case cases[] = {
        {190, 150, 175}, {190, 180, 180}, {150, 100, 150}, {190, 0, 190}, {120, -5, 120}};
    for (const Case& c : cases) {
        m_tabs->SetItemWidth(c.preferred, c.minimum, 1);
        EXPECT_EQ(c.expected, m_tabs->GetItemWidth()) << c.preferred << " " << c.minimum;
    }
}

TEST_F(TabCtrlTest, DeletingTabsDownToNoneDividesByNothing) {
    for (int i = 3; i >= 0; --i) {
        m_tabs->DeleteItem(i);
    }
    EXPECT_EQ(0, m_tabs->GetItemCount());
    EXPECT_EQ(-1, m_tabs->GetSelectItem());
    m_tabs->SetItemWidth(190, 150, 1);
    EXPECT_EQ(190, m_tabs->GetItemWidth());
    EXPECT_EQ(nullptr, m_tabs->CreatePanel(L"MPanel", 9, CRect(0, 0, 10, 10)));
}

TEST(TabCtrl1Test, ClickOnARowSelectsItShowsItsPageAndSends2) {
    OrvoTest::StartGdiplus();
    TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(20, 20, 600, 400), nullptr);
    auto* tabs = static_cast<Orvo::CTabCtrl1*>(
        dialog.CreateControl(L"CTabCtrl1", 33, CRect(1, 100, 201, 400), L"", 1, 1));
    ASSERT_NE(tabs, nullptr);
    RecordingControl* first = dialog.Add(35, CRect(202, 50, 600, 400));
    RecordingControl* second = dialog.Add(38, CRect(202, 50, 600, 400));
    EXPECT_EQ(0, tabs->AddItem(L"General", 651, first));
    EXPECT_EQ(1, tabs->AddItem(L"About", 655, second));
    tabs->SetSelectItem(0);
    EXPECT_TRUE(first->IsVisible());
    EXPECT_FALSE(second->IsVisible());
    EXPECT_TRUE(dialog.m_messages.empty()) << "SetSelectItem never notifies";

    const int y = 100 + 60 + 30;
    dialog.Mouse(WM_MOUSEMOVE, 100, y);
    dialog.Mouse(WM_LBUTTONDOWN, 100, y, MK_LBUTTON);
    dialog.Mouse(WM_LBUTTONUP, 100, y);
    EXPECT_EQ(1, tabs->GetSelectItem());
    EXPECT_FALSE(first->IsVisible());
    EXPECT_TRUE(second->IsVisible());
    ASSERT_EQ(1u, dialog.m_messages.size());
    EXPECT_EQ(Orvo::kNotifyClicked, dialog.m_messages[0].code);
    EXPECT_EQ(1, dialog.m_messages[0].lParam);

    // Below the last row nothing is selected or sent.
    dialog.Mouse(WM_MOUSEMOVE, 100, 350);
    dialog.Mouse(WM_LBUTTONDOWN, 100, 350, MK_LBUTTON);
    dialog.Mouse(WM_LBUTTONUP, 100, 350);
    EXPECT_EQ(1, tabs->GetSelectItem());
    EXPECT_EQ(1u, dialog.m_messages.size());
    dialog.DestroyWindow();
}

}  // namespace
