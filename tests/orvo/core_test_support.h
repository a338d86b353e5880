#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "orvo/control.h"
#include "orvo/dialog.h"
#include "orvo/manager.h"

namespace OrvoTest {

using Orvo::CRect;

// One input event a control saw, in its own coordinates.
struct ControlEvent {
    std::string kind;
    POINT point;
};

// A drawn control that records what reaches it and fills its rectangle with one colour.
class RecordingControl : public Orvo::MControl {
public:
    RecordingControl(Orvo::MObject* parent, UINT id, const RECT& rect,
                     COLORREF colour = RGB(0, 128, 0))
        : MControl(parent, id, rect, 1, 1, 1), m_colour(colour) {}

    const wchar_t* GetClassNameW() const override { return L"RecordingControl"; }

    void DrawControl(HDC hdc, const RECT&) override {
        ++m_draws;
        HBRUSH brush = ::CreateSolidBrush(m_colour);
        ::FillRect(hdc, &m_rect, brush);
        ::DeleteObject(brush);
    }
    BOOL OnControlMouseMove(UINT, POINT point) override { return Record("move", point); }
    BOOL OnControlLButtonDown(UINT, POINT point) override { return Record("down", point); }
    BOOL OnControlLButtonUp(UINT, POINT point) override { return Record("up", point); }
    BOOL OnControlLButtonDblClk(UINT, POINT point) override { return Record("dblclk", point); }
    BOOL OnControlRButtonDown(UINT, POINT point) override { return Record("rdown", point); }
    BOOL OnControlRButtonUp(UINT, POINT point) override { return Record("rup", point); }
    BOOL OnControlScroll(int, int down, POINT point) override {
        Record(down ? "scroll-down" : "scroll-up", point);
        return m_takesScroll;
    }
    BOOL OnControlKeyDown(UINT vk, UINT, UINT) override {
        Record("key", POINT{static_cast<LONG>(vk), 0});
        return m_takesKeys;
    }
    void SetControlFocus(int focus) override { m_focused = focus; }
    int OnControlTimer() override {
        ++m_ticks;
        return 1;
    }

    std::vector<std::string> Kinds() const {
        std::vector<std::string> kinds;
        for (const ControlEvent& event : m_events) {
            kinds.push_back(event.kind);
        }
        return kinds;
    }
    // Events other than moves, which the manager hands to every control.
    std::vector<std::string> Clicks() const {
        std::vector<std::string> kinds;
        for (const ControlEvent& event : m_events) {
            if (event.kind != "move") {
                kinds.push_back(event.kind);
            }
        }
        return kinds;
    }
    const std::vector<ControlEvent>& Events() const { return m_events; }
    void ClearEvents() { m_events.clear(); }
    void SetHandlesDoubleClick(bool on) { m_handlesDblClk = on ? 1 : 0; }
    void SetTakesScroll(bool on) { m_takesScroll = on; }
    void SetTakesKeys(bool on) { m_takesKeys = on; }
    int Draws() const { return m_draws; }
    int Ticks() const { return m_ticks; }

private:
    BOOL Record(const char* kind, POINT point) {
        m_events.push_back(ControlEvent{kind, point});
        return TRUE;
    }

    COLORREF m_colour;
    std::vector<ControlEvent> m_events;
    bool m_takesScroll = true;
    bool m_takesKeys = false;
    int m_draws = 0;
    std::atomic<int> m_ticks{0};
};

// A dialog that records its notifications. Window dragging is off: under Xvfb without a
// window manager a press on bare dialog area would start a move that waits for a real
// button release.
class TestDialog : public Orvo::MDialog {
public:
    void InitUI(const CRect&) override {
        ++m_initUICalls;
        EnableWndDrag(false);
    }
    void UISize(const CRect&) override { ++m_uiSizeCalls; }
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override {
        m_messages.push_back({controlId, code, wParam, lParam});
        return 0;
    }

    // A popup at (x, y) of the given client size.
    HWND CreateAt(int x, int y, int width, int height, DWORD style = WS_POPUP) {
        return Create(nullptr, L"orvo core test", style, 0, CRect(x, y, x + width, y + height));
    }
    template <typename T = RecordingControl, typename... Args>
    T* Add(UINT id, const RECT& rect, Args... args) {
        auto control = std::make_unique<T>(this, id, rect, args...);
        T* raw = control.get();
        m_PaintManager.AddControl(std::move(control));
        return raw;
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(GetSafeHwnd(), msg, wParam, lParam);
    }
    LRESULT Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
        return Send(msg, keys, MAKELPARAM(x, y));
    }

    struct Message {
        UINT controlId;
        UINT code;
        WPARAM wParam;
        LPARAM lParam;
    };
    int m_initUICalls = 0;
    int m_uiSizeCalls = 0;
    std::vector<Message> m_messages;
};

// GDI+ for the tests of one executable, started once.
inline void StartGdiplus() {
    static const bool started = [] {
        Orvo::Manager::SetInstance(::GetModuleHandleW(nullptr));
        return Orvo::Manager::InitGdiplus();
    }();
    (void)started;
}

// Delivers posted messages of this thread until none is left.
inline void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace OrvoTest
