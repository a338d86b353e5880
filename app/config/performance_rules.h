#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/store/config_keys.h"

namespace tavik {

// The rules of the DPI and performance settings, shared by the pages and the command line.

constexpr int kDpiStageCountMax = 6;
constexpr int kDpiStep = 50;
constexpr int kDpiMinimum = 50;
// The device type whose sensor reaches 26000 DPI; every other type stops at 12000.
constexpr int kHighDpiDeviceType = 101;
constexpr int kResponseTimeMinimum = 1;
constexpr int kResponseTimeMaximum = 50;
constexpr int kReportRateCount = 4;
// Device types from this one on restore the report rate to 1000 Hz, older ones to 500 Hz.
constexpr int kFastReportRateDeviceType = 201;

// The highest DPI value of a device type.
int DpiMaximum(int deviceType);
// The DPI slider's maximum (its value times 50 is the DPI).
int DpiSliderMaximum(int deviceType);
// A DPI typed or asked for: truncated to a multiple of 50, then brought into the device's
// range (typing 12345 on type 102 gives 12000, 75 gives 50, 0 or text gives 50).
int NormaliseDpiValue(int typed, int deviceType);
// The button response time brought into 1 … 50.
int ClampResponseTime(int typed);
// A stage index brought into 0 … count − 1 (count itself brought into 1 … 6).
int ClampDpiIndex(int index, int count);
// The stage count brought into 1 … 6.
int ClampDpiCount(int count);

// The report rates in item order: text, stored value, card colour.
struct ReportRateItem {
    const wchar_t* text;
    int hertz;
    int value;
    std::uint32_t colour;
};
extern const std::array<ReportRateItem, kReportRateCount> kReportRates;
// The stored value of a rate in hertz, or -1 for a rate the mouse does not offer.
int ReportRateValueOfHertz(int hertz);
// The value a restore stores: 2 (500 Hz) below device type 201, 3 (1000 Hz) from it on.
int RestoredReportRate(int deviceType);

// The sleep-time choices: the number shown, whether it counts hours, and the seconds stored.
struct SleepTimeItem {
    int number;
    bool hours;
    int seconds;
};
extern const std::array<SleepTimeItem, 13> kSleepTimes;

// The stages the DPI control shows before the first refresh: DPI and colour.
struct DpiStage {
    int dpi;
    std::uint32_t colour;
};
extern const std::array<DpiStage, kDpiStageCountMax> kPlaceholderDpiStages;

}  // namespace tavik
