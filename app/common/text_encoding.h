#pragma once

#include <string>
#include <string_view>

namespace tavik {

// The program works with wide text (UTF-16 on Windows, UTF-32 on Linux); files and the
// database hold UTF-8. Invalid sequences become U+FFFD rather than failing the whole text.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

// Appends one code point as wide text: a surrogate pair where wchar_t holds UTF-16.
void AppendCodePoint(std::wstring& out, char32_t code);
// Reads the character at text[*index] and advances past it; a surrogate pair is one
// character where wchar_t holds UTF-16, a lone surrogate is returned as it stands.
char32_t NextCodePoint(std::wstring_view text, size_t* index);

}  // namespace tavik
