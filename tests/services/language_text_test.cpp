// Text lookups through the platform's initialization-file reader, from the language files
// the build writes. The build copies them into "language\" beside this test's exe, which is
// where GetLanguageText looks (the folder of the running program).
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/common/text_encoding.h"
#include "app/services/language_text.h"
#include "orvo/manager.h"

namespace tavik {
namespace {

struct TableRow {
    int number = 0;
    std::string english;  // UTF-8, as written in the table
    std::string chinese;
};

// The source table of the language files: number, where, English, Chinese.
std::vector<TableRow> ReadTextTable() {
    std::ifstream table(std::string(TAVIK_SOURCE_DIR) + "/assets/language/texts.tsv",
                        std::ios::binary);
    std::vector<TableRow> rows;
    std::string line;
    bool headerSeen = false;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (!headerSeen) {
            headerSeen = true;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t')) {
            fields.push_back(field);
        }
        if (fields.size() != 4) {
            ADD_FAILURE() << "table line with " << fields.size() << " fields: " << line;
            continue;
        }
        rows.push_back({std::stoi(fields[0]), fields[2], fields[3]});
    }
    return rows;
}

class LanguageTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring folder = Orvo::Manager::GetProgramDirectory() + L"language\\";
        for (const wchar_t* name : {L"1033.lan", L"2052.lan"}) {
            ASSERT_NE(GetFileAttributesW((folder + name).c_str()), INVALID_FILE_ATTRIBUTES)
                << "missing " << WideToUtf8(folder + name);
        }
    }
    void TearDown() override { SetCurrentLanguage(1033); }
};

TEST_F(LanguageTextTest, KnownTextsInBothLanguages) {
    struct Case {
        int language;
        int number;
        const wchar_t* text;
    };
    const Case cases[] = {
        {1033, 12, L"Exit"},
        {2052, 12, L"\u9000\u51fa"},  // 退出
        {1033, 61, L"Profile"},
        {2052, 61, L"\u914d\u7f6e"},  // 配置, the word stored profile names are matched with
        {1033, 351, L"Macro"},
        {2052, 351, L"\u5b8f"},  // 宏
        // A text that begins with a blank survives the reader, which drops unquoted blanks.
        {1033, 537, L" min"},
        {2052, 537, L"\u5206\u949f"},  // 分钟
        {1033, 460, L"Example 1 - Blessing"},
        {2052, 460, L"1 \u5b9e\u4f8b - \u795d\u798f"},  // 1 实例 - 祝福
    };
    for (const Case& test : cases) {
        SetCurrentLanguage(test.language);
        EXPECT_EQ(GetLanguageText(test.number), test.text)
            << "language " << test.language << ", text " << test.number;
    }
}

TEST_F(LanguageTextTest, EveryTableTextReadsBackUnchanged) {
    const std::vector<TableRow> rows = ReadTextTable();
    ASSERT_GT(rows.size(), 200u);
    for (const TableRow& row : rows) {
        SetCurrentLanguage(1033);
        EXPECT_EQ(GetLanguageText(row.number), Utf8ToWide(row.english)) << "1033: " << row.number;
        SetCurrentLanguage(2052);
        EXPECT_EQ(GetLanguageText(row.number), Utf8ToWide(row.chinese)) << "2052: " << row.number;
    }
}

TEST_F(LanguageTextTest, MissingTextsAreEmpty) {
    for (int language : {1033, 2052}) {
        SetCurrentLanguage(language);
        EXPECT_EQ(GetLanguageText(99999), L"") << language;
        EXPECT_EQ(GetLanguageText(-1), L"") << language;
        EXPECT_EQ(GetLanguageText(0), L"") << language;
        EXPECT_EQ(GetLanguageText(L"OTHER", 12), L"") << language;
        EXPECT_EQ(GetLanguageText(L"LAN", 12).empty(), false) << language;
    }
    // No file is shipped for this language.
    SetCurrentLanguage(1041);
    EXPECT_EQ(GetLanguageText(12), L"");
}

}  // namespace
}  // namespace tavik
