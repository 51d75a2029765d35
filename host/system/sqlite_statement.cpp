#include "host/system/sqlite_statement.h"

#include <map>
#include <mutex>
#include <utility>

namespace host {

namespace {

// Statements not in use, by connection and SQL; a statement in use is out of the cache, so two
// of the same SQL can be open at once.
struct IdleStatements {
    std::mutex mutex;
    std::multimap<std::pair<sqlite3*, std::string>, sqlite3_stmt*> statements;
};

IdleStatements& Idle() {
    static IdleStatements* idle = new IdleStatements;  // outlives every connection
    return *idle;
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db), sql_(sql) {
    {
        IdleStatements& idle = Idle();
        std::lock_guard lock(idle.mutex);
        const auto found = idle.statements.find({db_, sql_});
        if (found != idle.statements.end()) {
            statement_ = found->second;
            idle.statements.erase(found);
            return;
        }
    }
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    if (statement_ == nullptr) {
        return;
    }
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    IdleStatements& idle = Idle();
    std::lock_guard lock(idle.mutex);
    idle.statements.emplace(std::make_pair(db_, std::move(sql_)), statement_);
}

void SqliteStatement::FinalizeAll(sqlite3* db) {
    IdleStatements& idle = Idle();
    std::lock_guard lock(idle.mutex);
    for (auto it = idle.statements.begin(); it != idle.statements.end();) {
        if (it->first.first == db) {
            sqlite3_finalize(it->second);
            it = idle.statements.erase(it);
        } else {
            ++it;
        }
    }
}

void SqliteStatement::Bind(int index, int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
}

void SqliteStatement::Bind(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::BindBlob(int index, std::span<const uint8_t> bytes) {
    // A null pointer would bind NULL; an empty value is a blob of no bytes.
    if (bytes.empty()) {
        sqlite3_bind_zeroblob(statement_, index, 0);
    } else {
        sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
    }
}

int SqliteStatement::Step() {
    return statement_ ? sqlite3_step(statement_) : SQLITE_MISUSE;
}

bool SqliteStatement::Run() {
    int result = Step();
    while (result == SQLITE_ROW) {
        result = Step();
    }
    return result == SQLITE_DONE;
}

int64_t SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size))
                : std::string();
}

std::vector<uint8_t> SqliteStatement::Blob(int column) const {
    const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(statement_, column));
    const int size = sqlite3_column_bytes(statement_, column);
    return bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

}  // namespace host
