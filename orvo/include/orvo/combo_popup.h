#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "orvo/combo_box.h"
#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/orvo_api.h"
#include "orvo/popup_wnd.h"

namespace Orvo {

// The rows of an open combo box: 30 pixels each; the hovered and the pressed row are filled
// with the accent. A release on the row that was pressed notifies 2 with wParam = its index.
class ORVO_API CComboBoxList : public MControlFont {
public:
    static constexpr int kRowHeight = MComboBox::kPopupRowHeight;
    static constexpr int kWheelSteps = 6;
    static constexpr int kScrollStep = 10;

    CComboBoxList(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CComboBoxList, MPanel)

    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlScroll(int kind, int down, POINT point) override;

    int AddItem(const wchar_t* text, long data = 0, const wchar_t* iconName = nullptr,
                Argb colour = Argb());
    void DelAllItems();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // count x 30.
    int GetListHeight() const { return GetItemCount() * kRowHeight; }
    int GetHoverIndex() const { return m_hover; }
    int GetPressedIndex() const { return m_pressed; }
    int GetScrollOffset() const { return m_offset; }

private:
    int RowAt(POINT point) const;

    std::vector<ComboItem> m_items;
    int m_hover = -1;
    int m_pressed = -1;
    int m_offset = 0;  // pixels the rows are scrolled up
};

// The popup window of an open combo box (class "ComboWnd"): a layered tool window with the
// combo's background and one CComboBoxList (id 88). Picks go to the combo as (2, index, 19);
// its closing as 22.
class ORVO_API CComboBoxWnd : public MPopupWnd {
public:
    static constexpr UINT kListId = 88;

    explicit CComboBoxWnd(MComboBox* combo);
    const wchar_t* GetWindowClassName() const override { return L"ComboWnd"; }
    void InitUI(const CRect& clientRect) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy() override;
    // Lets go of the combo: nothing reaches it any more.
    void Detach() { m_parentObject = nullptr; }
    CComboBoxList* GetList() const { return m_list; }

private:
    CComboBoxList* m_list = nullptr;  // not owned: a control of the popup's paint manager
};

}  // namespace Orvo
