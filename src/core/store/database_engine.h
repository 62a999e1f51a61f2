#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv820 {

// One statement as an engine runs it. Statement is the handle the stores use; this is what
// it forwards to. Parameters are numbered from 1, columns from 0.
class PreparedStatement {
  public:
    virtual ~PreparedStatement() = default;

    virtual void bindText(int index, std::string_view text) = 0;
    virtual void bindInteger(int index, std::int64_t value) = 0;
    virtual void bindBlob(int index, std::string_view bytes) = 0;
    virtual void bindNull(int index) = 0;
    // True when a row is ready; false when the statement is done.
    virtual bool step() = 0;
    // Makes the statement ready to run again with new values.
    virtual void reset() = 0;
    // A NULL value has no data (data() == nullptr).
    virtual std::string_view textView(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    virtual std::string_view blob(int column) const = 0;
    virtual bool isNull(int column) const = 0;
    virtual int columnCount() const = 0;
};

// One connection of one engine. Every failure throws DatabaseError.
class DatabaseEngine {
  public:
    virtual ~DatabaseEngine() = default;

    virtual std::unique_ptr<PreparedStatement> prepare(std::string_view sql) = 0;
    // Runs one or more statements that return no rows.
    virtual void execute(const std::string& sql) = 0;
    // Rows the last insert, update or delete touched.
    virtual int changes() const = 0;
    // A query of the names of the program's tables (not the engine's own), by name.
    virtual const char* tableNamesSql() const = 0;
    // A query of the columns of table ?1 in their order; a row number the engine keeps by
    // itself is none.
    virtual const char* columnNamesSql() const = 0;
    // Changes when another connection may have changed the data since the last call.
    virtual std::int64_t dataVersion() = 0;
    // The statement that starts a transaction which holds the write lock from its start.
    virtual const char* beginSql() const = 0;

    // Notifications between connections of a server; a file's engine has none, and does
    // nothing on the first two.
    virtual void listen(std::string_view channel) = 0;
    virtual void notify(std::string_view channel) = 0;
    virtual std::vector<std::string> takeNotifications() = 0;
    virtual int notificationSocket() const = 0;
    // Connects anew with the same settings after a lost connection; a file's engine has
    // nothing to do.
    virtual void reconnect() = 0;
};

}  // namespace kv820
