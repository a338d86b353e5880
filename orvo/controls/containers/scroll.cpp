#include "orvo/scroll.h"

#include <gdiplus.h>

#include <algorithm>

#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

constexpr int kMinimumThumb = 100;  // a shorter thumb grows to this, or to track - 50
constexpr int kThumbSlack = 50;
constexpr int kCapLength = 6;  // track and thumb are drawn as cap, stretched middle, cap
constexpr int kSkinFrames = 3;
constexpr int kTrackFrame = 0;
constexpr int kThumbHotFrame = 1;
constexpr int kThumbFrame = 2;

}  // namespace

ScrollGeometry ComputeScrollGeometry(int length, int arrow, int range, int position, int page) {
    ScrollGeometry geometry;
    geometry.track = std::max(0, length - 2 * arrow);
    geometry.page = page > 0 ? page : std::max(length, range / 10);
    geometry.shown = range > 0 && geometry.page < range;
    if (!geometry.shown || geometry.track <= 0) {
        geometry.shown = geometry.shown && geometry.track > 0;
        geometry.thumbOffset = arrow;
        return geometry;
    }
    int thumb =
        std::max(static_cast<int>(static_cast<long long>(geometry.page) * geometry.track / range),
                 arrow / 2);
    if (thumb < kMinimumThumb) {
        thumb = std::min(kMinimumThumb, geometry.track - kThumbSlack);
    }
    // A short bar keeps a thumb of at least a pixel and never longer than its track.
    thumb = std::clamp(thumb, 1, geometry.track);
    geometry.thumbLength = thumb;
    const int travel = geometry.track - thumb;
    const int clamped = std::clamp(position, 0, range);
    geometry.thumbOffset =
        arrow + static_cast<int>(static_cast<long long>(clamped) * travel / range);
    return geometry;
}

int ScrollPositionAt(const ScrollGeometry& geometry, int arrow, int range, int thumbOffset) {
    const int travel = geometry.track - geometry.thumbLength;
    if (travel <= 0 || range <= 0) {
        return 0;
    }
    const int moved = std::clamp(thumbOffset - arrow, 0, travel);
    return static_cast<int>(static_cast<long long>(moved) * range / travel);
}

MScroll::MScroll(MObject* parent, UINT id, const RECT& rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {
    m_imageCount = kSkinFrames;
    SetRange();
}

void MScroll::SetScrollCurrentPos(int position) {
    ChangePosition(position, false);
}

void MScroll::SetScrollCurrentPosEx(int position) {
    ChangePosition(position, true);
}

void MScroll::SetScrollFinalPos() {
    SetRange();
    ChangePosition(m_geometry.shown ? m_range : 0, false);
}

void MScroll::SetScrollMaxRange(int range) {
    m_range = std::max(0, range);
    m_position = std::clamp(m_position, 0, m_range);
    SetRangeEx();
}

void MScroll::SetScrollSize(int page, int step) {
    m_page = std::max(0, page);
    m_step = std::max(0, step);
    SetRangeEx();
}

void MScroll::SetScrollInfo(int range, int position, int page, int step) {
    m_range = std::max(0, range);
    if (page > 0) {
        m_page = page;
    }
    if (step > 0) {
        m_step = step;
    }
    m_position = std::clamp(position, 0, m_range);
    SetRangeEx();
}

void MScroll::ScrollRow(int rows) {
    ChangePosition(m_position + rows * m_step, true);
}

CRect MScroll::GetThumbRect() const {
    if (!m_geometry.shown) {
        return CRect();
    }
    const int start = BarStart() + m_geometry.thumbOffset;
    return m_vertical ? CRect(m_rect.left, start, m_rect.right, start + m_geometry.thumbLength)
                      : CRect(start, m_rect.top, start + m_geometry.thumbLength, m_rect.bottom);
}

void MScroll::MoveRange(int delta) {
    if (!m_geometry.shown) {
        return;
    }
    const int travel = m_geometry.track - m_geometry.thumbLength;
    const int offset = std::clamp(m_geometry.thumbOffset + delta, m_arrow, m_arrow + travel);
    const int position = ScrollPositionAt(m_geometry, m_arrow, m_range, offset);
    m_geometry.thumbOffset = offset;
    const bool changed = position != m_position;
    m_position = position;
    m_changing = true;
    UpdateControl(TRUE);
    if (changed) {
        SendMessageW(kNotifyScroll, static_cast<WPARAM>(m_position));
    }
    m_changing = false;
}

void MScroll::SetRange() {
    m_geometry = ComputeScrollGeometry(BarLength(), m_arrow, m_range, m_position, m_page);
}

void MScroll::SetRangeEx() {
    SetRange();
    UpdateControl(TRUE);
}

void MScroll::ChangePosition(int position, bool notify) {
    const int clamped = std::clamp(position, 0, m_range);
    const bool changed = clamped != m_position;
    m_position = clamped;
    SetRangeEx();
    if (changed && notify) {
        m_changing = true;
        SendMessageW(kNotifyScroll, static_cast<WPARAM>(m_position));
        m_changing = false;
    }
}

void MScroll::InitControl(PaintManager* manager) {
    MControlFont::InitControl(manager);
}

void MScroll::LoadSkin(const wchar_t* fileName) {
    if (m_manager == nullptr) {
        return;
    }
    const UINT resource = m_vertical ? m_manager->GetScrollVID() : m_manager->GetScrollHID();
    ImgResInfo* info = nullptr;
    if (resource != 0) {
        info = m_manager->AddImgResInfo(resource, L"PNG", kSkinFrames,
                                        m_manager->IsScrollResFromApplication() ? 1 : 0);
    }
    if (info == nullptr || info->image == nullptr) {
        info = m_manager->AddImgResInfo(fileName, kSkinFrames);
    }
    if (info == nullptr || info->image == nullptr) {
        return;
    }
    m_image = info->image.get();
    m_imageWidth = info->frameWidth;
    m_imageHeight = info->frameHeight;
    m_imageCount = kSkinFrames;
    m_imagePath = info->key;
}

void MScroll::SetControlRect(const CRect& rect) {
    MControlFont::SetControlRect(rect);
    SetRange();
}

BOOL MScroll::PtInRect(POINT point) const {
    return m_geometry.shown && MControlFont::PtInRect(point);
}

void MScroll::DrawControl(HDC hdc, const RECT& rect) {
    if (!m_geometry.shown || m_image == nullptr || !m_rect.Intersects(rect) || m_imageWidth <= 0 ||
        m_imageHeight <= 0) {
        return;
    }
    Gdiplus::Graphics graphics(hdc);
    const auto drawFrame = [&](int frame, const CRect& dest) {
        const int srcX = frame * m_imageWidth;
        if (m_vertical) {
            MRender::DrawImageFrameMID(&graphics, m_image, dest, srcX, 0, m_imageWidth,
                                       m_imageHeight, 0, kCapLength, 0, kCapLength);
        } else {
            MRender::DrawImageFrameMID(&graphics, m_image, dest, srcX, 0, m_imageWidth,
                                       m_imageHeight, kCapLength, 0, kCapLength, 0);
        }
    };
    drawFrame(kTrackFrame, m_rect);
    drawFrame(m_mouseState == MouseState::kNormal ? kThumbFrame : kThumbHotFrame, GetThumbRect());
}

void MScroll::SetMouseState(MouseState state) {
    if (state != m_mouseState) {
        m_mouseState = state;
        UpdateControl(TRUE);
    }
}

BOOL MScroll::OnControlMouseMove(UINT, POINT point) {
    if (m_mouseState == MouseState::kDragging) {
        const int along = AlongBar(point);
        const int delta = along - m_dragAnchor;
        m_dragAnchor = along;
        if (delta != 0) {
            MoveRange(delta);
        }
        return TRUE;
    }
    const bool overThumb = m_geometry.shown && GetThumbRect().PtInRect(point);
    SetMouseState(overThumb ? MouseState::kOverThumb : MouseState::kNormal);
    return overThumb ? TRUE : FALSE;
}

BOOL MScroll::OnControlLButtonDown(UINT, POINT point) {
    if (!m_geometry.shown || !m_enabled) {
        return FALSE;
    }
    const CRect thumb = GetThumbRect();
    if (thumb.PtInRect(point)) {
        m_dragAnchor = AlongBar(point);
        SetMouseState(MouseState::kDragging);
        return TRUE;
    }
    // A press on the track moves a page's worth of thumb towards it.
    const int pageStep = static_cast<int>(static_cast<long long>(m_geometry.track) *
                                          m_geometry.page / std::max(1, m_range));
    const int along = AlongBar(point);
    const int thumbStart = m_vertical ? thumb.top : thumb.left;
    MoveRange(along < thumbStart ? -pageStep : pageStep);
    return TRUE;
}

BOOL MScroll::OnControlLButtonUp(UINT, POINT point) {
    if (m_mouseState != MouseState::kDragging) {
        return FALSE;
    }
    SetMouseState(GetThumbRect().PtInRect(point) ? MouseState::kOverThumb : MouseState::kNormal);
    return TRUE;
}

long MScroll::OnMessage(UINT controlId, UINT code, WPARAM, LPARAM) {
    if (code != kNotifyClicked) {
        return 0;
    }
    const std::vector<MControl*> arrows = GetControls();
    if (arrows.empty()) {
        return 0;
    }
    const bool backwards = arrows.front()->GetControlID() == controlId;
    ChangePosition(m_position + (backwards ? -m_step : m_step), true);
    return 1;
}

CScrollVertical::CScrollVertical(MObject* parent, UINT id, const RECT& rect, int visible)
    : MScroll(parent, id, rect, visible) {
    SetVertical(true);
    SetRange();
}

void CScrollVertical::InitControl(PaintManager* manager) {
    MScroll::InitControl(manager);
    LoadSkin(L"img_scroll_v.png");
}

CScrollHorizontal::CScrollHorizontal(MObject* parent, UINT id, const RECT& rect, int visible)
    : MScroll(parent, id, rect, visible) {
    SetVertical(false);
    SetRange();
}

void CScrollHorizontal::InitControl(PaintManager* manager) {
    MScroll::InitControl(manager);
    LoadSkin(L"img_scroll_h.png");
}

}  // namespace Orvo
