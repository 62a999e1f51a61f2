#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace kv820 {

// One SQLite connection (RAII). The program opens KV820Y.mdb read-write and never creates
// it; only the --create-database command uses Mode::Create. Each thread opens its own
// connection; WAL and a busy time-out let the reception thread write while the UI reads.
// Files that are not the program's own (a map's tile file) are opened with Mode::ReadOnly:
// SQLite refuses every write then, and the journal mode is left as the file has it.
class Database {
  public:
    enum class Mode { OpenExisting, Create, ReadOnly };

    explicit Database(const std::string& path, Mode mode = Mode::OpenExisting);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }
    void execute(const char* sql);
    std::int64_t lastInsertRowId() const;
    int changes() const;

  private:
    sqlite3* db_ = nullptr;
    std::string path_;
};

}  // namespace kv820
