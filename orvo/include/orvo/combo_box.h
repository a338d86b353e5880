#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/control_factory.h"
#include "orvo/colour.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"

namespace Orvo {

class CComboBoxWnd;
class CComboBoxList;

// One entry of a combo box and of its drop-down list.
struct ComboItem {
    std::wstring text;
    std::wstring iconName;
    Argb colour;
    long data = 0;
    RECT rect{};
};

// A drop-down list drawn like a skinned button: its title is the selected item's text; a
// release on it opens the items in a popup window below it (CComboBoxWnd). Picking an item
// selects it and notifies 2 with wParam = the index.
class ORVO_API MComboBox : public MControlFont {
public:
    enum State : int { kNormal = 0, kHovered = 1, kPressed = 2, kDisabled = 3 };
    // Rows of the drop-down list and the most rows it shows without scrolling.
    static constexpr int kPopupRowHeight = 30;
    static constexpr int kPopupVisibleRows = 8;
    // The list's notices come back through the popup with this lParam.
    static constexpr LPARAM kFromPopupList = 19;
    // The popup tells the combo that it is gone.
    static constexpr UINT kNotifyPopupClosed = 22;

    MComboBox(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ~MComboBox() override;
    ORVO_DECLARE_CONTROL(MComboBox, MControlFont)

    void DrawControl(HDC hdc, const RECT& rect) override;
    void SetControlEnabled(int enabled) override;
    void SetControlVisible(int visible) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    // Picks from the popup (2 with lParam 19) and its closing (22).
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;

    int AddItem(const wchar_t* text, long data = 0, const wchar_t* iconName = nullptr,
                Argb colour = Argb());
    // index -1..count-1 (else -1); -1 or an empty list appends. Returns count - 1.
    int InsertItem(int index, const wchar_t* text, long data = 0, const wchar_t* iconName = nullptr,
                   Argb colour = Argb());
    int GetItemCount();
    BOOL SetItemData(int index, long data);
    long GetItemData(int index);
    BOOL SetItemText(int index, const wchar_t* text);
    std::wstring GetItemText(int index);
    // index -1..count-1, else 0 and nothing changes; -1 empties the title.
    int SetCurSel(int index);
    int GetCurSel() const { return m_curSel; }
    long GetCurData();
    int FindData(long data);
    int SelectData(long data);
    // Removes one item; the selection stays inside the remaining items.
    BOOL DeleteItem(int index);
    void DelAllItems();
    // Copies of the items, in order.
    std::vector<ComboItem> GetItems();

    void SetBackImage(const wchar_t* fileName);
    void SetBackImage(UINT resourceId, const wchar_t* resourceType);
    void SetScrollResID(UINT verticalId, UINT horizontalId);
    void SetShowModeMID(int left, int top, int right, int bottom);
    // Normal text colour, and the one of hovered and pressed.
    void SetTextColorEx(Argb normal, Argb other);
    int GetState() const { return m_state; }
    bool IsReopenGuarded() const { return m_reopenGuard; }

    // Opens the drop-down list below the control (closing an open one first).
    void ShowDropDown();
    // Closes an open drop-down list.
    void CloseDropDown();
    // The open popup, null while closed.
    CComboBoxWnd* GetDropDown() const;
    // Client rectangle of the popup for the current items, in screen coordinates.
    RECT DropDownRect() const;

protected:
    // The slot of the bitmap cache shown now.
    virtual int ShownSlot() const { return m_reopenGuard ? kPressed : m_state; }
    Argb SlotTextColor(int slot) const;
    void SetState(int state);

    std::recursive_mutex m_itemLock;  // guards m_items
    std::vector<std::unique_ptr<ComboItem>> m_items;
    int m_curSel = -1;
    int m_state = kNormal;
    bool m_reopenGuard = false;

private:
    void RefreshTitle();
    void OnPopupClosed();

    std::unique_ptr<CComboBoxWnd> m_popup;
    std::wstring m_backImage = L"img_combobox_bkg.png";
    UINT m_backResourceId = 0;
    std::wstring m_backResourceType = L"PNG";
    UINT m_scrollVerticalId = 0;
    UINT m_scrollHorizontalId = 0;
    int m_insetLeft = 6;
    int m_insetTop = 6;
    int m_insetRight = 32;
    int m_insetBottom = 6;
    Argb m_hoverTextColor = Argb(0xFFFFFFFF);
    Argb m_pressedTextColor = Argb(0xFF191919);
    Argb m_disabledTextColor = Argb(0xFF808080);
    int m_drawnSlot = -1;
};

// A combo box that is also one of a group of radio-like choices: a release on it checks it
// and unchecks the others of its group.
class ORVO_API MComboBox2 : public MComboBox {
public:
    MComboBox2(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MComboBox2, MComboBox)

    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    void SetGroupName(const wchar_t* name);
    const std::wstring& GetGroupName() const { return m_groupName; }
    // Stores the check state and repaints.
    void SetCheck(int check);
    int GetCheck() const { return m_check; }
    // Checks (unchecking the rest of the group) or unchecks.
    void SetControlCheck(int check);
    // Unchecks every other control of the group in the dialog.
    void ResetGroupCheck();

protected:
    int ShownSlot() const override;

private:
    std::wstring m_groupName = L"ComboBox Group";
    int m_check = 0;
};

// A colour field drawn over the state image; a release on it notifies 2.
class ORVO_API CColorCombo : public MControlFont {
public:
    CColorCombo(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CColorCombo, MControlFont)

    void DrawControl(HDC hdc, const RECT& rect) override;
    void SetControlEnabled(int enabled) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    // Repaints.
    void SetAreaColor(Argb colour);
    Argb GetAreaColor() const { return m_areaColor; }
    int GetState() const { return m_state; }

private:
    void SetState(int state);

    Argb m_areaColor = Argb(0xFEFFFF00);
    int m_state = 0;
    bool m_pressed = false;
    int m_drawnState = -1;
};

}  // namespace Orvo
