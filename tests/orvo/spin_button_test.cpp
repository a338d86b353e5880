// The value spinner on a real dialog: its buttons and typed digits, through the window
// procedure.
#include <gtest/gtest.h>

#include <windows.h>

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

}  // namespace
