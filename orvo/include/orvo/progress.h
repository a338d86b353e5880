#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/img_res_info.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// A progress bar in one of three styles: foreground (and background) images drawn in three
// parts; a two-frame state image (empty, filled); or a thin line with an accent fill. While
// running it is an endless animation: every third animation tick the progress moves on by
// one and wraps to 0 at the maximum. It sends no notifications.
class ORVO_API MProgress : public MControlFont {
public:
    MProgress(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MProgress, MControlFont)

    // Only while enabled; a value above the maximum becomes the maximum, one below 0 is
    // ignored. Repaints on a change.
    void SetProgress(int progress);
    int GetProgress() const { return m_progress; }
    void SetMaxProgress(int maximum) { m_maximum = maximum; }
    int GetMaxProgress() const { return m_maximum; }
    // Only while enabled (otherwise the running flag is returned unchanged): starts or stops
    // the endless animation and takes progress when it lies in 0..maximum. Returns the
    // running flag.
    int SetRun(int run, int progress);
    int IsRun() const { return m_run; }
    void EnableShowText(int on);
    // One-frame images from the skin folder, or "PNG" resources of the application; true
    // when loaded.
    bool SetBackGroundImage(const wchar_t* fileName);
    bool SetBackGroundImage(UINT resourceId);
    bool SetForeGroundImage(const wchar_t* fileName);
    bool SetForeGroundImage(UINT resourceId);
    void SetLineColor(Argb colour) { m_lineColour = colour; }
    void SetFillColor(Argb colour) { m_fillColour = colour; }

    void DrawControl(HDC hdc, const RECT& rect) override;
    int OnControlTimer() override;

    static constexpr int kTicksPerStep = 3;
    static constexpr int kSideWidth = 12;
    static constexpr int kBarHeight = 14;

private:
    struct Picture {
        Gdiplus::Image* image = nullptr;  // not owned: the manager's image cache
        int width = 0;
        int height = 0;
    };
    bool LoadPicture(Picture& picture, ImgResInfo* info);
    void DrawThreeParts(Gdiplus::Graphics& graphics, const Picture& picture, int width,
                        int height) const;

    int m_progress = 0;
    int m_maximum = 100;
    int m_run = 0;
    int m_tickCount = 0;
    int m_showText = 0;
    Argb m_lineColour{0xFF333333};
    Argb m_fillColour;
    Picture m_background;
    Picture m_foreground;
};

// A row of level boxes, minimum..maximum, clicked to choose a level; a change sends 2 with
// the new level.
class ORVO_API MLevelCtrl : public MControlFont {
public:
    MLevelCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MLevelCtrl, MControlFont)

    // Clamped into the range; repaints on a change.
    void SetLevelValue(int level);
    int GetLevelValue() const { return m_level; }
    // No repaint.
    void SetRangeValue(int minimum, int maximum);
    void SetShowText(int on) { m_showText = on; }

    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    static constexpr int kBoxHeight = 12;

private:
    int m_level = 0;
    int m_minimum = 0;
    int m_maximum = 15;
    int m_showText = 1;
};

}  // namespace Orvo
