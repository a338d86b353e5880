// The colour pickers on a real dialog: the palette's colours at known points (reported and
// painted), its saturation bar, the hue bar, and the ring that picks the colour shown on
// screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

#include "orvo/buttons.h"
#include "orvo/color_palette.h"
#include "orvo/edit.h"
#include "orvo/color_select.h"
#include "orvo/spin_button.h"
#include "orvo/palette.h"
#include "render_test_support.h"
#include "values_test_support.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;
using ValuesTest::Rgb;

class ColourControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override { ASSERT_NE(m_dialog.CreateAt(60, 60, 520, 400), nullptr); }
    void TearDown() override { m_dialog.DestroyWindow(); }

    std::vector<TestDialog::Message> Picks() const {
        std::vector<TestDialog::Message> picks;
        for (const auto& message : m_dialog.m_messages) {
            if (message.code == Orvo::kNotifyColorPicked) {
                picks.push_back(message);
            }
        }
        return picks;
    }
    void Click(int x, int y) {
        m_dialog.Mouse(WM_MOUSEMOVE, x, y);
        m_dialog.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        m_dialog.Mouse(WM_LBUTTONUP, x, y);
    }

    TestDialog m_dialog;
};

TEST_F(ColourControlsTest, PaletteColoursAtKnownPoints) {
    // The field is 216 x 150 at the control's top left, the bar 16 wide from x 222.
    auto* palette = dynamic_cast<Orvo::MPalette*>(
        m_dialog.CreateControl(L"MPalette", 40, CRect(0, 0, 254, 150), L"", 1, 1));
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->GetPaletteRect(), CRect(0, 0, 216, 150));
    EXPECT_EQ(palette->GetBarRect(), CRect(222, 0, 254, 150));
    // A new palette's colour is HSL(0.5, 1, 0.6).
    EXPECT_EQ(palette->GetSelectColor().Value(), 0xFFFF33u);

    struct Case {
        int x, y;
        DWORD colorref;  // 0x00BBGGRR
    };
    const Case cases[] = {
        {0, 75, 0x1919FF},    // hue 0, lightness 0.55: red
        {72, 75, 0x19FF19},   // hue 120: green
        {144, 75, 0xFF1919},  // hue 240: blue
        {108, 0, 0x333300},   // hue 180 at the top: lightness 0.1, a dark cyan
        {54, 149, 0xF9FFFC},  // hue 90 at the bottom: lightness 0.99, nearly white
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        m_dialog.m_messages.clear();
        Click(c.x, c.y);
        EXPECT_EQ(palette->GetSelectColor().Value(), c.colorref);
        const auto picks = Picks();
        ASSERT_EQ(picks.size(), 1u);
        EXPECT_EQ(picks[0].wParam, c.colorref);
        // The painted field shows that colour where it was pressed (halftone scaling
        // blends neighbours a little); the marker is drawn around the point, not on it.
        auto canvas = ValuesTest::PaintControls(m_dialog);
        ASSERT_NE(canvas, nullptr);
        const int probeX = c.x < 200 ? c.x + 8 : c.x - 8;
        EXPECT_TRUE(ValuesTest::Near(Rgb(canvas->GetPixel(probeX, c.y)),
                                     ValuesTest::RgbOfColorRef(palette->GetSelectColor().Value()),
                                     64))
            << std::hex << canvas->GetPixel(probeX, c.y);
        // The same colour pressed again is not reported again.
        m_dialog.m_messages.clear();
        Click(c.x, c.y);
        EXPECT_TRUE(Picks().empty());
    }
}

TEST_F(ColourControlsTest, PaletteMarkerFollowsTheSelectedColour) {
    auto* palette = dynamic_cast<Orvo::MPalette*>(
        m_dialog.CreateControl(L"MPalette", 40, CRect(30, 60, 284, 210), L"", 1, 1));
    ASSERT_NE(palette, nullptr);
    palette->SetSelectColor(Orvo::ColorRef(0x0000FF));  // pure red
    EXPECT_EQ(palette->GetMarker().x, 30) << "the left edge";
    EXPECT_EQ(palette->GetHue(), 0);
    EXPECT_EQ(palette->GetSaturation(), 200);
    EXPECT_EQ(palette->GetLightness(), 100);
    EXPECT_EQ(palette->GetSelectColor().Value(), 0x0000FFu);
    palette->SetSelectColor(Orvo::ColorRef(0xFF0000));  // pure blue: two thirds across
    EXPECT_EQ(palette->GetMarker().x, 30 + 216 * 240 / 360);
}

TEST_F(ColourControlsTest, DraggingTheSaturationBarReportsWithoutAColour) {
    auto* palette = dynamic_cast<Orvo::MPalette*>(
        m_dialog.CreateControl(L"MPalette", 40, CRect(0, 0, 254, 150), L"", 1, 1));
    ASSERT_NE(palette, nullptr);
    m_dialog.Mouse(WM_MOUSEMOVE, 226, 149);
    m_dialog.Mouse(WM_LBUTTONDOWN, 226, 149, MK_LBUTTON);
    EXPECT_EQ(palette->GetSaturation(), 198);
    m_dialog.Mouse(WM_MOUSEMOVE, 226, 75, MK_LBUTTON);
    m_dialog.Mouse(WM_MOUSEMOVE, 226, 0, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, 226, 0);
    EXPECT_EQ(palette->GetSaturation(), 0);
    const auto picks = Picks();
    ASSERT_EQ(picks.size(), 3u);
    EXPECT_NE(picks[0].wParam, 0u) << "the press changed the colour";
    EXPECT_EQ(picks[1].wParam, 0u);
    EXPECT_EQ(picks[2].wParam, 0u);
    // Saturation 0: a grey of the lightness (0.6).
    EXPECT_EQ(palette->GetSelectColor().Value(), 0x999999u);
}

TEST_F(ColourControlsTest, HueBarGivesTheColourUnderItsThumb) {
    // Only a panel creates it by name; here it is made directly.
    auto* bar = static_cast<Orvo::PaletteBar*>(m_dialog.GetPaintManager()->AddControl(
        std::make_unique<Orvo::PaletteBar>(&m_dialog, 41, CRect(10, 200, 380, 220), 1)));
    ASSERT_NE(bar, nullptr);
    // 360 positions: the thumb's position is the hue in degrees.
    bar->SetPosition(0);
    EXPECT_EQ(bar->PaletteHSLToRGB(200).Value(), 0xFFFF0000u);
    bar->SetPosition(120);
    EXPECT_EQ(bar->PaletteHSLToRGB(200).Value(), 0xFF00FF00u);
    EXPECT_EQ(bar->PaletteHSLToRGB(0).Value(), 0xFF7F7F7Fu);
    // A press puts the thumb's centre under the pointer; the release sends 2.
    Click(10 + 5 + 240, 210);
    EXPECT_EQ(bar->GetPosition(), 240);
    int releases = 0;
    for (const auto& message : m_dialog.m_messages) {
        releases += message.code == Orvo::kNotifyClicked ? 1 : 0;
    }
    EXPECT_EQ(releases, 1);
    Click(10 + 500, 210);
    EXPECT_EQ(bar->GetPosition(), 240) << "outside the bar nothing moves";
}

TEST_F(ColourControlsTest, RingPicksTheColourShownOnScreenWithinItsBand) {
    const std::wstring ring = Orvo::Manager::GetSkinDirectory() + L"img_color_ring.png";
    ::CreateDirectoryW((Orvo::Manager::GetProgramDirectory() + L"skins").c_str(), nullptr);
    ::CreateDirectoryW(Orvo::Manager::GetSkinDirectory().c_str(), nullptr);
    const std::wstring built = RenderTest::SkinFolder() + L"img_color_ring.png";
    if (::GetFileAttributesW(built.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "the skin set is not built";
    }
    ::CopyFileW(built.c_str(), ring.c_str(), FALSE);
    auto* circle = dynamic_cast<Orvo::CirclePalette*>(
        m_dialog.CreateControl(L"CirclePalette", 42, CRect(20, 20, 260, 260), L"", 1, 1));
    ASSERT_NE(circle, nullptr);
    ASSERT_EQ(circle->SetImage(L"img_color_ring.png", 1), 1);
    // The colour is read back from the screen: the window stays above every other one.
    ::SetWindowPos(m_dialog.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::UpdateWindow(m_dialog.GetSafeHwnd());
    OrvoTest::PumpMessages();

    // The centre is (140, 140): distances 64 and 116 are refused, 65 and 115 taken.
    struct Case {
        int dx, dy;
        bool taken;
    };
    const Case cases[] = {{0, -64, false}, {0, -116, false}, {0, -65, true},
                          {0, -115, true}, {-90, 0, true},   {10, 10, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        EXPECT_EQ(circle->MoveThumbPos(POINT{140 + c.dx, 140 + c.dy}), c.taken);
    }
    // At the top of the ring the screen shows red; on the left, violet-blue.
    m_dialog.m_messages.clear();
    ::UpdateWindow(m_dialog.GetSafeHwnd());
    Click(140, 140 - 90);
    const auto picks = Picks();
    ASSERT_FALSE(picks.empty());
    const DWORD picked = static_cast<DWORD>(picks.back().lParam);
    EXPECT_TRUE(ValuesTest::Near(ValuesTest::RgbOfColorRef(picked), 0xFF0000, 40))
        << std::hex << picked;
    EXPECT_EQ(circle->GetSelectColor().Value(), picked);
}

TEST_F(ColourControlsTest, PresetSwatchesPickTheirColour) {
    auto* select = dynamic_cast<Orvo::CColorSelect*>(
        m_dialog.CreateControl(L"CColorSelect", 43, CRect(20, 300, 320, 330), L"", 1, 1));
    ASSERT_NE(select, nullptr);
    ASSERT_EQ(select->GetSwatchCount(), 8);
    EXPECT_EQ(select->GetColorIndex(), 0);
    EXPECT_EQ(select->GetSelectColor().Value(), 0x0000FFu);
    auto canvas = ValuesTest::PaintControls(m_dialog);
    ASSERT_NE(canvas, nullptr);
    // The third swatch (x 90..116) is yellow.
    EXPECT_EQ(Rgb(canvas->GetPixel(20 + 70 + 13, 315)), 0xFFFF00u);

    m_dialog.m_messages.clear();
    Click(20 + 70 + 13, 315);
    const auto picks = Picks();
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].wParam, 2u);
    EXPECT_EQ(static_cast<DWORD>(picks[0].lParam), 0x00FFFFu);
    EXPECT_EQ(select->GetColorIndex(), 2);

    select->SetSelectColor(Orvo::ColorRef(0xFF00FF));
    EXPECT_EQ(select->GetColorIndex(), 6);
    select->SetSelectColor(Orvo::ColorRef(0x123456));
    EXPECT_EQ(select->GetColorIndex(), -1) << "no swatch has it";
    EXPECT_EQ(select->GetSelectColor().Value(), 0x123456u);
    select->SetColorIndex(99);
    EXPECT_EQ(select->GetColorIndex(), -1);
}

TEST(ColourPaletteTextTest, HexFieldReadsBackAsTheSameColour) {
    struct Case {
        uint32_t colorref;
        const wchar_t* text;  // red first, two digits a channel
    };
    const Case cases[] = {
        {0x0505FF, L"ff0505"}, {0x80FF00, L"00ff80"}, {0x000000, L"000000"}, {0x0A0B0C, L"0c0b0a"}};
    for (const Case& c : cases) {
        EXPECT_EQ(Orvo::CColorPalette::FormatHex(Orvo::ColorRef(c.colorref)), c.text);
        Orvo::ColorRef parsed;
        ASSERT_TRUE(Orvo::CColorPalette::ParseHex(c.text, parsed)) << c.text;
        EXPECT_EQ(parsed.Value(), c.colorref) << c.text;
    }
    Orvo::ColorRef parsed;
    EXPECT_TRUE(Orvo::CColorPalette::ParseHex(L"#00FF80", parsed));
    EXPECT_EQ(parsed.Value(), 0x80FF00u);
    for (const wchar_t* bad : {L"", L"ff55", L"ff05050", L"gg0000", L"#", L"ff 505"}) {
        EXPECT_FALSE(Orvo::CColorPalette::ParseHex(bad, parsed)) << bad;
    }
}

TEST_F(ColourControlsTest, ColourPalettePartsFollowEachOther) {
    auto* body = dynamic_cast<Orvo::CColorPalette*>(
        m_dialog.CreateControl(L"CColorPalette", 44, CRect(10, 10, 340, 220), L"", 1, 1));
    ASSERT_NE(body, nullptr);
    using P = Orvo::CColorPalette;
    auto* palette = dynamic_cast<Orvo::MPalette*>(body->GetControl(P::kPaletteId));
    auto* hex = dynamic_cast<Orvo::MEdit*>(body->GetControl(P::kHexId));
    Orvo::MSpinButton* channels[3] = {};
    for (UINT i = 0; i < 3; ++i) {
        channels[i] = dynamic_cast<Orvo::MSpinButton*>(body->GetControl(P::kFirstChannelId + i));
        ASSERT_NE(channels[i], nullptr);
    }
    ASSERT_NE(palette, nullptr);
    ASSERT_NE(hex, nullptr);
    auto* green = dynamic_cast<Orvo::CColorButton*>(body->GetControl(P::kFirstSwatchId + 2));
    ASSERT_NE(green, nullptr);
    ASSERT_EQ(green->GetColor().Value(), 0x00FF00u);

    const auto expectShown = [&](uint32_t colorref, const wchar_t* text) {
        EXPECT_EQ(body->GetSelectColor().Value(), colorref);
        EXPECT_EQ(channels[0]->GetCurValue(), static_cast<int>(colorref & 0xFF));
        EXPECT_EQ(channels[1]->GetCurValue(), static_cast<int>((colorref >> 8) & 0xFF));
        EXPECT_EQ(channels[2]->GetCurValue(), static_cast<int>((colorref >> 16) & 0xFF));
        EXPECT_EQ(hex->GetTitleEx(), text);
    };
    expectShown(0x0505FF, L"ff0505");

    // A swatch: 26 x 26 below the palette, every 35 pixels.
    const int swatchY = 10 + P::kPaletteHeight + 10 + 13;
    Click(10 + 2 * P::kSwatchStep + 13, swatchY);
    auto picks = Picks();
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].controlId, 44u);
    EXPECT_EQ(static_cast<DWORD>(picks[0].lParam), 0x00FF00u);
    expectShown(0x00FF00, L"00ff00");
    EXPECT_EQ(green->GetCheck(), 1);
    EXPECT_EQ(palette->GetSelectColor().Value(), 0x00FF00u);

    // The blue spinner's up button (upper right corner of the third field).
    const int fieldRight = 10 + P::kFieldLeft + 24 + P::kFieldWidth;
    Click(fieldRight - 4, 10 + 2 * P::kFieldStep + 5);
    picks = Picks();
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_EQ(static_cast<DWORD>(picks[1].lParam), 0x01FF00u);
    expectShown(0x01FF00, L"00ff01");
    EXPECT_EQ(green->GetCheck(), 0) << "no swatch has the new colour";

    // A press on the palette field: the spinners and the text take the palette's colour.
    Click(10 + 40, 10 + 60);
    picks = Picks();
    ASSERT_EQ(picks.size(), 3u);
    const uint32_t picked = palette->GetSelectColor().Value();
    EXPECT_EQ(static_cast<DWORD>(picks[2].lParam), picked);
    expectShown(picked, P::FormatHex(Orvo::ColorRef(picked)).c_str());

    m_dialog.m_messages.clear();
    body->SetSelectColor(Orvo::ColorRef(0xFFFFFF));
    EXPECT_TRUE(Picks().empty()) << "SetSelectColor never notifies";
    expectShown(0xFFFFFF, L"ffffff");
    auto* white = dynamic_cast<Orvo::CColorButton*>(body->GetControl(P::kFirstSwatchId + 7));
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->GetCheck(), 1);
}

}  // namespace
