#pragma once

#include <windows.h>

#include <vector>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"

namespace Orvo {

class CColorButton;

// A row of preset colour swatches (colour buttons of one check group). A click on a swatch
// selects its colour and sends 27 with wParam = the swatch's index and lParam = the colour.
class ORVO_API CColorSelect : public MPanel {
public:
    CColorSelect(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(CColorSelect, MPanel)

    // Checks swatch `index` and selects its colour; an index out of range checks none.
    void SetColorIndex(int index);
    int GetColorIndex() const { return m_index; }
    // The selected colour; the swatch of that colour, if there is one, is checked.
    void SetSelectColor(ColorRef colour);
    ColorRef GetSelectColor() const { return m_colour; }
    int GetSwatchCount() const { return static_cast<int>(m_swatches.size()); }

    void InitControl(PaintManager* manager) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;

    static constexpr wchar_t kGroup[] = L"clr_palette_group";
    static constexpr UINT kFirstSwatchId = 100;
    static constexpr int kSwatchSize = 26;
    static constexpr int kSwatchStep = 35;

private:
    void CheckOnly(int index);

    std::vector<CColorButton*> m_swatches;  // not owned: sub-controls of the panel
    int m_index = -1;
    ColorRef m_colour;
};

}  // namespace Orvo
