#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <mutex>
#include <string>
#include <vector>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// One tab of an MTabCtrl.
struct TabItemInfo {
    int visible = 1;
    Gdiplus::Image* icon = nullptr;  // not owned: the manager's image cache
    int iconFrameWidth = 0;
    int iconFrameHeight = 0;
    int iconFrameCount = 3;  // normal, hovered, selected
    RECT rect = {0, 0, 0, 0};
    std::wstring text;
    UINT id = 0;               // the caller's
    MControl* page = nullptr;  // not owned: shown while the tab is selected
    std::wstring tooltip;
};

// The tab strip that switches pages: tabs with an icon and a text, laid out vertically
// (stacked, 1 pixel apart) or horizontally. Selecting a tab sends 1 with its index and shows
// its page, hiding the others.
class ORVO_API MTabCtrl : public MControlFont {
public:
    MTabCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MTabCtrl, MControlFont)

    // frameCount -1 means 3; width 0 takes the icon's frame width, or the tab width without
    // an icon. Returns the new tab's index.
    int InsertItem(UINT id, const wchar_t* text, const wchar_t* iconFile, MControl* page,
                   int frameCount = -1, int width = 0);
    int GetItemCount() const;
    // Null out of range; valid until tabs are added or deleted.
    TabItemInfo* GetItemInfo(int index);
    // Returns the previous selection; nothing happens for the selected or an invalid index.
    int SetSelectItem(int index);
    int GetSelectItem() const { return m_selected; }
    // No repaint; false for an invalid index.
    bool SetItemText(int index, const wchar_t* text);
    void SetItemVisible(int index, int visible);
    int GetItemVisible(int index) const;
    UINT GetItemID(int index) const;
    // Removes the tab; a page that is one of this control's children is deleted with it.
    void DeleteItem(int index);
    void SetItemWidth(int preferred, int minimum, int refresh);
    void SetItemHeight(int preferred, int minimum, int refresh);
    void SetTabCtrlWidth(int width);
    void SetTabCtrlHeight(int height);
    int GetCtrlWidth() const { return m_stripWidth; }
    int GetCtrlHeight() const { return m_stripHeight; }
    int GetItemWidth() const { return m_tabWidth; }
    int GetItemHeight() const { return m_tabHeight; }
    void SetLeftRightPading(int left, int right);
    void SetTopBottomPading(int top, int bottom);
    // Lays the tabs out, keeps selection and hover valid and shows only the selected page.
    void RefreshItems();
    // Reads the icons' frame sizes again and redraws.
    void RefreshItemData();
    void SetTabTooltip(int index, const wchar_t* text);
    void ClearTabTooltip();
    // The visible tab under the point, in `item`; false when there is none.
    bool PtInTabButton(POINT point, int& item) const;
    // Only "MTabLayout": the page becomes a child of this control. Null for other names.
    MControl* CreatePanel(const wchar_t* className, UINT id, const RECT& rect);
    // 0 horizontal, 1 vertical.
    void SetTabType(int type);
    void EnableAnimateChangeTab(bool on);
    void SetUpdataRect(const RECT& rect) { m_updateRect = rect; }
    // The sliding offset of an animated change (0 when none runs).
    int GetAnimateOffset() const { return m_tabType == 1 ? m_offsetY : m_offsetX; }

    int OnControlTimer() override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlScroll(int kind, int down, POINT point) override;
    BOOL OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

    static constexpr int kIconSide = 26;
    static constexpr int kTextIndent = 70;

private:
    void ShowOnlySelectedPage();
    void PaintVertical(HDC cache, int width, int height);
    void PaintHorizontal(HDC cache, int width, int height);
    // Repaints from the cache (hover and selection changes) or with a redraw.
    void Repaint(bool redraw);
    int StripWidth() const;
    int StripHeight() const;

    std::vector<TabItemInfo> m_tabs;
    int m_tabType = 1;
    int m_stripWidth = 0;
    int m_stripHeight = 0;
    int m_tabWidth = 100;
    int m_tabHeight = 60;
    int m_leftPadding = 0;
    int m_rightPadding = 0;
    int m_topPadding = 0;
    int m_bottomPadding = 0;
    int m_hover = -1;
    int m_selected = -1;
    int m_previous = -1;
    bool m_animate = false;
    int m_animationSteps = 10;
    int m_offsetX = 0;
    int m_offsetY = 0;
    bool m_sliding = false;
    CRect m_updateRect;
    bool m_pressed = false;
    int m_tooltipShown = -1;
};

// A vertical list of text tabs, 60 pixels a row; each row shows a page while selected. A
// click sends 2 with the selected index in lParam.
class ORVO_API CTabCtrl1 : public MControlFont {
public:
    CTabCtrl1(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CTabCtrl1, MControlFont)

    // Returns the new index.
    int AddItem(const wchar_t* text, int value, MControl* page);
    void ClearList();
    // Hides every page, then shows the selected row's page; no notification.
    void SetSelectItem(int index);
    int GetSelectItem() const;
    void SetItemText(int index, const wchar_t* text);
    int GetItemCount() const;

    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

    static constexpr int kRowHeight = 60;

private:
    struct Item {
        std::wstring text;
        int value = 0;
        MControl* page = nullptr;  // not owned
        CRect rect;
    };
    // The row under a point of the parent's coordinates, -1 for none.
    int RowAt(POINT point) const;
    void Paint(HDC cache);

    mutable std::recursive_mutex m_itemLock;  // guards m_items, m_hover, m_selected
    std::vector<Item> m_items;
    int m_hover = -1;
    int m_selected = -1;
    int m_rowHeight = kRowHeight;
};

}  // namespace Orvo
