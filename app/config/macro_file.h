#pragma once

#include <string>
#include <string_view>

#include "app/config/file_values.h"

namespace tavik {

class CXmlDoc;
class SettingsDatabase;

// What an import of a macro file stored.
struct MacroImport {
    FileResult result = FileResult::kUnreadable;
    int macroId = 0;    // the new macro, 0 unless result is kDone
    std::wstring name;  // its stored name: the file's name followed by " 导入"
    int eventCount = 0;
};

// The text appended to the name of every imported macro.
extern const wchar_t kImportedMacroSuffix[];

// Builds the macro file of a stored macro into doc: the stored header with `listedName` as
// the name (the name as the macro list shows it) and every event in step order. False when
// the macro does not exist.
bool BuildMacroDocument(SettingsDatabase& database, int macroId, std::wstring_view listedName,
                        CXmlDoc& doc);

// Writes the macro file of a stored macro to path (UTF-8, CR LF).
FileResult ExportMacroFile(SettingsDatabase& database, int macroId, std::wstring_view listedName,
                           const std::wstring& path);

// Reads a macro file and stores it as a new macro in one transaction: either the whole macro
// with its events or nothing. A file that cannot be read, is not well-formed or has no
// top-level `macro` element stores nothing. Header values out of range take the values of a
// new macro; events whose type or delay is out of range are left out, and at most the macro
// limit of events is stored.
MacroImport ImportMacroFile(SettingsDatabase& database, const std::wstring& path);
// The same for a document already loaded.
MacroImport ImportMacroDocument(SettingsDatabase& database, CXmlDoc& doc);

}  // namespace tavik
