#pragma once

#include <windows.h>

#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"
#include "orvo/rich_edit.h"

namespace Orvo {

// A value spinner: the value in a small field with an up button (id 30) and a down button
// (id 31). Up past the maximum wraps to the minimum, down past the minimum to the maximum;
// a typed digit is appended while the value keeps at most three digits, else it starts a new
// value. Every change repaints and sends 28.
class ORVO_API MSpinButton : public MPanel {
public:
    MSpinButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MSpinButton, MPanel)

    // No notification.
    void SetCurValue(int value);
    int GetCurValue() const { return m_value; }
    // A minimum above the maximum is taken the other way round.
    void SetRange(int minimum, int maximum);
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }

    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    BOOL OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;
    void SetControlRect(const CRect& rect) override;
    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

    static constexpr UINT kUpButton = 30;
    static constexpr UINT kDownButton = 31;
    static constexpr int kMaxDigits = 3;
    static constexpr int kButtonWidth = 16;

private:
    // Sets the value wrapped into the range and notifies when it changed.
    void ChangeTo(int value);
    void PlaceButtons();
    void Paint(HDC cache);

    int m_value = 0;
    int m_minimum = 1;
    int m_maximum = 100;
    MControl* m_up = nullptr;    // not owned: a sub-control
    MControl* m_down = nullptr;  // not owned: a sub-control
};

// A value spinner whose number is typed in a rich edit field, with an up button (id 30) and a
// down button (id 31) at its right edge. The buttons step by one and wrap past the ends of the
// range like MSpinButton's, sending 28; typed text counts once it is a number, and leaving
// the field puts its text back into the range.
class ORVO_API CSpinButton : public MRichEdit {
public:
    CSpinButton(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CSpinButton, MRichEdit)

    // Clamped into the range; no notification.
    void SetCurValue(int value);
    // The typed number clamped into the range, or the last value while the text is none.
    int GetCurValue() const;
    // A minimum above the maximum is taken the other way round; the value is clamped.
    void SetRange(int minimum, int maximum);
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }

    void InitControl(PaintManager* manager) override;
    void SetControlRect(const CRect& rect) override;
    void SetControlFocus(int focus) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;

    static constexpr UINT kUpButton = MSpinButton::kUpButton;
    static constexpr UINT kDownButton = MSpinButton::kDownButton;
    static constexpr int kButtonWidth = MSpinButton::kButtonWidth;

protected:
    void DrawBackground(HDC hdc) override;

private:
    int Clamp(int value) const;
    void ShowValue();
    void PlaceButtons();

    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 100;
    MControl* m_up = nullptr;    // not owned: a sub-control
    MControl* m_down = nullptr;  // not owned: a sub-control
};

}  // namespace Orvo
