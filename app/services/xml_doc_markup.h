#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// Scanning, escaping and decoding of markup, shared by the parts of CXmlDoc.
namespace tavik::xml_markup {

constexpr size_t kNotFound = std::wstring_view::npos;

// A wide character as an unsigned number (wchar_t is signed on Linux).
inline char32_t Unit(wchar_t c) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

inline bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// What may follow "<" to open a start tag: an ASCII letter, ":", "_" or anything from "{" up.
bool OpensStartTag(wchar_t c);

// Names the program writes must read back as the same element or attribute, here and in any
// other XML reader: a letter, "_", ":" or non-ASCII character first, then also digits, "-", ".".
bool IsWritableName(std::wstring_view name);

bool EqualsIgnoringAsciiCase(std::wstring_view left, std::wstring_view right);
size_t FindIgnoringAsciiCase(std::wstring_view text, std::wstring_view word);

// Attribute values escape < & > ' and "; element text only < & and >.
std::wstring EscapeAttribute(std::wstring_view value);
std::wstring EscapeText(std::wstring_view value);

// Decodes character references (&#65; &#x41;) and HTML 4 named references (&eacute;).
// Anything that is not a complete, known reference stays as written.
std::wstring DecodeAttributeValue(std::wstring_view value);

// The end of a tag name that starts at `from`: white space, "/" or ">" end it.
size_t ScanTagName(std::wstring_view text, size_t from, size_t limit);

enum class AttributeScanEnd { kTagEnd, kEmptyTagEnd, kStray, kFound, kUnterminated };

// Where an attribute sits in the text.
struct AttributeSpan {
    size_t nameStart = 0;
    size_t nameEnd = 0;
    size_t valueStart = 0;  // at the opening quote of a quoted value
    size_t valueEnd = 0;    // past the closing quote
    bool hasValue = false;
    bool quoted = false;

    // "name=" with nothing after it but the end of the tag: text put right behind it would
    // be read as its value.
    bool HasDanglingEquals() const { return hasValue && !quoted && valueStart == valueEnd; }
};

// Scans the attributes of a start tag (or of the XML declaration) from `from` up to `limit`.
// The indexer and the attribute operations share this scan so that they agree where a tag
// ends. The scan ends with kFound at the first attribute named `wanted` (never for an empty
// name), with kTagEnd at ">" and with kEmptyTagEnd at "/>". With `stopAtStray` any other "/"
// or "?" between attributes ends it too (kStray); without, they are skipped. *stoppedAt is
// where the scan ended (the attribute's name for kFound); *span is the attribute found, or
// else the last one scanned (all zero if there was none).
AttributeScanEnd ScanAttributes(std::wstring_view text, size_t from, size_t limit, bool stopAtStray,
                                std::wstring_view wanted, size_t* stoppedAt, AttributeSpan* span);

// Finds an attribute in the start tag text[start, start + tagLength); the scan stops at "/",
// ">" or "?" between attributes, and *stoppedAt says where, for inserting a new attribute.
bool FindAttributeInTag(std::wstring_view text, size_t start, size_t tagLength,
                        std::wstring_view name, AttributeSpan* span, size_t* stoppedAt);

// The raw value of the encoding attribute of an XML declaration at the very start of the text.
std::wstring XmlDeclarationEncoding(std::wstring_view text);

// A hash of a tag name, to match end tags against open elements cheaply.
uint32_t NameHash(std::wstring_view name);

}  // namespace tavik::xml_markup
