#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tavik {

class SQLiteStatement;

// Result codes of SQLite that the store reads; the values are SQLite's own.
constexpr int kSQLiteOk = 0;
constexpr int kSQLiteMisuse = 21;
constexpr int kSQLiteRow = 100;
constexpr int kSQLiteDone = 101;

// Open flags, SQLite's own values.
constexpr int kSQLiteOpenReadWrite = 0x00000002;
constexpr int kSQLiteOpenCreate = 0x00000004;
constexpr int kSQLiteOpenFullMutex = 0x00010000;

// Callback of Execute, called once per result row (the shape sqlite3_exec expects).
using SQLiteExecuteCallback = int (*)(void* context, int columnCount, char** values,
                                      char** columnNames);

// One connection to a database file. Closed when default-constructed.
class SQLiteDB {
public:
    SQLiteDB() = default;
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;
    // Interrupts whatever statement is running on the connection, then closes it.
    virtual ~SQLiteDB();

    // Opens the UTF-8 path with the given SQLite open flags, closing an open connection first.
    // Every successful open switches the file to write-ahead logging with normal syncing.
    bool Open(const std::string& path, int flags);
    // True when no connection remains afterwards.
    bool Close();
    bool IsOpen() const { return m_handle != nullptr; }

    // Prepares sql into statement (finalizing what it held). A negative length reads up to
    // the terminator. Returns 21 without a connection or without SQL text.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
    // Runs one or more statements. Returns 21 without a connection or without SQL text.
    int Execute(const char* sql, SQLiteExecuteCallback callback = nullptr, void* context = nullptr);
    // Row id of the last insert on this connection, -1 without a connection.
    int64_t LastInsertRowId() const;
    // True while a transaction begun on this connection is open.
    bool InTransaction() const;

private:
    sqlite3* m_handle = nullptr;
};

// One prepared statement. Every call on a statement without a handle returns 21 (or a zero
// value for the column reads), so a failed Prepare makes the binds and the step fail quietly.
class SQLiteStatement {
public:
    SQLiteStatement() = default;
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;
    virtual ~SQLiteStatement();

    // Parameter indexes start at 1. Text is copied into the statement when bound.
    int BindInt(int index, int value);
    int BindText(int index, const char* utf8, int byteLength);
    // Binds wide program text, converted to UTF-8.
    int BindText(int index, std::wstring_view text);
    // 100 for a row, 101 when done, any other code on failure.
    int Step();
    // Column indexes start at 0. A NULL or missing column reads as 0 or an empty text.
    int ColumnInt(int index) const;
    std::wstring ColumnText(int index) const;
    // Number of columns in a row of the result, 0 without a handle.
    int ColumnCount() const;
    // Releases the handle; the statement can be prepared again.
    void Finalize();
    bool IsPrepared() const { return m_handle != nullptr; }

private:
    friend class SQLiteDB;

    sqlite3_stmt* m_handle = nullptr;
};

// A scoped transaction. There is no rollback: leaving the scope while the transaction is
// still open ends it with "END", which commits what was written. Inside a transaction that is
// already open on the connection it joins that one and neither begins nor ends anything, so
// an enclosing transaction is never committed half-way.
class SQLiteAutoTransaction {
public:
    // Runs "BEGIN" when db has a connection; the transaction counts as open whenever db is
    // given and no transaction was open before.
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;
    virtual ~SQLiteAutoTransaction();

    // False without a database or when already open.
    bool Begin();
    // Runs "END" and marks the transaction closed; true when "END" succeeded. A joined
    // transaction reports true and leaves the enclosing one open.
    bool Commit();

private:
    SQLiteDB* m_db;  // not owned
    bool m_open = false;
    bool m_joined = false;
};

}  // namespace tavik
