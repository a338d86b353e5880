// Sliders, progress bars and level boxes on a real dialog, driven through its window
// procedure: the slider's values and drag, the progress bar's styles and its endless run,
// and the level boxes' clicks.
#include <gtest/gtest.h>

#include <windows.h>

#include "orvo/progress.h"
#include "orvo/slider.h"
#include "values_test_support.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;
using ValuesTest::Rgb;
using ValuesTest::SkinPicture;

constexpr DWORD kAccentRgb = 0xFF4B00;

class ValueControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override { ASSERT_NE(m_dialog.CreateAt(40, 40, 500, 300), nullptr); }
    void TearDown() override { m_dialog.DestroyWindow(); }

    template <typename T>
    T* Create(const wchar_t* className, UINT id, const RECT& rect) {
        auto* control = dynamic_cast<T*>(m_dialog.CreateControl(className, id, rect, L"", 1, 1));
        EXPECT_NE(control, nullptr) << "created by its name";
        return control;
    }
    std::vector<WPARAM> Codes(UINT code) const {
        std::vector<WPARAM> values;
        for (const auto& message : m_dialog.m_messages) {
            if (message.code == code) {
                values.push_back(message.wParam);
            }
        }
        return values;
    }

    TestDialog m_dialog;
};

TEST_F(ValueControlsTest, SliderValuesKeepTheirRulesAndTheThumbStaysOnTheTrack) {
    SkinPicture thumb(L"values_thumb", 20, 20, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    ASSERT_TRUE(thumb.Saved());
    struct Case {
        int minimum, maximum, value;
        int returned, stored;
    };
    const Case cases[] = {
        // The default range: past the end goes to the end, below the minimum is ignored.
        {0, 10, 0 + 10 + 5, 10, 10},
        {0, 10, -1, 0, 0},
        // The DPI-like range: the 0-based position comes back.
        {1, 240, 16, 15, 16},
        // Past maximum - minimum: the stored value stays (GetProgress 15) ...
        {5, 10, 15, 10, 15},
        // ... and a value past even the maximum is cut to the maximum position.
        {5, 10, 40, 10, 15},
        // The brightness slider of the lighting page.
        {1, 255, 200, 199, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        auto* slider = Create<Orvo::MSlider>(L"MSlider", 10, CRect(20, 20, 420, 50));
        ASSERT_NE(slider, nullptr);
        ASSERT_EQ(slider->SetThumbImage(thumb.Name()), 1);
        slider->SetMinProgress(c.minimum);
        slider->SetMaxProgress(c.maximum);
        EXPECT_EQ(slider->SetProgress(c.value), c.returned);
        EXPECT_EQ(slider->GetProgress(), c.stored);
        // The thumb centre never leaves the track.
        const int centre = (slider->GetThumbRect().left + slider->GetThumbRect().right) / 2;
        EXPECT_GE(centre, slider->GetTrackLeft());
        EXPECT_LE(centre, slider->GetTrackRight());
        m_dialog.GetPaintManager()->RemoveControl(slider);
    }
}

TEST_F(ValueControlsTest, OverfullSliderIsDrawnAtTheEndOfItsTrack) {
    SkinPicture thumb(L"values_thumb_end", 20, 20,
                      {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00});
    ASSERT_TRUE(thumb.Saved());
    auto* slider = Create<Orvo::MSlider>(L"MSlider", 10, CRect(20, 20, 420, 50));
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(slider->SetThumbImage(thumb.Name()), 1);
    slider->SetMinProgress(5);
    slider->SetMaxProgress(10);
    slider->SetProgress(15);
    auto canvas = ValuesTest::PaintControls(m_dialog);
    ASSERT_NE(canvas, nullptr);
    // The 20-pixel knob ends at the control's right edge, not past it; the accent line runs
    // under it from the start.
    EXPECT_EQ(Rgb(canvas->GetPixel(419, 35)), 0x00FF00u);
    EXPECT_EQ(Rgb(canvas->GetPixel(401, 35)), 0x00FF00u);
    EXPECT_EQ(Rgb(canvas->GetPixel(421, 35)), 0x000000u);
    EXPECT_TRUE(ValuesTest::Near(Rgb(canvas->GetPixel(200, 35)), kAccentRgb, 40))
        << std::hex << canvas->GetPixel(200, 35);
}

TEST_F(ValueControlsTest, DraggingTheSliderSendsEachNewValueOnceAndOneReleaseCode) {
    SkinPicture thumb(L"values_thumb_drag", 20, 20,
                      {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    ASSERT_TRUE(thumb.Saved());
    auto* slider = Create<Orvo::MSlider>(L"MSlider", 10, CRect(20, 20, 420, 50));
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(slider->SetThumbImage(thumb.Name()), 1);
    // The track runs from 30 to 410: 38 pixels a step.
    m_dialog.Mouse(WM_MOUSEMOVE, 30, 35);
    m_dialog.Mouse(WM_LBUTTONDOWN, 30, 35, MK_LBUTTON);
    EXPECT_EQ(slider->GetMouseState(), 2);
    for (int x = 30; x <= 440; x += 4) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, 35, MK_LBUTTON);
    }
    m_dialog.Mouse(WM_LBUTTONUP, 440, 35);
    const std::vector<WPARAM> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(Codes(Orvo::kNotifyScroll), expected);
    EXPECT_EQ(Codes(Orvo::kNotifyClicked).size(), 1u);
    EXPECT_EQ(slider->GetProgress(), 10);
    EXPECT_NE(slider->GetMouseState(), 2);
}

TEST_F(ValueControlsTest, PressOffTheThumbJumpsThereAndADisabledSliderStaysPut) {
    SkinPicture thumb(L"values_thumb_jump", 20, 20,
                      {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    ASSERT_TRUE(thumb.Saved());
    auto* slider = Create<Orvo::MSlider>(L"MSlider", 10, CRect(20, 20, 420, 50));
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(slider->SetThumbImage(thumb.Name()), 1);
    m_dialog.Mouse(WM_MOUSEMOVE, 220, 35);
    m_dialog.Mouse(WM_LBUTTONDOWN, 220, 35, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 220, 35);
    EXPECT_EQ(slider->GetProgress(), 5);
    EXPECT_EQ(Codes(Orvo::kNotifyScroll), std::vector<WPARAM>{5});

    slider->SetEnabled(0);
    m_dialog.m_messages.clear();
    m_dialog.Mouse(WM_MOUSEMOVE, 400, 35);
    m_dialog.Mouse(WM_LBUTTONDOWN, 400, 35, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 400, 35);
    EXPECT_EQ(slider->GetProgress(), 5);
    EXPECT_TRUE(m_dialog.m_messages.empty());
}

TEST_F(ValueControlsTest, LightSliderStartsAtFiveAndFillsItsTrackUpToTheThumb) {
    SkinPicture thumb(L"values_light_thumb", 10, 10,
                      {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    // Both rows blue: the empty row is what shows beyond the thumb.
    SkinPicture track(L"values_light_track", 100, 10, {0xFF0000FF});
    ASSERT_TRUE(thumb.Saved() && track.Saved());
    auto* slider = Create<Orvo::LightSlider>(L"LightSlider", 11, CRect(20, 100, 220, 130));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetProgress(), 5);
    ASSERT_EQ(slider->SetThumbImage(thumb.Name()), 1);
    ASSERT_EQ(slider->SetImage(track.Name(), 1), 1);
    auto canvas = ValuesTest::PaintControls(m_dialog);
    ASSERT_NE(canvas, nullptr);
    // The empty track row is drawn from the image's upper half along the track.
    EXPECT_EQ(Rgb(canvas->GetPixel(200, 102)), 0x0000FFu);
    // The thumb's box ends two pixels above the lower edge; the knob is centred in it, in
    // the middle of the track.
    const CRect thumbRect = slider->GetThumbRect();
    EXPECT_EQ((thumbRect.left + thumbRect.right) / 2, 120);
    EXPECT_EQ(Rgb(canvas->GetPixel(120, 100 + (30 - 30 - 2) + 15)), 0xFFFFFFu);
}

TEST_F(ValueControlsTest, ProgressTakesValuesOnlyWhileEnabledAndCyclesWhileRunning) {
    auto* progress = Create<Orvo::MProgress>(L"MProgress", 12, CRect(20, 200, 320, 220));
    ASSERT_NE(progress, nullptr);
    progress->SetProgress(40);
    EXPECT_EQ(progress->GetProgress(), 40);
    progress->SetProgress(150);
    EXPECT_EQ(progress->GetProgress(), 100);
    progress->SetProgress(-3);
    EXPECT_EQ(progress->GetProgress(), 100);
    progress->SetEnabled(0);
    progress->SetProgress(10);
    EXPECT_EQ(progress->GetProgress(), 100);
    EXPECT_EQ(progress->SetRun(1, 0), 0) << "a disabled bar keeps its running flag";
    progress->SetEnabled(1);

    // Endless: one step every third tick, 0..99, then 0 again.
    EXPECT_EQ(progress->SetRun(1, 0), 1);
    std::vector<int> seen;
    for (int tick = 0; tick < 3 * 101; ++tick) {
        progress->OnTimer();
        if (tick % 3 == 2) {
            seen.push_back(progress->GetProgress());
        }
    }
    ASSERT_EQ(seen.size(), 101u);
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[98], 99);
    EXPECT_EQ(seen[99], 0);
    EXPECT_EQ(seen[100], 1);
    progress->SetRun(0, -1);
    const int stopped = progress->GetProgress();
    for (int tick = 0; tick < 9; ++tick) {
        progress->OnTimer();
    }
    EXPECT_EQ(progress->GetProgress(), stopped);
}

TEST_F(ValueControlsTest, ProgressStylesFillTheirShareOfTheBar) {
    SkinPicture state(L"values_progress_state", 40, 14, {0xFF202020, 0xFF00C000});
    SkinPicture back(L"values_progress_back", 60, 10, {0xFF303030});
    SkinPicture fore(L"values_progress_fore", 60, 10, {0xFFC00000});
    ASSERT_TRUE(state.Saved() && back.Saved() && fore.Saved());
    auto* line = Create<Orvo::MProgress>(L"MProgress", 13, CRect(0, 0, 200, 10));
    auto* strip = Create<Orvo::MProgress>(L"MProgress", 14, CRect(0, 20, 200, 34));
    auto* parts = Create<Orvo::MProgress>(L"MProgress", 15, CRect(0, 40, 200, 50));
    auto* thin = Create<Orvo::MProgress>(L"MProgress", 16, CRect(0, 60, 200, 70));
    ASSERT_TRUE(line && strip && parts && thin);
    ASSERT_EQ(strip->SetImage(state.Name(), 2), 1);
    ASSERT_TRUE(parts->SetBackGroundImage(back.Name()));
    ASSERT_TRUE(parts->SetForeGroundImage(fore.Name()));
    ASSERT_TRUE(thin->SetBackGroundImage(back.Name()));
    ASSERT_TRUE(thin->SetForeGroundImage(fore.Name()));
    for (auto* bar : {line, strip, parts}) {
        bar->SetProgress(50);
    }
    thin->SetProgress(4);  // 8 pixels: less than a side piece
    auto canvas = ValuesTest::PaintControls(m_dialog);
    ASSERT_NE(canvas, nullptr);
    // Line style: the accent fill in the bottom 3 rows up to half the width.
    EXPECT_TRUE(ValuesTest::Near(Rgb(canvas->GetPixel(50, 8)), kAccentRgb, 8));
    EXPECT_TRUE(ValuesTest::Near(Rgb(canvas->GetPixel(99, 8)), kAccentRgb, 8));
    EXPECT_FALSE(ValuesTest::Near(Rgb(canvas->GetPixel(101, 8)), kAccentRgb, 8));
    // State image: frame 1 up to half, frame 0 after.
    EXPECT_EQ(Rgb(canvas->GetPixel(50, 27)), 0x00C000u);
    EXPECT_EQ(Rgb(canvas->GetPixel(150, 27)), 0x202020u);
    // Three parts: foreground up to half over the background.
    EXPECT_EQ(Rgb(canvas->GetPixel(50, 45)), 0xC00000u);
    EXPECT_EQ(Rgb(canvas->GetPixel(150, 45)), 0x303030u);
    // Less than a side: only the first columns of the foreground.
    EXPECT_EQ(Rgb(canvas->GetPixel(5, 65)), 0xC00000u);
    EXPECT_EQ(Rgb(canvas->GetPixel(10, 65)), 0x303030u);
}

TEST_F(ValueControlsTest, ProgressTextShowsAPercentSignOnlyOutOfAHundred) {
    auto* hundred = Create<Orvo::MProgress>(L"MProgress", 17, CRect(0, 0, 200, 24));
    auto* twoHundred = Create<Orvo::MProgress>(L"MProgress", 18, CRect(0, 40, 200, 64));
    ASSERT_TRUE(hundred && twoHundred);
    twoHundred->SetMaxProgress(200);
    for (auto* bar : {hundred, twoHundred}) {
        bar->EnableShowText(1);
        bar->SetTextColor(Orvo::Argb(0xFFFFFFFF));
        bar->SetProgress(50);
    }
    auto canvas = ValuesTest::PaintControls(m_dialog);
    ASSERT_NE(canvas, nullptr);
    // "50%" is wider than "50": centred, it starts further left.
    const auto firstInk = [&](int top) {
        for (int x = 0; x < 200; ++x) {
            for (int y = top; y < top + 20; ++y) {
                if ((Rgb(canvas->GetPixel(x, y)) & 0xFF) > 128) {
                    return x;
                }
            }
        }
        return -1;
    };
    const int withPercent = firstInk(0);
    const int without = firstInk(40);
    if (withPercent < 0 && without < 0) {
        GTEST_SKIP() << "no text drawn: the control's font family is not installed";
    }
    ASSERT_GE(withPercent, 0);
    ASSERT_GE(without, 0);
    EXPECT_LT(withPercent + 2, without);
}

TEST_F(ValueControlsTest, LevelBoxesFillUpToTheLevelAndAClickChoosesOne) {
    auto* level = Create<Orvo::MLevelCtrl>(L"MLevelCtrl", 19, CRect(20, 20, 420, 50));
    ASSERT_NE(level, nullptr);
    level->SetLevelValue(99);
    EXPECT_EQ(level->GetLevelValue(), 15);
    auto canvas = ValuesTest::PaintControls(m_dialog);
    ASSERT_NE(canvas, nullptr);
    // 16 boxes 20 wide, 5 apart: every inner part is yellow.
    for (int k = 0; k < 16; ++k) {
        EXPECT_TRUE(ValuesTest::Near(Rgb(canvas->GetPixel(20 + k * 25 + 10, 26)), 0xFFE100, 3))
            << k;
    }
    // A click on box 3 (x 95..114) chooses level 3; a click in a gap keeps it.
    m_dialog.Mouse(WM_MOUSEMOVE, 100, 25);
    m_dialog.Mouse(WM_LBUTTONDOWN, 100, 25, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 100, 25);
    EXPECT_EQ(level->GetLevelValue(), 3);
    EXPECT_EQ(Codes(Orvo::kNotifyClicked), std::vector<WPARAM>{3});
    m_dialog.Mouse(WM_LBUTTONDOWN, 42, 25, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 42, 25);
    EXPECT_EQ(level->GetLevelValue(), 3);
    EXPECT_EQ(Codes(Orvo::kNotifyClicked).size(), 1u);
    canvas = ValuesTest::PaintControls(m_dialog);
    EXPECT_TRUE(ValuesTest::Near(Rgb(canvas->GetPixel(20 + 3 * 25 + 10, 26)), 0xFFE100, 3));
    // The box colour is nearly opaque: it shows over black a shade darker.
    EXPECT_TRUE(ValuesTest::Near(Rgb(canvas->GetPixel(20 + 4 * 25 + 10, 26)), 0xA0A0A0, 3));
    // A range turned upside down has no boxes and no division by zero.
    level->SetRangeValue(5, 2);
    level->SetLevelValue(4);
    m_dialog.Mouse(WM_LBUTTONDOWN, 100, 25, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 100, 25);
    EXPECT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
}

}  // namespace
