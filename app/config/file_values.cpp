#include "app/config/file_values.h"

#include <limits>

#include "app/services/xml_doc.h"

namespace tavik {

const wchar_t kXmlDeclarationLine[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::optional<int> ReadFileNumber(std::wstring_view text) {
    size_t position = 0;
    while (position < text.size() &&
           (text[position] == L' ' || (text[position] >= L'\t' && text[position] <= L'\r'))) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == L'-' || text[position] == L'+')) {
        negative = text[position] == L'-';
        ++position;
    }
    long long value = 0;
    for (; position < text.size() && text[position] >= L'0' && text[position] <= L'9'; ++position) {
        value = value * 10 + (text[position] - L'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<int> ReadNumberAttribute(const CXmlDoc& doc, std::wstring_view name) {
    // GetAttribute cannot tell an absent attribute from an empty one; the start tag can.
    const std::wstring value = doc.GetAttribute(name);
    if (value.empty() && !doc.HasAttribute(name)) {
        return std::nullopt;
    }
    return ReadFileNumber(value);
}

}  // namespace tavik
