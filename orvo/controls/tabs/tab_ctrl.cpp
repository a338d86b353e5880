#include "orvo/tab_ctrl.h"

#include <algorithm>
#include <cwchar>

#include "../cached_drawing.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MTabCtrl);
ORVO_REGISTER_CONTROL(CTabCtrl1);

namespace {

constexpr int kDefaultIconFrames = 3;
constexpr int kRowImageCorner = 8;

// The state-image frame of a column or band (0 normal, 1 hovered, 2 selected), as far as the
// image has frames.
int StateFrame(int column, int frameCount) {
    return std::min(column, std::max(frameCount - 1, 0));
}

// The fitted size of SetItemWidth/SetItemHeight: the preferred size while the tabs fit at it,
// never below the minimum, else what fits.
int FittedSize(int available, int count, int preferred, int minimum) {
    if (minimum <= 0 || count <= 0) {
        return preferred;
    }
    const int fit = available / count;
    if (fit >= preferred) {
        return preferred;
    }
    return fit < minimum ? minimum : fit;
}

Gdiplus::Font* NewFont(MControlFont& control, Gdiplus::FontFamily* family) {
    if (family == nullptr) {
        return nullptr;
    }
    return new Gdiplus::Font(family, static_cast<Gdiplus::REAL>(control.GetFontWidth()),
                             control.GetFontStyle(), Gdiplus::UnitPixel);
}

}  // namespace

MTabCtrl::MTabCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    m_imageCount = 3;
    m_hAlign = 1;
    m_vAlign = 4;
}

int MTabCtrl::InsertItem(UINT id, const wchar_t* text, const wchar_t* iconFile, MControl* page,
                         int frameCount, int width) {
    TabItemInfo tab;
    tab.id = id;
    tab.text = text != nullptr ? text : L"";
    tab.page = page;
    tab.iconFrameCount = frameCount == -1 ? kDefaultIconFrames : std::max(frameCount, 1);
    if (m_manager != nullptr && iconFile != nullptr && *iconFile != L'\0') {
        if (ImgResInfo* info = m_manager->AddImgResInfo(iconFile, tab.iconFrameCount)) {
            tab.icon = info->image.get();
            tab.iconFrameWidth = info->frameWidth;
            tab.iconFrameHeight = info->frameHeight;
        }
    }
    if (width != 0) {
        tab.iconFrameWidth = width;
    } else if (tab.iconFrameWidth == 0) {
        tab.iconFrameWidth = m_tabWidth;
    }
    m_tabs.push_back(tab);
    RefreshItems();
    return static_cast<int>(m_tabs.size()) - 1;
}

int MTabCtrl::GetItemCount() const {
    return static_cast<int>(m_tabs.size());
}

TabItemInfo* MTabCtrl::GetItemInfo(int index) {
    if (index < 0 || index >= GetItemCount()) {
        return nullptr;
    }
    return &m_tabs[static_cast<size_t>(index)];
}

int MTabCtrl::SetSelectItem(int index) {
    if (index == m_selected || index < -1 || index >= GetItemCount()) {
        return m_selected;
    }
    const int previous = m_selected;
    m_previous = previous;
    m_selected = index;
    m_hover = -1;
    SendMessageW(kNotifyPressed, static_cast<WPARAM>(index), 0);
    ShowOnlySelectedPage();
    if (m_animate && previous >= 0) {
        m_offsetX = 0;
        m_offsetY = 0;
        m_sliding = true;
    }
    Repaint(false);
    return previous;
}

bool MTabCtrl::SetItemText(int index, const wchar_t* text) {
    TabItemInfo* tab = GetItemInfo(index);
    if (tab == nullptr) {
        return false;
    }
    tab->text = text != nullptr ? text : L"";
    return true;
}

void MTabCtrl::SetItemVisible(int index, int visible) {
    if (TabItemInfo* tab = GetItemInfo(index)) {
        tab->visible = visible ? 1 : 0;
        RefreshItems();
    }
}

int MTabCtrl::GetItemVisible(int index) const {
    if (index < 0 || index >= GetItemCount()) {
        return 0;
    }
    return m_tabs[static_cast<size_t>(index)].visible;
}

UINT MTabCtrl::GetItemID(int index) const {
    if (index < 0 || index >= GetItemCount()) {
        return 0;
    }
    return m_tabs[static_cast<size_t>(index)].id;
}

void MTabCtrl::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) {
        return;
    }
    MControl* page = m_tabs[static_cast<size_t>(index)].page;
    m_tabs.erase(m_tabs.begin() + index);
    if (page != nullptr) {
        const std::vector<MControl*> children = GetControls();
        if (std::find(children.begin(), children.end(), page) != children.end()) {
            RemoveControl(page);
        }
    }
    if (m_selected == index) {
        m_selected = -1;
    } else if (m_selected > index) {
        --m_selected;
    }
    if (m_tooltipShown == index) {
        ClearTabTooltip();
    }
    RefreshItems();
}

void MTabCtrl::SetItemWidth(int preferred, int minimum, int refresh) {
    const int width = FittedSize(m_rect.Width() - m_leftPadding - m_rightPadding, GetItemCount(),
                                 preferred, minimum);
    if (width != m_tabWidth) {
        m_tabWidth = width;
        if (refresh) {
            RefreshItems();
        }
    }
}

void MTabCtrl::SetItemHeight(int preferred, int minimum, int refresh) {
    const int height = FittedSize(m_rect.Height() - m_topPadding - m_bottomPadding, GetItemCount(),
                                  preferred, minimum);
    if (height != m_tabHeight) {
        m_tabHeight = height;
        if (refresh) {
            RefreshItems();
        }
    }
}

void MTabCtrl::SetTabCtrlWidth(int width) {
    m_stripWidth = width;
    RefreshItems();
}

void MTabCtrl::SetTabCtrlHeight(int height) {
    m_stripHeight = height;
    RefreshItems();
}

void MTabCtrl::SetLeftRightPading(int left, int right) {
    m_leftPadding = left;
    m_rightPadding = right;
    RefreshItems();
}

void MTabCtrl::SetTopBottomPading(int top, int bottom) {
    m_topPadding = top;
    m_bottomPadding = bottom;
    RefreshItems();
}

int MTabCtrl::StripWidth() const {
    return m_stripWidth > 0 ? m_stripWidth : m_rect.Width() - m_leftPadding - m_rightPadding;
}

int MTabCtrl::StripHeight() const {
    return m_stripHeight > 0 ? m_stripHeight : m_rect.Height() - m_topPadding - m_bottomPadding;
}

void MTabCtrl::RefreshItems() {
    int x = m_rect.left + m_leftPadding;
    int y = m_rect.top + m_topPadding;
    int lastVisible = -1;
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        TabItemInfo& tab = m_tabs[i];
        if (!tab.visible) {
            tab.rect = RECT{0, 0, 0, 0};
            continue;
        }
        lastVisible = static_cast<int>(i);
        if (m_tabType == 1) {
            tab.rect = RECT{x, y, x + StripWidth(), y + m_tabHeight};
            y += m_tabHeight + 1;
        } else {
            tab.rect = RECT{x, y, x + m_tabWidth, y + StripHeight()};
            x += m_tabWidth;
        }
    }
    if (m_selected < 0 || m_selected >= GetItemCount() ||
        !m_tabs[static_cast<size_t>(m_selected)].visible) {
        m_selected = lastVisible;
    }
    if (m_hover >= GetItemCount()) {
        m_hover = -1;
    }
    ShowOnlySelectedPage();
    Repaint(true);
}

void MTabCtrl::RefreshItemData() {
    for (TabItemInfo& tab : m_tabs) {
        if (tab.icon != nullptr && tab.iconFrameCount > 0) {
            tab.iconFrameHeight = static_cast<int>(tab.icon->GetHeight());
        }
    }
    Repaint(true);
}

void MTabCtrl::ShowOnlySelectedPage() {
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        MControl* page = m_tabs[i].page;
        if (page != nullptr) {
            page->SetVisible(static_cast<int>(i) == m_selected ? 1 : 0);
        }
    }
}

void MTabCtrl::SetTabTooltip(int index, const wchar_t* text) {
    if (TabItemInfo* tab = GetItemInfo(index)) {
        tab->tooltip = text != nullptr ? text : L"";
    }
}

void MTabCtrl::ClearTabTooltip() {
    if (m_tooltipShown >= 0 && m_manager != nullptr && m_manager->GetTooltipCtrlID() == m_id) {
        m_manager->ClearTooltip();
    }
    m_tooltipShown = -1;
}

bool MTabCtrl::PtInTabButton(POINT point, int& item) const {
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        if (m_tabs[i].visible && CRect(m_tabs[i].rect).PtInRect(point)) {
            item = static_cast<int>(i);
            return true;
        }
    }
    item = -1;
    return false;
}

MControl* MTabCtrl::CreatePanel(const wchar_t* className, UINT id, const RECT& rect) {
    if (className == nullptr || std::wcscmp(className, L"MTabLayout") != 0) {
        return nullptr;
    }
    std::unique_ptr<MControl> page =
        ControlFactory::Create(FactoryTable::kPanel, className, this, id, rect, L"", 1, 1);
    return page != nullptr ? AddControl(std::move(page)) : nullptr;
}

void MTabCtrl::SetTabType(int type) {
    m_tabType = type == 1 ? 1 : 0;
    RefreshItems();
}

void MTabCtrl::EnableAnimateChangeTab(bool on) {
    m_animate = on;
    if (on) {
        AddMTimer();
        SetRunTimer(1);
    }
}

int MTabCtrl::OnControlTimer() {
    if (!m_sliding) {
        return 0;
    }
    // The offset slides towards the new page, one tenth of the control per tick.
    const int steps = std::max(m_animationSteps, 1);
    const bool forward = m_previous < m_selected;
    if (m_tabType == 1) {
        const int step = std::max(m_rect.Height() / steps, 1);
        m_offsetY += forward ? step : -step;
        if (m_offsetY >= m_rect.Height() || m_offsetY <= -m_rect.Height()) {
            m_offsetY = 0;
            m_sliding = false;
        }
    } else {
        const int step = std::max(m_rect.Width() / steps, 1);
        m_offsetX += forward ? step : -step;
        if (m_offsetX >= m_rect.Width() || m_offsetX <= -m_rect.Width()) {
            m_offsetX = 0;
            m_sliding = false;
        }
    }
    UpdateControl(m_updateRect.IsRectEmpty() ? m_rect : m_updateRect, FALSE, FALSE);
    return 1;
}

BOOL MTabCtrl::OnControlMouseMove(UINT, POINT point) {
    int item = -1;
    if (!PtInTabButton(point, item)) {
        item = -1;
    }
    if (item != m_hover) {
        m_hover = item;
        Repaint(false);
    }
    if (item >= 0 && !m_tabs[static_cast<size_t>(item)].tooltip.empty()) {
        if (m_tooltipShown != item) {
            m_tooltipShown = item;
            SetTooltip(m_tabs[static_cast<size_t>(item)].tooltip.c_str(),
                       m_tabs[static_cast<size_t>(item)].rect);
        }
    } else if (m_tooltipShown >= 0) {
        ClearTabTooltip();
    }
    return item >= 0;
}

BOOL MTabCtrl::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    m_pressed = true;
    if (m_hover >= 0 && CRect(m_tabs[static_cast<size_t>(m_hover)].rect).PtInRect(point)) {
        SetSelectItem(m_hover);
        return TRUE;
    }
    return FALSE;
}

BOOL MTabCtrl::OnControlLButtonUp(UINT, POINT) {
    m_pressed = false;
    return TRUE;
}

BOOL MTabCtrl::OnControlScroll(int kind, int down, POINT point) {
    TabItemInfo* tab = GetItemInfo(m_selected);
    return tab != nullptr && tab->page != nullptr ? tab->page->OnScroll(kind, down, point) : FALSE;
}

BOOL MTabCtrl::OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) {
    TabItemInfo* tab = GetItemInfo(m_selected);
    return tab != nullptr && tab->page != nullptr ? tab->page->OnKeyDown(vk, repeat, modifiers)
                                                  : FALSE;
}

void MTabCtrl::SetControlRect(const CRect& rect) {
    MControlFont::SetControlRect(rect);
    RefreshItems();
}

void MTabCtrl::Repaint(bool redraw) {
    UpdateControl(redraw ? TRUE : FALSE);
}

void MTabCtrl::DrawControl(HDC hdc, const RECT&) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    // Three pictures of the whole strip side by side (vertical) or stacked (horizontal):
    // normal, hovered, selected. Hover and selection changes only recompose them.
    const bool vertical = m_tabType == 1;
    const int cacheWidth = vertical ? width * 3 : width;
    const int cacheHeight = vertical ? height : height * 3;
    if (!m_cacheValid || GetMemDC() == nullptr ||
        m_cache.GetSize() != CSize(cacheWidth, cacheHeight)) {
        HDC cache = UpdateMemDC(hdc, cacheWidth, cacheHeight);
        if (cache == nullptr) {
            return;
        }
        for (int k = 0; k < 3; ++k) {
            ::BitBlt(cache, vertical ? k * width : 0, vertical ? 0 : k * height, width, height, hdc,
                     m_rect.left, m_rect.top, SRCCOPY);
        }
        if (vertical) {
            PaintVertical(cache, width, height);
        } else {
            PaintHorizontal(cache, width, height);
        }
    }
    HDC cache = GetMemDC();
    ::BitBlt(hdc, m_rect.left, m_rect.top, width, height, cache, 0, 0, SRCCOPY);
    const auto copyTab = [&](int index, int column) {
        const TabItemInfo* tab = GetItemInfo(index);
        if (tab == nullptr || !tab->visible) {
            return;
        }
        const CRect part = CRect::Intersection(tab->rect, m_rect);
        if (part.IsRectEmpty()) {
            return;
        }
        const int x = part.left - m_rect.left + (vertical ? column * width : 0);
        const int y = part.top - m_rect.top + (vertical ? 0 : column * height);
        ::BitBlt(hdc, part.left, part.top, part.Width(), part.Height(), cache, x, y, SRCCOPY);
    };
    copyTab(m_hover, 1);
    copyTab(m_selected, 2);
}

void MTabCtrl::PaintVertical(HDC cache, int width, int height) {
    Gdiplus::Graphics graphics(cache);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    std::unique_ptr<Gdiplus::Font> font(NewFont(*this, GetFontFamily(m_fontName.c_str())));
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
    Gdiplus::SolidBrush accent(Gdiplus::Color(Manager::GetSelectColor().Value()));
    const int stripRight = m_leftPadding + StripWidth();
    for (int column = 0; column < 3; ++column) {
        const int origin = column * width;
        for (const TabItemInfo& tab : m_tabs) {
            if (!tab.visible) {
                continue;
            }
            CRect box(tab.rect);
            box.OffsetRect(origin - m_rect.left, -m_rect.top);
            if (column > 0 && m_image != nullptr && m_imageWidth > 0) {
                const int frame = StateFrame(column, m_imageCount);
                MRender::DrawImageExact(&graphics, m_image,
                                        Gdiplus::Rect(box.left, box.top, box.Width(), box.Height()),
                                        frame * m_imageWidth, 0, m_imageWidth, m_imageHeight);
            }
            if (tab.icon != nullptr && tab.iconFrameWidth > 0) {
                const int frame = std::min(column, tab.iconFrameCount - 1);
                const int top = box.top + (box.Height() - kIconSide) / 2;
                graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
                graphics.DrawImage(tab.icon,
                                   Gdiplus::Rect(box.left + 20, top, kIconSide, kIconSide),
                                   frame * tab.iconFrameWidth, 0, tab.iconFrameWidth,
                                   tab.iconFrameHeight, Gdiplus::UnitPixel);
            }
            if (font != nullptr && !tab.text.empty()) {
                const Gdiplus::RectF textBox(
                    static_cast<Gdiplus::REAL>(box.left + kTextIndent),
                    static_cast<Gdiplus::REAL>(box.top),
                    static_cast<Gdiplus::REAL>(origin + stripRight - (box.left + kTextIndent)),
                    static_cast<Gdiplus::REAL>(box.Height()));
                graphics.DrawString(tab.text.c_str(), -1, font.get(), textBox, &format,
                                    column == 2 ? &accent : &white);
            }
        }
    }
    (void)height;
}

void MTabCtrl::PaintHorizontal(HDC cache, int width, int height) {
    Gdiplus::Graphics graphics(cache);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    for (int band = 0; band < 3; ++band) {
        const int origin = band * height;
        for (const TabItemInfo& tab : m_tabs) {
            if (!tab.visible) {
                continue;
            }
            CRect box(tab.rect);
            box.OffsetRect(-m_rect.left, origin - m_rect.top);
            if (band > 0 && m_image != nullptr && m_imageWidth > 0) {
                const int frame = StateFrame(band, m_imageCount);
                MRender::DrawImageExact(&graphics, m_image,
                                        Gdiplus::Rect(box.left, box.top, box.Width(), box.Height()),
                                        frame * m_imageWidth, 0, m_imageWidth, m_imageHeight);
            }
            if (tab.icon != nullptr && tab.iconFrameWidth > 0) {
                const int frame = std::min(band == 1 ? 1 : 0, tab.iconFrameCount - 1);
                const int left = box.left + (box.Width() - tab.iconFrameWidth) / 2;
                MRender::DrawImageExact(
                    &graphics, tab.icon,
                    Gdiplus::Rect(left, box.top + 10, tab.iconFrameWidth, tab.iconFrameHeight),
                    frame * tab.iconFrameWidth, 0, tab.iconFrameWidth, tab.iconFrameHeight);
            }
        }
    }
    (void)width;
}

CTabCtrl1::CTabCtrl1(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    m_hAlign = 1;
    m_imageCount = 3;
}

int CTabCtrl1::AddItem(const wchar_t* text, int value, MControl* page) {
    int index = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        Item item;
        item.text = text != nullptr ? text : L"";
        item.value = value;
        item.page = page;
        m_items.push_back(item);
        index = static_cast<int>(m_items.size()) - 1;
    }
    UpdateControl(TRUE);
    return index;
}

void CTabCtrl1::ClearList() {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_items.clear();
        m_hover = -1;
        m_selected = -1;
    }
    UpdateControl(TRUE);
}

void CTabCtrl1::SetSelectItem(int index) {
    std::vector<MControl*> pages;
    MControl* shown = nullptr;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index < -1 || index >= static_cast<int>(m_items.size())) {
            return;
        }
        m_selected = index;
        for (const Item& item : m_items) {
            pages.push_back(item.page);
        }
        if (index >= 0) {
            shown = m_items[static_cast<size_t>(index)].page;
        }
    }
    for (MControl* page : pages) {
        if (page != nullptr && page != shown) {
            page->SetVisible(0);
        }
    }
    if (shown != nullptr) {
        shown->SetVisible(1);
    }
    UpdateControl(TRUE);
}

int CTabCtrl1::GetSelectItem() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_selected;
}

void CTabCtrl1::SetItemText(int index, const wchar_t* text) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index < 0 || index >= static_cast<int>(m_items.size())) {
            return;
        }
        m_items[static_cast<size_t>(index)].text = text != nullptr ? text : L"";
    }
    UpdateControl(TRUE);
}

int CTabCtrl1::GetItemCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return static_cast<int>(m_items.size());
}

int CTabCtrl1::RowAt(POINT point) const {
    if (!m_rect.PtInRect(point) || m_rowHeight <= 0) {
        return -1;
    }
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    const int row = (point.y - m_rect.top) / m_rowHeight;
    return row < static_cast<int>(m_items.size()) ? row : -1;
}

BOOL CTabCtrl1::OnControlMouseMove(UINT, POINT point) {
    const int row = RowAt(point);
    bool changed = false;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        changed = row != m_hover;
        m_hover = row;
    }
    if (changed) {
        UpdateControl(TRUE);
    }
    return row >= 0;
}

BOOL CTabCtrl1::OnControlLButtonDown(UINT, POINT point) {
    return RowAt(point) >= 0;
}

BOOL CTabCtrl1::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    int hover = -1;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        hover = m_hover;
    }
    if (hover < 0) {
        return FALSE;
    }
    SetSelectItem(hover);
    SendMessageW(kNotifyClicked, 0, static_cast<LPARAM>(GetSelectItem()));
    return TRUE;
}

void CTabCtrl1::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { Paint(cache); });
}

void CTabCtrl1::Paint(HDC cache) {
    Gdiplus::Graphics graphics(cache);
    graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_renderingHint));
    std::unique_ptr<Gdiplus::Font> font(NewFont(*this, GetFontFamily(m_fontName.c_str())));
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    Gdiplus::SolidBrush accent(Gdiplus::Color(Manager::GetSelectColor().Value()));
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    const int width = m_rect.Width();
    for (size_t i = 0; i < m_items.size(); ++i) {
        Item& item = m_items[i];
        const int top = static_cast<int>(i) * m_rowHeight;
        item.rect =
            CRect(m_rect.left, m_rect.top + top, m_rect.right, m_rect.top + top + m_rowHeight);
        const bool selected = static_cast<int>(i) == m_selected;
        const bool active = selected || static_cast<int>(i) == m_hover;
        if (active && m_image != nullptr && m_imageWidth > 0) {
            const int frame = StateFrame(selected ? 2 : 1, m_imageCount);
            MRender::DrawImageFrame(&graphics, m_image, RECT{0, top, width, top + m_rowHeight},
                                    frame * m_imageWidth, 0, m_imageWidth, m_imageHeight,
                                    kRowImageCorner);
        }
        if (font != nullptr && !item.text.empty()) {
            graphics.DrawString(item.text.c_str(), -1, font.get(),
                                Gdiplus::RectF(0, static_cast<Gdiplus::REAL>(top),
                                               static_cast<Gdiplus::REAL>(width),
                                               static_cast<Gdiplus::REAL>(m_rowHeight)),
                                &format, active ? &accent : m_textBrush.get());
        }
    }
}

}  // namespace Orvo
