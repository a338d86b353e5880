#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/device/hid_device_manager.h"

namespace tavik::sim {

constexpr int kDpiStageCount = 6;
// Content of a data block, report bytes 7..36.
constexpr size_t kDataBlockSize = 30;
constexpr int kLightModeCount = 3;
// The key table as the mouse keeps it: report bytes 5..63 of the last key-table command.
constexpr size_t kKeyTableSize = 59;
constexpr size_t kMacroMemorySize = 4096;

// Everything the mouse's firmware keeps.
struct MouseState {
    uint8_t firmwareBuild = 5;       // device-information byte 9
    uint8_t firmwareVersion = 0x12;  // byte 10: major and minor as two hexadecimal digits
    uint8_t batteryLevel = 85;
    uint8_t batteryCharging = 0;
    uint8_t dpiCount = 6;
    uint8_t dpiIndex = 1;
    std::array<uint16_t, kDpiStageCount> dpi = {800, 1600, 2400, 3200, 5000, 12000};
    uint8_t reportRate = 2;
    uint8_t reportFlag = 15;
    uint8_t scrollFlag = 1;
    uint8_t liftoffHeight = 1;
    uint8_t sensorFlag = 53;
    uint8_t highspeedMode = 0;
    uint8_t buttonRespondTime = 1;
    uint16_t lightSleep = 60;
    uint16_t deepSleep = 60;
    uint8_t moveWakeup = 1;
    uint8_t moveCloseLight = 1;
    std::array<uint8_t, kDataBlockSize> dpiColours{};  // block 0x01/0x04
    std::array<std::array<uint8_t, kDataBlockSize>, kLightModeCount> lightModes{};  // 0x01/1..3
    uint8_t activeLightMode = 1;
    std::array<uint8_t, kKeyTableSize> keyTable{};
    // The macro image, assembled from the chunks by their offsets. A chunk at offset 0
    // starts a new image.
    std::array<uint8_t, kMacroMemorySize> macroMemory{};
    size_t macroLength = 0;  // end of the furthest chunk of the current image
    int macroChunks = 0;     // chunks received for the current image
    bool pairingRequested = false;
    int dpiRestores = 0;
    int factoryResets = 0;
};

// The state of a mouse fresh from the factory.
MouseState FactoryMouseState();

// Answers a command report that reached the mouse, as its firmware does, and updates
// `state`. `connectionMode` is what the mouse reports in byte 11 of the device
// information. Returns false when the firmware sends no reply (restore commands).
bool AnswerMouseCommand(MouseState& state, const ReportBuffer& request, uint8_t connectionMode,
                        ReportBuffer& reply);

}  // namespace tavik::sim
