#include "orvo/color_palette.h"

#include <cwchar>

#include "orvo/buttons.h"
#include "orvo/edit.h"
#include "orvo/palette.h"
#include "orvo/spin_button.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(CColorPalette);

namespace {

// Red, blue, green, yellow, magenta, cyan, orange and white, as COLORREF (red low).
constexpr ColorRef kPresets[] = {
    ColorRef(0x0000FF), ColorRef(0xFF0000), ColorRef(0x00FF00), ColorRef(0x00FFFF),
    ColorRef(0xFF00FF), ColorRef(0xFFFF00), ColorRef(0x0080FF), ColorRef(0xFFFFFF),
};

constexpr const wchar_t* kChannelLabels[] = {L"R:", L"G:", L"B:"};
constexpr UINT kSyncAll = 0;

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

}  // namespace

CColorPalette::CColorPalette(MObject* parent, UINT id, const RECT& rect, int visible)
    : MPanel(parent, id, rect, visible) {}

std::wstring CColorPalette::FormatHex(ColorRef colour) {
    // Two digits a channel, so that the text reads back as the same colour.
    wchar_t text[8] = {};
    const uint32_t value = colour.Value();
    std::swprintf(text, 8, L"%02x%02x%02x", value & 0xFFu, (value >> 8) & 0xFFu,
                  (value >> 16) & 0xFFu);
    return text;
}

bool CColorPalette::ParseHex(const std::wstring& text, ColorRef& colour) {
    const size_t start = !text.empty() && text[0] == L'#' ? 1 : 0;
    if (text.size() != start + 6) {
        return false;
    }
    uint32_t channels[3] = {};
    for (size_t i = 0; i < 6; ++i) {
        const int digit = HexDigit(text[start + i]);
        if (digit < 0) {
            return false;
        }
        channels[i / 2] = channels[i / 2] * 16 + static_cast<uint32_t>(digit);
    }
    colour = ColorRef(channels[0] | (channels[1] << 8) | (channels[2] << 16));
    return true;
}

void CColorPalette::InitControl(PaintManager* manager) {
    MPanel::InitControl(manager);
    if (manager == nullptr || m_palette != nullptr) {
        return;
    }
    const int left = m_rect.left;
    const int top = m_rect.top;
    m_palette = dynamic_cast<MPalette*>(
        CreateControl(L"MPalette", kPaletteId,
                      CRect(left, top, left + kPaletteWidth, top + kPaletteHeight), L"", 1, 1));
    if (m_palette != nullptr) {
        m_palette->SetThumbImage(L"img_palette_thumb.png");
    }
    const int swatchTop = top + kPaletteHeight + 10;
    for (size_t i = 0; i < sizeof(kPresets) / sizeof(kPresets[0]); ++i) {
        const int x = left + static_cast<int>(i) * kSwatchStep;
        if (x + kSwatchSize > m_rect.right) {
            break;
        }
        auto* swatch = dynamic_cast<CColorButton*>(CreateControl(
            L"CColorButton", kFirstSwatchId + static_cast<UINT>(i),
            CRect(x, swatchTop, x + kSwatchSize, swatchTop + kSwatchSize), L"", 1, 1));
        if (swatch == nullptr) {
            break;
        }
        swatch->SetGroupName(kGroup);
        swatch->SetColor(kPresets[i]);
        m_swatches.push_back(swatch);
    }
    const int labelLeft = left + kFieldLeft;
    const int fieldLeft = labelLeft + 24;
    for (UINT i = 0; i < 3; ++i) {
        const int y = top + static_cast<int>(i) * kFieldStep;
        CreateControl(L"MText", kFirstLabelId + i, CRect(labelLeft, y, fieldLeft, y + kFieldHeight),
                      kChannelLabels[i], 1, 1);
        m_channels[i] = dynamic_cast<MSpinButton*>(CreateControl(
            L"MSpinButton", kFirstChannelId + i,
            CRect(fieldLeft, y, fieldLeft + kFieldWidth, y + kFieldHeight), L"", 1, 1));
        if (m_channels[i] != nullptr) {
            m_channels[i]->SetRange(0, 255);
        }
    }
    const int hexTop = top + 3 * kFieldStep;
    CreateControl(L"MText", kFirstLabelId + 3,
                  CRect(labelLeft, hexTop, fieldLeft, hexTop + kFieldHeight), L"#", 1, 1);
    m_hex = dynamic_cast<MEdit*>(CreateControl(
        L"MEdit", kHexId, CRect(fieldLeft, hexTop, fieldLeft + kFieldWidth, hexTop + kFieldHeight),
        L"", 1, 1));
    UpdateControlEx();
}

void CColorPalette::SetSelectColor(ColorRef colour) {
    m_colour = colour;
    UpdateControlEx();
}

void CColorPalette::UpdateControlEx() {
    Sync(kSyncAll);
}

void CColorPalette::Sync(UINT source) {
    if (m_palette != nullptr && source != kPaletteId) {
        m_palette->SetSelectColor(m_colour);
    }
    const uint32_t value = m_colour.Value();
    for (UINT i = 0; i < 3; ++i) {
        if (m_channels[i] != nullptr) {
            m_channels[i]->SetCurValue(static_cast<int>((value >> (8 * i)) & 0xFFu));
        }
    }
    if (m_hex != nullptr && source != kHexId) {
        m_hex->SetControlTitle(FormatHex(m_colour).c_str());
    }
    for (CColorButton* swatch : m_swatches) {
        swatch->SetControlCheck(swatch->GetColor() == m_colour ? 1 : 0);
    }
    UpdateControl(TRUE);
}

void CColorPalette::Pick(ColorRef colour, UINT source) {
    m_colour = colour;
    Sync(source);
    SendMessageW(kNotifyColorPicked, 0, static_cast<LPARAM>(m_colour.Value()));
}

long CColorPalette::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (controlId == kPaletteId && code == kNotifyColorPicked && m_palette != nullptr) {
        Pick(m_palette->GetSelectColor(), kPaletteId);
        return 1;
    }
    const size_t swatch = controlId - kFirstSwatchId;
    if (code == kNotifyClicked && controlId >= kFirstSwatchId && swatch < m_swatches.size()) {
        Pick(m_swatches[swatch]->GetColor(), controlId);
        return 1;
    }
    if (code == kNotifySpinChanged && controlId >= kFirstChannelId &&
        controlId < kFirstChannelId + 3) {
        uint32_t value = 0;
        for (UINT i = 0; i < 3; ++i) {
            const int channel = m_channels[i] != nullptr ? m_channels[i]->GetCurValue() : 0;
            value |= static_cast<uint32_t>(channel & 0xFF) << (8 * i);
        }
        Pick(ColorRef(value), controlId);
        return 1;
    }
    if (controlId == kHexId && code == kNotifyEditClosed && m_hex != nullptr) {
        ColorRef typed;
        if (ParseHex(m_hex->GetTitleEx(), typed)) {
            Pick(typed, kSyncAll);
        } else {
            // What is no colour gives way to the colour shown.
            m_hex->SetControlTitle(FormatHex(m_colour).c_str());
        }
        return 1;
    }
    return MPanel::OnMessage(controlId, code, wParam, lParam);
}

}  // namespace Orvo
