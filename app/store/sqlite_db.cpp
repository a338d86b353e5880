#include "app/store/sqlite_db.h"

#include <sqlite3.h>

#include <limits>

#include "app/common/text_encoding.h"

namespace tavik {
namespace {

// Write-ahead logging keeps the file consistent across a crash or power loss, and NORMAL
// syncing flushes at checkpoints, which is durable enough for settings without the cost of a
// flush on every commit.
constexpr char kDurabilityPragmas[] = "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;";

}  // namespace

SQLiteDB::~SQLiteDB() {
    if (m_handle != nullptr) {
        sqlite3_interrupt(m_handle);
    }
    Close();
}

bool SQLiteDB::Open(const std::string& path, int flags) {
    if (m_handle != nullptr) {
        sqlite3_interrupt(m_handle);
        Close();
    }
    sqlite3* handle = nullptr;
    const int result = sqlite3_open_v2(path.c_str(), &handle, flags, nullptr);
    if (result != SQLITE_OK) {
        // SQLite hands back a handle even when the open fails; it still has to be released.
        sqlite3_close_v2(handle);
        return false;
    }
    m_handle = handle;
    Execute(kDurabilityPragmas);
    return true;
}

bool SQLiteDB::Close() {
    if (m_handle == nullptr) {
        return true;
    }
    // close_v2 never leaves the connection half-open: statements someone still holds keep it
    // alive until they are finalized, so the handle is ours to forget either way.
    sqlite3_close_v2(m_handle);
    m_handle = nullptr;
    return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.Finalize();
    if (m_handle == nullptr || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_prepare_v2(m_handle, sql, length, &statement.m_handle, nullptr);
}

int SQLiteDB::Execute(const char* sql, SQLiteExecuteCallback callback, void* context) {
    if (m_handle == nullptr || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_exec(m_handle, sql, callback, context, nullptr);
}

int64_t SQLiteDB::LastInsertRowId() const {
    if (m_handle == nullptr) {
        return -1;
    }
    return sqlite3_last_insert_rowid(m_handle);
}

SQLiteStatement::~SQLiteStatement() {
    Finalize();
}

void SQLiteStatement::Finalize() {
    if (m_handle != nullptr) {
        sqlite3_finalize(m_handle);
        m_handle = nullptr;
    }
}

int SQLiteStatement::BindInt(int index, int value) {
    if (m_handle == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_bind_int(m_handle, index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int byteLength) {
    if (m_handle == nullptr) {
        return SQLITE_MISUSE;
    }
    // The text is copied so that a caller's temporary cannot dangle until the step.
    return sqlite3_bind_text(m_handle, index, utf8, byteLength, SQLITE_TRANSIENT);
}

int SQLiteStatement::BindText(int index, std::wstring_view text) {
    if (m_handle == nullptr) {
        return SQLITE_MISUSE;
    }
    const std::string utf8 = WideToUtf8(text);
    if (utf8.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        return SQLITE_TOOBIG;
    }
    return BindText(index, utf8.data(), static_cast<int>(utf8.size()));
}

int SQLiteStatement::Step() {
    if (m_handle == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_step(m_handle);
}

int SQLiteStatement::ColumnInt(int index) const {
    if (m_handle == nullptr) {
        return 0;
    }
    return sqlite3_column_int(m_handle, index);
}

int SQLiteStatement::ColumnCount() const {
    if (m_handle == nullptr) {
        return 0;
    }
    return sqlite3_column_count(m_handle);
}

std::wstring SQLiteStatement::ColumnText(int index) const {
    if (m_handle == nullptr) {
        return std::wstring();
    }
    const unsigned char* text = sqlite3_column_text(m_handle, index);
    if (text == nullptr) {
        return std::wstring();
    }
    const int length = sqlite3_column_bytes(m_handle, index);
    return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(text),
                                       static_cast<size_t>(length > 0 ? length : 0)));
}

bool SQLiteDB::InTransaction() const {
    return m_handle != nullptr && sqlite3_get_autocommit(m_handle) == 0;
}

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : m_db(db) {
    if (m_db == nullptr) {
        return;
    }
    if (m_db->InTransaction()) {
        m_joined = true;
        return;
    }
    if (m_db->IsOpen()) {
        m_db->Execute("BEGIN");
    }
    m_open = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (m_open) {
        m_db->Execute("END");
    }
}

bool SQLiteAutoTransaction::Begin() {
    if (m_db == nullptr || m_open || m_joined) {
        return false;
    }
    m_db->Execute("BEGIN");
    m_open = true;
    return true;
}

bool SQLiteAutoTransaction::Commit() {
    if (m_db == nullptr) {
        return false;
    }
    if (m_joined) {
        return true;
    }
    m_open = false;
    return m_db->Execute("END") == SQLITE_OK;
}

}  // namespace tavik
