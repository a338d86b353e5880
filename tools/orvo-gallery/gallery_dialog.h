#pragma once

#include <windows.h>

#include <string>

#include "gallery_controls.h"
#include "orvo/dialog.h"

namespace Gallery {

// The gallery window: a skinned dialog whose area list holds the still scene and whose
// control list holds live buttons, a check box and a switch. The update button runs the
// paint manager's overlay progress; the icon buttons carry tooltips.
//
// With a capture path the dialog photographs itself instead: it starts the progress at
// 65 %, puts the pointer on the reset button until its tooltip shows, reads the window
// back from the screen into a PNG file and closes.
class GalleryDialog : public Orvo::MDialog {
public:
    explicit GalleryDialog(std::wstring capturePath = L"");

    const wchar_t* GetWindowClassName() const override { return L"OrvoGallery"; }
    void InitUI(const Orvo::CRect& clientRect) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

    // 0 the picture was written with tooltip and progress showing; 2 written without them
    // (they never showed); 1 nothing written. Meaningful once the dialog has closed.
    int CaptureResult() const { return m_captureResult; }

    enum ControlId : UINT {
        kSettingsButton = 1,
        kMinimizeButton = 2,
        kCloseButton = 3,
        kResetButton = 10,
        kOpenFileButton = 11,
        kStartupCheck = 20,
        kStartupSwitch = 21,
        kUpdateButton = 30,
    };

private:
    StripControl* AddStrip(UINT id, const RECT& rect, StripControl::Kind kind, const wchar_t* image,
                           const wchar_t* offImage = L"");
    void StepCapture();
    bool WriteCapture(const std::wstring& path);

    std::wstring m_capturePath;
    int m_captureResult = 1;
    int m_captureTicks = 0;
    int m_readyTicks = 0;
    int m_progress = 0;
    GalleryFonts m_fonts;
};

}  // namespace Gallery
