#include "app/config/palette_dialog.h"

#include <algorithm>

#include "app/config/page_context.h"
#include "app/config/performance_page.h"

namespace tavik {

namespace id = palette_control;

const std::uint32_t kPalettePresets[8] = {255,      16711680, 65280,    65535,
                                          16711935, 16776960, 16711935, 16777215};

MousePaletteDialogLogic::MousePaletteDialogLogic(PaletteDialogView& view, std::uint32_t initial)
    : m_view(view), m_result(initial & 0xFFFFFF) {}

void MousePaletteDialogLogic::InitUI() {
    Follow(m_result, true);
}

void MousePaletteDialogLogic::OnControlNotify(int controlId, int code) {
    if (controlId == id::kPalette && code == notify_code::kPaletteColourPicked) {
        Follow(m_view.Palette().GetColor() & 0xFFFFFF, false);
        return;
    }
    if (controlId >= id::kRed && controlId <= id::kBlue && code == notify_code::kEditTextChanged) {
        TextControl& field = m_view.Field(controlId);
        const std::wstring text = field.GetText();
        const int value = std::clamp(ReadDecimal(text), 0, 255);
        if (DecimalText(value) != text) {
            field.SetText(DecimalText(value));
        }
        const auto component = [this](int control) {
            return static_cast<std::uint32_t>(
                std::clamp(ReadDecimal(m_view.Field(control).GetText()), 0, 255));
        };
        m_result = component(id::kRed) | component(id::kGreen) << 8 | component(id::kBlue) << 16;
        m_view.Palette().SetColor(m_result);
        m_view.Preview().SetColor(m_result);
        return;
    }
    if (code != notify_code::kClicked) {
        return;
    }
    if (controlId >= id::kFirstPreset && controlId <= id::kLastPreset) {
        Follow(kPalettePresets[controlId - id::kFirstPreset], true);
    } else if (controlId == id::kOk) {
        m_accepted = true;
        m_view.Close(true);
    } else if (controlId == id::kClose) {
        m_accepted = false;
        m_view.Close(false);
    }
}

std::optional<std::uint32_t> MousePaletteDialogLogic::ChosenColour() const {
    if (!m_accepted) {
        return std::nullopt;
    }
    return m_result;
}

void MousePaletteDialogLogic::Follow(std::uint32_t colour, bool movePalette) {
    m_result = colour;
    if (movePalette) {
        m_view.Palette().SetColor(colour);
    }
    m_view.Field(id::kRed).SetText(DecimalText(static_cast<int>(colour & 0xFF)));
    m_view.Field(id::kGreen).SetText(DecimalText(static_cast<int>((colour >> 8) & 0xFF)));
    m_view.Field(id::kBlue).SetText(DecimalText(static_cast<int>((colour >> 16) & 0xFF)));
    m_view.Preview().SetColor(colour);
}

}  // namespace tavik
