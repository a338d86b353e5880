#pragma once

#include <cstdint>
#include <string>

namespace tavik {

// The operations the page logic calls on the controls of the main window, one small
// interface per kind of control, named as the toolkit names them. The window binds each to
// its toolkit control; tests record them. Colours are 0x00BBGGRR.
class ControlView {
public:
    virtual ~ControlView() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() = 0;
};

// Check buttons, radio buttons, switches, toggle and colour buttons.
class ButtonControl : public ControlView {
public:
    virtual void SetCheck(bool checked) = 0;
    virtual bool GetCheck() = 0;
    // The colour of a colour button; other buttons ignore it and report 0.
    virtual void SetColor(std::uint32_t colour) = 0;
    virtual std::uint32_t GetColor() = 0;
};

// The colour palette and the colour preview (MPalette, CArea).
class ColourControl : public ControlView {
public:
    virtual void SetColor(std::uint32_t colour) = 0;
    virtual std::uint32_t GetColor() = 0;
};

// Labels and edit fields.
class TextControl : public ControlView {
public:
    virtual void SetText(const std::wstring& text) = 0;
    virtual std::wstring GetText() = 0;
};

// The drop-down lists (MComboBox).
class ComboControl : public ControlView {
public:
    virtual int AddItem(const std::wstring& text, int data) = 0;
    virtual void DelAllItems() = 0;
    virtual int GetItemCount() = 0;
    // Data of the selected item, 0 when none is selected.
    virtual int GetCurData() = 0;
    // The selected index, -1 when none is selected.
    virtual int GetCurSel() = 0;
    virtual void SetCurSel(int index) = 0;
    // Selects the first item with this data; the selection stays when there is none.
    virtual void SelectData(int data) = 0;
    virtual void SetItemText(int index, const std::wstring& text) = 0;
    virtual std::wstring GetItemText(int index) = 0;
};

// Sliders (DPISlider, MSlider): the value is minimum + position.
class SliderControl : public ControlView {
public:
    virtual void SetProgress(int value) = 0;
    virtual int GetProgress() = 0;
    virtual void SetMaxProgress(int value) = 0;
};

// The DPI stage cards (DPIControl).
class DpiStageControl : public ControlView {
public:
    virtual void ClearList() = 0;
    virtual int AddItem(int dpi, std::uint32_t colour) = 0;
    virtual int GetItemCount() = 0;
    virtual void SetDPIValue(int index, int dpi) = 0;
    virtual int GetDPIValue(int index) = 0;
    virtual void SetDPIColorValue(int index, std::uint32_t colour) = 0;
    virtual std::uint32_t GetDPIColorValue(int index) = 0;
    virtual void SetSelectItem(int index) = 0;
    virtual int GetSelectItem() = 0;
    // The text of the selected card's value edit.
    virtual std::wstring GetEditText() = 0;
    virtual void SetEditText(const std::wstring& text) = 0;
};

// The report-rate cards (ReporteCtrl).
class ReportRateControl : public ControlView {
public:
    virtual void DeleteAllItems() = 0;
    virtual int AddItem(const std::wstring& text, int keyValue, std::uint32_t colour) = 0;
    virtual void SetSelectItemValue(int keyValue) = 0;
    virtual int GetSelectItem() = 0;
    virtual int GetItemKeyValue(int index) = 0;
};

// The buttons of the mouse picture (MouseCtrl).
class MouseButtonControl : public ControlView {
public:
    virtual void SetSelectItem(int index) = 0;
    virtual int GetSelectItem() = 0;
    virtual int GetItemCount() = 0;
    // The key code of the item, 0 out of range.
    virtual int GetItemKeyValue(int index) = 0;
    // The description shown beside the button with this key code.
    virtual void SetItemKeyDesc(int keyValue, const std::wstring& text) = 0;
};

// The function type and function value lists (KeyFuncType, KeyFuncValue).
class FunctionListControl : public ControlView {
public:
    virtual int AddItem(const std::wstring& caption, int data, const std::wstring& iconFile) = 0;
    virtual void ClearList() = 0;
    // Selects the first row with this data; the selection stays when there is none.
    virtual void SetCurData(int data) = 0;
    // Data of the selected row, 0 when none is selected.
    virtual int GetCurData() = 0;
    virtual void SetSelectItem(int index) = 0;
    virtual int GetSelectItem() = 0;
    virtual std::wstring GetItemText(int index) = 0;
};

}  // namespace tavik
