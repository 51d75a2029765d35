// One prepared SQLite statement. Preparing is the larger part of a registry read, so a
// statement that goes out of scope is reset and kept for the next use of the same SQL on the
// same connection; FinalizeAll gives a connection's statements up before it is closed.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Ok() const { return statement_ != nullptr; }

    static void FinalizeAll(sqlite3* db);

    // Parameters count from 1, as in SQLite.
    void Bind(int index, int64_t value);
    void Bind(int index, std::string_view text);
    void BindBlob(int index, std::span<const uint8_t> bytes);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    // Step() until done; true when it ended with SQLITE_DONE.
    bool Run();

    int64_t Integer(int column) const;
    std::string Text(int column) const;
    std::vector<uint8_t> Blob(int column) const;

  private:
    sqlite3* db_;
    std::string sql_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace host
