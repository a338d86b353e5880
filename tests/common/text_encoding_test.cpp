#include "app/common/text_encoding.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(TextEncoding, RoundTripsEveryPlane) {
    const std::string utf8 = "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x96\xB1";  // A é 中 🖱
    const std::wstring wide = Utf8ToWide(utf8);
    ASSERT_EQ(wide.size(), sizeof(wchar_t) == 2 ? 5u : 4u);
    EXPECT_EQ(wide[0], L'A');
    EXPECT_EQ(wide[2], static_cast<wchar_t>(0x4E2D));
    EXPECT_EQ(WideToUtf8(wide), utf8);
}

TEST(TextEncoding, InvalidInputBecomesReplacementCharacters) {
    struct Case {
        const char* name;
        std::string input;
        size_t replacements;
    };
    const Case cases[] = {
        {"truncated", "\xE4\xB8", 2},
        {"stray continuation", "\x80x", 1},
        {"overlong slash", "\xC0\xAF", 2},
        {"encoded surrogate", "\xED\xA0\x80", 3},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", 4},
    };
    for (const Case& c : cases) {
        const std::wstring wide = Utf8ToWide(c.input);
        size_t count = 0;
        for (wchar_t ch : wide) {
            count += ch == static_cast<wchar_t>(0xFFFD);
        }
        EXPECT_EQ(count, c.replacements) << c.name;
    }
}

TEST(TextEncoding, LoneSurrogateInWideTextIsReplaced) {
    std::wstring wide;
    wide.push_back(static_cast<wchar_t>(0xD800));
    wide.push_back(L'x');
    EXPECT_EQ(WideToUtf8(wide), "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace tavik
