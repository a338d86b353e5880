// Pictures on a real dialog: the six show modes as painted, the photo frame's button
// codes, the slide on the animation tick, and the GIF's frames kept for their own delays.
#include <gtest/gtest.h>

#include <windows.h>

#include "orvo/picture.h"
#include "render_test_support.h"
#include "values_test_support.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;
using ValuesTest::Rgb;
using ValuesTest::SkinPicture;

class PictureControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(80, 80, 400, 300), nullptr);
        ASSERT_TRUE(m_square.Saved());
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    Orvo::MPicture* Create(const wchar_t* className, const RECT& rect) {
        auto* picture =
            dynamic_cast<Orvo::MPicture*>(m_dialog.CreateControl(className, 50, rect, L"", 1, 1));
        EXPECT_NE(picture, nullptr);
        return picture;
    }

    TestDialog m_dialog;
    // 20 x 10, red.
    SkinPicture m_square{L"pictures_square", 20, 10, {0xFFFF0000}};
};

TEST_F(PictureControlsTest, ShowModesFillTheControlAsTheySay) {
    struct Case {
        int mode;
        POINT inside;   // red
        POINT outside;  // black (nothing drawn)
    };
    // Controls of 60 x 40 at (10, 10); the picture is 20 x 10.
    const Case cases[] = {
        {Orvo::kShowOwnSize, {30 + 9, 25}, {12, 12}},  // centred by the alignments below
        {Orvo::kShowTiled, {65, 45}, {-1, -1}},        // tiles to the last pixel
        {Orvo::kShowStretched, {68, 48}, {-1, -1}},
        {Orvo::kShowNinePatch, {40, 30}, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Orvo::MPicture* picture = Create(L"MPicture", CRect(10, 10, 70, 50));
        ASSERT_NE(picture, nullptr);
        ASSERT_EQ(picture->SetImage(m_square.Name(), 1), 1);
        picture->SetAlignment(1, 4);
        picture->SetShowMode(c.mode, 3);
        auto canvas = ValuesTest::PaintControls(m_dialog);
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(Rgb(canvas->GetPixel(c.inside.x, c.inside.y)), 0xFF0000u);
        if (c.outside.x >= 0) {
            EXPECT_EQ(Rgb(canvas->GetPixel(c.outside.x, c.outside.y)), 0u);
        }
        EXPECT_EQ(Rgb(canvas->GetPixel(71, 30)), 0u) << "nothing past the control";
        m_dialog.GetPaintManager()->RemoveControl(picture);
    }
}

TEST_F(PictureControlsTest, PhotoFramePressesLikeAButton) {
    Orvo::MPicture* picture = Create(L"CPhotoFrame", CRect(10, 10, 110, 70));
    ASSERT_NE(picture, nullptr);
    auto* photo = static_cast<Orvo::CPhotoFrame*>(picture);
    m_dialog.Mouse(WM_MOUSEMOVE, 50, 40);
    EXPECT_EQ(photo->GetMouseState(), 1);
    m_dialog.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    EXPECT_EQ(photo->GetMouseState(), 2);
    m_dialog.Mouse(WM_LBUTTONUP, 50, 40);
    ASSERT_EQ(m_dialog.m_messages.size(), 2u);
    EXPECT_EQ(m_dialog.m_messages[0].code, Orvo::kNotifyPressed);
    EXPECT_EQ(m_dialog.m_messages[1].code, Orvo::kNotifyClicked);
}

TEST_F(PictureControlsTest, SlidingPictureArrivesInTenTicksAndStops) {
    Orvo::MPicture* picture = Create(L"CSliderPicture", CRect(10, 10, 110, 70));
    ASSERT_NE(picture, nullptr);
    auto* sliding = static_cast<Orvo::CSliderPicture*>(picture);
    sliding->SetRun(1, Orvo::kSlideFromLeft);
    EXPECT_EQ(sliding->GetOffset(), 100);
    EXPECT_EQ(sliding->IsRunTimer(), 1);
    for (int tick = 0; tick < 10; ++tick) {
        EXPECT_GT(sliding->GetOffset(), 0) << tick;
        sliding->OnTimer();
    }
    EXPECT_EQ(sliding->GetOffset(), 0);
    EXPECT_EQ(sliding->IsRun(), 0);
    EXPECT_EQ(sliding->IsRunTimer(), 0) << "an arrived slide lets the tick rest";
}

TEST_F(PictureControlsTest, GifFramesStayForTheirOwnDelays) {
    ::CreateDirectoryW((Orvo::Manager::GetProgramDirectory() + L"skins").c_str(), nullptr);
    ::CreateDirectoryW(Orvo::Manager::GetSkinDirectory().c_str(), nullptr);
    const std::wstring built = RenderTest::SkinFolder() + L"loading\\loading.gif";
    const std::wstring name =
        L"pictures_loading_" + std::to_wstring(::GetCurrentProcessId()) + L".gif";
    if (!::CopyFileW(built.c_str(), (Orvo::Manager::GetSkinDirectory() + name).c_str(), FALSE)) {
        GTEST_SKIP() << "the skin set is not built";
    }
    auto* gif = dynamic_cast<Orvo::CGifPicture*>(
        m_dialog.CreateControl(L"CGifPicture", 51, CRect(10, 10, 74, 74), L"", 1, 1));
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(gif->SetImage(name.c_str(), 1), 1);
    // The skin's spinner: 12 frames of 80 ms (8 hundredths in the file).
    ASSERT_EQ(gif->GetFrameCount(), 12);
    EXPECT_EQ(gif->GetFrameDelay(0), 80);
    EXPECT_FALSE(gif->Advance(200)) << "not running yet";
    gif->SetRunState(1, 11);
    EXPECT_EQ(gif->GetCurrentFrame(), 11);
    EXPECT_FALSE(gif->Advance(79));
    EXPECT_TRUE(gif->Advance(1));
    EXPECT_EQ(gif->GetCurrentFrame(), 0) << "wraps to the first";
    EXPECT_TRUE(gif->Advance(170));
    EXPECT_EQ(gif->GetCurrentFrame(), 2);
    gif->SetRunState(0, 5);
    EXPECT_FALSE(gif->Advance(1000));
    EXPECT_EQ(gif->GetCurrentFrame(), 5);
    m_dialog.GetPaintManager()->RemoveControl(gif);
    ::DeleteFileW((Orvo::Manager::GetSkinDirectory() + name).c_str());

    // A still picture has one frame and ignores SetRunState.
    auto* still = dynamic_cast<Orvo::CGifPicture*>(
        m_dialog.CreateControl(L"CGifPicture", 52, CRect(10, 10, 74, 74), L"", 1, 1));
    ASSERT_NE(still, nullptr);
    ASSERT_EQ(still->SetImage(m_square.Name(), 1), 1);
    EXPECT_EQ(still->GetFrameCount(), 1);
    still->SetRunState(1, 0);
    EXPECT_EQ(still->IsRun(), 0);
}

}  // namespace
