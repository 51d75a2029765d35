// The registry's keys and values in an SQLite database: one file per machine root (or memory for
// tests), WAL journal, every change one transaction, so several processes may share it and a
// crash never leaves half a change. Names are compared by their ICU case folding and keep the
// case they were created with. Results are the host's error codes.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace host {

class SqliteStatement;
using KeyId = int64_t;

struct StoredValue {
    std::u16string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct StoredKeyInfo {
    uint32_t subKeys = 0;
    uint32_t maxSubKeyLength = 0;  // characters
    uint32_t values = 0;
    uint32_t maxValueNameLength = 0;  // characters
    uint32_t maxValueLength = 0;      // bytes
    int64_t lastWriteMs = 0;          // since the Unix epoch
};

class RegistryStore {
  public:
    static constexpr KeyId MachineKey = 1;  // HKEY_LOCAL_MACHINE
    static constexpr KeyId UsersKey = 2;    // HKEY_USERS
    static constexpr size_t MaxKeyNameLength = 255;
    static constexpr size_t MaxValueNameLength = 16383;

    // file empty: a database in memory. Null with a one-line reason on failure.
    static std::unique_ptr<RegistryStore> Open(const std::string& file, std::string& error);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    uint32_t OpenKey(KeyId parent, std::span<const std::u16string> path, KeyId& key);
    uint32_t CreateKey(KeyId parent, std::span<const std::u16string> path, KeyId& key,
                       bool& created);
    // Only a key without subkeys; the roots never.
    uint32_t DeleteKey(KeyId key);

    uint32_t QueryValue(KeyId key, std::u16string_view name, StoredValue& value);
    uint32_t SetValue(KeyId key, std::u16string_view name, uint32_t type,
                      std::span<const uint8_t> data);
    uint32_t DeleteValue(KeyId key, std::u16string_view name);

    // Values in creation order; subkeys by folded name.
    uint32_t EnumValue(KeyId key, uint32_t index, StoredValue& value);
    uint32_t EnumKey(KeyId key, uint32_t index, std::u16string& name, int64_t& lastWriteMs);
    uint32_t QueryInfo(KeyId key, StoredKeyInfo& info);

    // Changes since the connection opened: its own and those other connections committed. Equal
    // generations mean nothing in the registry changed in between.
    std::pair<int64_t, int64_t> Generation();

    // Makes every change on this connection until the matching EndBatch one transaction, so a
    // crash leaves all of them or none. Batches nest; the outermost one commits, and only when
    // no batch inside it was abandoned. EndBatch(true) reports whether the changes were kept.
    bool BeginBatch();
    bool EndBatch(bool commit);

  private:
    explicit RegistryStore(sqlite3* db) : db_(db) {}
    bool CreateSchema(std::string& error);
    bool SchemaIsCurrent();
    // One write transaction on key (a savepoint inside a batch): edit's error code, or its
    // changes committed.
    template <typename Edit>
    uint32_t Change(KeyId key, Edit edit);
    // The error for a read that found no row: the absent code, or the key is gone.
    uint32_t Missing(int step, KeyId key, uint32_t absent);
    // The value of a row of (name, type, data), or the error for none.
    uint32_t ReadValue(SqliteStatement& query, KeyId key, uint32_t absent, StoredValue& value);
    bool KeyExists(KeyId key);
    bool FindChild(KeyId parent, const std::string& fold, KeyId& child);
    bool Touch(KeyId key);

    sqlite3* db_;
    std::mutex mutex_;  // one transaction at a time on this connection
    int batchDepth_ = 0;
    bool batchAbandoned_ = false;
};

}  // namespace host
