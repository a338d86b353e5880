#include "orvo/battery.h"

#include "battery_gauge.h"
#include "control_paint.h"
#include "device_geometry.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(BatteryCtrl);
ORVO_REGISTER_CONTROL(CDeviceState);

namespace {

constexpr Argb kLowMarkColour{0xFFFF0000};
constexpr Argb kDeviceOffTextColour{0xFF808080};
constexpr Argb kDeviceOffTextColourWide{0xFFC8C8C8};
// The fixed strip of the level image the device list copies its segments from.
constexpr int kFixedStripX = 10;
// The background picture's outline: the red mark stays inside it.
constexpr int kGaugeOutline = 3;

}  // namespace

bool BatteryIcons::Load(PaintManager* manager, const wchar_t* levelFile,
                        const wchar_t* chargingFile) {
    if (manager == nullptr || levelFile == nullptr || chargingFile == nullptr) {
        return false;
    }
    ImgResInfo* levelInfo = manager->AddImgResInfo(levelFile, 1);
    ImgResInfo* chargingInfo = manager->AddImgResInfo(chargingFile, 1);
    if (levelInfo == nullptr || levelInfo->image == nullptr || chargingInfo == nullptr ||
        chargingInfo->image == nullptr) {
        return false;
    }
    level = levelInfo->image.get();
    levelWidth = levelInfo->frameWidth;
    levelHeight = levelInfo->frameHeight;
    charging = chargingInfo->image.get();
    chargingWidth = chargingInfo->frameWidth;
    chargingHeight = chargingInfo->frameHeight;
    return true;
}

void DrawBatteryGauge(Gdiplus::Graphics& graphics, Gdiplus::Image* background, int backgroundWidth,
                      int backgroundHeight, const BatteryIcons& icons, int x, int y, int segments,
                      bool lowMark, int lowMarkDrop, SegmentSource source) {
    if (background != nullptr) {
        MRender::DrawImageExact(&graphics, background,
                                Gdiplus::Rect(x, y, backgroundWidth, backgroundHeight), 0, 0,
                                backgroundWidth, backgroundHeight);
    }
    if (icons.level == nullptr) {
        return;
    }
    const int width = DeviceGeometry::SegmentWidth(icons.levelWidth);
    if (width <= 0) {
        return;
    }
    for (int i = 0; i < segments && i < DeviceGeometry::kSegments; ++i) {
        const int left = DeviceGeometry::SegmentLeft(i, width);
        int sourceX = kFixedStripX;
        if (source == SegmentSource::kOwnPlace) {
            // The last segment of a nearly full gauge lies past the level image's end.
            sourceX = (i == segments - 1 && i >= 3) ? left - 5 : left;
        }
        if (sourceX + width > icons.levelWidth) {
            sourceX = icons.levelWidth - width;
        }
        MRender::DrawImageExact(&graphics, icons.level,
                                Gdiplus::Rect(x + left, y, width, icons.levelHeight), sourceX, 0,
                                width, icons.levelHeight);
    }
    if (lowMark) {
        const int left = DeviceGeometry::SegmentLeft(0, width);
        CRect mark(x + left, y + lowMarkDrop, x + left + width,
                   y + lowMarkDrop + icons.levelHeight);
        if (background != nullptr) {
            CRect inside(x, y, x + backgroundWidth, y + backgroundHeight);
            inside.DeflateRect(kGaugeOutline, kGaugeOutline);
            mark = CRect::Intersection(mark, inside);
        }
        if (!mark.IsRectEmpty()) {
            Gdiplus::SolidBrush red{ControlPaint::GdiColor(kLowMarkColour)};
            graphics.FillRectangle(&red, mark.left, mark.top, mark.Width(), mark.Height());
        }
    }
}

BatteryCtrl::BatteryCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 0) {
    SetImageCount(1);
}

BatteryCtrl::~BatteryCtrl() {
    if (m_manager != nullptr && m_animating) {
        m_manager->KillTimer(this, kChargeTimerKey);
    }
}

void BatteryCtrl::SetBatteryInfo(int level, int charging) {
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        if (level == m_level && charging == m_charging) {
            return;
        }
        m_level = level;
        m_charging = charging;
    }
    // From the worker the request is queued for the window's thread, which paints.
    UpdateControl(TRUE);
}

int BatteryCtrl::GetBatteryLevel() const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    return m_level;
}

int BatteryCtrl::GetCharging() const {
    std::lock_guard<std::mutex> guard(m_itemLock);
    return m_charging;
}

int BatteryCtrl::SetBatteryIcon(const wchar_t* levelFile, const wchar_t* chargingFile) {
    if (!m_icons.Load(m_manager, levelFile, chargingFile)) {
        return 0;
    }
    UpdateControl(TRUE);
    return 1;
}

int BatteryCtrl::SetImage(const wchar_t* fileName, int) {
    return MControlFont::SetImage(fileName, 1);
}

int BatteryCtrl::GetShownSegments() const {
    int level = 0;
    int charging = 0;
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        level = m_level;
        charging = m_charging;
    }
    return charging == 1 ? DeviceGeometry::ChargingSegments(level, m_chargePhase)
                         : (level < 0 ? 0 : DeviceGeometry::SegmentCount(level));
}

void BatteryCtrl::StartAnimation() {
    if (m_animating || m_manager == nullptr) {
        return;
    }
    m_chargePhase = 0;
    m_animating = m_manager->SetTimer(this, kChargeTimerKey, kChargeStepMs) != FALSE;
}

void BatteryCtrl::StopAnimation() {
    if (!m_animating) {
        return;
    }
    if (m_manager != nullptr) {
        m_manager->KillTimer(this, kChargeTimerKey);
    }
    m_animating = false;
    m_chargePhase = 0;
}

int BatteryCtrl::OnControlTimer() {
    if (!m_animating) {
        return 0;
    }
    if (GetCharging() != 1) {
        StopAnimation();
        UpdateControl(TRUE);
        return 1;
    }
    ++m_chargePhase;
    UpdateControl(TRUE);
    return 1;
}

void BatteryCtrl::DrawControl(HDC hdc, const RECT&) {
    int level = 0;
    int charging = 0;
    {
        std::lock_guard<std::mutex> guard(m_itemLock);
        level = m_level;
        charging = m_charging;
    }
    // The animation is started and stopped here, on the window's thread, whichever thread
    // changed the charging flag.
    if (charging == 1) {
        StartAnimation();
    } else {
        StopAnimation();
    }
    ControlPaint::PaintCached(*this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int, int height) {
        const int segments = GetShownSegments();
        const bool lowMark = DeviceGeometry::ShowsLowMark(level) && segments == 0;
        DrawBatteryGauge(graphics, m_image, m_imageWidth, m_imageHeight, m_icons, 0, 0, segments,
                         lowMark, 4, SegmentSource::kOwnPlace);
        if (charging == 1 && m_icons.charging != nullptr) {
            MRender::DrawImageExact(
                &graphics, m_icons.charging,
                Gdiplus::Rect(m_imageWidth + 1, (height - m_icons.chargingHeight) / 2,
                              m_icons.chargingWidth, m_icons.chargingHeight),
                0, 0, m_icons.chargingWidth, m_icons.chargingHeight);
        }
    });
}

CDeviceState::CDeviceState(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                           int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    SetAlignment(1, 4);
}

void CDeviceState::SetControlTitle(const wchar_t* text) {
    SetTitle(text);
    UpdateControl(TRUE);
}

void CDeviceState::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            if (m_image != nullptr) {
                graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
                graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
                graphics.DrawImage(m_image, Gdiplus::Rect(0, 0, width, height), 0, 0, m_imageWidth,
                                   m_imageHeight, Gdiplus::UnitPixel);
            }
            const auto font = ControlPaint::MakeFont(*this);
            graphics.SetTextRenderingHint(
                static_cast<Gdiplus::TextRenderingHint>(GetTextRenderingHint()));
            ControlPaint::DrawLine(graphics, font.get(), m_title.c_str(),
                                   Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width),
                                                  static_cast<Gdiplus::REAL>(height)),
                                   *GetTextBrush());
        });
}

CDeviceCtrl::CDeviceCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    SetAlignment(1, 4);
}

CDeviceCtrl::~CDeviceCtrl() = default;

int CDeviceCtrl::SetImage(const wchar_t* path, int count) {
    if (path == nullptr || count <= 0) {
        return 0;
    }
    std::unique_ptr<Gdiplus::Image> picture = MRender::LoadImageFromFile(path);
    if (picture == nullptr) {
        return 0;
    }
    m_pictureFrames = count;
    m_pictureFrameWidth = static_cast<int>(picture->GetWidth()) / count;
    m_pictureHeight = static_cast<int>(picture->GetHeight());
    m_picture = std::move(picture);
    UpdateControl(TRUE);
    return 1;
}

void CDeviceCtrl::SetDeviceStatus(int status) {
    m_status = status;
    if (status == 0) {
        m_mouseState = 0;
    }
    UpdateControl(TRUE);
}

void CDeviceCtrl::SetShowMode(int mode) {
    if (mode == m_showMode) {
        return;
    }
    m_showMode = mode;
    UpdateControl(TRUE);
}

void CDeviceCtrl::SetMouseState(int state) {
    if (state != m_mouseState) {
        m_mouseState = state;
        UpdateControl(TRUE);
    }
}

BOOL CDeviceCtrl::OnControlMouseMove(UINT, POINT point) {
    if (!TakesInput() || m_mouseState == 2) {
        return FALSE;
    }
    SetMouseState(m_rect.PtInRect(point) ? 1 : 0);
    return FALSE;
}

BOOL CDeviceCtrl::OnControlLButtonDown(UINT, POINT point) {
    if (!TakesInput() || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    SetMouseState(2);
    SendMessageW(kNotifyPressed, 0, 0);
    return TRUE;
}

BOOL CDeviceCtrl::OnControlLButtonUp(UINT, POINT point) {
    if (!TakesInput()) {
        return FALSE;
    }
    const bool inside = m_rect.PtInRect(point) != 0;
    SetMouseState(inside ? 1 : 0);
    if (inside) {
        SendMessageW(kNotifyClicked, 0, 0);
    }
    return TRUE;
}

void CDeviceCtrl::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            const int shift = m_mouseState == 2 ? 1 : 0;
            const int frame = m_status == 0 ? m_pictureFrames - 1
                                            : (m_mouseState < m_pictureFrames ? m_mouseState : 0);
            Argb textColour = GetTextColor();
            if (m_status == 0) {
                textColour = m_showMode == 0 ? kDeviceOffTextColour : kDeviceOffTextColourWide;
            }
            Gdiplus::SolidBrush textBrush{ControlPaint::GdiColor(textColour)};
            const auto font = ControlPaint::MakeFont(*this);
            graphics.SetTextRenderingHint(
                static_cast<Gdiplus::TextRenderingHint>(GetTextRenderingHint()));
            if (m_showMode == 0) {
                const int area = height - kCaptionHeight;
                if (m_picture != nullptr) {
                    MRender::DrawImageExact(&graphics, m_picture.get(),
                                            Gdiplus::Rect((width - m_pictureFrameWidth) / 2 + shift,
                                                          (area - m_pictureHeight) / 2 + shift,
                                                          m_pictureFrameWidth, m_pictureHeight),
                                            frame * m_pictureFrameWidth, 0, m_pictureFrameWidth,
                                            m_pictureHeight);
                }
                ControlPaint::DrawLine(
                    graphics, font.get(), m_title.c_str(),
                    Gdiplus::RectF(0, static_cast<Gdiplus::REAL>(area),
                                   static_cast<Gdiplus::REAL>(width), kCaptionHeight),
                    textBrush);
            } else {
                Gdiplus::SolidBrush back{ControlPaint::GdiColor(m_backColour)};
                graphics.FillRectangle(&back, 0, 0, width, height);
                if (m_picture != nullptr) {
                    MRender::DrawImageExact(
                        &graphics, m_picture.get(),
                        Gdiplus::Rect(5 + shift, (height - m_pictureHeight) / 2 + shift,
                                      m_pictureFrameWidth, m_pictureHeight),
                        frame * m_pictureFrameWidth, 0, m_pictureFrameWidth, m_pictureHeight);
                }
                ControlPaint::DrawLine(
                    graphics, font.get(), m_title.c_str(),
                    Gdiplus::RectF(static_cast<Gdiplus::REAL>(5 + m_pictureFrameWidth + 8),
                                   static_cast<Gdiplus::REAL>((height - kCaptionHeight) / 2), 190,
                                   kCaptionHeight),
                    textBrush, Gdiplus::StringAlignmentNear);
            }
        });
}

}  // namespace Orvo
