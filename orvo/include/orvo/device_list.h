#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/battery.h"
#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"

namespace Orvo {

// The connected devices (the mouse, or mouse and receiver) as large cards side by side,
// each with its picture, a 5-segment battery, a connection-mode box and its name. A click
// on a connected device's card selects it and sends 2.
//
// The device engine calls the item setters from its worker thread: records are read and
// changed only under the list's item lock, and the repaint a setter asks for is run by the
// window's thread, which alone lays the cards out and paints them.
class ORVO_API CDeviceList : public MPanel {
public:
    CDeviceList(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ~CDeviceList() override;
    ORVO_DECLARE_CONTROL(CDeviceList, MPanel)

    // A new record (not connected, wired, 100 %, not charging); its picture is loaded from
    // the path as given. Returns its index.
    int AddDevice(const wchar_t* name, int type, const wchar_t* picturePath);
    void ClearList();
    void SetAllDeviceState(int state);
    // The first record of the type takes mode and state, unless it is in state 1 and the
    // mode is not 0 (a device in state 1 only accepts a change to mode 0).
    void SetDeviceState(int type, int mode, int state);
    void SetDeviceVersion(int type, int version);
    void SetDeviceBattery(int type, int charging, int level);
    // The first connected record of the type, else the first connected one, else none (-1).
    void SetSelectDevice(int type);
    // The selected record's type (a negative selection becomes 0 first); 0 when empty.
    int GetSelectDevice();
    // The state of the first record of the type; 0 (not connected) for a type not listed.
    int GetDeviceState(int type) const;
    int GetOnlineDevCount() const;
    int GetItemCount() const;

    void SetBatteryBkg(const wchar_t* fileName);
    void SetBatteryIcon(const wchar_t* levelFile, const wchar_t* chargingFile);
    // Two frames side by side; kept, not drawn.
    void SetDevModeImage(const wchar_t* fileName);
    void SetDevModeDesc(const wchar_t* wiredText, const wchar_t* wirelessText);
    // The picture of imageWidth x imageHeight fitted into box: scaled down to fit, keeping
    // its aspect ratio, never up; centred.
    CRect GetImageRect(int imageWidth, int imageHeight, const RECT& box) const;

    // The card of record `index` as last laid out (empty while not connected).
    CRect GetCardRect(int index) const;
    int GetHoverIndex() const;
    int GetSelectIndex() const;
    // One record as the list holds it now.
    struct DeviceInfo {
        std::wstring name;
        int type = 0;
        int state = 0;
        int mode = 0;
        int level = 100;
        int charging = 0;
        int version = 0;
    };
    DeviceInfo GetDeviceInfo(int index) const;

    void DrawControl(HDC hdc, const RECT& rect) override;
    // The scroll bars' moves (8) repaint the cards and go on to the owner.
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlScroll(int kind, int down, POINT point) override;

    static constexpr wchar_t kCardFont[] = L"\u9ed1\u4f53";

private:
    struct DeviceRecord;
    DeviceRecord* FirstOfType(int type) const;  // the item lock is held
    void LayOutCards();                         // the item lock is held
    void DrawCards(Gdiplus::Graphics& graphics);
    static std::unique_ptr<Gdiplus::Image> LoadSkinPicture(const wchar_t* fileName);

    mutable std::mutex m_itemLock;  // guards m_devices, m_hover, m_selected, m_wiredText,
                                    // m_wirelessText and the pictures below
    std::vector<std::unique_ptr<DeviceRecord>> m_devices;
    int m_hover = -1;
    int m_selected = 0;
    std::unique_ptr<Gdiplus::Image> m_batteryBackground;
    std::unique_ptr<Gdiplus::Image> m_levelImage;
    std::unique_ptr<Gdiplus::Image> m_chargingImage;
    std::unique_ptr<Gdiplus::Image> m_modeImage;
    int m_modeFrameWidth = 0;
    std::wstring m_wiredText;
    std::wstring m_wirelessText;
};

}  // namespace Orvo
