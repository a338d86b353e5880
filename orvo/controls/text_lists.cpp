#include <algorithm>

#include "orvo/image_list.h"
#include "orvo/lists.h"
#include "orvo/render.h"
#include "text_format.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MacroList);
ORVO_REGISTER_CONTROL(DListBox);
ORVO_REGISTER_CONTROL(MListBox);

namespace {

// A band of font size + 6 pixels, vertically centred in a row on screen.
RECT CentredBand(const RECT& row, int left, int right, int height) {
    const int top = row.top + ((row.bottom - row.top) - height) / 2;
    return RECT{left, top, right, top + height};
}

// A row strip frame stretched over dest, keeping 3-pixel edges (the accent bar) unscaled.
void DrawRowStrip(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int count, int frame,
                  const RECT& dest) {
    if (image == nullptr || dest.right <= dest.left || dest.bottom <= dest.top) {
        return;
    }
    const int frameWidth = SkinFrameWidth(image, count);
    const int safeFrame = std::clamp(frame, 0, std::max(1, count) - 1);
    MRender::DrawImageFrame(&graphics, image, dest, safeFrame * frameWidth, 0, frameWidth,
                            static_cast<int>(image->GetHeight()), 3);
}

Gdiplus::RectF BoxF(int x, int y, int width, int height) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                          static_cast<Gdiplus::REAL>(std::max(0, width)),
                          static_cast<Gdiplus::REAL>(std::max(0, height)));
}

}  // namespace

TextRowList::TextRowList(MObject* parent, UINT id, const RECT& rect, int visible)
    : RowListBase(parent, id, rect, visible) {}

ListItem* TextRowList::ItemAt(int index) {
    return static_cast<ListItem*>(RowAt(index));
}

int TextRowList::AddString(const wchar_t* text, int image) {
    return AddString(text, 0, image);
}

int TextRowList::AddString(const wchar_t* text, long data, int image) {
    auto item = std::make_unique<ListItem>();
    item->text = text != nullptr ? text : L"";
    item->image = image;
    item->data = data;
    return InsertRow(-1, std::move(item), ScrollsToNewRows());
}

int TextRowList::InsertString(int index, const wchar_t* text, int image, long data) {
    auto item = std::make_unique<ListItem>();
    item->text = text != nullptr ? text : L"";
    item->image = image;
    item->data = data;
    return InsertRow(index, std::move(item), ScrollsToNewRows());
}

BOOL TextRowList::SetItemData(int index, long data) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    ListItem* item = ItemAt(index);
    if (item == nullptr) {
        return FALSE;
    }
    item->data = data;
    return TRUE;
}

long TextRowList::GetItemData(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    ListItem* item = ItemAt(index);
    return item != nullptr ? item->data : 0;
}

std::wstring TextRowList::GetItemText(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    ListItem* item = ItemAt(index);
    return item != nullptr ? item->text : std::wstring();
}

BOOL TextRowList::ModifyItemString(int index, const wchar_t* text) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    ListItem* item = ItemAt(index);
    if (item == nullptr) {
        return FALSE;
    }
    item->text = text != nullptr ? text : L"";
    return TRUE;
}

int TextRowList::FindString(const wchar_t* text) {
    const std::wstring wanted = text != nullptr ? text : L"";
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i]->text == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TextRowList::FindItemData(long data) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (static_cast<ListItem*>(m_rows[i].get())->data == data) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TextRowList::SetCurData(long data) {
    const int index = FindItemData(data);
    return index < 0 ? -1 : SetCurSel(index);
}

long TextRowList::GetCurData() {
    return GetItemData(m_selected);
}

HBITMAP TextRowList::GetControlDropBitmap() {
    return MakeDragBitmap();
}

MacroList::MacroList(MObject* parent, UINT id, const RECT& rect, int visible)
    : TextRowList(parent, id, rect, visible) {
    SetTextColor(Argb(0xFFB8D3EF));
}

int MacroList::SetImage(const wchar_t* fileName, int count) {
    std::unique_ptr<Gdiplus::Image> image = LoadSkinImage(fileName);
    if (image == nullptr) {
        return 0;
    }
    m_rowImage = std::move(image);
    m_rowImageCount = std::max(1, count);
    UpdateControl(true);
    return 1;
}

int MacroList::SetEditImage(const wchar_t* fileName, int count) {
    std::unique_ptr<Gdiplus::Image> image = LoadSkinImage(fileName);
    if (image == nullptr) {
        return 0;
    }
    m_editImage = std::move(image);
    m_editImageCount = std::max(1, count);
    UpdateControl(true);
    return 1;
}

RECT MacroList::GetEditIconRect() const {
    if (m_editImage == nullptr) {
        return RECT{0, 0, 0, 0};
    }
    const int width = SkinFrameWidth(m_editImage.get(), m_editImageCount);
    const int height = static_cast<int>(m_editImage->GetHeight());
    const int visibleWidth = const_cast<MacroList*>(this)->VisibleWidth();
    const int x = visibleWidth - width - 15;
    const int y = (RowHeight() - height) / 2;
    return RECT{x, y, x + width, y + height};
}

RowListBase::EditorLook MacroList::GetEditorLook() const {
    return EditorLook{ColorRef(0x50533D), ColorRef(0xFFFFFF), 30};
}

RECT MacroList::EditorRect(const RECT& row) const {
    return CentredBand(row, row.left + 15, row.right - 50, m_fontSize + 6);
}

void MacroList::DrawRow(Gdiplus::Graphics& graphics, HDC, int index, ListRow& row, int visibleWidth,
                        Gdiplus::Font* font) {
    const int height = RowHeight();
    const bool edited = m_showEdit && index == m_editIndex;
    const bool active = index == m_hover || index == m_selected || edited;
    DrawRowStrip(graphics, m_rowImage.get(), m_rowImageCount, active ? 1 : 0,
                 RECT{0, row.rect.top, visibleWidth, row.rect.top + height - 1});
    if (edited) {
        return;
    }
    if (m_editImage != nullptr) {
        RECT icon = GetEditIconRect();
        ::OffsetRect(&icon, 0, row.rect.top);
        DrawStripFrame(
            graphics, m_editImage.get(), m_editImageCount, index == m_selected ? 2 : 0,
            Gdiplus::Rect(icon.left, icon.top, icon.right - icon.left, icon.bottom - icon.top));
    }
    if (font != nullptr) {
        Gdiplus::SolidBrush brush{Gdiplus::Color(m_textColor.Value())};
        graphics.DrawString(row.text.c_str(), static_cast<INT>(row.text.size()), font,
                            BoxF(15, row.rect.top, visibleWidth - 50 - 15, height), &m_format,
                            &brush);
    }
}

BOOL MacroList::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    const bool changed = m_hover >= 0 && Select(m_hover);
    HideEdit(0);
    if (changed) {
        UpdateControl(true);
    }
    return TRUE;
}

BOOL MacroList::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    const bool changed = Select(m_hover);
    bool onIcon = false;
    if (ListRow* row = RowAt(m_hover)) {
        RECT icon = GetEditIconRect();
        const RECT screen = RowOnScreen(row->rect);
        ::OffsetRect(&icon, screen.left, screen.top);
        onIcon = ::PtInRect(&icon, point) != FALSE;
    }
    if (changed) {
        UpdateControl(true);
    }
    SendMessageW(onIcon ? kNotifySecondary : kNotifyClicked, static_cast<WPARAM>(m_selected));
    return TRUE;
}

BOOL MacroList::OnControlLButtonDblClk(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    Select(m_hover);
    ShowEdit();
    UpdateControl(true);
    return TRUE;
}

BOOL MacroList::OnControlRButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    if (Select(m_hover)) {
        UpdateControl(true);
    }
    SendMessageW(kNotifyItemRightUp, static_cast<WPARAM>(m_selected));
    return TRUE;
}

DListBox::DListBox(MObject* parent, UINT id, const RECT& rect, int visible)
    : TextRowList(parent, id, rect, visible) {}

int DListBox::SetEditImage(const wchar_t* fileName, int) {
    std::unique_ptr<Gdiplus::Image> image = LoadSkinImage(fileName);
    if (image == nullptr) {
        return 0;
    }
    m_editImage = std::move(image);
    return 1;
}

RowListBase::EditorLook DListBox::GetEditorLook() const {
    return EditorLook{ColorRef(0xFFFFFF), ColorRef(0x050505), 120};
}

RECT DListBox::EditorRect(const RECT& row) const {
    return CentredBand(row, row.left + 6, row.right - 6, m_fontSize + 6);
}

void DListBox::DrawRow(Gdiplus::Graphics& graphics, HDC band, int index, ListRow& row,
                       int visibleWidth, Gdiplus::Font*) {
    const bool active = index == m_hover || index == m_selected;
    const RECT box{0, row.rect.top, visibleWidth, row.rect.top + m_itemHeight};
    if (active) {
        Gdiplus::SolidBrush fill{Gdiplus::Color(m_highlight.Value())};
        graphics.FillRectangle(&fill, 1, row.rect.top, std::max(0, visibleWidth - 2), m_itemHeight);
        // GDI text below writes into the band directly.
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    MRender::DrawTextW(band, box, row.text.c_str(),
                       active ? ColorRef(0x050505) : m_textColor.ToColorRef(), GetGDIFont(),
                       DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

BOOL DListBox::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    const bool changed = m_hover >= 0 && Select(m_hover);
    HideEdit(0);
    if (changed) {
        UpdateControl(true);
    }
    return TRUE;
}

BOOL DListBox::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    if (Select(m_hover)) {
        UpdateControl(true);
    }
    SendMessageW(kNotifyClicked, static_cast<WPARAM>(m_selected));
    return TRUE;
}

BOOL DListBox::OnControlLButtonDblClk(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    if (Select(m_hover)) {
        UpdateControl(true);
    }
    return TRUE;
}

BOOL DListBox::OnControlRButtonDown(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    Select(m_hover);
    ShowEdit();
    UpdateControl(true);
    return TRUE;
}

BOOL DListBox::OnControlRButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    if (Select(m_hover)) {
        UpdateControl(true);
    }
    SendMessageW(kNotifyItemRightUp, static_cast<WPARAM>(m_selected));
    return TRUE;
}

MListBox::MListBox(MObject* parent, UINT id, const RECT& rect, int visible)
    : TextRowList(parent, id, rect, visible) {
    SetTextColor(Argb(0xFEFFFFFF));
    m_dragExtraWidth = 30;
}

int MListBox::SetImage(const wchar_t* fileName, int) {
    std::unique_ptr<Gdiplus::Image> image = LoadSkinImage(fileName);
    if (image == nullptr) {
        return 0;
    }
    m_editedImage = std::move(image);
    UpdateControl(true);
    return 1;
}

RowListBase::EditorLook MListBox::GetEditorLook() const {
    return EditorLook{ColorRef(0xF8F8F7), m_textColor.ToColorRef(), 120};
}

RECT MListBox::EditorRect(const RECT& row) const {
    const int left = row.left + 3 + (m_imageList != nullptr ? m_dragExtraWidth : 0);
    int height = m_fontSize + 6;
    if (m_fontSize == 8) {
        height = 12;
    } else if (m_fontSize == 14) {
        height += 1;
    }
    return CentredBand(row, left, row.right - 1, height);
}

void MListBox::DrawRow(Gdiplus::Graphics& graphics, HDC, int index, ListRow& row, int visibleWidth,
                       Gdiplus::Font* font) {
    const ListItem& item = static_cast<ListItem&>(row);
    const int top = row.rect.top;
    const bool edited = m_showEdit && index == m_editIndex;
    if (edited && m_editedImage != nullptr) {
        MRender::DrawImageFrame(&graphics, m_editedImage.get(),
                                RECT{0, top, visibleWidth, top + m_itemHeight}, 0, 0,
                                static_cast<int>(m_editedImage->GetWidth()),
                                static_cast<int>(m_editedImage->GetHeight()), 6);
    } else if (index == m_selected || index == m_hover) {
        Gdiplus::SolidBrush fill{
            Gdiplus::Color((index == m_selected ? m_highlight2 : m_highlight).Value())};
        graphics.FillRectangle(&fill, 0, top, visibleWidth, m_itemHeight);
    }
    if (m_imageList != nullptr && item.image != -1) {
        const RECT column{5, top, 5 + m_dragExtraWidth, top + m_itemHeight};
        m_imageList->DrawItemIcon(&graphics, column, item.image, 0);
    }
    if (edited || font == nullptr) {
        return;
    }
    const int left = m_imageList != nullptr ? 35 : 5;
    Gdiplus::SolidBrush brush{Gdiplus::Color(m_textColor.Value())};
    graphics.DrawString(row.text.c_str(), static_cast<INT>(row.text.size()), font,
                        BoxF(left, top, visibleWidth - left, m_itemHeight), &m_format, &brush);
}

BOOL MListBox::OnControlLButtonDown(UINT, POINT point) {
    if (!m_rect.PtInRect(point)) {
        return FALSE;
    }
    if (!m_enabled) {
        // A disabled list still takes the press, so nothing under it gets it.
        return TRUE;
    }
    const bool changed = m_hover >= 0 && Select(m_hover);
    HideEdit(0);
    if (changed) {
        UpdateControl(true);
    }
    if (m_hover >= 0) {
        SendMessageW(kNotifyPressed, static_cast<WPARAM>(m_hover));
    }
    return TRUE;
}

BOOL MListBox::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    if (Select(m_hover)) {
        UpdateControl(true);
    }
    return TRUE;
}

BOOL MListBox::OnControlLButtonDblClk(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    Select(m_hover);
    ShowEdit();
    UpdateControl(true);
    return TRUE;
}

BOOL MListBox::OnControlRButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    if (Select(m_hover)) {
        UpdateControl(true);
    }
    SendMessageW(kNotifyItemRightUp, static_cast<WPARAM>(m_selected));
    return TRUE;
}

}  // namespace Orvo
