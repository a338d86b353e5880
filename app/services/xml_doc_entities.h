#pragma once

#include <string_view>

namespace tavik {

// The code point of an HTML 4 named character reference ("amp", "eacute", plus "apos"), or 0.
// A name is looked up as written first, then with A-Z folded to lower case, so "&Alpha;" is
// U+0391 while "&ALPHA;" falls back to the lower-case letter U+03B1.
char32_t LookUpCharacterEntity(std::string_view name);

}  // namespace tavik
