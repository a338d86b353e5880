#pragma once

#include <windows.h>

namespace tavik {

// Control ids of the main window's frame, home view and the pages' frame-owned controls.
constexpr UINT kBackgroundId = 30;
constexpr UINT kCaptionBarId = 32;
constexpr UINT kStatusBarId = 33;
constexpr UINT kLogoId = 34;
constexpr UINT kCaptionPictureId = 35;
constexpr UINT kTitleId = 36;
constexpr UINT kVersionId = 37;
constexpr UINT kStatusCentreId = 38;
constexpr UINT kCloseButtonId = 39;
constexpr UINT kMinimiseButtonId = 40;
constexpr UINT kMaximiseButtonId = 41;
constexpr UINT kSettingsButtonId = 42;
constexpr UINT kBatteryId = 44;
constexpr UINT kConnectionStateId = 45;
constexpr UINT kProfileButtonId = 46;
constexpr UINT kLeftPanelId = 47;
constexpr UINT kTabStripId = 48;
constexpr UINT kHomePageId = 49;
constexpr UINT kButtonPageId = 50;
constexpr UINT kPerformancePageId = 51;
constexpr UINT kMacroPageId = 52;
constexpr UINT kLightPageId = 53;
constexpr UINT kTextPageId = 54;
constexpr UINT kSystemPageId = 55;
constexpr UINT kDeviceListId = 57;
constexpr UINT kDeviceListHintId = 58;
constexpr UINT kNoConnectionPictureId = 62;
constexpr UINT kNoConnectionTextId = 61;

// Buttons the frame handles wherever they are placed.
constexpr UINT kPairingButtonId = 60;
constexpr UINT kPairingButton2Id = 263;
constexpr UINT kMouseFirmwareCheckId = 256;
constexpr UINT kReceiverFirmwareCheckId = 260;
constexpr UINT kFactoryResetButtonId = 266;
constexpr UINT kMacroTabButtonId = 88;
constexpr UINT kCharacterMapButtonId = 169;
constexpr UINT kMouseSettingsButtonId = 249;

// Controls of the pages that the device engine moves.
constexpr UINT kMousePictureId = 110;
constexpr UINT kMouseButtonsId = 111;
constexpr UINT kDpiStagesId = 103;
constexpr UINT kDpiSliderId = 104;
// The empty states of pages without their controls: a title and a line per page.
constexpr UINT kEmptyStateFirstId = 900;

// Tab items.
constexpr UINT kHomeTab = 1;
constexpr UINT kButtonTab = 2;
constexpr UINT kPerformanceTab = 3;
constexpr UINT kMacroTab = 4;
constexpr UINT kLightTab = 5;
constexpr UINT kSystemTab = 6;
constexpr UINT kTextTab = 8;

// The window's own timer that writes the test state file.
constexpr UINT_PTR kUiStateTimer = 0x7A11;

}  // namespace tavik
