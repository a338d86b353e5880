#include "app/store/config_keys.h"

namespace tavik {

// Colours are COLORREF (red in the low byte) in decimal. The sixth stage's purple is created
// with green 1 and reset with green 0; both are what the mouse has always been given.
const std::array<ConfigKeyDefault, kConfigKeyCount> kConfigKeys = {{
    {L"version", L"1.0.1", L""},
    {L"lightmode", L"3", L"3"},
    {L"sleep_light", L"1", L"1"},
    {L"deep_sleep", L"60", L"60"},
    {L"light_sleep", L"60", L"60"},
    {L"move_wakeup", L"1", L"1"},
    {L"move_closelight", L"1", L"1"},
    {L"report_rate", L"2", L"2"},
    {L"report_count", L"4", L"4"},
    {L"report_flag", L"15", L"15"},
    {L"button_respondtime", L"1", L"1"},
    {L"sensor_flag", L"53", L"53"},
    {L"liftoff_height", L"1", L"1"},
    {L"scroll_flag", L"1", L"1"},
    {L"e-sports_flag", L"0", L"0"},
    {L"highspeed_mode", L"0", L"0"},
    {L"leftbtn_lock", L"1", L"1"},
    {L"dpi_flag", L"5", L"5"},
    {L"dpi_index", L"1", L"1"},
    {L"dpi_count", L"6", L"6"},
    {L"dpi_group0_value", L"800", L"800"},
    {L"dpi_group1_value", L"1600", L"1600"},
    {L"dpi_group2_value", L"2400", L"2400"},
    {L"dpi_group3_value", L"3200", L"3200"},
    {L"dpi_group4_value", L"5000", L"5000"},
    {L"dpi_group5_value", L"12000", L"12000"},
    {L"dpi_group0_rgb", L"255", L"255"},
    {L"dpi_group1_rgb", L"16711680", L"16711680"},
    {L"dpi_group2_rgb", L"65535", L"65535"},
    {L"dpi_group3_rgb", L"42495", L"42495"},
    {L"dpi_group4_rgb", L"16776960", L"16776960"},
    {L"dpi_group5_rgb", L"8388992", L"8388736"},
    {L"notify_dpi", L"1", L"1"},
    {L"notify_light", L"1", L"1"},
    {L"notify_devsleep", L"1", L"1"},
    {L"notify_reporterate", L"1", L"1"},
    {L"notify_lowbattery", L"1", L"1"},
    {L"notify_fardistance", L"1", L"1"},
}};

const std::array<std::wstring_view, kResetKeyCount> kResetOrder = {{
    L"lightmode",          L"sleep_light",        L"deep_sleep",         L"light_sleep",
    L"move_closelight",    L"move_wakeup",        L"report_rate",        L"report_count",
    L"report_flag",        L"button_respondtime", L"sensor_flag",        L"liftoff_height",
    L"scroll_flag",        L"e-sports_flag",      L"highspeed_mode",     L"leftbtn_lock",
    L"dpi_flag",           L"dpi_index",          L"dpi_count",          L"dpi_group0_value",
    L"dpi_group1_value",   L"dpi_group2_value",   L"dpi_group3_value",   L"dpi_group4_value",
    L"dpi_group5_value",   L"dpi_group0_rgb",     L"dpi_group1_rgb",     L"dpi_group2_rgb",
    L"dpi_group3_rgb",     L"dpi_group4_rgb",     L"dpi_group5_rgb",     L"notify_dpi",
    L"notify_light",       L"notify_devsleep",    L"notify_reporterate", L"notify_lowbattery",
    L"notify_fardistance",
}};

const ConfigKeyDefault* FindConfigKey(std::wstring_view key) {
    for (const ConfigKeyDefault& entry : kConfigKeys) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

std::wstring DpiValueKey(int stage) {
    return L"dpi_group" + std::to_wstring(stage) + L"_value";
}

std::wstring DpiColourKey(int stage) {
    return L"dpi_group" + std::to_wstring(stage) + L"_rgb";
}

}  // namespace tavik
