#include "gallery_scene.h"

#include <gdiplus.h>

#include <map>
#include <memory>
#include <vector>

#include "gallery_controls.h"
#include "orvo/image_strip.h"
#include "orvo/img_res_info.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "orvo/shadow.h"

namespace Gallery {
namespace {

using Orvo::MRender;

constexpr Orvo::ColorRef kWhite = Orvo::ColorRef::FromRgb(255, 255, 255);
constexpr Orvo::ColorRef kCool = Orvo::ColorRef::FromRgb(184, 210, 239);
constexpr Orvo::ColorRef kMuted = Orvo::ColorRef::FromRgb(130, 130, 130);
constexpr Orvo::ColorRef kAccent = Orvo::kAccentColor.ToColorRef();

// The skin pictures, from the paint manager's cache; frames are cut by the scene itself.
class Skins {
public:
    explicit Skins(Orvo::PaintManager* manager) : m_manager(manager) {}
    Gdiplus::Image* operator[](const wchar_t* name) {
        Orvo::ImgResInfo* info = m_manager->AddImgResInfo(name, 1);
        return info != nullptr ? info->image.get() : nullptr;
    }

private:
    Orvo::PaintManager* m_manager;  // not owned
};

int Width(Gdiplus::Image* image) {
    return image ? static_cast<int>(image->GetWidth()) : 0;
}
int Height(Gdiplus::Image* image) {
    return image ? static_cast<int>(image->GetHeight()) : 0;
}

// Frame `frame` of a strip of `count` as a nine-patch over rect.
void DrawFrame(Gdiplus::Graphics& g, Gdiplus::Image* image, int count, int frame, const RECT& rect,
               int corner) {
    if (image == nullptr) {
        return;
    }
    const Orvo::StripRect source = Orvo::StripFrameRect(Width(image), Height(image), count, frame);
    MRender::DrawImageFrame(&g, image, rect, source.x, source.y, source.width, source.height,
                            corner);
}

void Text(HDC dc, GalleryFonts& fonts, const RECT& rect, const wchar_t* text, int size,
          Orvo::ColorRef colour, UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE,
          const wchar_t* face = kUiFace) {
    MRender::DrawTextW(dc, rect, text, colour, fonts.Get(face, size), format);
}

// A card of the page: the raised nine-patch with a 16-pixel heading.
RECT Card(Gdiplus::Graphics& g, HDC dc, Skins& skins, GalleryFonts& fonts, const RECT& rect,
          const wchar_t* heading) {
    Gdiplus::Image* area = skins[L"img_area2.png"];
    MRender::DrawImageFrame(&g, area, rect, 0, 0, Width(area), Height(area), 10);
    g.Flush();
    Text(dc, fonts, RECT{rect.left + 16, rect.top + 8, rect.right - 16, rect.top + 34}, heading, 16,
         kWhite);
    return RECT{rect.left + 16, rect.top + 40, rect.right - 16, rect.bottom - 12};
}

}  // namespace

RECT CaptionRect() {
    return RECT{201, 0, kWidth - 120, 50};
}

RECT SystemButtonRect(int index) {
    return RECT{kWidth - 112 + 31 * index, 10, kWidth - 82 + 31 * index, 40};
}

// The "Buttons" card's content starts at (232, 104); the icon buttons end its second row.
RECT ResetButtonRect() {
    return RECT{496, 144, 526, 174};
}

RECT OpenFileButtonRect() {
    return RECT{530, 144, 560, 174};
}

// The last row of the "Checks and switches" card: a check box with its label, a switch.
RECT StartupCheckRect() {
    return RECT{624, 158, 644, 178};
}

RECT StartupSwitchRect() {
    return RECT{924, 156, 968, 180};
}

RECT UpdateButtonRect() {
    return RECT{kWidth - 170, kHeight - 42, kWidth - 20, kHeight - 12};
}

RECT ProgressOverlayRect() {
    return RECT{704, 284, 964, 316};
}

void DrawScene(HDC dc, Orvo::PaintManager* manager, GalleryFonts& fonts) {
    Skins skins(manager);
    Gdiplus::Graphics g(dc);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);

    // Window chrome over the dialog's background: caption, left panel with the tab strip.
    Gdiplus::Image* panel = skins[L"img_tab_bkg.png"];
    MRender::DrawImageFrame(&g, panel, RECT{1, 1, 201, kHeight - 1}, 0, 0, Width(panel),
                            Height(panel), 4);
    Gdiplus::Image* caption = skins[L"img_caption.png"];
    MRender::DrawImageFrame(&g, caption, RECT{201, 1, kWidth - 1, 50}, 0, 0, Width(caption),
                            Height(caption), 4);
    Gdiplus::Image* logo = skins[L"logo\\logo.png"];
    MRender::DrawImageExact(&g, logo, Gdiplus::Rect(30, 30, Width(logo), Height(logo)), 0, 0,
                            Width(logo), Height(logo));
    Gdiplus::Image* tabItem = skins[L"img_tabitem_bkg.png"];
    const wchar_t* tabIcons[] = {
        L"icon\\tab_home.png", L"icon\\tab_key.png",   L"icon\\tab_dpi.png", L"icon\\tab_macro.png",
        L"icon\\tab_text.png", L"icon\\tab_light.png", L"icon\\tab_set.png"};
    const wchar_t* tabTexts[] = {L"Home",  L"Buttons",  L"Performance", L"Macros",
                                 L"Texts", L"Lighting", L"Settings"};
    for (int i = 0; i < 7; ++i) {
        const RECT tab{1, 120 + 60 * i, 191, 180 + 60 * i};
        const int column = i == 2 ? 2 : (i == 4 ? 1 : 0);
        if (column > 0) {
            DrawFrame(g, tabItem, 3, column, tab, 0);
        }
        Gdiplus::Image* icon = skins[tabIcons[i]];
        const Orvo::StripRect frame = Orvo::StripFrameRect(Width(icon), Height(icon), 3, column);
        MRender::DrawImageExact(&g, icon, Gdiplus::Rect(tab.left + 20, tab.top + 17, 26, 26),
                                frame.x, frame.y, frame.width, frame.height);
        g.Flush();
        Text(dc, fonts, RECT{tab.left + 70, tab.top, tab.right, tab.bottom}, tabTexts[i], 14,
             column == 2 ? kAccent : kWhite);
    }
    Text(dc, fonts, RECT{201, 10, kWidth - 120, 40}, L"Orvo gallery", 18, kWhite,
         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Text(dc, fonts, RECT{25, kHeight - 38, 190, kHeight - 12}, L"Version: v1.0.0", 12, kMuted);

    // Buttons in every state.
    RECT inner = Card(g, dc, skins, fonts, RECT{216, 64, 596, 196}, L"Buttons");
    const wchar_t* states[] = {L"Normal", L"Hot", L"Pressed", L"Disabled"};
    for (int i = 0; i < 4; ++i) {
        const RECT rect{inner.left + 88 * i, inner.top, inner.left + 88 * i + 80, inner.top + 30};
        DrawFrame(g, skins[L"img_button.png"], 4, i, rect, 8);
        g.Flush();
        Text(dc, fonts, rect, states[i], 14, i == 3 ? kMuted : kWhite,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (i == 3) {
            continue;  // the fourth place holds the icon buttons
        }
        const RECT toggle{rect.left, rect.top + 40, rect.left + 60, rect.top + 70};
        DrawFrame(g, skins[L"img_button2.png"], 4, i, toggle, 8);
        g.Flush();
        const wchar_t* keys[] = {L"Ctrl", L"Win", L"Alt", L"Shift"};
        Text(dc, fonts, toggle, keys[i], 14,
             i == 2   ? Orvo::ColorRef::FromRgb(5, 5, 5)
             : i == 3 ? kMuted
                      : kWhite,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    // Check boxes, radio boxes and switches: the eight states.
    inner = Card(g, dc, skins, fonts, RECT{608, 64, 984, 196}, L"Checks and switches");
    for (int i = 0; i < 8; ++i) {
        MRender::DrawImageStripFrame(&g, skins[L"btn_checkbox.png"], inner.left + 24 * i, inner.top,
                                     8, i);
        MRender::DrawImageStripFrame(&g, skins[L"btn_radiobox.png"], inner.left + 24 * i,
                                     inner.top + 26, 8, i);
    }
    for (int i = 0; i < 4; ++i) {
        if (i == 2) {
            continue;
        }
        MRender::DrawImageStripFrame(&g, skins[L"img_switch_btn_on.png"],
                                     inner.left + 200 + 50 * (i == 3 ? 2 : i), inner.top, 4, i);
        MRender::DrawImageStripFrame(&g, skins[L"img_switch_btn_off.png"],
                                     inner.left + 200 + 50 * (i == 3 ? 2 : i), inner.top + 28, 4,
                                     i);
    }
    g.Flush();
    Text(dc, fonts, RECT{inner.left + 28, inner.top + 54, inner.right, inner.top + 76},
         L"Start with Windows", 14, kWhite);

    // Edits, combo box and number fields.
    inner = Card(g, dc, skins, fonts, RECT{216, 208, 596, 330}, L"Edits and combo boxes");
    const RECT edit{inner.left, inner.top, inner.left + 170, inner.top + 30};
    DrawFrame(g, skins[L"img_edit.png"], 4, 2, edit, 10);
    Gdiplus::Image* combo = skins[L"img_combobox.png"];
    const RECT comboRect{inner.left + 180, inner.top, inner.left + 348, inner.top + 30};
    const Orvo::StripRect comboFrame = Orvo::StripFrameRect(Width(combo), Height(combo), 4, 1);
    MRender::DrawImageFrameMID(&g, combo, comboRect, comboFrame.x, comboFrame.y, comboFrame.width,
                               comboFrame.height, 6, 6, 32, 6);
    const RECT number{inner.left, inner.top + 40, inner.left + 110, inner.top + 70};
    DrawFrame(g, skins[L"img_edit.png"], 4, 0, number, 2);
    MRender::DrawImageStripFrame(&g, skins[L"img_btn_subtract.png"], number.left + 2,
                                 number.top + 8, 4, 0);
    MRender::DrawImageStripFrame(&g, skins[L"img_btn_addvalue.png"], number.right - 17,
                                 number.top + 8, 4, 1);
    MRender::DrawImageStripFrame(&g, skins[L"img_spin_up.png"], inner.left + 130, inner.top + 42, 4,
                                 0);
    MRender::DrawImageStripFrame(&g, skins[L"img_spin_down.png"], inner.left + 130, inner.top + 56,
                                 4, 1);
    MRender::DrawImageStripFrame(&g, skins[L"img_btn_value_up.png"], inner.left + 156,
                                 inner.top + 44, 4, 0);
    MRender::DrawImageStripFrame(&g, skins[L"img_btn_value_down.png"], inner.left + 156,
                                 inner.top + 56, 4, 0);
    g.Flush();
    Text(dc, fonts, RECT{edit.left + 10, edit.top, edit.right - 10, edit.bottom}, L"notepad.exe",
         14, kWhite);
    Text(dc, fonts,
         RECT{comboRect.left + 10, comboRect.top, comboRect.right - 34, comboRect.bottom},
         L"English", 14, kWhite);
    Text(dc, fonts, number, L"8", 14, kWhite, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Text(dc, fonts, RECT{inner.left + 180, inner.top + 40, inner.right, inner.top + 70},
         L"简体中文 鼠标设置 宏录制", 14, kCool, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
         kChineseFace);

    // Sliders, the DPI bar, the battery and a progress bar.
    inner = Card(g, dc, skins, fonts, RECT{608, 208, 984, 330}, L"Sliders and levels");
    const INT trackY = inner.top + 12;
    Gdiplus::Pen track(Gdiplus::Color(0xFF394451), 2);
    Gdiplus::Pen filled(Gdiplus::Color(Orvo::kAccentColor.Value()), 2);
    g.DrawLine(&track, static_cast<INT>(inner.left + 10), trackY,
               static_cast<INT>(inner.left + 200), trackY);
    g.DrawLine(&filled, static_cast<INT>(inner.left + 10), trackY,
               static_cast<INT>(inner.left + 130), trackY);
    MRender::DrawImageStripFrame(&g, skins[L"img_slider_bar.png"], inner.left + 120, trackY - 10, 4,
                                 0);
    Gdiplus::Image* dpiThumb = skins[L"img_dpi_bar.png"];
    for (int k = 0; k < 12; ++k) {
        const INT tickX = inner.left + 222 + 10 * k;
        g.DrawLine(&track, tickX, static_cast<INT>(inner.top), tickX,
                   static_cast<INT>(inner.top + 10));
    }
    MRender::DrawImageExact(
        &g, dpiThumb,
        Gdiplus::Rect(inner.left + 262, inner.top + 14, Width(dpiThumb), Height(dpiThumb)), 0, 0,
        Width(dpiThumb), Height(dpiThumb));
    Gdiplus::Image* batteryBack = skins[L"icon\\icon_battery_bkg.png"];
    Gdiplus::Image* batteryLevel = skins[L"icon\\icon_batteryvalue.png"];
    Gdiplus::Image* charge = skins[L"icon\\icon_charge.png"];
    const int bx = inner.left, by = inner.top + 40;
    MRender::DrawImageExact(&g, batteryBack,
                            Gdiplus::Rect(bx, by, Width(batteryBack), Height(batteryBack)), 0, 0,
                            Width(batteryBack), Height(batteryBack));
    const int segment = (Width(batteryLevel) - 6) / 5;
    for (int i = 0; i < 4; ++i) {
        MRender::DrawImageExact(
            &g, batteryLevel,
            Gdiplus::Rect(bx + 4 + i * (segment + 2), by, segment, Height(batteryLevel)),
            4 + i * (segment + 2) - (i == 3 ? 5 : 0), 0, segment, Height(batteryLevel));
    }
    MRender::DrawImageExact(
        &g, charge, Gdiplus::Rect(bx + Width(batteryBack) + 1, by, Width(charge), Height(charge)),
        0, 0, Width(charge), Height(charge));
    g.Flush();
    Text(dc, fonts, RECT{inner.left + 80, by, inner.right, by + 32}, L"Progress shows here", 12,
         kMuted, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    // Rows of a list with the function-type icons.
    inner = Card(g, dc, skins, fonts, RECT{216, 342, 596, 560}, L"Lists and icons");
    Gdiplus::Image* row = skins[L"img_list_bkg.png"];
    const wchar_t* keyIcons[] = {L"icon\\keytype_1.png", L"icon\\keytype_2.png",
                                 L"icon\\keytype_6.png", L"icon\\keytype_4.png"};
    const wchar_t* keyTexts[] = {L"Mouse function", L"Keyboard key", L"Multimedia", L"Macro"};
    for (int i = 0; i < 4; ++i) {
        const RECT line{inner.left, inner.top + 36 * i, inner.right, inner.top + 36 * i + 35};
        const bool active = i == 1;
        DrawFrame(g, row, 2, active ? 1 : 0, line, 0);
        Gdiplus::Image* icon = skins[keyIcons[i]];
        MRender::DrawImageStripFrame(&g, icon, line.left + 10, line.top + 4, 2, active ? 1 : 0);
        MRender::DrawImageStripFrame(&g, skins[L"btn_more.png"], line.right - 40, line.top + 6, 4,
                                     active ? 2 : 0);
        g.Flush();
        Text(dc, fonts, RECT{line.left + 50, line.top, line.right - 50, line.bottom}, keyTexts[i],
             14, active ? kAccent : kWhite);
    }

    // Shapes, gradients and a card with its computed drop shadow.
    inner = Card(g, dc, skins, fonts, RECT{608, 342, 984, 560}, L"Shapes, gradients, shadow");
    MRender::DrawGradient(dc, RECT{inner.left, inner.top, inner.left + 160, inner.top + 30},
                          Orvo::kAccentColor, Orvo::Argb(0xFF231C14), false, 64);
    MRender::DrawGradient(dc, RECT{inner.left, inner.top + 40, inner.left + 160, inner.top + 70},
                          Orvo::Argb(0x802BD576), Orvo::Argb(0x80212D3B), false, 64);
    MRender::DrawRoundRectange(&g, inner.left, inner.top + 80, 70, 70, 10, Orvo::Argb(0xFF231C14));
    MRender::DrawRoundRectange(&g, inner.left + 80, inner.top + 80, 80, 70, 10, Orvo::kAccentColor,
                               2, Orvo::Argb(0xFF212D3B));
    {
        const int cardWidth = 120, cardHeight = 80, size = 10;
        const std::vector<Orvo::ShadowSpan> outline =
            Orvo::MShadow::OutlineSpans(nullptr, cardWidth, cardHeight);
        Orvo::MemoryCanvas shadow(cardWidth + 2 * size, cardHeight + 2 * size);
        Orvo::MShadow::RenderComputedShadow(outline, cardWidth, cardHeight, size, 8, 190, 5, 5,
                                            Orvo::ColorRef(), shadow.Bits());
        const int sx = inner.left + 196, sy = inner.top + 20;
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        g.Flush();
        ::AlphaBlend(dc, sx + 5 - size, sy + 5 - size, shadow.Width(), shadow.Height(),
                     shadow.GetDC(), 0, 0, shadow.Width(), shadow.Height(), blend);
        MRender::DrawRoundRectange(&g, sx, sy, cardWidth, cardHeight, 0, Orvo::Argb(0xFF1C2027));
        g.Flush();
        Text(dc, fonts, RECT{sx, sy, sx + cardWidth, sy + cardHeight}, L"Shadow", 14, kWhite,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    // The tip bubble's pieces under the shadow card.
    Gdiplus::Image* tip = skins[L"img_tip_bk.png"];
    Gdiplus::Image* arrow = skins[L"img_tip_arrow_top.png"];
    const RECT bubble{806, 512, 966, 540};
    MRender::DrawImageFrame(&g, tip, bubble, 0, 0, Width(tip), Height(tip), 6);
    MRender::DrawImageExact(&g, arrow,
                            Gdiplus::Rect(bubble.left + 34, bubble.top - Height(arrow) + 1,
                                          Width(arrow), Height(arrow)),
                            0, 0, Width(arrow), Height(arrow));
    g.Flush();
    Text(dc, fonts, RECT{bubble.left + 8, bubble.top, bubble.right - 8, bubble.bottom},
         L"Click to pick this stage", 13, kWhite);

    // Status bar.
    MRender::DrawImageFrame(&g, caption, RECT{201, kHeight - 50, kWidth - 1, kHeight - 1}, 0, 0,
                            Width(caption), Height(caption), 4);
    g.Flush();
    Text(dc, fonts, RECT{201, kHeight - 38, kWidth - 20, kHeight - 12},
         L"Connected · 2.4 GHz · battery 80 %", 14, kCool, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace Gallery
