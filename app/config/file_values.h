#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavik {

class CXmlDoc;

// The first line of every file the program exports, with its line end.
extern const wchar_t kXmlDeclarationLine[];

// How an import or an export of a file ended.
enum class FileResult {
    kDone,
    kUnreadable,     // missing, unreadable, not well-formed or of another kind of file
    kStoreFailed,    // the file was fine, the settings database refused it: nothing kept
    kWriteFailed,    // the export could not be saved
    kNothingToSave,  // the export found nothing to write (no such macro)
};

// A number as the files carry it: leading white space, an optional sign and decimal digits
// up to the first other character; no digits read as 0. A number that does not fit an int
// has no value, so a hostile file can never wrap around into a valid-looking one.
std::optional<int> ReadFileNumber(std::wstring_view text);

// The attribute of the current element as a number; no value when the attribute is absent.
std::optional<int> ReadNumberAttribute(const CXmlDoc& doc, std::wstring_view name);

}  // namespace tavik
