// The report-rate selector, the mouse picture's call-outs, the button rows and the key
// function lists on a real dialog, driven through its window procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include "core_test_support.h"
#include "orvo/control_factory.h"
#include "orvo/key_func.h"
#include "orvo/mouse_pickers.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace {

using Orvo::ColorRef;
using Orvo::CRect;

class PickerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(30, 30, 700, 500), nullptr);
        m_dialog.ShowWindow(SW_SHOWNA);
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    // These classes are made only by a panel's factory; the dialog then takes them over.
    template <typename T>
    T* Make(const wchar_t* name, UINT id, const RECT& rect) {
        std::unique_ptr<Orvo::MControl> made = Orvo::ControlFactory::Create(
            Orvo::FactoryTable::kPanel, name, &m_dialog, id, rect, L"", 1, 1);
        if (made == nullptr) {
            return nullptr;
        }
        return static_cast<T*>(m_dialog.GetPaintManager()->AddControl(std::move(made)));
    }
    void Press(int x, int y) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, y);
        m_dialog.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    }
    void Release(int x, int y) { m_dialog.Mouse(WM_LBUTTONUP, x, y); }
    void Click(int x, int y) {
        Press(x, y);
        Release(x, y);
    }

    OrvoTest::TestDialog m_dialog;
};

TEST_F(PickerTest, ReportRateCardsStartAt11AndAClickSends1Then2WithTheIndex) {
    auto* rates = Make<Orvo::ReporteCtrl>(L"ReporteCtrl", 112, CRect(10, 10, 560, 50));
    ASSERT_NE(rates, nullptr);
    const wchar_t* texts[] = {L"125Hz", L"250Hz", L"500Hz", L"1000Hz"};
    const ColorRef colours[] = {ColorRef(67825), ColorRef(15559424), ColorRef(5109248),
                                ColorRef(2139135)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(i, rates->AddItem(texts[i], i, colours[i]));
    }
    const int starts[] = {11, 141, 271, 401};
    for (int i = 0; i < 4; ++i) {
        // The card's own outline starts one pixel before its drawing.
        EXPECT_EQ(starts[i] - 1, rates->GetItemRect(i).left) << i;
    }
    // What is drawn: the colour strip at x = 11, the captured background just left of it.
    Orvo::MemoryCanvas canvas(560, 60);
    Orvo::MRender::FillSolidRect(canvas.GetDC(), RECT{0, 0, 560, 60}, ColorRef::FromRgb(1, 2, 3));
    rates->SetUpdate(0, ColorRef());
    rates->Draw(canvas.GetDC(), CRect(0, 0, 560, 60));
    EXPECT_EQ(colours[1].ToArgb(0).Value(), canvas.GetPixel(10 + 141 + 5, 30) & 0xFFFFFF);
    EXPECT_EQ(0x010203u, canvas.GetPixel(10 + 141 - 3, 30) & 0xFFFFFF);

    rates->SetSelectItemValue(2);
    EXPECT_EQ(2, rates->GetSelectItem());
    rates->SetSelectItemValue(9);
    EXPECT_EQ(2, rates->GetSelectItem()) << "no entry with that value keeps the selection";
    EXPECT_TRUE(m_dialog.m_messages.empty()) << "selecting by code never notifies";

    Click(10 + 271 + 50, 30);
    ASSERT_EQ(2u, m_dialog.m_messages.size());
    EXPECT_EQ(Orvo::kNotifyPressed, m_dialog.m_messages[0].code);
    EXPECT_EQ(Orvo::kNotifyClicked, m_dialog.m_messages[1].code);
    EXPECT_EQ(2u, m_dialog.m_messages[1].wParam);
    EXPECT_EQ(L"500Hz", rates->GetItemKeyName(2));
    EXPECT_EQ(L"", rates->GetItemKeyName(4));
    EXPECT_EQ(0, rates->GetItemKeyValue(-1));
    EXPECT_EQ(1, rates->DeleteAllItems());
    EXPECT_EQ(-1, rates->GetSelectItem());
}

TEST_F(PickerTest, PressBetweenMouseLabelsSends1WithMinusOneAndTheReleaseNothing) {
    auto* mouse = Make<Orvo::MouseCtrl>(L"MouseCtrl", 82, CRect(0, 0, 360, 392));
    ASSERT_NE(mouse, nullptr);
    // The description file's buttons: left button, label on the left; wheel, label right.
    EXPECT_EQ(0, mouse->AddItem(L"Left", 0, 0, POINT{80, 100}, POINT{145, 100}));
    EXPECT_EQ(1, mouse->AddItem(L"Wheel", 2, 1, POINT{180, 85}, POINT{280, 85}));
    EXPECT_EQ(CRect(13, 87, 79, 113), mouse->GetItemRect(0));
    EXPECT_EQ(CRect(281, 72, 347, 98), mouse->GetItemRect(1));

    // On the mouse body, between the labels.
    Press(180, 250);
    ASSERT_EQ(1u, m_dialog.m_messages.size());
    EXPECT_EQ(Orvo::kNotifyPressed, m_dialog.m_messages[0].code);
    EXPECT_EQ(static_cast<WPARAM>(-1), m_dialog.m_messages[0].wParam);
    EXPECT_EQ(-1, mouse->GetSelectItem());
    Release(180, 250);
    EXPECT_EQ(1u, m_dialog.m_messages.size());

    m_dialog.m_messages.clear();
    Click(300, 85);
    ASSERT_EQ(2u, m_dialog.m_messages.size());
    EXPECT_EQ(Orvo::kNotifyPressed, m_dialog.m_messages[0].code);
    EXPECT_EQ(1u, m_dialog.m_messages[0].wParam);
    EXPECT_EQ(Orvo::kNotifyClicked, m_dialog.m_messages[1].code);
    EXPECT_EQ(1u, m_dialog.m_messages[1].wParam);
    EXPECT_EQ(1, mouse->GetSelectItem());
    EXPECT_EQ(2, mouse->GetItemKeyValue(1));

    // At scale 1.5 every coordinate grows with it.
    mouse->SetScaleValue(1.5f);
    EXPECT_EQ(CRect(19, 130, 118, 169), mouse->GetItemRect(0));
}

TEST_F(PickerTest, ButtonRowsAtScaleOneAndAHalfAre40High45Apart) {
    auto* keys = Make<Orvo::MouseKeyCtrl>(L"MouseKeyCtrl", 60, CRect(10, 10, 310, 400));
    ASSERT_NE(keys, nullptr);
    for (int i = 0; i < 3; ++i) {
        keys->AddItem(L"Button", L"Left click", i);
    }
    EXPECT_EQ(CRect(0, 32, 300, 59), keys->GetItemRect(1));
    keys->SetScaleValue(1.5f);
    EXPECT_EQ(CRect(0, 45, 300, 85), keys->GetItemRect(1));
    EXPECT_EQ(90, keys->GetItemRect(2).top);

    EXPECT_EQ(1, keys->SetItemKeyDesc(2, L"Macro 1"));
    keys->SetSelectItem(0);
    EXPECT_TRUE(m_dialog.m_messages.empty()) << "SetSelectItem never notifies";
    Click(100, 10 + 50);
    ASSERT_EQ(2u, m_dialog.m_messages.size());
    EXPECT_EQ(1u, m_dialog.m_messages[1].wParam);
    EXPECT_EQ(L"Button", keys->GetItemKeyName(1));
}

TEST_F(PickerTest, KeyFunctionRowsStackWithoutGapsAndOnlyAReleaseOnARowNotifies) {
    auto* values = Make<Orvo::KeyFuncValue>(L"KeyFuncValue", 74, CRect(100, 20, 300, 400));
    ASSERT_NE(values, nullptr);
    const int data[] = {1, 2, 3, 5, 6};
    for (int i = 0; i < 5; ++i) {
        values->AddItem(L"Function", data[i], L"no-such-icon.png");
        EXPECT_FALSE(values->HasIcon(i));
    }
    EXPECT_EQ(CRect(0, 0, 200, 30), values->GetItemRect(0));
    EXPECT_EQ(150, values->GetItemRect(4).bottom);

    values->SetCurData(3);
    EXPECT_EQ(2, values->GetSelectItem());
    EXPECT_EQ(3, values->GetCurData());
    values->SetCurData(42);
    EXPECT_EQ(2, values->GetSelectItem()) << "no row with that data keeps the selection";
    EXPECT_EQ(0, values->SetItemText(5, L"x"));
    EXPECT_EQ(1, values->SetItemText(4, L"Back"));
    EXPECT_EQ(L"Back", values->GetItemText(4));
    EXPECT_EQ(L"", values->GetItemText(-1));
    EXPECT_EQ(0, values->GetItemData(9));

    // A press on row 1 and the release outside: selected, nothing sent.
    Press(150, 20 + 45);
    Release(500, 450);
    EXPECT_EQ(1, values->GetSelectItem());
    EXPECT_TRUE(m_dialog.m_messages.empty());

    Click(150, 20 + 100);
    ASSERT_EQ(1u, m_dialog.m_messages.size());
    EXPECT_EQ(Orvo::kNotifyClicked, m_dialog.m_messages[0].code);
    EXPECT_EQ(0u, m_dialog.m_messages[0].wParam);
    EXPECT_EQ(3, m_dialog.m_messages[0].lParam);

    auto* types = Make<Orvo::KeyFuncType>(L"KeyFuncType", 69, CRect(400, 20, 600, 420));
    ASSERT_NE(types, nullptr);
    types->AddItem(L"Default", 0, L"no-such-icon.png");
    types->AddItem(L"Mouse", 1, nullptr);
    EXPECT_EQ(CRect(0, 40, 200, 80), types->GetItemRect(1));
    types->ClearList();
    EXPECT_EQ(0, types->GetItemCount());
    EXPECT_EQ(-1, types->GetSelectItem());
    EXPECT_EQ(0, types->GetCurData());
}

}  // namespace
