#pragma once

#include <string>
#include <vector>

namespace tavik::tavikctl {

// The configuration keys `tavikctl set` takes, with the range the program's pages allow and
// the job the pages queue after storing them.
struct SettableKey {
    std::string key;
    int minimum = 0;
    int maximum = 0;
    int step = 1;  // values must be multiples of this (DPI values: 50)
    int jobCode = 0;
};

// What the checks of a value depend on.
struct SettingContext {
    int deviceType = 0;      // DPI values reach 26000 on device type 101, else 12000
    int storedDpiCount = 6;  // dpi_index lies below it
};

// The settable keys in the order `set` lists them.
std::vector<SettableKey> SettableKeys(const SettingContext& context);

// Checks a `set` request. On success fills `jobCode` and `value` (the decimal text to
// store); otherwise `message` says why, naming the valid range or the settable keys.
bool CheckSetting(const std::string& key, const std::string& valueText,
                  const SettingContext& context, std::string& message, int& jobCode, int& value);

// `text` cut to 64 bytes with control characters replaced, to echo user input on one line.
std::string Printable(const std::string& text);

// Reads a whole decimal integer (optional sign); false for anything else.
bool ParseInteger(const std::string& text, int& value);

}  // namespace tavik::tavikctl
