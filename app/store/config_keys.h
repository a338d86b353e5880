#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavik {

// One key of a profile's configuration (t_configdata) with the value a new profile gets and
// the value a reset writes (empty: the key is not reset).
struct ConfigKeyDefault {
    std::wstring_view key;
    std::wstring_view createdWith;
    std::wstring_view resetTo;
};

constexpr std::size_t kConfigKeyCount = 38;
constexpr std::size_t kResetKeyCount = 37;

// Every configuration key, in the order a new profile's rows are inserted.
extern const std::array<ConfigKeyDefault, kConfigKeyCount> kConfigKeys;

// The keys a reset writes, in the order it writes them: all but "version".
extern const std::array<std::wstring_view, kResetKeyCount> kResetOrder;

// The keys of a DPI stage's value and colour: "dpi_group%d_value" and "dpi_group%d_rgb".
std::wstring DpiValueKey(int stage);
std::wstring DpiColourKey(int stage);

// The default of key, or null for a key that is not in the table.
const ConfigKeyDefault* FindConfigKey(std::wstring_view key);

}  // namespace tavik
