#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/colour.h"
#include "orvo/control_factory.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"
#include "orvo/window.h"

namespace Orvo {

class DPIControl;

// The inline number edit of a DPI card: a native edit box ("ValueEditWnd2", superclassing
// "Edit") in the dialog window, coloured like the card. Its text changes go to the control.
class ORVO_API ValueEditWnd2 : public MWindow {
public:
    explicit ValueEditWnd2(DPIControl* owner) : m_owner(owner) {}
    ~ValueEditWnd2() override;

    const wchar_t* GetWindowClassName() const override { return L"ValueEditWnd2"; }
    const wchar_t* GetSuperClassName() const override { return L"Edit"; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Asks the window's own thread to close the edit (the control's worker-side setters).
    static const UINT kCloseMessage = WM_USER + 0x251;

private:
    DPIControl* m_owner;            // not owned: the control that made the edit
    HBRUSH m_background = nullptr;  // owned
};

// The DPI stages side by side as cards: a header in the stage's colour with "DPI n", the value
// in large figures, an outline on the hovered and the selected card, and an inline edit for
// typing a value. Sends 2 (card clicked), 9 (colour block clicked), 30 (edit opened), 29 (edit
// closed) and 26 (edit text changed), all with wParam 0 and lParam 0.
class ORVO_API DPIControl : public MPanel {
public:
    DPIControl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ~DPIControl() override;
    ORVO_DECLARE_CONTROL(DPIControl, MPanel)

    // Returns the new index.
    int AddItem(int dpi, ColorRef colour);
    void ClearList();
    // Indexes outside the list are ignored.
    void SetDPIValue(int index, int dpi);
    // 50 for a negative index and 26000 past the end: the limits of the DPI range.
    int GetDPIValue(int index) const;
    void SetDPIColorValue(int index, ColorRef colour);
    // 0 out of range.
    ColorRef GetDPIColorValue(int index) const;
    // Closes the edit, stores the selection and repaints. Safe to call from the device worker:
    // the selection is stored under the item lock, and closing the edit and painting happen
    // on the window's thread.
    void SetSelectItem(int index);
    int GetSelectItem() const;
    int GetColorItem() const;
    int GetItemCount() const;
    // The edit's text while it is open, else the title.
    std::wstring GetEditText() const;
    void SetEditText(const wchar_t* text);
    const std::wstring& GetTitleEx() const { return m_title; }
    void ShowEdit();
    void HideEdit();
    // Takes over the edit window to use (made on first use otherwise).
    void SetEditWindow(std::unique_ptr<ValueEditWnd2> window);
    ValueEditWnd2* GetEditWindow() const { return m_edit.get(); }
    // "Arial" at the control's font size and style, cached.
    HFONT GetDefaultFont();
    ColorRef GetEditBKColor() const { return ColorRef(0xFFFFFF); }
    ColorRef GetEditTextColor() const { return ColorRef(0xFFFFFF); }
    // Card header: the top corners rounded with radius r, the rest square.
    static void DrawRectange(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                             int radius, Argb colour);
    // Rounded outline with a pen of width 2.
    static void DrawRectange2(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                              int radius, Argb colour);
    // The card of an item relative to the control (0, 0, 0, 0 out of range).
    CRect GetCardRect(int index) const;

    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    void SetControlRect(const CRect& rect) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    void SetControlFocus(int focus) override;
    void SetControlTitle(const wchar_t* text) override;

    // The edit's text changed (EN_CHANGE).
    void OnEditTextChanged();

    static constexpr int kCardWidth = 110;
    static constexpr int kCardPitch = 130;
    static constexpr int kHeaderHeight = 30;
    // A press in a card's top 40 pixels is on its colour block.
    static constexpr int kColourBlockHeight = 40;
    static constexpr int kMinimumDpi = 50;
    static constexpr int kMaximumDpi = 26000;
    static constexpr int kEditLength = 5;

private:
    struct Item {
        int dpi = 0;
        ColorRef colour;
        CRect card;
        CRect edit;
    };
    // Card and edit rectangles of every item for the control's height.
    void LayoutItems();
    // The card under a point of the parent's coordinates, -1 for none.
    int CardAt(POINT point) const;
    void Paint(HDC cache);
    bool EnsureEdit();

    mutable std::recursive_mutex m_itemLock;  // guards m_items, m_selected, m_colourItem
    std::vector<Item> m_items;
    int m_hover = -1;
    int m_hoverPart = -1;
    int m_selected = 0;
    int m_colourItem = -1;
    // The item the open edit belongs to: its text is written there, even if the selection
    // moved (from the device worker) before the edit closed.
    int m_editItem = -1;
    std::unique_ptr<ValueEditWnd2> m_edit;
    HFONT m_defaultFont = nullptr;  // owned
};

}  // namespace Orvo
