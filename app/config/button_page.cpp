#include "app/config/button_page.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/common/text_encoding.h"
#include "app/config/button_tables.h"
#include "app/config/dialogs.h"
#include "app/config/macro_list.h"
#include "app/config/page_context.h"
#include "app/config/performance_page.h"
#include "app/device/job_queue.h"
#include "app/device/key_macro_image.h"
#include "app/device/key_tables.h"
#include "app/store/settings_database.h"

namespace tavik {

namespace {

namespace id = button_control;

constexpr int kFirstButtonTitle = 750;
constexpr int kFirstButtonMessage = 751;
constexpr int kDefaultTitle = 753;
constexpr int kDefaultMessage = 752;
constexpr int kDisabledText = 139;
constexpr int kBlessingExampleText = 460;
constexpr int kServiceExampleText = 461;
constexpr int kMacroPageTab = 4;
constexpr int kRepeatMinimum = 1;
constexpr int kRepeatMaximum = 255;
// The repeat count a macro assignment gets when the field was left empty.
constexpr const wchar_t* kDefaultRepeatCount = L"10";
// Keys 160 … 165 are the left and right Shift, Ctrl and Alt: they come from the toggles.
constexpr int kFirstModifierKey = 160;
constexpr int kLastModifierKey = 165;

const int kModifierButtons[] = {id::kCtrl, id::kWin, id::kAlt, id::kShift};
const int kPlayModeRadios[] = {id::kPlayMode1, id::kPlayMode2, id::kPlayMode3, id::kPlayRepeat};
const int kMacroControls[] = {id::kPlayMode1,  id::kPlayMode2,   id::kPlayMode3,
                              id::kPlayRepeat, id::kRepeatCount, id::kMacroPageLink};

// The part of a path after its last separator.
std::wstring FileNameOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

}  // namespace

ButtonPage::ButtonPage(PageContext& context, ButtonView& view, Dialogs& dialogs)
    : m_context(context), m_view(view), m_dialogs(dialogs) {}

void ButtonPage::SetButtonDefaults(std::vector<ButtonDefault> defaults) {
    m_defaults = std::move(defaults);
}

void ButtonPage::FillControls() {
    FunctionListControl& types = m_view.FunctionTypes();
    types.ClearList();
    for (const FunctionTypeEntry& entry : kFunctionTypes) {
        types.AddItem(m_context.Text(entry.text), entry.type, entry.icon);
    }
    types.SetSelectItem(0);
    m_view.Text(id::kRepeatCount).SetText(L"1");
}

void ButtonPage::RefreshKeyPage() {
    MouseButtonControl& buttons = m_view.MouseButtons();
    m_keyCode = 1;
    buttons.SetSelectItem(1);
    for (const ButtonDefault& button : m_defaults) {
        buttons.SetItemKeyDesc(button.keyValue, m_context.Text(ReadDecimal(button.funcDesc)));
    }
    std::vector<KeyAssignment> rows;
    m_context.Store().ListKeyAssignments(m_context.CurrentProfile(), 0, rows);
    for (const KeyAssignment& row : rows) {
        buttons.SetItemKeyDesc(row.keyCode, row.description);
    }
    ShowButtonAssignment();
}

void ButtonPage::ShowButtonAssignment() {
    HideKeyField();
    for (int control : kModifierButtons) {
        m_view.Button(control).SetCheck(false);
    }
    KeyAssignment row;
    FunctionListControl& types = m_view.FunctionTypes();
    if (!m_context.Store().GetKeyAssignment(m_context.CurrentProfile(), 0, m_keyCode, row)) {
        types.SetCurData(kKeyFunctionMouse);
        ShowFunctionType(kKeyFunctionMouse);
        m_view.FunctionValues().SetCurData(DefaultMouseFunction(m_keyCode));
        return;
    }
    types.SetCurData(row.functionType);
    ShowFunctionType(row.functionType);
    m_view.MouseButtons().SetItemKeyDesc(m_keyCode, row.description);
    switch (row.functionType) {
        case kKeyFunctionMouse:
        case kKeyFunctionMultimedia:
            m_view.FunctionValues().SetCurData(row.value1);
            break;
        case kKeyFunctionKeyboard:
            m_view.Button(id::kCtrl).SetCheck((row.value2 & kModifierCtrl) != 0);
            m_view.Button(id::kShift).SetCheck((row.value2 & kModifierShift) != 0);
            m_view.Button(id::kAlt).SetCheck((row.value2 & kModifierAlt) != 0);
            m_view.Button(id::kWin).SetCheck((row.value2 & kModifierWin) != 0);
            m_capturedVirtualKey = UsageToVirtualKey(row.value1);
            m_capturedName = UsageKeyName(row.value1);
            m_view.Text(id::kKeyField).SetText(m_capturedName);
            break;
        case kKeyFunctionMacro: {
            m_view.Text(id::kRepeatCount).SetText(kDefaultRepeatCount);
            m_view.Combo(id::kFirstList).SelectData(row.value1);
            const int mode = row.value3 >= 1 && row.value3 <= 3 ? row.value3 : 0;
            if (mode == 0) {
                m_view.Text(id::kRepeatCount).SetText(DecimalText(row.value2));
            }
            for (int at = 0; at < 4; ++at) {
                m_view.Button(kPlayModeRadios[at]).SetCheck(mode == 0 ? at == 3 : at == mode - 1);
            }
            break;
        }
        case kKeyFunctionShortcut: {
            const int category = ShortcutCategoryOf(row.value1);
            if (category > 0) {
                m_view.Combo(id::kFirstList).SelectData(category);
                FillShortcutValues(category);
                m_view.Combo(id::kSecondList).SelectData(row.value1);
            }
            break;
        }
        case kKeyFunctionLaunchProgram:
        case kKeyFunctionWebAddress: {
            std::wstring description;
            std::wstring parameter;
            int type = 0;
            if (m_context.Store().GetKeyExtraData(row.value1, description, parameter, type)) {
                m_view.Text(id::kPathEdit).SetText(description);
                if (row.functionType == kKeyFunctionLaunchProgram) {
                    m_programPath = parameter;
                }
            }
            break;
        }
        case kKeyFunctionTextSnippet:
            m_view.Combo(id::kFirstList).SelectData(row.value1);
            break;
        default:
            break;
    }
}

void ButtonPage::RefreshTextChoices() {
    if (m_view.FunctionTypes().GetCurData() == kKeyFunctionTextSnippet) {
        FillTextList();
    }
}

void ButtonPage::OnControlNotify(int controlId, int code, int wParam) {
    if (controlId == id::kKeyField) {
        if (code == notify_code::kEditOpened) {
            m_capturedVirtualKey = 0;
            m_capturedName.clear();
            m_view.Text(id::kKeyField).SetText(L"");
            m_capturing = true;
            m_view.StartKeyCapture();
        } else if (code == notify_code::kEditClosed) {
            m_capturing = false;
            m_view.StopKeyCapture();
        }
        return;
    }
    if (controlId == id::kRepeatCount) {
        if (code == notify_code::kEditClosed) {
            TextControl& field = m_view.Text(id::kRepeatCount);
            const std::wstring text = field.GetText();
            const std::wstring clamped =
                DecimalText(std::clamp(ReadDecimal(text), kRepeatMinimum, kRepeatMaximum));
            if (clamped != text) {
                field.SetText(clamped);
            }
        }
        return;
    }
    if (code != notify_code::kClicked) {
        return;
    }
    switch (controlId) {
        case id::kMouseButtons:
            OnButtonChosen(wParam);
            break;
        case id::kFunctionTypes:
            OnFunctionTypeChosen();
            break;
        case id::kFirstList:
            OnFirstListChanged();
            break;
        case id::kChooseProgram:
            OnChooseProgram();
            break;
        case id::kApply:
            ApplyAssignment();
            break;
        case id::kReset:
            ResetButton();
            break;
        case id::kMacroPageLink:
            m_view.SelectTab(kMacroPageTab);
            break;
        default:
            break;
    }
}

void ButtonPage::OnCapturedKey(int virtualKey, const std::wstring& name) {
    if (!m_capturing || (virtualKey >= kFirstModifierKey && virtualKey <= kLastModifierKey)) {
        return;
    }
    m_capturedVirtualKey = virtualKey;
    m_capturedName = name;
    m_view.Text(id::kKeyField).SetText(name);
}

void ButtonPage::OnButtonChosen(int index) {
    MouseButtonControl& buttons = m_view.MouseButtons();
    if (index >= buttons.GetItemCount()) {
        return;
    }
    if (index <= 0) {
        // The first button always keeps its function: the user could lose the left click.
        m_dialogs.Message(kFirstButtonTitle, kFirstButtonMessage);
        index = 1;
        buttons.SetSelectItem(index);
    }
    m_keyCode = buttons.GetItemKeyValue(index);
    ShowButtonAssignment();
}

void ButtonPage::OnFunctionTypeChosen() {
    HideKeyField();
    ShowFunctionType(m_view.FunctionTypes().GetCurData());
}

void ButtonPage::OnFirstListChanged() {
    const int type = m_view.FunctionTypes().GetCurData();
    ComboControl& first = m_view.Combo(id::kFirstList);
    ComboControl& second = m_view.Combo(id::kSecondList);
    if (type == kKeyFunctionKeyboard) {
        const int category = first.GetCurData();
        if (category == kKeyFieldCategory) {
            second.SetVisible(false);
            m_view.Text(id::kKeyField).SetVisible(true);
            for (int control : kModifierButtons) {
                m_view.Button(control).SetVisible(true);
            }
            return;
        }
        HideKeyField();
        second.DelAllItems();
        for (const KeyTableEntry& entry : KeyboardKeyTable()) {
            if (entry.category == category) {
                second.AddItem(entry.name, entry.usage);
            }
        }
        second.SetVisible(true);
    } else if (type == kKeyFunctionShortcut) {
        FillShortcutValues(first.GetCurData());
    }
}

void ButtonPage::OnChooseProgram() {
    const std::optional<std::wstring> path = m_dialogs.ChooseFileToOpen(file_filter::Program());
    if (!path || path->empty()) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::u8path(WideToUtf8(*path)), error)) {
        return;
    }
    m_programPath = *path;
    m_view.Text(id::kPathEdit).SetText(FileNameOf(*path));
}

void ButtonPage::ApplyAssignment() {
    const int type = m_view.FunctionTypes().GetCurData();
    KeyAssignment record;
    if (!BuildAssignment(type, record)) {
        return;
    }
    record.profile = m_context.CurrentProfile();
    record.layer = 0;
    record.keyCode = m_keyCode;
    if (m_context.Store().SaveKeyAssignment(record) != 0) {
        if (record.functionType == kKeyFunctionKeyboard) {
            m_view.MouseButtons().SetItemKeyDesc(m_keyCode, record.description);
        } else {
            ShowButtonAssignment();
        }
    }
    m_context.QueueJob(job::kSendKeyTable);
}

void ButtonPage::ResetButton() {
    m_view.MouseButtons().SetItemKeyDesc(m_keyCode, DefaultDescription(m_keyCode));
    KeyAssignment cleared;
    cleared.profile = m_context.CurrentProfile();
    cleared.keyCode = m_keyCode;
    m_context.Store().SaveKeyAssignment(cleared);
}

bool ButtonPage::BuildAssignment(int type, KeyAssignment& record) {
    ComboControl& first = m_view.Combo(id::kFirstList);
    ComboControl& second = m_view.Combo(id::kSecondList);
    switch (type) {
        case kFunctionTypeDefault: {
            if (m_dialogs.Confirm(kDefaultTitle, kDefaultMessage, kMessageStyleTwoAnswers) ==
                kAnswerDeclined) {
                return false;
            }
            const ButtonDefault* entry = DefaultOf(m_keyCode);
            record.functionType = kKeyFunctionMouse;
            record.value1 = entry != nullptr ? entry->funcValue : DefaultMouseFunction(m_keyCode);
            record.description = DefaultDescription(m_keyCode);
            m_view.MouseButtons().SetItemKeyDesc(m_keyCode, record.description);
            return true;
        }
        case kKeyFunctionMouse:
        case kKeyFunctionMultimedia: {
            FunctionListControl& values = m_view.FunctionValues();
            const int item = values.GetSelectItem();
            if (item < 0) {
                return false;
            }
            record.functionType = type;
            record.value1 = values.GetCurData();
            record.description = values.GetItemText(item);
            return true;
        }
        case kKeyFunctionKeyboard: {
            record.functionType = type;
            if (first.GetCurData() == kKeyFieldCategory) {
                const int modifiers = (m_view.Button(id::kCtrl).GetCheck() ? kModifierCtrl : 0) |
                                      (m_view.Button(id::kShift).GetCheck() ? kModifierShift : 0) |
                                      (m_view.Button(id::kAlt).GetCheck() ? kModifierAlt : 0) |
                                      (m_view.Button(id::kWin).GetCheck() ? kModifierWin : 0);
                record.value1 =
                    m_capturedVirtualKey != 0 ? VirtualKeyToUsage(m_capturedVirtualKey) : 0;
                record.value2 = modifiers;
                const std::wstring keyName = record.value1 != 0 ? m_capturedName : std::wstring();
                record.description = KeyboardDescription(modifiers, keyName);
                // Neither key nor modifier: applying would silently reset the button.
                return record.value1 != 0 || record.value2 != 0;
            }
            if (second.GetCurSel() < 0) {
                return false;
            }
            record.value1 = second.GetCurData();
            record.description = second.GetItemText(second.GetCurSel());
            return true;
        }
        case kKeyFunctionMacro: {
            if (first.GetCurSel() < 0 || first.GetCurData() <= 0) {
                return false;
            }
            record.functionType = type;
            record.value1 = first.GetCurData();
            record.description = first.GetItemText(first.GetCurSel());
            record.value2 = 1;
            record.value3 = 0;
            for (int at = 0; at < 3; ++at) {
                if (m_view.Button(kPlayModeRadios[at]).GetCheck()) {
                    record.value3 = at + 1;
                }
            }
            if (record.value3 == 0 && m_view.Button(id::kPlayRepeat).GetCheck()) {
                TextControl& count = m_view.Text(id::kRepeatCount);
                if (count.GetText().empty()) {
                    count.SetText(kDefaultRepeatCount);
                }
                record.value2 =
                    std::clamp(ReadDecimal(count.GetText()), kRepeatMinimum, kRepeatMaximum);
            }
            return true;
        }
        case kKeyFunctionShortcut:
            if (second.GetCurSel() < 0) {
                return false;
            }
            record.functionType = type;
            record.value1 = second.GetCurData();
            record.description = second.GetItemText(second.GetCurSel());
            return true;
        case kKeyFunctionDisabled:
            record.functionType = type;
            record.value1 = 1;
            record.description = m_context.Text(kDisabledText);
            return true;
        case kKeyFunctionLaunchProgram:
        case kKeyFunctionWebAddress: {
            record.functionType = type;
            record.description = m_view.Text(id::kPathEdit).GetText();
            const bool program = type == kKeyFunctionLaunchProgram;
            // A program needs the path the file dialog gave; an address is the text itself.
            if (record.description.empty() || (program && m_programPath.empty())) {
                return false;
            }
            record.value1 = m_context.Store().AddKeyExtraData(
                record.description, program ? m_programPath : std::wstring(), type);
            return record.value1 != 0;
        }
        case kKeyFunctionTextSnippet:
            if (first.GetCurSel() < 0 || first.GetCurData() <= 0) {
                return false;
            }
            record.functionType = type;
            record.value1 = first.GetCurData();
            record.description = first.GetItemText(first.GetCurSel());
            return true;
        default:
            return false;
    }
}

void ButtonPage::ShowFunctionType(int type) {
    for (const FunctionTypeEntry& entry : kFunctionTypes) {
        if (entry.type == type) {
            m_view.Text(id::kTypeLabel).SetText(m_context.Text(entry.text));
        }
    }
    const bool values = type == kKeyFunctionMouse || type == kKeyFunctionMultimedia;
    const bool firstList = type == kKeyFunctionKeyboard || type == kKeyFunctionMacro ||
                           type == kKeyFunctionShortcut || type == kKeyFunctionTextSnippet;
    const bool edit = type == kKeyFunctionLaunchProgram || type == kKeyFunctionWebAddress;
    m_view.FunctionValues().SetVisible(values);
    m_view.Combo(id::kFirstList).SetVisible(firstList);
    m_view.Combo(id::kSecondList).SetVisible(type == kKeyFunctionShortcut);
    m_view.Text(id::kPathEdit).SetVisible(edit);
    m_view.Button(id::kChooseProgram).SetVisible(type == kKeyFunctionLaunchProgram);
    for (int control : kMacroControls) {
        if (control == id::kRepeatCount) {
            m_view.Text(control).SetVisible(type == kKeyFunctionMacro);
        } else {
            m_view.Button(control).SetVisible(type == kKeyFunctionMacro);
        }
    }
    if (edit) {
        m_view.Text(id::kPathEdit).SetText(L"");
    }

    ComboControl& first = m_view.Combo(id::kFirstList);
    switch (type) {
        case kKeyFunctionMouse:
        case kKeyFunctionMultimedia: {
            FunctionListControl& list = m_view.FunctionValues();
            list.ClearList();
            for (const ValueText& entry :
                 type == kKeyFunctionMouse ? kMouseFunctions : kMultimediaFunctions) {
                list.AddItem(m_context.Text(entry.text), entry.value, L"");
            }
            list.SetSelectItem(0);
            break;
        }
        case kKeyFunctionKeyboard:
            first.DelAllItems();
            for (int category = 1; category <= kKeyboardCategoryCount; ++category) {
                first.AddItem(m_context.Text(kKeyboardCategoryFirstText + category - 1), category);
            }
            first.SetCurSel(0);
            m_view.Text(id::kKeyField).SetVisible(true);
            for (int control : kModifierButtons) {
                m_view.Button(control).SetVisible(true);
            }
            break;
        case kKeyFunctionMacro:
            FillMacroList();
            break;
        case kKeyFunctionShortcut:
            first.DelAllItems();
            for (int category = 1; category <= kShortcutCategoryCount; ++category) {
                first.AddItem(m_context.Text(kShortcutCategoryFirstText + category - 1), category);
            }
            first.SetCurSel(0);
            FillShortcutValues(1);
            break;
        case kKeyFunctionTextSnippet:
            FillTextList();
            break;
        default:
            break;
    }
}

void ButtonPage::HideKeyField() {
    m_view.Text(id::kKeyField).SetVisible(false);
    for (int control : kModifierButtons) {
        m_view.Button(control).SetVisible(false);
    }
}

void ButtonPage::FillMacroList() {
    ComboControl& list = m_view.Combo(id::kFirstList);
    list.DelAllItems();
    std::vector<MacroRecord> macros;
    m_context.Store().ListMacros(macros);
    for (const MacroRecord& macro : macros) {
        const std::wstring shown = DisplayedMacroName(macro.name, m_context);
        list.AddItem(shown, macro.macroId);
    }
    list.SetCurSel(0);
}

void ButtonPage::FillTextList() {
    ComboControl& list = m_view.Combo(id::kFirstList);
    list.DelAllItems();
    std::vector<NamedRecord> texts;
    m_context.Store().ListTexts(texts);
    for (const NamedRecord& text : texts) {
        std::wstring shown = text.name;
        if (text.name == L"1 实例 - 祝福" || text.name == L"Example 1 - Blessing") {
            shown = m_context.Text(kBlessingExampleText);
        } else if (text.name == L"1 实例 - 客服" || text.name == L"Example 1 - Customer Service") {
            shown = m_context.Text(kServiceExampleText);
        }
        list.AddItem(shown, text.id);
    }
    list.SetCurSel(0);
}

void ButtonPage::FillShortcutValues(int category) {
    ComboControl& second = m_view.Combo(id::kSecondList);
    second.DelAllItems();
    for (const ValueText& entry : ShortcutsOfCategory(category)) {
        second.AddItem(m_context.Text(entry.text), entry.value);
    }
    second.SetCurSel(0);
}

const ButtonDefault* ButtonPage::DefaultOf(int keyCode) const {
    for (const ButtonDefault& entry : m_defaults) {
        if (entry.keyValue == keyCode) {
            return &entry;
        }
    }
    return nullptr;
}

std::wstring ButtonPage::DefaultDescription(int keyCode) const {
    const ButtonDefault* entry = DefaultOf(keyCode);
    if (entry != nullptr) {
        return m_context.Text(ReadDecimal(entry->funcDesc));
    }
    const int value = DefaultMouseFunction(keyCode);
    for (const ValueText& function : kMouseFunctions) {
        if (function.value == value) {
            return m_context.Text(function.text);
        }
    }
    return std::wstring();
}

}  // namespace tavik
