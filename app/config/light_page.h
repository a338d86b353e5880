#pragma once

#include <cstdint>

#include "app/config/control_views.h"
#include "app/store/store_records.h"

namespace tavik {

class Dialogs;
class PageContext;

// Control ids of the light page.
namespace light_control {
constexpr int kModes = 178;
constexpr int kCloseLight = 179;
constexpr int kRestore = 183;
constexpr int kBrightness = 186;
constexpr int kSpeed = 189;
constexpr int kFirstPreset = 191;
constexpr int kLastPreset = 198;
constexpr int kFirstSlot = 200;
constexpr int kLastSlot = 207;
constexpr int kMulticolour = 208;
constexpr int kPalette = 210;
constexpr int kPreview = 211;
constexpr int kRed = 215;
constexpr int kGreen = 216;
constexpr int kBlue = 217;
}  // namespace light_control

// Capability bits of a light mode (config_func): what the page shows for it.
constexpr int kLightShowsBrightness = 0x0001;
constexpr int kLightShowsSpeed = 0x0002;
constexpr int kLightShowsColourEditor = 0x0010;
constexpr int kLightShowsColourSlots = 0x0800;

// The controls of the light page.
class LightView {
public:
    virtual ~LightView() = default;
    virtual ComboControl& Modes() = 0;  // 178
    // The check box 179 and the colour buttons 191 … 198 and 200 … 208.
    virtual ButtonControl& Button(int controlId) = 0;
    // The brightness and speed sliders 186 and 189; hiding one hides its labels too.
    virtual SliderControl& Slider(int controlId) = 0;
    virtual ColourControl& Colour(int controlId) = 0;  // 210 palette, 211 preview
    virtual TextControl& Text(int controlId) = 0;      // 215, 216, 217
    // The settings area of the page, in window pixels.
    virtual void SetSettingsArea(int left, int top, int width, int height) = 0;
    // The colour editor: palette, R/G/B fields and preview with their labels.
    virtual void ShowColourEditor(bool visible) = 0;
};

// The light page: one record per light mode and profile, the active mode marked; every
// change is stored at once and the active mode sent with job 9.
class LightPage {
public:
    LightPage(PageContext& context, LightView& view, Dialogs& dialogs);

    // Adds the four default modes when the current profile has no light records.
    void EnsureDefaultLights();
    void RefreshLightPage();
    // Shows the mode chosen in the mode list and makes it the active one.
    void ShowLightMode();
    // Stores a colour into the active mode.
    void ApplyLightColour(std::uint32_t colour);
    void OnControlNotify(int controlId, int code);

    void RestoreLighting();

private:
    int ActiveMode();
    void OnSliderReleased(int controlId);
    void OnSlotChosen(int controlId);
    void OnColourField(int controlId);
    void ShowComponents(std::uint32_t colour);
    void ShowSettingsArea(const LightRecord& record);

    PageContext& m_context;  // not owned
    LightView& m_view;       // not owned
    Dialogs& m_dialogs;      // not owned
    int m_configFunc = 0;    // capability bits of the mode shown
};

}  // namespace tavik
