#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "orvo/geometry.h"
#include "orvo/orvo_api.h"
#include "orvo/window.h"

namespace Orvo {

// The tip bubble a paint manager shows next to a control: a small layered popup with white
// text on the skin's bubble background, placed around an anchor point on the screen. Unless
// its kind is 4 it hides itself five seconds after its text was set.
class ORVO_API MAirBladder : public MWindow {
public:
    MAirBladder();
    ~MAirBladder() override;

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Placement: 1 right of the anchor, 2 left of it, 3 below, 4 above and centred, 5 beside
    // and raised. Unchanged text, point, kind and placement only return 1 (the hide timer is
    // not restarted).
    int SetAirBladderMsg(const wchar_t* text, POINT point, int kind, int placement);
    bool LoadBKImage(const wchar_t* fileName);
    bool LoadBKImage(UINT resourceId, const wchar_t* resourceType);
    bool LoadArrowLImage(const wchar_t* fileName);
    bool LoadArrowLImage(UINT resourceId, const wchar_t* resourceType);
    bool LoadArrowRImage(const wchar_t* fileName);
    bool LoadArrowRImage(UINT resourceId, const wchar_t* resourceType);
    bool LoadArrowTImage(const wchar_t* fileName);
    bool LoadArrowTImage(UINT resourceId, const wchar_t* resourceType);
    // Mode 1 draws the background as a nine-patch with corner `value` (the default, 6).
    void SetBackMode(int mode, int value);

    const std::wstring& GetText() const { return m_text; }
    POINT GetAnchor() const { return m_anchor; }
    int GetKind() const { return m_kind; }
    int GetPlacement() const { return m_placement; }
    int GetLineCount() const { return m_lines; }
    // The window rectangle the last layout chose (screen coordinates).
    const CRect& GetBubbleRect() const { return m_bubbleRect; }
    // How often the five-second hide timer was started.
    int GetHideTimerStarts() const { return m_hideTimerStarts; }

    static constexpr UINT_PTR kHideTimerId = 10;
    static constexpr UINT kHideAfterMs = 5000;
    static constexpr int kFontPixels = 14;

private:
    // Measures the text and moves the window around the anchor.
    void AutoFit();
    void Paint();
    Gdiplus::FontFamily* LoadTempFont();

    std::wstring m_text;
    POINT m_anchor = {0, 0};
    int m_kind = 1;
    int m_placement = 3;
    int m_lines = 1;
    CRect m_bubbleRect;
    int m_backMode = 1;
    int m_corner = 6;
    int m_hideTimerStarts = 0;
    std::unique_ptr<Gdiplus::Image> m_background;
    std::unique_ptr<Gdiplus::Image> m_arrowLeft;
    std::unique_ptr<Gdiplus::Image> m_arrowRight;
    std::unique_ptr<Gdiplus::Image> m_arrowTop;
    std::unique_ptr<Gdiplus::PrivateFontCollection> m_fonts;
    std::unique_ptr<Gdiplus::FontFamily> m_family;
};

}  // namespace Orvo
