#include "app/config/light_page.h"

#include <algorithm>
#include <vector>

#include "app/config/dialogs.h"
#include "app/config/page_context.h"
#include "app/config/performance_page.h"
#include "app/device/job_queue.h"
#include "app/store/settings_database.h"

namespace tavik {

namespace {

namespace id = light_control;

constexpr int kRestoreTitle = 276;
constexpr int kRestoreMessage = 275;
// The mode without lights and the mode that shows the colour editor beside its slots.
constexpr int kLightOffMode = 0;
constexpr int kSingleColourMode = 3;
constexpr int kSettingsLeft = 230;
constexpr int kSettingsTop = 75;
constexpr int kSettingsWidth = 510;
constexpr int kSettingsHeightWithEditor = 650;
constexpr int kSettingsHeightWithBrightness = 420;
constexpr int kSettingsHeightBare = 210;
constexpr int kSlotCount = 8;

int Scaled(int pixels, double scale) {
    return static_cast<int>(pixels * scale);
}

std::uint32_t Components(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

}  // namespace

LightPage::LightPage(PageContext& context, LightView& view, Dialogs& dialogs)
    : m_context(context), m_view(view), m_dialogs(dialogs) {}

void LightPage::EnsureDefaultLights() {
    m_context.Store().EnsureDefaultLights(m_context.CurrentProfile());
}

void LightPage::RefreshLightPage() {
    EnsureDefaultLights();
    ComboControl& modes = m_view.Modes();
    modes.DelAllItems();
    std::vector<LightRecord> lights;
    m_context.Store().ListLights(m_context.CurrentProfile(), lights);
    for (const LightRecord& light : lights) {
        modes.AddItem(m_context.Text(light.reserved), light.mode);
    }
    modes.SelectData(m_context.Store().GetActiveLightMode(m_context.CurrentProfile()));
    ShowLightMode();
}

int LightPage::ActiveMode() {
    return m_view.Modes().GetCurData();
}

void LightPage::ShowLightMode() {
    const int profile = m_context.CurrentProfile();
    const int mode = ActiveMode();
    LightRecord record;
    if (!m_context.Store().GetLight(profile, mode, record)) {
        return;
    }
    m_context.Store().SetActiveLightMode(profile, mode);
    m_configFunc = record.configFunc;

    SliderControl& brightness = m_view.Slider(id::kBrightness);
    const bool showsBrightness = (record.configFunc & kLightShowsBrightness) != 0;
    brightness.SetVisible(showsBrightness);
    if (showsBrightness) {
        brightness.SetProgress(record.brightness);
    }
    m_view.Button(id::kCloseLight).SetVisible(mode != kLightOffMode);

    SliderControl& speed = m_view.Slider(id::kSpeed);
    const bool showsSpeed = (record.configFunc & kLightShowsSpeed) != 0;
    speed.SetVisible(showsSpeed);
    if (showsSpeed) {
        speed.SetProgress(record.speed);
    }

    const bool showsSlots = (record.configFunc & kLightShowsColourSlots) != 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        ButtonControl& button = m_view.Button(id::kFirstSlot + slot);
        button.SetVisible(showsSlots);
        if (showsSlots) {
            button.SetColor(static_cast<std::uint32_t>(record.colorValues[slot]));
            button.SetCheck(record.colorful != 1 && record.colorIndex == slot);
        }
    }
    ButtonControl& multicolour = m_view.Button(id::kMulticolour);
    multicolour.SetVisible(showsSlots && mode != kSingleColourMode);
    if (showsSlots) {
        multicolour.SetCheck(record.colorful == 1);
    }
    ShowSettingsArea(record);
}

void LightPage::ShowSettingsArea(const LightRecord& record) {
    const double scale = m_context.ScaleFactor();
    const int width = Scaled(kSettingsWidth, scale);
    if ((record.configFunc & kLightShowsColourEditor) != 0) {
        m_view.SetSettingsArea(kSettingsLeft, kSettingsTop, width,
                               Scaled(kSettingsHeightWithEditor, scale));
        m_view.ShowColourEditor(record.mode == kSingleColourMode || record.colorful != 1);
        return;
    }
    const bool brightness = (record.configFunc & kLightShowsBrightness) != 0;
    m_view.SetSettingsArea(
        kSettingsLeft, kSettingsTop, width,
        Scaled(brightness ? kSettingsHeightWithBrightness : kSettingsHeightBare, scale));
    m_view.ShowColourEditor(false);
}

void LightPage::ApplyLightColour(std::uint32_t colour) {
    colour &= 0xFFFFFF;
    m_view.Colour(id::kPreview).SetColor(colour);
    LightRecord record;
    if (!m_context.Store().GetLight(m_context.CurrentProfile(), ActiveMode(), record)) {
        return;
    }
    record.colorValues[0] = static_cast<int>(colour);
    if ((record.configFunc & kLightShowsColourSlots) != 0) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            ButtonControl& button = m_view.Button(id::kFirstSlot + slot);
            if (button.GetCheck()) {
                button.SetColor(colour);
            }
        }
        for (int slot = 0; slot < kSlotCount; ++slot) {
            record.colorValues[slot] =
                static_cast<int>(m_view.Button(id::kFirstSlot + slot).GetColor() & 0xFFFFFF);
        }
    }
    m_context.Store().UpdateLight(record.mode, record);
    m_context.QueueJob(job::kSendLight);
}

void LightPage::OnControlNotify(int controlId, int code) {
    if (controlId >= id::kRed && controlId <= id::kBlue) {
        if (code == notify_code::kEditTextChanged) {
            OnColourField(controlId);
        }
        return;
    }
    if (controlId == id::kPalette) {
        for (int preset = id::kFirstPreset; preset <= id::kLastPreset; ++preset) {
            m_view.Button(preset).SetCheck(false);
        }
        const std::uint32_t colour = m_view.Colour(id::kPalette).GetColor() & 0xFFFFFF;
        ShowComponents(colour);
        ApplyLightColour(colour);
        return;
    }
    if (code != notify_code::kClicked) {
        return;
    }
    if (controlId >= id::kFirstSlot && controlId <= id::kMulticolour) {
        OnSlotChosen(controlId);
        return;
    }
    if (controlId >= id::kFirstPreset && controlId <= id::kLastPreset) {
        const std::uint32_t colour = m_view.Button(controlId).GetColor() & 0xFFFFFF;
        ShowComponents(colour);
        ApplyLightColour(colour);
        return;
    }
    switch (controlId) {
        case id::kModes:
            ShowLightMode();
            m_context.QueueJob(job::kSendLight);
            break;
        case id::kBrightness:
        case id::kSpeed:
            OnSliderReleased(controlId);
            break;
        case id::kRestore:
            RestoreLighting();
            break;
        case id::kCloseLight:
            m_context.SetConfig(L"move_closelight",
                                m_view.Button(id::kCloseLight).GetCheck() ? L"0" : L"1");
            m_context.QueueJob(job::kSendMoveCloseLight);
            break;
        default:
            break;
    }
}

void LightPage::OnSliderReleased(int controlId) {
    LightRecord record;
    if (!m_context.Store().GetLight(m_context.CurrentProfile(), ActiveMode(), record)) {
        return;
    }
    const int value = std::clamp(m_view.Slider(controlId).GetProgress(), 1, 255);
    (controlId == id::kBrightness ? record.brightness : record.speed) = value;
    m_context.Store().UpdateLight(record.mode, record);
    m_context.QueueJob(job::kSendLight);
}

void LightPage::OnSlotChosen(int controlId) {
    LightRecord record;
    if (!m_context.Store().GetLight(m_context.CurrentProfile(), ActiveMode(), record)) {
        return;
    }
    if (controlId == id::kMulticolour) {
        record.colorful = 1;
        m_view.ShowColourEditor(false);
    } else {
        record.colorful = 0;
        record.colorIndex = controlId - id::kFirstSlot;
        m_view.ShowColourEditor((record.configFunc & kLightShowsColourEditor) != 0);
    }
    // The slot buttons form one group: only the chosen one stays checked.
    for (int slot = id::kFirstSlot; slot <= id::kMulticolour; ++slot) {
        m_view.Button(slot).SetCheck(slot == controlId);
    }
    m_context.Store().UpdateLight(record.mode, record);
    m_context.QueueJob(job::kSendLight);
}

void LightPage::OnColourField(int controlId) {
    TextControl& field = m_view.Text(controlId);
    const std::wstring text = field.GetText();
    const int value = std::clamp(ReadDecimal(text), 0, 255);
    if (DecimalText(value) != text) {
        field.SetText(DecimalText(value));
    }
    const auto component = [this](int control) {
        return std::clamp(ReadDecimal(m_view.Text(control).GetText()), 0, 255);
    };
    ApplyLightColour(Components(component(id::kRed), component(id::kGreen), component(id::kBlue)));
}

void LightPage::ShowComponents(std::uint32_t colour) {
    m_view.Text(id::kRed).SetText(DecimalText(static_cast<int>(colour & 0xFF)));
    m_view.Text(id::kGreen).SetText(DecimalText(static_cast<int>((colour >> 8) & 0xFF)));
    m_view.Text(id::kBlue).SetText(DecimalText(static_cast<int>((colour >> 16) & 0xFF)));
}

void LightPage::RestoreLighting() {
    if (m_dialogs.Confirm(kRestoreTitle, kRestoreMessage, kMessageStyleTwoAnswers) ==
        kAnswerDeclined) {
        return;
    }
    const int profile = m_context.CurrentProfile();
    m_context.Store().DeleteProfileLights(profile);
    EnsureDefaultLights();
    RefreshLightPage();
    m_context.QueueJob(job::kSendLight);
    m_view.Button(id::kCloseLight).SetCheck(false);
    m_context.SetConfig(L"move_closelight", L"1");
    m_context.QueueJob(job::kSendMoveCloseLight);
}

}  // namespace tavik
