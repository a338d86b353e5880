#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/device/hid_device_manager.h"
#include "app/device/key_tables.h"
#include "app/store/store_records.h"

namespace tavik {

// The key table: slot n (for the button with key code n) at report byte 5 + 4n; the 64-byte
// report has room for slots 0 to 13. Slots 0 to 8 have defaults, the others are zero.
constexpr int kKeySlotCount = 14;
constexpr int kDefaultKeySlotCount = 9;
using KeyTable = std::array<KeySlot, kKeySlotCount>;

// The macro image: a table of 32 16-bit offsets, then the macros one after another.
constexpr size_t kMacroTableSize = 64;
constexpr int kMaxMacroCount = 32;
constexpr size_t kMaxMacroImageSize = 4000;
constexpr size_t kMacroChunkSize = 59;
constexpr int kFirstRunningDelay = 10;
constexpr int kMinEndDelay = 10;
constexpr int kMaxEndDelay = 10000;

// Function types of a button assignment (macro_type).
enum KeyFunctionType : int {
    kKeyFunctionMouse = 1,
    kKeyFunctionKeyboard = 2,
    kKeyFunctionMultimedia = 4,
    kKeyFunctionMacro = 5,
    kKeyFunctionShortcut = 7,
    kKeyFunctionDisabled = 8,
    kKeyFunctionLaunchProgram = kFunctionLaunchProgram,
    kKeyFunctionWebAddress = kFunctionOpenWebAddress,
    kKeyFunctionTextSnippet = kFunctionTypeTextSnippet,
};

// A macro with its events ordered by record index, as the image encodes it.
struct MacroImageSource {
    int macroId = 0;
    std::vector<MacroEvent> events;
};

// An encoded macro image.
struct MacroImage {
    std::vector<uint8_t> bytes;  // the transferred image: at least the table, at most 4000
    // Ids of the macros that made it into the image, by table position. A button whose
    // macro is not among them keeps its default function.
    std::vector<int> macroIds;
};

KeyTable DefaultKeyTable();

// Encodes one assignment into `slot`, which holds the slot's default on entry; bytes the rule
// does not name keep it. `imageMacroIds` are the ids of the macros in the macro image by
// position. Returns false (slot unchanged) for a function that is not sent, a macro that is
// not in the image, or a computer-side function whose id does not fit its byte.
bool EncodeKeySlot(const KeyAssignment& assignment, const std::vector<int>& imageMacroIds,
                   KeySlot& slot);

// The key table for the assignments of one profile: defaults, then each row of layer 0 in
// the slot of its key code; rows whose key code lies outside 0 .. 13 are skipped.
KeyTable BuildKeyTable(const std::vector<KeyAssignment>& assignments,
                       const std::vector<int>& imageMacroIds);

// The key-table command (0x12) carrying `table`.
ReportBuffer KeyTableReport(const KeyTable& table);

// Encodes one macro event with the macro's running delay (updated for key and button
// events). False for an event type outside 2 .. 12, which is skipped.
bool EncodeMacroEvent(const MacroEvent& event, int& runningDelay, std::array<uint8_t, 4>& bytes);

// The end record after a macro's last event: the running delay limited to 10 .. 10000.
std::array<uint8_t, 4> EncodeMacroEnd(int runningDelay);

// Builds the image of the macros in list order. At most 32 macros; a macro that would carry
// the image past 4000 bytes is dropped with every macro after it, so every table entry
// points at a whole macro inside the transfer.
MacroImage BuildMacroImage(const std::vector<MacroImageSource>& macros);

// The write commands (0x31) carrying the image: chunk k holds bytes 59k .. 59k + 58 at
// offset 59k; the last chunk (k = length / 59) carries length mod 59 bytes, so an image
// whose length is a multiple of 59 ends with a chunk of length 0.
std::vector<ReportBuffer> MacroImageChunks(const std::vector<uint8_t>& image);

}  // namespace tavik
