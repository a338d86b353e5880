// Containers and scroll bars on real dialogs driven through the window procedure: panels that
// scroll their children (offset, clip, wheel, dragged bar), pages that let clicks through,
// background areas read back pixel by pixel, and the bar's geometry at its edges.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "core_test_support.h"
#include "orvo/area.h"
#include "orvo/paint_manager.h"
#include "orvo/panel.h"
#include "orvo/render.h"
#include "orvo/scroll.h"

namespace {

using Orvo::Argb;
using Orvo::ColorRef;
using Orvo::CRect;
using Orvo::MPanel;
using Orvo::MScroll;
using OrvoTest::RecordingControl;
using OrvoTest::TestDialog;

TEST(ScrollGeometry, ThumbAndThresholdAtTheEdges) {
    struct Case {
        const char* what;
        int length, arrow, range, position, page;
        bool shown;
        int thumbLength, thumbOffset;
    };
    const Case cases[] = {
        // Range 1000 on 100 pixels: automatic page 100, shown; the short thumb grows to
        // min(100, track - 50).
        {"range 1000", 100, 0, 1000, 0, 0, true, 50, 0},
        {"at the end", 100, 0, 1000, 1000, 0, true, 50, 50},
        {"halfway", 400, 0, 1000, 500, 0, true, 160, 120},
        // The threshold: shown only while the page is smaller than the range.
        {"range 50", 100, 0, 50, 0, 0, false, 0, 0},
        {"page equals range", 100, 0, 100, 0, 0, false, 0, 0},
        {"one past the page", 100, 0, 101, 0, 0, true, 50, 0},
        // Nothing divides by zero.
        {"range 0", 100, 0, 0, 0, 0, false, 0, 0},
        {"negative range", 100, 0, -5, 3, 0, false, 0, 0},
        {"no length", 0, 0, 1000, 10, 0, false, 0, 0},
        {"track shorter than the slack", 30, 0, 1000, 1000, 5, true, 1, 29},
        {"position past the range", 400, 0, 1000, 5000, 0, true, 160, 240},
        {"long page", 400, 0, 1000, 0, 600, true, 240, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Orvo::ScrollGeometry g =
            Orvo::ComputeScrollGeometry(c.length, c.arrow, c.range, c.position, c.page);
        EXPECT_EQ(g.shown, c.shown);
        if (c.shown) {
            EXPECT_EQ(g.thumbLength, c.thumbLength);
            EXPECT_EQ(g.thumbOffset, c.thumbOffset);
            EXPECT_LE(g.thumbOffset + g.thumbLength, c.length);
            // Back from the thumb's place to the position.
            const int position = Orvo::ScrollPositionAt(g, c.arrow, c.range, g.thumbOffset);
            EXPECT_LE(position, c.range);
            EXPECT_GE(position, 0);
        }
    }
    const Orvo::ScrollGeometry none = Orvo::ComputeScrollGeometry(100, 0, 0, 0, 0);
    EXPECT_EQ(Orvo::ScrollPositionAt(none, 0, 0, 40), 0);
}

class ContainerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(40, 40, 400, 300, WS_POPUP | WS_VISIBLE), nullptr);
    }
    void TearDown() override { m_dialog.DestroyWindow(); }
    Orvo::PaintManager& Manager() { return *m_dialog.GetPaintManager(); }
    MPanel* AddPanel(const RECT& rect) {
        return static_cast<MPanel*>(
            Manager().AddControl(std::make_unique<MPanel>(&m_dialog, 50, rect, 1)));
    }
    RecordingControl* AddChild(MPanel* panel, UINT id, const RECT& rect, COLORREF colour) {
        auto* child = static_cast<RecordingControl*>(
            panel->AddControl(std::make_unique<RecordingControl>(panel, id, rect, colour)));
        panel->SetRect(panel->GetRect());  // the content follows the last child
        return child;
    }
    // The dialog's controls drawn over a known background, read back pixel by pixel.
    std::unique_ptr<Orvo::MemoryCanvas> Paint(ColorRef background = ColorRef(0x102030)) {
        auto canvas = std::make_unique<Orvo::MemoryCanvas>(400, 300);
        Orvo::MRender::FillSolidRect(canvas->GetDC(), 0, 0, 400, 300, background);
        for (Orvo::MControl* control : Manager().GetControls()) {
            control->SetUpdate(0, ColorRef());
        }
        Manager().DrawControl(canvas->GetDC(), CRect(0, 0, 400, 300));
        ::GdiFlush();
        return canvas;
    }
    static DWORD Rgb(const Orvo::MemoryCanvas& canvas, int x, int y) {
        return canvas.GetPixel(x, y) & 0xFFFFFF;
    }

    TestDialog m_dialog;
};

TEST_F(ContainerTest, PanelWhoseContentFitsNeitherScrollsNorTranslates) {
    MPanel* panel = AddPanel(CRect(20, 20, 220, 220));
    RecordingControl* child = AddChild(panel, 7, CRect(30, 30, 80, 220), RGB(0, 0, 255));
    // Content exactly as tall as the panel: no bar, the threshold is not passed.
    EXPECT_EQ(panel->GetVirtualHeight(), 200);
    EXPECT_FALSE(panel->GetScrollVertical()->IsVisible());
    EXPECT_FALSE(panel->GetScrollHorizontal()->IsVisible());
    m_dialog.Mouse(WM_MOUSEMOVE, 40, 40);
    POINT screen = {40, 40};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
                  MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(panel->GetScrollVertical()->GetScrollPos(), 0);
    m_dialog.Mouse(WM_LBUTTONDOWN, 40, 40, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 40, 40);
    ASSERT_FALSE(child->Events().empty());
    EXPECT_EQ(child->Events().back().point.y, 40);

    // One pixel more and the bar appears.
    AddChild(panel, 8, CRect(30, 200, 80, 221), RGB(0, 255, 0));
    EXPECT_TRUE(panel->GetScrollVertical()->IsVisible());
    EXPECT_TRUE(panel->GetScrollVertical()->IsScrollShown());
}

TEST_F(ContainerTest, ContentHeightFollowsTheLastChildAdded) {
    MPanel* panel = AddPanel(CRect(0, 0, 200, 100));
    AddChild(panel, 7, CRect(0, 0, 50, 400), RGB(0, 0, 255));
    AddChild(panel, 8, CRect(0, 0, 50, 60), RGB(0, 255, 0));
    EXPECT_EQ(panel->GetVirtualHeight(), 60);
    EXPECT_FALSE(panel->GetScrollVertical()->IsVisible());
}

TEST_F(ContainerTest, ListSizedContentSurvivesRelayout) {
    // A list has rows, not children: its content size is set, and a new place keeps it.
    MPanel* panel = AddPanel(CRect(0, 0, 200, 100));
    panel->SetVirtualHeight(35 * 12);
    panel->SetRect(CRect(10, 10, 210, 150));
    EXPECT_EQ(panel->GetVirtualHeight(), 420);
    EXPECT_TRUE(panel->GetScrollVertical()->IsVisible());
    EXPECT_EQ(panel->GetScrollVertical()->GetScrollRange(), 420);
    EXPECT_EQ(panel->GetScrollVertical()->GetRect(), CRect(205, 10, 210, 150));
}

TEST_F(ContainerTest, WheelScrollsWholeStepsAndChildrenAreHitAndDrawnScrolled) {
    MPanel* panel = AddPanel(CRect(20, 20, 220, 120));
    RecordingControl* top = AddChild(panel, 7, CRect(20, 20, 220, 70), RGB(0, 0, 255));
    RecordingControl* lower = AddChild(panel, 8, CRect(20, 150, 220, 320), RGB(0, 255, 0));
    ASSERT_EQ(panel->GetVirtualHeight(), 300);
    // The children leave the wheel to the panel.
    top->SetTakesScroll(false);
    lower->SetTakesScroll(false);
    MScroll* bar = panel->GetScrollVertical();
    ASSERT_TRUE(bar->IsVisible());

    POINT screen = {60, 60};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    m_dialog.Mouse(WM_MOUSEMOVE, 60, 60);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(bar->GetScrollPos(), 0);  // less than a notch
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
                  MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(bar->GetScrollPos(), 20);  // two steps of 10

    // Scrolled to the end: the content moved up by content - panel height = 200.
    bar->SetScrollFinalPos();
    EXPECT_EQ(bar->GetScrollPos(), 300);
    EXPECT_EQ(panel->GetScrollOffset(), Orvo::CPoint(0, 200));
    top->ClearEvents();
    lower->ClearEvents();
    m_dialog.Mouse(WM_MOUSEMOVE, 60, 60);
    m_dialog.Mouse(WM_LBUTTONDOWN, 60, 60, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 60, 60);
    EXPECT_TRUE(top->Clicks().empty());
    ASSERT_EQ(lower->Clicks(), (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(lower->Events().back().point.y, 260);  // content coordinates

    const auto canvas = Paint();
    // At window y 60 lies content y 260: the lower child.
    EXPECT_EQ(Rgb(*canvas, 60, 60), 0x00FF00u);
    // The lower child reaches content y 320 = window y 120, the panel's bottom: clipped
    // there, and the upper child (content 20..70 = window -180..-130) is nowhere.
    const DWORD background = 0x302010u;  // ColorRef 0x102030 read back as a pixel
    EXPECT_EQ(Rgb(*canvas, 300, 250), background);
    EXPECT_EQ(Rgb(*canvas, 60, 119), 0x00FF00u);
    EXPECT_EQ(Rgb(*canvas, 60, 125), background);
    EXPECT_EQ(Rgb(*canvas, 60, 10), background);
    // The bar's thumb sits at the bottom of its track.
    const CRect thumb = bar->GetThumbRect();
    EXPECT_EQ(thumb.bottom, 120);
}

TEST_F(ContainerTest, DraggingTheThumbNotifiesPositionsUpToTheDialog) {
    MPanel* panel = AddPanel(CRect(20, 20, 220, 220));
    AddChild(panel, 7, CRect(20, 20, 100, 1020), RGB(0, 0, 255));
    MScroll* bar = panel->GetScrollVertical();
    ASSERT_TRUE(bar->IsScrollShown());
    const CRect thumb = bar->GetThumbRect();
    ASSERT_FALSE(thumb.IsRectEmpty());
    const int x = (thumb.left + thumb.right) / 2;
    m_dialog.Mouse(WM_MOUSEMOVE, x, thumb.top + 5);
    m_dialog.Mouse(WM_LBUTTONDOWN, x, thumb.top + 5, MK_LBUTTON);
    m_dialog.Mouse(WM_MOUSEMOVE, x, thumb.top + 45, MK_LBUTTON);
    m_dialog.Mouse(WM_MOUSEMOVE, x, 1000, MK_LBUTTON);  // past the end: clamped
    m_dialog.Mouse(WM_LBUTTONUP, x, 1000);
    std::vector<WPARAM> positions;
    for (const TestDialog::Message& message : m_dialog.m_messages) {
        if (message.code == Orvo::kNotifyScroll && message.controlId == MPanel::kVerticalBarId) {
            positions.push_back(message.wParam);
        }
    }
    ASSERT_EQ(positions.size(), 2u);
    const Orvo::ScrollGeometry& g = bar->GetGeometry();
    EXPECT_EQ(positions[0], static_cast<WPARAM>(40 * 1000 / (g.track - g.thumbLength)));
    EXPECT_EQ(positions[1], 1000u);
    EXPECT_EQ(bar->GetThumbRect().bottom, 220);
    EXPECT_FALSE(bar->IsChangeing());

    // A press on the track above the thumb moves a page back.
    const int before = bar->GetScrollPos();
    m_dialog.Mouse(WM_MOUSEMOVE, x, 30);
    m_dialog.Mouse(WM_LBUTTONDOWN, x, 30, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, x, 30);
    EXPECT_LT(bar->GetScrollPos(), before);
}

TEST_F(ContainerTest, EmptyPartOfAPageLetsTheClickThroughToTheControlBelow) {
    RecordingControl* below = m_dialog.Add(1, CRect(10, 10, 390, 290));
    auto* page = static_cast<Orvo::MTabLayout*>(
        m_dialog.CreateControl(L"MTabLayout", 2, CRect(0, 0, 400, 300), L"", 1, 1));
    ASSERT_NE(page, nullptr);
    auto* button = static_cast<RecordingControl*>(
        page->AddControl(std::make_unique<RecordingControl>(page, 21, CRect(100, 100, 150, 130))));
    page->SetRect(CRect(0, 0, 400, 300));

    m_dialog.Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_EQ(Manager().GetHoverControl(), below);
    m_dialog.Mouse(WM_LBUTTONDOWN, 300, 250, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 300, 250);
    EXPECT_EQ(below->Clicks(), (std::vector<std::string>{"down", "up"}));

    m_dialog.Mouse(WM_MOUSEMOVE, 120, 110);
    EXPECT_EQ(Manager().GetHoverControl(), page);
    m_dialog.Mouse(WM_LBUTTONDOWN, 120, 110, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 120, 110);
    EXPECT_EQ(button->Clicks(), (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(below->Clicks().size(), 2u);
    // The page keeps its children where they were put.
    page->SetRect(CRect(50, 50, 300, 200));
    EXPECT_EQ(button->GetRect(), CRect(100, 100, 150, 130));
}

TEST_F(ContainerTest, PanelsCreateChildrenFromTheirOwnTable) {
    MPanel* panel = AddPanel(CRect(0, 0, 200, 100));
    Orvo::MControl* area = panel->CreateArea(L"CArea", 3, CRect(0, 0, 10, 10), L"", 1, 0);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(panel->GetAreaControls(), std::vector<Orvo::MControl*>{area});
    EXPECT_EQ(area->GetManager(), &Manager());
    EXPECT_EQ(panel->CreateControl(L"NoSuchControl", 4, CRect(), L"", 1, 1), nullptr);
    // The dialog's factory refuses what only a panel takes, and the other way round.
    EXPECT_EQ(panel->CreateControl(L"CTabCtrl1", 5, CRect(), L"", 1, 1), nullptr);
    EXPECT_EQ(panel->GetControl(3), area);
}

TEST_F(ContainerTest, AreasBlendOrFillAndFrame) {
    auto* tinted = static_cast<Orvo::CArea*>(
        m_dialog.CreateArea(L"CArea", 1, CRect(10, 10, 110, 60), L"", 1, 1));
    auto* framed = static_cast<Orvo::CArea*>(
        m_dialog.CreateArea(L"CArea", 2, CRect(150, 10, 250, 60), L"", 1, 1));
    auto* round = static_cast<Orvo::CRoundArea*>(
        m_dialog.CreateArea(L"CRoundArea", 3, CRect(10, 100, 110, 150), L"", 1, 1));
    ASSERT_NE(tinted, nullptr);
    ASSERT_NE(framed, nullptr);
    ASSERT_NE(round, nullptr);
    framed->SetTransparent(0, 0, ColorRef::FromRgb(0x20, 0x40, 0x60));
    framed->SetFrame(true, Argb(0xFFFF4B00));
    round->SetColor(Argb(0x80FFFFFF));

    // Areas are in the area list: draw it over a black background.
    auto canvas = std::make_unique<Orvo::MemoryCanvas>(400, 300);
    Orvo::MRender::FillSolidRect(canvas->GetDC(), 0, 0, 400, 300, ColorRef());
    Manager().DrawControl(canvas->GetDC(), CRect(0, 0, 400, 300));
    ::GdiFlush();
    // White at 20 % opacity over black: 255 * 51 / 255 = 51 in every channel.
    const DWORD tint = Rgb(*canvas, 50, 30);
    EXPECT_NEAR(static_cast<int>(tint & 0xFF), 51, 2);
    EXPECT_NEAR(static_cast<int>((tint >> 16) & 0xFF), 51, 2);
    // The frame: one pixel of the frame colour around the fill colour (RGB 20 40 60).
    EXPECT_EQ(Rgb(*canvas, 150, 30), 0xFF4B00u);
    EXPECT_EQ(Rgb(*canvas, 200, 10), 0xFF4B00u);
    EXPECT_EQ(Rgb(*canvas, 249, 59), 0xFF4B00u);
    const DWORD inside = Rgb(*canvas, 151, 30);
    EXPECT_NEAR(static_cast<int>((inside >> 16) & 0xFF), 0x20, 1);
    EXPECT_NEAR(static_cast<int>(inside & 0xFF), 0x60, 1);
    // Half-transparent white over black.
    const DWORD half = Rgb(*canvas, 50, 120);
    EXPECT_NEAR(static_cast<int>(half & 0xFF), 128, 2);
    // Outside every area the background stays.
    EXPECT_EQ(Rgb(*canvas, 300, 200), 0u);
}

TEST_F(ContainerTest, BarWithoutRangeNeverDividesByZero) {
    auto* bar = static_cast<Orvo::CScrollVertical*>(Manager().AddControl(
        std::make_unique<Orvo::CScrollVertical>(&m_dialog, 9, CRect(0, 0, 8, 200), 1)));
    bar->SetScrollInfo(0, 50, 0, 0);
    EXPECT_FALSE(bar->IsScrollShown());
    EXPECT_EQ(bar->GetScrollPos(), 0);
    bar->MoveRange(30);
    bar->SetScrollFinalPos();
    bar->ScrollRow(3);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_TRUE(bar->GetThumbRect().IsRectEmpty());
    m_dialog.Mouse(WM_MOUSEMOVE, 4, 100);
    m_dialog.Mouse(WM_LBUTTONDOWN, 4, 100, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 4, 100);
    EXPECT_TRUE(m_dialog.m_messages.empty());
    bar->SetScrollInfo(1000, 0, 0, 0);
    EXPECT_TRUE(bar->IsScrollShown());
    bar->ScrollRow(2);
    EXPECT_EQ(bar->GetScrollPos(), 20);
}

}  // namespace
