#include "orvo/device_list.h"

#include <algorithm>
#include <vector>

#include <algorithm>
#include <vector>

#include "battery_gauge.h"
#include "control_paint.h"
#include "device_geometry.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(CDeviceList);

namespace {

constexpr Argb kCardColour{0x82050505};
constexpr Argb kWhite{0xFFFFFFFF};
constexpr int kCardRadius = 6;
constexpr int kModeFontSize = 16;
constexpr int kNameFontSize = 20;

DeviceGeometry::Box ToBox(const RECT& rect) {
    return DeviceGeometry::Box{rect.left, rect.top, rect.right, rect.bottom};
}

CRect ToRect(const DeviceGeometry::Box& box) {
    return CRect(box.left, box.top, box.right, box.bottom);
}

void SetNamedCursor(const wchar_t* cursor) {
    ::SetCursor(::LoadCursorW(nullptr, cursor));
}

// Whether the face has a glyph for every character of the text. A face standing in for
// the cards' face may carry only Chinese, and GDI+ falls back to no other font.
bool FaceCovers(const wchar_t* face, const std::wstring& text) {
    if (text.empty()) {
        return true;
    }
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return false;
    }
    HFONT font = ::CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH, face);
    bool covered = false;
    if (font != nullptr) {
        const HGDIOBJ previous = ::SelectObject(dc, font);
        std::vector<WORD> glyphs(text.size());
        if (::GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                               GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR) {
            covered = true;
            for (size_t i = 0; i < text.size(); ++i) {
                if (glyphs[i] == 0xFFFF && text[i] != L' ') {
                    covered = false;
                    break;
                }
            }
        }
        ::SelectObject(dc, previous);
        ::DeleteObject(font);
    }
    ::DeleteDC(dc);
    return covered;
}

}  // namespace

struct CDeviceList::DeviceRecord {
    std::wstring name;
    int type = 0;
    int state = 0;
    int mode = 0;
    int level = 100;
    int charging = 0;
    int version = 0;
    std::unique_ptr<Gdiplus::Image> picture;
    int pictureWidth = 0;
    int pictureHeight = 0;
    CRect card;
};

CDeviceList::CDeviceList(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MPanel(parent, id, rect, visible),
      m_wiredText(L"\u6709\u7ebf\u6a21\u5f0f"),
      m_wirelessText(L"\u661f\u95ea\u6a21\u5f0f") {
    m_enabled = enabled != 0;
}

CDeviceList::~CDeviceList() = default;

std::unique_ptr<Gdiplus::Image> CDeviceList::LoadSkinPicture(const wchar_t* fileName) {
    if (fileName == nullptr || *fileName == L'\0') {
        return nullptr;
    }
    const std::wstring path = Manager::GetSkinDirectory() + fileName;
    return MRender::LoadImageFromFileEx(path.c_str(), 0, 0);
}

int CDeviceList::AddDevice(const wchar_t* name, int type, const wchar_t* picturePath) {
    auto record = std::make_unique<DeviceRecord>();
    record->name = name != nullptr ? name : L"";
    record->type = type;
    if (picturePath != nullptr) {
        record->picture = MRender::LoadImageFromFileEx(picturePath, 0, 0);
        if (record->picture != nullptr) {
            record->pictureWidth = static_cast<int>(record->picture->GetWidth());
            record->pictureHeight = static_cast<int>(record->picture->GetHeight());
        }
    }
    int index = 0;
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        m_devices.push_back(std::move(record));
        index = static_cast<int>(m_devices.size()) - 1;
    }
    UpdateControl(TRUE);
    return index;
}

void CDeviceList::ClearList() {
    std::vector<std::unique_ptr<DeviceRecord>> doomed;
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        doomed.swap(m_devices);
        m_hover = -1;
        m_selected = 0;
    }
    // The bars are the window thread's; a list emptied elsewhere leaves them to the next
    // rebuild.
    if (m_manager == nullptr || m_manager->IsUiThread()) {
        if (CScrollVertical* vertical = GetScrollVertical()) {
            vertical->SetVisible(0);
        }
        if (CScrollHorizontal* horizontal = GetScrollHorizontal()) {
            horizontal->SetScrollMaxRange(0);
            horizontal->SetScrollCurrentPos(0);
        }
    }
    UpdateControl(TRUE);
}

CDeviceList::DeviceRecord* CDeviceList::FirstOfType(int type) const {
    for (const auto& record : m_devices) {
        if (record->type == type) {
            return record.get();
        }
    }
    return nullptr;
}

void CDeviceList::SetAllDeviceState(int state) {
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        for (const auto& record : m_devices) {
            record->state = state;
        }
    }
    UpdateControl(TRUE);
}

void CDeviceList::SetDeviceState(int type, int mode, int state) {
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        DeviceRecord* record = FirstOfType(type);
        if (record == nullptr || (record->state == 1 && mode != 0)) {
            return;
        }
        record->mode = mode;
        record->state = state;
    }
    UpdateControl(TRUE);
}

void CDeviceList::SetDeviceVersion(int type, int version) {
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        DeviceRecord* record = FirstOfType(type);
        if (record == nullptr) {
            return;
        }
        record->version = version;
    }
    UpdateControl(TRUE);
}

void CDeviceList::SetDeviceBattery(int type, int charging, int level) {
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        DeviceRecord* record = FirstOfType(type);
        if (record == nullptr) {
            return;
        }
        record->charging = charging;
        record->level = level;
    }
    UpdateControl(TRUE);
}

void CDeviceList::SetSelectDevice(int type) {
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        int firstConnected = -1;
        int chosen = -1;
        for (size_t i = 0; i < m_devices.size(); ++i) {
            if (m_devices[i]->state <= 0) {
                continue;
            }
            if (firstConnected < 0) {
                firstConnected = static_cast<int>(i);
            }
            if (m_devices[i]->type == type) {
                chosen = static_cast<int>(i);
                break;
            }
        }
        m_selected = chosen >= 0 ? chosen : firstConnected;
    }
    UpdateControl(TRUE);
}

int CDeviceList::GetSelectDevice() {
    std::lock_guard<std::mutex> guard(m_itemLock);
    if (m_devices.empty()) {
        return 0;
    }
    if (m_selected < 0 || m_selected >= static_cast<int>(m_devices.size())) {
        m_selected = 0;
    }
    return m_devices[static_cast<size_t>(m_selected)]->type;
}

int CDeviceList::GetDeviceState(int type) const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    const DeviceRecord* record = FirstOfType(type);
    return record != nullptr ? record->state : 0;
}

int CDeviceList::GetOnlineDevCount() const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    int count = 0;
    for (const auto& record : m_devices) {
        count += record->state > 0 ? 1 : 0;
    }
    return count;
}

int CDeviceList::GetItemCount() const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    return static_cast<int>(m_devices.size());
}

CRect CDeviceList::GetCardRect(int index) const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_devices.size())) {
        return CRect();
    }
    return m_devices[static_cast<size_t>(index)]->card;
}

int CDeviceList::GetHoverIndex() const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    return m_hover;
}

int CDeviceList::GetSelectIndex() const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    return m_selected;
}

CDeviceList::DeviceInfo CDeviceList::GetDeviceInfo(int index) const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    DeviceInfo info;
    if (index < 0 || index >= static_cast<int>(m_devices.size())) {
        return info;
    }
    const DeviceRecord& record = *m_devices[static_cast<size_t>(index)];
    info.name = record.name;
    info.type = record.type;
    info.state = record.state;
    info.mode = record.mode;
    info.level = record.level;
    info.charging = record.charging;
    info.version = record.version;
    return info;
}

void CDeviceList::SetBatteryBkg(const wchar_t* fileName) {
    std::unique_ptr<Gdiplus::Image> picture = LoadSkinPicture(fileName);
    std::lock_guard<std::mutex> guard(m_itemLock);
    m_batteryBackground = std::move(picture);
}

void CDeviceList::SetBatteryIcon(const wchar_t* levelFile, const wchar_t* chargingFile) {
    std::unique_ptr<Gdiplus::Image> level = LoadSkinPicture(levelFile);
    std::unique_ptr<Gdiplus::Image> charging = LoadSkinPicture(chargingFile);
    std::lock_guard<std::mutex> guard(m_itemLock);
    m_levelImage = std::move(level);
    m_chargingImage = std::move(charging);
}

void CDeviceList::SetDevModeImage(const wchar_t* fileName) {
    std::unique_ptr<Gdiplus::Image> picture = LoadSkinPicture(fileName);
    std::lock_guard<std::mutex> guard(m_itemLock);
    m_modeImage = std::move(picture);
    m_modeFrameWidth = m_modeImage != nullptr ? static_cast<int>(m_modeImage->GetWidth()) / 2 : 0;
}

void CDeviceList::SetDevModeDesc(const wchar_t* wiredText, const wchar_t* wirelessText) {
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        m_wiredText = wiredText != nullptr ? wiredText : L"";
        m_wirelessText = wirelessText != nullptr ? wirelessText : L"";
    }
    UpdateControl(TRUE);
}

CRect CDeviceList::GetImageRect(int imageWidth, int imageHeight, const RECT& box) const {
    return ToRect(DeviceGeometry::FitPicture(imageWidth, imageHeight, ToBox(box)));
}

void CDeviceList::LayOutCards() {
    int connected = 0;
    for (const auto& record : m_devices) {
        connected += record->state > 0 ? 1 : 0;
    }
    const DeviceGeometry::CardLayout layout =
        DeviceGeometry::ComputeCardLayout(connected, m_rect.Width(), m_rect.Height());
    int slot = 0;
    for (const auto& record : m_devices) {
        if (record->state <= 0) {
            record->card = CRect();
            continue;
        }
        record->card = ToRect(layout.Card(slot++, m_rect.left, m_rect.top));
    }
}

void CDeviceList::DrawCards(Gdiplus::Graphics& graphics) {
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    // The cards' face, or the control's own where it lacks a character of the text.
    const auto fontFor = [&](const std::wstring& text, int size, int style) {
        std::unique_ptr<Gdiplus::Font> font;
        if (FaceCovers(kCardFont, text)) {
            font = ControlPaint::MakeNamedFont(*this, kCardFont, size, style);
        }
        return font != nullptr ? std::move(font)
                               : ControlPaint::MakeNamedFont(*this, nullptr, size, style);
    };
    Gdiplus::SolidBrush white{ControlPaint::GdiColor(kWhite)};
    Gdiplus::Pen frame{ControlPaint::GdiColor(kWhite), 1};

    BatteryIcons icons;
    if (m_levelImage != nullptr && m_chargingImage != nullptr) {
        icons.level = m_levelImage.get();
        icons.levelWidth = static_cast<int>(m_levelImage->GetWidth());
        icons.levelHeight = static_cast<int>(m_levelImage->GetHeight());
        icons.charging = m_chargingImage.get();
        icons.chargingWidth = static_cast<int>(m_chargingImage->GetWidth());
        icons.chargingHeight = static_cast<int>(m_chargingImage->GetHeight());
    }
    const int backgroundWidth =
        m_batteryBackground != nullptr ? static_cast<int>(m_batteryBackground->GetWidth()) : 0;
    const int backgroundHeight =
        m_batteryBackground != nullptr ? static_cast<int>(m_batteryBackground->GetHeight()) : 0;

    for (size_t i = 0; i < m_devices.size(); ++i) {
        const DeviceRecord& record = *m_devices[i];
        if (record.state <= 0 || record.card.IsRectEmpty()) {
            continue;
        }
        // Control coordinates.
        CRect card = record.card;
        card.OffsetRect(-m_rect.left, -m_rect.top);
        const bool hovered = static_cast<int>(i) == m_hover;
        MRender::DrawRoundRectange(&graphics, card.left, card.top, card.Width(), card.Height(),
                                   kCardRadius, hovered ? Manager::GetSelectColor() : kCardColour,
                                   2, kCardColour);

        if (record.picture != nullptr) {
            const CRect fitted = GetImageRect(record.pictureWidth, record.pictureHeight,
                                              ToRect(DeviceGeometry::PictureBox(ToBox(card))));
            graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
            graphics.DrawImage(
                record.picture.get(),
                Gdiplus::Rect(fitted.left, fitted.top, fitted.Width(), fitted.Height()), 0, 0,
                record.pictureWidth, record.pictureHeight, Gdiplus::UnitPixel);
            graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeDefault);
        }

        if (icons.IsSet()) {
            const int x = card.right - 230;
            const int y = card.top + 20;
            const int segments = record.level < 0 ? 0 : DeviceGeometry::SegmentCount(record.level);
            DrawBatteryGauge(graphics, m_batteryBackground.get(), backgroundWidth, backgroundHeight,
                             icons, x, y, segments, DeviceGeometry::ShowsLowMark(record.level), 0,
                             SegmentSource::kFixedStrip);
            if (record.charging == 1 && record.mode == 0) {
                MRender::DrawImageExact(&graphics, icons.charging,
                                        Gdiplus::Rect(x + backgroundWidth, card.top + 26,
                                                      icons.chargingWidth, icons.chargingHeight),
                                        0, 0, icons.chargingWidth, icons.chargingHeight);
            }
        }

        const Gdiplus::RectF modeBox(static_cast<Gdiplus::REAL>(card.right - 150),
                                     static_cast<Gdiplus::REAL>(card.top + 20), 80, 30);
        graphics.DrawRectangle(&frame, modeBox);
        const std::wstring& modeText = record.mode == 0 ? m_wiredText : m_wirelessText;
        ControlPaint::DrawLine(graphics, fontFor(modeText, kModeFontSize, 0).get(),
                               modeText.c_str(), modeBox, white);
        ControlPaint::DrawLine(
            graphics, fontFor(record.name, kNameFontSize, kFontBold).get(), record.name.c_str(),
            // At least 200 wide, as far as the card allows: a long name is not cut short.
            Gdiplus::RectF(static_cast<Gdiplus::REAL>(card.left + 20),
                           static_cast<Gdiplus::REAL>(card.bottom - 40),
                           static_cast<Gdiplus::REAL>(std::max(200, card.Width() - 40)), 30),
            white, Gdiplus::StringAlignmentNear);
    }
}

void CDeviceList::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(*this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int, int) {
        std::lock_guard<std::mutex> guard(m_itemLock);
        LayOutCards();
        DrawCards(graphics);
    });
}

BOOL CDeviceList::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    bool changed = false;
    bool overCard = false;
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        const int before = m_hover;
        if (!m_rect.PtInRect(point)) {
            m_hover = -1;
        } else if (m_hover >= 0 && m_hover < static_cast<int>(m_devices.size()) &&
                   m_devices[static_cast<size_t>(m_hover)]->card.PtInRect(point)) {
            overCard = true;
        } else {
            m_hover = -1;
            for (size_t i = 0; i < m_devices.size(); ++i) {
                if (m_devices[i]->state > 0 && m_devices[i]->card.PtInRect(point)) {
                    m_hover = static_cast<int>(i);
                    overCard = true;
                    break;
                }
            }
        }
        changed = before != m_hover;
    }
    SetNamedCursor(overCard ? IDC_HAND : IDC_ARROW);
    if (changed) {
        UpdateControl(TRUE);
    }
    return overCard ? TRUE : FALSE;
}

BOOL CDeviceList::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(m_itemLock);
    if (m_hover >= 0 && m_hover < static_cast<int>(m_devices.size()) &&
        m_devices[static_cast<size_t>(m_hover)]->card.PtInRect(point)) {
        SetNamedCursor(IDC_HAND);
        return TRUE;
    }
    return FALSE;
}

BOOL CDeviceList::OnControlLButtonUp(UINT, POINT) {
    if (!m_enabled) {
        return FALSE;
    }
    bool notify = false;
    bool hadHover = false;
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        if (m_hover >= 0 && m_hover < static_cast<int>(m_devices.size())) {
            hadHover = true;
            m_selected = m_hover;
            notify = m_devices[static_cast<size_t>(m_hover)]->state > 0;
        }
    }
    if (!hadHover) {
        return FALSE;
    }
    SetNamedCursor(IDC_ARROW);
    UpdateControl(TRUE);
    if (notify) {
        SendMessageW(kNotifyClicked, 0, 0);
    }
    return TRUE;
}

long CDeviceList::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code == kNotifyScroll && (controlId == kVerticalBarId || controlId == kHorizontalBarId)) {
        UpdateControl(TRUE);
    }
    return MPanel::OnMessage(controlId, code, wParam, lParam);
}

BOOL CDeviceList::OnControlScroll(int, int, POINT) {
    // The cards stay where they are.
    return FALSE;
}

}  // namespace Orvo
