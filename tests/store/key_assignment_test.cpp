#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/store/settings_database.h"
#include "store_fixture.h"

namespace tavik {
namespace {

using KeyAssignmentTest = test::StoreTest;

KeyAssignment Assignment(int profile, int keyCode, int type, int value1, int value2 = 0,
                         int value3 = 0) {
    KeyAssignment record;
    record.profile = profile;
    record.layer = 0;
    record.keyCode = keyCode;
    record.functionType = type;
    record.value1 = value1;
    record.value2 = value2;
    record.value3 = value3;
    record.description = L"desc " + std::to_wstring(keyCode);
    return record;
}

TEST_F(KeyAssignmentTest, SaveAndLoadRoundTripEveryField) {
    KeyAssignment record = Assignment(3, 4, 2, 0xE1, 0, 0x04);
    record.layoutValue = 9;
    record.layoutDescription = L"layout";
    record.description = L"Shift + A";
    const int keyId = m_database.SaveKeyAssignment(record);
    ASSERT_EQ(keyId, 1);
    EXPECT_EQ(SideRows("SELECT * FROM t_key_macro_data"),
              L"1|3|0|4|9|layout|2|225|0|4|Shift + A\n");

    KeyAssignment loaded;
    // The layer argument is not used by the reads: layer 0 is the only one written.
    ASSERT_TRUE(m_database.GetKeyAssignment(3, 5, 4, loaded));
    EXPECT_EQ(loaded.keyId, keyId);
    EXPECT_EQ(loaded.profile, 3);
    EXPECT_EQ(loaded.layer, 0);
    EXPECT_EQ(loaded.keyCode, 4);
    EXPECT_EQ(loaded.layoutValue, 9);
    EXPECT_EQ(loaded.layoutDescription, L"layout");
    EXPECT_EQ(loaded.functionType, 2);
    EXPECT_EQ(loaded.value1, 0xE1);
    EXPECT_EQ(loaded.value2, 0);
    EXPECT_EQ(loaded.value3, 4);
    EXPECT_EQ(loaded.description, L"Shift + A");
}

TEST_F(KeyAssignmentTest, SavingReplacesTheButtonsRowAndZeroValuesRemoveIt) {
    ASSERT_NE(m_database.SaveKeyAssignment(Assignment(1, 2, 1, 3)), 0);
    ASSERT_NE(m_database.SaveKeyAssignment(Assignment(1, 3, 5, 7, 10, 0)), 0);
    ASSERT_NE(m_database.SaveKeyAssignment(Assignment(2, 2, 8, 1)), 0);
    const int replaced = m_database.SaveKeyAssignment(Assignment(1, 2, 4, 6));
    EXPECT_EQ(replaced, 4);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_key_macro_data WHERE profile = 1 AND key_code = 2"),
              1);

    std::vector<KeyAssignment> list(5);
    ASSERT_EQ(m_database.ListKeyAssignments(1, 0, list), 2);
    EXPECT_EQ(list[0].keyCode, 3);
    EXPECT_EQ(list[1].functionType, 4);

    // A macro with value 1 = 0 but a repeat count is still stored.
    EXPECT_NE(m_database.SaveKeyAssignment(Assignment(1, 6, 5, 0, 3)), 0);

    // Both values 0: the row goes and the button falls back to its default.
    EXPECT_EQ(m_database.SaveKeyAssignment(Assignment(1, 2, 0, 0)), 0);
    KeyAssignment loaded;
    EXPECT_FALSE(m_database.GetKeyAssignment(1, 0, 2, loaded));

    EXPECT_TRUE(m_database.SetKeyDescription(1, 0, 3, L"Macro 1"));
    ASSERT_TRUE(m_database.GetKeyAssignment(1, 0, 3, loaded));
    EXPECT_EQ(loaded.description, L"Macro 1");

    EXPECT_TRUE(m_database.DeleteProfileKeys(1));
    EXPECT_EQ(m_database.ListKeyAssignments(1, 0, list), 0);
    EXPECT_EQ(m_database.ListKeyAssignments(2, 0, list), 1) << "other profiles keep theirs";
}

struct ComputerFunctionCase {
    const char* name;
    int type;
    int value1;
    int value2;
    bool stored;
};

// The mouse reports a computer-side function with its id in one byte.
constexpr ComputerFunctionCase kComputerFunctionCases[] = {
    {"program id 1", 9, 1, 0, true},
    {"address id 255", 10, 255, 0, true},
    {"text id 256", 11, 256, 0, false},
    {"program id 257 would come back as 1", 9, 257, 0, false},
    {"address id 0 with a second value", 10, 0, 1, false},
    {"negative text id", 11, -1, 0, false},
    {"macro ids are not reported by the mouse", 5, 300, 1, true},
};

TEST_F(KeyAssignmentTest, ComputerFunctionIdsMustFitTheReportedByte) {
    const int keyCode = 7;
    for (const ComputerFunctionCase& c : kComputerFunctionCases) {
        ASSERT_NE(m_database.SaveKeyAssignment(Assignment(1, keyCode, 1, 3)), 0);
        const int keyId =
            m_database.SaveKeyAssignment(Assignment(1, keyCode, c.type, c.value1, c.value2));
        KeyAssignment loaded;
        ASSERT_TRUE(m_database.GetKeyAssignment(1, 0, keyCode, loaded)) << c.name;
        if (c.stored) {
            EXPECT_NE(keyId, 0) << c.name;
            EXPECT_EQ(loaded.functionType, c.type) << c.name;
            EXPECT_EQ(loaded.value1, c.value1) << c.name;
        } else {
            EXPECT_EQ(keyId, 0) << c.name;
            // The earlier assignment stays as it was.
            EXPECT_EQ(loaded.functionType, 1) << c.name;
            EXPECT_EQ(loaded.value1, 3) << c.name;
        }
    }
}

TEST_F(KeyAssignmentTest, ExtraDataIsFoundByIdAndReused) {
    const int program = m_database.AddKeyExtraData(L"Notes", L"C:\\Tools\\notes.exe", 9);
    const int address = m_database.AddKeyExtraData(L"https://example.org", L"", 10);
    ASSERT_EQ(program, 1);
    ASSERT_EQ(address, 2);
    EXPECT_EQ(m_database.AddKeyExtraData(L"Notes", L"C:\\Tools\\notes.exe", 9), program);
    EXPECT_EQ(m_database.AddKeyExtraData(L"Notes", L"C:\\Other\\notes.exe", 9), 3);
    EXPECT_EQ(SideRows("SELECT * FROM t_key_otherdata ORDER BY macro_value"),
              L"1|Notes|C:\\Tools\\notes.exe|9\n2|https://example.org||10\n"
              L"3|Notes|C:\\Other\\notes.exe|9\n");

    std::wstring description;
    std::wstring parameter;
    int type = 0;
    ASSERT_TRUE(m_database.GetKeyExtraData(program, description, parameter, type));
    EXPECT_EQ(description, L"Notes");
    EXPECT_EQ(parameter, L"C:\\Tools\\notes.exe");
    EXPECT_EQ(type, 9);

    description = L"kept";
    parameter = L"kept";
    type = -5;
    EXPECT_FALSE(m_database.GetKeyExtraData(77, description, parameter, type));
    EXPECT_EQ(description, L"kept");
    EXPECT_EQ(parameter, L"kept");
    EXPECT_EQ(type, -5);
}

TEST_F(KeyAssignmentTest, ExtraDataStopsAtTheLastIdOfOneByte) {
    SQLiteAutoTransaction batch(&m_side);
    for (int n = 1; n <= 254; ++n) {
        ASSERT_EQ(m_side.Execute(("INSERT INTO t_key_otherdata(macro_desc, param, type) VALUES "
                                  "('p" +
                                  std::to_string(n) + "', '', 10)")
                                     .c_str()),
                  kSQLiteOk);
    }
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(m_database.AddKeyExtraData(L"last", L"", 10), 255);
    EXPECT_EQ(m_database.AddKeyExtraData(L"one too many", L"", 10), 0);
    EXPECT_EQ(SideInt("SELECT max(macro_value) FROM t_key_otherdata"), 255);
    EXPECT_EQ(m_database.AddKeyExtraData(L"p7", L"", 10), 7) << "a known address still works";
}

}  // namespace
}  // namespace tavik
