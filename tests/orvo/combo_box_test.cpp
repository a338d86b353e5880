// Combo boxes on a real dialog and their drop-down popup, driven through the window
// procedures of both windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/combo_box.h"
#include "orvo/combo_popup.h"
#include "orvo/paint_manager.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;

const CRect kComboRect(20, 20, 180, 50);

class ComboBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(60, 60, 420, 420), nullptr);
        // Active from the start, as a dialog the user clicks into is.
        m_dialog.ShowWindow(SW_SHOWNA);
        ::SetActiveWindow(m_dialog.GetSafeHwnd());
    }
    void TearDown() override {
        if (m_dialog.GetSafeHwnd() != nullptr) {
            m_dialog.DestroyWindow();
        }
        OrvoTest::PumpMessages();
    }
    template <typename T>
    T* Create(const wchar_t* className, UINT id, const RECT& rect, const wchar_t* text = L"") {
        return static_cast<T*>(m_dialog.CreateControl(className, id, rect, text, 1, 1));
    }
    Orvo::MComboBox* ComboWith(int count) {
        auto* combo = Create<Orvo::MComboBox>(L"MComboBox", 8, kComboRect);
        for (int i = 0; i < count; ++i) {
            combo->AddItem((L"item " + std::to_wstring(i)).c_str(), 100 + i);
        }
        return combo;
    }
    void Click(int x, int y) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, y);
        m_dialog.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, x, y);
    }
    void ClickCombo() { Click(kComboRect.left + 40, kComboRect.top + 15); }
    std::vector<UINT> Codes(UINT id) const {
        std::vector<UINT> codes;
        for (const auto& message : m_dialog.m_messages) {
            if (message.controlId == id) {
                codes.push_back(message.code);
            }
        }
        return codes;
    }

    TestDialog m_dialog;
};

TEST_F(ComboBoxTest, PopupIsEightRowsHighAtMost) {
    struct Case {
        int items;
        int height;
    };
    for (const Case& c : {Case{12, 252}, Case{3, 102}, Case{8, 252}, Case{1, 42}}) {
        Orvo::MComboBox* combo = ComboWith(c.items);
        ClickCombo();
        Orvo::CComboBoxWnd* popup = combo->GetDropDown();
        ASSERT_NE(popup, nullptr) << c.items;
        RECT place;
        ::GetWindowRect(popup->GetSafeHwnd(), &place);
        POINT below{kComboRect.left, kComboRect.bottom + 2};
        ::ClientToScreen(m_dialog.GetSafeHwnd(), &below);
        EXPECT_EQ(place.bottom - place.top, c.height) << c.items;
        EXPECT_EQ(place.right - place.left, kComboRect.Width());
        EXPECT_EQ(place.left, below.x);
        EXPECT_EQ(place.top, below.y);
        EXPECT_EQ(popup->GetList()->GetItemCount(), c.items);
        EXPECT_EQ(popup->GetList()->GetListHeight(), c.items * 30);
        wchar_t className[32] = {};
        ::GetClassNameW(popup->GetSafeHwnd(), className, 32);
        EXPECT_STREQ(className, L"ComboWnd");
        m_dialog.GetPaintManager()->RemoveControl(combo);
        OrvoTest::PumpMessages();
    }
}

TEST_F(ComboBoxTest, PickingAnItemSelectsItNotifiesAndCloses) {
    Orvo::MComboBox* combo = ComboWith(5);
    ClickCombo();
    Orvo::CComboBoxWnd* popup = combo->GetDropDown();
    ASSERT_NE(popup, nullptr);
    HWND window = popup->GetSafeHwnd();
    // Row 2 of the list, which starts 6 pixels down the popup.
    const LPARAM row = MAKELPARAM(40, 6 + 2 * 30 + 15);
    // The real pointer rests on the picked row, as a user's does; left over the combo by an
    // earlier test, it would rightly guard the combo against reopening.
    POINT onRow{40, 6 + 2 * 30 + 15};
    ::ClientToScreen(window, &onRow);
    ::SetCursorPos(onRow.x, onRow.y);
    m_dialog.m_messages.clear();
    ::SendMessageW(window, WM_MOUSEMOVE, 0, row);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, row);
    ::SendMessageW(window, WM_LBUTTONUP, 0, row);
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(combo->GetTitle(), L"item 2");
    ASSERT_EQ(Codes(8), (std::vector<UINT>{2}));
    EXPECT_EQ(m_dialog.m_messages.back().wParam, 2u);
    OrvoTest::PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(combo->GetDropDown(), nullptr);
    EXPECT_FALSE(combo->IsReopenGuarded());
}

TEST_F(ComboBoxTest, AReleaseOffThePressedRowPicksNothing) {
    Orvo::MComboBox* combo = ComboWith(5);
    ClickCombo();
    HWND window = combo->GetDropDown()->GetSafeHwnd();
    m_dialog.m_messages.clear();
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(40, 6 + 15));
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 6 + 15));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(40, 6 + 3 * 30 + 15));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_TRUE(Codes(8).empty());
    EXPECT_NE(combo->GetDropDown(), nullptr);
}

TEST_F(ComboBoxTest, ClickingTheComboWhileItsListIsOpenClosesItForGood) {
    Orvo::MComboBox* combo = ComboWith(4);
    ClickCombo();
    ASSERT_NE(combo->GetDropDown(), nullptr);
    // The pointer rests on the combo, as it does when the user clicks it.
    POINT onCombo{kComboRect.left + 40, kComboRect.top + 15};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &onCombo);
    ::SetCursorPos(onCombo.x, onCombo.y);
    ClickCombo();
    OrvoTest::PumpMessages();
    EXPECT_EQ(combo->GetDropDown(), nullptr);
    EXPECT_FALSE(combo->IsReopenGuarded());
    // The next click opens it again.
    ClickCombo();
    EXPECT_NE(combo->GetDropDown(), nullptr);
}

TEST_F(ComboBoxTest, RemovingTheComboWithItsListOpenClosesTheList) {
    Orvo::MComboBox* combo = ComboWith(4);
    ClickCombo();
    HWND window = combo->GetDropDown()->GetSafeHwnd();
    EXPECT_TRUE(m_dialog.GetPaintManager()->RemoveControl(combo));
    EXPECT_FALSE(::IsWindow(window));
    OrvoTest::PumpMessages();
}

TEST_F(ComboBoxTest, GroupedCombosCheckOneAtATime) {
    // Only a panel's factory makes these; the dialog takes them as they are.
    auto* first = static_cast<Orvo::MComboBox2*>(m_dialog.GetPaintManager()->AddControl(
        std::make_unique<Orvo::MComboBox2>(&m_dialog, 11, CRect(20, 100, 180, 130), 1, 1)));
    auto* second = static_cast<Orvo::MComboBox2*>(m_dialog.GetPaintManager()->AddControl(
        std::make_unique<Orvo::MComboBox2>(&m_dialog, 12, CRect(200, 100, 360, 130), 1, 1)));
    first->SetControlCheck(1);
    EXPECT_EQ(first->GetCheck(), 1);
    Click(220, 115);
    EXPECT_EQ(second->GetCheck(), 1);
    EXPECT_EQ(first->GetCheck(), 0);
    second->SetGroupName(L"other");
    first->SetControlCheck(1);
    EXPECT_EQ(second->GetCheck(), 1);
}

TEST_F(ComboBoxTest, ComboInsertReturnsCountMinusOneAndRefusesBadIndexes) {
    auto* combo = Create<Orvo::MComboBox>(L"MComboBox", 8, CRect(10, 10, 160, 40));
    ASSERT_NE(combo, nullptr);
    struct Case {
        int index;
        const wchar_t* text;
        int result;
    };
    const Case cases[] = {
        {0, L"on an empty list", -1},
        {-1, L"first", 0},
        {-1, L"second", 1},
        {0, L"before first", 2},
        {3, L"past end", -1},
        {-2, L"negative", -1},
        {2, L"middle", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(combo->InsertItem(c.index, c.text, 0), c.result) << c.index;
    }
    EXPECT_EQ(combo->GetItemText(0), L"before first");
    EXPECT_EQ(combo->GetItemText(1), L"first");
    EXPECT_EQ(combo->GetItemText(2), L"middle");
    EXPECT_EQ(combo->GetItemText(3), L"second");
    EXPECT_EQ(combo->GetItemText(4), L"");
}

TEST_F(ComboBoxTest, ComboSelectionAndTitle) {
    auto* combo = Create<Orvo::MComboBox>(L"MComboBox", 8, CRect(10, 10, 160, 40));
    for (int i = 0; i < 3; ++i) {
        combo->AddItem((L"item " + std::to_wstring(i)).c_str(), 100 + i);
    }
    EXPECT_EQ(combo->SetCurSel(1), 1);
    EXPECT_EQ(combo->GetTitle(), L"item 1");
    EXPECT_EQ(combo->GetCurData(), 101);
    EXPECT_EQ(combo->SetCurSel(3), 0);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->SelectData(102), 1);
    EXPECT_EQ(combo->GetTitle(), L"item 2");
    EXPECT_EQ(combo->SelectData(7), 0);
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_TRUE(combo->SetItemText(2, L"renamed"));
    EXPECT_EQ(combo->GetTitle(), L"renamed");
    EXPECT_FALSE(combo->SetItemText(5, L"nothing"));
    EXPECT_EQ(combo->SetCurSel(-1), 1);
    EXPECT_EQ(combo->GetTitle(), L"");
    EXPECT_EQ(combo->GetCurData(), 0);
}

TEST_F(ComboBoxTest, ComboDeleteKeepsTheSelectionInsideTheItems) {
    struct Case {
        int selected;
        int deleted;
        int selectionAfter;
        const wchar_t* titleAfter;
    };
    const Case cases[] = {
        {2, 2, 1, L"b"},   // the last item, selected, goes: the new last one
        {0, 2, 0, L"a"},   // an item after the selection goes
        {1, 0, 1, L"c"},   // an item before it goes: the index stays
        {-1, 1, -1, L""},  // no selection stays none
    };
    for (const Case& c : cases) {
        Orvo::MComboBox combo(&m_dialog, 1, CRect(0, 0, 100, 30), 1, 1);
        for (const wchar_t* text : {L"a", L"b", L"c"}) {
            combo.AddItem(text);
        }
        combo.SetCurSel(c.selected);
        EXPECT_TRUE(combo.DeleteItem(c.deleted));
        EXPECT_EQ(combo.GetCurSel(), c.selectionAfter) << c.selected << " " << c.deleted;
        EXPECT_EQ(combo.GetTitle(), c.titleAfter) << c.selected << " " << c.deleted;
    }
    Orvo::MComboBox single(&m_dialog, 1, CRect(0, 0, 100, 30), 1, 1);
    single.AddItem(L"only");
    single.SetCurSel(0);
    EXPECT_FALSE(single.DeleteItem(1));
    EXPECT_TRUE(single.DeleteItem(0));
    EXPECT_EQ(single.GetCurSel(), -1);
    EXPECT_EQ(single.GetTitle(), L"");
}

TEST_F(ComboBoxTest, ColourComboNotifiesOnARelease) {
    auto combo = std::make_unique<Orvo::CColorCombo>(&m_dialog, 9, CRect(10, 10, 110, 40), 1, 1);
    Orvo::CColorCombo* raw = combo.get();
    m_dialog.GetPaintManager()->AddControl(std::move(combo));
    EXPECT_EQ(raw->GetAreaColor(), Orvo::Argb(0xFEFFFF00));
    Click(50, 25);
    EXPECT_EQ(Codes(9), (std::vector<UINT>{2}));
    raw->SetAreaColor(Orvo::Argb(0xFF00FF00));
    EXPECT_EQ(raw->GetAreaColor(), Orvo::Argb(0xFF00FF00));
}

}  // namespace
