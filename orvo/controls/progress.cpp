#include "orvo/progress.h"

#include "control_paint.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"
#include "value_geometry.h"

namespace Orvo {

ORVO_REGISTER_CONTROL(MProgress);
ORVO_REGISTER_CONTROL(MLevelCtrl);

namespace {

constexpr Argb kProgressTextColour{0xFF808080};
constexpr Argb kLevelBoxColour{0xFEA0A0A0};
constexpr Argb kLevelFillColour{0xFEFFE100};
constexpr int kStateImageCorner = 2;

void FillRect(Gdiplus::Graphics& graphics, Argb colour, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    Gdiplus::SolidBrush brush{ControlPaint::GdiColor(colour)};
    graphics.FillRectangle(&brush, x, y, width, height);
}

}  // namespace

MProgress::MProgress(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1),
      m_fillColour(Manager::GetSelectColor()) {
    SetTextColor(kProgressTextColour);
    SetAlignment(1, 4);
    SetImageCount(2);
}

void MProgress::SetProgress(int progress) {
    if (!m_enabled) {
        return;
    }
    if (progress > m_maximum) {
        progress = m_maximum;
    }
    if (progress < 0 || progress == m_progress) {
        return;
    }
    m_progress = progress;
    UpdateControl(TRUE);
}

int MProgress::SetRun(int run, int progress) {
    if (!m_enabled) {
        return m_run;
    }
    bool changed = (run != 0) != (m_run != 0);
    m_run = run != 0 ? 1 : 0;
    if (progress >= 0 && progress <= m_maximum && progress != m_progress) {
        m_progress = progress;
        changed = true;
    }
    if (m_run) {
        // The animation needs the tick; registering twice is harmless.
        AddMTimer();
    }
    // Only a running bar keeps the tick awake.
    SetRunTimer(m_run);
    if (changed) {
        UpdateControl(TRUE);
    }
    return m_run;
}

void MProgress::EnableShowText(int on) {
    m_showText = on;
    UpdateControl(TRUE);
}

bool MProgress::LoadPicture(Picture& picture, ImgResInfo* info) {
    if (info == nullptr || info->image == nullptr) {
        return false;
    }
    picture.image = info->image.get();
    picture.width = info->frameWidth;
    picture.height = info->frameHeight;
    UpdateControl(TRUE);
    return true;
}

bool MProgress::SetBackGroundImage(const wchar_t* fileName) {
    return m_manager != nullptr && fileName != nullptr &&
           LoadPicture(m_background, m_manager->AddImgResInfo(fileName, 1));
}

bool MProgress::SetBackGroundImage(UINT resourceId) {
    return m_manager != nullptr &&
           LoadPicture(m_background, m_manager->AddImgResInfo(resourceId, L"PNG", 1, 1));
}

bool MProgress::SetForeGroundImage(const wchar_t* fileName) {
    return m_manager != nullptr && fileName != nullptr &&
           LoadPicture(m_foreground, m_manager->AddImgResInfo(fileName, 1));
}

bool MProgress::SetForeGroundImage(UINT resourceId) {
    return m_manager != nullptr &&
           LoadPicture(m_foreground, m_manager->AddImgResInfo(resourceId, L"PNG", 1, 1));
}

int MProgress::OnControlTimer() {
    if (!m_run || !m_visible) {
        return 0;
    }
    if (++m_tickCount < kTicksPerStep) {
        return 0;
    }
    m_tickCount = 0;
    ++m_progress;
    if (m_progress >= m_maximum) {
        m_progress = 0;
    }
    UpdateControl(TRUE);
    return 1;
}

void MProgress::DrawThreeParts(Gdiplus::Graphics& graphics, const Picture& picture, int width,
                               int height) const {
    MRender::DrawImageFrameMID(&graphics, picture.image, CRect(0, 0, width, height), 0, 0,
                               picture.width, picture.height, kSideWidth, 0, kSideWidth, 0);
}

void MProgress::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            const int filled = ValueGeometry::FilledWidth(width, m_progress, m_maximum);
            if (m_foreground.image != nullptr) {
                if (m_background.image != nullptr) {
                    DrawThreeParts(graphics, m_background, width, height);
                }
                if (filled > 0 && filled < kSideWidth) {
                    const int columns = filled < m_foreground.width ? filled : m_foreground.width;
                    MRender::DrawImageExact(&graphics, m_foreground.image,
                                            Gdiplus::Rect(0, 0, columns, height), 0, 0, columns,
                                            m_foreground.height);
                } else if (filled > 0) {
                    DrawThreeParts(graphics, m_foreground, filled, height);
                }
            } else if (m_image != nullptr) {
                const int frameWidth = m_imageWidth;
                MRender::DrawImageFrame(&graphics, m_image, CRect(0, 0, width, kBarHeight), 0, 0,
                                        frameWidth, m_imageHeight, kStateImageCorner);
                if (m_progress > 0 && filled > 0) {
                    MRender::DrawImageFrame(&graphics, m_image, CRect(0, 0, filled, kBarHeight),
                                            frameWidth, 0, frameWidth, m_imageHeight,
                                            kStateImageCorner);
                }
            } else {
                Gdiplus::Pen line{ControlPaint::GdiColor(m_lineColour), 1};
                graphics.DrawLine(&line, 1, height - 2, width, height - 2);
                if (m_progress > 0) {
                    FillRect(graphics, m_fillColour, 0, height - 3, filled, 3);
                }
            }
            if (m_showText) {
                const std::wstring text = ControlPaint::ValueText(m_title, m_progress, m_maximum);
                const auto font = ControlPaint::MakeFont(*this);
                graphics.SetTextRenderingHint(
                    static_cast<Gdiplus::TextRenderingHint>(GetTextRenderingHint()));
                ControlPaint::DrawLine(
                    graphics, font.get(), text.c_str(),
                    Gdiplus::RectF(static_cast<Gdiplus::REAL>((width - 60) / 2), 0, 60, 20),
                    *GetTextBrush());
            }
        });
}

MLevelCtrl::MLevelCtrl(MObject* parent, UINT id, const RECT& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    SetAlignment(1, 4);
}

void MLevelCtrl::SetLevelValue(int level) {
    level = ValueGeometry::Clamp(level, m_minimum, m_maximum < m_minimum ? m_minimum : m_maximum);
    if (level == m_level) {
        return;
    }
    m_level = level;
    UpdateControl(TRUE);
}

void MLevelCtrl::SetRangeValue(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

BOOL MLevelCtrl::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || !m_rect.PtInRect(point)) {
        return FALSE;
    }
    const ValueGeometry::LevelBoxes boxes =
        ValueGeometry::ComputeLevelBoxes(m_rect.Width(), m_minimum, m_maximum);
    const int box = boxes.BoxAt(point.x - m_rect.left);
    if (box < 0 || point.y - m_rect.top >= kBoxHeight) {
        return TRUE;
    }
    const int level = m_minimum + box;
    if (level != m_level) {
        m_level = level;
        UpdateControl(TRUE);
        SendMessageW(kNotifyClicked, static_cast<WPARAM>(level), 0);
    }
    return TRUE;
}

void MLevelCtrl::DrawControl(HDC hdc, const RECT&) {
    ControlPaint::PaintCached(
        *this, hdc, [&](Gdiplus::Graphics& graphics, HDC, int width, int height) {
            const ValueGeometry::LevelBoxes boxes =
                ValueGeometry::ComputeLevelBoxes(width, m_minimum, m_maximum);
            for (int k = 0; k < boxes.count && boxes.width > 0; ++k) {
                const int x = boxes.Left(k);
                FillRect(graphics, kLevelBoxColour, x, 0, boxes.width, kBoxHeight);
                if (m_level >= m_minimum + k) {
                    FillRect(graphics, kLevelFillColour, x + 1, 1, boxes.width - 2, kBoxHeight - 2);
                }
            }
            if (m_showText && height > kBoxHeight) {
                const std::wstring text =
                    ControlPaint::ValueText(m_title, m_level + m_minimum, m_maximum);
                const auto font = ControlPaint::MakeFont(*this);
                graphics.SetTextRenderingHint(
                    static_cast<Gdiplus::TextRenderingHint>(GetTextRenderingHint()));
                ControlPaint::DrawLine(
                    graphics, font.get(), text.c_str(),
                    Gdiplus::RectF(0, kBoxHeight, static_cast<Gdiplus::REAL>(width),
                                   static_cast<Gdiplus::REAL>(height - kBoxHeight)),
                    *GetTextBrush());
            }
        });
}

}  // namespace Orvo
