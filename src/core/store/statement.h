#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

class Database;
class PreparedStatement;

// A prepared statement (RAII). Values are always bound, never pasted into the SQL text.
// Parameters are written ?1, ?2, ... on both engines.
class Statement {
  public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;

    // Parameters are numbered from 1.
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, std::int64_t value);
    // Binds the bytes as a BLOB, as a file's images are stored.
    Statement& bindBlob(int index, std::string_view bytes);
    // Binds NULL when there is no text.
    Statement& bindOrNull(int index, const std::optional<std::string>& text);

    // True when a row is ready; false when the statement is done.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // Runs an "INSERT ... RETURNING id" and gives the new row's id.
    std::int64_t runReturningId();
    void reset();

    // A column of the current row as text; nullopt when it is NULL.
    std::optional<std::string> text(int column) const;
    // The same without a copy, valid until the next step; empty for NULL.
    std::string_view textView(int column) const;
    std::int64_t integer(int column) const;
    // A BLOB (or any) column's bytes without a copy, valid until the next step; empty for NULL.
    std::string_view blob(int column) const;
    // True when the column of the current row is NULL.
    bool isNull(int column) const;
    int columnCount() const;

  private:
    std::unique_ptr<PreparedStatement> prepared_;
};

}  // namespace kv820
