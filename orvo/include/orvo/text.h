#pragma once

#include <windows.h>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// A static label: its title drawn with the control's font, colour and alignments, on one
// line or wrapped. It takes no mouse input and is created disabled.
class ORVO_API MText : public MControlFont {
public:
    MText(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible);
    ORVO_DECLARE_CONTROL(MText, MControlFont)

    void DrawControl(HDC hdc, const RECT& rect) override;
    void EnableMultiLine(int on);
    int IsMultiLine() const { return m_multiLine; }

private:
    int m_multiLine = 0;
};

}  // namespace Orvo
