#pragma once

#include <array>
#include <string>

namespace tavik {

// A profile (t_profile_data) or a text snippet (t_text_data).
struct NamedRecord {
    int id = 0;         // profile / text_id
    std::wstring name;  // profiles: localised when read
    std::wstring text;  // profiles: app, always empty; snippets: content
    int type = 0;       // always 0
    int status = 0;     // profiles: 1 for the active profile; snippets: always 0
};

// Function types (macro_type) that run on the computer: the mouse reports the press in event
// 0x50 with the type and the assignment's value 1.
constexpr int kFunctionLaunchProgram = 9;     // the program kept in the extra data row
constexpr int kFunctionOpenWebAddress = 10;   // the address kept in the extra data row
constexpr int kFunctionTypeTextSnippet = 11;  // the stored text with this id

// The function of one button in one profile (t_key_macro_data).
struct KeyAssignment {
    int keyId = 0;                   // key_id
    int profile = 0;                 // profile
    int layer = 0;                   // fn_layer, always 0
    int keyCode = 0;                 // key_code, the button's code from the device catalogue
    int layoutValue = 0;             // layout_value
    std::wstring layoutDescription;  // layout_desc
    int functionType = 0;            // macro_type
    int value1 = 0;                  // macro_value
    int value2 = 0;                  // macro_value2
    int value3 = 0;                  // macro_value3
    std::wstring description;        // macro_desc
};

// The part of a program-launch or web-address assignment that does not fit the integer values
// (t_key_otherdata); the assignment refers to it by id.
struct KeyExtraData {
    int id = 0;                // macro_value
    std::wstring description;  // macro_desc: shown name or web address
    std::wstring parameter;    // param: full path of the program, empty for an address
    int type = 0;              // 9 program, 10 web address
};

// The settings of one lighting mode of one profile (t_light_data).
struct LightRecord {
    int lightId = 0;
    int profile = 0;
    std::wstring name;  // always stored empty
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorIndex = 0;
    std::array<int, 8> colorValues{};  // color_value1 ... color_value8, COLORREF
    int configFunc = 0;
    int moveCloseLight = 0;
    int reserved = 0;  // language text number of the mode's name
    int status = 0;    // 1 for the profile's active mode
};

// A macro (t_macro_data).
struct MacroRecord {
    int macroId = 0;
    std::wstring name;
    int playType = 0;
    int playTimes = 0;
    int delayType = 0;
    int delayTime = 0;
};

// One event of a macro (t_macrorecord).
struct MacroEvent {
    int recordId = 0;
    int macroId = 0;
    int type = 0;
    int recordIndex = 0;  // position in the macro
    int value = 0;
    int delayTime = 0;
    std::wstring description;  // desc
};

}  // namespace tavik
