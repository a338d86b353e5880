#pragma once

#include <string>
#include <vector>

#include "app/config/control_views.h"
#include "app/device/device_catalogue.h"
#include "app/store/store_records.h"

namespace tavik {

class Dialogs;
class PageContext;

// Control ids of the button page.
namespace button_control {
constexpr int kFunctionTypes = 69;
constexpr int kTypeLabel = 70;
constexpr int kFirstList = 71;
constexpr int kSecondList = 72;
constexpr int kPathEdit = 73;
constexpr int kFunctionValues = 74;
constexpr int kApply = 75;
constexpr int kReset = 76;
constexpr int kKeyField = 77;
constexpr int kCtrl = 78;
constexpr int kWin = 79;
constexpr int kAlt = 80;
constexpr int kShift = 81;
constexpr int kMouseButtons = 82;
constexpr int kMacroPageLink = 88;
constexpr int kPlayMode1 = 90;
constexpr int kPlayMode2 = 91;
constexpr int kPlayMode3 = 92;
constexpr int kPlayRepeat = 93;
constexpr int kRepeatCount = 94;
constexpr int kChooseProgram = 95;
}  // namespace button_control

// The controls of the button page.
class ButtonView {
public:
    virtual ~ButtonView() = default;
    virtual MouseButtonControl& MouseButtons() = 0;     // 82
    virtual FunctionListControl& FunctionTypes() = 0;   // 69
    virtual FunctionListControl& FunctionValues() = 0;  // 74
    virtual ComboControl& Combo(int controlId) = 0;     // 71, 72
    virtual TextControl& Text(int controlId) = 0;       // 70, 73, 77, 94
    virtual ButtonControl& Button(int controlId) = 0;   // 78 … 81, 88, 90 … 93, 95
    // Selects a tab of the main window's tab control.
    virtual void SelectTab(int index) = 0;
    // Starts and ends the raw keyboard capture of the key field; while it runs the window
    // hands every captured key to ButtonPage::OnCapturedKey.
    virtual void StartKeyCapture() = 0;
    virtual void StopKeyCapture() = 0;
};

// The button page: one function per mouse button and profile, stored as the button's
// assignment row and sent to the mouse with the key table (job 7).
class ButtonPage {
public:
    ButtonPage(PageContext& context, ButtonView& view, Dialogs& dialogs);

    // The factory functions of the buttons, from the device description.
    void SetButtonDefaults(std::vector<ButtonDefault> defaults);
    // Fills the function type list; before the first refresh.
    void FillControls();
    // Shows every button's function and the selected button's assignment.
    void RefreshKeyPage();
    // Loads and shows the selected button's assignment.
    void ShowButtonAssignment();
    // When the text snippets changed and type 11 is chosen: lists them again.
    void RefreshTextChoices();
    // A control's notification; `wParam` is the item index for the mouse picture.
    void OnControlNotify(int controlId, int code, int wParam = 0);
    // A key the raw capture saw while the key field is open.
    void OnCapturedKey(int virtualKey, const std::wstring& name);

    void OnButtonChosen(int index);
    void OnFunctionTypeChosen();
    void OnFirstListChanged();
    void OnChooseProgram();
    void ApplyAssignment();
    void ResetButton();

    int SelectedKeyCode() const { return m_keyCode; }
    const std::wstring& ProgramPath() const { return m_programPath; }

private:
    // The controls of a function type, as choosing it shows them.
    void ShowFunctionType(int type);
    void HideKeyField();
    void FillMacroList();
    void FillTextList();
    void FillShortcutValues(int category);
    const ButtonDefault* DefaultOf(int keyCode) const;
    // The description of a button's factory function.
    std::wstring DefaultDescription(int keyCode) const;
    // Fills `record` for the chosen type; false when there is nothing to store.
    bool BuildAssignment(int type, KeyAssignment& record);

    PageContext& m_context;  // not owned
    ButtonView& m_view;      // not owned
    Dialogs& m_dialogs;      // not owned
    std::vector<ButtonDefault> m_defaults;
    int m_keyCode = 1;
    int m_capturedVirtualKey = 0;
    std::wstring m_capturedName;
    std::wstring m_programPath;
    bool m_capturing = false;
};

}  // namespace tavik
