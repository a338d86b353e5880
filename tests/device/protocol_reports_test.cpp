#include "app/device/protocol_reports.h"

#include <gtest/gtest.h>

#include "tests/device/protocol_test_support.h"

namespace tavik {
namespace {

using test::HexReport;
using test::ReportHex;

LightRecord SampleLight() {
    LightRecord light;
    light.brightness = 127;
    light.speed = 100;
    light.direction = 1;
    light.colorful = 0;
    light.colorIndex = 7;
    light.configFunc = 0x813;
    light.colorValues = {0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00,
                         0x80FF00, 0xFFFF00, 0xFF0000, 0x123456};
    return light;
}

TEST(ProtocolReportsTest, LightBlock) {
    // Speed 100 goes out as 156; capability bits make byte 12 zero; colours low byte first.
    EXPECT_EQ(ReportHex(LightBlockReport(SampleLight(), 2)),
              "06 21 20 00 00 01 02 7f 9c 01 00 07 00 "
              "ff 00 00 ff 80 00 ff ff 00 00 ff 00 00 ff 80 00 ff ff 00 00 ff 56 34 12");

    LightRecord light = SampleLight();
    light.configFunc = 0;
    light.speed = 0;
    ReportBuffer report = LightBlockReport(light, 3);
    EXPECT_EQ(report[6], 3);
    EXPECT_EQ(report[8], 0);  // speed 0 as byte 0 ...
    EXPECT_EQ(report[12], 1);

    // ... reads back as 256; every other field comes from the reply, config_func stays.
    LightRecord read = SampleLight();
    read.configFunc = 2065;
    ParseLightBlock(report, read);
    EXPECT_EQ(read.speed, 256);
    EXPECT_EQ(read.configFunc, 2065);

    LightRecord parsed;
    parsed.configFunc = 3;
    ParseLightBlock(LightBlockReport(SampleLight(), 1), parsed);
    EXPECT_EQ(parsed.brightness, 127);
    EXPECT_EQ(parsed.speed, 100);
    EXPECT_EQ(parsed.direction, 1);
    EXPECT_EQ(parsed.colorful, 0);
    EXPECT_EQ(parsed.colorIndex, 7);
    EXPECT_EQ(parsed.colorValues, SampleLight().colorValues);
    EXPECT_EQ(parsed.configFunc, 3);
}

TEST(ProtocolReportsTest, DpiColourBlock) {
    std::array<int, kDpiStageCount> colours = {255, 16711680, 65535, 42495, 16776960, 8388992};
    ReportBuffer report = DpiColourBlockReport(colours);
    EXPECT_EQ(ReportHex(report),
              "06 21 20 00 00 01 04 1f 1f 00 00 00 00 "
              "ff 00 00 00 00 ff ff ff 00 ff a5 00 00 ff ff 80 01 80");
    EXPECT_EQ(ParseDpiColourBlock(report), colours);
}

TEST(ProtocolReportsTest, CommandFraming) {
    const std::pair<ReportBuffer, const char*> cases[] = {
        {DpiStageReport(6, 2, 2400), "06 13 05 00 00 01 06 02 60 09"},
        {SetParameterReport(kParameterReportRate, 0x02, 3), "06 13 02 00 00 02 03"},
        {SetParameterReport(kParameterScrollFlag, 0x04, 1), "06 13 04 00 00 05 01"},
        {SetParameterReport(kParameterButtonRespondTime, 0x02, 0x132), "06 13 02 00 00 0a 32"},
        {SleepTimesReport(300, 900), "06 13 05 00 00 0b 2c 01 84 03"},
        {PairingReport(), "06 13 01 00 00 09"},
        {RestoreReport(kRestoreDpi), "06 0f 01 00 00 08"},
        {RestoreReport(kRestoreFactory), "06 0f 01 00 00 ff"},
        {ReadBlockReport(0xFF, 0x00), "06 20 20 00 00 ff"},
        {ReadBlockReport(0x01, 0x04), "06 20 20 00 00 01 04"},
        {CommandReport(kCommandDeviceInformation, 0), "06 05"},
    };
    for (const auto& [report, hex] : cases) {
        EXPECT_EQ(ReportHex(report), hex);
    }
}

TEST(ProtocolReportsTest, DeviceInformation) {
    // Stages as DPI / 50 - 1: 0x0F 0x00 is 800; 0x1F3 is 25000.
    ReportBuffer reply = HexReport(
        "06 05 00 00 00 00 00 00 00 05 12 03 01 55 01 00 00 02 "
        "0f 00 1f 00 2f 00 3f 00 63 00 f3 01 "
        "03 07 00 01 35 01 0c 2c 01 84 03 00 01");
    DeviceInformation info = ParseDeviceInformation(reply);
    EXPECT_EQ(info.build, 5);
    EXPECT_EQ(info.version, 0x12);
    EXPECT_EQ(info.connectionMode, 3);
    EXPECT_TRUE(info.connected);
    EXPECT_EQ(info.batteryLevel, 85);
    EXPECT_EQ(info.batteryCharging, 1);
    EXPECT_EQ(info.dpiStageIndex, 2);
    EXPECT_EQ(info.dpi, (std::array<int, 6>{800, 1600, 2400, 3200, 5000, 25000}));
    EXPECT_EQ(info.reportRate, 3);
    EXPECT_EQ(info.reportFlag, 7);
    EXPECT_EQ(info.scrollFlag, 0);
    EXPECT_EQ(info.liftoffHeight, 1);
    EXPECT_EQ(info.sensorFlag, 0x35);
    EXPECT_EQ(info.highspeedMode, 1);
    EXPECT_EQ(info.buttonRespondTime, 12);
    EXPECT_EQ(info.lightSleep, 300);
    EXPECT_EQ(info.deepSleep, 900);
    EXPECT_EQ(info.moveWakeup, 0);
    EXPECT_EQ(info.moveCloseLight, 1);
}

TEST(ProtocolReportsTest, FirmwareVersionText) {
    EXPECT_EQ(FormatFirmwareVersion(5, 0x12), L"1.2.5");
    EXPECT_EQ(FormatFirmwareVersion(255, 0xAB), L"a.b.255");
    EXPECT_EQ(FormatFirmwareVersion(0, 0x01), L"0.1.0");
}

TEST(ProtocolReportsTest, BlockReplyNeedsCommandAndAddress) {
    EXPECT_TRUE(IsBlockReply(HexReport("06 20 20 00 00 01 04"), 0x01, 0x04));
    EXPECT_FALSE(IsBlockReply(HexReport("06 21 20 00 00 01 04"), 0x01, 0x04));
    EXPECT_FALSE(IsBlockReply(HexReport("06 20 20 00 00 01 03"), 0x01, 0x04));
    EXPECT_FALSE(IsBlockReply(HexReport("06 fa 00 00 00 01 04"), 0x01, 0x04));
}

}  // namespace
}  // namespace tavik
