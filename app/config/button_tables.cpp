#include "app/config/button_tables.h"

#include "app/device/key_tables.h"

namespace tavik {

const std::vector<FunctionTypeEntry> kFunctionTypes = {
    {221, 0, L"icon\\keytype_0.png"},   {222, 1, L"icon\\keytype_1.png"},
    {223, 2, L"icon\\keytype_2.png"},   {224, 5, L"icon\\keytype_4.png"},
    {225, 4, L"icon\\keytype_6.png"},   {226, 7, L"icon\\keytype_7.png"},
    {227, 8, L"icon\\keytype_9.png"},   {228, 9, L"icon\\keytype_10.png"},
    {229, 10, L"icon\\keytype_11.png"}, {230, 11, L"icon\\keytype_12.png"},
};

const std::vector<ValueText> kMouseFunctions = {
    {1, 150}, {2, 152}, {3, 151}, {5, 153},  {6, 154},  {4, 155},
    {7, 156}, {8, 157}, {9, 158}, {10, 159}, {11, 210},
};

const std::vector<ValueText> kMultimediaFunctions = {
    {6, 165}, {7, 166}, {8, 167}, {1, 168},  {2, 169},
    {4, 170}, {5, 171}, {3, 172}, {12, 129}, {13, 132},
};

namespace {

std::vector<KeyTableEntry> BuildKeyTable() {
    static const wchar_t* const kLetters[] = {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"I",
                                              L"J", L"K", L"L", L"M", L"N", L"O", L"P", L"Q", L"R",
                                              L"S", L"T", L"U", L"V", L"W", L"X", L"Y", L"Z"};
    static const wchar_t* const kDigits[] = {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9"};
    static const wchar_t* const kFunctionKeys[] = {L"F1", L"F2", L"F3", L"F4",  L"F5",  L"F6",
                                                   L"F7", L"F8", L"F9", L"F10", L"F11", L"F12"};
    std::vector<KeyTableEntry> table;
    for (int at = 0; at < 26; ++at) {
        table.push_back({2, 4 + at, kLetters[at]});
    }
    table.push_back({2, 39, L"0"});
    for (int at = 0; at < 9; ++at) {
        table.push_back({2, 30 + at, kDigits[at]});
    }
    for (int at = 0; at < 12; ++at) {
        table.push_back({3, 58 + at, kFunctionKeys[at]});
    }
    const KeyTableEntry rest[] = {
        {4, 84, L"Num /"},       {4, 85, L"Num *"},     {4, 86, L"Num -"},
        {4, 95, L"Num 7"},       {4, 96, L"Num 8"},     {4, 97, L"Num 9"},
        {4, 87, L"Num +"},       {4, 92, L"Num 4"},     {4, 93, L"Num 5"},
        {4, 94, L"Num 6"},       {4, 89, L"Num 1"},     {4, 90, L"Num 2"},
        {4, 91, L"Num 3"},       {4, 88, L"Num Enter"}, {4, 98, L"Num 0"},
        {4, 99, L"Num ."},       {4, 83, L"Num Lock"},  {5, 41, L"Esc"},
        {5, 70, L"Print"},       {5, 72, L"Pause"},     {5, 42, L"Backsapce"},
        {5, 73, L"Ins"},         {5, 74, L"Home"},      {5, 75, L"PgUp"},
        {5, 43, L"Tab"},         {5, 76, L"Del"},       {5, 77, L"End"},
        {5, 78, L"PgDn"},        {5, 40, L"Enter"},     {5, 44, L"Space"},
        {6, 225, L"Shift"},      {6, 224, L"Ctrl"},     {6, 227, L"Win"},
        {6, 226, L"Alt"},        {6, 229, L"R-Shift"},  {6, 228, L"R-Ctrl"},
        {6, 231, L"R-Win"},      {6, 230, L"R-Alt"},    {6, 57, L"Caps Lock"},
        {6, 71, L"Scroll Lock"}, {7, 53, L"~"},         {7, 45, L"_"},
        {7, 46, L"+"},           {7, 47, L"{"},         {7, 48, L"}"},
        {7, 49, L"||"},          {7, 51, L";"},         {7, 52, L"'"},
        {7, 54, L"<,"},          {7, 55, L">."},        {7, 56, L"?/"},
    };
    table.insert(table.end(), std::begin(rest), std::end(rest));
    return table;
}

// Consecutive shortcut values named by consecutive texts.
std::vector<ValueText> Run(int firstValue, int lastValue, int firstText) {
    std::vector<ValueText> run;
    for (int value = firstValue; value <= lastValue; ++value) {
        run.push_back({value, firstText + (value - firstValue)});
    }
    return run;
}

}  // namespace

const std::vector<KeyTableEntry>& KeyboardKeyTable() {
    static const std::vector<KeyTableEntry> table = BuildKeyTable();
    return table;
}

const std::vector<ValueText>& ShortcutsOfCategory(int category) {
    static const std::vector<ValueText> kCategories[kShortcutCategoryCount] = {
        {{1, 36}, {2, 31}, {3, 32}, {4, 38}, {5, 775}, {7, 776}, {8, 777}, {6, 778}},
        {{9, 779}, {10, 780}, {11, 781}, {12, 782}, {13, 783}, {15, 784}, {16, 785}, {17, 786}},
        Run(18, 23, 787),
        Run(24, 29, 793),
        {{30, 799}, {31, 800}, {32, 801}},
        Run(33, 37, 802),
    };
    static const std::vector<ValueText> kNone;
    if (category < 1 || category > kShortcutCategoryCount) {
        return kNone;
    }
    return kCategories[category - 1];
}

int ShortcutCategoryOf(int value) {
    for (int category = 1; category <= kShortcutCategoryCount; ++category) {
        for (const ValueText& entry : ShortcutsOfCategory(category)) {
            if (entry.value == value) {
                return category;
            }
        }
    }
    return 0;
}

std::wstring UsageKeyName(int usage) {
    if (usage >= 4 && usage <= 29) {
        return std::wstring(1, static_cast<wchar_t>(L'A' + (usage - 4)));
    }
    if (usage >= 30 && usage <= 38) {
        return std::wstring(1, static_cast<wchar_t>(L'1' + (usage - 30)));
    }
    if (usage >= 58 && usage <= 69) {
        return L"F" + std::to_wstring(usage - 57);
    }
    if (usage >= 89 && usage <= 97) {
        return L"Num " + std::to_wstring(usage - 88);
    }
    switch (usage) {
        case 39:
            return L"0";
        case 40:
        case 88:
            return L"Enter";
        case 41:
            return L"Esc";
        case 42:
            return L"Backspace";
        case 43:
            return L"Tab";
        case 44:
            return L"Space";
        case 45:
            return L"-";
        case 46:
            return L"=";
        case 47:
            return L"[";
        case 48:
            return L"]";
        case 49:
            return L"\\";
        case 51:
            return L";";
        case 52:
            return L"'";
        case 53:
            return L"`";
        case 54:
            return L",";
        case 55:
            return L".";
        case 56:
            return L"/";
        case 57:
            return L"Caps Lock";
        case 70:
            return L"Print Screen";
        case 71:
            return L"Scrlk";
        case 72:
            return L"Pause";
        case 73:
            return L"Insert";
        case 74:
            return L"Home";
        case 75:
            return L"Page Up";
        case 76:
            return L"Delete";
        case 77:
            return L"End";
        case 78:
            return L"Page Down";
        case 79:
            return L"Right";
        case 80:
            return L"Left";
        case 81:
            return L"Down";
        case 82:
            return L"Up";
        case 83:
            return L"Num";
        case 84:
            return L"//";
        case 85:
            return L"Num *";
        case 86:
            return L"Num -";
        case 87:
            return L"Num +";
        case 98:
            return L"Num 0";
        case 99:
            return L"Num Del";
        case 101:
            return L"Menu";
        case 175:
            return L"Fn";
        case 224:
        case 228:
            return L"Ctrl";
        case 225:
        case 229:
            return L"Shift";
        case 226:
        case 230:
            return L"Alt";
        case 227:
            return L"Windows";
        default:
            return std::wstring();
    }
}

int UsageToVirtualKey(int usage) {
    if (usage <= 0 || usage > 0xFF) {
        return 0;
    }
    // The first virtual key that converts to the usage: the main keys come before the
    // keypad and the application's own codes.
    for (int virtualKey = 1; virtualKey <= 0xFE; ++virtualKey) {
        if (VirtualKeyToUsage(virtualKey) == usage) {
            return virtualKey;
        }
    }
    return 0;
}

std::wstring KeyboardDescription(int modifierBits, std::wstring_view keyName) {
    static const std::pair<int, const wchar_t*> kOrder[] = {{kModifierShift, L"Shift"},
                                                            {kModifierCtrl, L"Ctrl"},
                                                            {kModifierWin, L"Win"},
                                                            {kModifierAlt, L"Alt"}};
    std::wstring modifiers;
    for (const auto& [bit, name] : kOrder) {
        if ((modifierBits & bit) == 0) {
            continue;
        }
        if (!modifiers.empty()) {
            modifiers += L" + ";
        }
        modifiers += name;
    }
    if (modifiers.empty()) {
        return std::wstring(keyName);
    }
    if (keyName.empty()) {
        return modifiers;
    }
    return modifiers + L" + " + std::wstring(keyName);
}

bool FunctionValueRange(int type, int& minimum, int& maximum) {
    switch (type) {
        case 1:  // mouse functions, the two whole slots included
            minimum = 1;
            maximum = 12;
            return true;
        case 2:  // a keyboard usage
            minimum = 0;
            maximum = 255;
            return true;
        case 4:
            minimum = 1;
            maximum = 13;
            return true;
        case 5:  // a macro id, checked against the stored macros
            minimum = 1;
            maximum = 0x7FFFFFFF;
            return true;
        case 7:
            minimum = 1;
            maximum = 37;
            return true;
        case 8:
            minimum = 0;
            maximum = 0x7FFFFFFF;
            return true;
        case 9:
        case 10:
        case 11:
            // The mouse reports these ids back in one byte.
            minimum = 1;
            maximum = 255;
            return true;
        default:
            return false;
    }
}

int DefaultMouseFunction(int keyCode) {
    static const int kDefaults[] = {1, 3, 2, 5, 6, 7, 8, 11, 12};
    if (keyCode < 0 || keyCode >= static_cast<int>(std::size(kDefaults))) {
        return 0;
    }
    return kDefaults[keyCode];
}

}  // namespace tavik
