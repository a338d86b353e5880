#pragma once

#include <string>
#include <string_view>

namespace tavik {

// The program works with wide text (UTF-16 on Windows, UTF-32 on Linux); files and the
// database hold UTF-8. Invalid sequences become U+FFFD rather than failing the whole text.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

}  // namespace tavik
