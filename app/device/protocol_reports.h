#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/device/hid_device_manager.h"
#include "app/store/store_records.h"

namespace tavik {

// Report framing: byte 0 report ID, 1 command, 2 payload length, 3..4 offset, payload from 5.
constexpr unsigned char kCommandReportId = 0x06;
constexpr size_t kPayloadStart = 5;

// Commands (byte 1).
constexpr unsigned char kCommandDeviceInformation = 0x05;
constexpr unsigned char kCommandReceiverInformation = 0x07;
constexpr unsigned char kCommandStatus10 = 0x10;
constexpr unsigned char kCommandStatus11 = 0x11;
constexpr unsigned char kCommandRestore = 0x0F;
constexpr unsigned char kCommandWriteKeyTable = 0x12;
constexpr unsigned char kCommandSetParameter = 0x13;
constexpr unsigned char kCommandReadBlock = 0x20;
constexpr unsigned char kCommandWriteBlock = 0x21;
constexpr unsigned char kCommandWriteMacroImage = 0x31;

constexpr unsigned char kRestoreDpi = 0x08;
constexpr unsigned char kRestoreFactory = 0xFF;
constexpr unsigned char kBlockLength = 0x20;

// Set-parameter ids (byte 5 of command 0x13).
constexpr unsigned char kParameterDpiStage = 0x01;
constexpr unsigned char kParameterReportRate = 0x02;
constexpr unsigned char kParameterScrollFlag = 0x05;
constexpr unsigned char kParameterLiftoffHeight = 0x06;
constexpr unsigned char kParameterSensorFlag = 0x07;
constexpr unsigned char kParameterHighspeedMode = 0x08;
constexpr unsigned char kParameterPairing = 0x09;
constexpr unsigned char kParameterButtonRespondTime = 0x0A;
constexpr unsigned char kParameterSleepTimes = 0x0B;
constexpr unsigned char kParameterMoveWakeup = 0x0C;
constexpr unsigned char kParameterMoveCloseLight = 0x0D;

// Data blocks (page, index).
constexpr unsigned char kLightPage = 0x01;
constexpr unsigned char kDpiColourIndex = 0x04;
constexpr unsigned char kActiveLightModePage = 0xFF;
constexpr unsigned char kActiveLightModeIndex = 0x00;
constexpr int kFirstDeviceLightMode = 1;
constexpr int kLastDeviceLightMode = 3;

constexpr int kDpiStageCount = 6;

// Event reports: byte 1 marks them, byte 5 is the code.
constexpr unsigned char kEventMark = 0xFA;
constexpr unsigned char kEventConnection = 0x01;
constexpr unsigned char kEventDpiStage = 0x02;
constexpr unsigned char kEventBattery = 0x03;
constexpr unsigned char kEventSettingsChanged = 0x06;
constexpr unsigned char kEventComputerFunction = 0x50;

// Link reports of the receiver: byte 0 marks them, byte 1 says whether the mouse is linked.
constexpr unsigned char kLinkReportMarker = 0xC0;
constexpr unsigned char kLinkConnected = 0x01;

// A zeroed report with the header of a command.
ReportBuffer CommandReport(unsigned char command, unsigned char length);

// Command 0x13 for a parameter with one value byte (the low byte of `value`) and the
// length byte the device expects for it.
ReportBuffer SetParameterReport(unsigned char parameterId, unsigned char lengthByte, int value);
// Command 0x13/0x01: stage count, stage index and that stage's DPI (the DPI itself).
ReportBuffer DpiStageReport(int count, int index, int dpi);
// Command 0x13/0x0B: both sleep times as 16-bit values.
ReportBuffer SleepTimesReport(int lightSleep, int deepSleep);
// Command 0x13/0x09, length 1, no value.
ReportBuffer PairingReport();
ReportBuffer RestoreReport(unsigned char subCommand);
ReportBuffer ReadBlockReport(unsigned char page, unsigned char index);

// Command 0x21 with the light block of `light` for `mode`.
ReportBuffer LightBlockReport(const LightRecord& light, int mode);
// Takes brightness, speed, direction, colorful, colorindex and the eight colours of a light
// block reply into `light`. config_func keeps its stored capability bits: the block's
// byte 12 is a single on/off flag that cannot hold them.
void ParseLightBlock(const ReportBuffer& reply, LightRecord& light);

// Command 0x21 with the DPI colour block of six COLORREF values.
ReportBuffer DpiColourBlockReport(const std::array<int, kDpiStageCount>& colours);
std::array<int, kDpiStageCount> ParseDpiColourBlock(const ReportBuffer& reply);

// True when `reply` answers a read of block (page, index): command byte 0x20 and both
// addressing bytes echoed.
bool IsBlockReply(const ReportBuffer& reply, unsigned char page, unsigned char index);

// The firmware version of bytes 9 (build) and 10 (major and minor as two hexadecimal
// digits): 0x12 and 5 give "1.2.5".
std::wstring FormatFirmwareVersion(uint8_t build, uint8_t version);

// The values of a device-information reply.
struct DeviceInformation {
    uint8_t build = 0;    // byte 9
    uint8_t version = 0;  // byte 10
    int connectionMode = 0;
    bool connected = false;
    int batteryLevel = 0;
    int batteryCharging = 0;
    int dpiStageIndex = 0;
    std::array<int, kDpiStageCount> dpi{};  // (r + 1) x 50
    int reportRate = 0;
    int reportFlag = 0;
    int scrollFlag = 0;
    int liftoffHeight = 0;
    int sensorFlag = 0;
    int highspeedMode = 0;
    int buttonRespondTime = 0;
    int lightSleep = 0;
    int deepSleep = 0;
    int moveWakeup = 0;
    int moveCloseLight = 0;
};
DeviceInformation ParseDeviceInformation(const ReportBuffer& reply);

}  // namespace tavik
