// Labels, edit boxes and combo boxes on a real dialog, driven through its window procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/edit.h"
#include "orvo/number_edit.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "orvo/text.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;

class TextControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(40, 40, 420, 300), nullptr);
        // Active from the start: a dialog that is activated by the first click into its
        // edit would see a deactivation first, which ends every press.
        m_dialog.ShowWindow(SW_SHOWNA);
        ::SetActiveWindow(m_dialog.GetSafeHwnd());
    }
    void TearDown() override {
        if (m_dialog.GetSafeHwnd() != nullptr) {
            m_dialog.DestroyWindow();
        }
    }
    template <typename T>
    T* Create(const wchar_t* className, UINT id, const RECT& rect, const wchar_t* text = L"") {
        return static_cast<T*>(m_dialog.CreateControl(className, id, rect, text, 1, 1));
    }
    void Click(int x, int y) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, y);
        m_dialog.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, x, y);
    }
    std::vector<UINT> Codes(UINT id) const {
        std::vector<UINT> codes;
        for (const auto& message : m_dialog.m_messages) {
            if (message.controlId == id) {
                codes.push_back(message.code);
            }
        }
        return codes;
    }
    static void Type(HWND edit, const std::wstring& text) {
        for (wchar_t c : text) {
            ::SendMessageW(edit, WM_CHAR, c, 1);
        }
    }
    // The brightest channel value inside rect of a control drawn on black.
    static int Brightest(Orvo::MControl& control, const RECT& rect) {
        const CRect& place = control.GetRect();
        Orvo::MemoryCanvas canvas(place.right + 1, place.bottom + 1);
        control.SetUpdate(0, Orvo::ColorRef());
        control.DrawControl(canvas.GetDC(), place);
        ::GdiFlush();
        int brightest = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const DWORD pixel = canvas.GetPixel(x, y);
                brightest = std::max({brightest, static_cast<int>((pixel >> 16) & 0xFF),
                                      static_cast<int>((pixel >> 8) & 0xFF),
                                      static_cast<int>(pixel & 0xFF)});
            }
        }
        return brightest;
    }

    TestDialog m_dialog;
};

TEST_F(TextControlsTest, LabelIsCreatedDisabledAndTakesNoClicks) {
    auto* label = Create<Orvo::MText>(L"MText", 4, CRect(10, 10, 200, 40), L"Report rate");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->IsEnabled(), 0);
    EXPECT_EQ(label->GetRresponse(), 0);
    Click(50, 20);
    EXPECT_EQ(m_dialog.GetPaintManager()->GetHoverControl(), nullptr);
    EXPECT_TRUE(m_dialog.m_messages.empty());
}

TEST_F(TextControlsTest, LabelDrawsItsTitleInItsColour) {
    auto* label = Create<Orvo::MText>(L"MText", 4, CRect(10, 10, 200, 40), L"WWWW");
    ASSERT_NE(label, nullptr);
    label->SetTextColor(Orvo::Argb(0xFFFFFFFF));
    if (label->GetFontFamily(nullptr) == nullptr) {
        GTEST_SKIP() << "the default font family is not installed";
    }
    EXPECT_GT(Brightest(*label, CRect(10, 10, 200, 40)), 200);
    label->SetTitle(L"");
    EXPECT_EQ(Brightest(*label, CRect(10, 10, 200, 40)), 0);
}

TEST_F(TextControlsTest, EditShowsItsTipGreyUntilItHasText) {
    auto* edit = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40), L"Name");
    ASSERT_NE(edit, nullptr);
    edit->SetTextColor(Orvo::Argb(0xFFFFFFFF));
    const CRect text = edit->GetTextRect();
    const int tip = Brightest(*edit, text);
    EXPECT_GT(tip, 0x60);
    EXPECT_LE(tip, 0xB4);
    edit->SetControlTitle(L"Name");
    EXPECT_GT(Brightest(*edit, text), 0xE0);
}

TEST_F(TextControlsTest, EditTextBandFollowsTheFontSize) {
    struct Case {
        int fontSize;
        int bandHeight;
    };
    for (const Case& c : {Case{10, 14}, Case{12, 18}, Case{14, 20}, Case{16, 22}}) {
        Orvo::MEdit edit(&m_dialog, 1, CRect(0, 0, 200, 40), L"", 1, 1);
        edit.SetFontWidth(c.fontSize);
        const CRect band = edit.GetTextRect();
        EXPECT_EQ(band.Height(), c.bandHeight) << c.fontSize;
        EXPECT_EQ(band.top, (40 - c.bandHeight) / 2) << c.fontSize;
        EXPECT_EQ(band.left, 6);
        EXPECT_EQ(band.right, 194);
    }
    Orvo::MEdit multi(&m_dialog, 1, CRect(0, 0, 200, 60), L"", 1, 1);
    multi.SetMultLineMode(true);
    EXPECT_EQ(multi.GetTextRect(), CRect(6, 5, 194, 55));
}

TEST_F(TextControlsTest, ClickOpensTheEditTypingChangesTheTextAndReadingClosesIt) {
    auto* edit = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40), L"Name");
    ASSERT_NE(edit, nullptr);
    Click(100, 25);
    ASSERT_NE(edit->GetEditWindow(), nullptr);
    HWND window = edit->GetEditWindow()->GetSafeHwnd();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(Codes(5), (std::vector<UINT>{30, 1, 2}));
    EXPECT_EQ(edit->GetState(), Orvo::MEdit::kHovered);

    m_dialog.m_messages.clear();
    Type(window, L"abc");
    EXPECT_EQ(edit->GetEditText(), L"abc");
    EXPECT_EQ(Codes(5), (std::vector<UINT>{26, 26, 26}));

    m_dialog.m_messages.clear();
    EXPECT_EQ(edit->GetControlTitle(), L"abc");
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(Codes(5), (std::vector<UINT>{29}));
    EXPECT_EQ(edit->GetEditText(), L"abc");
}

TEST_F(TextControlsTest, ReturnKeepsAndEscapeThrowsAwayWhatWasTyped) {
    struct Case {
        WPARAM key;
        std::wstring title;
    };
    for (const Case& c : {Case{VK_RETURN, L"start-more"}, Case{VK_ESCAPE, L"start"}}) {
        auto* edit = Create<Orvo::MEdit>(L"MEdit", 6, CRect(10, 60, 210, 90));
        ASSERT_NE(edit, nullptr);
        edit->SetControlTitle(L"start");
        Click(100, 75);
        ASSERT_NE(edit->GetEditWindow(), nullptr);
        HWND window = edit->GetEditWindow()->GetSafeHwnd();
        Type(window, L"-more");
        m_dialog.m_messages.clear();
        ::SendMessageW(window, WM_KEYDOWN, c.key, 1);
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_EQ(edit->GetTitleEx(), c.title);
        const std::vector<UINT> codes = Codes(6);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), 29u), 1);
        m_dialog.GetPaintManager()->RemoveControl(edit);
    }
}

TEST_F(TextControlsTest, ClickingElsewhereClosesTheEditOnce) {
    auto* edit = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40));
    auto* other = Create<Orvo::MEdit>(L"MEdit", 7, CRect(10, 100, 210, 130));
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(other, nullptr);
    Click(100, 25);
    Type(edit->GetEditWindow()->GetSafeHwnd(), L"x");
    m_dialog.m_messages.clear();
    Click(100, 115);
    EXPECT_EQ(Codes(5), (std::vector<UINT>{29}));
    EXPECT_EQ(edit->GetTitleEx(), L"x");
    EXPECT_EQ(edit->GetState(), Orvo::MEdit::kNormal);
    ASSERT_NE(other->GetEditWindow(), nullptr);
    EXPECT_EQ(::GetFocus(), other->GetEditWindow()->GetSafeHwnd());
}

TEST_F(TextControlsTest, TypedCharactersAreSwallowedWhileTheControlSaysSo) {
    auto* edit = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40));
    ASSERT_NE(edit, nullptr);
    edit->SetCharMessage(0);
    Click(100, 25);
    Type(edit->GetEditWindow()->GetSafeHwnd(), L"abc");
    EXPECT_EQ(edit->GetEditText(), L"");
    edit->SetCharMessage(1);
    Type(edit->GetEditWindow()->GetSafeHwnd(), L"d");
    EXPECT_EQ(edit->GetEditText(), L"d");
}

TEST_F(TextControlsTest, ReadOnlyOrDisabledEditNeverOpens) {
    auto* readOnly = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40));
    auto* disabled = Create<Orvo::MEdit>(L"MEdit", 6, CRect(10, 60, 210, 90));
    readOnly->SetReadOnly(true);
    disabled->SetEnabled(0);
    Click(100, 25);
    Click(100, 75);
    EXPECT_EQ(readOnly->GetEditWindow(), nullptr);
    EXPECT_EQ(disabled->GetEditWindow(), nullptr);
    EXPECT_EQ(disabled->GetState(), Orvo::MEdit::kDisabled);
    EXPECT_TRUE(Codes(6).empty());
}

TEST_F(TextControlsTest, SpaceOnAFocusedEditPressesAndClicks) {
    auto* edit = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40));
    ASSERT_NE(edit, nullptr);
    Click(100, 25);
    ASSERT_EQ(edit->IsFocused(), 1);
    m_dialog.m_messages.clear();
    m_dialog.Send(WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(Codes(5), (std::vector<UINT>{1, 2}));
}

TEST_F(TextControlsTest, RemovingAnEditWhileItIsOpenLeavesNothingBehind) {
    auto* edit = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40));
    Click(100, 25);
    HWND window = edit->GetEditWindow()->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_TRUE(m_dialog.GetPaintManager()->RemoveControl(edit));
    EXPECT_FALSE(::IsWindow(window));
    OrvoTest::PumpMessages();
    m_dialog.DestroyWindow();
}

TEST_F(TextControlsTest, DestroyingTheDialogWithAnOpenEditIsClean) {
    auto* edit = Create<Orvo::MEdit>(L"MEdit", 5, CRect(10, 10, 210, 40));
    Click(100, 25);
    Type(edit->GetEditWindow()->GetSafeHwnd(), L"typed");
    HWND window = edit->GetEditWindow()->GetSafeHwnd();
    m_dialog.DestroyWindow();
    EXPECT_FALSE(::IsWindow(window));
    OrvoTest::PumpMessages();
}

// A number box made with its constructor (only a panel's factory knows it by name).
template <typename T>
T* AddNumberBox(TestDialog& dialog, UINT id, const RECT& rect) {
    return static_cast<T*>(
        dialog.GetPaintManager()->AddControl(std::make_unique<T>(&dialog, id, rect, 1)));
}

TEST_F(TextControlsTest, StepButtonsKeepTheValueInItsRange) {
    struct Case {
        bool second;  // NumberEdit2
        const wchar_t* start;
        bool up;
        const wchar_t* after;
        bool notified;
    };
    const Case cases[] = {
        {false, L"49", true, L"50", true}, {false, L"50", true, L"50", false},
        {false, L"2", false, L"1", true},  {false, L"1", false, L"1", false},
        {false, L"", true, L"1", true},    {false, L"77", false, L"50", true},
        {true, L"19", true, L"20", true},  {true, L"20", true, L"20", false},
        {true, L"1", false, L"1", false},
    };
    const CRect place(20, 200, 100, 230);
    for (const Case& c : cases) {
        Orvo::NumberEditBase* box = c.second
                                        ? static_cast<Orvo::NumberEditBase*>(
                                              AddNumberBox<Orvo::NumberEdit2>(m_dialog, 14, place))
                                        : AddNumberBox<Orvo::NumberEdit>(m_dialog, 14, place);
        box->SetEditText(c.start);
        Orvo::MControl* button = box->GetControl(c.up ? Orvo::NumberEditBase::kUpButton
                                                      : Orvo::NumberEditBase::kDownButton);
        ASSERT_NE(button, nullptr);
        const Orvo::CPoint centre = button->GetRect().CenterPoint();
        m_dialog.m_messages.clear();
        Click(centre.x, centre.y);
        EXPECT_EQ(box->GetTitleEx(), c.after) << c.start << (c.up ? " up" : " down");
        EXPECT_EQ(!Codes(14).empty(), c.notified) << c.start << (c.up ? " up" : " down");
        m_dialog.GetPaintManager()->RemoveControl(box);
    }
}

TEST_F(TextControlsTest, TypedNumbersAreKeptAsTyped) {
    auto* box = AddNumberBox<Orvo::NumberEdit>(m_dialog, 14, CRect(20, 200, 100, 230));
    box->SetEditText(L"5");
    Click(60, 215);
    ASSERT_NE(box->GetEditWindow(), nullptr);
    HWND window = box->GetEditWindow()->GetSafeHwnd();
    EXPECT_TRUE(::IsWindowVisible(window));
    // All text is selected on opening: typing replaces it; at most two characters.
    Type(window, L"789");
    EXPECT_EQ(box->GetEditText(), L"78");
    ::SendMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(box->GetTitleEx(), L"78");
    const std::vector<UINT> codes = Codes(14);
    EXPECT_NE(std::find(codes.begin(), codes.end(), 30u), codes.end());
    EXPECT_EQ(codes.back(), 29u);
}

}  // namespace
