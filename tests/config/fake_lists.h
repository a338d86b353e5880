#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/config/list_views.h"

namespace tavik::test {

// The name and record lists as the toolkit keeps them: rows in order, one selection that
// out-of-range indexes leave alone, -1 for none.
class FakeNameList : public NameListControl {
public:
    void SetVisible(bool) override {}
    bool IsVisible() override { return true; }
    void SetEnabled(bool enabled) override { enabledState = enabled; }
    bool IsEnabled() override { return enabledState; }

    int InsertString(int index, const std::wstring& text, int data) override {
        if (index < -1 || index >= static_cast<int>(rows.size())) {
            return -1;
        }
        if (index == -1) {
            rows.push_back({text, data});
            return static_cast<int>(rows.size()) - 1;
        }
        rows.insert(rows.begin() + index, {text, data});
        return index;
    }
    int GetItemData(int index) const override { return InRange(index) ? rows[index].second : 0; }
    std::wstring GetItemText(int index) const override {
        return InRange(index) ? rows[index].first : std::wstring();
    }
    void ModifyItemString(int index, const std::wstring& text) override {
        if (InRange(index)) {
            rows[index].first = text;
        }
    }
    int FindString(const std::wstring& text) const override {
        for (size_t index = 0; index < rows.size(); ++index) {
            if (rows[index].first == text) {
                return static_cast<int>(index);
            }
        }
        return -1;
    }
    void SetCurSel(int index) override {
        if (index >= -1 && index < static_cast<int>(rows.size())) {
            selected = index;
        }
    }
    int GetCurSel() const override { return selected; }
    int GetItemCount() const override { return static_cast<int>(rows.size()); }
    void DeleteItem(int index) override {
        if (InRange(index)) {
            rows.erase(rows.begin() + index);
            selected = -1;
        }
    }
    void DeleteAllItems() override {
        rows.clear();
        selected = -1;
    }

    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const auto& row : rows) {
            texts.push_back(row.first);
        }
        return texts;
    }

    std::vector<std::pair<std::wstring, int>> rows;
    int selected = -1;
    bool enabledState = true;

private:
    bool InRange(int index) const { return index >= 0 && index < static_cast<int>(rows.size()); }
};

class FakeRecordList : public RecordListControl {
public:
    void SetVisible(bool) override {}
    bool IsVisible() override { return true; }
    void SetEnabled(bool enabled) override { enabledState = enabled; }
    bool IsEnabled() override { return enabledState; }

    int AddString(const RecordRow& row) override {
        rows.push_back(row);
        return static_cast<int>(rows.size()) - 1;
    }
    int InsertString(int index, const RecordRow& row) override {
        if (index < -1 || index >= static_cast<int>(rows.size())) {
            return -1;
        }
        if (index == -1) {
            return AddString(row);
        }
        rows.insert(rows.begin() + index, row);
        return index;
    }
    bool UpdateDelayTime(int value) override {
        if (rows.empty()) {
            return false;
        }
        rows.back().value = value;
        return true;
    }
    std::vector<RecordRow> GetRecordItems() const override { return rows; }
    int GetCurSel() const override { return selected; }
    int GetItemCount() const override { return static_cast<int>(rows.size()); }
    void DeleteItem(int index) override {
        if (index >= 0 && index < static_cast<int>(rows.size())) {
            rows.erase(rows.begin() + index);
            selected = -1;
        }
    }
    void DeleteAllItems() override {
        rows.clear();
        selected = -1;
    }

    std::vector<RecordRow> rows;
    int selected = -1;
    bool enabledState = true;
};

}  // namespace tavik::test
