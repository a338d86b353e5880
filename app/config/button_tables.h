#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik {

// The tables of the button page: function types, the values of each type with the language
// texts that name them, the keyboard key table and the names of stored keyboard usages.

// An entry of a choice list: the stored value and the language text that names it.
struct ValueText {
    int value;
    int text;
};

// A function type as the type list offers it.
struct FunctionTypeEntry {
    int text;
    int type;  // 0 "default", otherwise the stored macro_type
    const wchar_t* icon;
};
extern const std::vector<FunctionTypeEntry> kFunctionTypes;

// The "default" entry of the type list; it is stored as type 1 with the catalogue default.
constexpr int kFunctionTypeDefault = 0;

// Mouse functions (type 1) and multimedia keys (type 4), in list order.
extern const std::vector<ValueText> kMouseFunctions;
extern const std::vector<ValueText> kMultimediaFunctions;

// Modifier bits of a keyboard assignment (macro_value2).
constexpr int kModifierCtrl = 1;
constexpr int kModifierShift = 2;
constexpr int kModifierAlt = 4;
constexpr int kModifierWin = 8;

// The keyboard key table: category 2 … 7 of the first list, usage and name.
struct KeyTableEntry {
    int category;
    int usage;
    const wchar_t* name;
};
// The keyboard categories (first list of type 2): data 1 … 7, texts 760 … 766. Category 1 is
// the key field with the modifier buttons.
constexpr int kKeyboardCategoryCount = 7;
constexpr int kKeyboardCategoryFirstText = 760;
constexpr int kKeyFieldCategory = 1;
const std::vector<KeyTableEntry>& KeyboardKeyTable();

// The system shortcuts (type 7): categories 1 … 6 with texts 767 … 772, and per category
// its shortcut values and texts.
constexpr int kShortcutCategoryCount = 6;
constexpr int kShortcutCategoryFirstText = 767;
const std::vector<ValueText>& ShortcutsOfCategory(int category);
// The category holding a shortcut value, 0 when none does.
int ShortcutCategoryOf(int value);

// The name shown for a stored keyboard usage; empty for a usage without one.
std::wstring UsageKeyName(int usage);
// The virtual key of a keyboard usage (the reverse of the key slot conversion), 0 for none.
int UsageToVirtualKey(int usage);

// The description of a keyboard assignment: the modifiers in the order Shift, Ctrl, Win, Alt
// joined by " + ", then the key name ("Shift + Alt + A"); either part alone when the other
// is empty.
std::wstring KeyboardDescription(int modifierBits, std::wstring_view keyName);

// The values a function type can carry in macro_value, as the key slot encoding allows them;
// false for a type that is not a function of a button.
bool FunctionValueRange(int type, int& minimum, int& maximum);

// The mouse function a button has while no row is stored for it, by key code (0 … 8); 0 for
// another key code.
int DefaultMouseFunction(int keyCode);

}  // namespace tavik
