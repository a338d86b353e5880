#include "app/device/protocol_reports.h"

#include <cstdio>

namespace tavik {

namespace {

// Where a block's content starts, and where the colours of each block start.
constexpr size_t kBlockContentStart = 7;
constexpr size_t kLightColoursStart = 13;
constexpr size_t kDpiColoursStart = 13;
constexpr int kLightColourCount = 8;

void PutWord(ReportBuffer& report, size_t at, int value) {
    report[at] = static_cast<unsigned char>(value & 0xFF);
    report[at + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

int Word(const ReportBuffer& report, size_t at) {
    return report[at] | (report[at + 1] << 8);
}

void PutColour(ReportBuffer& report, size_t at, int colour) {
    report[at] = static_cast<unsigned char>(colour & 0xFF);
    report[at + 1] = static_cast<unsigned char>((colour >> 8) & 0xFF);
    report[at + 2] = static_cast<unsigned char>((colour >> 16) & 0xFF);
}

int Colour(const ReportBuffer& report, size_t at) {
    return report[at] | (report[at + 1] << 8) | (report[at + 2] << 16);
}

}  // namespace

ReportBuffer CommandReport(unsigned char command, unsigned char length) {
    ReportBuffer report{};
    report[0] = kCommandReportId;
    report[1] = command;
    report[2] = length;
    return report;
}

ReportBuffer SetParameterReport(unsigned char parameterId, unsigned char lengthByte, int value) {
    ReportBuffer report = CommandReport(kCommandSetParameter, lengthByte);
    report[5] = parameterId;
    report[6] = static_cast<unsigned char>(value & 0xFF);
    return report;
}

ReportBuffer DpiStageReport(int count, int index, int dpi) {
    ReportBuffer report = CommandReport(kCommandSetParameter, 0x05);
    report[5] = kParameterDpiStage;
    report[6] = static_cast<unsigned char>(count & 0xFF);
    report[7] = static_cast<unsigned char>(index & 0xFF);
    PutWord(report, 8, dpi);
    return report;
}

ReportBuffer SleepTimesReport(int lightSleep, int deepSleep) {
    ReportBuffer report = CommandReport(kCommandSetParameter, 0x05);
    report[5] = kParameterSleepTimes;
    PutWord(report, 6, lightSleep);
    PutWord(report, 8, deepSleep);
    return report;
}

ReportBuffer PairingReport() {
    ReportBuffer report = CommandReport(kCommandSetParameter, 0x01);
    report[5] = kParameterPairing;
    return report;
}

ReportBuffer RestoreReport(unsigned char subCommand) {
    ReportBuffer report = CommandReport(kCommandRestore, 0x01);
    report[5] = subCommand;
    return report;
}

ReportBuffer ReadBlockReport(unsigned char page, unsigned char index) {
    ReportBuffer report = CommandReport(kCommandReadBlock, kBlockLength);
    report[5] = page;
    report[6] = index;
    return report;
}

ReportBuffer LightBlockReport(const LightRecord& light, int mode) {
    ReportBuffer report = CommandReport(kCommandWriteBlock, kBlockLength);
    report[5] = kLightPage;
    report[6] = static_cast<unsigned char>(mode & 0xFF);
    report[7] = static_cast<unsigned char>(light.brightness & 0xFF);
    report[8] = static_cast<unsigned char>((256 - light.speed) & 0xFF);
    report[9] = static_cast<unsigned char>(light.direction & 0xFF);
    report[10] = static_cast<unsigned char>(light.colorful & 0xFF);
    report[11] = static_cast<unsigned char>(light.colorIndex & 0xFF);
    // The mouse takes 1 for a mode without options, 0 for one with any.
    report[12] = light.configFunc == 0 ? 1 : 0;
    for (int colour = 0; colour < kLightColourCount; ++colour) {
        PutColour(report, kLightColoursStart + 3 * static_cast<size_t>(colour),
                  light.colorValues[static_cast<size_t>(colour)]);
    }
    return report;
}

void ParseLightBlock(const ReportBuffer& reply, LightRecord& light) {
    light.brightness = reply[7];
    light.speed = 256 - reply[8];
    light.direction = reply[9];
    light.colorful = reply[10];
    light.colorIndex = reply[11];
    for (int colour = 0; colour < kLightColourCount; ++colour) {
        light.colorValues[static_cast<size_t>(colour)] =
            Colour(reply, kLightColoursStart + 3 * static_cast<size_t>(colour));
    }
}

ReportBuffer DpiColourBlockReport(const std::array<int, kDpiStageCount>& colours) {
    ReportBuffer report = CommandReport(kCommandWriteBlock, kBlockLength);
    report[5] = kLightPage;
    report[6] = kDpiColourIndex;
    report[kBlockContentStart] = 0x1F;
    report[kBlockContentStart + 1] = 0x1F;
    for (size_t stage = 0; stage < colours.size(); ++stage) {
        PutColour(report, kDpiColoursStart + 3 * stage, colours[stage]);
    }
    return report;
}

std::array<int, kDpiStageCount> ParseDpiColourBlock(const ReportBuffer& reply) {
    std::array<int, kDpiStageCount> colours{};
    for (size_t stage = 0; stage < colours.size(); ++stage) {
        colours[stage] = Colour(reply, kDpiColoursStart + 3 * stage);
    }
    return colours;
}

bool IsBlockReply(const ReportBuffer& reply, unsigned char page, unsigned char index) {
    return reply[1] == kCommandReadBlock && reply[5] == page && reply[6] == index;
}

std::wstring FormatFirmwareVersion(uint8_t build, uint8_t version) {
    char digits[8];
    std::snprintf(digits, sizeof(digits), "%02x", version);
    char text[32];
    std::snprintf(text, sizeof(text), "%c.%c.%d", digits[0], digits[1], build);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

DeviceInformation ParseDeviceInformation(const ReportBuffer& reply) {
    DeviceInformation info;
    info.build = reply[9];
    info.version = reply[10];
    info.connectionMode = reply[11];
    info.connected = reply[12] != 0;
    info.batteryLevel = reply[13];
    info.batteryCharging = reply[14];
    info.dpiStageIndex = reply[17];
    for (size_t stage = 0; stage < info.dpi.size(); ++stage) {
        // The mouse reports a stage as DPI / 50 - 1.
        info.dpi[stage] = (Word(reply, 18 + 2 * stage) + 1) * 50;
    }
    info.reportRate = reply[30];
    info.reportFlag = reply[31];
    info.scrollFlag = reply[32];
    info.liftoffHeight = reply[33];
    info.sensorFlag = reply[34];
    info.highspeedMode = reply[35];
    info.buttonRespondTime = reply[36];
    info.lightSleep = Word(reply, 37);
    info.deepSleep = Word(reply, 39);
    info.moveWakeup = reply[41];
    info.moveCloseLight = reply[42];
    return info;
}

}  // namespace tavik
