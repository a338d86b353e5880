#include "gallery_dialog.h"

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "family_dialog.h"
#include "gallery_scene.h"
#include "orvo/render.h"

namespace Gallery {
namespace {

// Win32 timer ids of the dialog; the paint manager keeps 66, 88, 99 and 6553 and numbers
// its control timers from 4096.
constexpr UINT_PTR kProgressTimer = 31;
constexpr UINT_PTR kMessageTimer = 32;
constexpr UINT_PTR kCaptureTimer = 33;

constexpr UINT kCaptureTickMs = 50;
// Ten seconds for the tooltip and the progress to show.
constexpr int kCaptureGiveUpTicks = 200;
constexpr int kCaptureProgress = 65;

POINT CentreOf(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::wstring ProgressText(int percent) {
    return L"Updating firmware " + std::to_wstring(percent) + L"%";
}

}  // namespace

GalleryDialog::GalleryDialog(std::wstring capturePath) : m_capturePath(std::move(capturePath)) {}

StripControl* GalleryDialog::AddStrip(UINT id, const RECT& rect, StripControl::Kind kind,
                                      const wchar_t* image, const wchar_t* offImage) {
    auto control = std::make_unique<StripControl>(this, id, rect, kind, image, offImage);
    StripControl* raw = control.get();
    m_PaintManager.AddControl(std::move(control));
    return raw;
}

void GalleryDialog::InitUI(const Orvo::CRect& clientRect) {
    m_PaintManager.AddGDITempFont(106, L"TTF");
    LoadBKImage(L"main_bkg.png");
    SetBackMode(1, 40);
    SetCaptionRect(CaptionRect());
    // Without a window manager a press on the caption would wait for a real release.
    EnableWndDrag(m_capturePath.empty());

    m_PaintManager.AddAreaControl(std::make_unique<SceneArea>(this, clientRect, &m_fonts));

    const wchar_t* systemImages[] = {L"sysbtn_setting.png", L"sysbtn_min.png", L"sysbtn_close.png"};
    const wchar_t* systemTips[] = {L"Settings", L"Minimise", L"Close"};
    const UINT systemIds[] = {kSettingsButton, kMinimizeButton, kCloseButton};
    for (int i = 0; i < 3; ++i) {
        AddStrip(systemIds[i], SystemButtonRect(i), StripControl::Kind::kPush, systemImages[i])
            ->SetTooltip(systemTips[i]);
    }
    AddStrip(kResetButton, ResetButtonRect(), StripControl::Kind::kPush, L"btn_reset.png")
        ->SetTooltip(L"Restore DPI defaults");
    AddStrip(kOpenFileButton, OpenFileButtonRect(), StripControl::Kind::kPush, L"btn_openfile.png")
        ->SetTooltip(L"Turn the update button on or off");
    AddStrip(kStartupCheck, StartupCheckRect(), StripControl::Kind::kCheck, L"btn_checkbox.png");
    AddStrip(kStartupSwitch, StartupSwitchRect(), StripControl::Kind::kSwitch,
             L"img_switch_btn_on.png", L"img_switch_btn_off.png");
    StripControl* update =
        AddStrip(kUpdateButton, UpdateButtonRect(), StripControl::Kind::kPush, L"img_button.png");
    update->SetStretchCorner(8);
    update->SetCaption(L"Update firmware", m_fonts.Get(kUiFace, 14));

    if (!m_capturePath.empty()) {
        SetTimer(kCaptureTimer, kCaptureTickMs);
    }
}

long GalleryDialog::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM) {
    if (code != Orvo::kNotifyClicked) {
        return 0;
    }
    switch (controlId) {
        case kCloseButton:
            DoClose();
            break;
        case kMinimizeButton:
            OnMinimize();
            break;
        case kResetButton:
            SetMessage(L"DPI stages restored", ProgressOverlayRect(), 14);
            SetTimer(kMessageTimer, 1500);
            break;
        case kOpenFileButton:
            if (Orvo::MControl* update = GetControl(kUpdateButton)) {
                update->SetEnabled(update->IsEnabled() ? 0 : 1);
            }
            break;
        case kStartupCheck:
        case kStartupSwitch: {
            // Both stand for one setting: each follows the other.
            const UINT other = controlId == kStartupCheck ? kStartupSwitch : kStartupCheck;
            if (auto* control = dynamic_cast<StripControl*>(GetControl(other))) {
                control->SetChecked(wParam != 0);
            }
            break;
        }
        case kUpdateButton:
            m_progress = 0;
            SetProgress(1, ProgressText(1).c_str(), ProgressOverlayRect());
            SetTimer(kProgressTimer, 40);
            break;
        default:
            break;
    }
    return 0;
}

void GalleryDialog::OnTimer(UINT_PTR id) {
    switch (id) {
        case kProgressTimer:
            m_progress += 2;
            if (m_progress >= 100) {
                m_progress = 100;
                KillTimer(kProgressTimer);
            }
            SetProgress(m_progress, ProgressText(m_progress).c_str(), ProgressOverlayRect());
            break;
        case kMessageTimer:
            KillTimer(kMessageTimer);
            SetMessage(L"", Orvo::CRect(), 14);
            break;
        case kCaptureTimer:
            StepCapture();
            break;
        default:
            break;
    }
}

void GalleryDialog::StepCapture() {
    const POINT target = CentreOf(ResetButtonRect());
    if (m_captureTicks++ == 0) {
        SetProgress(kCaptureProgress, ProgressText(kCaptureProgress).c_str(),
                    ProgressOverlayRect());
    }
    const HWND tooltip = m_PaintManager.GetToolTipWnd();
    const bool ready = m_PaintManager.GetOverlayProgress() == kCaptureProgress &&
                       tooltip != nullptr && ::IsWindowVisible(tooltip);
    // Two ready ticks in a row, so the tooltip has painted.
    m_readyTicks = ready ? m_readyTicks + 1 : 0;
    if (m_readyTicks >= 2 || m_captureTicks > kCaptureGiveUpTicks) {
        KillTimer(kCaptureTimer);
        m_captureResult = WriteCapture(m_capturePath) ? (ready ? 0 : 2) : 1;
        DoClose();
        return;
    }
    // The pointer comes to rest on the reset button: the first move makes the button hot
    // and gives the tooltip its text, the second reaches the tooltip through the message
    // loop. Then it rests; every move would restart the tooltip's delay. Should the tip not
    // show, the pointer comes again a second and a half later.
    const int phase = m_captureTicks % 30;
    if (!ready && (phase == 1 || phase == 2)) {
        POINT screen = target;
        ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        PostMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(target.x, target.y));
    }
}

bool GalleryDialog::WriteCapture(const std::wstring& path) {
    // From the screen, so the tooltip window over the dialog is in the picture.
    return CaptureWindowToPng(GetSafeHwnd(), path);
}

}  // namespace Gallery
