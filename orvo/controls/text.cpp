#include "orvo/text.h"

#include <gdiplus.h>

#include "orvo/render.h"
#include "text_format.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MText);

MText::MText(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible)
    : MControlFont(parent, id, rect, title, visible, 0, 0) {}

void MText::EnableMultiLine(int on) {
    const int multiLine = on ? 1 : 0;
    if (multiLine != m_multiLine) {
        m_multiLine = multiLine;
        UpdateControl(TRUE);
    }
}

void MText::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    if (!m_cacheValid) {
        HDC cache = UpdateMemDC(hdc, width, height);
        if (cache == nullptr) {
            return;
        }
        ::BitBlt(cache, 0, 0, width, height, hdc, m_rect.left, m_rect.top, SRCCOPY);
        if (!m_title.empty()) {
            Gdiplus::Graphics graphics(cache);
            DrawControlText(graphics, *this, m_title,
                            Gdiplus::RectF(0.0f, 0.0f, static_cast<Gdiplus::REAL>(width),
                                           static_cast<Gdiplus::REAL>(height)),
                            m_textColor, m_multiLine != 0);
        }
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, 0, SRCCOPY);
}

}  // namespace Orvo
