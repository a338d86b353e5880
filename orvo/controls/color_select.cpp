#include "orvo/color_select.h"

#include "orvo/buttons.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(CColorSelect);

namespace {

// Red, orange, yellow, green, cyan, blue, magenta and white, as COLORREF (red low).
constexpr ColorRef kPresets[] = {
    ColorRef(0x0000FF), ColorRef(0x0080FF), ColorRef(0x00FFFF), ColorRef(0x00FF00),
    ColorRef(0xFFFF00), ColorRef(0xFF0000), ColorRef(0xFF00FF), ColorRef(0xFFFFFF),
};

}  // namespace

CColorSelect::CColorSelect(MObject* parent, UINT id, const RECT& rect, int visible)
    : MPanel(parent, id, rect, visible), m_colour(kPresets[0]) {}

void CColorSelect::InitControl(PaintManager* manager) {
    MPanel::InitControl(manager);
    if (manager == nullptr || !m_swatches.empty()) {
        return;
    }
    const int top = m_rect.top + (m_rect.Height() - kSwatchSize) / 2;
    for (size_t i = 0; i < sizeof(kPresets) / sizeof(kPresets[0]); ++i) {
        const int left = m_rect.left + static_cast<int>(i) * kSwatchStep;
        if (left + kSwatchSize > m_rect.right) {
            break;
        }
        auto* swatch = dynamic_cast<CColorButton*>(
            CreateControl(L"CColorButton", kFirstSwatchId + static_cast<UINT>(i),
                          CRect(left, top, left + kSwatchSize, top + kSwatchSize), L"", 1, 1));
        if (swatch == nullptr) {
            break;
        }
        swatch->SetGroupName(kGroup);
        swatch->SetColor(kPresets[i]);
        m_swatches.push_back(swatch);
    }
    SetSelectColor(m_colour);
}

void CColorSelect::CheckOnly(int index) {
    m_index = index;
    for (size_t i = 0; i < m_swatches.size(); ++i) {
        m_swatches[i]->SetControlCheck(static_cast<int>(i) == index ? 1 : 0);
    }
}

void CColorSelect::SetColorIndex(int index) {
    if (index < 0 || index >= static_cast<int>(m_swatches.size())) {
        CheckOnly(-1);
        return;
    }
    m_colour = m_swatches[static_cast<size_t>(index)]->GetColor();
    CheckOnly(index);
}

void CColorSelect::SetSelectColor(ColorRef colour) {
    m_colour = colour;
    int found = -1;
    for (size_t i = 0; i < m_swatches.size(); ++i) {
        if (m_swatches[i]->GetColor() == colour) {
            found = static_cast<int>(i);
            break;
        }
    }
    CheckOnly(found);
}

long CColorSelect::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(controlId) - static_cast<int>(kFirstSwatchId);
    if (code == kNotifyClicked && index >= 0 && index < static_cast<int>(m_swatches.size())) {
        SetColorIndex(index);
        return SendMessageW(kNotifyColorPicked, static_cast<WPARAM>(index),
                            static_cast<LPARAM>(m_colour.Value()));
    }
    return MPanel::OnMessage(controlId, code, wParam, lParam);
}

}  // namespace Orvo
