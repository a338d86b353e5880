#include "tools/tavikctl/settable_keys.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "app/config/performance_rules.h"
#include "app/device/job_queue.h"

namespace tavik::tavikctl {

namespace {

constexpr int kMaxColour = 0xFFFFFF;
// Sleep times: the store's default of 60 s up to the page's longest choice, four hours.
constexpr int kMinSleepSeconds = 60;
constexpr int kMaxSleepSeconds = 14400;

}  // namespace

std::string Printable(const std::string& text) {
    std::string printable;
    for (char c : text.substr(0, 64)) {
        const unsigned char byte = static_cast<unsigned char>(c);
        printable.push_back(byte < 0x20 || byte == 0x7F ? '?' : c);
    }
    return printable;
}

std::vector<SettableKey> SettableKeys(const SettingContext& context) {
    const int maxDpi = DpiMaximum(context.deviceType);
    const int dpiCount = ClampDpiCount(context.storedDpiCount);
    std::vector<SettableKey> keys = {
        {"dpi_count", 1, kDpiStageCountMax, 1, job::kSendDpiStages},
        {"dpi_index", 0, dpiCount - 1, 1, job::kSendDpiStages},
    };
    for (int stage = 0; stage < kDpiStageCountMax; ++stage) {
        keys.push_back({"dpi_group" + std::to_string(stage) + "_value", kDpiMinimum, maxDpi,
                        kDpiStep, job::kSendDpiStages});
    }
    for (int stage = 0; stage < kDpiStageCountMax; ++stage) {
        keys.push_back(
            {"dpi_group" + std::to_string(stage) + "_rgb", 0, kMaxColour, 1, job::kSendDpiColors});
    }
    const std::vector<SettableKey> single = {
        {"report_rate", 0, kReportRateCount - 1, 1, job::kSendReportRate},
        {"sensor_flag", 0, 7, 1, job::kSendSensorFlag},
        {"button_respondtime", kResponseTimeMinimum, kResponseTimeMaximum, 1,
         job::kSendButtonRespondTime},
        {"scroll_flag", 0, 1, 1, job::kSendScrollFlag},
        {"liftoff_height", 0, 1, 1, job::kSendLiftoffHeight},
        {"highspeed_mode", 0, 1, 1, job::kSendHighspeedMode},
        {"light_sleep", kMinSleepSeconds, kMaxSleepSeconds, 1, job::kSendSleepTimes},
        {"deep_sleep", kMinSleepSeconds, kMaxSleepSeconds, 1, job::kSendSleepTimes},
        {"move_wakeup", 0, 1, 1, job::kSendMoveWakeup},
        {"move_closelight", 0, 1, 1, job::kSendMoveCloseLight},
    };
    keys.insert(keys.end(), single.begin(), single.end());
    return keys;
}

bool ParseInteger(const std::string& text, int& value) {
    if (text.empty() || text.size() > 16) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX ||
        text[0] == ' ' || text[0] == '+') {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool CheckSetting(const std::string& key, const std::string& valueText,
                  const SettingContext& context, std::string& message, int& jobCode, int& value) {
    const std::vector<SettableKey> keys = SettableKeys(context);
    const auto found = std::find_if(keys.begin(), keys.end(),
                                    [&](const SettableKey& entry) { return entry.key == key; });
    if (found == keys.end()) {
        std::string names;
        for (const SettableKey& entry : keys) {
            names += (names.empty() ? "" : ", ") + entry.key;
        }
        message = "unknown key \"" + Printable(key) + "\"; settable keys: " + names;
        return false;
    }
    const std::string range =
        std::to_string(found->minimum) + " to " + std::to_string(found->maximum);
    const std::string expectation =
        found->step > 1 ? "a multiple of " + std::to_string(found->step) + " from " + range : range;
    int parsed = 0;
    if (!ParseInteger(valueText, parsed) || parsed < found->minimum || parsed > found->maximum ||
        parsed % found->step != 0) {
        message = key + " must be " + expectation;
        return false;
    }
    jobCode = found->jobCode;
    value = parsed;
    return true;
}

}  // namespace tavik::tavikctl
