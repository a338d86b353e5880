#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/config/control_views.h"
#include "app/config/list_views.h"
#include "app/config/raw_input_capture.h"

namespace tavik {

class Clock;
class Dialogs;
class PageContext;

// Control ids of the macro page.
namespace macro_control {
constexpr int kMacroList = 119;
constexpr int kNewMacro = 120;
constexpr int kImport = 121;
constexpr int kExport = 122;
constexpr int kEventList = 131;
constexpr int kDeleteEvent = 133;
constexpr int kDeleteAllEvents = 134;
constexpr int kRecord = 138;
constexpr int kNoDelay = 140;
constexpr int kMeasuredDelay = 141;
constexpr int kFixedDelay = 142;
constexpr int kFixedDelayField = 144;
constexpr int kInsertPosition = 147;
constexpr int kInsertKey = 148;
constexpr int kInsertMouseButton = 149;
constexpr int kInsertOther = 150;
constexpr int kInsertDelay = 151;
constexpr int kKeyField = 152;
constexpr int kDelayField = 153;
constexpr int kMouseButtonList = 154;
constexpr int kInsert = 155;
}  // namespace macro_control

// The commands of the macro list's menu (message 1709).
constexpr int kMacroMenuCopy = 101;
constexpr int kMacroMenuDelete = 102;

// Texts of the page: the record button, the messages it shows, and the failures of the
// macro files.
constexpr int kRecordText = 358;
constexpr int kStopRecordText = 359;
constexpr int kSelectMacroFirstText = 387;
constexpr int kFileImportTitleText = 840;
constexpr int kFileNotImportedText = 841;
constexpr int kFileExportTitleText = 842;
constexpr int kFileNotSavedText = 843;
constexpr int kMacroRecordingTitleText = 844;
constexpr int kEventLimitText = 845;
constexpr int kNoEventsText = 846;
constexpr int kNoKeyToInsertText = 847;
constexpr int kFixedDelayTitleText = 848;
constexpr int kFixedDelayRangeText = 849;

// The delay that recording measures between two events stops at this.
constexpr int kMaxMeasuredDelay = 31000;
// Ranges of the fixed delay (144) and the insert section's delay field (153).
constexpr int kMinFixedDelay = 10;
constexpr int kMaxFixedDelay = 10000;
constexpr int kMinInsertDelay = 1;

// The controls of the macro page.
class MacroView {
public:
    virtual ~MacroView() = default;
    virtual NameListControl& MacroList() = 0;          // 119
    virtual RecordListControl& EventList() = 0;        // 131
    virtual ButtonControl& Button(int controlId) = 0;  // 140 … 142, 148 … 151
    virtual TextControl& Text(int controlId) = 0;      // 144, 152, 153
    virtual ComboControl& Combo(int controlId) = 0;    // 147, 154
    // The label beside the event list ("12/200").
    virtual void SetEventCounter(const std::wstring& text) = 0;
    // The record button's text (a language text) and icon file.
    virtual void SetRecordButton(int textNumber, const std::wstring& iconFile) = 0;
    // The tooltip of the fixed-delay field.
    virtual void SetFixedDelayTip(const std::wstring& text) = 0;
    // Enables or disables every control of the page but the record button, and the tabs.
    virtual void EnablePageControls(bool enabled) = 0;
    // Whether the cursor is on the record button now.
    virtual bool CursorOnRecordButton() = 0;
    // Opens the macro list's menu (copy, delete) at the cursor.
    virtual void ShowMacroMenu() = 0;
    // Starts a new raw input capture in the given mode (deleting any previous one), or ends
    // it; while it runs the window hands its records to MacroPage::OnCapturedInput.
    virtual void StartCapture(int mode) = 0;
    virtual void StopCapture() = 0;
};

// The macro page: the macro list shared by all profiles, the events of the selected macro,
// recording from the keyboard and mouse, and the macro files. Every change of the events is
// stored at once and sent with the macro image (job 6).
class MacroPage {
public:
    // refreshButtonPageMacroChoices refills the button page's macro list after a change;
    // refreshTextPage runs at the end of every refresh of this page.
    MacroPage(PageContext& context, MacroView& view, Dialogs& dialogs, Clock& clock,
              std::function<void()> refreshButtonPageMacroChoices,
              std::function<void()> refreshTextPage);

    void RefreshMacroPage();
    void ShowMacro(int macroId);
    void SaveCurrentMacro();

    void OnMacroSelected();          // 119, code 2
    void OnMacroEditImage();         // 119, code 9
    void OnMacroRenamed();           // 119, code 29
    void OnMacroMenu(int command);   // message 1709
    void OnNewMacro();               // 120
    bool ImportMacro();              // 121
    bool ExportMacro();              // 122
    void OnEventEdited();            // 131, code 29
    void OnDeleteEvent();            // 133
    void OnDeleteAllEvents();        // 134
    void OnRecord();                 // 138
    void OnDelayMode(int radioId);   // 140, 141, 142
    void OnFixedDelayChanged();      // 144, code 29
    void OnInsertKind(int radioId);  // 148 … 151
    void OnKeyFieldOpened();         // 152, code 30
    void OnKeyFieldClosed();         // 152, code 29
    void OnDelayFieldChanged();      // 153, code 29
    void OnInsert();                 // 155
    // A record of the capture while the page's capture mode (1 or 12) is active.
    void OnCapturedInput(int captureMode, const CapturedInput& input);

    bool IsRecording() const { return m_recording; }

private:
    int SelectedMacro();
    int CheckedDelayMode();
    int FixedDelay();
    void CheckDelayRadio(int radioId);
    void CheckInsertRadio(int radioId);
    void ShowCounter();
    void StopRecording();
    void Record(const CapturedInput& input);
    void ShowSelectedMacro();
    void RefreshButtonPageMacroChoices();

    PageContext& m_context;  // not owned
    MacroView& m_view;       // not owned
    Dialogs& m_dialogs;      // not owned
    Clock& m_clock;          // not owned
    std::function<void()> m_refreshButtonPageMacroChoices;
    std::function<void()> m_refreshTextPage;

    bool m_recording = false;
    int m_recordingDelayMode = 0;
    int m_recordingFixedDelay = kMinFixedDelay;
    std::optional<uint64_t> m_previousEventTime;  // mode 1: when the last event came
    int m_capturedKey = 0;                        // the insert section's key
    std::wstring m_capturedKeyName;
};

}  // namespace tavik
