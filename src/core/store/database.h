#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv820 {

class DatabaseEngine;

// One connection (RAII) to the store: an SQLite file (KV820Y.mdb, the default) or, given a
// "postgresql://" URL, a PostgreSQL database that several receivers and desks share. The
// stores write their SQL once, in words both engines take; the few that differ are asked
// of the connection. Each thread opens its own connection.
class Database {
  public:
    enum class Mode { OpenExisting, Create, ReadOnly };
    enum class Kind { Sqlite, Postgres };

    // A file path, or a PostgreSQL URL (libpq's own ways work too: ~/.pgpass, PGSERVICE,
    // sslmode). Throws DatabaseError when it cannot be opened; the message never holds a
    // password.
    explicit Database(const std::string& location, Mode mode = Mode::OpenExisting);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Kind kind() const { return kind_; }

    void execute(const std::string& sql);
    // Rows the last insert, update or delete touched.
    int changes() const;
    bool hasTable(std::string_view name);
    std::vector<std::string> tableNames();
    std::vector<std::string> columnNames(std::string_view table);
    // Changes when another connection may have changed the data since the last call.
    std::int64_t dataVersion();
    // The statement that starts a transaction holding the write lock from its start.
    const char* beginSql() const;
    // CREATE statements written in SQLite's words, in this engine's: an auto-numbered key,
    // REAL as a double, and text that sorts by its bytes, as SQLite's does.
    std::string schemaSql(std::string_view sqliteSql) const;

    // Between the connections to a server: listen() asks for the notifications of a
    // channel; notify() sends one to every listener when the current transaction commits
    // (at once outside one); takeNotifications() returns the channels notified since its
    // last call, without waiting. notificationSocket() becomes readable when one arrives. A
    // notification is a hint that something changed, never the change itself: one sent while
    // a listener was away is not kept for it. A file has none: the first two do nothing,
    // takeNotifications() is empty and the socket -1.
    void listen(std::string_view channel);
    void notify(std::string_view channel);
    std::vector<std::string> takeNotifications();
    int notificationSocket() const;
    // Connects a server's connection anew, with the same settings, after it was lost (the
    // server restarted, the network was cut); nothing for a file. Its transaction, if one
    // was open, is gone. Throws DatabaseError when the server cannot be reached.
    void reconnect();

    DatabaseEngine& engine() { return *engine_; }

  private:
    Kind kind_;
    std::unique_ptr<DatabaseEngine> engine_;
};

// True for a location that names a PostgreSQL database rather than a file.
bool isServerLocation(std::string_view location);
// The location without a password, for a log, a title or a message.
std::string shownLocation(std::string_view location);

}  // namespace kv820
