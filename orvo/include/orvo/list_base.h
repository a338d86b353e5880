#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/inline_edit.h"
#include "orvo/orvo_api.h"
#include "orvo/panel.h"

namespace Orvo {

class MImageList;

// What every list row has: its text and the rectangle it was last painted in (left 0, top
// = (index - first visible) x row height, in the coordinates of the painted band).
struct ListRow {
    virtual ~ListRow() = default;
    std::wstring text;
    RECT rect{};
};

// A row of MacroList, DListBox and MListBox.
struct ListItem : ListRow {
    int image = -1;  // index into the image list, -1 = none
    long data = 0;   // the caller's value
};

// A row of CRecordList: one recorded event.
struct RecordItem : ListRow {
    int type = 0;   // the caller's event code
    int key = 0;    // the caller's key or button code
    int value = 0;  // delay or time stamp shown in the value column
};

// The design the four scrolling lists share: rows drawn into the control's bitmap cache,
// the panel's vertical bar (child 1) as their scroll bar, its range the rows' height (count x
// item height) and not sub-controls, which a list has none of; hover and selection, the
// wheel, and a row editor (CEditWindow) opened over the selected row. Hit rectangles of the
// rows are computed while painting.
class ORVO_API RowListBase : public MPanel, public InlineEditHost {
public:
    RowListBase(MObject* parent, UINT id, const RECT& rect, int visible);
    // Destroys the row editor before anything it could write into.
    ~RowListBase() override;

    void DrawControl(HDC hdc, const RECT& rect) override;
    void SetControlRect(const CRect& rect) override;
    void SetControlFocus(int focus) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlScroll(int kind, int down, POINT point) override;
    // The bar moved: the rows follow.
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    void OnInlineEditEnd(bool keep) override;
    void OnInlineEditFocusLost() override;

    int SetCurSel(int index);
    int GetCurSel() const { return m_selected; }
    int GetHoverIndex() const { return m_hover; }
    int GetItemCount();
    void SetItemHeight(int height) { m_itemHeight = height; }
    int GetItemHeight() const { return m_itemHeight; }
    BOOL SwapItem(int first, int second);
    // Always empty: rows get their rectangles while painting.
    RECT GetItemRect(int index) const;
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    void SetImageList(MImageList* list) { m_imageList = list; }
    MImageList* GetImageList() const { return m_imageList; }
    void SetScaleValue(float scale);
    float GetScaleValue() const { return m_scale; }
    void EnableShowEdit(int on) { m_showEdit = on ? 1 : 0; }
    int IsShowEdit() const { return m_showEdit; }
    int GetEditIndex() const { return m_editIndex; }
    int GetFirstVisible() const { return m_firstVisible; }
    int GetLastVisible() const { return m_lastVisible; }
    // Opens the row editor over the selected row.
    void ShowEdit();
    // Closes the row editor, keeping a changed text (notifies 29); without force only when
    // the selection moved away from the edited row.
    void HideEdit(int force);
    CEditWindow* GetEditWindow() const { return m_editor.get(); }
    // The scroll bar is shown, i.e. the rows are taller than the control.
    bool IsBarShown() const;
    // The bar's range (the rows' height) and position (0 ... range).
    int GetScrollRange() const;
    int GetScrollPos() const;
    // Moves the rows; clamped to the range; repaints when they moved.
    void SetScrollPos(int position);

protected:
    // The row editor's look and where it goes for a row on screen.
    struct EditorLook {
        ColorRef background;
        ColorRef text;
        int maxLength;
    };
    virtual EditorLook GetEditorLook() const = 0;
    virtual RECT EditorRect(const RECT& rowOnScreen) const = 0;
    // The text the editor starts with, and storing what it ends with; true when it changed.
    virtual std::wstring EditorText(const ListRow& row) const { return row.text; }
    virtual bool StoreEditorText(ListRow& row, const std::wstring& text);
    // The show-edit flag guards the editor of every list but the record list.
    virtual bool EditNeedsFlag() const { return true; }
    virtual void OnEditOpened() {}
    // Draws one visible row into the band at row.rect.
    virtual void DrawRow(Gdiplus::Graphics& graphics, HDC band, int index, ListRow& row,
                         int visibleWidth, Gdiplus::Font* font) = 0;
    // Moves the bar to the end after an insertion (a new row is in view).
    virtual bool ScrollsToNewRows() const { return true; }

    // Adds a row at index (-1 appends); updates the bar; returns the new row's index.
    int InsertRow(int index, std::unique_ptr<ListRow> row, bool scrollToEnd);
    ListRow* RowAt(int index);
    // Shows or hides the bar for the rows and sets its range to count x item height.
    void UpdateBar();
    // The row under a point of the control's own coordinates, -1 for none.
    int RowAtPoint(POINT point);
    // A row rectangle moved to the host window's client coordinates.
    RECT RowOnScreen(const RECT& bandRect) const;
    int VisibleWidth();
    int SafeItemHeight() const { return m_itemHeight > 0 ? m_itemHeight : 1; }
    int RowHeight() const;
    bool InRowArea(POINT point);
    // Drops the editor's row without keeping its text (the row is going).
    void CancelEdit();
    // The selection, repainting when it changed.
    bool Select(int index);
    HBITMAP MakeDragBitmap();

    std::recursive_mutex m_rowLock;  // guards m_rows
    std::vector<std::unique_ptr<ListRow>> m_rows;
    int m_hover = -1;
    int m_selected = -1;
    Argb m_highlight;
    Argb m_highlight2;
    Gdiplus::StringFormat m_format;
    int m_firstVisible = -1;
    int m_lastVisible = -1;
    int m_editIndex = -1;
    int m_itemHeight = 36;
    MImageList* m_imageList = nullptr;  // not owned
    float m_scale = 1.0f;
    int m_contentOffset = 0;
    int m_dragExtraWidth = 60;
    int m_showEdit = 0;
    std::unique_ptr<CEditWindow> m_editor;
};

}  // namespace Orvo
