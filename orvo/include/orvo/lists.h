#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "orvo/control_factory.h"
#include "orvo/list_base.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// Rows of texts with the data and image index the caller gives them: the operations of
// MacroList, DListBox and MListBox.
class ORVO_API TextRowList : public RowListBase {
public:
    TextRowList(MObject* parent, UINT id, const RECT& rect, int visible);

    int AddString(const wchar_t* text, int image = -1);
    int AddString(const wchar_t* text, long data, int image);
    // index -1..count-1 (else -1); -1 or an empty list appends. Returns count - 1.
    int InsertString(int index, const wchar_t* text, int image = -1, long data = 0);
    BOOL SetItemData(int index, long data);
    long GetItemData(int index);
    std::wstring GetItemText(int index);
    BOOL ModifyItemString(int index, const wchar_t* text);
    int FindString(const wchar_t* text);
    int FindItemData(long data);
    int SetCurData(long data);
    long GetCurData();
    HBITMAP GetControlDropBitmap() override;

protected:
    ListItem* ItemAt(int index);
};

// The list of macro names: a row strip behind each row and an edit icon at its right end.
class ORVO_API MacroList : public TextRowList {
public:
    MacroList(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(MacroList, TextRowList)

    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlLButtonDblClk(UINT flags, POINT point) override;
    BOOL OnControlRButtonUp(UINT flags, POINT point) override;

    // The row strip: frame 0 normal, frame 1 hovered, selected or being edited.
    int SetImage(const wchar_t* fileName, int count) override;
    // The edit icon, four frames: 0 normal, 2 on the selected row.
    int SetEditImage(const wchar_t* fileName, int count = 4);
    // The edit icon's place relative to a row.
    RECT GetEditIconRect() const;

protected:
    EditorLook GetEditorLook() const override;
    RECT EditorRect(const RECT& rowOnScreen) const override;
    void DrawRow(Gdiplus::Graphics& graphics, HDC band, int index, ListRow& row, int visibleWidth,
                 Gdiplus::Font* font) override;

private:
    std::unique_ptr<Gdiplus::Image> m_rowImage;
    int m_rowImageCount = 2;
    std::unique_ptr<Gdiplus::Image> m_editImage;
    int m_editImageCount = 4;
};

// A plain list of centred texts (the profile lists). Its editor opens on a right press.
class ORVO_API DListBox : public TextRowList {
public:
    DListBox(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(DListBox, TextRowList)

    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlLButtonDblClk(UINT flags, POINT point) override;
    BOOL OnControlRButtonDown(UINT flags, POINT point) override;
    BOOL OnControlRButtonUp(UINT flags, POINT point) override;
    int SetEditImage(const wchar_t* fileName, int count = 4);

protected:
    EditorLook GetEditorLook() const override;
    RECT EditorRect(const RECT& rowOnScreen) const override;
    bool ScrollsToNewRows() const override { return false; }
    void DrawRow(Gdiplus::Graphics& graphics, HDC band, int index, ListRow& row, int visibleWidth,
                 Gdiplus::Font* font) override;

private:
    std::unique_ptr<Gdiplus::Image> m_editImage;
};

// A text list with optional icons from an image list.
class ORVO_API MListBox : public TextRowList {
public:
    MListBox(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(MListBox, TextRowList)

    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlLButtonDblClk(UINT flags, POINT point) override;
    BOOL OnControlRButtonUp(UINT flags, POINT point) override;
    // Drawn as a nine-patch behind the row being edited.
    int SetImage(const wchar_t* fileName, int count) override;

protected:
    EditorLook GetEditorLook() const override;
    RECT EditorRect(const RECT& rowOnScreen) const override;
    void DrawRow(Gdiplus::Graphics& graphics, HDC band, int index, ListRow& row, int visibleWidth,
                 Gdiplus::Font* font) override;

private:
    std::unique_ptr<Gdiplus::Image> m_editedImage;
};

// The recorded events of one macro: row number, event icon, event text, an editable delay
// and a "more" icon. Delays typed into the row editor are kept between 10 and 65535.
class ORVO_API CRecordList : public RowListBase {
public:
    static constexpr int kMinDelay = 10;
    static constexpr int kMaxDelay = 65535;

    CRecordList(MObject* parent, UINT id, const RECT& rect, int visible);
    ORVO_DECLARE_CONTROL(CRecordList, RowListBase)

    void SetControlRect(const CRect& rect) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;
    BOOL OnControlLButtonDblClk(UINT flags, POINT point) override;
    BOOL OnControlRButtonUp(UINT flags, POINT point) override;

    int AddString(const wchar_t* text, int type, int key, int value);
    int InsertString(int index, const wchar_t* text, int type, int key, int value);
    // Sets the value of the last row; false when the list is empty.
    bool UpdateDelayTime(int value);
    // From the last row back: rows of the same type and key take the value; the nearest
    // earlier press partner of a release (2 for 3, 4 for 5) with that key takes it and ends
    // the scan.
    void UpdateTimeStamp(int type, int key, int value);
    // Rows whose type is not 1.
    int GetEventCount();
    int GetRecrodTimeStamp(int index);
    void SetTimeStampSelect(int value);
    int GetTimeStampSelect() const { return m_timeStampSelect; }
    void SetRecordInfo(int value, int type, const wchar_t* text, int key);
    void SetRecordInfo(int index, const wchar_t* text, int type, int key, int value);
    bool GetRecordInfo(int index, std::wstring& text, int& type, int& key, int& value);
    void DeleteTimeStamp(int value);
    void MoveTop(int index);
    void MoveBottom(int index);
    // The rows as they are; they stay owned by the list and valid until the rows change.
    std::vector<RecordItem*> GetRecordItems();
    void SetEditText(const wchar_t* text);
    std::wstring GetEditText() const;

    // Event icons: frames 0/1 key event, 2/3 mouse event (types 4 to 12), odd = highlighted.
    int SetImage(const wchar_t* fileName, int count) override;
    // The "more" icon: frame 0 normal, 2 highlighted.
    int SetMoreImage(const wchar_t* fileName, int count);
    // The row strip: frame 0 normal, 1 hovered, selected or being edited.
    int SetItemImage(const wchar_t* fileName, int count);
    RECT GetMoreIconRect() const { return m_moreRect; }
    RECT GetEventIconRect() const { return m_eventRect; }

protected:
    EditorLook GetEditorLook() const override;
    RECT EditorRect(const RECT& rowOnScreen) const override;
    std::wstring EditorText(const ListRow& row) const override;
    bool StoreEditorText(ListRow& row, const std::wstring& text) override;
    bool EditNeedsFlag() const override { return false; }
    void OnEditOpened() override;
    void DrawRow(Gdiplus::Graphics& graphics, HDC band, int index, ListRow& row, int visibleWidth,
                 Gdiplus::Font* font) override;

private:
    RecordItem* RecordAt(int index);
    void LayoutIcons();

    std::unique_ptr<Gdiplus::Image> m_eventImage;
    int m_eventImageCount = 4;
    std::unique_ptr<Gdiplus::Image> m_moreImage;
    int m_moreImageCount = 4;
    std::unique_ptr<Gdiplus::Image> m_rowImage;
    int m_rowImageCount = 2;
    int m_timeStampSelect = 0;
    RECT m_eventRect{};
    RECT m_moreRect{};
};

}  // namespace Orvo
