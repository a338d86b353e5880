#include "app/device/sim/simulated_mouse.h"

#include <algorithm>

#include "app/device/key_macro_image.h"
#include "app/device/protocol_reports.h"

namespace tavik::sim {

namespace {

constexpr size_t kBlockContentStart = 7;

void PutColour(std::array<uint8_t, kDataBlockSize>& block, size_t at, uint32_t colour) {
    block[at] = static_cast<uint8_t>(colour & 0xFF);
    block[at + 1] = static_cast<uint8_t>((colour >> 8) & 0xFF);
    block[at + 2] = static_cast<uint8_t>((colour >> 16) & 0xFF);
}

uint16_t Word(const ReportBuffer& report, size_t at) {
    return static_cast<uint16_t>(report[at] | (report[at + 1] << 8));
}

void PutWord(ReportBuffer& report, size_t at, uint16_t value) {
    report[at] = static_cast<unsigned char>(value & 0xFF);
    report[at + 1] = static_cast<unsigned char>(value >> 8);
}

void FillDeviceInformation(const MouseState& state, uint8_t connectionMode, ReportBuffer& reply) {
    reply[9] = state.firmwareBuild;
    reply[10] = state.firmwareVersion;
    reply[11] = connectionMode;
    reply[12] = 1;
    reply[13] = state.batteryLevel;
    reply[14] = state.batteryCharging;
    reply[17] = state.dpiIndex;
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        // The mouse reports a stage as DPI / 50 - 1.
        int raw = std::max(0, state.dpi[stage] / 50 - 1);
        PutWord(reply, 18 + 2 * stage, static_cast<uint16_t>(raw));
    }
    reply[30] = state.reportRate;
    reply[31] = state.reportFlag;
    reply[32] = state.scrollFlag;
    reply[33] = state.liftoffHeight;
    reply[34] = state.sensorFlag;
    reply[35] = state.highspeedMode;
    reply[36] = state.buttonRespondTime;
    PutWord(reply, 37, state.lightSleep);
    PutWord(reply, 39, state.deepSleep);
    reply[41] = state.moveWakeup;
    reply[42] = state.moveCloseLight;
}

void SetParameter(MouseState& state, const ReportBuffer& request) {
    unsigned char value = request[6];
    switch (request[5]) {
        case 0x01: {
            unsigned char count = request[6];
            unsigned char index = request[7];
            // A stage outside the six the mouse has is refused whole.
            if (count >= 1 && count <= kDpiStageCount && index < count) {
                state.dpiCount = count;
                state.dpiIndex = index;
                state.dpi[index] = Word(request, 8);
            }
            break;
        }
        case 0x02:
            state.reportRate = value;
            break;
        case 0x05:
            state.scrollFlag = value;
            break;
        case 0x06:
            state.liftoffHeight = value;
            break;
        case 0x07:
            state.sensorFlag = value;
            break;
        case 0x08:
            state.highspeedMode = value;
            break;
        case 0x09:
            state.pairingRequested = true;
            break;
        case 0x0A:
            state.buttonRespondTime = value;
            break;
        case 0x0B:
            state.lightSleep = Word(request, 6);
            state.deepSleep = Word(request, 8);
            break;
        case 0x0C:
            state.moveWakeup = value;
            break;
        case 0x0D:
            state.moveCloseLight = value;
            break;
        default:
            break;
    }
}

std::array<uint8_t, kDataBlockSize>* FindBlock(MouseState& state, unsigned char page,
                                               unsigned char index) {
    if (page != 0x01) {
        return nullptr;
    }
    if (index >= 1 && index <= kLightModeCount) {
        return &state.lightModes[index - 1];
    }
    if (index == 0x04) {
        return &state.dpiColours;
    }
    return nullptr;
}

void ReadDataBlock(MouseState& state, const ReportBuffer& request, ReportBuffer& reply) {
    unsigned char page = request[5];
    unsigned char index = request[6];
    reply[5] = page;
    reply[6] = index;
    if (page == 0xFF && index == 0x00) {
        reply[6] = state.activeLightMode;
        return;
    }
    if (auto* block = FindBlock(state, page, index)) {
        std::copy(block->begin(), block->end(), reply.begin() + kBlockContentStart);
    }
}

void WriteDataBlock(MouseState& state, const ReportBuffer& request) {
    unsigned char page = request[5];
    unsigned char index = request[6];
    if (auto* block = FindBlock(state, page, index)) {
        std::copy(request.begin() + kBlockContentStart,
                  request.begin() + kBlockContentStart + kDataBlockSize, block->begin());
        // Writing a light mode's block switches the mouse to that mode.
        if (index >= 1 && index <= kLightModeCount) {
            state.activeLightMode = index;
        }
    }
}

void WriteMacroChunk(MouseState& state, const ReportBuffer& request) {
    size_t length = std::min<size_t>(request[2], kMacroChunkSize);
    size_t offset = Word(request, 3);
    if (offset == 0) {
        state.macroMemory.fill(0);
        state.macroLength = 0;
        state.macroChunks = 0;
    }
    ++state.macroChunks;
    if (offset >= kMacroMemorySize) {
        return;
    }
    length = std::min(length, kMacroMemorySize - offset);
    std::copy(request.begin() + kPayloadStart, request.begin() + kPayloadStart + length,
              state.macroMemory.begin() + offset);
    state.macroLength = std::max(state.macroLength, offset + length);
}

void RestoreDpi(MouseState& state) {
    MouseState factory = FactoryMouseState();
    state.dpiCount = factory.dpiCount;
    state.dpiIndex = factory.dpiIndex;
    state.dpi = factory.dpi;
    state.dpiColours = factory.dpiColours;
}

void RestoreAll(MouseState& state) {
    MouseState factory = FactoryMouseState();
    // Versions, battery and the counters describe the mouse, not its settings.
    factory.firmwareBuild = state.firmwareBuild;
    factory.firmwareVersion = state.firmwareVersion;
    factory.batteryLevel = state.batteryLevel;
    factory.batteryCharging = state.batteryCharging;
    factory.dpiRestores = state.dpiRestores;
    factory.factoryResets = state.factoryResets;
    state = factory;
}

}  // namespace

MouseState FactoryMouseState() {
    MouseState state;
    const uint32_t dpiColours[kDpiStageCount] = {255, 16711680, 65535, 42495, 16776960, 8388736};
    state.dpiColours[0] = 0x1F;
    state.dpiColours[1] = 0x1F;
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        PutColour(state.dpiColours, 6 + 3 * stage, dpiColours[stage]);
    }
    const uint32_t lightColours[8] = {255,     33023,    65535,    65280,
                                      8453888, 16776960, 16711680, 16711935};
    for (int mode = 0; mode < kLightModeCount; ++mode) {
        auto& block = state.lightModes[mode];
        block[0] = 127;  // brightness
        block[1] = 128;  // speed 128, sent as 256 - 128
        block[2] = 0;    // direction
        block[3] = 1;    // colourful
        block[4] = 0;    // colour index
        block[5] = 0;    // 0: the mode has options (the host's config_func is non-zero)
        for (int colour = 0; colour < 8; ++colour) {
            PutColour(block, 6 + 3 * colour, lightColours[colour]);
        }
    }
    const uint8_t keySlots[9][4] = {{0x10, 0x01, 0, 0}, {0x10, 0x02, 0, 0}, {0x10, 0x04, 0, 0},
                                    {0x10, 0x10, 0, 0}, {0x10, 0x08, 0, 0}, {0x10, 0x20, 0, 0},
                                    {0x10, 0x40, 0, 0}, {0x1F, 0x01, 0, 0}, {0x1F, 0x00, 0, 0}};
    for (int slot = 0; slot < 9; ++slot) {
        std::copy(keySlots[slot], keySlots[slot] + 4, state.keyTable.begin() + 4 * slot);
    }
    return state;
}

bool AnswerMouseCommand(MouseState& state, const ReportBuffer& request, uint8_t connectionMode,
                        ReportBuffer& reply) {
    reply.fill(0);
    std::copy(request.begin(), request.begin() + kPayloadStart, reply.begin());
    switch (request[1]) {
        case kCommandDeviceInformation:
            FillDeviceInformation(state, connectionMode, reply);
            return true;
        case kCommandReceiverInformation:
            // A mouse on its cable has no receiver to speak for: byte 5 stays 0.
            return true;
        case kCommandRestore:
            if (request[5] == kRestoreDpi) {
                RestoreDpi(state);
                ++state.dpiRestores;
            } else if (request[5] == kRestoreFactory) {
                RestoreAll(state);
                ++state.factoryResets;
            }
            // The host does not wait for these, so the firmware sends nothing back that a
            // later command could take for its own reply.
            return false;
        case kCommandWriteKeyTable:
            std::copy(request.begin() + kPayloadStart,
                      request.begin() + kPayloadStart + kKeyTableSize, state.keyTable.begin());
            reply = request;
            return true;
        case kCommandSetParameter:
            SetParameter(state, request);
            reply = request;
            return true;
        case kCommandReadBlock:
            ReadDataBlock(state, request, reply);
            return true;
        case kCommandWriteBlock:
            WriteDataBlock(state, request);
            reply = request;
            return true;
        case kCommandWriteMacroImage:
            WriteMacroChunk(state, request);
            return true;
        default:
            // 0x10, 0x11 and commands the mouse does not know: the header comes back.
            return true;
    }
}

}  // namespace tavik::sim
