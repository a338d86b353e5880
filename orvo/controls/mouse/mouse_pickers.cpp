#include "orvo/mouse_pickers.h"

#include <memory>
#include <string>
#include <vector>

#include "../cached_drawing.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(ReporteCtrl);
ORVO_REGISTER_CONTROL(MouseCtrl);
ORVO_REGISTER_CONTROL(MouseKeyCtrl);

namespace {

constexpr Argb kCardFill(0xFF231C14);
constexpr Argb kDarkText(0xFF050505);
constexpr Argb kRowFill(0xFF212D3B);
constexpr Argb kRowActiveFill(0xFF3D556D);
constexpr ColorRef kRowActiveText = ColorRef::FromRgb(184, 210, 239);
constexpr int kCardRadius = 10;
constexpr int kCardWidth = 108;
constexpr int kStripWidth = 20;

Gdiplus::Color ToGdiplus(Argb colour) {
    return Gdiplus::Color(colour.Value());
}

// A point of the parent's coordinates relative to the control's top-left.
POINT Local(const CRect& control, POINT point) {
    return POINT{point.x - control.left, point.y - control.top};
}

// The hover rule of the three pickers: the hovered entry stays while the point is in it,
// otherwise the first entry under the point, -1 outside the control or between entries.
template <typename Entries, typename RectOf>
int NextHover(const Entries& entries, RectOf rectOf, int hover, const CRect& control, POINT point) {
    if (!control.PtInRect(point)) {
        return -1;
    }
    const POINT local = Local(control, point);
    if (hover >= 0 && hover < static_cast<int>(entries.size()) &&
        rectOf(entries[static_cast<size_t>(hover)]).PtInRect(local)) {
        return hover;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (rectOf(entries[i]).PtInRect(local)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Entry `index`'s field, `missing` out of range.
template <typename Entry, typename Value>
Value FieldAt(const std::vector<Entry>& entries, int index, Value Entry::*field, Value missing) {
    return index >= 0 && index < static_cast<int>(entries.size())
               ? entries[static_cast<size_t>(index)].*field
               : missing;
}

// Sets entry `index`'s text; false out of range or when it reads so already.
template <typename Entry>
bool ReplaceText(std::vector<Entry>& entries, int index, std::wstring Entry::*field,
                 const wchar_t* text) {
    const std::wstring value = text != nullptr ? text : L"";
    if (index < 0 || index >= static_cast<int>(entries.size()) ||
        entries[static_cast<size_t>(index)].*field == value) {
        return false;
    }
    entries[static_cast<size_t>(index)].*field = value;
    return true;
}

// Sets the text of the first entry with that key value.
template <typename Entry>
void DescribeKey(std::vector<Entry>& entries, int keyValue, std::wstring Entry::*field,
                 const wchar_t* text) {
    for (Entry& entry : entries) {
        if (entry.keyValue == keyValue) {
            entry.*field = text != nullptr ? text : L"";
            break;
        }
    }
}

// A point inside the control selects the hovered entry; false outside.
bool SelectHoveredInside(const CRect& control, POINT point, std::recursive_mutex& lock,
                         int& selected, int hover) {
    if (!control.PtInRect(point)) {
        return false;
    }
    std::lock_guard<std::recursive_mutex> guard(lock);  // guards selected
    selected = hover;
    return true;
}

// A release inside the control after a press on an entry selects the hovered one; false
// outside or when the press fell between entries.
bool SelectOnRelease(const CRect& control, POINT point, std::recursive_mutex& lock, int& selected,
                     int hover) {
    if (!control.PtInRect(point)) {
        return false;
    }
    std::lock_guard<std::recursive_mutex> guard(lock);  // guards selected
    if (selected == -1) {
        return false;
    }
    selected = hover;
    return true;
}

std::unique_ptr<Gdiplus::Font> MakeFont(MControlFont& control, const std::wstring& family,
                                        float size, int style) {
    Gdiplus::FontFamily* found = control.GetFontFamily(family.c_str());
    if (found == nullptr) {
        return nullptr;
    }
    return std::make_unique<Gdiplus::Font>(found, size, style, Gdiplus::UnitPixel);
}

}  // namespace

ReporteCtrl::ReporteCtrl(MObject* parent, UINT id, const RECT& rect, int visible)
    : MPanel(parent, id, rect, visible) {}

int ReporteCtrl::AddItem(const wchar_t* text, int keyValue, ColorRef colour) {
    int index = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_entries.push_back(Entry{text != nullptr ? text : L"", keyValue, colour, CRect()});
        index = static_cast<int>(m_entries.size()) - 1;
        Layout();
    }
    UpdateControl(TRUE);
    return index;
}

int ReporteCtrl::DeleteAllItems() {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_entries.clear();
        m_selected = -1;
    }
    m_hover = -1;
    UpdateControl(TRUE);
    return 1;
}

void ReporteCtrl::SetSelectItem(int index) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index == m_selected) {
            return;
        }
        m_selected = index;
    }
    UpdateControl(TRUE);
}

int ReporteCtrl::GetSelectItem() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_selected;
}

void ReporteCtrl::SetSelectItemValue(int keyValue) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].keyValue == keyValue) {
                m_selected = static_cast<int>(i);
                break;
            }
        }
    }
    UpdateControl(TRUE);
}

int ReporteCtrl::GetItemKeyValue(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::keyValue, 0);
}

std::wstring ReporteCtrl::GetItemKeyName(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::text, std::wstring());
}

void ReporteCtrl::SetItemText(int index, const wchar_t* text) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (!ReplaceText(m_entries, index, &Entry::text, text)) {
            return;
        }
    }
    UpdateControl(TRUE);
}

void ReporteCtrl::SetScaleValue(float scale) {
    m_scale = scale;
    UpdateControl(TRUE);
}

int ReporteCtrl::GetItemCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return static_cast<int>(m_entries.size());
}

CRect ReporteCtrl::GetItemRect(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::card, CRect());
}

void ReporteCtrl::Layout() {
    const int height = m_rect.Height();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const int x = kFirstCardX + kCardPitch * static_cast<int>(i);
        m_entries[i].card = CRect(x - 1, 0, x + 109, height);
    }
}

int ReporteCtrl::EntryAt(POINT point) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return NextHover(
        m_entries, [](const Entry& e) { return e.card; }, m_hover, m_rect, point);
}

BOOL ReporteCtrl::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const int hover = EntryAt(point);
    if (hover != m_hover) {
        m_hover = hover;
        UpdateControl(TRUE);
    }
    return hover >= 0;
}

BOOL ReporteCtrl::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return TRUE;
    }
    if (m_hover >= 0 && SelectHoveredInside(m_rect, point, m_itemLock, m_selected, m_hover)) {
        SendMessageW(kNotifyPressed, static_cast<WPARAM>(m_hover), 0);
    }
    UpdateControl(TRUE);
    return TRUE;
}

BOOL ReporteCtrl::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (m_hover >= 0 && SelectHoveredInside(m_rect, point, m_itemLock, m_selected, m_hover)) {
        SendMessageW(kNotifyClicked, static_cast<WPARAM>(m_hover), 0);
    }
    UpdateControl(TRUE);
    return TRUE;
}

void ReporteCtrl::SetControlRect(const CRect& rect) {
    MPanel::SetControlRect(rect);
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    Layout();
}

void ReporteCtrl::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { Paint(cache); });
}

void ReporteCtrl::Paint(HDC cache) {
    const int height = m_rect.Height();
    Gdiplus::Graphics graphics(cache);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    std::unique_ptr<Gdiplus::Font> font =
        MakeFont(*this, m_fontName, static_cast<float>(m_fontSize), m_fontStyle);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    const Argb accent = Manager::GetSelectColor();

    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    Layout();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        const int x = entry.card.left + 1;
        MRender::DrawRoundRectange(&graphics, x, 1, kCardWidth, height - 2, kCardRadius, kCardFill);
        // The colour strip: the card's left end, its left corners rounded like the card.
        Gdiplus::GraphicsPath strip;
        const int diameter = 2 * kCardRadius;
        strip.AddArc(x, 1, diameter, diameter, 180.0f, 90.0f);
        strip.AddLine(x + kCardRadius, 1, x + kStripWidth, 1);
        strip.AddLine(x + kStripWidth, 1, x + kStripWidth, height - 1);
        strip.AddLine(x + kStripWidth, height - 1, x + kCardRadius, height - 1);
        strip.AddArc(x, height - 1 - diameter, diameter, diameter, 90.0f, 90.0f);
        strip.CloseFigure();
        Gdiplus::SolidBrush stripBrush(ToGdiplus(entry.colour.ToArgb(255)));
        graphics.FillPath(&stripBrush, &strip);
        if (font != nullptr && !entry.text.empty()) {
            graphics.DrawString(entry.text.c_str(), -1, font.get(),
                                Gdiplus::RectF(static_cast<Gdiplus::REAL>(x + 29), 0, 80,
                                               static_cast<Gdiplus::REAL>(height)),
                                &format, m_textBrush.get());
        }
        const int index = static_cast<int>(i);
        if (index == m_hover || index == m_selected) {
            MRender::DrawRoundRectange(&graphics, x, 1, kCardWidth, height - 2, kCardRadius, accent,
                                       2, Argb());
        }
    }
}

MouseCtrl::MouseCtrl(MObject* parent, UINT id, const RECT& rect, int visible)
    : MPanel(parent, id, rect, visible) {
    m_imageCount = 4;
}

int MouseCtrl::AddItem(const wchar_t* text, int keyValue, int side, POINT pointA, POINT pointB) {
    int index = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        Entry entry;
        entry.text = text != nullptr ? text : L"";
        entry.keyValue = keyValue;
        entry.side = side;
        entry.a = pointA;
        entry.b = pointB;
        m_entries.push_back(entry);
        index = static_cast<int>(m_entries.size()) - 1;
        Layout();
    }
    UpdateControl(TRUE);
    return index;
}

int MouseCtrl::DeleteAllItems() {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_entries.clear();
        m_selected = -1;
    }
    m_hover = -1;
    UpdateControl(TRUE);
    return 1;
}

void MouseCtrl::SetSelectItem(int index) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index == m_selected) {
            return;
        }
        m_selected = index;
    }
    UpdateControl(TRUE);
}

int MouseCtrl::GetSelectItem() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_selected;
}

int MouseCtrl::GetItemCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return static_cast<int>(m_entries.size());
}

void MouseCtrl::SetItemText(int index, const wchar_t* text) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (!ReplaceText(m_entries, index, &Entry::text, text)) {
            return;
        }
    }
    UpdateControl(TRUE);
}

int MouseCtrl::SetItemKeyDesc(int keyValue, const wchar_t* text) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        DescribeKey(m_entries, keyValue, &Entry::text, text);
    }
    UpdateControl(TRUE);
    return 1;
}

int MouseCtrl::GetItemKeyValue(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::keyValue, 0);
}

void MouseCtrl::SetScaleValue(float scale) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_scale = scale;
        Layout();
    }
    UpdateControl(TRUE);
}

CRect MouseCtrl::GetItemRect(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::label, CRect());
}

void MouseCtrl::Layout() {
    // Computed in pixels times the scale and cut to whole pixels at the end.
    const float s = m_scale;
    const auto cut = [](float value) { return static_cast<int>(value); };
    for (Entry& entry : m_entries) {
        const float ax = entry.a.x * s;
        const float ay = entry.a.y * s;
        const float bx = entry.b.x * s;
        const float by = entry.b.y * s;
        if (entry.side == 1) {
            entry.label = CRect(cut(bx + s), cut(by - kLabelHalfHeight * s),
                                cut(bx + (kLabelWidth + 1) * s), cut(by + kLabelHalfHeight * s));
        } else {
            entry.label = CRect(cut(ax - (kLabelWidth + 1) * s), cut(ay - kLabelHalfHeight * s),
                                cut(ax - s), cut(ay + kLabelHalfHeight * s));
        }
    }
}

int MouseCtrl::EntryAt(POINT point) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return NextHover(
        m_entries, [](const Entry& e) { return e.label; }, m_hover, m_rect, point);
}

BOOL MouseCtrl::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const int hover = EntryAt(point);
    if (hover != m_hover) {
        m_hover = hover;
        UpdateControl(TRUE);
    }
    return hover >= 0;
}

BOOL MouseCtrl::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return TRUE;
    }
    if (SelectHoveredInside(m_rect, point, m_itemLock, m_selected, m_hover)) {
        // Between labels the hover is -1: that is what the owner hears.
        SendMessageW(kNotifyPressed, static_cast<WPARAM>(m_hover), 0);
    }
    UpdateControl(TRUE);
    return TRUE;
}

BOOL MouseCtrl::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (SelectOnRelease(m_rect, point, m_itemLock, m_selected, m_hover)) {
        SendMessageW(kNotifyClicked, static_cast<WPARAM>(m_hover), 0);
    }
    UpdateControl(TRUE);
    return TRUE;
}

void MouseCtrl::SetControlRect(const CRect& rect) {
    MPanel::SetControlRect(rect);
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    Layout();
}

void MouseCtrl::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { Paint(cache); });
}

void MouseCtrl::Paint(HDC cache) {
    Gdiplus::Graphics graphics(cache);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    std::unique_ptr<Gdiplus::Font> font =
        MakeFont(*this, m_fontName, static_cast<float>(kFontSize), m_fontStyle);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    const float s = m_scale;
    Gdiplus::Pen normal(Gdiplus::Color(0xFFFFFFFF), 2.0f);
    Gdiplus::Pen active(ToGdiplus(Manager::GetSelectColor()), 2.0f);
    Gdiplus::SolidBrush darkText(ToGdiplus(kDarkText));

    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    Layout();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        const bool lit = static_cast<int>(i) == m_hover || static_cast<int>(i) == m_selected;
        Gdiplus::Pen* pen = lit ? &active : &normal;
        const Gdiplus::PointF a(entry.a.x * s, entry.a.y * s);
        const Gdiplus::PointF b(entry.b.x * s, entry.b.y * s);
        graphics.DrawLine(pen, a, b);
        const Gdiplus::PointF dot = entry.side == 1 ? Gdiplus::PointF(a.X - 5 * s, a.Y - 3 * s)
                                                    : Gdiplus::PointF(b.X - s, b.Y - 3 * s);
        graphics.DrawEllipse(pen, dot.X, dot.Y, 6 * s, 6 * s);
        if (m_image != nullptr && m_imageWidth > 0) {
            const int frame = lit && m_imageCount > 1 ? 1 : 0;
            MRender::DrawImageFrame(&graphics, m_image, entry.label, frame * m_imageWidth, 0,
                                    m_imageWidth, m_imageHeight, kLabelCorner);
        }
        if (font != nullptr && !entry.text.empty()) {
            const CRect& box = entry.label;
            graphics.DrawString(entry.text.c_str(), -1, font.get(),
                                Gdiplus::RectF(static_cast<Gdiplus::REAL>(box.left),
                                               static_cast<Gdiplus::REAL>(box.top),
                                               static_cast<Gdiplus::REAL>(box.Width()),
                                               static_cast<Gdiplus::REAL>(box.Height())),
                                &format, lit ? &darkText : m_textBrush.get());
        }
    }
}

MouseKeyCtrl::MouseKeyCtrl(MObject* parent, UINT id, const RECT& rect, int visible)
    : MPanel(parent, id, rect, visible) {}

int MouseKeyCtrl::AddItem(const wchar_t* name, const wchar_t* description, int keyValue) {
    int index = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        Entry entry;
        entry.name = name != nullptr ? name : L"";
        entry.description = description != nullptr ? description : L"";
        entry.keyValue = keyValue;
        m_entries.push_back(entry);
        index = static_cast<int>(m_entries.size()) - 1;
        Layout();
    }
    UpdateControl(TRUE);
    return index;
}

int MouseKeyCtrl::DeleteAllItems() {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_entries.clear();
        m_selected = -1;
    }
    m_hover = -1;
    UpdateControl(TRUE);
    return 1;
}

void MouseKeyCtrl::SetSelectItem(int index) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (index == m_selected) {
            return;
        }
        m_selected = index;
    }
    UpdateControl(TRUE);
}

int MouseKeyCtrl::GetSelectItem() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return m_selected;
}

int MouseKeyCtrl::GetItemCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return static_cast<int>(m_entries.size());
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::keyValue, 0);
}

std::wstring MouseKeyCtrl::GetItemKeyName(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::name, std::wstring());
}

void MouseKeyCtrl::SetItemText(int index, const wchar_t* name) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        if (!ReplaceText(m_entries, index, &Entry::name, name)) {
            return;
        }
    }
    UpdateControl(TRUE);
}

int MouseKeyCtrl::SetItemKeyDesc(int keyValue, const wchar_t* description) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        DescribeKey(m_entries, keyValue, &Entry::description, description);
    }
    UpdateControl(TRUE);
    return 1;
}

void MouseKeyCtrl::SetScaleValue(float scale) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_itemLock);
        m_scale = scale;
        Layout();
    }
    UpdateControl(TRUE);
}

CRect MouseKeyCtrl::GetItemRect(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return FieldAt(m_entries, index, &Entry::row, CRect());
}

void MouseKeyCtrl::Layout() {
    const float height = kRowHeight * m_scale;
    // Truncated after the gap is added: at scale 1.5 the rows are 40 high and 45 apart.
    const int pitch = static_cast<int>(height + kRowGap);
    const int width = m_rect.Width();
    int top = 0;
    for (Entry& entry : m_entries) {
        entry.row = CRect(0, top, width, top + static_cast<int>(height));
        top += pitch;
    }
}

int MouseKeyCtrl::EntryAt(POINT point) const {
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    return NextHover(
        m_entries, [](const Entry& e) { return e.row; }, m_hover, m_rect, point);
}

BOOL MouseKeyCtrl::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const int hover = EntryAt(point);
    if (hover != m_hover) {
        m_hover = hover;
        UpdateControl(TRUE);
    }
    if (hover >= 0) {
        std::wstring description;
        CRect row;
        {
            std::lock_guard<std::recursive_mutex> guard(m_itemLock);
            description = m_entries[static_cast<size_t>(hover)].description;
            row = m_entries[static_cast<size_t>(hover)].row;
        }
        if (hover != m_tooltipShown) {
            row.OffsetRect(m_rect.left, m_rect.top);
            SetTooltip(description.c_str(), row);
            m_tooltipShown = hover;
        }
    } else if (m_manager != nullptr && m_tooltipShown >= 0) {
        m_manager->ClearTooltip();
        m_manager->SetTooltipCtrlID(0);
        m_tooltipShown = -1;
    }
    return hover >= 0;
}

BOOL MouseKeyCtrl::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return TRUE;
    }
    if (SelectHoveredInside(m_rect, point, m_itemLock, m_selected, m_hover)) {
        SendMessageW(kNotifyPressed, static_cast<WPARAM>(m_hover), 0);
    }
    UpdateControl(TRUE);
    return TRUE;
}

BOOL MouseKeyCtrl::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    if (SelectOnRelease(m_rect, point, m_itemLock, m_selected, m_hover)) {
        SendMessageW(kNotifyClicked, static_cast<WPARAM>(m_hover), 0);
    }
    UpdateControl(TRUE);
    return TRUE;
}

void MouseKeyCtrl::SetControlRect(const CRect& rect) {
    MPanel::SetControlRect(rect);
    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    Layout();
}

void MouseKeyCtrl::DrawControl(HDC hdc, const RECT&) {
    CachedDrawing::Draw(*this, hdc, [this](HDC cache) { Paint(cache); });
}

void MouseKeyCtrl::Paint(HDC cache) {
    const float s = m_scale;
    Gdiplus::SolidBrush normal(ToGdiplus(kRowFill));
    Gdiplus::SolidBrush active(ToGdiplus(kRowActiveFill));
    HFONT font = GetGDIFont();
    const UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER | DT_LEFT | DT_NOPREFIX;
    const ColorRef text = m_textColor.ToColorRef();

    std::lock_guard<std::recursive_mutex> guard(m_itemLock);
    Layout();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        const bool lit = static_cast<int>(i) == m_hover || static_cast<int>(i) == m_selected;
        {
            Gdiplus::Graphics graphics(cache);
            graphics.FillRectangle(lit ? &active : &normal, entry.row.left, entry.row.top,
                                   entry.row.Width(), entry.row.Height());
        }
        const ColorRef colour = lit ? kRowActiveText : text;
        const CRect nameBox(static_cast<int>(10 * s), entry.row.top, static_cast<int>(80 * s),
                            entry.row.bottom);
        const CRect descriptionBox(static_cast<int>(80 * s), entry.row.top, entry.row.right,
                                   entry.row.bottom);
        MRender::DrawTextW(cache, nameBox, entry.name.c_str(), colour, font, format);
        MRender::DrawTextW(cache, descriptionBox, entry.description.c_str(), colour, font, format);
    }
}

}  // namespace Orvo
