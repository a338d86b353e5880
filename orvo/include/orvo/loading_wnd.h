#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "orvo/geometry.h"
#include "orvo/orvo_api.h"
#include "orvo/window.h"

namespace Orvo {

// A layered popup that plays a loading animation (a GIF, or a strip of frames) over a
// background, with the product logo above it.
class ORVO_API LoadingWnd : public MWindow {
public:
    LoadingWnd();
    ~LoadingWnd() override;

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Loads "loading\loading.gif" and "logo\logo_loading.png" and shows a "Loading Window"
    // over rect, owned by owner; false when no window was made.
    bool CreateDlg(HWND owner, const RECT& rect);
    bool LoadBKImage(const wchar_t* fileName);
    // A strip of `count` frames from the skin folder; each shows for ticksPerFrame ticks.
    bool LoadAnimateImage(const wchar_t* fileName, int count, int ticksPerFrame = 3);
    // A GIF from the skin folder, frame by frame.
    bool LoadGifImage(const wchar_t* fileName, int ticksPerFrame = 3);
    // Mode 1 draws the background as a nine-patch with corner `value`.
    void SetBackMode(int mode, int value);
    // Starts or stops the animation timer.
    void SetRun(bool on);
    bool IsRunning() const { return m_running; }
    int GetFrame() const { return m_frame; }
    int GetFrameCount() const { return m_frameCount; }

    static constexpr UINT_PTR kAnimationTimerId = 100;
    static constexpr UINT kTickMs = 30;

private:
    // Draws the current frame as a per-pixel-alpha layered window.
    void DrawWindow();

    std::unique_ptr<Gdiplus::Image> m_background;
    std::unique_ptr<Gdiplus::Image> m_logo;
    std::unique_ptr<Gdiplus::Image> m_animation;
    bool m_isGif = false;
    int m_frameCount = 0;
    int m_frame = 0;
    int m_ticks = 0;
    int m_ticksPerFrame = 3;
    int m_backMode = 1;
    int m_corner = 10;
    bool m_running = false;
};

// A small layered card with up to three lines of key hints: a title line and two detail
// lines, placed at a screen point.
class ORVO_API CKeyboardTips : public MWindow {
public:
    CKeyboardTips();
    ~CKeyboardTips() override;

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Creates the window (hidden, owned by owner) on first use; false when it cannot.
    bool CreateTips(HWND owner);
    // Shows the texts with the card's top-left at point (screen); empty texts are left out.
    int SetAirBladderMsg(const wchar_t* text1, const wchar_t* text2, const wchar_t* text3,
                         POINT point);
    bool LoadBKImage(const wchar_t* fileName);
    void SetBackMode(int mode, int value);
    const CRect& GetTipsRect() const { return m_rect; }
    int GetLineCount() const;

private:
    void Paint();
    HFONT MakeFont(int pixels, int weight) const;

    std::wstring m_texts[3];
    CRect m_rect;
    std::unique_ptr<Gdiplus::Image> m_background;
    int m_backMode = 1;
    int m_corner = 6;
    HFONT m_titleFont = nullptr;   // owned
    HFONT m_detailFont = nullptr;  // owned
};

}  // namespace Orvo
