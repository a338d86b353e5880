#include "orvo/key_func.h"

#include "../cached_drawing.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(KeyFuncType);
ORVO_REGISTER_CONTROL(KeyFuncValue);

namespace {

constexpr int kIconLeft = 10;
constexpr int kIconFrames = 2;

}  // namespace

KeyFuncList::KeyFuncList(MObject* parent, UINT id, const RECT& rect, int visible, int enabled,
                         int rowHeight, int captionLeft, bool drawsIcons)
    : MPanel(parent, id, rect, visible),
      m_rowHeight(rowHeight),
      m_captionLeft(captionLeft),
      m_drawsIcons(drawsIcons) {
    m_enabled = enabled;
}

KeyFuncList::~KeyFuncList() = default;

void KeyFuncList::AddItem(const wchar_t* caption, int data, const wchar_t* iconFile) {
    Row row;
    row.caption = caption != nullptr ? caption : L"";
    row.data = data;
    if (iconFile != nullptr && *iconFile != L'\0') {
        const std::wstring path = Manager::GetSkinDirectory() + iconFile;
        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            row.icon = MRender::LoadImageFromFile(path.c_str());
            if (row.icon != nullptr) {
                row.iconFrameWidth = static_cast<int>(row.icon->GetWidth()) / kIconFrames;
                row.iconFrameHeight = static_cast<int>(row.icon->GetHeight());
            }
        }
    }
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    m_rows.push_back(std::move(row));
}

void KeyFuncList::ClearList() {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_rows.clear();
        m_selected = -1;
    }
    m_hover = -1;
    UpdateControl(TRUE);
}

void KeyFuncList::SetCurData(int data) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].data == data) {
                m_selected = static_cast<int>(i);
                break;
            }
        }
    }
    UpdateControl(TRUE);
}

int KeyFuncList::GetCurData() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_selected >= 0 && m_selected < static_cast<int>(m_rows.size())
               ? m_rows[static_cast<size_t>(m_selected)].data
               : 0;
}

int KeyFuncList::GetItemData(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return index >= 0 && index < static_cast<int>(m_rows.size())
               ? m_rows[static_cast<size_t>(index)].data
               : 0;
}

void KeyFuncList::SetSelectItem(int index) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index == m_selected) {
            return;
        }
        m_selected = index;
    }
    UpdateControl(TRUE);
}

int KeyFuncList::GetSelectItem() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_selected;
}

int KeyFuncList::SetItemText(int index, const wchar_t* caption) {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_rows.size())) {
        return 0;
    }
    m_rows[static_cast<size_t>(index)].caption = caption != nullptr ? caption : L"";
    return 1;
}

std::wstring KeyFuncList::GetItemText(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return index >= 0 && index < static_cast<int>(m_rows.size())
               ? m_rows[static_cast<size_t>(index)].caption
               : std::wstring();
}

int KeyFuncList::GetItemCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return static_cast<int>(m_rows.size());
}

CRect KeyFuncList::GetItemRect(int index) const {
    if (index < 0 || index >= GetItemCount()) {
        return CRect();
    }
    return CRect(0, index * m_rowHeight, m_rect.Width(), (index + 1) * m_rowHeight);
}

bool KeyFuncList::HasIcon(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return index >= 0 && index < static_cast<int>(m_rows.size()) &&
           m_rows[static_cast<size_t>(index)].icon != nullptr;
}

int KeyFuncList::RowAt(POINT point) const {
    if (!m_rect.PtInRect(point) || m_rowHeight <= 0) {
        return -1;
    }
    const int row = (point.y - m_rect.top) / m_rowHeight;
    return row < GetItemCount() ? row : -1;
}

BOOL KeyFuncList::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    int hover = -1;
    if (m_rect.PtInRect(point)) {
        const CRect current = GetItemRect(m_hover);
        const POINT local = {point.x - m_rect.left, point.y - m_rect.top};
        hover = m_hover >= 0 && current.PtInRect(local) ? m_hover : RowAt(point);
        ::SetCursor(::LoadCursorW(nullptr, hover >= 0 ? IDC_HAND : IDC_ARROW));
    } else {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
    if (hover != m_hover) {
        m_hover = hover;
        UpdateControl(TRUE);
    }
    return hover >= 0;
}

BOOL KeyFuncList::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_selected = m_hover;
    }
    UpdateControl(TRUE);
    return TRUE;
}

BOOL KeyFuncList::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hover < 0) {
        return FALSE;
    }
    SendMessageW(kNotifyClicked, 0, static_cast<LPARAM>(GetSelectItem()));
    return TRUE;
}

void KeyFuncList::SetControlRect(const CRect& rect) {
    MControl::SetControlRect(rect);
    if (MControl* bar = GetScrollVertical()) {
        const CRect before = bar->GetRect();
        CRect after = before;
        after.right = rect.right;
        after.left = rect.right - kScrollBarWidth;
        bar->SetRect(after);
        UpdateControl(CRect::Union(before, after), FALSE, TRUE);
    }
}

void KeyFuncList::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { Paint(cache); });
}

void KeyFuncList::Paint(HDC cache) {
    const int width = m_rect.Width();
    Gdiplus::Graphics graphics(cache);
    graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_renderingHint));
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeDefault);
    std::unique_ptr<Gdiplus::Font> font;
    if (Gdiplus::FontFamily* family = GetFontFamily(m_fontName.c_str())) {
        font = std::make_unique<Gdiplus::Font>(family, static_cast<Gdiplus::REAL>(m_fontSize),
                                               m_fontStyle, Gdiplus::UnitPixel);
    }
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
    Gdiplus::SolidBrush accent(Gdiplus::Color(Manager::GetSelectColor().Value()));

    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows[i];
        const int top = static_cast<int>(i) * m_rowHeight;
        const bool lit = static_cast<int>(i) == m_hover || static_cast<int>(i) == m_selected;
        if (m_drawsIcons && row.icon != nullptr && row.iconFrameWidth > 0) {
            const int frame = lit ? 1 : 0;
            MRender::DrawImageExact(
                &graphics, row.icon.get(),
                Gdiplus::Rect(kIconLeft, top + (m_rowHeight - row.iconFrameHeight) / 2,
                              row.iconFrameWidth, row.iconFrameHeight),
                frame * row.iconFrameWidth, 0, row.iconFrameWidth, row.iconFrameHeight);
        }
        if (font != nullptr && !row.caption.empty()) {
            graphics.DrawString(row.caption.c_str(), -1, font.get(),
                                Gdiplus::RectF(static_cast<Gdiplus::REAL>(m_captionLeft),
                                               static_cast<Gdiplus::REAL>(top),
                                               static_cast<Gdiplus::REAL>(width - m_captionLeft),
                                               static_cast<Gdiplus::REAL>(m_rowHeight)),
                                &format, lit ? &accent : &white);
        }
    }
}

}  // namespace Orvo
