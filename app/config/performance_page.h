#pragma once

#include "app/config/control_views.h"

namespace tavik {

class Dialogs;
class PageContext;

// Control ids of the DPI, performance and system pages.
namespace performance_control {
constexpr int kRestoreDpi = 102;
constexpr int kDpiStages = 103;
constexpr int kDpiSlider = 104;
constexpr int kApplyDpi = 105;
constexpr int kDpiCount = 107;
constexpr int kRestoreReportRate = 111;
constexpr int kReportRate = 112;
constexpr int kLiftoff1mm = 224;
constexpr int kLiftoff2mm = 225;
constexpr int kSensorBit0 = 229;
constexpr int kSensorBit1 = 230;
constexpr int kSensorBit2 = 231;
constexpr int kWakeOnMove = 234;
constexpr int kNoWakeOnMove = 235;
constexpr int kScrollFirst = 238;
constexpr int kScrollSecond = 239;
constexpr int kHighspeed = 242;
constexpr int kResponseTime = 246;
constexpr int kSleepTime = 269;
constexpr int kCloseLight = 179;  // on the light page; the refresh sets it too
}  // namespace performance_control

// Notification codes of the toolkit that these pages handle.
namespace notify_code {
constexpr int kClicked = 2;
constexpr int kSliderMoved = 8;
constexpr int kColourBlockClicked = 9;
constexpr int kEditTextChanged = 26;
constexpr int kPaletteColourPicked = 27;
constexpr int kEditClosed = 29;
constexpr int kEditOpened = 30;
}  // namespace notify_code

// The controls of the DPI, performance and system pages.
class PerformanceView {
public:
    virtual ~PerformanceView() = default;
    virtual DpiStageControl& DpiStages() = 0;        // 103
    virtual SliderControl& DpiSlider() = 0;          // 104
    virtual ReportRateControl& ReportRates() = 0;    // 112
    virtual ComboControl& Combo(int controlId) = 0;  // 107, 269
    // The check, radio and switch buttons 224 … 242 and the light page's 179.
    virtual ButtonControl& Button(int controlId) = 0;
    virtual TextControl& Text(int controlId) = 0;  // 246
};

// The DPI page, the performance page and the sleep time of the system page: every edit is
// stored in the current profile first and then sent by the job it queues.
class PerformancePage {
public:
    PerformancePage(PageContext& context, PerformanceView& view, Dialogs& dialogs);

    // Puts the controls' items and their first content in place, before the first refresh:
    // the stage count and sleep lists, the report rates and six placeholder stages.
    void FillControls();
    // Fills every control of the pages from the current profile.
    void RefreshPerformancePage();
    // A control's notification, by control id and notification code.
    void OnControlNotify(int controlId, int code);
    // The mouse reports that the user switched its DPI stage.
    void OnMouseDpiStageChanged(int index);

    void OnDpiStageNotify(int code);
    void OnDpiSliderNotify(int code);
    void OnDpiCountChanged();
    void RestoreDpiDefaults();
    void OnReportRateChosen();
    void RestoreReportRate();
    void OnResponseTimeNotify(int code);
    void OnSensorOptionChanged();
    void OnLiftoffChanged();
    void OnWakeOnMoveChanged();
    void OnScrollOptionChanged();
    void OnHighspeedChanged();
    void OnSleepTimeChanged();

private:
    // Rebuilds the stage cards from the store for `count` stages.
    void RebuildStageList(int count);
    void ShowStageOnSlider(int stage);
    // Stores the selected stage as the current one.
    void StoreSelectedStage(int stage);

    PageContext& m_context;   // not owned
    PerformanceView& m_view;  // not owned
    Dialogs& m_dialogs;       // not owned
};

}  // namespace tavik
