#include "orvo/list_base.h"

#include <algorithm>

#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "text_format.h"

namespace Orvo {
namespace {

constexpr int kWheelSteps = 10;
constexpr int kDragTextMaxWidth = 300;

}  // namespace

RowListBase::RowListBase(MObject* parent, UINT id, const RECT& rect, int visible)
    : MPanel(parent, id, rect, visible),
      m_highlight(Manager::GetSelectColor()),
      m_highlight2(Manager::GetSelectColor()) {
    m_format.SetAlignment(Gdiplus::StringAlignmentNear);
    m_format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    m_format.SetFormatFlags(kSingleLineFormatFlags);
}

RowListBase::~RowListBase() {
    // First the editor: its window's last messages must not find the rows gone.
    m_editor.reset();
}

int RowListBase::GetItemCount() {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    return static_cast<int>(m_rows.size());
}

ListRow* RowListBase::RowAt(int index) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    if (index < 0 || index >= static_cast<int>(m_rows.size())) {
        return nullptr;
    }
    return m_rows[static_cast<size_t>(index)].get();
}

int RowListBase::RowHeight() const {
    const int height = static_cast<int>(static_cast<float>(m_itemHeight) * m_scale);
    return height > 0 ? height : 1;
}

bool RowListBase::IsBarShown() const {
    return GetScrollVertical() != nullptr && GetScrollVertical()->IsVisible();
}

int RowListBase::GetScrollRange() const {
    return GetScrollVertical() != nullptr ? GetScrollVertical()->GetScrollRange() : 0;
}

int RowListBase::GetScrollPos() const {
    return GetScrollVertical() != nullptr ? GetScrollVertical()->GetScrollPos() : 0;
}

int RowListBase::VisibleWidth() {
    const MScroll* bar = GetScrollVertical();
    const int barWidth = bar != nullptr && bar->IsVisible() ? bar->GetRect().Width() : 0;
    return std::max(0, m_rect.Width() - barWidth);
}

void RowListBase::UpdateBar() {
    // The panel shows the bar only while the rows are taller than the control.
    SetVirtualHeight(GetItemCount() * m_itemHeight);
    if (!IsBarShown() && GetScrollVertical() != nullptr) {
        GetScrollVertical()->SetScrollCurrentPos(0);
    }
}

void RowListBase::SetScrollPos(int position) {
    MScroll* bar = GetScrollVertical();
    if (bar == nullptr) {
        return;
    }
    const int before = bar->GetScrollPos();
    bar->SetScrollCurrentPos(std::clamp(position, 0, IsBarShown() ? bar->GetScrollRange() : 0));
    if (bar->GetScrollPos() != before) {
        UpdateControl(true);
    }
}

void RowListBase::SetControlRect(const CRect& rect) {
    // A new size changes whether the rows fit; the range stays the rows' height.
    MPanel::SetControlRect(rect);
    UpdateBar();
    m_firstVisible = -1;
    m_lastVisible = -1;
}

int RowListBase::InsertRow(int index, std::unique_ptr<ListRow> row, bool scrollToEnd) {
    int count = 0;
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        count = static_cast<int>(m_rows.size());
        if (index < -1 || index > count - 1) {
            return -1;
        }
        if (index == -1 || m_rows.empty()) {
            m_rows.push_back(std::move(row));
        } else {
            m_rows.insert(m_rows.begin() + index, std::move(row));
            if (m_editIndex >= index) {
                ++m_editIndex;
            }
            if (m_selected >= index) {
                ++m_selected;
            }
        }
        count = static_cast<int>(m_rows.size());
    }
    UpdateBar();
    if (scrollToEnd && IsBarShown()) {
        GetScrollVertical()->SetScrollFinalPos();
    }
    UpdateControl(true);
    return count - 1;
}

int RowListBase::SetCurSel(int index) {
    if (index < -1 || index >= GetItemCount()) {
        return 0;
    }
    if (index == m_selected) {
        return 1;
    }
    m_selected = index;
    UpdateControl(true);
    return 1;
}

bool RowListBase::Select(int index) {
    if (index == m_selected) {
        return false;
    }
    m_selected = index;
    return true;
}

BOOL RowListBase::SwapItem(int first, int second) {
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    const int count = static_cast<int>(m_rows.size());
    if (first < 0 || second < 0 || first >= count || second >= count || first == second) {
        return FALSE;
    }
    std::swap(m_rows[static_cast<size_t>(first)], m_rows[static_cast<size_t>(second)]);
    return TRUE;
}

RECT RowListBase::GetItemRect(int) const {
    return RECT{0, 0, 0, 0};
}

void RowListBase::CancelEdit() {
    if (m_editor != nullptr) {
        m_editor->Close();
    }
    m_editIndex = -1;
    m_focused = 0;
}

BOOL RowListBase::DeleteItem(int index) {
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        if (index < 0 || index >= static_cast<int>(m_rows.size())) {
            return FALSE;
        }
        if (m_editIndex == index) {
            CancelEdit();
        } else if (m_editIndex > index) {
            --m_editIndex;
        }
        m_hover = -1;
        m_selected = -1;
        m_rows.erase(m_rows.begin() + index);
    }
    UpdateBar();
    m_firstVisible = -1;
    m_lastVisible = -1;
    UpdateControl(true);
    return TRUE;
}

BOOL RowListBase::DeleteAllItems() {
    CancelEdit();
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        m_rows.clear();
        m_hover = -1;
        m_selected = -1;
    }
    UpdateBar();
    m_firstVisible = -1;
    m_lastVisible = -1;
    UpdateControl(true);
    return TRUE;
}

void RowListBase::SetScaleValue(float scale) {
    if (scale > 0.0f) {
        m_scale = scale;
        UpdateControl(true);
    }
}

RECT RowListBase::RowOnScreen(const RECT& bandRect) const {
    RECT rect = bandRect;
    ::OffsetRect(&rect, m_rect.left, m_rect.top - m_contentOffset);
    return rect;
}

bool RowListBase::InRowArea(POINT point) {
    if (!m_rect.PtInRect(point)) {
        return false;
    }
    // The bar's strip at the right edge belongs to the bar, not to a row.
    return point.x < m_rect.left + VisibleWidth();
}

int RowListBase::RowAtPoint(POINT point) {
    if (!InRowArea(point) || m_firstVisible < 0) {
        return -1;
    }
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    const int count = static_cast<int>(m_rows.size());
    if (m_hover >= 0 && m_hover < count) {
        const RECT screen = RowOnScreen(m_rows[static_cast<size_t>(m_hover)]->rect);
        if (::PtInRect(&screen, point)) {
            return m_hover;
        }
    }
    for (int i = m_firstVisible; i <= m_lastVisible && i < count; ++i) {
        const RECT screen = RowOnScreen(m_rows[static_cast<size_t>(i)]->rect);
        if (::PtInRect(&screen, point)) {
            return i;
        }
    }
    return -1;
}

BOOL RowListBase::OnControlMouseMove(UINT, POINT point) {
    if (GetItemCount() == 0 || !m_enabled || m_firstVisible < 0) {
        return FALSE;
    }
    const int hover = RowAtPoint(point);
    if (hover != m_hover) {
        m_hover = hover;
        UpdateControl(true);
    }
    return m_rect.PtInRect(point) ? TRUE : FALSE;
}

BOOL RowListBase::OnControlScroll(int, int down, POINT) {
    if (GetItemCount() * m_itemHeight <= m_rect.Height()) {
        return FALSE;
    }
    const MScroll* bar = GetScrollVertical();
    const int step = (bar != nullptr ? bar->GetScrollStep() : 0) * kWheelSteps;
    SetScrollPos(GetScrollPos() + (down ? step : -step));
    return TRUE;
}

long RowListBase::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if ((controlId == kVerticalBarId || controlId == kHorizontalBarId) && code == kNotifyScroll) {
        UpdateControl(true);
    }
    return MPanel::OnMessage(controlId, code, wParam, lParam);
}

void RowListBase::SetControlFocus(int focus) {
    if (!focus) {
        HideEdit(1);
        UpdateControl(true);
    }
}

void RowListBase::ShowEdit() {
    if ((EditNeedsFlag() && !m_showEdit) || !m_enabled || m_manager == nullptr) {
        return;
    }
    ListRow* row = RowAt(m_selected);
    if (row == nullptr) {
        return;
    }
    m_editIndex = m_selected;
    const RECT place = EditorRect(RowOnScreen(row->rect));
    const std::wstring text = EditorText(*row);
    if (m_editor == nullptr) {
        m_editor = std::make_unique<CEditWindow>(this, this);
    }
    const EditorLook look = GetEditorLook();
    m_editor->SetColors(look.background, look.text);
    m_editor->SetMaxLength(look.maxLength);
    if (m_editor->GetSafeHwnd() == nullptr && !m_editor->Create(place)) {
        m_editIndex = -1;
        return;
    }
    m_editor->Open(place, text, false);
    m_focused = 1;
    UpdateControl(true);
    OnEditOpened();
}

bool RowListBase::StoreEditorText(ListRow& row, const std::wstring& text) {
    if (text == row.text) {
        return false;
    }
    row.text = text;
    return true;
}

void RowListBase::HideEdit(int force) {
    if (EditNeedsFlag() && !m_showEdit) {
        return;
    }
    if (m_editIndex == m_selected && !force) {
        return;
    }
    m_focused = 0;
    if (m_editor == nullptr || m_editor->GetSafeHwnd() == nullptr || m_editIndex < 0) {
        m_editIndex = -1;
        return;
    }
    const int edited = m_editIndex;
    const std::wstring text = m_editor->GetText();
    bool changed = false;
    {
        std::lock_guard<std::recursive_mutex> lock(m_rowLock);
        if (ListRow* row = RowAt(edited)) {
            changed = StoreEditorText(*row, text);
        }
    }
    m_editIndex = -1;
    m_editor->Close();
    if (changed) {
        SendMessageW(kNotifyEditClosed, 0, static_cast<LPARAM>(edited));
    }
    UpdateControl(true);
}

void RowListBase::OnInlineEditEnd(bool keep) {
    if (!keep && m_editor != nullptr) {
        if (ListRow* row = RowAt(m_editIndex)) {
            m_editor->SetText(EditorText(*row));
        }
    }
    HideEdit(1);
}

void RowListBase::OnInlineEditFocusLost() {
    HideEdit(1);
}

void RowListBase::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    const int itemHeight = SafeItemHeight();
    const int rowHeight = RowHeight();
    std::lock_guard<std::recursive_mutex> lock(m_rowLock);
    const int count = static_cast<int>(m_rows.size());
    const int range = GetScrollRange();
    const int position = GetScrollPos();
    // How far the rows are scrolled, in pixels.
    int offset = 0;
    const int overflow = count * itemHeight - height;
    if (range > 0 && overflow > 0) {
        offset = static_cast<int>(static_cast<long long>(overflow) * position / range);
    }
    m_firstVisible = std::max(0, offset / itemHeight);
    m_lastVisible = std::max(0, std::min(count - 1, (height + offset) / itemHeight));
    const int bandHeight = std::max(height, (m_lastVisible - m_firstVisible + 1) * itemHeight);
    m_contentOffset = std::max(0, offset - m_firstVisible * itemHeight);
    if (m_contentOffset + height > bandHeight) {
        m_contentOffset = bandHeight - height;
    }
    if (!m_cacheValid || m_cache.GetSize().cy != bandHeight) {
        HDC band = UpdateMemDC(hdc, width, bandHeight);
        if (band == nullptr) {
            return;
        }
        MRender::FillSolidRect(band, 0, 0, width, bandHeight, ColorRef(0xFFFFFF));
        // What lies under the control shows behind the rows in the part that is on screen.
        MRender::DrawVerticalTransition(
            band, hdc, CRect(0, m_contentOffset, width, m_contentOffset + height),
            CRect(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom), 0, 0);
        if (count > 0) {
            const int visibleWidth = VisibleWidth();
            std::unique_ptr<Gdiplus::Font> font = MakeControlFont(*this);
            Gdiplus::Graphics graphics(band);
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
            for (int i = m_firstVisible; i <= m_lastVisible && i < count; ++i) {
                ListRow& row = *m_rows[static_cast<size_t>(i)];
                const int top = (i - m_firstVisible) * rowHeight;
                row.rect = RECT{0, top, visibleWidth, top + rowHeight};
                DrawRow(graphics, band, i, row, visibleWidth, font.get());
            }
        }
    }
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, GetMemDC(), 0, m_contentOffset, SRCCOPY);
}

HBITMAP RowListBase::MakeDragBitmap() {
    if (!m_enabled || m_hover < 0) {
        return nullptr;
    }
    ListRow* row = RowAt(m_hover);
    if (row == nullptr) {
        return nullptr;
    }
    m_selected = m_hover;
    std::unique_ptr<Gdiplus::Font> font = MakeControlFont(*this, 2);
    int textWidth = 0;
    if (font != nullptr) {
        textWidth = MRender::GetTextBounds(font.get(), &m_format, row->text.c_str()).cx;
    }
    const int width = std::min(textWidth + m_dragExtraWidth + 10, kDragTextMaxWidth);
    const int height = std::max(1, static_cast<int>(row->rect.bottom - row->rect.top));
    HDC screen = ::GetDC(nullptr);
    DWORD* bits = nullptr;
    HBITMAP bitmap = MRender::CreateARGB32Bitmap(screen, width, height, bits);
    ::ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) {
        return nullptr;
    }
    HDC dc = ::CreateCompatibleDC(nullptr);
    {
        ScopedSelectObject selected(dc, bitmap);
        Gdiplus::Graphics graphics(dc);
        graphics.Clear(Gdiplus::Color(0xE61C2027));
        if (font != nullptr) {
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
            Gdiplus::SolidBrush brush{Gdiplus::Color(m_textColor.Value())};
            graphics.DrawString(row->text.c_str(), static_cast<INT>(row->text.size()), font.get(),
                                Gdiplus::RectF(10.0f, 0.0f, static_cast<Gdiplus::REAL>(width - 10),
                                               static_cast<Gdiplus::REAL>(height)),
                                &m_format, &brush);
        }
    }
    ::DeleteDC(dc);
    UpdateControl(true);
    return bitmap;
}

}  // namespace Orvo
