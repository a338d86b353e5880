#include "app/common/text_encoding.h"

#include <cstdint>
#include <type_traits>

namespace tavik {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsValidScalar(char32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

}  // namespace

void AppendCodePoint(std::wstring& out, char32_t code) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(code));
}

char32_t NextCodePoint(std::wstring_view text, size_t* index) {
    const auto unit = [&](size_t at) {
        return static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[at]));
    };
    char32_t code = unit(*index);
    ++*index;
    if (sizeof(wchar_t) == 2 && code >= 0xD800 && code <= 0xDBFF && *index < text.size()) {
        const char32_t low = unit(*index);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++*index;
        }
    }
    return code;
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    size_t index = 0;
    while (index < text.size()) {
        const char32_t code = NextCodePoint(text, &index);
        AppendUtf8(out, IsValidScalar(code) ? code : kReplacement);
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                code = (code << 6) | (next & 0x3F);
            }
        }
        // Overlong forms are refused so one character has one encoding.
        static constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (code < kMinimum[length] || !IsValidScalar(code))) {
            valid = false;
        }
        if (!valid) {
            AppendCodePoint(out, kReplacement);
            ++i;
            continue;
        }
        AppendCodePoint(out, code);
        i += length;
    }
    return out;
}

}  // namespace tavik
