#include "host/system/registry_store.h"

#include <sqlite3.h>
#include <unicode/stringoptions.h>
#include <unicode/ustring.h>

#include <chrono>
#include <thread>

#include "host/system/sqlite_statement.h"
#include "host/system/utf.h"
#include "platform/registry.h"
#include "platform/result.h"

namespace host {

namespace {

using platform::ERROR_ACCESS_DENIED;
using platform::ERROR_CANTWRITE;
using platform::ERROR_FILE_NOT_FOUND;
using platform::ERROR_INVALID_PARAMETER;
using platform::ERROR_KEY_DELETED;
using platform::ERROR_NO_MORE_ITEMS;
using platform::ERROR_SUCCESS;

constexpr uint32_t ErrorCantRead = 1012;
constexpr int SchemaVersion = 1;
constexpr int BusyTimeoutMs = 10000;
constexpr int SchemaAttempts = 250;

bool IsBusy(sqlite3* db) {
    const int code = sqlite3_errcode(db) & 0xFF;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

constexpr const char* Schema = R"(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER REFERENCES keys(id),
  name TEXT NOT NULL,
  fold TEXT NOT NULL,
  written INTEGER NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX IF NOT EXISTS keys_by_name ON keys(parent, fold);
CREATE TABLE IF NOT EXISTS entries(
  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
  fold TEXT NOT NULL,
  name TEXT NOT NULL,
  seq INTEGER NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, fold)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS entries_in_order ON entries(key, seq);
INSERT OR IGNORE INTO keys(id, parent, name, fold) VALUES
  (1, NULL, 'HKEY_LOCAL_MACHINE', ''), (2, NULL, 'HKEY_USERS', '');
)";

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Strict UTF-8: a name with a lone surrogate has no faithful stored form and is refused.
bool StrictUtf8(std::u16string_view text, std::string& utf8) {
    utf8.assign(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &length, text.data(),
                static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) {
        return false;
    }
    utf8.resize(static_cast<size_t>(length));
    return true;
}

// The stored name and its comparison key; false for names the registry does not accept.
bool EncodeName(std::u16string_view name, size_t limit, std::string& utf8, std::string& fold) {
    if (name.empty()) {  // the default value; ICU refuses a null text
        utf8.clear();
        fold.clear();
        return true;
    }
    if (name.size() > limit || !StrictUtf8(name, utf8)) {
        return false;
    }
    std::u16string folded(name.size() * 3 + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), name.data(),
                      static_cast<int32_t>(name.size()), U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) {
        return false;
    }
    folded.resize(static_cast<size_t>(length));
    return StrictUtf8(folded, fold);
}

std::u16string DecodeName(const std::string& utf8) {
    return FromUtf8(utf8).value_or(u"");
}

// One change's statements: BEGIN IMMEDIATE takes the write lock up front, so the busy timeout
// applies to it and no transaction fails half-way for want of the lock; inside a batch, a change
// is a savepoint of the batch's transaction, so a failed edit still undoes only itself.
struct TransactionStatements {
    const char* Begin;
    const char* Commit;
    const char* Rollback;
};
constexpr TransactionStatements WholeTransaction = {"BEGIN IMMEDIATE", "COMMIT", "ROLLBACK"};
constexpr TransactionStatements Savepoint = {"SAVEPOINT change", "RELEASE change",
                                             "ROLLBACK TO change; RELEASE change"};

// Rolled back unless committed.
class Transaction {
  public:
    Transaction(sqlite3* db, const TransactionStatements& statements)
        : db_(db), statements_(statements) {
        begun_ = sqlite3_exec(db_, statements_.Begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Transaction() {
        if (begun_) {
            sqlite3_exec(db_, statements_.Rollback, nullptr, nullptr, nullptr);
        }
    }
    bool Begun() const { return begun_; }
    bool Commit() {
        if (!begun_ ||
            sqlite3_exec(db_, statements_.Commit, nullptr, nullptr, nullptr) != SQLITE_OK) {
            return false;
        }
        begun_ = false;
        return true;
    }

  private:
    sqlite3* db_;
    TransactionStatements statements_;
    bool begun_ = false;
};

uint32_t LengthInUnits(const std::string& utf8) {
    return static_cast<uint32_t>(DecodeName(utf8).size());
}

template <typename Edit>
uint32_t RunChange(sqlite3* db, const TransactionStatements& statements, Edit edit) {
    Transaction transaction(db, statements);
    if (!transaction.Begun()) {
        return ERROR_CANTWRITE;
    }
    const uint32_t error = edit();
    if (error != ERROR_SUCCESS) {
        return error;  // rolled back
    }
    return transaction.Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

}  // namespace

std::unique_ptr<RegistryStore> RegistryStore::Open(const std::string& file, std::string& error) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const std::string name = file.empty() ? ":memory:" : file;
    if (sqlite3_open_v2(name.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = "cannot open registry " + name + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<RegistryStore> store(new RegistryStore(db));
    // Two processes opening a new file at once can meet in a lock upgrade, where SQLite gives
    // up at once instead of waiting; the loser tries again.
    bool ready = store->CreateSchema(error);
    for (int attempt = 0; !ready && attempt < SchemaAttempts && IsBusy(db); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ready = store->CreateSchema(error);
    }
    if (!ready) {
        error = "cannot open registry " + name + ": " + error;
        return nullptr;
    }
    return store;
}

std::pair<int64_t, int64_t> RegistryStore::Generation() {
    std::lock_guard lock(mutex_);
    SqliteStatement query(db_, "PRAGMA data_version");
    const int64_t others = query.Step() == SQLITE_ROW ? query.Integer(0) : -1;
    return {sqlite3_total_changes64(db_), others};
}

RegistryStore::~RegistryStore() {
    SqliteStatement::FinalizeAll(db_);
    sqlite3_close(db_);
}

bool RegistryStore::CreateSchema(std::string& error) {
    sqlite3_busy_timeout(db_, BusyTimeoutMs);
    sqlite3_exec(db_, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    {
        SqliteStatement journal(db_, "PRAGMA journal_mode = WAL");
        if (journal.Step() != SQLITE_ROW) {
            error = sqlite3_errmsg(db_);
            return false;
        }
    }
    if (SchemaIsCurrent()) {
        return true;  // nothing to write: a command that only reads commits nothing
    }
    Transaction transaction(db_, WholeTransaction);
    if (!transaction.Begun()) {
        error = sqlite3_errmsg(db_);
        return false;
    }
    SqliteStatement version(db_, "PRAGMA user_version");
    if (version.Step() != SQLITE_ROW) {
        error = sqlite3_errmsg(db_);
        return false;
    }
    if (version.Integer(0) > SchemaVersion) {
        error = "made by a newer version (format " + std::to_string(version.Integer(0)) + ")";
        return false;
    }
    const std::string setVersion = "PRAGMA user_version = " + std::to_string(SchemaVersion);
    if (sqlite3_exec(db_, Schema, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db_, setVersion.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        !transaction.Commit()) {
        error = sqlite3_errmsg(db_);
        return false;
    }
    return true;
}

bool RegistryStore::SchemaIsCurrent() {
    SqliteStatement version(db_, "PRAGMA user_version");
    return version.Step() == SQLITE_ROW && version.Integer(0) == SchemaVersion;
}

template <typename Edit>
uint32_t RegistryStore::Change(KeyId key, Edit edit) {
    std::lock_guard lock(mutex_);
    const auto checkedEdit = [&]() -> uint32_t {
        return KeyExists(key) ? edit() : ERROR_KEY_DELETED;
    };
    return RunChange(db_, batchDepth_ > 0 ? Savepoint : WholeTransaction, checkedEdit);
}

bool RegistryStore::BeginBatch() {
    std::lock_guard lock(mutex_);
    if (batchDepth_ == 0) {
        if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
            return false;
        }
        batchAbandoned_ = false;
    }
    ++batchDepth_;
    return true;
}

bool RegistryStore::EndBatch(bool commit) {
    std::lock_guard lock(mutex_);
    if (batchDepth_ == 0) {
        return false;
    }
    batchAbandoned_ = batchAbandoned_ || !commit;
    if (--batchDepth_ > 0) {
        return !batchAbandoned_;
    }
    if (!batchAbandoned_ && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) {
        return true;
    }
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

uint32_t RegistryStore::ReadValue(SqliteStatement& query, KeyId key, uint32_t absent,
                                  StoredValue& value) {
    const int step = query.Step();
    if (step != SQLITE_ROW) {
        return Missing(step, key, absent);
    }
    value.name = DecodeName(query.Text(0));
    value.type = static_cast<uint32_t>(query.Integer(1));
    value.data = query.Blob(2);
    return ERROR_SUCCESS;
}

uint32_t RegistryStore::Missing(int step, KeyId key, uint32_t absent) {
    if (step != SQLITE_DONE) {
        return ErrorCantRead;
    }
    return KeyExists(key) ? absent : ERROR_KEY_DELETED;
}

bool RegistryStore::KeyExists(KeyId key) {
    SqliteStatement query(db_, "SELECT 1 FROM keys WHERE id = ?");
    query.Bind(1, key);
    return query.Step() == SQLITE_ROW;
}

bool RegistryStore::FindChild(KeyId parent, const std::string& fold, KeyId& child) {
    SqliteStatement query(db_, "SELECT id FROM keys WHERE parent = ? AND fold = ?");
    query.Bind(1, parent);
    query.Bind(2, fold);
    if (query.Step() != SQLITE_ROW) {
        return false;
    }
    child = query.Integer(0);
    return true;
}

bool RegistryStore::Touch(KeyId key) {
    SqliteStatement update(db_, "UPDATE keys SET written = ? WHERE id = ?");
    update.Bind(1, NowMs());
    update.Bind(2, key);
    return update.Run();
}

uint32_t RegistryStore::OpenKey(KeyId parent, std::span<const std::u16string> path, KeyId& key) {
    std::lock_guard lock(mutex_);
    if (!KeyExists(parent)) {
        return ERROR_KEY_DELETED;
    }
    KeyId current = parent;
    std::string utf8;
    std::string fold;
    for (const auto& name : path) {
        if (!EncodeName(name, MaxKeyNameLength, utf8, fold)) {
            return ERROR_INVALID_PARAMETER;
        }
        if (!FindChild(current, fold, current)) {
            return ERROR_FILE_NOT_FOUND;
        }
    }
    key = current;
    return ERROR_SUCCESS;
}

uint32_t RegistryStore::CreateKey(KeyId parent, std::span<const std::u16string> path, KeyId& key,
                                  bool& created) {
    created = false;
    // An existing key is only read: opening what is there must not cost a write transaction.
    if (OpenKey(parent, path, key) == ERROR_SUCCESS) {
        return ERROR_SUCCESS;
    }
    return Change(parent, [&]() -> uint32_t {
        KeyId current = parent;
        std::string utf8;
        std::string fold;
        for (const auto& name : path) {
            if (!EncodeName(name, MaxKeyNameLength, utf8, fold)) {
                return ERROR_INVALID_PARAMETER;
            }
            if (FindChild(current, fold, current)) {
                continue;
            }
            SqliteStatement insert(
                db_, "INSERT INTO keys(parent, name, fold, written) VALUES(?, ?, ?, ?)");
            insert.Bind(1, current);
            insert.Bind(2, utf8);
            insert.Bind(3, fold);
            insert.Bind(4, NowMs());
            if (!insert.Run()) {
                return ERROR_CANTWRITE;
            }
            current = sqlite3_last_insert_rowid(db_);
            created = true;
        }
        key = current;
        return ERROR_SUCCESS;
    });
}

uint32_t RegistryStore::DeleteKey(KeyId key) {
    if (key == MachineKey || key == UsersKey) {
        return ERROR_ACCESS_DENIED;
    }
    return Change(key, [&]() -> uint32_t {
        SqliteStatement children(db_, "SELECT 1 FROM keys WHERE parent = ? LIMIT 1");
        children.Bind(1, key);
        if (children.Step() == SQLITE_ROW) {
            return ERROR_ACCESS_DENIED;
        }
        SqliteStatement remove(db_, "DELETE FROM keys WHERE id = ?");
        remove.Bind(1, key);
        return remove.Run() ? ERROR_SUCCESS : ERROR_CANTWRITE;
    });
}

uint32_t RegistryStore::QueryValue(KeyId key, std::u16string_view name, StoredValue& value) {
    std::string utf8;
    std::string fold;
    if (!EncodeName(name, MaxValueNameLength, utf8, fold)) {
        return ERROR_FILE_NOT_FOUND;  // no such name can have been stored
    }
    std::lock_guard lock(mutex_);
    SqliteStatement query(db_, "SELECT name, type, data FROM entries WHERE key = ? AND fold = ?");
    query.Bind(1, key);
    query.Bind(2, fold);
    return ReadValue(query, key, ERROR_FILE_NOT_FOUND, value);
}

uint32_t RegistryStore::SetValue(KeyId key, std::u16string_view name, uint32_t type,
                                 std::span<const uint8_t> data) {
    std::string utf8;
    std::string fold;
    if (!EncodeName(name, MaxValueNameLength, utf8, fold)) {
        return ERROR_INVALID_PARAMETER;
    }
    return Change(key, [&]() -> uint32_t {
        // A replaced value keeps its name, and so its case, and its place in the order.
        SqliteStatement upsert(db_,
                               "INSERT INTO entries(key, fold, name, seq, type, data) VALUES(?1, "
                               "?2, ?3, (SELECT IFNULL(MAX(seq), 0) + 1 FROM entries WHERE key = "
                               "?1), ?4, ?5) ON CONFLICT(key, fold) DO UPDATE SET type = ?4, "
                               "data = ?5");
        upsert.Bind(1, key);
        upsert.Bind(2, fold);
        upsert.Bind(3, utf8);
        upsert.Bind(4, static_cast<int64_t>(type));
        upsert.BindBlob(5, data);
        return upsert.Run() && Touch(key) ? ERROR_SUCCESS : ERROR_CANTWRITE;
    });
}

uint32_t RegistryStore::DeleteValue(KeyId key, std::u16string_view name) {
    std::string utf8;
    std::string fold;
    if (!EncodeName(name, MaxValueNameLength, utf8, fold)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return Change(key, [&]() -> uint32_t {
        SqliteStatement remove(db_, "DELETE FROM entries WHERE key = ? AND fold = ?");
        remove.Bind(1, key);
        remove.Bind(2, fold);
        if (!remove.Run()) {
            return ERROR_CANTWRITE;
        }
        if (sqlite3_changes(db_) == 0) {
            return ERROR_FILE_NOT_FOUND;
        }
        return Touch(key) ? ERROR_SUCCESS : ERROR_CANTWRITE;
    });
}

uint32_t RegistryStore::EnumValue(KeyId key, uint32_t index, StoredValue& value) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(
        db_, "SELECT name, type, data FROM entries WHERE key = ? ORDER BY seq LIMIT 1 OFFSET ?");
    query.Bind(1, key);
    query.Bind(2, static_cast<int64_t>(index));
    return ReadValue(query, key, ERROR_NO_MORE_ITEMS, value);
}

uint32_t RegistryStore::EnumKey(KeyId key, uint32_t index, std::u16string& name,
                                int64_t& lastWriteMs) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(db_,
                          "SELECT name, written FROM keys WHERE parent = ? ORDER BY fold "
                          "LIMIT 1 OFFSET ?");
    query.Bind(1, key);
    query.Bind(2, static_cast<int64_t>(index));
    const int step = query.Step();
    if (step != SQLITE_ROW) {
        return Missing(step, key, ERROR_NO_MORE_ITEMS);
    }
    name = DecodeName(query.Text(0));
    lastWriteMs = query.Integer(1);
    return ERROR_SUCCESS;
}

uint32_t RegistryStore::QueryInfo(KeyId key, StoredKeyInfo& info) {
    std::lock_guard lock(mutex_);
    // One read transaction, so the counts and lengths describe one state of the key.
    sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
    struct EndRead {
        sqlite3* db;
        ~EndRead() { sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr); }
    } endRead{db_};
    SqliteStatement self(db_, "SELECT written FROM keys WHERE id = ?");
    self.Bind(1, key);
    if (self.Step() != SQLITE_ROW) {
        return ERROR_KEY_DELETED;
    }
    info = StoredKeyInfo{};
    info.lastWriteMs = self.Integer(0);
    SqliteStatement subKeys(db_, "SELECT name FROM keys WHERE parent = ?");
    subKeys.Bind(1, key);
    while (subKeys.Step() == SQLITE_ROW) {
        ++info.subKeys;
        info.maxSubKeyLength = std::max(info.maxSubKeyLength, LengthInUnits(subKeys.Text(0)));
    }
    SqliteStatement values(db_, "SELECT name, length(data) FROM entries WHERE key = ?");
    values.Bind(1, key);
    while (values.Step() == SQLITE_ROW) {
        ++info.values;
        info.maxValueNameLength = std::max(info.maxValueNameLength, LengthInUnits(values.Text(0)));
        info.maxValueLength =
            std::max(info.maxValueLength, static_cast<uint32_t>(values.Integer(1)));
    }
    return ERROR_SUCCESS;
}

}  // namespace host
