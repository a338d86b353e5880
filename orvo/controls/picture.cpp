#include "orvo/picture.h"

#include <algorithm>
#include <cstring>

#include "control_paint.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "orvo/image_strip.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MPicture);
ORVO_REGISTER_CONTROL(CPhotoFrame);
ORVO_REGISTER_CONTROL(CSliderPicture);
ORVO_REGISTER_CONTROL(CGifPicture);

namespace {

// Smooth scaling that never reaches outside the source rectangle (the edge pixels repeat
// instead of fading into transparency or the next frame).
void DrawSmooth(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const Gdiplus::Rect& dest,
                int srcX, int srcY, int srcW, int srcH) {
    if (image == nullptr || dest.Width <= 0 || dest.Height <= 0 || srcW <= 0 || srcH <= 0) {
        return;
    }
    if (dest.Width == srcW && dest.Height == srcH) {
        MRender::DrawImageExact(&graphics, image, dest, srcX, srcY, srcW, srcH);
        return;
    }
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    const Gdiplus::InterpolationMode interpolation = graphics.GetInterpolationMode();
    const Gdiplus::PixelOffsetMode offset = graphics.GetPixelOffsetMode();
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.DrawImage(image, dest, srcX, srcY, srcW, srcH, Gdiplus::UnitPixel, &attributes);
    graphics.SetInterpolationMode(interpolation);
    graphics.SetPixelOffsetMode(offset);
}

}  // namespace

MPicture::MPicture(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    SetImageCount(1);
    // Pictures lie behind other controls: the pointer passes through them.
    SetRresponse(0);
}

void MPicture::SetShowMode(int mode, int corner) {
    const bool changed = mode != m_showMode || (mode == kShowNinePatch && corner != m_corner);
    m_showMode = mode;
    m_corner = corner;
    if (changed) {
        UpdateControl(TRUE);
    }
}

void MPicture::SetShowModeMID(int left, int top, int right, int bottom) {
    m_insets = CRect(left, top, right, bottom);
    m_showMode = kShowThreeByThree;
    UpdateControl(TRUE);
}

void MPicture::SetShowModeSource(const RECT& source) {
    m_source = source;
    m_showMode = kShowSourceRect;
    UpdateControl(TRUE);
}

void MPicture::DrawPicture(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int frameX,
                           int frameWidth, int frameHeight, int x, int y, int width,
                           int height) const {
    if (image == nullptr || frameWidth <= 0 || frameHeight <= 0 || width <= 0 || height <= 0) {
        return;
    }
    const CRect dest(x, y, x + width, y + height);
    switch (m_showMode) {
        case kShowTiled: {
            graphics.SetClip(Gdiplus::Rect(x, y, width, height));
            for (int top = y; top < y + height; top += frameHeight) {
                for (int left = x; left < x + width; left += frameWidth) {
                    MRender::DrawImageExact(&graphics, image,
                                            Gdiplus::Rect(left, top, frameWidth, frameHeight),
                                            frameX, 0, frameWidth, frameHeight);
                }
            }
            graphics.ResetClip();
            break;
        }
        case kShowStretched:
            DrawSmooth(graphics, image, Gdiplus::Rect(x, y, width, height), frameX, 0, frameWidth,
                       frameHeight);
            break;
        case kShowNinePatch:
            MRender::DrawImageFrame(&graphics, image, dest, frameX, 0, frameWidth, frameHeight,
                                    m_corner);
            break;
        case kShowThreeByThree:
            MRender::DrawImageFrameMID(&graphics, image, dest, frameX, 0, frameWidth, frameHeight,
                                       m_insets.left, m_insets.top, m_insets.right,
                                       m_insets.bottom);
            break;
        case kShowSourceRect: {
            const CRect source = CRect::Intersection(
                CRect(m_source.left, m_source.top, m_source.right, m_source.bottom),
                CRect(0, 0, frameWidth, frameHeight));
            if (!source.IsRectEmpty()) {
                DrawSmooth(graphics, image, Gdiplus::Rect(x, y, width, height),
                           frameX + source.left, source.top, source.Width(), source.Height());
            }
            break;
        }
        default: {
            const int horizontal = m_hAlign == 0 || m_hAlign == 2 ? m_hAlign : 1;
            const int vertical = m_vAlign == 0 || m_vAlign == 8 ? m_vAlign : 4;
            const StripOffset offset =
                AlignContent(width, height, frameWidth, frameHeight, horizontal, vertical);
            MRender::DrawImageExact(
                &graphics, image,
                Gdiplus::Rect(x + offset.x, y + offset.y, frameWidth, frameHeight), frameX, 0,
                frameWidth, frameHeight);
            break;
        }
    }
}

void MPicture::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            DrawPicture(graphics, m_image, 0, m_imageWidth, m_imageHeight, 0, 0, width, height);
        });
}

CPhotoFrame::CPhotoFrame(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MPicture(parent, id, rect, visible, enabled) {
    SetRresponse(1);
}

bool CPhotoFrame::TakeFrame(ImgResInfo* info, int count) {
    if (info == nullptr || info->image == nullptr) {
        return false;
    }
    m_frameImage = info->image.get();
    m_frameWidth = info->frameWidth;
    m_frameHeight = info->frameHeight;
    m_frameCount = count;
    UpdateControl(TRUE);
    return true;
}

int CPhotoFrame::SetPhotoFrame(const wchar_t* fileName, int count) {
    if (m_manager == nullptr || fileName == nullptr || count <= 0) {
        return 0;
    }
    return TakeFrame(m_manager->AddImgResInfo(fileName, count), count) ? 1 : 0;
}

int CPhotoFrame::SetPhotoFrame(UINT resourceId, int count) {
    if (m_manager == nullptr || count <= 0) {
        return 0;
    }
    return TakeFrame(m_manager->AddImgResInfo(resourceId, L"PNG", count, 1), count) ? 1 : 0;
}

void CPhotoFrame::SetMouseState(int state) {
    if (state != m_mouseState) {
        m_mouseState = state;
        UpdateControl(TRUE);
    }
}

BOOL CPhotoFrame::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled || m_mouseState == 2) {
        return FALSE;
    }
    SetMouseState(m_rect.PtInRect(point) ? 1 : 0);
    return FALSE;
}

BOOL CPhotoFrame::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    SetMouseState(2);
    SendMessageW(kNotifyPressed, 0, 0);
    return TRUE;
}

BOOL CPhotoFrame::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const bool inside = m_rect.PtInRect(point) != 0;
    SetMouseState(inside ? 1 : 0);
    if (inside) {
        SendMessageW(kNotifyClicked, 0, 0);
    }
    return TRUE;
}

void CPhotoFrame::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            const int shift = m_mouseState == 2 ? 1 : 0;
            DrawPicture(graphics, m_image, 0, m_imageWidth, m_imageHeight, kFrameCorner,
                        kFrameCorner + shift, width - 2 * kFrameCorner, height - 2 * kFrameCorner);
            if (m_frameImage != nullptr) {
                const int state = m_enabled ? m_mouseState : 3;
                const StripRect frame =
                    StripFrameRect(m_frameWidth * m_frameCount, m_frameHeight, m_frameCount, state);
                MRender::DrawImageFrame(&graphics, m_frameImage, CRect(0, 0, width, height),
                                        frame.x, frame.y, frame.width, frame.height, kFrameCorner);
            }
        });
}

CSliderPicture::CSliderPicture(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MPicture(parent, id, rect, visible, enabled) {}

void CSliderPicture::InitControl(PaintManager* manager) {
    MPicture::InitControl(manager);
    AddMTimer();
}

int CSliderPicture::Span() const {
    return m_mode == kSlideFromTop || m_mode == kSlideFromBottom ? m_rect.Height() : m_rect.Width();
}

void CSliderPicture::SetRun(int run, int mode) {
    if (run) {
        m_mode = mode;
        m_offset = Span();
        m_running = 1;
        AddMTimer();
    } else {
        m_running = 0;
    }
    SetRunTimer(m_running);
    UpdateControl(TRUE);
}

int CSliderPicture::OnControlTimer() {
    if (!m_running || !m_visible) {
        return 0;
    }
    const int step = std::max(1, Span() / kSteps);
    m_offset = std::max(0, m_offset - step);
    if (m_offset == 0) {
        m_running = 0;
        SetRunTimer(0);
    }
    UpdateControl(TRUE);
    return 1;
}

void CSliderPicture::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            int dx = 0;
            int dy = 0;
            switch (m_mode) {
                case kSlideFromRight:
                    dx = m_offset;
                    break;
                case kSlideFromTop:
                    dy = -m_offset;
                    break;
                case kSlideFromBottom:
                    dy = m_offset;
                    break;
                default:
                    dx = -m_offset;
                    break;
            }
            graphics.SetClip(Gdiplus::Rect(0, 0, width, height));
            DrawPicture(graphics, m_image, 0, m_imageWidth, m_imageHeight, dx, dy, width, height);
            graphics.ResetClip();
        });
}

CGifPicture::CGifPicture(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    SetImageCount(1);
}

void CGifPicture::InitControl(PaintManager* manager) {
    MControlFont::InitControl(manager);
    AddMTimer();
}

int CGifPicture::SetImage(const wchar_t* fileName, int) {
    const int loaded = MControlFont::SetImage(fileName, 1);
    ReadFrames();
    return loaded;
}

void CGifPicture::ReadFrames() {
    m_frameCount = 1;
    m_currentFrame = 0;
    m_shownFor = 0;
    m_delays.assign(1, kDefaultDelayMs);
    if (m_image == nullptr) {
        return;
    }
    GUID time = Gdiplus::FrameDimensionTime;
    const UINT frames = m_image->GetFrameCount(&time);
    if (frames <= 1) {
        return;
    }
    m_frameCount = static_cast<int>(frames);
    m_delays.assign(frames, kDefaultDelayMs);
    const UINT size = m_image->GetPropertyItemSize(PropertyTagFrameDelay);
    if (size < sizeof(Gdiplus::PropertyItem)) {
        return;
    }
    std::vector<BYTE> buffer(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (m_image->GetPropertyItem(PropertyTagFrameDelay, size, item) != Gdiplus::Ok ||
        item->value == nullptr) {
        return;
    }
    // One 32-bit delay in hundredths of a second per frame; a file may carry fewer.
    const UINT count = std::min<UINT>(frames, item->length / 4);
    for (UINT i = 0; i < count; ++i) {
        LONG hundredths = 0;
        std::memcpy(&hundredths, static_cast<const BYTE*>(item->value) + i * 4, 4);
        if (hundredths > 0) {
            m_delays[i] = static_cast<int>(hundredths) * 10;
        }
    }
}

int CGifPicture::GetFrameDelay(int frame) const {
    if (frame < 0 || frame >= static_cast<int>(m_delays.size())) {
        return kDefaultDelayMs;
    }
    return m_delays[static_cast<size_t>(frame)];
}

void CGifPicture::SetRunState(int run, int frame) {
    if (m_frameCount <= 1) {
        return;
    }
    m_running = run ? 1 : 0;
    m_currentFrame = ((frame % m_frameCount) + m_frameCount) % m_frameCount;
    m_shownFor = 0;
    m_lastTick = ::GetTickCount();
    AddMTimer();
    SetRunTimer(m_running);
    UpdateControl(TRUE);
}

bool CGifPicture::Advance(DWORD elapsedMs) {
    if (!m_running || m_frameCount <= 1) {
        return false;
    }
    m_shownFor += elapsedMs;
    bool changed = false;
    // A long pause skips frames rather than replaying them one tick at a time.
    for (int guard = 0; guard < m_frameCount; ++guard) {
        const DWORD delay = static_cast<DWORD>(GetFrameDelay(m_currentFrame));
        if (m_shownFor < delay) {
            break;
        }
        m_shownFor -= delay;
        m_currentFrame = (m_currentFrame + 1) % m_frameCount;
        changed = true;
    }
    if (m_shownFor > static_cast<DWORD>(GetFrameDelay(m_currentFrame))) {
        m_shownFor = 0;
    }
    return changed;
}

int CGifPicture::OnControlTimer() {
    const DWORD now = ::GetTickCount();
    const DWORD elapsed = now - m_lastTick;
    m_lastTick = now;
    if (!m_visible || !Advance(elapsed)) {
        return 0;
    }
    UpdateControl(TRUE);
    return 1;
}

BOOL CGifPicture::OnControlMouseMove(UINT, POINT point) {
    if (!m_playOnHover) {
        return FALSE;
    }
    const bool inside = m_rect.PtInRect(point) != 0;
    if (inside == m_hovered) {
        return FALSE;
    }
    m_hovered = inside;
    if (inside) {
        SetRunState(1, 0);
    } else if (m_running) {
        m_running = 0;
        SetRunTimer(0);
        UpdateControl(TRUE);
    }
    return FALSE;
}

void CGifPicture::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            if (m_image == nullptr) {
                return;
            }
            if (m_frameCount > 1) {
                GUID time = Gdiplus::FrameDimensionTime;
                m_image->SelectActiveFrame(&time, static_cast<UINT>(m_currentFrame));
            }
            DrawSmooth(graphics, m_image, Gdiplus::Rect(0, 0, width, height), 0, 0,
                       static_cast<int>(m_image->GetWidth()),
                       static_cast<int>(m_image->GetHeight()));
        });
}

}  // namespace Orvo
