#pragma once

#include <string>
#include <vector>

#include "app/config/control_views.h"

namespace tavik {

// A list of names with one number each (the macro list, the snippet list), with the
// operations of the toolkit's name lists. Indexes count from 0; -1 is "no selection".
class NameListControl : public ControlView {
public:
    // Appends for index -1, else inserts before index; returns the new row's index.
    virtual int InsertString(int index, const std::wstring& text, int data) = 0;
    virtual int GetItemData(int index) const = 0;           // 0 out of range
    virtual std::wstring GetItemText(int index) const = 0;  // empty out of range
    virtual void ModifyItemString(int index, const std::wstring& text) = 0;
    virtual int FindString(const std::wstring& text) const = 0;  // -1 when absent
    virtual void SetCurSel(int index) = 0;
    virtual int GetCurSel() const = 0;
    virtual int GetItemCount() const = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void DeleteAllItems() = 0;
};

// One row of the event list: the event's description, type, key or button code, delay.
struct RecordRow {
    std::wstring text;
    int type = 0;
    int key = 0;
    int value = 0;
    bool operator==(const RecordRow& other) const {
        return text == other.text && type == other.type && key == other.key && value == other.value;
    }
};

// The event list of the macro page, with the operations of the toolkit's record list.
class RecordListControl : public ControlView {
public:
    virtual int AddString(const RecordRow& row) = 0;
    // Inserts before index (appends for -1).
    virtual int InsertString(int index, const RecordRow& row) = 0;
    // Sets the delay of the last row; false when the list is empty.
    virtual bool UpdateDelayTime(int value) = 0;
    virtual std::vector<RecordRow> GetRecordItems() const = 0;
    virtual int GetCurSel() const = 0;
    virtual int GetItemCount() const = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void DeleteAllItems() = 0;
};

}  // namespace tavik
