#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gallery_controls.h"
#include "gallery_scene.h"
#include "orvo/dialog.h"

namespace Gallery {

class FamilyDialog;

// Adds one control family's controls to the dialog, each state side by side.
using FamilyBuilder = void (*)(FamilyDialog& dialog);

struct FamilyPage {
    const wchar_t* name;
    FamilyBuilder build;
    // The window's size; a family whose controls are larger than the gallery asks for more.
    int width;
    int height;
};

// Every family page linked into the gallery, in name order.
std::vector<FamilyPage> FamilyPages();
const FamilyPage* FindFamilyPage(const std::wstring& name);

// Records a family page at start-up; use through ORVO_GALLERY_FAMILY.
struct FamilyRegistrar {
    FamilyRegistrar(const wchar_t* name, FamilyBuilder build, int width = kWidth,
                    int height = kHeight);
};

#define ORVO_GALLERY_FAMILY(name, builder) \
    static const ::Gallery::FamilyRegistrar kGalleryFamily_##builder(name, builder)
#define ORVO_GALLERY_FAMILY_SIZED(name, builder, width, height) \
    static const ::Gallery::FamilyRegistrar kGalleryFamily_##builder(name, builder, width, height)

// One family of real toolkit controls on the gallery's skinned background, with a caption
// naming the family and a close button. With a capture path the dialog lets its controls
// settle (builders may ask for a few ticks more, e.g. to let a popup open), reads itself back
// from the screen into a PNG file and closes.
class FamilyDialog : public Orvo::MDialog {
public:
    FamilyDialog(const FamilyPage& page, std::wstring capturePath);

    const wchar_t* GetWindowClassName() const override { return L"OrvoGalleryFamily"; }
    void InitUI(const Orvo::CRect& clientRect) override;
    long OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

    // Where the family's controls go, in client coordinates (below the caption).
    RECT ContentRect() const;
    int Width() const { return m_page.width; }
    int Height() const { return m_page.height; }
    // Creates a control by class name through the dialog's factory and places it.
    Orvo::MControl* Create(const wchar_t* className, UINT id, const RECT& rect,
                           const wchar_t* text = L"");
    // A small muted label, e.g. the state a column shows.
    void AddLabel(const RECT& rect, const wchar_t* text);
    // Runs once the dialog has painted, just before a capture (e.g. to open a popup or press
    // a control); the capture waits `settleTicks` ticks of 50 ms more after it.
    void BeforeCapture(void (*step)(FamilyDialog& dialog), int settleTicks);

    // 0 the picture was written; 1 nothing written. Meaningful once the dialog has closed.
    int CaptureResult() const { return m_captureResult; }
    GalleryFonts& Fonts() { return m_fonts; }

    static constexpr UINT kCloseButton = 3;

private:
    void StepCapture();

    const FamilyPage& m_page;
    std::wstring m_capturePath;
    int m_captureResult = 1;
    int m_captureTicks = 0;
    void (*m_beforeCapture)(FamilyDialog& dialog) = nullptr;
    int m_settleTicks = 0;
    GalleryFonts m_fonts;
};

// Reads a window back from the screen (so popups over it are in the picture) into a PNG.
bool CaptureWindowToPng(HWND window, const std::wstring& path);

}  // namespace Gallery
