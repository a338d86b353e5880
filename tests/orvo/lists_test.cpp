// The scrolling lists on a real dialog: rows, selection, scroll bar, notifications and the
// row editor, driven through the dialog's window procedure. Hit rectangles of the rows are
// made while painting, so every list is painted before the mouse reaches it.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "orvo/lists.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;

constexpr int kRowHeight = 36;
const CRect kListRect(20, 20, 360, 20 + 5 * kRowHeight);

class ListsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(40, 40, 420, 320), nullptr);
        // Active from the start: a dialog that is activated by the first click into its
        // edit would see a deactivation first, which ends every press.
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
    T* Add(UINT id, const RECT& rect = kListRect) {
        auto list = std::make_unique<T>(&m_dialog, id, rect, 1);
        T* raw = list.get();
        m_dialog.GetPaintManager()->AddControl(std::move(list));
        raw->SetControlRect(rect);
        return raw;
    }
    // Paints a control as the dialog would; its rows get their hit rectangles.
    static void Paint(Orvo::MControl& control) {
        Orvo::MemoryCanvas canvas(420, 320);
        control.SetUpdate(0, Orvo::ColorRef());
        control.Draw(canvas.GetDC(), CRect(0, 0, 420, 320));
    }
    static POINT RowPoint(int row, int x = 100) {
        return POINT{kListRect.left + x, kListRect.top + row * kRowHeight + kRowHeight / 2};
    }
    void Move(POINT p) { m_dialog.Mouse(WM_MOUSEMOVE, p.x, p.y); }
    void LeftClick(POINT p) {
        Move(p);
        m_dialog.Mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, p.x, p.y);
    }
    void RightClick(POINT p) {
        Move(p);
        m_dialog.Mouse(WM_RBUTTONDOWN, p.x, p.y, MK_RBUTTON);
        m_dialog.Mouse(WM_RBUTTONUP, p.x, p.y);
    }
    void DoubleClick(POINT p) {
        LeftClick(p);
        m_dialog.Mouse(WM_LBUTTONDBLCLK, p.x, p.y, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, p.x, p.y);
    }
    static void Type(HWND edit, const std::wstring& text) {
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        ::SendMessageW(edit, WM_CLEAR, 0, 0);
        for (wchar_t c : text) {
            ::SendMessageW(edit, WM_CHAR, c, 1);
        }
    }
    std::vector<TestDialog::Message> From(UINT id) const {
        std::vector<TestDialog::Message> found;
        for (const auto& message : m_dialog.m_messages) {
            if (message.controlId == id) {
                found.push_back(message);
            }
        }
        return found;
    }
    std::vector<UINT> Codes(UINT id) const {
        std::vector<UINT> codes;
        for (const auto& message : From(id)) {
            codes.push_back(message.code);
        }
        return codes;
    }

    TestDialog m_dialog;
};

TEST_F(ListsTest, InsertStringChecksItsIndexAndReturnsCountMinusOne) {
    auto* list = Add<Orvo::MacroList>(3);
    struct Case {
        int index;
        const wchar_t* text;
        int result;
    };
    const Case cases[] = {
        {0, L"on an empty list", -1}, {-1, L"first", 0},           {1, L"past the end", -1},
        {-1, L"appended", 1},         {0, L"before the first", 2}, {-2, L"negative", -1},
        {2, L"before appended", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list->InsertString(c.index, c.text), c.result) << c.text;
    }
    const std::vector<std::wstring> order = {L"before the first", L"first", L"before appended",
                                             L"appended"};
    ASSERT_EQ(list->GetItemCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->GetItemText(i), order[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(list->InsertString(list->GetItemCount(), L"count"), -1);
    EXPECT_EQ(list->GetItemCount(), 4);
}

TEST_F(ListsTest, SelectionStaysInsideTheRows) {
    auto* list = Add<Orvo::DListBox>(3);
    for (const wchar_t* text : {L"Profile 1", L"Profile 2", L"Profile 3"}) {
        list->AddString(text, 0, -1);
    }
    EXPECT_EQ(list->SetCurSel(1), 1);
    EXPECT_EQ(list->SetCurSel(3), 0);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->SetCurSel(-1), 1);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->SetCurData(0), 1);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(list->SetCurData(42), -1);
    EXPECT_EQ(list->FindString(L"Profile 3"), 2);
    EXPECT_EQ(list->FindString(L"profile 3"), -1);
}

TEST_F(ListsTest, BarShowsOnlyWhenTheRowsDoNotFitAndKeepsTheirRange) {
    auto* list = Add<Orvo::MacroList>(3);
    for (int i = 0; i < 5; ++i) {
        list->AddString((L"Macro " + std::to_wstring(i)).c_str());
    }
    EXPECT_FALSE(list->IsBarShown());
    Paint(*list);
    m_dialog.Mouse(WM_MOUSEMOVE, RowPoint(1).x, RowPoint(1).y);
    const POINT screen = [&] {
        POINT p = RowPoint(1);
        ::ClientToScreen(m_dialog.GetSafeHwnd(), &p);
        return p;
    }();
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)),
                  MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(list->GetScrollPos(), 0);

    list->AddString(L"Macro 5");
    EXPECT_TRUE(list->IsBarShown());
    EXPECT_EQ(list->GetScrollRange(), 6 * kRowHeight);
    // Macro lists move the bar to their end, so the new row is in view.
    EXPECT_EQ(list->GetScrollPos(), list->GetScrollRange());

    // Moving or resizing the list keeps the range its rows give.
    list->SetRect(CRect(20, 30, 360, 30 + 5 * kRowHeight));
    EXPECT_TRUE(list->IsBarShown());
    EXPECT_EQ(list->GetScrollRange(), 6 * kRowHeight);
    list->SetRect(CRect(20, 20, 360, 20 + 7 * kRowHeight));
    EXPECT_FALSE(list->IsBarShown());
}

TEST_F(ListsTest, WheelScrollsRowsThatDoNotFit) {
    auto* list = Add<Orvo::DListBox>(3);
    for (int i = 0; i < 12; ++i) {
        list->AddString((L"Row " + std::to_wstring(i)).c_str(), i, -1);
    }
    // A profile list keeps its position when rows are added.
    EXPECT_EQ(list->GetScrollPos(), 0);
    Paint(*list);
    Move(RowPoint(1));
    POINT screen = RowPoint(1);
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)),
                  MAKELPARAM(screen.x, screen.y));
    const int step = list->GetScrollPos();
    EXPECT_GT(step, 0);
    Paint(*list);
    EXPECT_GT(list->GetFirstVisible(), 0);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(screen.x, screen.y));
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(list->GetScrollPos(), 0);
}

TEST_F(ListsTest, RowsAreHitOnlyAfterTheyWerePainted) {
    auto* list = Add<Orvo::MacroList>(3);
    list->AddString(L"first");
    list->AddString(L"second");
    Move(RowPoint(1));
    EXPECT_EQ(list->GetHoverIndex(), -1);
    Paint(*list);
    Move(RowPoint(1));
    EXPECT_EQ(list->GetHoverIndex(), 1);
    Move(RowPoint(3));
    EXPECT_EQ(list->GetHoverIndex(), -1);
}

TEST_F(ListsTest, EachListNotifiesItsOwnCodes) {
    struct Case {
        const char* name;
        std::vector<UINT> leftClick;
        std::vector<UINT> rightClick;
    };
    const Case cases[] = {
        {"MacroList", {2}, {5}},
        {"DListBox", {2}, {5}},
        {"MListBox", {1}, {5}},
        {"CRecordList", {1, 2}, {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        Orvo::RowListBase* list = nullptr;
        if (name == "CRecordList") {
            auto* record = Add<Orvo::CRecordList>(7);
            record->AddString(L"A down", 2, 65, 10);
            record->AddString(L"A up", 3, 65, 20);
            list = record;
        } else {
            Orvo::TextRowList* rows = nullptr;
            if (name == "MacroList") {
                rows = Add<Orvo::MacroList>(7);
            } else if (name == "DListBox") {
                rows = Add<Orvo::DListBox>(7);
            } else {
                rows = Add<Orvo::MListBox>(7);
            }
            rows->AddString(L"one", 0, -1);
            rows->AddString(L"two", 0, -1);
            list = rows;
        }
        Paint(*list);
        m_dialog.m_messages.clear();
        LeftClick(RowPoint(1));
        EXPECT_EQ(Codes(7), c.leftClick);
        EXPECT_EQ(list->GetCurSel(), 1);
        for (const auto& message : From(7)) {
            EXPECT_EQ(message.wParam, 1u);
        }
        m_dialog.m_messages.clear();
        RightClick(RowPoint(0));
        EXPECT_EQ(Codes(7), c.rightClick);
        EXPECT_EQ(list->GetCurSel(), 0);
        m_dialog.GetPaintManager()->RemoveControl(list);
    }
}

TEST_F(ListsTest, MacroRowIsRenamedInPlace) {
    auto* list = Add<Orvo::MacroList>(3);
    list->EnableShowEdit(1);
    list->AddString(L"Macro 1");
    list->AddString(L"Macro 2");
    Paint(*list);
    DoubleClick(RowPoint(1));
    ASSERT_NE(list->GetEditWindow(), nullptr);
    HWND editor = list->GetEditWindow()->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(editor));
    EXPECT_EQ(list->GetEditIndex(), 1);
    EXPECT_EQ(list->GetEditWindow()->GetText(), L"Macro 2");
    // The editor lies over the row's text, inside the row.
    RECT place;
    ::GetWindowRect(editor, &place);
    ::MapWindowPoints(nullptr, m_dialog.GetSafeHwnd(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, kListRect.left + 15);
    EXPECT_GT(place.top, kListRect.top + kRowHeight);
    EXPECT_LT(place.bottom, kListRect.top + 2 * kRowHeight);

    m_dialog.m_messages.clear();
    Type(editor, L"Sniper");
    ::SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(::IsWindowVisible(editor));
    EXPECT_EQ(list->GetItemText(1), L"Sniper");
    EXPECT_EQ(list->GetEditIndex(), -1);
    const auto messages = From(3);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().code, 29u);
    EXPECT_EQ(messages.back().lParam, 1);

    // Escape leaves the row as it was and notifies nothing.
    DoubleClick(RowPoint(0));
    m_dialog.m_messages.clear();
    Type(editor, L"thrown away");
    ::SendMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(list->GetItemText(0), L"Macro 1");
    for (const auto& message : From(3)) {
        EXPECT_NE(message.code, 29u);
    }
}

TEST_F(ListsTest, ASecondEditOpeningMovesTheSameEditor) {
    auto* list = Add<Orvo::MacroList>(3);
    list->EnableShowEdit(1);
    list->AddString(L"a");
    list->AddString(L"b");
    Paint(*list);
    DoubleClick(RowPoint(0));
    HWND first = list->GetEditWindow()->GetSafeHwnd();
    RECT before;
    ::GetWindowRect(first, &before);
    DoubleClick(RowPoint(1));
    HWND second = list->GetEditWindow()->GetSafeHwnd();
    EXPECT_EQ(first, second);
    RECT after;
    ::GetWindowRect(second, &after);
    EXPECT_EQ(after.top - before.top, kRowHeight);
}

TEST_F(ListsTest, RecordDelaysAreKeptInTheirRange) {
    struct Case {
        const wchar_t* typed;
        int stored;
        bool notified;
    };
    const Case cases[] = {
        {L"5", 10, true}, {L"70000", 65535, true}, {L"250", 250, false},
        {L"", 10, true},  {L"1234", 1234, true},   {L"99999999999", 65535, true},
    };
    for (const Case& c : cases) {
        auto* list = Add<Orvo::CRecordList>(4);
        list->AddString(L"A down", 2, 65, 250);
        Paint(*list);
        DoubleClick(RowPoint(0));
        ASSERT_NE(list->GetEditWindow(), nullptr);
        HWND editor = list->GetEditWindow()->GetSafeHwnd();
        EXPECT_EQ(list->GetEditText(), L"250");
        m_dialog.m_messages.clear();
        Type(editor, c.typed);
        ::SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_EQ(list->GetRecrodTimeStamp(0), c.stored) << c.typed;
        bool closed = false;
        for (const auto& message : From(4)) {
            closed = closed || message.code == 29u;
        }
        EXPECT_EQ(closed, c.notified) << c.typed;
        m_dialog.GetPaintManager()->RemoveControl(list);
    }
}

TEST_F(ListsTest, RecordEditorOpensWithNotification30) {
    auto* list = Add<Orvo::CRecordList>(4);
    list->AddString(L"A down", 2, 65, 250);
    Paint(*list);
    m_dialog.m_messages.clear();
    DoubleClick(RowPoint(0));
    const std::vector<UINT> codes = Codes(4);
    EXPECT_NE(std::find(codes.begin(), codes.end(), 30u), codes.end());
}

TEST_F(ListsTest, UpdateTimeStampStopsAtThePressPartner) {
    auto* list = Add<Orvo::CRecordList>(4);
    // index: 0 press, 1 release, 2 press, 3 other key, 4 release, 5 release
    list->AddString(L"A down", 2, 65, 1);
    list->AddString(L"A up", 3, 65, 2);
    list->AddString(L"A down", 2, 65, 3);
    list->AddString(L"B up", 3, 66, 4);
    list->AddString(L"A up", 3, 65, 5);
    list->AddString(L"A up", 3, 65, 6);
    list->UpdateTimeStamp(3, 65, 99);
    const std::vector<int> expected = {1, 2, 99, 4, 99, 99};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list->GetRecrodTimeStamp(i), expected[static_cast<size_t>(i)]) << i;
    }
    // Mouse buttons pair 4 with 5.
    list->AddString(L"Left down", 4, 1, 7);
    list->AddString(L"Left up", 5, 1, 8);
    list->UpdateTimeStamp(5, 1, 50);
    EXPECT_EQ(list->GetRecrodTimeStamp(6), 50);
    EXPECT_EQ(list->GetRecrodTimeStamp(7), 50);
    EXPECT_EQ(list->GetRecrodTimeStamp(2), 99);
}

TEST_F(ListsTest, EventCountLeavesOutType1Rows) {
    auto* list = Add<Orvo::CRecordList>(4);
    list->AddString(L"delay", 1, 0, 100);
    list->AddString(L"A down", 2, 65, 10);
    list->AddString(L"A up", 3, 65, 20);
    EXPECT_EQ(list->GetEventCount(), 2);
    EXPECT_TRUE(list->UpdateDelayTime(77));
    EXPECT_EQ(list->GetRecrodTimeStamp(2), 77);
    list->DeleteTimeStamp(77);
    EXPECT_EQ(list->GetItemCount(), 2);
    list->MoveBottom(0);
    EXPECT_EQ(list->GetCurSel(), 1);
    std::wstring text;
    int type = 0, key = 0, value = 0;
    ASSERT_TRUE(list->GetRecordInfo(1, text, type, key, value));
    EXPECT_EQ(text, L"delay");
    list->DeleteAllItems();
    EXPECT_FALSE(list->UpdateDelayTime(5));
}

TEST_F(ListsTest, DeletingTheEditedRowClosesTheEditorWithoutWritingIt) {
    auto* list = Add<Orvo::MacroList>(3);
    list->EnableShowEdit(1);
    list->AddString(L"a");
    list->AddString(L"b");
    Paint(*list);
    DoubleClick(RowPoint(1));
    HWND editor = list->GetEditWindow()->GetSafeHwnd();
    Type(editor, L"changed");
    m_dialog.m_messages.clear();
    EXPECT_TRUE(list->DeleteItem(1));
    EXPECT_FALSE(::IsWindowVisible(editor));
    EXPECT_EQ(list->GetEditIndex(), -1);
    EXPECT_TRUE(From(3).empty());
    EXPECT_EQ(list->GetItemText(0), L"a");
}

TEST_F(ListsTest, RemovingAListWithAnOpenEditorDestroysTheEditorFirst) {
    auto* list = Add<Orvo::MacroList>(3);
    list->EnableShowEdit(1);
    list->AddString(L"a");
    Paint(*list);
    DoubleClick(RowPoint(0));
    HWND editor = list->GetEditWindow()->GetSafeHwnd();
    Type(editor, L"typed");
    ASSERT_TRUE(::IsWindow(editor));
    EXPECT_TRUE(m_dialog.GetPaintManager()->RemoveControl(list));
    EXPECT_FALSE(::IsWindow(editor));
    OrvoTest::PumpMessages();
}

TEST_F(ListsTest, ClosingTheDialogWithAnOpenEditorIsClean) {
    auto* list = Add<Orvo::CRecordList>(4);
    list->AddString(L"A down", 2, 65, 250);
    Paint(*list);
    DoubleClick(RowPoint(0));
    HWND editor = list->GetEditWindow()->GetSafeHwnd();
    Type(editor, L"300");
    m_dialog.DestroyWindow();
    EXPECT_FALSE(::IsWindow(editor));
    OrvoTest::PumpMessages();
}

TEST_F(ListsTest, AZeroItemHeightDividesNothing) {
    auto* list = Add<Orvo::MListBox>(3);
    list->SetItemHeight(0);
    list->AddString(L"a");
    list->AddString(L"b");
    Paint(*list);
    Move(RowPoint(0));
    POINT screen = RowPoint(0);
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)),
                  MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(list->GetItemCount(), 2);
}

TEST_F(ListsTest, DragPictureSelectsTheHoveredRow) {
    auto* list = Add<Orvo::DListBox>(3);
    list->AddString(L"Profile 1", 0, -1);
    list->AddString(L"Profile 2", 0, -1);
    EXPECT_EQ(list->GetDropBitmap(), nullptr);
    Paint(*list);
    Move(RowPoint(1));
    HBITMAP picture = list->GetDropBitmap();
    ASSERT_NE(picture, nullptr);
    BITMAP info{};
    ASSERT_NE(::GetObjectW(picture, sizeof(info), &info), 0);
    EXPECT_LE(info.bmWidth, 300);
    EXPECT_GE(info.bmWidth, 70);
    EXPECT_EQ(info.bmHeight, kRowHeight);
    EXPECT_EQ(list->GetCurSel(), 1);
    ::DeleteObject(picture);
}

}  // namespace
