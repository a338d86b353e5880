#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/store/settings_database.h"
#include "store_test_support.h"

namespace tavik::test {

// A settings database freshly created for one test, plus a second connection to the same
// file for looking at rows apart from the code under test.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        MakeDataDirectory(m_temp);
        m_file = m_temp.Path() / "db" / "M700_datav8.db";
        ASSERT_TRUE(m_database.OpenForModel(m_temp.Wide(), L"M700"));
        ASSERT_TRUE(m_side.Open(m_file.u8string(), kSQLiteOpenReadWrite | kSQLiteOpenFullMutex));
    }

    // The first column of the first row, or -1.
    int SideInt(const std::string& sql) {
        SQLiteStatement statement;
        m_side.Prepare(statement, sql.c_str());
        return statement.Step() == kSQLiteRow ? statement.ColumnInt(0) : -1;
    }

    // Every row of a query, columns joined with '|', rows ended by '\n' (as the shell prints).
    std::wstring SideRows(const std::string& sql) {
        SQLiteStatement statement;
        m_side.Prepare(statement, sql.c_str());
        std::wstring rows;
        while (statement.Step() == kSQLiteRow) {
            for (int column = 0; column < statement.ColumnCount(); ++column) {
                if (column > 0) {
                    rows.push_back(L'|');
                }
                rows += statement.ColumnText(column);
            }
            rows.push_back(L'\n');
        }
        return rows;
    }

    TempDirectory m_temp;
    std::filesystem::path m_file;
    SettingsDatabase m_database;
    SQLiteDB m_side;
};

}  // namespace tavik::test
