#include "app/config/profile_file.h"

#include <array>
#include <optional>
#include <vector>

#include "app/config/page_context.h"
#include "app/device/job_queue.h"
#include "app/services/xml_doc.h"
#include "app/store/config_keys.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

constexpr int kMaxColour = 0xFFFFFF;
constexpr int kDpiStep = 50;
constexpr int kMinDpi = 50;
constexpr int kMaxDpi = 12000;
// The sensor of device type 101 goes further.
constexpr int kWideDpiDeviceType = 101;
constexpr int kMaxDpiWide = 26000;
constexpr int kMaxDpiStages = 6;
constexpr int kFileDpiStages = 5;  // the file carries DPI1 ... DPI5
constexpr int kLastLightMode = 3;
constexpr int kMaxByte = 255;
constexpr int kLightColours = 7;  // color_value1 ... color_value7 are read; 8 stays
constexpr int kExportedLightColours = 6;
constexpr int kLastColourIndex = 7;
constexpr int kLastPlayMode = 3;

// The allowed range of one configuration value and the key it is stored under.
struct ValueRule {
    const wchar_t* element;  // also the attribute of Mouse_DPI
    const wchar_t* key;
    int low;
    int high;
};

// The `Mouse` children in file order.
constexpr std::array<ValueRule, 7> kMouseValues = {{
    {L"button_respondtime", L"button_respondtime", 1, 50},
    {L"report_rate", L"report_rate", 0, 3},
    {L"sensor_flag", L"sensor_flag", 0, 7},
    {L"liftoff_height", L"liftoff_height", 0, 1},
    {L"scroll_flag", L"scroll_flag", 0, 1},
    {L"e-sports_flag", L"highspeed_mode", 0, 1},
    {L"leftbtn_lock", L"leftbtn_lock", 0, 1},
}};

// Function types a button can be given.
bool IsAssignableType(int type) {
    switch (type) {
        case 1:
        case 2:
        case 4:
        case 5:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
            return true;
        default:
            return false;
    }
}

bool InRange(const std::optional<int>& value, int low, int high) {
    return value && *value >= low && *value <= high;
}

std::wstring StoredValue(SettingsDatabase& database, int profile, std::wstring_view key) {
    std::wstring value;
    database.GetConfigValue(profile, key, value);
    return value;
}

void SetNumber(CXmlDoc& doc, const wchar_t* name, int value) {
    doc.SetAttribute(name, DecimalText(value));
}

// Applies one file to one profile; every write goes into the caller's transaction, and the
// first write the store refuses ends the import.
class ProfileImporter {
public:
    ProfileImporter(SettingsDatabase& database, int profile, const ProfileFileDevice& device,
                    CXmlDoc& doc)
        : m_database(database), m_profile(profile), m_device(device), m_doc(doc) {}

    bool Run() {
        if (!m_database.DeleteProfileKeys(m_profile)) {
            return false;
        }
        if (m_doc.FindElement(L"keyitems") && !ImportKeys()) {
            return false;
        }
        if (m_device.hasLighting && m_doc.FindElement(L"Lightitems") && !ImportLights()) {
            return false;
        }
        if (m_doc.FindElement(L"Mouse_DPI") && !ImportDpi()) {
            return false;
        }
        if (m_doc.FindElement(L"Mouse") && !ImportMouse()) {
            return false;
        }
        return true;
    }

private:
    bool ImportKeys() {
        m_doc.EnterElement();
        while (m_doc.FindElement(L"item")) {
            KeyAssignment assignment;
            if (!ReadAssignment(assignment)) {
                continue;
            }
            // Nothing is stored for an item whose values are both 0, as the store decides;
            // a refused id of a computer-side function leaves the key at its default.
            m_database.SaveKeyAssignment(assignment);
        }
        m_doc.LeaveElement();
        return true;
    }

    bool ReadAssignment(KeyAssignment& assignment) {
        const std::optional<int> keyCode = ReadNumberAttribute(m_doc, L"key_code");
        const std::optional<int> type = ReadNumberAttribute(m_doc, L"macro_type");
        const std::optional<int> value1 = ReadNumberAttribute(m_doc, L"macro_value");
        const std::optional<int> value2 = ReadNumberAttribute(m_doc, L"macro_value2");
        const std::optional<int> value3 = ReadNumberAttribute(m_doc, L"macro_value3");
        if (!InRange(keyCode, 0, kMaxByte) || !type || !IsAssignableType(*type) || !value1 ||
            *value1 < 0 || !InRange(value2, 0, kMaxByte) || !InRange(value3, 0, kLastPlayMode)) {
            return false;
        }
        assignment.profile = m_profile;
        assignment.layer = 0;
        assignment.keyCode = *keyCode;
        assignment.functionType = *type;
        assignment.value1 = *value1;
        assignment.value2 = *value2;
        assignment.value3 = *value3;
        assignment.description = m_doc.GetAttribute(L"macro_desc");
        return true;
    }

    bool ImportLights() {
        const std::optional<int> activeMode = ReadNumberAttribute(m_doc, L"lightmode");
        LightRecord probe;
        if (InRange(activeMode, 0, kLastLightMode) &&
            m_database.GetLight(m_profile, *activeMode, probe) &&
            !m_database.SetActiveLightMode(m_profile, *activeMode)) {
            return false;
        }
        m_doc.EnterElement();
        bool stored = true;
        while (stored && m_doc.FindElement(L"item")) {
            stored = ImportLight();
        }
        m_doc.LeaveElement();
        return stored;
    }

    bool ImportLight() {
        const std::optional<int> mode = ReadNumberAttribute(m_doc, L"light_mode");
        LightRecord record;
        if (!InRange(mode, 0, kLastLightMode) || !m_database.GetLight(m_profile, *mode, record)) {
            return true;
        }
        Take(L"brightness", 1, kMaxByte, record.brightness);
        Take(L"speed", 1, kMaxByte, record.speed);
        Take(L"direction", 0, kMaxByte, record.direction);
        Take(L"colorful", 0, 1, record.colorful);
        Take(L"colorindex", 0, kLastColourIndex, record.colorIndex);
        for (int colour = 0; colour < kLightColours; ++colour) {
            const std::wstring name = L"color_value" + std::to_wstring(colour + 1);
            Take(name.c_str(), 0, kMaxColour, record.colorValues[colour]);
        }
        return m_database.UpdateLight(*mode, record);
    }

    // Replaces field with the attribute's number when it is there and within range.
    void Take(const wchar_t* attribute, int low, int high, int& field) {
        const std::optional<int> value = ReadNumberAttribute(m_doc, attribute);
        if (InRange(value, low, high)) {
            field = *value;
        }
    }

    bool ImportDpi() {
        std::optional<int> count = ReadNumberAttribute(m_doc, L"dpi_count");
        if (!InRange(count, 1, kMaxDpiStages)) {
            count = ReadFileNumber(StoredValue(m_database, m_profile, L"dpi_count"));
        }
        if (!Store(L"dpi_flag", L"dpi_flag", 0, kMaxByte) ||
            !Store(L"dpi_count", L"dpi_count", 1, kMaxDpiStages) ||
            !Store(L"dpi_index", L"dpi_index", 0,
                   InRange(count, 1, kMaxDpiStages) ? *count - 1 : 0)) {
            return false;
        }
        const int maxDpi = m_device.deviceType == kWideDpiDeviceType ? kMaxDpiWide : kMaxDpi;
        m_doc.EnterElement();
        bool stored = true;
        for (int stage = 0; stored && stage < kFileDpiStages; ++stage) {
            const std::wstring element = L"DPI" + std::to_wstring(stage + 1);
            if (!m_doc.FindElement(element)) {
                continue;
            }
            stored = Store(DpiValueKey(stage), L"value", kMinDpi, maxDpi, kDpiStep) &&
                     Store(DpiColourKey(stage), L"color", 0, kMaxColour);
        }
        m_doc.LeaveElement();
        return stored;
    }

    bool ImportMouse() {
        m_doc.EnterElement();
        bool stored = true;
        for (const ValueRule& rule : kMouseValues) {
            if (stored && m_doc.FindElement(rule.element)) {
                stored = Store(rule.key, L"value", rule.low, rule.high);
            }
        }
        m_doc.LeaveElement();
        return stored;
    }

    // Stores the attribute's number as "%d" when it is within range (and a multiple of
    // step); one out of range, or absent, keeps the stored value. False only when the store
    // refused the write.
    bool Store(std::wstring_view key, const wchar_t* attribute, int low, int high, int step = 1) {
        const std::optional<int> value = ReadNumberAttribute(m_doc, attribute);
        if (!value.has_value()) {
            return true;
        }
        const int number = *value;
        if (number < low || number > high || number % step != 0) {
            return true;
        }
        return m_database.SetConfigValue(m_profile, key, DecimalText(number));
    }

    SettingsDatabase& m_database;
    int m_profile;
    const ProfileFileDevice& m_device;
    CXmlDoc& m_doc;
};

}  // namespace

void BuildProfileDocument(SettingsDatabase& database, int profile, const ProfileFileDevice& device,
                          CXmlDoc& doc) {
    // One lock over every read, so the file shows the profile at one moment.
    std::lock_guard<std::recursive_mutex> guard(database.GetLock());
    std::wstring name;
    database.GetProfileName(profile, name);
    doc.SetDocText(kXmlDeclarationLine);
    doc.AddElement(L"profile");
    doc.EnterElement();
    doc.AddElement(L"profileinfo");
    doc.SetAttribute(L"name", name);
    doc.EnterElement();

    doc.AddElement(L"keyitems");
    doc.EnterElement();
    std::vector<KeyAssignment> assignments;
    database.ListKeyAssignments(profile, 0, assignments);
    for (const KeyAssignment& assignment : assignments) {
        doc.AddElement(L"item");
        SetNumber(doc, L"key_code", assignment.keyCode);
        SetNumber(doc, L"macro_type", assignment.functionType);
        SetNumber(doc, L"macro_value", assignment.value1);
        SetNumber(doc, L"macro_value2", assignment.value2);
        SetNumber(doc, L"macro_value3", assignment.value3);
        doc.SetAttribute(L"macro_desc", assignment.description);
    }
    doc.LeaveElement();

    if (device.hasLighting) {
        doc.AddElement(L"Lightitems");
        SetNumber(doc, L"lightmode", database.GetActiveLightMode(profile));
        doc.EnterElement();
        std::vector<LightRecord> lights;
        database.ListLights(profile, lights);
        for (const LightRecord& light : lights) {
            doc.AddElement(L"item");
            SetNumber(doc, L"light_mode", light.mode);
            SetNumber(doc, L"brightness", light.brightness);
            SetNumber(doc, L"speed", light.speed);
            SetNumber(doc, L"direction", light.direction);
            SetNumber(doc, L"colorful", light.colorful);
            SetNumber(doc, L"colorindex", light.colorIndex);
            for (int colour = 0; colour < kExportedLightColours; ++colour) {
                SetNumber(doc, (L"color_value" + std::to_wstring(colour + 1)).c_str(),
                          light.colorValues[colour]);
            }
        }
        doc.LeaveElement();
    }

    doc.AddElement(L"Mouse_DPI");
    for (const wchar_t* key : {L"dpi_flag", L"dpi_index", L"dpi_count"}) {
        doc.SetAttribute(key, StoredValue(database, profile, key));
    }
    doc.EnterElement();
    for (int stage = 0; stage < kFileDpiStages; ++stage) {
        doc.AddElement(L"DPI" + std::to_wstring(stage + 1));
        doc.SetAttribute(L"value", StoredValue(database, profile, DpiValueKey(stage)));
        doc.SetAttribute(L"color", StoredValue(database, profile, DpiColourKey(stage)));
    }
    doc.LeaveElement();

    doc.AddElement(L"Mouse");
    doc.EnterElement();
    for (const ValueRule& rule : kMouseValues) {
        doc.AddElement(rule.element);
        doc.SetAttribute(L"value", StoredValue(database, profile, rule.key));
    }
    doc.LeaveElement();
    doc.LeaveElement();
    doc.LeaveElement();
}

FileResult ExportProfileFile(SettingsDatabase& database, int profile,
                             const ProfileFileDevice& device, const std::wstring& path) {
    CXmlDoc doc;
    BuildProfileDocument(database, profile, device, doc);
    return doc.SaveFile(path) ? FileResult::kDone : FileResult::kWriteFailed;
}

FileResult ImportProfileFile(SettingsDatabase& database, int profile,
                             const ProfileFileDevice& device, const std::wstring& path,
                             JobQueue* jobs) {
    CXmlDoc doc;
    if (!doc.LoadFile(path)) {
        return FileResult::kUnreadable;
    }
    return ImportProfileDocument(database, profile, device, doc, jobs);
}

FileResult ImportProfileDocument(SettingsDatabase& database, int profile,
                                 const ProfileFileDevice& device, CXmlDoc& doc, JobQueue* jobs) {
    doc.ResetPosition();
    if (!doc.IsWellFormed() || !doc.FindElement(L"profile")) {
        return FileResult::kUnreadable;
    }
    doc.EnterElement();
    // Without `profileinfo` the file holds no settings; the profile still loses its
    // assignments, as for a file without `keyitems`.
    const bool hasInfo = doc.FindElement(L"profileinfo") && doc.EnterElement();
    ProfileImporter importer(database, profile, device, doc);
    if (!database.RunInTransaction(
            [&] { return hasInfo ? importer.Run() : database.DeleteProfileKeys(profile); })) {
        return FileResult::kStoreFailed;
    }
    if (jobs != nullptr && device.deviceType <= kLastDeviceTypeSentAfterImport) {
        jobs->Push(job::kSendAllSettings);
    }
    return FileResult::kDone;
}

}  // namespace tavik
