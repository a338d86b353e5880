#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"

namespace Orvo {

// A vertical list of rows stacked without gaps, each with a caption, a data value and an
// optional two-frame icon. A release over a row sends 2 with the selected row in lParam;
// a press only selects. KeyFuncType and KeyFuncValue differ in row height, icon and indent.
class ORVO_API KeyFuncList : public MPanel {
public:
    KeyFuncList(MObject* parent, UINT id, const RECT& rect, int visible, int enabled, int rowHeight,
                int captionLeft, bool drawsIcons);
    ~KeyFuncList() override;

    // The icon is skin folder + iconFile, loaded only when that file exists. No repaint.
    void AddItem(const wchar_t* caption, int data, const wchar_t* iconFile);
    void ClearList();
    // Selects the first row with that data (the selection stays without one); repaints.
    void SetCurData(int data);
    // Data of the selected row, 0 without one.
    int GetCurData() const;
    // 0 out of range.
    int GetItemData(int index) const;
    void SetSelectItem(int index);
    int GetSelectItem() const;
    // No repaint; 1 for a valid index, else 0.
    int SetItemText(int index, const wchar_t* caption);
    // "" out of range.
    std::wstring GetItemText(int index) const;
    int GetItemCount() const;
    // A row relative to the control (empty out of range).
    CRect GetItemRect(int index) const;
    // Whether a row got its icon.
    bool HasIcon(int index) const;

    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    // Stores the rectangle and keeps the vertical bar at the right edge; rows do not scroll.
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

private:
    struct Row {
        std::wstring caption;
        int data = 0;
        std::unique_ptr<Gdiplus::Image> icon;  // owned by the row
        int iconFrameWidth = 0;
        int iconFrameHeight = 0;
    };
    int RowAt(POINT point) const;
    void Paint(HDC cache);

    mutable std::recursive_mutex m_itemLock;  // guards m_rows, m_selected
    std::vector<Row> m_rows;
    int m_hover = -1;
    int m_selected = -1;
    int m_rowHeight;
    int m_captionLeft;
    bool m_drawsIcons;
};

// The kinds of function a button can have: 40-pixel rows with an icon and a caption.
class ORVO_API KeyFuncType : public KeyFuncList {
public:
    KeyFuncType(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
        : KeyFuncList(parent, id, rect, visible, enabled, kRowHeight, 50, true) {}
    ORVO_DECLARE_CONTROL(KeyFuncType, MPanel)

    static constexpr int kRowHeight = 40;
};

// The functions of the chosen kind: 30-pixel rows with a caption (icons are loaded, not drawn).
class ORVO_API KeyFuncValue : public KeyFuncList {
public:
    KeyFuncValue(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
        : KeyFuncList(parent, id, rect, visible, enabled, kRowHeight, 10, false) {}
    ORVO_DECLARE_CONTROL(KeyFuncValue, MPanel)

    static constexpr int kRowHeight = 30;
};

}  // namespace Orvo
