#pragma once

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/device/hid_device_manager.h"

namespace tavik::test {

// "06 13 02" → the bytes, zero-filled to a whole report.
inline ReportBuffer HexReport(const std::string& text) {
    ReportBuffer bytes{};
    std::istringstream stream(text);
    std::string word;
    size_t at = 0;
    while (stream >> word && at < bytes.size()) {
        bytes[at++] = static_cast<unsigned char>(std::strtoul(word.c_str(), nullptr, 16));
    }
    return bytes;
}

// "20 02 00 04" → exactly these bytes.
inline std::vector<uint8_t> HexBytes(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::istringstream stream(text);
    std::string word;
    while (stream >> word) {
        bytes.push_back(static_cast<uint8_t>(std::strtoul(word.c_str(), nullptr, 16)));
    }
    return bytes;
}

// Bytes as lower-case hex pairs separated by blanks, for readable comparisons.
template <typename Iterator>
std::string ToHex(Iterator begin, Iterator end) {
    std::string text;
    char pair[4];
    for (Iterator at = begin; at != end; ++at) {
        std::snprintf(pair, sizeof(pair), "%02x", static_cast<unsigned>(*at) & 0xFF);
        if (!text.empty()) {
            text.push_back(' ');
        }
        text += pair;
    }
    return text;
}

template <typename Container>
std::string ToHex(const Container& bytes) {
    return ToHex(bytes.begin(), bytes.end());
}

// The report bytes 0 .. 63 with trailing zeros dropped: "06 13 02 02 03".
inline std::string ReportHex(const ReportBuffer& report) {
    size_t end = kReportBufferSize - 1;
    while (end > 0 && report[end - 1] == 0) {
        --end;
    }
    return ToHex(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace tavik::test
