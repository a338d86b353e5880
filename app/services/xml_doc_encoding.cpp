#include "app/services/xml_doc_encoding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <type_traits>

#include "app/common/text_encoding.h"

namespace tavik {
namespace {

struct EncodingName {
    const char* name;
    int codePage;
};

// Sorted by name (byte order) for binary search; names are lower case.
constexpr EncodingName kEncodingNames[] = {
    {"437", 437},
    {"850", 850},
    {"852", 852},
    {"866", 866},
    {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127},
    {"arabic", 28596},
    {"ascii", 20127},
    {"asmo-708", 708},
    {"big5", 950},
    {"big5-hkscs", 950},
    {"chinese", 936},
    {"cn-big5", 950},
    {"cp1025", 21025},
    {"cp1250", 1250},
    {"cp1251", 1251},
    {"cp1252", 1252},
    {"cp1253", 1253},
    {"cp1254", 1254},
    {"cp1255", 1255},
    {"cp1256", 1256},
    {"cp1257", 1257},
    {"cp1258", 1258},
    {"cp367", 20127},
    {"cp437", 437},
    {"cp819", 28591},
    {"cp850", 850},
    {"cp852", 852},
    {"cp866", 866},
    {"cp874", 874},
    {"cp932", 932},
    {"cp936", 936},
    {"cp949", 949},
    {"cp950", 950},
    {"csascii", 20127},
    {"csbig5", 950},
    {"cseuckr", 51949},
    {"cseucpkdfmtjapanese", 51932},
    {"csgb2312", 936},
    {"csiso2022jp", 50221},
    {"csiso2022kr", 50225},
    {"csiso58gb231280", 936},
    {"csisolatin1", 28591},
    {"csisolatin2", 28592},
    {"csisolatin4", 28594},
    {"csisolatin5", 28599},
    {"csisolatin9", 28605},
    {"csisolatinarabic", 28596},
    {"csisolatincyrillic", 28595},
    {"csisolatingreek", 28597},
    {"csisolatinhebrew", 28598},
    {"cskoi8r", 20866},
    {"csksc56011987", 949},
    {"csshiftjis", 932},
    {"cswindows31j", 932},
    {"cyrillic", 28595},
    {"dos-720", 720},
    {"dos-862", 862},
    {"dos-866", 866},
    {"ecma-114", 28596},
    {"ecma-118", 28597},
    {"elot_928", 28597},
    {"euc-cn", 51936},
    {"euc-jp", 51932},
    {"euc-kr", 51949},
    {"extended_unix_code_packed_format_for_japanese", 51932},
    {"gb18030", 54936},
    {"gb2312", 936},
    {"gb2312-80", 936},
    {"gb231280", 936},
    {"gb_2312-80", 936},
    {"gbk", 936},
    {"greek", 28597},
    {"greek8", 28597},
    {"hebrew", 28598},
    {"hz-gb-2312", 52936},
    {"ibm367", 20127},
    {"ibm437", 437},
    {"ibm737", 737},
    {"ibm775", 775},
    {"ibm819", 28591},
    {"ibm850", 850},
    {"ibm852", 852},
    {"ibm855", 855},
    {"ibm857", 857},
    {"ibm860", 860},
    {"ibm861", 861},
    {"ibm863", 863},
    {"ibm864", 864},
    {"ibm865", 865},
    {"ibm866", 866},
    {"ibm869", 869},
    {"iso-2022-jp", 50220},
    {"iso-2022-kr", 50225},
    {"iso-8859-1", 28591},
    {"iso-8859-11", 874},
    {"iso-8859-13", 28603},
    {"iso-8859-15", 28605},
    {"iso-8859-2", 28592},
    {"iso-8859-3", 28593},
    {"iso-8859-4", 28594},
    {"iso-8859-5", 28595},
    {"iso-8859-6", 28596},
    {"iso-8859-7", 28597},
    {"iso-8859-8", 28598},
    {"iso-8859-8-i", 38598},
    {"iso-8859-9", 28599},
    {"iso-ir-100", 28591},
    {"iso-ir-101", 28592},
    {"iso-ir-109", 28593},
    {"iso-ir-110", 28594},
    {"iso-ir-126", 28597},
    {"iso-ir-127", 28596},
    {"iso-ir-138", 28598},
    {"iso-ir-144", 28595},
    {"iso-ir-148", 28599},
    {"iso-ir-149", 949},
    {"iso-ir-58", 936},
    {"iso-ir-6", 20127},
    {"iso646-us", 20127},
    {"iso8859-1", 28591},
    {"iso8859-15", 28605},
    {"iso8859-2", 28592},
    {"iso_8859-1", 28591},
    {"iso_8859-15", 28605},
    {"iso_8859-1:1987", 28591},
    {"iso_8859-2", 28592},
    {"iso_8859-2:1987", 28592},
    {"iso_8859-5", 28595},
    {"iso_8859-5:1988", 28595},
    {"iso_8859-7", 28597},
    {"iso_8859-7:1987", 28597},
    {"iso_8859-9", 28599},
    {"iso_8859-9:1989", 28599},
    {"johab", 1361},
    {"koi", 20866},
    {"koi8", 20866},
    {"koi8-r", 20866},
    {"koi8-ru", 21866},
    {"koi8-u", 21866},
    {"koi8r", 20866},
    {"korean", 949},
    {"ks-c-5601", 949},
    {"ks-c5601", 949},
    {"ks_c_5601", 949},
    {"ks_c_5601-1987", 949},
    {"ks_c_5601-1989", 949},
    {"ks_c_5601_1987", 949},
    {"ksc5601", 949},
    {"ksc_5601", 949},
    {"l1", 28591},
    {"l2", 28592},
    {"l3", 28593},
    {"l4", 28594},
    {"l5", 28599},
    {"l9", 28605},
    {"latin1", 28591},
    {"latin2", 28592},
    {"latin3", 28593},
    {"latin4", 28594},
    {"latin5", 28599},
    {"latin9", 28605},
    {"logical", 28598},
    {"macintosh", 10000},
    {"ms_kanji", 932},
    {"shift-jis", 932},
    {"shift_jis", 932},
    {"sjis", 932},
    {"tis-620", 874},
    {"ucs-2", 1200},
    {"unicode", 1200},
    {"unicode-1-1-utf-7", 65000},
    {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-7", 65000},
    {"unicode-2-0-utf-8", 65001},
    {"unicodefffe", 1201},
    {"us", 20127},
    {"us-ascii", 20127},
    {"utf-16", 1200},
    {"utf-16be", 1201},
    {"utf-16le", 1200},
    {"utf-32", 12000},
    {"utf-32be", 12001},
    {"utf-32le", 12000},
    {"utf-7", 65000},
    {"utf-8", 65001},
    {"utf16", 1200},
    {"utf7", 65000},
    {"utf8", 65001},
    {"visual", 28598},
    {"windows-1250", 1250},
    {"windows-1251", 1251},
    {"windows-1252", 1252},
    {"windows-1253", 1253},
    {"windows-1254", 1254},
    {"windows-1255", 1255},
    {"windows-1256", 1256},
    {"windows-1257", 1257},
    {"windows-1258", 1258},
    {"windows-31j", 932},
    {"windows-874", 874},
    {"x-cp1250", 1250},
    {"x-cp1251", 1251},
    {"x-euc", 51932},
    {"x-euc-cn", 51936},
    {"x-euc-jp", 51932},
    {"x-gbk", 936},
    {"x-mac-roman", 10000},
    {"x-ms-cp932", 932},
    {"x-sjis", 932},
    {"x-unicode20utf8", 65001},
    {"x-x-big5", 950},
};

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The characters windows-1252 puts at 0x80-0x9F. The five unassigned bytes map to the C1
// control of the same number, as the Windows conversion does, so every byte survives a round trip.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// ISO-8859-15 replaces eight characters of ISO-8859-1.
struct Latin9Difference {
    unsigned char byte;
    char16_t code;
};
constexpr Latin9Difference kLatin9Differences[] = {
    {0xA4, 0x20AC}, {0xA6, 0x0160}, {0xA8, 0x0161}, {0xB4, 0x017D},
    {0xB8, 0x017E}, {0xBC, 0x0152}, {0xBD, 0x0153}, {0xBE, 0x0178},
};

char32_t Unit(wchar_t c) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

char32_t DecodeSingleByte(unsigned char byte, int codePage) {
    switch (codePage) {
        case kCodePageUsAscii:
            return byte < 0x80 ? byte : kReplacementCharacter;
        case kCodePageLatin1:
            return byte;
        case kCodePageLatin9:
            for (const auto& difference : kLatin9Differences) {
                if (difference.byte == byte) {
                    return difference.code;
                }
            }
            return byte;
        default:
            if (byte >= 0x80 && byte < 0xA0) {
                return kWindows1252High[byte - 0x80];
            }
            return byte;
    }
}

// The byte of a character in a single-byte code page, or -1 if it has none.
int EncodeSingleByte(char32_t code, int codePage) {
    switch (codePage) {
        case kCodePageUsAscii:
            return code < 0x80 ? static_cast<int>(code) : -1;
        case kCodePageLatin1:
            return code <= 0xFF ? static_cast<int>(code) : -1;
        case kCodePageLatin9:
            for (const auto& difference : kLatin9Differences) {
                if (difference.code == code) {
                    return difference.byte;
                }
                if (difference.byte == code) {
                    return -1;
                }
            }
            return code <= 0xFF ? static_cast<int>(code) : -1;
        default:
            if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
                return static_cast<int>(code);
            }
            for (int index = 0; index < 32; ++index) {
                if (kWindows1252High[index] == code) {
                    return 0x80 + index;
                }
            }
            return -1;
    }
}

bool DecodesAsUtf8(int codePage) {
    switch (codePage) {
        case kCodePageUtf8:
        case kCodePageUtf16Le:
        case kCodePageUtf16Be:
        case kCodePageUtf32Le:
        case kCodePageUtf32Be:
            return true;
        default:
            return false;
    }
}

}  // namespace

int CodePageFromName(std::wstring_view name) {
    if (name.size() >= 100 || name.empty()) {
        return 0;
    }
    if (name.substr(0, 6) == L"UTF-32") {
        return name == L"UTF-32BE" ? kCodePageUtf32Be : kCodePageUtf32Le;
    }
    std::string folded;
    folded.reserve(name.size());
    for (const wchar_t c : name) {
        const char32_t code = Unit(c);
        if (code >= 0x80) {
            return 0;
        }
        folded.push_back(static_cast<char>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code));
    }
    const auto found =
        std::lower_bound(std::begin(kEncodingNames), std::end(kEncodingNames), folded,
                         [](const EncodingName& entry, const std::string& key) {
                             return key.compare(entry.name) > 0;
                         });
    if (found == std::end(kEncodingNames) || folded != found->name) {
        return 0;
    }
    return found->codePage;
}

bool IsConvertibleCodePage(int codePage) {
    switch (codePage) {
        case kCodePageUtf8:
        case kCodePageUtf16Le:
        case kCodePageUtf16Be:
        case kCodePageUtf32Le:
        case kCodePageUtf32Be:
        case kCodePageUsAscii:
        case kCodePageLatin1:
        case kCodePageLatin9:
        case kCodePageWindows1252:
            return true;
        default:
            return false;
    }
}

std::wstring DecodeCodePage(std::string_view bytes, int codePage) {
    if (DecodesAsUtf8(codePage)) {
        return Utf8ToWide(bytes);
    }
    if (!IsConvertibleCodePage(codePage)) {
        codePage = kCodePageAnsi;
    }
    std::wstring out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        AppendCodePoint(out, DecodeSingleByte(static_cast<unsigned char>(byte), codePage));
    }
    return out;
}

std::string EncodeCodePage(std::wstring_view text, int codePage, bool* lossy) {
    *lossy = false;
    if (DecodesAsUtf8(codePage)) {
        return WideToUtf8(text);
    }
    if (!IsConvertibleCodePage(codePage)) {
        codePage = kCodePageAnsi;
    }
    std::string out;
    out.reserve(text.size());
    size_t index = 0;
    while (index < text.size()) {
        const int byte = EncodeSingleByte(NextCodePoint(text, &index), codePage);
        if (byte < 0) {
            *lossy = true;
            out.push_back('?');
        } else {
            out.push_back(static_cast<char>(byte));
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t index = 0;
    while (index < bytes.size()) {
        const auto lead = static_cast<uint8_t>(bytes[index]);
        size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++index;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - index < length) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(bytes[index + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        index += length;
    }
    return true;
}

std::wstring WideFromUtf16(std::u16string_view units) {
    std::wstring out;
    out.reserve(units.size());
    if constexpr (sizeof(wchar_t) == 2) {
        for (const char16_t unit : units) {
            out.push_back(static_cast<wchar_t>(unit));
        }
    } else {
        for (size_t index = 0; index < units.size(); ++index) {
            char32_t code = units[index];
            if (code >= 0xD800 && code <= 0xDBFF && index + 1 < units.size() &&
                units[index + 1] >= 0xDC00 && units[index + 1] <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (units[index + 1] - 0xDC00);
                ++index;
            } else if (code >= 0xD800 && code <= 0xDFFF) {
                code = kReplacementCharacter;
            }
            out.push_back(static_cast<wchar_t>(code));
        }
    }
    return out;
}

std::u16string Utf16FromWide(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    if constexpr (sizeof(wchar_t) == 2) {
        for (const wchar_t c : text) {
            out.push_back(static_cast<char16_t>(c));
        }
    } else {
        for (const wchar_t c : text) {
            char32_t code = Unit(c);
            if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                code = kReplacementCharacter;
            }
            if (code >= 0x10000) {
                code -= 0x10000;
                out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
            } else {
                out.push_back(static_cast<char16_t>(code));
            }
        }
    }
    return out;
}

}  // namespace tavik
