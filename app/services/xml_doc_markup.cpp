#include "app/services/xml_doc_markup.h"

#include "app/common/text_encoding.h"
#include "app/services/xml_doc_entities.h"

namespace tavik::xml_markup {
namespace {

bool IsAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexDigit(char32_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<int>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<int>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<int>(c - 'A' + 10);
    }
    return -1;
}

// Tries to decode the character reference at value[ampersand]; on success appends the
// character and returns the position after the ";", else returns kNotFound.
size_t DecodeReference(std::wstring_view value, size_t ampersand, std::wstring& out) {
    size_t index = ampersand + 1;
    if (index < value.size() && value[index] == L'#') {
        ++index;
        const bool hex = index < value.size() && value[index] == L'x';
        if (hex) {
            ++index;
        }
        const size_t digitsStart = index;
        char32_t code = 0;
        bool outOfRange = false;
        while (index < value.size()) {
            const char32_t c = Unit(value[index]);
            const int digit = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? int(c - '0') : -1);
            if (digit < 0) {
                break;
            }
            if (!outOfRange) {
                code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
                outOfRange = code > 0x10FFFF;
            }
            ++index;
        }
        // Zero, surrogates and values past Unicode name no character: they stay as written.
        if (index == digitsStart || index >= value.size() || value[index] != L';' || outOfRange ||
            code == 0 || (code >= 0xD800 && code <= 0xDFFF)) {
            return kNotFound;
        }
        AppendCodePoint(out, code);
        return index + 1;
    }
    std::string name;
    while (index < value.size() && value[index] != L';') {
        const char32_t c = Unit(value[index]);
        if (c >= 0x80 || name.size() == 9) {
            return kNotFound;
        }
        name.push_back(static_cast<char>(c));
        ++index;
    }
    if (index >= value.size() || name.empty()) {
        return kNotFound;
    }
    const char32_t code = LookUpCharacterEntity(name);
    if (code == 0) {
        return kNotFound;
    }
    AppendCodePoint(out, code);
    return index + 1;
}

}  // namespace

bool OpensStartTag(wchar_t c) {
    const char32_t code = Unit(c);
    return IsAsciiLetter(code) || code == ':' || code == '_' || code >= '{';
}

bool IsWritableName(std::wstring_view name) {
    if (name.empty()) {
        return false;
    }
    for (size_t index = 0; index < name.size(); ++index) {
        const char32_t code = Unit(name[index]);
        const bool start = IsAsciiLetter(code) || code == '_' || code == ':' || code >= 0x80;
        const bool inner = start || (code >= '0' && code <= '9') || code == '-' || code == '.';
        if (index == 0 ? !start : !inner) {
            return false;
        }
    }
    return true;
}

bool EqualsIgnoringAsciiCase(std::wstring_view left, std::wstring_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (size_t index = 0; index < left.size(); ++index) {
        char32_t a = Unit(left[index]);
        char32_t b = Unit(right[index]);
        a = (a >= 'A' && a <= 'Z') ? a + ('a' - 'A') : a;
        b = (b >= 'A' && b <= 'Z') ? b + ('a' - 'A') : b;
        if (a != b) {
            return false;
        }
    }
    return true;
}

size_t FindIgnoringAsciiCase(std::wstring_view text, std::wstring_view word) {
    if (word.size() > text.size()) {
        return kNotFound;
    }
    for (size_t index = 0; index + word.size() <= text.size(); ++index) {
        if (EqualsIgnoringAsciiCase(text.substr(index, word.size()), word)) {
            return index;
        }
    }
    return kNotFound;
}

namespace {

// Attribute values also escape both quotes, so any quoting reads back.
std::wstring Escape(std::wstring_view value, bool quotes) {
    std::wstring out;
    out.reserve(value.size() + 16);
    for (const wchar_t c : value) {
        switch (c) {
            case L'<':
                out += L"&lt;";
                break;
            case L'&':
                out += L"&amp;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            case L'\'':
                out += quotes ? L"&apos;" : L"'";
                break;
            case L'"':
                out += quotes ? L"&quot;" : L"\"";
                break;
            default:
                out.push_back(c);
                break;
        }
    }
    return out;
}

}  // namespace

std::wstring EscapeAttribute(std::wstring_view value) {
    return Escape(value, true);
}

std::wstring EscapeText(std::wstring_view value) {
    return Escape(value, false);
}

std::wstring DecodeAttributeValue(std::wstring_view value) {
    std::wstring out;
    out.reserve(value.size());
    size_t index = 0;
    while (index < value.size()) {
        if (value[index] == L'&') {
            const size_t next = DecodeReference(value, index, out);
            if (next != kNotFound) {
                index = next;
                continue;
            }
        }
        out.push_back(value[index]);
        ++index;
    }
    return out;
}

size_t ScanTagName(std::wstring_view text, size_t from, size_t limit) {
    while (from < limit && !IsSpace(text[from]) && text[from] != L'/' && text[from] != L'>') {
        ++from;
    }
    return from;
}

AttributeScanEnd ScanAttributes(std::wstring_view text, size_t from, size_t limit, bool stopAtStray,
                                std::wstring_view wanted, size_t* stoppedAt, AttributeSpan* span) {
    *span = AttributeSpan();
    size_t index = from;
    for (;;) {
        while (index < limit && IsSpace(text[index])) {
            ++index;
        }
        *stoppedAt = index;
        if (index >= limit) {
            return AttributeScanEnd::kUnterminated;
        }
        const wchar_t c = text[index];
        if (c == L'>') {
            return AttributeScanEnd::kTagEnd;
        }
        if (c == L'/' && index + 1 < limit && text[index + 1] == L'>') {
            return AttributeScanEnd::kEmptyTagEnd;
        }
        if (c == L'/' || c == L'?') {
            if (stopAtStray) {
                return AttributeScanEnd::kStray;
            }
            ++index;
            continue;
        }
        AttributeSpan current;
        current.nameStart = index;
        while (index < limit && !IsSpace(text[index]) && text[index] != L'=' &&
               text[index] != L'>' && text[index] != L'/' && text[index] != L'?') {
            ++index;
        }
        current.nameEnd = index;
        size_t equals = index;
        while (equals < limit && IsSpace(text[equals])) {
            ++equals;
        }
        if (equals < limit && text[equals] == L'=') {
            index = equals + 1;
            while (index < limit && IsSpace(text[index])) {
                ++index;
            }
            if (index >= limit) {
                *stoppedAt = index;
                return AttributeScanEnd::kUnterminated;
            }
            current.hasValue = true;
            current.valueStart = index;
            const wchar_t quote = text[index];
            if (quote == L'"' || quote == L'\'') {
                const size_t close = text.find(quote, index + 1);
                if (close == kNotFound || close >= limit) {
                    *stoppedAt = limit;
                    return AttributeScanEnd::kUnterminated;
                }
                current.quoted = true;
                index = close + 1;
            } else {
                // An unquoted value ends at white space or ">", and also before the "/>" of
                // an empty-element tag, which would otherwise be lost when it is replaced.
                while (index < limit && !IsSpace(text[index]) && text[index] != L'>' &&
                       !(text[index] == L'/' && index + 1 < limit && text[index + 1] == L'>')) {
                    ++index;
                }
            }
            current.valueEnd = index;
        }
        *span = current;
        if (!wanted.empty() &&
            text.substr(current.nameStart, current.nameEnd - current.nameStart) == wanted) {
            *stoppedAt = current.nameStart;
            return AttributeScanEnd::kFound;
        }
    }
}

std::wstring XmlDeclarationEncoding(std::wstring_view text) {
    if (text.size() < 6 || text.substr(0, 5) != L"<?xml" || !IsSpace(text[5])) {
        return {};
    }
    const size_t close = text.find(L"?>", 5);
    if (close == kNotFound) {
        return {};
    }
    size_t stoppedAt = 0;
    AttributeSpan span;
    const auto end = ScanAttributes(text, 5, close, true, L"encoding", &stoppedAt, &span);
    if (end != AttributeScanEnd::kFound || !span.hasValue) {
        return {};
    }
    size_t start = span.valueStart;
    size_t stop = span.valueEnd;
    if (span.quoted) {
        ++start;
        --stop;
    }
    return std::wstring(text.substr(start, stop - start));
}

bool FindAttributeInTag(std::wstring_view text, size_t start, size_t tagLength,
                        std::wstring_view name, AttributeSpan* span, size_t* stoppedAt) {
    const size_t limit = std::min(start + tagLength, text.size());
    const size_t nameEnd = ScanTagName(text, std::min(start + 1, limit), limit);
    const auto end = ScanAttributes(text, nameEnd, limit, true, name, stoppedAt, span);
    return end == AttributeScanEnd::kFound;
}

uint32_t NameHash(std::wstring_view name) {
    uint32_t hash = 2166136261u;
    for (const wchar_t c : name) {
        hash = (hash ^ static_cast<uint32_t>(Unit(c))) * 16777619u;
    }
    return hash;
}

}  // namespace tavik::xml_markup
