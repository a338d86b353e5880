#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/config/control_views.h"

namespace tavik::test {

// Controls that behave like the toolkit's (selection rules, out-of-range reads) and write
// every call the page makes into a shared log, as "103.SetSelectItem(2)".
class ControlLog {
public:
    void Add(int id, const std::string& call) {
        m_lines.push_back(std::to_string(id) + "." + call);
    }
    const std::vector<std::string>& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }
    // The logged calls that begin with `prefix`, such as "103." or "103.SetSelectItem".
    std::vector<std::string> Matching(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : m_lines) {
            if (line.compare(0, prefix.size(), prefix) == 0) {
                found.push_back(line);
            }
        }
        return found;
    }

private:
    std::vector<std::string> m_lines;
};

inline std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

template <typename Base>
class FakeControl : public Base {
public:
    FakeControl(int id, ControlLog& log) : m_id(id), m_log(log) {}
    void SetVisible(bool visible) override {
        visibleState = visible;
        Log("SetVisible(" + std::to_string(visible) + ")");
    }
    bool IsVisible() override { return visibleState; }
    void SetEnabled(bool enabled) override {
        enabledState = enabled;
        Log("SetEnabled(" + std::to_string(enabled) + ")");
    }
    bool IsEnabled() override { return enabledState; }

    bool visibleState = true;
    bool enabledState = true;

protected:
    void Log(const std::string& call) { m_log.Add(m_id, call); }

private:
    int m_id;
    ControlLog& m_log;
};

class FakeButton : public FakeControl<ButtonControl> {
public:
    using FakeControl::FakeControl;
    void SetCheck(bool checked) override {
        checkedState = checked;
        Log("SetCheck(" + std::to_string(checked) + ")");
    }
    bool GetCheck() override { return checkedState; }
    void SetColor(std::uint32_t colour) override {
        colourState = colour;
        Log("SetColor(" + std::to_string(colour) + ")");
    }
    std::uint32_t GetColor() override { return colourState; }
    bool checkedState = false;
    std::uint32_t colourState = 0;
};

class FakeText : public FakeControl<TextControl> {
public:
    using FakeControl::FakeControl;
    void SetText(const std::wstring& text) override {
        textState = text;
        Log("SetText(" + Narrow(text) + ")");
    }
    std::wstring GetText() override { return textState; }
    std::wstring textState;
};

class FakeCombo : public FakeControl<ComboControl> {
public:
    using FakeControl::FakeControl;
    int AddItem(const std::wstring& text, int data) override {
        items.emplace_back(text, data);
        Log("AddItem(" + Narrow(text) + "," + std::to_string(data) + ")");
        return static_cast<int>(items.size()) - 1;
    }
    void DelAllItems() override {
        items.clear();
        selected = -1;
        Log("DelAllItems()");
    }
    int GetItemCount() override { return static_cast<int>(items.size()); }
    int GetCurData() override { return Valid(selected) ? items[selected].second : 0; }
    int GetCurSel() override { return selected; }
    void SetCurSel(int index) override {
        selected = Valid(index) ? index : -1;
        Log("SetCurSel(" + std::to_string(index) + ")");
    }
    void SelectData(int data) override {
        for (size_t at = 0; at < items.size(); ++at) {
            if (items[at].second == data) {
                selected = static_cast<int>(at);
                break;
            }
        }
        Log("SelectData(" + std::to_string(data) + ")");
    }
    void SetItemText(int index, const std::wstring& text) override {
        if (Valid(index))
            items[index].first = text;
        Log("SetItemText(" + std::to_string(index) + "," + Narrow(text) + ")");
    }
    std::wstring GetItemText(int index) override {
        return Valid(index) ? items[index].first : std::wstring();
    }
    std::vector<std::pair<std::wstring, int>> items;
    int selected = -1;

private:
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(items.size()); }
};

class FakeSlider : public FakeControl<SliderControl> {
public:
    using FakeControl::FakeControl;
    void SetProgress(int value) override {
        progress = value;
        Log("SetProgress(" + std::to_string(value) + ")");
    }
    int GetProgress() override { return progress; }
    void SetMaxProgress(int value) override {
        maximum = value;
        Log("SetMaxProgress(" + std::to_string(value) + ")");
    }
    int progress = 0;
    int maximum = 0;
};

class FakeDpiStages : public FakeControl<DpiStageControl> {
public:
    using FakeControl::FakeControl;
    void ClearList() override {
        stages.clear();
        selected = 0;
        Log("ClearList()");
    }
    int AddItem(int dpi, std::uint32_t colour) override {
        stages.emplace_back(dpi, colour);
        Log("AddItem(" + std::to_string(dpi) + "," + std::to_string(colour) + ")");
        return static_cast<int>(stages.size()) - 1;
    }
    int GetItemCount() override { return static_cast<int>(stages.size()); }
    void SetDPIValue(int index, int dpi) override {
        if (Valid(index))
            stages[index].first = dpi;
        Log("SetDPIValue(" + std::to_string(index) + "," + std::to_string(dpi) + ")");
    }
    // The toolkit's limits out of range: 50 below, 26000 past the end.
    int GetDPIValue(int index) override {
        if (index < 0)
            return 50;
        return Valid(index) ? stages[index].first : 26000;
    }
    void SetDPIColorValue(int index, std::uint32_t colour) override {
        if (Valid(index))
            stages[index].second = colour;
        Log("SetDPIColorValue(" + std::to_string(index) + "," + std::to_string(colour) + ")");
    }
    std::uint32_t GetDPIColorValue(int index) override {
        return Valid(index) ? stages[index].second : 0;
    }
    void SetSelectItem(int index) override {
        selected = index;
        Log("SetSelectItem(" + std::to_string(index) + ")");
    }
    int GetSelectItem() override { return selected; }
    std::wstring GetEditText() override { return editText; }
    void SetEditText(const std::wstring& text) override {
        editText = text;
        Log("SetEditText(" + Narrow(text) + ")");
    }
    std::vector<std::pair<int, std::uint32_t>> stages;
    int selected = 0;
    std::wstring editText;

private:
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(stages.size()); }
};

class FakeReportRates : public FakeControl<ReportRateControl> {
public:
    using FakeControl::FakeControl;
    void DeleteAllItems() override {
        items.clear();
        selected = -1;
        Log("DeleteAllItems()");
    }
    int AddItem(const std::wstring& text, int keyValue, std::uint32_t colour) override {
        items.push_back({text, keyValue});
        Log("AddItem(" + Narrow(text) + "," + std::to_string(keyValue) + "," +
            std::to_string(colour) + ")");
        return static_cast<int>(items.size()) - 1;
    }
    void SetSelectItemValue(int keyValue) override {
        for (size_t at = 0; at < items.size(); ++at) {
            if (items[at].second == keyValue) {
                selected = static_cast<int>(at);
                break;
            }
        }
        Log("SetSelectItemValue(" + std::to_string(keyValue) + ")");
    }
    int GetSelectItem() override { return selected; }
    int GetItemKeyValue(int index) override {
        return index >= 0 && index < static_cast<int>(items.size()) ? items[index].second : 0;
    }
    std::vector<std::pair<std::wstring, int>> items;
    int selected = -1;
};

class FakeMouseButtons : public FakeControl<MouseButtonControl> {
public:
    using FakeControl::FakeControl;
    void SetSelectItem(int index) override {
        selected = index;
        Log("SetSelectItem(" + std::to_string(index) + ")");
    }
    int GetSelectItem() override { return selected; }
    int GetItemCount() override { return static_cast<int>(keyCodes.size()); }
    int GetItemKeyValue(int index) override {
        return index >= 0 && index < static_cast<int>(keyCodes.size()) ? keyCodes[index] : 0;
    }
    void SetItemKeyDesc(int keyValue, const std::wstring& text) override {
        descriptions[keyValue] = text;
        Log("SetItemKeyDesc(" + std::to_string(keyValue) + "," + Narrow(text) + ")");
    }
    std::vector<int> keyCodes;
    std::map<int, std::wstring> descriptions;
    int selected = -1;
};

class FakeFunctionList : public FakeControl<FunctionListControl> {
public:
    using FakeControl::FakeControl;
    int AddItem(const std::wstring& caption, int data, const std::wstring& iconFile) override {
        items.emplace_back(caption, data);
        Log("AddItem(" + Narrow(caption) + "," + std::to_string(data) +
            (iconFile.empty() ? "" : "," + Narrow(iconFile)) + ")");
        return static_cast<int>(items.size()) - 1;
    }
    void ClearList() override {
        items.clear();
        selected = -1;
        Log("ClearList()");
    }
    void SetCurData(int data) override {
        for (size_t at = 0; at < items.size(); ++at) {
            if (items[at].second == data) {
                selected = static_cast<int>(at);
                break;
            }
        }
        Log("SetCurData(" + std::to_string(data) + ")");
    }
    int GetCurData() override { return Valid(selected) ? items[selected].second : 0; }
    void SetSelectItem(int index) override {
        selected = index;
        Log("SetSelectItem(" + std::to_string(index) + ")");
    }
    int GetSelectItem() override { return selected; }
    std::wstring GetItemText(int index) override {
        return Valid(index) ? items[index].first : std::wstring();
    }
    std::vector<std::pair<std::wstring, int>> items;
    int selected = -1;

private:
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(items.size()); }
};

// Controls made on first use by id, all logging into one log.
template <typename Control>
class ControlSet {
public:
    explicit ControlSet(ControlLog& log) : m_log(log) {}
    Control& operator[](int id) {
        auto found = m_controls.find(id);
        if (found == m_controls.end()) {
            found = m_controls.emplace(id, std::make_unique<Control>(id, m_log)).first;
        }
        return *found->second;
    }

private:
    ControlLog& m_log;
    std::map<int, std::unique_ptr<Control>> m_controls;
};

}  // namespace tavik::test
