#pragma once

#include <string>
#include <string_view>

namespace tavik {

// Windows code page numbers, the common currency of encoding names here.
constexpr int kCodePageUtf16Le = 1200;
constexpr int kCodePageUtf16Be = 1201;
constexpr int kCodePageWindows1252 = 1252;
constexpr int kCodePageUtf32Le = 12000;
constexpr int kCodePageUtf32Be = 12001;
constexpr int kCodePageUsAscii = 20127;
constexpr int kCodePageLatin1 = 28591;
constexpr int kCodePageLatin9 = 28605;
constexpr int kCodePageUtf7 = 65000;
constexpr int kCodePageUtf8 = 65001;

// Text that names no usable encoding is taken to be in this code page, the ANSI code page
// of Western Windows installations. It maps every byte to a character, so reading never fails.
constexpr int kCodePageAnsi = kCodePageWindows1252;

// The code page of an encoding name or alias: IANA charset names and Windows encoding names,
// letters A-Z folded to lower case ("UTF-8" and "utf8" give 65001). A name that starts with
// "UTF-32" (so written) gives UTF-32. Unknown names and names of 100 characters or more give 0.
int CodePageFromName(std::wstring_view name);

// True for the code pages that DecodeCodePage and EncodeCodePage convert themselves; every
// other code page is converted as kCodePageAnsi.
bool IsConvertibleCodePage(int codePage);

// Decodes bytes of a code page into wide text. Byte data declared as UTF-16 or UTF-32 can only
// have been recognised because it reads as ASCII, so it is decoded as UTF-8.
std::wstring DecodeCodePage(std::string_view bytes, int codePage);

// Encodes wide text into a code page. Characters the code page cannot represent become "?"
// and set *lossy; UTF-8 represents everything. UTF-16 and UTF-32 give UTF-8 here: the
// document writes UTF-16 itself, with a byte-order mark.
std::string EncodeCodePage(std::wstring_view text, int codePage, bool* lossy);

bool IsValidUtf8(std::string_view bytes);

// UTF-16 code units <-> wide text. On Windows both are the same units; on Linux surrogate
// pairs become one character, and unpaired surrogates become U+FFFD.
std::wstring WideFromUtf16(std::u16string_view units);
std::u16string Utf16FromWide(std::wstring_view text);

}  // namespace tavik
