#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/store/sqlite_db.h"
#include "app/store/store_records.h"

namespace tavik {

// The separator of file paths on this platform.
#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

// Joins a directory and a name with one platform separator between them.
std::wstring JoinPath(std::wstring_view directory, std::wstring_view name);

// Full path of a model's settings file: "db" below the data directory, then
// "<model>_datav8.db". Empty when the model name could name a file outside that folder.
std::wstring SettingsDatabaseFilePath(std::wstring_view dataDirectory, std::wstring_view modelName);

// The settings database of the current mouse model: one per process, reached through
// Instance(). Every operation holds the database lock for its whole run, so the pages on the
// user-interface thread and the device worker never interleave their statements, and the
// connection is never closed under a running statement. Writes report true (or the new row's
// id); failures give false, 0 or empty results and are never shown. Texts are wide in memory
// and UTF-8 in the file.
class SettingsDatabase {
public:
    // The process-wide object, created on first use.
    static SettingsDatabase& Instance();

    // Separate objects are for tests; the program uses Instance().
    SettingsDatabase() = default;
    SettingsDatabase(const SettingsDatabase&) = delete;
    SettingsDatabase& operator=(const SettingsDatabase&) = delete;
    virtual ~SettingsDatabase();

    // Opens the model's file below dataDirectory, creating it with the full schema when it
    // does not exist. An existing file is opened as it is, never repaired. True when the
    // database is usable; also true, without reopening, when that file is already open.
    bool OpenForModel(const std::wstring& dataDirectory, const std::wstring& modelName);
    // Opens exactly this file, creating it with the full schema when it does not exist (its
    // folder must). The same rules as OpenForModel otherwise.
    bool OpenFile(const std::wstring& filePath);
    // Closes the connection (before a model change or at exit) and clears the opened state.
    void Close();
    // The result of the last open.
    bool IsOpened() const;
    // UTF-8 path of the file named by the last open.
    std::string GetPath() const;

    // The lock of every operation. Recursive: a caller that must run several operations as
    // one (for instance check-then-create) may hold it across them.
    std::recursive_mutex& GetLock() { return m_lock; }
    // Runs work as one transaction under the lock: everything it wrote is committed when it
    // returns true, and rolled back when it returns false or the commit fails, so a failure
    // (or a crash) leaves none of it behind. Inside another RunInTransaction the work joins
    // the enclosing transaction. True when the work returned true and was committed.
    // Nothing else may wait inside: the lock blocks every other thread's record operations
    // meanwhile.
    bool RunInTransaction(const std::function<bool()>& work);

    // The interface language (a Windows language id) that profile names are shown in.
    void SetInterfaceLanguage(int languageId) { m_languageId = languageId; }
    int GetInterfaceLanguage() const { return m_languageId; }

    // Configuration: one decimal text value per (profile, key). Writes only change rows that
    // exist: a key without a row for the profile reports success and stores nothing.
    bool SetConfigValue(int profile, std::wstring_view key, std::wstring_view value);
    // False when the profile has no such key; value is emptied first.
    bool GetConfigValue(int profile, std::wstring_view key, std::wstring& value);
    // Inserts the 38 keys with their creation values; true when every row was stored.
    bool InsertDefaultConfig(int profile);
    // Writes the reset value of every key but "version", each as its own locked write.
    bool ResetConfigToDefaults(int profile);

    // Profiles. AddProfile stores name and text (app) and the default configuration; returns
    // the new id or 0.
    int AddProfile(const NamedRecord& record);
    bool RenameProfile(int profile, std::wstring_view name);
    // The name localised to the interface language; emptied first, false without a row.
    bool GetProfileName(int profile, std::wstring& name);
    // Every profile in table order, names localised; returns the count.
    int ListProfiles(std::vector<NamedRecord>& list);
    // Marks profile as the only active one; an id without a row leaves none active.
    bool SetActiveProfile(int profile);
    // The first active profile, or 0.
    int GetActiveProfile();

    // Text snippets, shared by all profiles of the model.
    int AddText(const NamedRecord& record);
    bool DeleteText(int textId);
    bool RenameText(int textId, std::wstring_view name);
    bool GetTextName(int textId, std::wstring& name);
    bool SetTextContent(int textId, std::wstring_view content);
    bool GetTextContent(int textId, std::wstring& content);
    int ListTexts(std::vector<NamedRecord>& list);

    // Button assignments. Saving removes the button's stored row, then stores the record when
    // value 1 or value 2 is not 0; returns the new key id, or 0 when nothing was stored. A
    // computer-side function (types 9, 10, 11) whose value 1 is not 1 to 255 is refused with
    // 0 and leaves the stored row as it was: the mouse reports such an id in one byte.
    int SaveKeyAssignment(const KeyAssignment& record);
    // The reads always match layer 0, the only layer ever written.
    bool GetKeyAssignment(int profile, int layer, int keyCode, KeyAssignment& record);
    bool SetKeyDescription(int profile, int layer, int keyCode, std::wstring_view text);
    int ListKeyAssignments(int profile, int layer, std::vector<KeyAssignment>& list);
    bool DeleteProfileKeys(int profile);
    // Stores the text part of a program launch (type 9) or web address (type 10) and returns
    // its id, reusing an identical row; 0 on failure or when no id of one byte is left.
    int AddKeyExtraData(std::wstring_view description, std::wstring_view parameter, int type);
    // False, with the outputs untouched, when no row has that id.
    bool GetKeyExtraData(int id, std::wstring& description, std::wstring& parameter, int& type);

    // Lighting: one record per mode and profile; status 1 marks the active mode.
    bool DeleteProfileLights(int profile);
    int CountProfileLights(int profile);
    // Stores the record with an empty name; returns the new light id or 0.
    int AddLight(const LightRecord& record);
    // Writes every setting of the record's profile's light of this mode; name and status stay.
    bool UpdateLight(int mode, const LightRecord& record);
    bool SetActiveLightMode(int profile, int mode);
    // The active mode, or 0.
    int GetActiveLightMode(int profile);
    bool GetLight(int profile, int mode, LightRecord& record);
    int ListLights(int profile, std::vector<LightRecord>& list);
    // When the profile has no light rows: adds the four default modes and makes mode 1
    // active. True when the profile has its lights afterwards.
    bool EnsureDefaultLights(int profile);

    // Macros, shared by all profiles of the model; their events are kept by record index.
    // AddMacro stores play type 0, once, delay type 1, delay 0.
    int AddMacro(std::wstring_view name);
    int AddMacroWithSettings(const MacroRecord& record);
    bool RenameMacro(int macroId, std::wstring_view name);
    // Removes the macro and then its events; true only when both succeeded.
    bool DeleteMacro(int macroId);
    bool GetMacro(int macroId, MacroRecord& record);
    bool UpdateMacro(const MacroRecord& record);
    int ListMacros(std::vector<MacroRecord>& list);
    int AddMacroEvent(const MacroEvent& event);
    // Stores the events in list order inside one transaction; a failing row does not stop
    // the others. Returns the number stored.
    int AddMacroEvents(const std::vector<MacroEvent>& list);
    // The macro's events ordered by record index; returns the count.
    int ListMacroEvents(int macroId, std::vector<MacroEvent>& list);
    bool DeleteMacroEvents(int macroId);

private:
    bool CreateSchema();
    // The id of the row the last successful insert made (its low 32 bits), or 0.
    int InsertedId(int stepResult);
    // A statement whose one parameter is an id (the deletes by profile, macro or text).
    bool ExecuteWithId(const char* sql, int id);
    // The one-column statements "UPDATE … SET column = ? WHERE id = ?" and
    // "SELECT column … WHERE id = ?"; the select clears `text` and is false without a row.
    bool UpdateTextById(const char* sql, std::wstring_view text, int id);
    bool SelectTextById(const char* sql, int id, std::wstring& text);
    int InsertKeyExtraData(std::wstring_view description, std::wstring_view parameter, int type);

    mutable std::recursive_mutex m_lock;  // guards m_connection, m_path, m_opened
    SQLiteDB m_connection;
    std::string m_path;
    bool m_opened = false;
    std::atomic<int> m_languageId{0};
};

// A step result of 0, 100 or 101 counts as success.
inline bool StepSucceeded(int stepResult) {
    return stepResult == kSQLiteOk || stepResult == kSQLiteRow || stepResult == kSQLiteDone;
}

}  // namespace tavik
