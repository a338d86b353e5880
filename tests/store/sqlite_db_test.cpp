#include "app/store/sqlite_db.h"

#include <gtest/gtest.h>

#include <string>

#include "store_test_support.h"

namespace tavik {
namespace {

constexpr int kCreateFlags = kSQLiteOpenReadWrite | kSQLiteOpenCreate | kSQLiteOpenFullMutex;

// Reads the first column of the first row of a query, or "" when there is none.
std::wstring QueryText(SQLiteDB& db, const char* sql) {
    SQLiteStatement statement;
    db.Prepare(statement, sql);
    if (statement.Step() != kSQLiteRow) {
        return std::wstring();
    }
    return statement.ColumnText(0);
}

int QueryInt(SQLiteDB& db, const char* sql) {
    SQLiteStatement statement;
    db.Prepare(statement, sql);
    if (statement.Step() != kSQLiteRow) {
        return -1;
    }
    return statement.ColumnInt(0);
}

class SQLiteDBTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_file = (m_temp.Path() / "wrapper.db").u8string();
    }

    test::TempDirectory m_temp;
    std::string m_file;
};

TEST_F(SQLiteDBTest, ClosedConnectionRefusesEverything) {
    SQLiteDB db;
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.LastInsertRowId(), -1);
    EXPECT_EQ(db.Execute("SELECT 1"), kSQLiteMisuse);
    SQLiteStatement statement;
    EXPECT_EQ(db.Prepare(statement, "SELECT 1"), kSQLiteMisuse);
    EXPECT_FALSE(statement.IsPrepared());
    EXPECT_TRUE(db.Close());
}

TEST_F(SQLiteDBTest, OpenFailureLeavesNoConnection) {
    SQLiteDB db;
    const std::string missing = (m_temp.Path() / "no-such-folder" / "x.db").u8string();
    EXPECT_FALSE(db.Open(missing, kCreateFlags));
    EXPECT_FALSE(db.IsOpen());
    // Without the create flag a missing file is not made.
    EXPECT_FALSE(db.Open(m_file, kSQLiteOpenReadWrite));
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(SQLiteDBTest, EveryOpenUsesWriteAheadLoggingWithNormalSync) {
    {
        SQLiteDB db;
        ASSERT_TRUE(db.Open(m_file, kCreateFlags));
        ASSERT_EQ(db.Execute("CREATE TABLE t (x INTEGER)"), kSQLiteOk);
        EXPECT_EQ(QueryText(db, "PRAGMA journal_mode"), L"wal");
        EXPECT_EQ(QueryInt(db, "PRAGMA synchronous"), 1);  // NORMAL
    }
    // Synchronous is a setting of the connection: a reopen must set it again.
    SQLiteDB db;
    ASSERT_TRUE(db.Open(m_file, kSQLiteOpenReadWrite));
    EXPECT_EQ(QueryText(db, "PRAGMA journal_mode"), L"wal");
    EXPECT_EQ(QueryInt(db, "PRAGMA synchronous"), 1);
}

TEST_F(SQLiteDBTest, FailedPrepareMakesBindsAndStepMisuse) {
    SQLiteDB db;
    ASSERT_TRUE(db.Open(m_file, kCreateFlags));
    SQLiteStatement statement;
    EXPECT_NE(db.Prepare(statement, "SELECT * FROM missing_table WHERE a = ? AND b = ?"),
              kSQLiteOk);
    EXPECT_FALSE(statement.IsPrepared());
    EXPECT_EQ(statement.BindInt(1, 7), kSQLiteMisuse);
    EXPECT_EQ(statement.BindText(2, "x", 1), kSQLiteMisuse);
    EXPECT_EQ(statement.BindText(2, std::wstring_view(L"x")), kSQLiteMisuse);
    EXPECT_EQ(statement.Step(), kSQLiteMisuse);
    EXPECT_EQ(statement.ColumnInt(0), 0);
    EXPECT_EQ(statement.ColumnText(0), L"");
    EXPECT_EQ(db.Prepare(statement, nullptr), kSQLiteMisuse);
    EXPECT_EQ(db.Execute(nullptr), kSQLiteMisuse);
}

TEST_F(SQLiteDBTest, TextIsStoredAsUtf8AndReadBackWide) {
    SQLiteDB db;
    ASSERT_TRUE(db.Open(m_file, kCreateFlags));
    ASSERT_EQ(db.Execute("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, s TEXT, n "
                         "INTEGER)"),
              kSQLiteOk);
    // A CJK word and a character outside the basic plane (a surrogate pair on Windows).
    const std::wstring text = Utf8ToWide("\xE9\x85\x8D\xE7\xBD\xAE \xF0\x9F\x96\xB1");
    SQLiteStatement insert;
    ASSERT_EQ(db.Prepare(insert, "INSERT INTO t(s, n) VALUES (?, ?)"), kSQLiteOk);
    EXPECT_EQ(insert.BindText(1, std::wstring_view(text)), kSQLiteOk);
    EXPECT_EQ(insert.BindInt(2, -2147483647 - 1), kSQLiteOk);
    EXPECT_EQ(insert.Step(), kSQLiteDone);
    EXPECT_EQ(db.LastInsertRowId(), 1);

    EXPECT_EQ(QueryText(db, "SELECT hex(s) FROM t"), L"E9858DE7BDAE20F09F96B1");
    EXPECT_EQ(QueryText(db, "SELECT s FROM t"), text);
    EXPECT_EQ(QueryInt(db, "SELECT n FROM t"), -2147483647 - 1);

    // A NULL column reads as empty text and zero.
    ASSERT_EQ(db.Execute("INSERT INTO t(s, n) VALUES (NULL, NULL)"), kSQLiteOk);
    SQLiteStatement select;
    ASSERT_EQ(db.Prepare(select, "SELECT s, n FROM t WHERE id = 2"), kSQLiteOk);
    ASSERT_EQ(select.Step(), kSQLiteRow);
    EXPECT_EQ(select.ColumnText(0), L"");
    EXPECT_EQ(select.ColumnInt(1), 0);
}

TEST_F(SQLiteDBTest, TransactionLeftWithoutCommitIsCommitted) {
    SQLiteDB writer;
    ASSERT_TRUE(writer.Open(m_file, kCreateFlags));
    ASSERT_EQ(writer.Execute("CREATE TABLE t (x INTEGER)"), kSQLiteOk);
    {
        SQLiteAutoTransaction transaction(&writer);
        EXPECT_FALSE(transaction.Begin());  // already open
        ASSERT_EQ(writer.Execute("INSERT INTO t VALUES (1); INSERT INTO t VALUES (2)"), kSQLiteOk);
        SQLiteDB reader;
        ASSERT_TRUE(reader.Open(m_file, kSQLiteOpenReadWrite));
        EXPECT_EQ(QueryInt(reader, "SELECT count(*) FROM t"), 0) << "still inside BEGIN";
    }
    SQLiteDB reader;
    ASSERT_TRUE(reader.Open(m_file, kSQLiteOpenReadWrite));
    EXPECT_EQ(QueryInt(reader, "SELECT count(*) FROM t"), 2);
}

TEST_F(SQLiteDBTest, TransactionCommitAndBeginAgain) {
    SQLiteDB db;
    ASSERT_TRUE(db.Open(m_file, kCreateFlags));
    ASSERT_EQ(db.Execute("CREATE TABLE t (x INTEGER)"), kSQLiteOk);
    SQLiteAutoTransaction transaction(&db);
    ASSERT_EQ(db.Execute("INSERT INTO t VALUES (1)"), kSQLiteOk);
    EXPECT_TRUE(transaction.Commit());
    EXPECT_TRUE(transaction.Begin());
    ASSERT_EQ(db.Execute("INSERT INTO t VALUES (2)"), kSQLiteOk);
    EXPECT_TRUE(transaction.Commit());
    EXPECT_FALSE(transaction.Commit()) << "END outside a transaction fails";
    EXPECT_EQ(QueryInt(db, "SELECT count(*) FROM t"), 2);
}

TEST_F(SQLiteDBTest, TransactionInsideAnOpenOneNeverEndsIt) {
    SQLiteDB db;
    ASSERT_TRUE(db.Open(m_file, kCreateFlags));
    ASSERT_EQ(db.Execute("CREATE TABLE t (x INTEGER)"), kSQLiteOk);
    ASSERT_EQ(db.Execute("BEGIN"), kSQLiteOk);
    {
        SQLiteAutoTransaction inner(&db);
        EXPECT_FALSE(inner.Begin());
        ASSERT_EQ(db.Execute("INSERT INTO t VALUES (1)"), kSQLiteOk);
        EXPECT_TRUE(inner.Commit());
        EXPECT_TRUE(db.InTransaction()) << "the enclosing transaction stays open";
    }
    EXPECT_TRUE(db.InTransaction());
    ASSERT_EQ(db.Execute("ROLLBACK"), kSQLiteOk);
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(QueryInt(db, "SELECT count(*) FROM t"), 0) << "the inner rows went with the outer";
}

TEST_F(SQLiteDBTest, TransactionWithoutDatabaseDoesNothing) {
    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.Begin());
    EXPECT_FALSE(none.Commit());

    SQLiteDB closed;
    SQLiteAutoTransaction onClosed(&closed);
    EXPECT_FALSE(onClosed.Commit());
}

TEST_F(SQLiteDBTest, ReopenClosesThePreviousConnection) {
    SQLiteDB db;
    ASSERT_TRUE(db.Open(m_file, kCreateFlags));
    ASSERT_EQ(db.Execute("CREATE TABLE first (x INTEGER)"), kSQLiteOk);
    const std::string other = (m_temp.Path() / "other.db").u8string();
    ASSERT_TRUE(db.Open(other, kCreateFlags));
    EXPECT_EQ(QueryInt(db, "SELECT count(*) FROM sqlite_master WHERE name = 'first'"), 0);
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
}

}  // namespace
}  // namespace tavik
