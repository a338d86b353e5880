#include "app/config/macro_file.h"

#include <optional>
#include <vector>

#include "app/config/macro_events.h"
#include "app/config/page_context.h"
#include "app/services/xml_doc.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

// Play type, play times and delay settings as a new macro has them.
constexpr int kLastPlayType = 3;
constexpr int kMaxPlayTimes = 255;
constexpr int kLastDelayType = 2;
// An event's value is one byte of the macro image.
constexpr int kMaxEventValue = 255;

bool InRange(const std::optional<int>& value, int low, int high) {
    return value && *value >= low && *value <= high;
}

void SetNumber(CXmlDoc& doc, const wchar_t* name, int value) {
    doc.SetAttribute(name, DecimalText(value));
}

// The header as the file gives it, each field out of range replaced by a new macro's value.
MacroRecord ReadHeader(const CXmlDoc& doc) {
    MacroRecord header;
    header.playType = 0;
    header.playTimes = 1;
    header.delayType = 1;
    header.delayTime = 0;
    header.name = doc.GetAttribute(L"macro_name");
    const std::optional<int> playType = ReadNumberAttribute(doc, L"macro_type");
    const std::optional<int> playTimes = ReadNumberAttribute(doc, L"play_times");
    const std::optional<int> delayType = ReadNumberAttribute(doc, L"delay_type");
    const std::optional<int> delayTime = ReadNumberAttribute(doc, L"delay_time");
    if (InRange(playType, 0, kLastPlayType)) {
        header.playType = *playType;
    }
    if (InRange(playTimes, 1, kMaxPlayTimes)) {
        header.playTimes = *playTimes;
    }
    if (InRange(delayType, 0, kLastDelayType)) {
        header.delayType = *delayType;
    }
    if (InRange(delayTime, 0, kMaxEventDelay)) {
        header.delayTime = *delayTime;
    }
    return header;
}

// The event of the current `item`, or nothing when one of its numbers is out of range.
std::optional<MacroEvent> ReadEvent(const CXmlDoc& doc) {
    const std::optional<int> type = ReadNumberAttribute(doc, L"type");
    const std::optional<int> index = ReadNumberAttribute(doc, L"index");
    const std::optional<int> value = ReadNumberAttribute(doc, L"value");
    const std::optional<int> delay = ReadNumberAttribute(doc, L"timestamp");
    if (!InRange(type, macro_event::kFirstType, macro_event::kLastType) ||
        !InRange(value, 0, kMaxEventValue) || !InRange(delay, 0, kMaxEventDelay)) {
        return std::nullopt;
    }
    MacroEvent event;
    event.type = *type;
    event.recordIndex = index.value_or(0);
    event.value = *value;
    event.delayTime = *delay;
    event.description = doc.GetAttribute(L"desc");
    return event;
}

}  // namespace

const wchar_t kImportedMacroSuffix[] = L" \u5bfc\u5165";

bool BuildMacroDocument(SettingsDatabase& database, int macroId, std::wstring_view listedName,
                        CXmlDoc& doc) {
    MacroRecord header;
    std::vector<MacroEvent> events;
    {
        // One lock over both reads: the file never mixes a header with another save's events.
        std::lock_guard<std::recursive_mutex> guard(database.GetLock());
        if (!database.GetMacro(macroId, header)) {
            return false;
        }
        database.ListMacroEvents(macroId, events);
    }
    doc.SetDocText(kXmlDeclarationLine);
    doc.AddElement(L"macro");
    doc.EnterElement();
    doc.AddElement(L"macroinfo");
    doc.SetAttribute(L"macro_name", listedName);
    SetNumber(doc, L"macro_type", header.playType);
    SetNumber(doc, L"play_times", header.playTimes);
    SetNumber(doc, L"delay_type", header.delayType);
    SetNumber(doc, L"delay_time", header.delayTime);
    doc.AddElement(L"macroitems");
    doc.EnterElement();
    for (const MacroEvent& event : events) {
        doc.AddElement(L"item");
        doc.SetAttribute(L"desc", event.description);
        SetNumber(doc, L"index", event.recordIndex);
        SetNumber(doc, L"type", event.type);
        SetNumber(doc, L"value", event.value);
        SetNumber(doc, L"timestamp", event.delayTime);
    }
    doc.LeaveElement();
    doc.LeaveElement();
    return true;
}

FileResult ExportMacroFile(SettingsDatabase& database, int macroId, std::wstring_view listedName,
                           const std::wstring& path) {
    CXmlDoc doc;
    if (!BuildMacroDocument(database, macroId, listedName, doc)) {
        return FileResult::kNothingToSave;
    }
    return doc.SaveFile(path) ? FileResult::kDone : FileResult::kWriteFailed;
}

MacroImport ImportMacroFile(SettingsDatabase& database, const std::wstring& path) {
    CXmlDoc doc;
    if (!doc.LoadFile(path)) {
        return MacroImport{};
    }
    return ImportMacroDocument(database, doc);
}

MacroImport ImportMacroDocument(SettingsDatabase& database, CXmlDoc& doc) {
    MacroImport import;
    doc.ResetPosition();
    if (!doc.IsWellFormed() || !doc.FindElement(L"macro")) {
        return import;
    }
    doc.EnterElement();
    // Searches only look forward: `macroitems` counts only after `macroinfo`, as written.
    MacroRecord header = doc.FindElement(L"macroinfo") ? ReadHeader(doc) : ReadHeader(CXmlDoc());
    header.name += kImportedMacroSuffix;
    std::vector<MacroEvent> events;
    if (doc.FindElement(L"macroitems") && doc.EnterElement()) {
        while (events.size() < static_cast<size_t>(kMacroEventLimit) && doc.FindElement(L"item")) {
            if (std::optional<MacroEvent> event = ReadEvent(doc)) {
                events.push_back(std::move(*event));
            }
        }
        doc.LeaveElement();
    }
    int macroId = 0;
    const bool stored = database.RunInTransaction([&] {
        macroId = database.AddMacroWithSettings(header);
        if (macroId < 1) {
            return false;
        }
        for (MacroEvent& event : events) {
            event.macroId = macroId;
        }
        return database.AddMacroEvents(events) == static_cast<int>(events.size());
    });
    if (!stored) {
        import.result = FileResult::kStoreFailed;
        return import;
    }
    import.result = FileResult::kDone;
    import.macroId = macroId;
    import.name = header.name;
    import.eventCount = static_cast<int>(events.size());
    return import;
}

}  // namespace tavik
