// The windowless rich edit on a real dialog: the system's text services behind it, keys and
// clicks sent through the dialog's window procedure, rich text streamed out and back in.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/paint_manager.h"
#include "orvo/rich_edit.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;

class RichEditTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(40, 40, 420, 300), nullptr);
        m_dialog.ShowWindow(SW_SHOWNA);
        ::SetActiveWindow(m_dialog.GetSafeHwnd());
        m_edit = static_cast<Orvo::MRichEdit*>(
            m_dialog.CreateControl(L"MRichEdit", 6, CRect(10, 10, 300, 40), L"start", 1, 1));
        ASSERT_NE(m_edit, nullptr);
        if (!m_edit->IsReady()) {
            GTEST_SKIP() << "the system's rich edit text services are missing";
        }
    }
    void TearDown() override {
        if (m_dialog.GetSafeHwnd() != nullptr) {
            m_dialog.DestroyWindow();
        }
    }
    void Click(int x, int y) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, y);
        m_dialog.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, x, y);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) {
            m_dialog.Send(WM_CHAR, c, 1);
        }
    }

    TestDialog m_dialog;
    Orvo::MRichEdit* m_edit = nullptr;
};

TEST_F(RichEditTest, TextSelectionReplacementAndUndo) {
    EXPECT_EQ(m_edit->GetText(), L"start");
    m_edit->SetSel(0, 2);
    long start = -1;
    long end = -1;
    m_edit->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 2);
    m_edit->ReplaceSel(L"re");
    EXPECT_EQ(m_edit->GetText(), L"reart");
    EXPECT_TRUE(m_edit->CanUndo());
    EXPECT_TRUE(m_edit->Undo());
    EXPECT_EQ(m_edit->GetText(), L"start");
    m_edit->SetText(L"");
    EXPECT_EQ(m_edit->GetTextLength(), 0);
}

TEST_F(RichEditTest, ClickFocusesAndTypingReachesTheText) {
    m_edit->SetText(L"");
    Click(100, 25);
    EXPECT_TRUE(m_edit->IsFocused());
    m_dialog.m_messages.clear();
    Type(L"abc");
    EXPECT_EQ(m_edit->GetText(), L"abc");
    const bool changed =
        std::any_of(m_dialog.m_messages.begin(), m_dialog.m_messages.end(),
                    [](const auto& m) { return m.controlId == 6 && m.code == 26; });
    EXPECT_TRUE(changed);
    EXPECT_EQ(m_edit->GetControlTitle(), L"abc");
}

TEST_F(RichEditTest, ReadOnlyAndLimitedTextRefuseTyping) {
    m_edit->SetText(L"");
    Click(100, 25);
    m_edit->SetLimitText(3);
    Type(L"abcdef");
    EXPECT_EQ(m_edit->GetText(), L"abc");
    m_edit->SetReadOnly(true);
    Type(L"x");
    EXPECT_EQ(m_edit->GetText(), L"abc");
}

TEST_F(RichEditTest, RichTextGoesOutAndComesBackIn) {
    m_edit->SetText(L"Macro \x00e9t\x00e9 1");
    const std::string rtf = m_edit->SaveRtf();
    ASSERT_GE(rtf.size(), 5u);
    EXPECT_EQ(rtf.compare(0, 5, "{\\rtf"), 0) << rtf.substr(0, 40);
    auto* other = static_cast<Orvo::MRichEdit*>(
        m_dialog.CreateControl(L"MRichEdit", 7, CRect(10, 60, 300, 90), L"", 1, 1));
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->LoadRtf(rtf));
    EXPECT_EQ(other->GetText(), L"Macro \x00e9t\x00e9 1");
}

TEST_F(RichEditTest, RemovingAFocusedEditLeavesTheDialogWorking) {
    Click(100, 25);
    EXPECT_TRUE(m_dialog.GetPaintManager()->RemoveControl(m_edit));
    m_dialog.Send(WM_CHAR, L'x', 1);
    OrvoTest::PumpMessages();
}

}  // namespace
