#include "app/config/macro_page.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/config/dialogs.h"
#include "app/config/macro_events.h"
#include "app/config/macro_file.h"
#include "app/config/macro_list.h"
#include "app/config/page_context.h"
#include "app/device/clock.h"
#include "app/device/job_queue.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

namespace id = macro_control;

constexpr wchar_t kRecordIcon[] = L"icon\\icon_rec.png";
constexpr wchar_t kStopRecordIcon[] = L"icon\\icon_stop_rec.png";
constexpr wchar_t kDefaultDelayText[] = L"10";

// The insert section's mouse buttons by their list data.
const wchar_t* MouseButtonName(int button) {
    switch (button) {
        case 1:
            return L"LB";
        case 2:
            return L"RB";
        case 4:
            return L"MB";
        case 8:
            return L"Backward";
        case 16:
            return L"Forward";
        default:
            return nullptr;
    }
}

int ClampNumber(int value, int low, int high) {
    return std::min(std::max(value, low), high);
}

}  // namespace

MacroPage::MacroPage(PageContext& context, MacroView& view, Dialogs& dialogs, Clock& clock,
                     std::function<void()> refreshButtonPageMacroChoices,
                     std::function<void()> refreshTextPage)
    : m_context(context),
      m_view(view),
      m_dialogs(dialogs),
      m_clock(clock),
      m_refreshButtonPageMacroChoices(std::move(refreshButtonPageMacroChoices)),
      m_refreshTextPage(std::move(refreshTextPage)) {}

int MacroPage::SelectedMacro() {
    NameListControl& list = m_view.MacroList();
    const int selected = list.GetCurSel();
    return selected < 0 ? 0 : list.GetItemData(selected);
}

void MacroPage::RefreshButtonPageMacroChoices() {
    if (m_refreshButtonPageMacroChoices) {
        m_refreshButtonPageMacroChoices();
    }
}

void MacroPage::ShowCounter() {
    m_view.SetEventCounter(std::to_wstring(m_view.EventList().GetItemCount()) + L"/" +
                           std::to_wstring(kMacroEventLimit));
}

void MacroPage::RefreshMacroPage() {
    if (m_recording) {
        StopRecording();
    }
    NameListControl& list = m_view.MacroList();
    list.DeleteAllItems();
    std::vector<MacroRecord> macros;
    m_context.Store().ListMacros(macros);
    for (const MacroRecord& macro : macros) {
        list.InsertString(-1, DisplayedMacroName(macro.name, m_context), macro.macroId);
    }
    list.SetCurSel(0);
    ShowSelectedMacro();
    if (m_refreshTextPage) {
        m_refreshTextPage();
    }
}

void MacroPage::ShowSelectedMacro() {
    const int macroId = SelectedMacro();
    if (macroId > 0) {
        ShowMacro(macroId);
    } else {
        m_view.EventList().DeleteAllItems();
        ShowCounter();
    }
}

void MacroPage::CheckDelayRadio(int radioId) {
    for (int radio : {id::kNoDelay, id::kMeasuredDelay, id::kFixedDelay}) {
        m_view.Button(radio).SetCheck(radio == radioId);
    }
}

void MacroPage::CheckInsertRadio(int radioId) {
    for (int radio : {id::kInsertKey, id::kInsertMouseButton, id::kInsertOther, id::kInsertDelay}) {
        m_view.Button(radio).SetCheck(radio == radioId);
    }
}

void MacroPage::ShowMacro(int macroId) {
    m_view.Text(id::kFixedDelayField).SetEnabled(false);
    MacroRecord macro;
    if (m_context.Store().GetMacro(macroId, macro)) {
        if (macro.delayType == 0) {
            CheckDelayRadio(id::kNoDelay);
        } else if (macro.delayType == 1) {
            CheckDelayRadio(id::kMeasuredDelay);
        } else if (macro.delayType == 2) {
            CheckDelayRadio(id::kFixedDelay);
            m_view.Text(id::kFixedDelayField).SetEnabled(true);
            m_view.Text(id::kFixedDelayField).SetText(DecimalText(macro.delayTime));
        }
    }
    RecordListControl& events = m_view.EventList();
    events.DeleteAllItems();
    std::vector<MacroEvent> stored;
    m_context.Store().ListMacroEvents(macroId, stored);
    for (const MacroEvent& event : stored) {
        events.AddString({event.description, event.type, event.value, event.delayTime});
    }
    ShowCounter();
}

int MacroPage::CheckedDelayMode() {
    if (m_view.Button(id::kFixedDelay).GetCheck()) {
        return 2;
    }
    return m_view.Button(id::kNoDelay).GetCheck() ? 0 : 1;
}

int MacroPage::FixedDelay() {
    const std::wstring text = m_view.Text(id::kFixedDelayField).GetText();
    return ClampNumber(ReadDecimal(text.empty() ? kDefaultDelayText : text), kMinFixedDelay,
                       kMaxFixedDelay);
}

void MacroPage::SaveCurrentMacro() {
    const int macroId = SelectedMacro();
    if (macroId <= 0) {
        return;
    }
    SettingsDatabase& store = m_context.Store();
    const int delayMode = CheckedDelayMode();
    const int delayTime = delayMode == 2 ? FixedDelay() : kDefaultEventDelay;
    std::vector<MacroEvent> events;
    const std::vector<RecordRow> rows = m_view.EventList().GetRecordItems();
    for (size_t index = 0; index < rows.size(); ++index) {
        MacroEvent event;
        event.macroId = macroId;
        event.type = rows[index].type;
        event.recordIndex = static_cast<int>(index);
        event.value = rows[index].key;
        event.delayTime = rows[index].value;
        event.description = rows[index].text;
        events.push_back(std::move(event));
    }
    // Header and events change together: a failure keeps the macro as it was.
    store.RunInTransaction([&] {
        MacroRecord macro;
        if (!store.GetMacro(macroId, macro)) {
            return false;
        }
        macro.delayType = delayMode;
        macro.delayTime = delayTime;
        return store.UpdateMacro(macro) && store.DeleteMacroEvents(macroId) &&
               store.AddMacroEvents(events) == static_cast<int>(events.size());
    });
    m_context.QueueJob(job::kSendMacros);
}

void MacroPage::OnMacroSelected() {
    const int macroId = SelectedMacro();
    if (macroId > 0) {
        ShowMacro(macroId);
    }
}

void MacroPage::OnMacroEditImage() {
    m_view.ShowMacroMenu();
}

void MacroPage::OnMacroRenamed() {
    NameListControl& list = m_view.MacroList();
    const int selected = list.GetCurSel();
    if (selected < 0) {
        return;
    }
    const int macroId = list.GetItemData(selected);
    const std::wstring name = list.GetItemText(selected);
    if (name.empty()) {
        MacroRecord macro;
        m_context.Store().GetMacro(macroId, macro);
        list.ModifyItemString(selected, macro.name);
        return;
    }
    RenameMacro(m_context, macroId, name);
    RefreshButtonPageMacroChoices();
}

void MacroPage::OnMacroMenu(int command) {
    NameListControl& list = m_view.MacroList();
    const int selected = list.GetCurSel();
    const int macroId = SelectedMacro();
    if (macroId <= 0) {
        return;
    }
    if (command == kMacroMenuCopy) {
        std::wstring name;
        const int copyId = CopyMacro(m_context, macroId, &name);
        if (copyId > 0) {
            list.InsertString(-1, DisplayedMacroName(name, m_context), copyId);
        }
        RefreshButtonPageMacroChoices();
    } else if (command == kMacroMenuDelete) {
        if (DeleteMacro(m_context, macroId)) {
            list.DeleteItem(selected);
            list.SetCurSel(selected - 1);
            // The macro now selected is shown, so that an edit of the event list can never
            // save an empty list over it.
            ShowSelectedMacro();
        }
        RefreshButtonPageMacroChoices();
        ShowCounter();
    }
}

void MacroPage::OnNewMacro() {
    NameListControl& list = m_view.MacroList();
    std::vector<std::wstring> shown;
    for (int index = 0; index < list.GetItemCount(); ++index) {
        shown.push_back(list.GetItemText(index));
    }
    const std::wstring name = NewMacroName(m_context, shown);
    const int macroId = m_context.Store().AddMacro(name);
    if (macroId > 0) {
        list.SetCurSel(list.InsertString(-1, name, macroId));
        ShowMacro(macroId);
    }
    RefreshButtonPageMacroChoices();
}

bool MacroPage::ImportMacro() {
    const std::optional<std::wstring> path = m_dialogs.ChooseFileToOpen(file_filter::MacroImport());
    if (!path) {
        return false;
    }
    const MacroImport import = ImportMacroFile(m_context.Store(), *path);
    if (import.result != FileResult::kDone) {
        m_dialogs.Message(kFileImportTitleText, kFileNotImportedText);
        // A file that is not there was never chosen, as far as the caller is concerned.
        std::error_code error;
        return std::filesystem::exists(std::filesystem::path(*path), error);
    }
    NameListControl& list = m_view.MacroList();
    list.SetCurSel(
        list.InsertString(-1, DisplayedMacroName(import.name, m_context), import.macroId));
    ShowMacro(import.macroId);
    RefreshButtonPageMacroChoices();
    return true;
}

bool MacroPage::ExportMacro() {
    NameListControl& list = m_view.MacroList();
    const int selected = list.GetCurSel();
    if (selected < 0) {
        return false;
    }
    const std::optional<std::wstring> path = m_dialogs.ChooseFileToSave(file_filter::MacroExport());
    if (!path) {
        return false;
    }
    if (ExportMacroFile(m_context.Store(), list.GetItemData(selected), list.GetItemText(selected),
                        *path) != FileResult::kDone) {
        m_dialogs.Message(kFileExportTitleText, kFileNotSavedText);
    }
    return true;
}

void MacroPage::OnEventEdited() {
    SaveCurrentMacro();
}

void MacroPage::OnDeleteEvent() {
    RecordListControl& events = m_view.EventList();
    const int selected = events.GetCurSel();
    if (selected < 0) {
        return;
    }
    events.DeleteItem(selected);
    SaveCurrentMacro();
    ShowCounter();
}

void MacroPage::OnDeleteAllEvents() {
    m_view.EventList().DeleteAllItems();
    SaveCurrentMacro();
    ShowCounter();
}

void MacroPage::StopRecording() {
    m_view.StopCapture();
    m_recording = false;
    m_view.SetRecordButton(kRecordText, kRecordIcon);
    m_view.EnablePageControls(true);
    SaveCurrentMacro();
}

void MacroPage::OnRecord() {
    if (m_recording) {
        StopRecording();
        return;
    }
    if (SelectedMacro() <= 0) {
        m_dialogs.Message(kRecordText, kSelectMacroFirstText);
        return;
    }
    if (m_view.EventList().GetItemCount() >= kMacroEventLimit) {
        m_view.StopCapture();
        m_view.SetRecordButton(kRecordText, kRecordIcon);
        m_view.EnablePageControls(true);
        m_dialogs.Message(kMacroRecordingTitleText, kEventLimitText);
        return;
    }
    m_recordingDelayMode = CheckedDelayMode();
    m_recordingFixedDelay = FixedDelay();
    m_previousEventTime.reset();
    m_recording = true;
    m_view.StartCapture(capture_mode::kMacroRecording);
    m_view.SetRecordButton(kStopRecordText, kStopRecordIcon);
    m_view.EnablePageControls(false);
}

void MacroPage::OnCapturedInput(int captureMode, const CapturedInput& input) {
    if (captureMode == capture_mode::kMacroRecording && m_recording) {
        Record(input);
    } else if (captureMode == capture_mode::kMacroKeyField &&
               input.kind == CapturedInput::kKeyboard && !input.name.empty()) {
        m_capturedKey = input.code;
        m_capturedKeyName = input.name;
        m_view.Text(id::kKeyField).SetText(input.name);
    }
}

void MacroPage::Record(const CapturedInput& input) {
    if ((input.kind != CapturedInput::kMouse && input.kind != CapturedInput::kKeyboard) ||
        input.name.empty()) {
        return;
    }
    int delay = 0;
    if (m_recordingDelayMode == 1) {
        const uint64_t now = m_clock.NowMs();
        if (m_previousEventTime) {
            delay =
                static_cast<int>(std::min<uint64_t>(now - *m_previousEventTime, kMaxMeasuredDelay));
        }
        m_previousEventTime = now;
    } else if (m_recordingDelayMode == 2) {
        delay = m_recordingFixedDelay;
    }
    int type = 0;
    if (input.kind == CapturedInput::kMouse) {
        // The click that stops the recording is not part of it.
        if (m_view.CursorOnRecordButton()) {
            return;
        }
        switch (input.action) {
            case CapturedInput::kDown:
                type = macro_event::kButtonDown;
                break;
            case CapturedInput::kUp:
                type = macro_event::kButtonUp;
                break;
            case CapturedInput::kWheelUp:
                type = macro_event::kWheelUp;
                break;
            case CapturedInput::kWheelDown:
                type = macro_event::kWheelDown;
                break;
            default:
                return;
        }
    } else {
        type = input.action == CapturedInput::kDown ? macro_event::kKeyDown : macro_event::kKeyUp;
    }
    RecordListControl& events = m_view.EventList();
    const int count = events.GetItemCount();
    // An empty list has no last event whose delay could be set.
    if (delay != 0 && count > 0) {
        events.UpdateDelayTime(delay);
    }
    if (count >= kMacroEventLimit) {
        StopRecording();
        ShowCounter();
        return;
    }
    std::wstring description;
    if (type == macro_event::kWheelUp || type == macro_event::kWheelDown) {
        description = input.name;
    } else if (type == macro_event::kKeyDown || type == macro_event::kButtonDown) {
        description = DownEventDescription(input.name);
    } else {
        description = UpEventDescription(input.name);
    }
    events.AddString({description, type, input.code, kDefaultEventDelay});
    if (events.GetItemCount() >= kMacroEventLimit) {
        StopRecording();
    }
    ShowCounter();
}

void MacroPage::OnDelayMode(int radioId) {
    CheckDelayRadio(radioId);
    TextControl& field = m_view.Text(id::kFixedDelayField);
    if (radioId == id::kFixedDelay) {
        field.SetText(kDefaultDelayText);
        field.SetEnabled(true);
    } else {
        field.SetEnabled(false);
    }
}

void MacroPage::OnFixedDelayChanged() {
    TextControl& field = m_view.Text(id::kFixedDelayField);
    const std::wstring text = field.GetText();
    const int typed = ReadDecimal(text);
    const int clamped = ClampNumber(typed, kMinFixedDelay, kMaxFixedDelay);
    if (DecimalText(clamped) != text) {
        field.SetText(DecimalText(clamped));
        m_view.SetFixedDelayTip(DecimalText(clamped));
        if (clamped != typed) {
            m_dialogs.Message(kFixedDelayTitleText, kFixedDelayRangeText);
        }
    }
}

void MacroPage::OnInsertKind(int radioId) {
    CheckInsertRadio(radioId);
    TextControl& keyField = m_view.Text(id::kKeyField);
    TextControl& delayField = m_view.Text(id::kDelayField);
    ComboControl& buttons = m_view.Combo(id::kMouseButtonList);
    switch (radioId) {
        case id::kInsertKey:
            keyField.SetText(std::wstring());
            m_capturedKey = 0;
            m_capturedKeyName.clear();
            keyField.SetVisible(true);
            buttons.SetVisible(false);
            delayField.SetVisible(false);
            break;
        case id::kInsertMouseButton:
            buttons.SetCurSel(0);
            buttons.SetVisible(true);
            keyField.SetVisible(false);
            delayField.SetVisible(false);
            break;
        case id::kInsertDelay:
            delayField.SetText(kDefaultDelayText);
            delayField.SetVisible(true);
            keyField.SetVisible(false);
            buttons.SetVisible(false);
            break;
        default:
            break;
    }
}

void MacroPage::OnKeyFieldOpened() {
    if (!m_view.Button(id::kInsertKey).GetCheck()) {
        return;
    }
    m_capturedKey = 0;
    m_capturedKeyName.clear();
    m_view.StartCapture(capture_mode::kMacroKeyField);
}

void MacroPage::OnKeyFieldClosed() {
    if (m_view.Button(id::kInsertKey).GetCheck()) {
        m_view.StopCapture();
    }
}

void MacroPage::OnDelayFieldChanged() {
    if (m_view.Button(id::kInsertKey).GetCheck()) {
        return;
    }
    TextControl& field = m_view.Text(id::kDelayField);
    const std::wstring text = field.GetText();
    const int clamped = ClampNumber(ReadDecimal(text), kMinInsertDelay, kMaxFixedDelay);
    if (DecimalText(clamped) != text) {
        field.SetText(DecimalText(clamped));
    }
}

void MacroPage::OnInsert() {
    RecordListControl& events = m_view.EventList();
    const int count = events.GetItemCount();
    // A key or button is inserted as a pair, which must fit within the limit.
    if (count + 2 > kMacroEventLimit) {
        m_dialogs.Message(kMacroRecordingTitleText, kEventLimitText);
        return;
    }
    if (count == 0) {
        m_dialogs.Message(kMacroRecordingTitleText, kNoEventsText);
        return;
    }
    RecordRow down;
    RecordRow up;
    if (m_view.Button(id::kInsertKey).GetCheck()) {
        if (m_capturedKey == 0) {
            m_dialogs.Message(kMacroRecordingTitleText, kNoKeyToInsertText);
            return;
        }
        down = {DownEventDescription(m_capturedKeyName), macro_event::kKeyDown, m_capturedKey,
                kDefaultEventDelay};
        up = {UpEventDescription(m_capturedKeyName), macro_event::kKeyUp, m_capturedKey,
              kDefaultEventDelay};
    } else if (m_view.Button(id::kInsertMouseButton).GetCheck()) {
        const int button = m_view.Combo(id::kMouseButtonList).GetCurData();
        const wchar_t* name = MouseButtonName(button);
        if (name == nullptr) {
            return;
        }
        down = {DownEventDescription(name), macro_event::kButtonDown, button, kDefaultEventDelay};
        up = {UpEventDescription(name), macro_event::kButtonUp, button, kDefaultEventDelay};
    } else {
        return;
    }
    const int selected = events.GetCurSel();
    if (selected < 0) {
        events.AddString(down);
        events.AddString(up);
    } else {
        const bool before = m_view.Combo(id::kInsertPosition).GetCurSel() == 0;
        const int at = before ? selected : selected + 1;
        if (at >= events.GetItemCount()) {
            events.AddString(down);
            events.AddString(up);
        } else {
            events.InsertString(at, up);
            events.InsertString(at, down);
        }
    }
    SaveCurrentMacro();
    ShowCounter();
}

}  // namespace tavik
