#include "app/config/performance_rules.h"

#include <algorithm>

namespace tavik {

const std::array<ReportRateItem, kReportRateCount> kReportRates = {{
    {L"125Hz", 125, 0, 67825},
    {L"250Hz", 250, 1, 15559424},
    {L"500Hz", 500, 2, 5109248},
    {L"1000Hz", 1000, 3, 2139135},
}};

const std::array<SleepTimeItem, 13> kSleepTimes = {{
    {2, false, 120},
    {3, false, 180},
    {4, false, 240},
    {5, false, 300},
    {10, false, 600},
    {20, false, 1200},
    {30, false, 1800},
    {40, false, 2400},
    {50, false, 3000},
    {1, true, 3600},
    {2, true, 7200},
    {3, true, 10800},
    {4, true, 14400},
}};

const std::array<DpiStage, kDpiStageCountMax> kPlaceholderDpiStages = {{
    {400, 255},
    {800, 65280},
    {1200, 16711680},
    {1600, 16776960},
    {2400, 65535},
    {3200, 8388992},
}};

int DpiMaximum(int deviceType) {
    return deviceType == kHighDpiDeviceType ? 26000 : 12000;
}

int DpiSliderMaximum(int deviceType) {
    return deviceType == kHighDpiDeviceType ? 520 : 240;
}

int NormaliseDpiValue(int typed, int deviceType) {
    const int truncated = typed / kDpiStep * kDpiStep;
    return std::clamp(truncated, kDpiMinimum, DpiMaximum(deviceType));
}

int ClampResponseTime(int typed) {
    return std::clamp(typed, kResponseTimeMinimum, kResponseTimeMaximum);
}

int ClampDpiCount(int count) {
    return std::clamp(count, 1, kDpiStageCountMax);
}

int ClampDpiIndex(int index, int count) {
    return std::clamp(index, 0, ClampDpiCount(count) - 1);
}

int ReportRateValueOfHertz(int hertz) {
    for (const ReportRateItem& item : kReportRates) {
        if (item.hertz == hertz) {
            return item.value;
        }
    }
    return -1;
}

int RestoredReportRate(int deviceType) {
    return deviceType < kFastReportRateDeviceType ? 2 : 3;
}

}  // namespace tavik
