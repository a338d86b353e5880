#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "orvo/control_factory.h"
#include "orvo/control_font.h"
#include "orvo/img_res_info.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// How a picture fills its control.
enum enumShowMode : int {
    kShowOwnSize = 0,       // at its own size, placed by the control's alignments
    kShowTiled = 1,         // tiled from the top left, the last row and column clipped
    kShowStretched = 2,     // stretched over the control
    kShowNinePatch = 3,     // nine-patch with equal corners
    kShowThreeByThree = 4,  // nine-patch with four insets
    kShowSourceRect = 5,    // a rectangle of the picture stretched over the control
};

// A picture in one of six layouts. Its image is the control's own (frame 0 of `count`).
class ORVO_API MPicture : public MControlFont {
public:
    MPicture(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(MPicture, MControlFont)

    // Repaints when the mode, or in mode 3 the corner, changed.
    void SetShowMode(int mode, int corner = 4);
    int GetShowMode() const { return m_showMode; }
    // Mode 4 with these insets.
    void SetShowModeMID(int left, int top, int right, int bottom);
    // Mode 5 with this rectangle of the picture.
    void SetShowModeSource(const RECT& source);

    void DrawControl(HDC hdc, const RECT& rect) override;

protected:
    // Draws the picture in the show mode into (0, 0, width, height).
    void DrawPicture(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int frameX, int frameWidth,
                     int frameHeight, int x, int y, int width, int height) const;

    int m_showMode = kShowOwnSize;
    int m_corner = 4;
    CRect m_insets;
    CRect m_source;
};

// A picture with a frame image over it (a strip: normal, hot, pressed, disabled) that is
// pressed like a button: 1 on a press, 2 on a release inside.
class ORVO_API CPhotoFrame : public MPicture {
public:
    CPhotoFrame(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CPhotoFrame, MPicture)

    // The frame strip from the skin folder, or a "PNG" resource of the application.
    int SetPhotoFrame(const wchar_t* fileName, int count);
    int SetPhotoFrame(UINT resourceId, int count);
    // 0 normal, 1 hot, 2 pressed.
    int GetMouseState() const { return m_mouseState; }

    void DrawControl(HDC hdc, const RECT& rect) override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;
    BOOL OnControlLButtonDown(UINT flags, POINT point) override;
    BOOL OnControlLButtonUp(UINT flags, POINT point) override;

    static constexpr int kFrameCorner = 6;

private:
    bool TakeFrame(ImgResInfo* info, int count);
    void SetMouseState(int state);

    Gdiplus::Image* m_frameImage = nullptr;  // not owned: the manager's image cache
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    int m_frameCount = 1;
    int m_mouseState = 0;
};

// Where a sliding picture comes in from.
enum SLIDER_MODE : int {
    kSlideFromLeft = 0,
    kSlideFromRight = 1,
    kSlideFromTop = 2,
    kSlideFromBottom = 3,
};

// A picture that slides into its control on the animation tick, a tenth of the way per
// tick, in the show modes of MPicture.
class ORVO_API CSliderPicture : public MPicture {
public:
    CSliderPicture(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CSliderPicture, MPicture)

    // Starts the slide from its edge, or stops it where it is.
    void SetRun(int run, int mode);
    int IsRun() const { return m_running; }
    // Pixels still to go.
    int GetOffset() const { return m_offset; }

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    int OnControlTimer() override;

    static constexpr int kSteps = 10;

private:
    int Span() const;

    int m_mode = kSlideFromLeft;
    int m_offset = 0;
};

// An animated GIF: while running, each frame stays for its own delay from the file (a
// frame without one stays 50 ms), wrapping to the first; with play-on-hover the pointer
// entering starts it from frame 0 and leaving stops it.
class ORVO_API CGifPicture : public MControlFont {
public:
    CGifPicture(MObject* parent, UINT id, const RECT& rect, int visible, int enabled);
    ORVO_DECLARE_CONTROL(CGifPicture, MControlFont)

    // From the skin folder; reads the frames along the time dimension and their delays.
    int SetImage(const wchar_t* fileName, int count) override;
    using MControlFont::SetImage;
    // Only for a picture of more than one frame: sets running and the frame, repaints.
    void SetRunState(int run, int frame);
    int IsRun() const { return m_running; }
    void SetPlayOnHover(int on) { m_playOnHover = on; }
    int GetFrameCount() const { return m_frameCount; }
    int GetCurrentFrame() const { return m_currentFrame; }
    // Milliseconds frame `frame` stays.
    int GetFrameDelay(int frame) const;
    // Moves the animation on by elapsedMs; true when the frame changed.
    bool Advance(DWORD elapsedMs);

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC hdc, const RECT& rect) override;
    int OnControlTimer() override;
    BOOL OnControlMouseMove(UINT flags, POINT point) override;

    static constexpr int kDefaultDelayMs = 50;

private:
    void ReadFrames();

    int m_frameCount = 1;
    int m_currentFrame = 0;
    std::vector<int> m_delays;  // milliseconds per frame
    DWORD m_shownFor = 0;       // milliseconds the current frame has been shown
    DWORD m_lastTick = 0;
    bool m_hovered = false;
    int m_playOnHover = 0;
};

}  // namespace Orvo
