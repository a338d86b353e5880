#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "orvo/buttons.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"
#include "orvo/popup_wnd.h"

namespace Orvo {

class MenuWnd;

// One entry of a MenuWnd: an optional icon (4 frames), its title, a check mark, or a
// separator line. A click (release inside) sends 2; a press sends nothing.
class ORVO_API MenuItem : public MControlFont, public CheckGroupMember {
public:
    MenuItem(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
             int enabled);
    ORVO_DECLARE_CONTROL(MenuItem, MControlFont)

    // The menu that holds the item; null elsewhere.
    MenuWnd* GetParentMenu() const;
    // Items have no submenus: nothing opens; returns 0.
    int ShowPopupMenu() { return 0; }
    int GetCheck() const { return m_check; }
    void SetCheck(int check);
    void SetControlCheck(int check);
    int ResetGroupCheck() { return ResetGroupOf(*this, m_groupName); }
    const std::wstring& GetGroupName() const override { return m_groupName; }
    void SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }
    void UncheckByGroup() override;
    void SetSeparator(int on) { m_separator = on; }
    int IsSeparator() const { return m_separator; }
    int GetState() const { return m_state; }
    void SetTextInset(int inset) { m_textInset = inset; }
    void SetHoverColor(Argb argb) { m_hoverColor = argb; }
    Argb GetHoverColor() const { return m_hoverColor; }
    // Not owned: the images belong to the menu's image cache.
    void SetHoverImage(Gdiplus::Image* image, CSize size);
    void SetCheckImage(Gdiplus::Image* image, CSize size);

    void SetControlEnabled(int enabled) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void DrawControl(HDC hdc, const RECT& rect) override;

private:
    void SetState(int state);

    int m_state = 0;
    int m_check = 0;
    int m_separator = 0;
    std::wstring m_groupName = L"Menu Group";
    Argb m_hoverColor = Argb(0xDCDCDCDC);
    Gdiplus::Image* m_hoverImage = nullptr;  // not owned
    CSize m_hoverImageSize;
    Gdiplus::Image* m_checkImage = nullptr;  // not owned
    CSize m_checkImageSize;
    int m_textInset = 5;
};

// A skinned context menu: a column of MenuItem controls in its own popup window. Choosing an
// entry posts the menu's message to its owner window with lParam = the entry's id and closes
// the menu; clicking elsewhere closes it without posting. The menu deletes itself when its
// window is gone, so it is made with new and never deleted by the caller once created.
class ORVO_API MenuWnd : public MPopupWnd {
public:
    explicit MenuWnd(MObject* parent);

    const wchar_t* GetClassNameW() const override { return L"MenuWnd"; }
    const wchar_t* GetObjectClass() const override { return L"MenuWnd"; }

    // A "Menu Window" at point, owned by owner, that posts messageId; false when no window
    // was made.
    bool Create(HWND owner, POINT point, UINT messageId, int width);
    bool Create(HWND owner, POINT point, UINT messageId, const wchar_t* backgroundImage, int width);
    // Both return -1 (the item is found by its id).
    int AddMenu(const wchar_t* text, UINT id, const wchar_t* iconFile);
    int AddMenu(const wchar_t* text, UINT id, UINT iconResourceId);
    void AddSeparator(UINT id, const wchar_t* image);
    // Recorded, and applied to the item with that id in InitUI.
    void SetItemTitle(UINT id, const wchar_t* title);
    void SetItemVisible(UINT id, int visible);
    void SetItemEnable(UINT id, int enabled);
    void SetItemCheck(UINT id, int check);
    // Lays the items out top to bottom and sizes the window to them.
    void SetMenuPoint();
    void SetHoverColor(Argb argb) { m_hoverColor = argb; }
    // From the skin folder; stretched behind the hovered item.
    bool SetHoverImage(const wchar_t* fileName);
    bool SetCheckImage(const wchar_t* fileName);
    void SetMenuFont(const wchar_t* face, int size, int style);
    void SetItemHeight(int height) { m_itemHeight = height; }
    void SetMargins(int top, int bottom) {
        m_topMargin = top;
        m_bottomMargin = bottom;
    }
    long SendMessageToParent(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
        return NotifyParent(controlId, code, wParam, lParam);
    }
    HWND GetOwnerWindow() const { return m_owner; }
    UINT GetMessageId() const { return m_messageId; }

    // Applies the recorded item changes, then the layout.
    void InitUI(const CRect& clientRect) override;
    // An item's notification: posted to the owner; a click also closes the menu.
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    // The menu deletes itself.
    LRESULT PostNcDestroy() override;

    static constexpr int kDefaultItemHeight = 25;
    static constexpr int kDefaultMargin = 6;

private:
    struct PendingChange {
        UINT id;
        std::wstring title;
        int visible;
        int enabled;
        int check;
    };
    PendingChange& ChangeFor(UINT id);
    MenuItem* MakeItem(const wchar_t* text, UINT id);

    HWND m_owner = nullptr;
    UINT m_messageId = 0;
    std::wstring m_fontFace = L"Segoe UI";
    int m_fontSize = 14;
    int m_fontStyle = 0;
    int m_textInset = 5;
    int m_itemHeight = kDefaultItemHeight;
    int m_width = 300;
    int m_topMargin = kDefaultMargin;
    int m_bottomMargin = kDefaultMargin;
    Gdiplus::Image* m_hoverImage = nullptr;  // not owned: the menu's image cache
    CSize m_hoverImageSize;
    Argb m_hoverColor = Argb(0xFFDCDCDC);
    Gdiplus::Image* m_checkImage = nullptr;  // not owned: the menu's image cache
    CSize m_checkImageSize;
    std::vector<PendingChange> m_pending;
};

}  // namespace Orvo
