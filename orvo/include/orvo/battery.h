#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <mutex>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/img_res_info.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// Pictures of a 5-segment battery gauge: the level image the segments are copied from and
// the charging mark.
struct BatteryIcons {
    Gdiplus::Image* level = nullptr;     // not owned: the manager's image cache
    Gdiplus::Image* charging = nullptr;  // not owned: the manager's image cache
    int levelWidth = 0;
    int levelHeight = 0;
    int chargingWidth = 0;
    int chargingHeight = 0;

    bool IsSet() const { return level != nullptr && charging != nullptr; }
    // Loads both from the skin folder; false (changing nothing) when either is missing.
    bool Load(PaintManager* manager, const wchar_t* levelFile, const wchar_t* chargingFile);
};

// A stand-alone battery gauge with a charging mark: its background picture (the control's
// own image), up to five segments by level, a red mark below 25 %. While charging the
// segments fill up one step per window-timer tick. SetBatteryInfo may be called from the
// device worker.
class ORVO_API BatteryCtrl : public MControlFont {
public:
    BatteryCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ~BatteryCtrl() override;
    ORVO_DECLARE_CONTROL(BatteryCtrl, MControlFont)

    // Any thread: stores level (percent) and charging (1 = charging) and asks for a repaint
    // when either changed.
    void SetBatteryInfo(int level, int charging);
    int GetBatteryLevel() const;
    int GetCharging() const;
    // The level image and the charging mark from the skin folder.
    int SetBatteryIcon(const wchar_t* levelFile, const wchar_t* chargingFile);
    // The background picture, drawn at its own size (the count is ignored).
    int SetImage(const wchar_t* fileName, int count) override;
    using MControlFont::SetImage;

    // Segments the gauge shows now (the charging animation's step included).
    int GetShownSegments() const;
    int GetChargePhase() const { return m_chargePhase; }
    bool IsAnimating() const { return m_animating; }

    void DrawControl(HDC hdc, const RECT& rect) override;
    int OnControlTimer() override;

    // The window timer of the charging animation.
    static constexpr UINT kChargeTimerKey = 1;
    static constexpr UINT kChargeStepMs = 500;

private:
    void StartAnimation();
    void StopAnimation();

    mutable std::mutex m_itemLock;  // guards m_level, m_charging
    int m_level = 100;
    int m_charging = 0;
    BatteryIcons m_icons;
    int m_chargePhase = 0;
    bool m_animating = false;
};

// A label over a stretched picture.
class ORVO_API CDeviceState : public MControlFont {
public:
    CDeviceState(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                 int enabled);
    ORVO_DECLARE_CONTROL(CDeviceState, MControlFont)

    void SetControlTitle(const wchar_t* text) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
};

// A device button: a picture with a caption, pressed and released like a button while a
// device is there (status not 0). Sends 1 on a press inside and 2 on a release inside.
class ORVO_API CDeviceCtrl : public MControlFont {
public:
    CDeviceCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ~CDeviceCtrl() override;
    ORVO_DECLARE_CONTROL(CDeviceCtrl, MControlFont)

    // The picture from the path as given (not the skin folder); frame width = width / count.
    int SetImage(const wchar_t* path, int count) override;
    using MControlFont::SetImage;
    void SetBackColor(Argb colour) { m_backColour = colour; }
    void SetDeviceStatus(int status);
    int GetDeviceStatus() const { return m_status; }
    void SetShowMode(int mode);
    int GetShowMode() const { return m_showMode; }
    // 0 normal, 1 hovered, 2 pressed.
    int GetMouseState() const { return m_mouseState; }

    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    static constexpr int kCaptionHeight = 30;

private:
    bool TakesInput() const { return m_enabled && m_status != 0; }
    void SetMouseState(int state);

    std::unique_ptr<Gdiplus::Image> m_picture;
    int m_pictureFrames = 1;
    int m_pictureFrameWidth = 0;
    int m_pictureHeight = 0;
    Argb m_backColour{0x3CFFFFFF};
    int m_status = 0;
    int m_showMode = 0;
    int m_mouseState = 0;
};

}  // namespace Orvo
