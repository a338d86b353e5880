#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/config/button_page.h"
#include "app/config/light_page.h"
#include "app/config/performance_page.h"
#include "app/config/profile_page.h"

namespace tavik::tavikctl {

// Controls without a window: they keep what the pages put into them and answer the pages'
// questions as the toolkit's controls do, so the command line runs the pages' own rules.

template <typename Base>
class HeadlessControl : public Base {
public:
    void SetVisible(bool visible) override { m_visible = visible; }
    bool IsVisible() override { return m_visible; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    bool IsEnabled() override { return m_enabled; }

private:
    bool m_visible = true;
    bool m_enabled = true;
};

class HeadlessButton : public HeadlessControl<ButtonControl> {
public:
    void SetCheck(bool checked) override { m_checked = checked; }
    bool GetCheck() override { return m_checked; }
    void SetColor(std::uint32_t colour) override { m_colour = colour; }
    std::uint32_t GetColor() override { return m_colour; }

private:
    bool m_checked = false;
    std::uint32_t m_colour = 0;
};

class HeadlessColour : public HeadlessControl<ColourControl> {
public:
    void SetColor(std::uint32_t colour) override { m_colour = colour; }
    std::uint32_t GetColor() override { return m_colour; }

private:
    std::uint32_t m_colour = 0;
};

class HeadlessText : public HeadlessControl<TextControl> {
public:
    void SetText(const std::wstring& text) override { m_text = text; }
    std::wstring GetText() override { return m_text; }

private:
    std::wstring m_text;
};

class HeadlessSlider : public HeadlessControl<SliderControl> {
public:
    void SetProgress(int value) override { m_progress = value; }
    int GetProgress() override { return m_progress; }
    void SetMaxProgress(int value) override { m_maximum = value; }

private:
    int m_progress = 0;
    int m_maximum = 0;
};

// Lists of (text, data) with one selected item or none.
template <typename Base>
class HeadlessList : public HeadlessControl<Base> {
protected:
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    int Add(const std::wstring& text, int data) {
        m_items.emplace_back(text, data);
        return Count() - 1;
    }
    void Clear() {
        m_items.clear();
        m_selected = -1;
    }
    void SelectFirstWith(int data) {
        for (int at = 0; at < Count(); ++at) {
            if (m_items[static_cast<size_t>(at)].second == data) {
                m_selected = at;
                return;
            }
        }
    }
    int DataAt(int index) const {
        return Valid(index) ? m_items[static_cast<size_t>(index)].second : 0;
    }
    std::wstring TextAt(int index) const {
        return Valid(index) ? m_items[static_cast<size_t>(index)].first : std::wstring();
    }

    std::vector<std::pair<std::wstring, int>> m_items;
    int m_selected = -1;
};

class HeadlessCombo : public HeadlessList<ComboControl> {
public:
    int AddItem(const std::wstring& text, int data) override { return Add(text, data); }
    void DelAllItems() override { Clear(); }
    int GetItemCount() override { return Count(); }
    int GetCurData() override { return DataAt(m_selected); }
    int GetCurSel() override { return m_selected; }
    void SetCurSel(int index) override { m_selected = Valid(index) ? index : -1; }
    void SelectData(int data) override { SelectFirstWith(data); }
    void SetItemText(int index, const std::wstring& text) override {
        if (Valid(index)) {
            m_items[static_cast<size_t>(index)].first = text;
        }
    }
    std::wstring GetItemText(int index) override { return TextAt(index); }
};

class HeadlessFunctionList : public HeadlessList<FunctionListControl> {
public:
    int AddItem(const std::wstring& caption, int data, const std::wstring&) override {
        return Add(caption, data);
    }
    void ClearList() override { Clear(); }
    void SetCurData(int data) override { SelectFirstWith(data); }
    int GetCurData() override { return DataAt(m_selected); }
    void SetSelectItem(int index) override { m_selected = index; }
    int GetSelectItem() override { return m_selected; }
    std::wstring GetItemText(int index) override { return TextAt(index); }
};

class HeadlessReportRates : public HeadlessList<ReportRateControl> {
public:
    void DeleteAllItems() override { Clear(); }
    int AddItem(const std::wstring& text, int keyValue, std::uint32_t) override {
        return Add(text, keyValue);
    }
    void SetSelectItemValue(int keyValue) override { SelectFirstWith(keyValue); }
    int GetSelectItem() override { return m_selected; }
    int GetItemKeyValue(int index) override { return DataAt(index); }
    void SetSelectItem(int index) { m_selected = Valid(index) ? index : -1; }
};

class HeadlessMouseButtons : public HeadlessControl<MouseButtonControl> {
public:
    void SetKeyCodes(std::vector<int> keyCodes) { m_keyCodes = std::move(keyCodes); }
    // The item of a key code, -1 when the mouse has no such button.
    int IndexOf(int keyCode) const {
        for (size_t at = 0; at < m_keyCodes.size(); ++at) {
            if (m_keyCodes[at] == keyCode) {
                return static_cast<int>(at);
            }
        }
        return -1;
    }
    const std::vector<int>& KeyCodes() const { return m_keyCodes; }
    void SetSelectItem(int index) override { m_selected = index; }
    int GetSelectItem() override { return m_selected; }
    int GetItemCount() override { return static_cast<int>(m_keyCodes.size()); }
    int GetItemKeyValue(int index) override {
        return index >= 0 && index < GetItemCount() ? m_keyCodes[static_cast<size_t>(index)] : 0;
    }
    void SetItemKeyDesc(int, const std::wstring&) override {}

private:
    std::vector<int> m_keyCodes;
    int m_selected = -1;
};

class HeadlessDpiStages : public HeadlessControl<DpiStageControl> {
public:
    void ClearList() override {
        m_stages.clear();
        m_selected = 0;
    }
    int AddItem(int dpi, std::uint32_t colour) override {
        m_stages.emplace_back(dpi, colour);
        return static_cast<int>(m_stages.size()) - 1;
    }
    int GetItemCount() override { return static_cast<int>(m_stages.size()); }
    void SetDPIValue(int index, int dpi) override {
        if (Valid(index)) {
            m_stages[static_cast<size_t>(index)].first = dpi;
        }
    }
    // The limits of the DPI range out of range, as the toolkit's control answers.
    int GetDPIValue(int index) override {
        if (index < 0) {
            return 50;
        }
        return Valid(index) ? m_stages[static_cast<size_t>(index)].first : 26000;
    }
    void SetDPIColorValue(int index, std::uint32_t colour) override {
        if (Valid(index)) {
            m_stages[static_cast<size_t>(index)].second = colour;
        }
    }
    std::uint32_t GetDPIColorValue(int index) override {
        return Valid(index) ? m_stages[static_cast<size_t>(index)].second : 0;
    }
    void SetSelectItem(int index) override { m_selected = index; }
    int GetSelectItem() override { return m_selected; }
    std::wstring GetEditText() override { return m_editText; }
    void SetEditText(const std::wstring& text) override { m_editText = text; }

private:
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(m_stages.size()); }

    std::vector<std::pair<int, std::uint32_t>> m_stages;
    int m_selected = 0;
    std::wstring m_editText;
};

// Controls made on first use by id.
template <typename Control>
class HeadlessSet {
public:
    Control& operator[](int controlId) {
        std::unique_ptr<Control>& control = m_controls[controlId];
        if (!control) {
            control = std::make_unique<Control>();
        }
        return *control;
    }

private:
    std::map<int, std::unique_ptr<Control>> m_controls;
};

class HeadlessPerformanceView : public PerformanceView {
public:
    DpiStageControl& DpiStages() override { return stages; }
    SliderControl& DpiSlider() override { return slider; }
    ReportRateControl& ReportRates() override { return rates; }
    ComboControl& Combo(int controlId) override { return combos[controlId]; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }

    HeadlessDpiStages stages;
    HeadlessSlider slider;
    HeadlessReportRates rates;
    HeadlessSet<HeadlessCombo> combos;
    HeadlessSet<HeadlessButton> buttons;
    HeadlessSet<HeadlessText> texts;
};

class HeadlessButtonView : public ButtonView {
public:
    MouseButtonControl& MouseButtons() override { return mouse; }
    FunctionListControl& FunctionTypes() override { return types; }
    FunctionListControl& FunctionValues() override { return values; }
    ComboControl& Combo(int controlId) override { return combos[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    void SelectTab(int) override {}
    void StartKeyCapture() override {}
    void StopKeyCapture() override {}

    HeadlessMouseButtons mouse;
    HeadlessFunctionList types;
    HeadlessFunctionList values;
    HeadlessSet<HeadlessCombo> combos;
    HeadlessSet<HeadlessText> texts;
    HeadlessSet<HeadlessButton> buttons;
};

class HeadlessLightView : public LightView {
public:
    ComboControl& Modes() override { return modes; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    SliderControl& Slider(int controlId) override { return sliders[controlId]; }
    ColourControl& Colour(int controlId) override { return colours[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }
    void SetSettingsArea(int, int, int, int) override {}
    void ShowColourEditor(bool) override {}

    HeadlessCombo modes;
    HeadlessSet<HeadlessButton> buttons;
    HeadlessSet<HeadlessSlider> sliders;
    HeadlessSet<HeadlessColour> colours;
    HeadlessSet<HeadlessText> texts;
};

class HeadlessProfileView : public ProfileView {
public:
    void SetProfileLabel(const std::wstring& name) override { label = name; }
    std::wstring label;
};

}  // namespace tavik::tavikctl
