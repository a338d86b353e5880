#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <utility>

#include "orvo/lists.h"
#include "orvo/render.h"
#include "text_format.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(CRecordList);

namespace {

// Types 2/3 and 4/5 are press/release pairs; types 4 to 12 are mouse events.
constexpr int kNotAnEvent = 1;

bool IsMouseEvent(int type) {
    return type >= 4 && type <= 12;
}

int DownPartner(int type) {
    return type == 3 ? 2 : type == 5 ? 4 : 0;
}

// A typed delay: its leading integer (0 when there is none), kept in the delay range.
int ParseDelay(const std::wstring& text) {
    long long value = 0;
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) {
        ++i;
    }
    bool digits = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        digits = true;
        value = value * 10 + (text[i] - L'0');
        if (value > CRecordList::kMaxDelay) {
            value = CRecordList::kMaxDelay;
        }
    }
    if (!digits) {
        value = 0;
    }
    return static_cast<int>(
        std::clamp<long long>(value, CRecordList::kMinDelay, CRecordList::kMaxDelay));
}

Gdiplus::RectF BoxF(int x, int y, int width, int height) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                          static_cast<Gdiplus::REAL>(std::max(0, width)),
                          static_cast<Gdiplus::REAL>(std::max(0, height)));
}

// Keeps a loaded skin strip of `count` frames (at least one); false when it did not load.
bool KeepStrip(std::unique_ptr<Gdiplus::Image> loaded, int count,
               std::unique_ptr<Gdiplus::Image>& image, int& frames) {
    if (loaded == nullptr) {
        return false;
    }
    image = std::move(loaded);
    frames = std::max(1, count);
    return true;
}

}  // namespace

CRecordList::CRecordList(MObject* parent, UINT id, const RECT& rect, int visible)
    : RowListBase(parent, id, rect, visible) {
    m_dragExtraWidth = 0;
}

RecordItem* CRecordList::RecordAt(int index) {
    return static_cast<RecordItem*>(RowAt(index));
}

void CRecordList::LayoutIcons() {
    const int rowHeight = RowHeight();
    if (m_eventImage != nullptr) {
        const int width = SkinFrameWidth(m_eventImage.get(), m_eventImageCount);
        const int height = static_cast<int>(m_eventImage->GetHeight());
        const int x = static_cast<int>(70.0f * m_scale);
        const int y = (rowHeight - height) / 2;
        m_eventRect = RECT{x, y, x + width, y + height};
    }
    if (m_moreImage != nullptr) {
        const int width = SkinFrameWidth(m_moreImage.get(), m_moreImageCount);
        const int height = static_cast<int>(m_moreImage->GetHeight());
        const int x = VisibleWidth() - width - 15;
        const int y = (rowHeight - height) / 2;
        m_moreRect = RECT{x, y, x + width, y + height};
    }
}

void CRecordList::SetControlRect(const CRect& rect) {
    RowListBase::SetControlRect(rect);
    LayoutIcons();
}

int CRecordList::SetImage(const wchar_t* fileName, int count) {
    if (!KeepStrip(LoadSkinImage(fileName), count, m_eventImage, m_eventImageCount)) {
        return 0;
    }
    LayoutIcons();
    UpdateControl(true);
    return 1;
}

int CRecordList::SetMoreImage(const wchar_t* fileName, int count) {
    if (!KeepStrip(LoadSkinImage(fileName), count, m_moreImage, m_moreImageCount)) {
        return 0;
    }
    LayoutIcons();
    UpdateControl(true);
    return 1;
}

int CRecordList::SetItemImage(const wchar_t* fileName, int count) {
    if (!KeepStrip(LoadSkinImage(fileName), count, m_rowImage, m_rowImageCount)) {
        return 0;
    }
    UpdateControl(true);
    return 1;
}

int CRecordList::AddString(const wchar_t* text, int type, int key, int value) {
    auto item = std::make_unique<RecordItem>();
    item->text = text != nullptr ? text : L"";
    item->type = type;
    item->key = key;
    item->value = value;
    return InsertRow(-1, std::move(item), true);
}

int CRecordList::InsertString(int index, const wchar_t* text, int type, int key, int value) {
    auto item = std::make_unique<RecordItem>();
    item->text = text != nullptr ? text : L"";
    item->type = type;
    item->key = key;
    item->value = value;
    const int result = InsertRow(index, std::move(item), false);
    if (result >= 0) {
        m_timeStampSelect = 0;
    }
    return result;
}

bool CRecordList::UpdateDelayTime(int value) {
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        if (m_rows.empty()) {
            return false;
        }
        static_cast<RecordItem*>(m_rows.back().get())->value = value;
    }
    UpdateControl(true);
    return true;
}

void CRecordList::UpdateTimeStamp(int type, int key, int value) {
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        const int partner = DownPartner(type);
        for (size_t i = m_rows.size(); i-- > 0;) {
            auto* row = static_cast<RecordItem*>(m_rows[i].get());
            if (row->key != key) {
                continue;
            }
            if (row->type == type) {
                row->value = value;
            } else if (partner != 0 && row->type == partner) {
                row->value = value;
                break;
            }
        }
    }
    UpdateControl(true);
}

int CRecordList::GetEventCount() {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const auto& row) {
        return static_cast<const RecordItem*>(row.get())->type != kNotAnEvent;
    }));
}

int CRecordList::GetRecrodTimeStamp(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    RecordItem* row = RecordAt(index);
    return row != nullptr ? row->value : 0;
}

void CRecordList::SetTimeStampSelect(int value) {
    m_timeStampSelect = value;
    UpdateControl(true);
}

void CRecordList::SetRecordInfo(int value, int type, const wchar_t* text, int key) {
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        for (auto& entry : m_rows) {
            auto* row = static_cast<RecordItem*>(entry.get());
            if (row->value == value && row->type == type) {
                row->text = text != nullptr ? text : L"";
                row->key = key;
            }
        }
    }
    UpdateControl(true);
}

void CRecordList::SetRecordInfo(int index, const wchar_t* text, int type, int key, int value) {
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        RecordItem* row = RecordAt(index);
        if (row == nullptr) {
            return;
        }
        row->text = text != nullptr ? text : L"";
        row->type = type;
        row->key = key;
        row->value = value;
    }
    UpdateControl(true);
}

bool CRecordList::GetRecordInfo(int index, std::wstring& text, int& type, int& key, int& value) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    RecordItem* row = RecordAt(index);
    if (row == nullptr) {
        return false;
    }
    text = row->text;
    type = row->type;
    key = row->key;
    value = row->value;
    return true;
}

void CRecordList::DeleteTimeStamp(int value) {
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        CancelEdit();
        m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                                    [value](const auto& row) {
                                        return static_cast<RecordItem*>(row.get())->value == value;
                                    }),
                     m_rows.end());
        m_hover = -1;
        m_selected = -1;
    }
    UpdateBar();
    m_firstVisible = -1;
    m_lastVisible = -1;
    UpdateControl(true);
}

void CRecordList::MoveTop(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    if (index < 0 || index >= static_cast<int>(m_rows.size())) {
        return;
    }
    CancelEdit();
    std::unique_ptr<ListRow> row = std::move(m_rows[static_cast<size_t>(index)]);
    m_rows.erase(m_rows.begin() + index);
    m_rows.insert(m_rows.begin(), std::move(row));
    m_selected = 0;
}

void CRecordList::MoveBottom(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    if (index < 0 || index >= static_cast<int>(m_rows.size())) {
        return;
    }
    CancelEdit();
    std::unique_ptr<ListRow> row = std::move(m_rows[static_cast<size_t>(index)]);
    m_rows.erase(m_rows.begin() + index);
    m_rows.push_back(std::move(row));
    m_selected = static_cast<int>(m_rows.size()) - 1;
}

std::vector<RecordItem*> CRecordList::GetRecordItems() {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    std::vector<RecordItem*> items;
    items.reserve(m_rows.size());
    for (const auto& row : m_rows) {
        items.push_back(static_cast<RecordItem*>(row.get()));
    }
    return items;
}

void CRecordList::SetEditText(const wchar_t* text) {
    if (m_editor != nullptr) {
        m_editor->SetText(text != nullptr ? text : L"");
    }
}

std::wstring CRecordList::GetEditText() const {
    if (m_editor == nullptr || !m_editor->IsShown()) {
        return std::wstring();
    }
    return m_editor->GetText();
}

RowListBase::EditorLook CRecordList::GetEditorLook() const {
    return EditorLook{ColorRef(0x50533D), ColorRef(0xFFFFFF), 120};
}

RECT CRecordList::EditorRect(const RECT& row) const {
    const int height = m_fontSize + 6;
    const int top = row.top + ((row.bottom - row.top) - height) / 2;
    return RECT{row.left + 220, top, row.left + 320, top + height};
}

std::wstring CRecordList::EditorText(const ListRow& row) const {
    return std::to_wstring(static_cast<const RecordItem&>(row).value);
}

bool CRecordList::StoreEditorText(ListRow& row, const std::wstring& text) {
    auto& record = static_cast<RecordItem&>(row);
    const int value = ParseDelay(text);
    if (value == record.value) {
        return false;
    }
    record.value = value;
    return true;
}

void CRecordList::OnEditOpened() {
    SendMessageW(kNotifyEditOpened);
}

void CRecordList::DrawRow(Gdiplus::Graphics& graphics, HDC, int index, ListRow& row,
                          int visibleWidth, Gdiplus::Font* font) {
    const auto& record = static_cast<const RecordItem&>(row);
    const int height = RowHeight();
    const int top = row.rect.top;
    const bool edited = index == m_editIndex;
    const bool highlighted = index == m_selected || record.value == m_timeStampSelect;
    const bool active = index == m_hover || highlighted || edited;
    if (m_rowImage != nullptr) {
        const int frameWidth = SkinFrameWidth(m_rowImage.get(), m_rowImageCount);
        const int frame = std::min(active ? 1 : 0, m_rowImageCount - 1);
        MRender::DrawImageFrame(&graphics, m_rowImage.get(),
                                RECT{0, top, visibleWidth, top + height - 1}, frame * frameWidth, 0,
                                frameWidth, static_cast<int>(m_rowImage->GetHeight()), 3);
    }
    if (m_eventImage != nullptr) {
        const int frame = (IsMouseEvent(record.type) ? 2 : 0) + (highlighted ? 1 : 0);
        DrawStripFrame(graphics, m_eventImage.get(), m_eventImageCount, frame,
                       Gdiplus::Rect(m_eventRect.left, top + m_eventRect.top,
                                     m_eventRect.right - m_eventRect.left,
                                     m_eventRect.bottom - m_eventRect.top));
    }
    if (m_moreImage != nullptr) {
        DrawStripFrame(
            graphics, m_moreImage.get(), m_moreImageCount, highlighted ? 2 : 0,
            Gdiplus::Rect(m_moreRect.left, top + m_moreRect.top, m_moreRect.right - m_moreRect.left,
                          m_moreRect.bottom - m_moreRect.top));
    }
    if (font == nullptr) {
        return;
    }
    Gdiplus::SolidBrush brush{Gdiplus::Color(m_textColor.Value())};
    const std::wstring number = std::to_wstring(index);
    graphics.DrawString(number.c_str(), static_cast<INT>(number.size()), font,
                        BoxF(15, top, 50, height), &m_format, &brush);
    graphics.DrawString(record.text.c_str(), static_cast<INT>(record.text.size()), font,
                        BoxF(130, top, 90, height), &m_format, &brush);
    if (!edited) {
        const std::wstring value = std::to_wstring(record.value);
        graphics.DrawString(value.c_str(), static_cast<INT>(value.size()), font,
                            BoxF(220, top, 100, height), &m_format, &brush);
    }
}

BOOL CRecordList::OnControlLButtonDown(UINT, POINT point) {
    if (!m_rect.PtInRect(point)) {
        return FALSE;
    }
    if (!m_enabled) {
        // A disabled list still takes the press, so nothing under it gets it.
        return TRUE;
    }
    bool changed = false;
    if (m_hover >= 0) {
        changed = Select(m_hover);
    }
    HideEdit(0);
    if (RecordItem* row = RecordAt(m_selected)) {
        m_timeStampSelect = row->value;
        changed = true;
    }
    if (changed) {
        UpdateControl(true);
    }
    SendMessageW(kNotifyPressed, static_cast<WPARAM>(m_selected));
    return TRUE;
}

BOOL CRecordList::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    const bool changed = Select(m_hover);
    bool onMore = false;
    if (ListRow* row = RowAt(m_hover)) {
        RECT more = m_moreRect;
        const RECT screen = RowOnScreen(row->rect);
        ::OffsetRect(&more, screen.left, screen.top);
        onMore = ::PtInRect(&more, point) != FALSE;
    }
    if (changed) {
        UpdateControl(true);
    }
    SendMessageW(onMore ? kNotifySecondary : kNotifyClicked, static_cast<WPARAM>(m_selected));
    return TRUE;
}

BOOL CRecordList::OnControlLButtonDblClk(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    Select(m_hover);
    ShowEdit();
    UpdateControl(true);
    return TRUE;
}

BOOL CRecordList::OnControlRButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    if (Select(m_hover)) {
        UpdateControl(true);
    }
    SendMessageW(kNotifyItemRightUp, static_cast<WPARAM>(m_selected));
    return TRUE;
}

}  // namespace Orvo
