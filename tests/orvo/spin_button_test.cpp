// The value spinner on a real dialog: its buttons and typed digits, through the window
// procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core_test_support.h"
#include "orvo/spin_button.h"

namespace {

using Orvo::CRect;

TEST(SpinButtonTest, ButtonsAndDigitsWrapIntoTheRangeAndEachChangeSends28) {
    OrvoTest::StartGdiplus();
    OrvoTest::TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(30, 30, 300, 200), nullptr);
    auto* spin = static_cast<Orvo::MSpinButton*>(
        dialog.CreateControl(L"MSpinButton", 20, CRect(10, 10, 90, 40), L"", 1, 1));
    ASSERT_NE(spin, nullptr);
    const auto clickUp = [&] {
        dialog.Mouse(WM_MOUSEMOVE, 85, 15);
        dialog.Mouse(WM_LBUTTONDOWN, 85, 15, MK_LBUTTON);
        dialog.Mouse(WM_LBUTTONUP, 85, 15);
    };
    const auto clickDown = [&] {
        dialog.Mouse(WM_MOUSEMOVE, 85, 35);
        dialog.Mouse(WM_LBUTTONDOWN, 85, 35, MK_LBUTTON);
        dialog.Mouse(WM_LBUTTONUP, 85, 35);
    };
    const auto spinChanges = [&] {
        size_t count = 0;
        for (const auto& message : dialog.m_messages) {
            count += message.controlId == 20 && message.code == Orvo::kNotifySpinChanged;
        }
        return count;
    };

    spin->SetCurValue(100);
    EXPECT_EQ(0u, spinChanges()) << "SetCurValue never notifies";
    clickUp();
    EXPECT_EQ(1, spin->GetCurValue());
    EXPECT_EQ(1u, spinChanges());
    clickDown();
    EXPECT_EQ(100, spin->GetCurValue());
    EXPECT_EQ(2u, spinChanges());

    // Typed digits, the spinner holding the focus after a press on its field.
    dialog.Mouse(WM_MOUSEMOVE, 30, 25);
    dialog.Mouse(WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
    dialog.Mouse(WM_LBUTTONUP, 30, 25);
    spin->SetRange(1, 500);
    spin->SetCurValue(1);
    struct Case {
        UINT key;
        int value;
    };
    const Case cases[] = {
        {'2', 12}, {'3', 123}, {'4', 4},  // a fourth digit starts a new value
        {'9', 49}, {'9', 499}, {VK_NUMPAD7, 7},
    };
    for (const Case& c : cases) {
        dialog.Send(WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(c.value, spin->GetCurValue()) << c.key;
    }
    spin->SetCurValue(60);
    dialog.Send(WM_KEYDOWN, '0', 0);
    EXPECT_EQ(1, spin->GetCurValue()) << "600 is past the maximum and wraps to the minimum";

    // A range given upside down is taken the right way round.
    spin->SetRange(10, 2);
    EXPECT_EQ(2, spin->GetMinimum());
    EXPECT_EQ(10, spin->GetMaximum());
    dialog.DestroyWindow();
}

TEST(SpinButtonTest, RichEditSpinnerStepsWrapsAndKeepsTypedNumbersInRange) {
    OrvoTest::StartGdiplus();
    OrvoTest::TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(30, 30, 300, 200), nullptr);
    dialog.ShowWindow(SW_SHOWNA);
    ::SetActiveWindow(dialog.GetSafeHwnd());
    auto* spin = dynamic_cast<Orvo::CSpinButton*>(
        dialog.CreateControl(L"CSpinButton", 21, CRect(10, 10, 110, 40), L"", 1, 1));
    ASSERT_NE(spin, nullptr);
    if (!spin->IsReady()) {
        dialog.DestroyWindow();
        GTEST_SKIP() << "the system's rich edit text services are missing";
    }
    const auto click = [&](int x, int y) {
        dialog.Mouse(WM_MOUSEMOVE, x, y);
        dialog.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        dialog.Mouse(WM_LBUTTONUP, x, y);
    };
    const auto spinChanges = [&] {
        size_t count = 0;
        for (const auto& message : dialog.m_messages) {
            count += message.controlId == 21 && message.code == Orvo::kNotifySpinChanged;
        }
        return count;
    };

    spin->SetRange(5, 9);
    EXPECT_EQ(5, spin->GetCurValue()) << "the value 0 is clamped into the new range";
    EXPECT_EQ(L"5", spin->GetText());
    spin->SetCurValue(9);
    EXPECT_EQ(0u, spinChanges()) << "SetCurValue never notifies";

    struct Step {
        int x, y;  // the up button (upper half of the right edge) or the down one
        int value;
    };
    const Step steps[] = {{105, 15, 5}, {105, 15, 6}, {105, 35, 5}, {105, 35, 9}};
    size_t expectedChanges = 0;
    for (const Step& step : steps) {
        click(step.x, step.y);
        EXPECT_EQ(step.value, spin->GetCurValue()) << step.x << "," << step.y;
        EXPECT_EQ(std::to_wstring(step.value), spin->GetText());
        EXPECT_EQ(++expectedChanges, spinChanges());
    }

    // Typed text: a number past the maximum counts as the maximum and is put back when the
    // field loses the focus; what is no number leaves the last value.
    struct Typed {
        const wchar_t* text;
        int value;
    };
    const Typed typed[] = {{L"7", 7}, {L"42", 9}, {L"1", 5}, {L"x", 5}};
    for (const Typed& t : typed) {
        click(30, 25);
        spin->SelectAll();
        for (const wchar_t* c = t.text; *c != L'\0'; ++c) {
            dialog.Send(WM_CHAR, *c, 1);
        }
        EXPECT_EQ(t.value, spin->GetCurValue()) << t.text;
        spin->SetControlFocus(0);
        EXPECT_EQ(std::to_wstring(t.value), spin->GetText()) << t.text;
    }
    dialog.DestroyWindow();
}

}  // namespace
