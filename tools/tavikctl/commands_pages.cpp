#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/common/text_encoding.h"
#include "app/config/button_tables.h"
#include "app/config/performance_rules.h"
#include "app/device/key_macro_image.h"
#include "app/device/job_queue.h"
#include "app/device/key_tables.h"
#include "tools/tavikctl/commands.h"
#include "tools/tavikctl/session.h"
#include "tools/tavikctl/settable_keys.h"
#include "tools/tavikctl/usage.h"

namespace tavik::tavikctl {

namespace {

namespace perf = performance_control;
namespace btn = button_control;
namespace light = light_control;

// The words of the command line for mouse functions and multimedia keys.
struct NamedValue {
    const char* name;
    int value;
};
const NamedValue kMouseWords[] = {
    {"left", 1},    {"middle", 2}, {"right", 3},      {"double-click", 4},
    {"forward", 5}, {"back", 6},   {"wheel-down", 9}, {"wheel-up", 10},
};
const NamedValue kMediaWords[] = {
    {"player", 1}, {"play-pause", 2}, {"stop", 3}, {"previous", 4},    {"next", 5},
    {"vol-up", 6}, {"vol-down", 7},   {"mute", 8}, {"calculator", 12}, {"mail", 13},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A key name compared without case and blanks.
std::string KeyWord(const std::wstring& name) {
    std::string word;
    for (wchar_t c : name) {
        if (c != L' ' && c < 0x80) {
            word.push_back(static_cast<char>(std::tolower(static_cast<int>(c))));
        }
    }
    return word;
}

// The keyboard usage named by a word ("a", "f5", "pageup", "num 7"), 0 for none.
int UsageOfKeyWord(const std::string& typed) {
    const std::string word = KeyWord(Utf8ToWide(typed));
    if (word.empty()) {
        return 0;
    }
    for (int usage = 4; usage <= 231; ++usage) {
        if (KeyWord(UsageKeyName(usage)) == word) {
            return usage;
        }
    }
    for (const KeyTableEntry& entry : KeyboardKeyTable()) {
        if (KeyWord(entry.name) == word) {
            return entry.usage;
        }
    }
    static const NamedValue kAliases[] = {{"escape", 41}, {"return", 40}, {"del", 76},
                                          {"ins", 73},    {"pgup", 75},   {"pgdn", 78}};
    for (const NamedValue& alias : kAliases) {
        if (word == alias.name) {
            return alias.value;
        }
    }
    return 0;
}

// A value of a list given by its word or its number; -1 when neither fits.
int ValueOfWord(const std::string& typed, const NamedValue* words, size_t count,
                const std::vector<ValueText>& listed) {
    const std::string word = Lower(typed);
    for (size_t at = 0; at < count; ++at) {
        if (word == words[at].name) {
            return words[at].value;
        }
    }
    int number = 0;
    if (ParseInteger(typed, number)) {
        for (const ValueText& entry : listed) {
            if (entry.value == number) {
                return number;
            }
        }
    }
    return -1;
}

std::string Names(const NamedValue* words, size_t count) {
    std::string names;
    for (size_t at = 0; at < count; ++at) {
        names += (at > 0 ? ", " : "") + std::string(words[at].name);
    }
    return names;
}

// Parses a number in a range; false with the usual message otherwise.
bool NumberIn(Session& session, const std::string& text, int minimum, int maximum,
              const std::string& what, int& value, int& status) {
    if (!ParseInteger(text, value) || value < minimum || value > maximum) {
        status = Refuse(session, what + " must be " + std::to_string(minimum) + " to " +
                                     std::to_string(maximum));
        return false;
    }
    return true;
}

int ListDpi(Session& session) {
    const int count = ClampDpiCount(session.Context().ConfigNumber(L"dpi_count", 0));
    const int active = ClampDpiIndex(session.Context().ConfigNumber(L"dpi_index", 0), count);
    std::ostream& out = session.Out();
    if (session.Opts().json) {
        out << "{\"count\":" << count << ",\"active\":" << active + 1 << ",\"stages\":[";
    } else {
        out << "count=" << count << " active=" << active + 1 << '\n';
    }
    for (int stage = 0; stage < count; ++stage) {
        const int dpi = session.Context().ConfigNumber(DpiValueKey(stage), 0);
        const unsigned colour =
            static_cast<unsigned>(session.Context().ConfigNumber(DpiColourKey(stage), 0));
        if (session.Opts().json) {
            out << (stage > 0 ? "," : "") << "{\"stage\":" << stage + 1 << ",\"dpi\":" << dpi
                << ",\"color\":\"" << ColourText(colour) << "\"}";
        } else {
            out << "stage " << stage + 1 << ": " << dpi << " dpi, color " << ColourText(colour)
                << (stage == active ? " (current)" : "") << '\n';
        }
    }
    if (session.Opts().json) {
        out << "]}\n";
    }
    return kExitSuccess;
}

}  // namespace

int CommandDpi(Session& session, const Operands& operands) {
    if (operands.empty()) {
        return ListDpi(session);
    }
    session.ShowPerformancePage();
    PerformancePage& page = session.Performance();
    HeadlessPerformanceView& controls = session.PerformanceControls();
    const int count = controls.stages.GetItemCount();
    int status = kExitUsage;
    const std::string& first = operands[0];
    if (first == "--defaults") {
        if (operands.size() != 1) {
            return Refuse(session, "usage: tavikctl dpi --defaults");
        }
        page.RestoreDpiDefaults();
        return SendQueued(session, "dpi defaults");
    }
    if (first == "--count" || first == "--active") {
        if (operands.size() != 2) {
            return Refuse(session, "usage: tavikctl dpi " + first + " N");
        }
        int value = 0;
        if (first == "--count") {
            if (!NumberIn(session, operands[1], 1, kDpiStageCountMax, "--count", value, status)) {
                return status;
            }
            controls.Combo(perf::kDpiCount).SelectData(value);
            page.OnControlNotify(perf::kDpiCount, notify_code::kClicked);
            return SendQueued(session, "dpi count=" + std::to_string(value));
        }
        if (!NumberIn(session, operands[1], 1, count, "STAGE", value, status)) {
            return status;
        }
        controls.stages.SetSelectItem(value - 1);
        page.OnControlNotify(perf::kDpiStages, notify_code::kClicked);
        return SendQueued(session, "dpi stage " + std::to_string(value) + " current");
    }
    // dpi STAGE VALUE [--color RRGGBB]
    if (operands.size() != 2 && !(operands.size() == 4 && operands[2] == "--color")) {
        return Refuse(session, "usage: tavikctl dpi STAGE VALUE [--color RRGGBB]");
    }
    int stage = 0;
    if (!NumberIn(session, first, 1, count, "STAGE", stage, status)) {
        return status;
    }
    int typed = 0;
    if (!ParseInteger(operands[1], typed)) {
        return Refuse(session, "VALUE must be a number from " + std::to_string(kDpiMinimum) +
                                   " to " +
                                   std::to_string(DpiMaximum(session.Context().DeviceType())));
    }
    unsigned colour = 0;
    const bool withColour = operands.size() == 4;
    if (withColour && (!ParseColour(operands[3], colour) || colour == 0)) {
        return Refuse(session, "--color must be six hex digits RRGGBB other than 000000");
    }
    // As on the DPI page: opening the stage's value edit makes it current, closing it stores
    // the value brought to the page's rule.
    controls.stages.SetSelectItem(stage - 1);
    page.OnControlNotify(perf::kDpiStages, notify_code::kEditOpened);
    controls.stages.SetEditText(std::to_wstring(typed));
    page.OnControlNotify(perf::kDpiStages, notify_code::kEditClosed);
    std::string what = "dpi stage " + std::to_string(stage) + "=" +
                       std::to_string(controls.stages.GetDPIValue(stage - 1));
    if (withColour) {
        session.CommandAnswers().colour = colour;
        page.OnControlNotify(perf::kDpiStages, notify_code::kColourBlockClicked);
        what += " color " + ColourText(colour);
    }
    return SendQueued(session, what);
}

int CommandRate(Session& session, const Operands& operands) {
    int hertz = 0;
    const int value = ParseInteger(operands[0], hertz) ? ReportRateValueOfHertz(hertz) : -1;
    if (value < 0) {
        return Refuse(session, "rate must be 125, 250, 500 or 1000");
    }
    session.ShowPerformancePage();
    session.PerformanceControls().rates.SetSelectItem(value);
    session.Performance().OnControlNotify(perf::kReportRate, notify_code::kClicked);
    return SendQueued(session, "rate " + operands[0] + " Hz");
}

int CommandButton(Session& session, const Operands& operands) {
    int keyCode = 0;
    if (!ParseInteger(operands[0], keyCode)) {
        return Refuse(session, "KEY must be a button's key code");
    }
    session.ShowButtonPage();
    HeadlessButtonView& controls = session.ButtonControls();
    const int item = controls.mouse.IndexOf(keyCode);
    // The assignable buttons: every one but the first of the picture, in key code order.
    std::vector<int> assignable;
    if (controls.mouse.KeyCodes().size() > 1) {
        assignable.assign(controls.mouse.KeyCodes().begin() + 1, controls.mouse.KeyCodes().end());
    }
    std::sort(assignable.begin(), assignable.end());
    std::string known;
    for (size_t at = 0; at < assignable.size(); ++at) {
        known += (at > 0 ? ", " : "") + std::to_string(assignable[at]);
    }
    if (item < 1) {
        return Refuse(session, "KEY must be one of " + known +
                                   (item == 0 ? " (the first button keeps its function)" : ""));
    }
    ButtonPage& page = session.Buttons();
    controls.mouse.SetSelectItem(item);
    page.OnControlNotify(btn::kMouseButtons, notify_code::kClicked, item);

    const std::string function = Lower(operands[1]);
    const Operands rest(operands.begin() + 2, operands.end());
    const auto choose = [&](int type) {
        controls.types.SetCurData(type);
        page.OnControlNotify(btn::kFunctionTypes, notify_code::kClicked);
    };
    const auto needs = [&](size_t count, const char* shape) {
        if (rest.size() == count) {
            return true;
        }
        Refuse(session, std::string("usage: tavikctl button KEY ") + shape);
        return false;
    };
    std::string what = "button " + std::to_string(keyCode) + " " + function;
    if (function == "default" || function == "disabled") {
        if (!needs(0, function.c_str())) {
            return kExitUsage;
        }
        choose(function == "default" ? kFunctionTypeDefault : kKeyFunctionDisabled);
    } else if (function == "mouse" || function == "media") {
        const bool mouse = function == "mouse";
        if (!needs(1, mouse ? "mouse NAME|VALUE" : "media NAME|VALUE")) {
            return kExitUsage;
        }
        const int value =
            mouse ? ValueOfWord(rest[0], kMouseWords, std::size(kMouseWords), kMouseFunctions)
                  : ValueOfWord(rest[0], kMediaWords, std::size(kMediaWords), kMultimediaFunctions);
        if (value < 0) {
            return Refuse(session, std::string(mouse ? "mouse" : "media") + " takes " +
                                       (mouse ? Names(kMouseWords, std::size(kMouseWords))
                                              : Names(kMediaWords, std::size(kMediaWords))) +
                                       " or a value of the list");
        }
        choose(mouse ? kKeyFunctionMouse : kKeyFunctionMultimedia);
        controls.values.SetCurData(value);
        what += " " + rest[0];
    } else if (function == "key") {
        if (!needs(1, "key COMBO")) {
            return kExitUsage;
        }
        int modifiers = 0;
        int usage = 0;
        std::string token;
        std::string combo = rest[0] + "+";
        for (size_t at = 0; at < combo.size(); ++at) {
            if (combo[at] != '+' || token.empty()) {
                if (combo[at] != '+') {
                    token.push_back(combo[at]);
                }
                continue;
            }
            const std::string word = Lower(token);
            token.clear();
            if (word == "ctrl" || word == "control") {
                modifiers |= kModifierCtrl;
            } else if (word == "shift") {
                modifiers |= kModifierShift;
            } else if (word == "alt") {
                modifiers |= kModifierAlt;
            } else if (word == "win" || word == "windows") {
                modifiers |= kModifierWin;
            } else if (usage == 0 && UsageOfKeyWord(word) != 0) {
                usage = UsageOfKeyWord(word);
            } else {
                return Refuse(session,
                              "COMBO is modifiers (ctrl, shift, alt, win) and one key "
                              "joined by +, such as ctrl+shift+a");
            }
        }
        const int virtualKey = UsageToVirtualKey(usage);
        if (modifiers == 0 && virtualKey == 0) {
            return Refuse(session,
                          "COMBO names no key: use modifiers and one key such as "
                          "ctrl+shift+a");
        }
        choose(kKeyFunctionKeyboard);
        page.OnControlNotify(btn::kKeyField, notify_code::kEditOpened);
        if (virtualKey != 0) {
            page.OnCapturedKey(virtualKey, UsageKeyName(usage));
        }
        page.OnControlNotify(btn::kKeyField, notify_code::kEditClosed);
        controls.Button(btn::kCtrl).SetCheck((modifiers & kModifierCtrl) != 0);
        controls.Button(btn::kShift).SetCheck((modifiers & kModifierShift) != 0);
        controls.Button(btn::kAlt).SetCheck((modifiers & kModifierAlt) != 0);
        controls.Button(btn::kWin).SetCheck((modifiers & kModifierWin) != 0);
        what = "button " + std::to_string(keyCode) + " key " +
               WideToUtf8(KeyboardDescription(
                   modifiers, virtualKey != 0 ? UsageKeyName(usage) : std::wstring()));
    } else if (function == "macro") {
        if (rest.empty() || !(rest.size() == 1 || rest.size() == 3)) {
            return Refuse(session,
                          "usage: tavikctl button KEY macro ID [--mode 1|2|3 | --repeat N]");
        }
        int macro = 0;
        choose(kKeyFunctionMacro);
        ComboControl& list = controls.Combo(btn::kFirstList);
        list.SetCurSel(-1);
        if (ParseInteger(rest[0], macro)) {
            list.SelectData(macro);
        }
        if (list.GetCurSel() < 0 || list.GetCurData() != macro) {
            return Refuse(session, "ID must be the id of a stored macro (tavikctl macro list)");
        }
        for (int radio : {btn::kPlayMode1, btn::kPlayMode2, btn::kPlayMode3, btn::kPlayRepeat}) {
            controls.Button(radio).SetCheck(false);
        }
        controls.Text(btn::kRepeatCount).SetText(L"1");
        if (rest.size() == 3) {
            int number = 0;
            int status = kExitUsage;
            if (rest[1] == "--mode") {
                if (!NumberIn(session, rest[2], 1, 3, "--mode", number, status)) {
                    return status;
                }
                controls.Button(btn::kPlayMode1 + number - 1).SetCheck(true);
            } else if (rest[1] == "--repeat") {
                if (!NumberIn(session, rest[2], 1, 255, "--repeat", number, status)) {
                    return status;
                }
                controls.Button(btn::kPlayRepeat).SetCheck(true);
                controls.Text(btn::kRepeatCount).SetText(std::to_wstring(number));
            } else {
                return Refuse(session, "macro takes --mode 1|2|3 or --repeat N");
            }
        }
        what += " " + rest[0];
    } else if (function == "shortcut") {
        if (!needs(1, "shortcut VALUE")) {
            return kExitUsage;
        }
        int value = 0;
        const int category = ParseInteger(rest[0], value) ? ShortcutCategoryOf(value) : 0;
        if (category == 0) {
            return Refuse(session, "shortcut VALUE must be 1 to 37 except 14");
        }
        choose(kKeyFunctionShortcut);
        controls.Combo(btn::kFirstList).SelectData(category);
        page.OnControlNotify(btn::kFirstList, notify_code::kClicked);
        controls.Combo(btn::kSecondList).SelectData(value);
        what += " " + rest[0];
    } else if (function == "program") {
        if (!needs(1, "program PATH")) {
            return kExitUsage;
        }
        std::error_code error;
        const std::filesystem::path path =
            std::filesystem::absolute(std::filesystem::u8path(rest[0]), error);
        if (error || !std::filesystem::is_regular_file(path, error)) {
            return Refuse(session, "PATH must name an existing program file");
        }
        choose(kKeyFunctionLaunchProgram);
        session.CommandAnswers().file = Utf8ToWide(path.u8string());
        page.OnControlNotify(btn::kChooseProgram, notify_code::kClicked);
        what += " " + Printable(rest[0]);
    } else if (function == "web") {
        if (!needs(1, "web ADDRESS")) {
            return kExitUsage;
        }
        if (rest[0].empty()) {
            return Refuse(session, "ADDRESS must not be empty");
        }
        choose(kKeyFunctionWebAddress);
        controls.Text(btn::kPathEdit).SetText(Utf8ToWide(rest[0]));
        what += " " + Printable(rest[0]);
    } else if (function == "text") {
        if (!needs(1, "text ID")) {
            return kExitUsage;
        }
        int text = 0;
        choose(kKeyFunctionTextSnippet);
        ComboControl& list = controls.Combo(btn::kFirstList);
        list.SetCurSel(-1);
        if (ParseInteger(rest[0], text)) {
            list.SelectData(text);
        }
        if (list.GetCurSel() < 0 || list.GetCurData() != text) {
            return Refuse(session, "ID must be the id of a stored text (tavikctl text list)");
        }
        what += " " + rest[0];
    } else {
        return Refuse(session,
                      "FUNCTION must be default, disabled, mouse, key, media, macro, "
                      "shortcut, program, web or text");
    }
    page.ApplyAssignment();
    if (session.QueuedJobs().empty()) {
        return Refuse(session, "the settings database refused the assignment");
    }
    return SendQueued(session, what);
}

int CommandLight(Session& session, const Operands& operands) {
    if (!session.HasLighting()) {
        return Refuse(session, "this mouse has no lighting");
    }
    session.ShowLightPage();
    LightPage& page = session.Lights();
    HeadlessLightView& controls = session.LightControls();
    SettingsDatabase& store = session.Store();
    const int profile = session.Profile();
    if (operands.empty()) {
        std::vector<LightRecord> lights;
        store.ListLights(profile, lights);
        const int active = store.GetActiveLightMode(profile);
        for (const LightRecord& record : lights) {
            session.Out() << "mode " << record.mode << (record.mode == active ? " (current)" : "")
                          << ": brightness " << record.brightness << ", speed " << record.speed
                          << ", direction " << record.direction << ", colors";
            for (int colour : record.colorValues) {
                session.Out() << ' ' << ColourText(static_cast<unsigned>(colour));
            }
            session.Out() << (record.colorful == 1 ? ", multicolour" : "") << '\n';
        }
        return kExitSuccess;
    }
    // Everything is checked before anything is stored.
    int mode = -1;
    int brightness = 0;
    int speed = 0;
    int direction = -1;
    std::vector<std::pair<int, unsigned>> colours;
    int status = kExitUsage;
    size_t at = 0;
    if (operands[0].compare(0, 2, "--") != 0) {
        if (!NumberIn(session, operands[0], 0, 3, "MODE", mode, status)) {
            return status;
        }
        at = 1;
    }
    for (; at < operands.size(); at += 2) {
        const std::string& option = operands[at];
        if (at + 1 >= operands.size()) {
            return Refuse(session, option + " needs a value");
        }
        const std::string& value = operands[at + 1];
        if (option == "--brightness") {
            if (!NumberIn(session, value, 1, 255, "--brightness", brightness, status)) {
                return status;
            }
        } else if (option == "--speed") {
            if (!NumberIn(session, value, 1, 255, "--speed", speed, status)) {
                return status;
            }
        } else if (option == "--direction") {
            if (!NumberIn(session, value, 0, 255, "--direction", direction, status)) {
                return status;
            }
        } else if (option == "--color") {
            const size_t equals = value.find('=');
            int slot = 0;
            unsigned colour = 0;
            if (equals == std::string::npos || !ParseInteger(value.substr(0, equals), slot) ||
                slot < 1 || slot > 8 || !ParseColour(value.substr(equals + 1), colour)) {
                return Refuse(session, "--color takes N=RRGGBB with N 1 to 8");
            }
            colours.emplace_back(slot, colour);
        } else {
            return Refuse(session,
                          "light takes MODE, --brightness, --speed, --direction and --color");
        }
    }
    if (mode < 0) {
        mode = store.GetActiveLightMode(profile);
    }
    LightRecord record;
    if (!store.GetLight(profile, mode, record)) {
        return Refuse(session, "the current profile has no light mode " + std::to_string(mode));
    }
    if (brightness != 0 && (record.configFunc & kLightShowsBrightness) == 0) {
        return Refuse(session, "mode " + std::to_string(mode) + " has no brightness");
    }
    if (speed != 0 && (record.configFunc & kLightShowsSpeed) == 0) {
        return Refuse(session, "mode " + std::to_string(mode) + " has no speed");
    }
    const bool slots = (record.configFunc & kLightShowsColourSlots) != 0;
    for (const auto& [slot, colour] : colours) {
        if (!slots && (slot != 1 || (record.configFunc & kLightShowsColourEditor) == 0)) {
            return Refuse(session, "mode " + std::to_string(mode) +
                                       (record.configFunc & kLightShowsColourEditor
                                            ? " has one colour: use --color 1=RRGGBB"
                                            : " has no colours"));
        }
    }

    controls.modes.SelectData(mode);
    page.OnControlNotify(light::kModes, notify_code::kClicked);
    if (brightness != 0) {
        controls.Slider(light::kBrightness).SetProgress(brightness);
        page.OnControlNotify(light::kBrightness, notify_code::kClicked);
    }
    if (speed != 0) {
        controls.Slider(light::kSpeed).SetProgress(speed);
        page.OnControlNotify(light::kSpeed, notify_code::kClicked);
    }
    for (const auto& [slot, colour] : colours) {
        if (slots) {
            page.OnControlNotify(light::kFirstSlot + slot - 1, notify_code::kClicked);
        }
        controls.Colour(light::kPalette).SetColor(colour);
        page.OnControlNotify(light::kPalette, notify_code::kPaletteColourPicked);
    }
    if (direction >= 0 && store.GetLight(profile, mode, record)) {
        // The window shows no control for the direction; it is stored and sent as it is.
        record.direction = direction;
        store.UpdateLight(mode, record);
        session.Context().QueueJob(job::kSendLight);
    }
    return SendQueued(session, "light mode " + std::to_string(mode));
}

int CommandProfile(Session& session, const Operands& operands) {
    const std::string& action = operands[0];
    SettingsDatabase& store = session.Store();
    int profile = 0;
    int status = kExitUsage;
    const auto profileNumber = [&](const std::string& text) {
        std::vector<NamedRecord> profiles;
        const int count = store.ListProfiles(profiles);
        const int last = count > 0 ? profiles.back().id : 0;
        return NumberIn(session, text, 1, last, "N", profile, status);
    };
    if (action == "list" && operands.size() == 1) {
        std::vector<NamedRecord> profiles;
        store.ListProfiles(profiles);
        const int current = session.Profile();
        if (session.Opts().json) {
            session.Out() << '[';
        }
        for (size_t at = 0; at < profiles.size(); ++at) {
            const NamedRecord& entry = profiles[at];
            if (session.Opts().json) {
                session.Out() << (at > 0 ? "," : "") << "{\"id\":" << entry.id
                              << ",\"name\":" << JsonString(WideToUtf8(entry.name))
                              << ",\"active\":" << (entry.id == current ? "true" : "false") << '}';
            } else {
                session.Out() << entry.id << ' ' << WideToUtf8(entry.name)
                              << (entry.id == current ? " (current)" : "") << '\n';
            }
        }
        if (session.Opts().json) {
            session.Out() << "]\n";
        }
        return kExitSuccess;
    }
    if (action == "switch" && operands.size() == 2) {
        if (!profileNumber(operands[1])) {
            return status;
        }
        if (!session.Profiles().SwitchProfile(profile)) {
            return Refuse(session, "there is no profile " + operands[1]);
        }
        return SendQueued(session, "profile " + operands[1]);
    }
    if (action == "rename" && operands.size() == 3) {
        if (!profileNumber(operands[1])) {
            return status;
        }
        if (operands[2].empty()) {
            return Refuse(session, "NAME must not be empty");
        }
        if (!session.Profiles().RenameProfile(profile, Utf8ToWide(operands[2]))) {
            return Refuse(session, "cannot rename profile " + operands[1]);
        }
        session.Out() << "profile " << profile << " renamed\n";
        return kExitSuccess;
    }
    if ((action == "import" && operands.size() == 2) ||
        (action == "export" && operands.size() == 3)) {
        return ProfileFileCommand(session, operands);
    }
    return Refuse(session, OneLineUsage("profile"));
}

}  // namespace tavik::tavikctl
