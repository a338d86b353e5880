#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <mutex>
#include <string>
#include <vector>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"

namespace Orvo {

// The report-rate choices as cards side by side, each with a colour strip and its text. A press
// on a card sends 1 and a release 2, both with the card's index.
class ORVO_API ReporteCtrl : public MPanel {
public:
    ReporteCtrl(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(ReporteCtrl, MPanel)

    // Returns the new index.
    int AddItem(const wchar_t* text, int keyValue, ColorRef colour);
    int DeleteAllItems();
    // Never notifies.
    void SetSelectItem(int index);
    int GetSelectItem() const;
    // Selects the first entry with that key value; the selection stays without one.
    void SetSelectItemValue(int keyValue);
    // 0 out of range.
    int GetItemKeyValue(int index) const;
    // "" out of range.
    std::wstring GetItemKeyName(int index) const;
    void SetItemText(int index, const wchar_t* text);
    void SetScaleValue(float scale);
    int GetItemCount() const;
    // An entry's card relative to the control (empty out of range).
    CRect GetItemRect(int index) const;

    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

    static constexpr int kFirstCardX = 11;
    static constexpr int kCardPitch = 130;

private:
    struct Entry {
        std::wstring text;
        int keyValue = 0;
        ColorRef colour;
        CRect card;
    };
    void Layout();
    int EntryAt(POINT point) const;
    void Paint(HDC cache);

    mutable std::recursive_mutex m_itemLock;  // guards m_entries, m_selected
    std::vector<Entry> m_entries;
    int m_hover = -1;
    int m_selected = -1;
    float m_scale = 1.0f;
};

// Call-out labels around a mouse picture: each entry is a leader line from point A to point B
// (in the picture's coordinates, times the scale) with a label box right of B (side 1) or
// left of A. A press sends 1 with the label under the pointer (-1 between labels); a release
// over the selection sends 2.
class ORVO_API MouseCtrl : public MPanel {
public:
    MouseCtrl(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(MouseCtrl, MPanel)

    // Returns the new index.
    int AddItem(const wchar_t* text, int keyValue, int side, POINT pointA, POINT pointB);
    int DeleteAllItems();
    void SetSelectItem(int index);
    int GetSelectItem() const;
    int GetItemCount() const;
    void SetItemText(int index, const wchar_t* text);
    // The text of the first entry with that key value; repaints in any case. Returns 1.
    int SetItemKeyDesc(int keyValue, const wchar_t* text);
    int GetItemKeyValue(int index) const;
    void SetScaleValue(float scale);
    // An entry's label relative to the control (empty out of range).
    CRect GetItemRect(int index) const;

    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

    static constexpr int kLabelWidth = 66;
    static constexpr int kLabelHalfHeight = 13;
    static constexpr int kLabelCorner = 6;
    static constexpr int kFontSize = 12;

private:
    struct Entry {
        std::wstring text;
        int keyValue = 0;
        int side = 0;
        POINT a = {0, 0};
        POINT b = {0, 0};
        CRect label;
    };
    void Layout();
    int EntryAt(POINT point) const;
    void Paint(HDC cache);

    mutable std::recursive_mutex m_itemLock;  // guards m_entries, m_selected
    std::vector<Entry> m_entries;
    int m_hover = -1;
    int m_selected = -1;
    float m_scale = 1.0f;
};

// The mouse's buttons as rows with the button's name and its current function; the hovered
// row's function shows as a tooltip. Press and release notify like MouseCtrl.
class ORVO_API MouseKeyCtrl : public MPanel {
public:
    MouseKeyCtrl(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(MouseKeyCtrl, MPanel)

    // Returns the new index.
    int AddItem(const wchar_t* name, const wchar_t* description, int keyValue);
    int DeleteAllItems();
    void SetSelectItem(int index);
    int GetSelectItem() const;
    int GetItemCount() const;
    int GetItemKeyValue(int index) const;
    std::wstring GetItemKeyName(int index) const;
    void SetItemText(int index, const wchar_t* name);
    // The description of the first entry with that key value; repaints in any case. Returns 1.
    int SetItemKeyDesc(int keyValue, const wchar_t* description);
    void SetScaleValue(float scale);
    // An entry's row relative to the control (empty out of range).
    CRect GetItemRect(int index) const;

    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

    static constexpr int kRowHeight = 27;
    static constexpr int kRowGap = 5;

private:
    struct Entry {
        std::wstring name;
        std::wstring description;
        int keyValue = 0;
        CRect row;
    };
    void Layout();
    int EntryAt(POINT point) const;
    void Paint(HDC cache);

    mutable std::recursive_mutex m_itemLock;  // guards m_entries, m_selected
    std::vector<Entry> m_entries;
    int m_hover = -1;
    int m_selected = -1;
    float m_scale = 1.0f;
    int m_tooltipShown = -1;
};

}  // namespace Orvo
