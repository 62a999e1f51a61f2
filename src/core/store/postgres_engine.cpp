#include "core/store/postgres_engine.h"

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <deque>
#include <optional>
#include <vector>

#include "core/common/number_text.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

constexpr Oid ByteaType = 17;
constexpr Oid TextType = 25;

// Why a statement failed: the result's message, else the connection's (a connection lost
// leaves no result, and sometimes no message either).
std::string failureOf(const PGresult* result, const PGconn* connection) {
    std::string text = result ? PQresultErrorMessage(result) : PQerrorMessage(connection);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "the database connection is lost" : text;
}

// The results of one PGresult, freed with it.
struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

class PostgresStatement;

// One connection carries one query at a time. The statement whose rows are arriving is
// known, so that another one can first take the rest of them in.
struct PostgresConnection {
    PGconn* handle = nullptr;
    int changes = 0;
    PostgresStatement* streaming = nullptr;

    void takeOver(PostgresStatement* next);
};

// Rows arrive one at a time (libpq's single-row mode): a year of reports is visited without
// holding it in memory. When another statement runs on the connection before the last row
// (SQLite lets a loop run an update per row read), the rest is read in and kept.
class PostgresStatement : public PreparedStatement {
  public:
    PostgresStatement(PostgresConnection& connection, std::string_view sql)
        : connection_(connection) {
        sql_ = postgresPlaceholders(sql, &parameterCount_, &used_);
        values_.resize(parameterCount_);
        clearValues();
    }
    ~PostgresStatement() override { abandon(); }
    PostgresStatement(const PostgresStatement&) = delete;
    PostgresStatement& operator=(const PostgresStatement&) = delete;

    void bindText(int index, std::string_view text) override { set(index, text, 0); }
    void bindInteger(int index, std::int64_t value) override {
        set(index, std::to_string(value), 0);
    }
    void bindBlob(int index, std::string_view bytes) override { set(index, bytes, 1); }
    void bindNull(int index) override {
        if (index >= 1 && index <= parameterCount_) {
            values_[index - 1].reset();
        }
    }

    bool step() override {
        if (finished_) {
            return false;
        }
        if (!started_) {
            send();
        }
        row_.reset();
        Result result = nextResult();
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_SINGLE_TUPLE) {
            row_ = std::move(result);
            return true;
        }
        finished_ = true;
        if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
            connection_.changes = leadingInt32(PQcmdTuples(result.get())).value_or(0);
            drain();
            return false;
        }
        const std::string why = failureOf(result.get(), connection_.handle);
        drain();
        throw DatabaseError(why);
    }

    // Reads what is still to come of this statement, for another statement to run.
    void keepTheRest() {
        while (PGresult* result = PQgetResult(connection_.handle)) {
            kept_.emplace_back(result);
        }
        keptAll_ = true;
        connection_.streaming = nullptr;
    }

    void reset() override {
        abandon();
        started_ = finished_ = false;
        clearValues();
    }

    std::string_view textView(int column) const override {
        if (!row_ || PQgetisnull(row_.get(), 0, column)) {
            return {};
        }
        return {PQgetvalue(row_.get(), 0, column),
                static_cast<std::size_t>(PQgetlength(row_.get(), 0, column))};
    }
    std::int64_t integer(int column) const override {
        const std::string_view text = textView(column);
        std::int64_t value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }
    // Binary data arrives as "\x" and two hex digits a byte.
    std::string_view blob(int column) const override {
        const std::string_view text = textView(column);
        if (!text.starts_with("\\x")) {
            return text;
        }
        blob_.clear();
        for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
            unsigned value = 0;
            std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
            blob_ += static_cast<char>(value);
        }
        return {blob_.data(), blob_.size()};
    }
    bool isNull(int column) const override { return !row_ || PQgetisnull(row_.get(), 0, column); }
    int columnCount() const override { return row_ ? PQnfields(row_.get()) : 0; }

  private:
    void set(int index, std::string_view bytes, int format) {
        if (index < 1 || index > parameterCount_) {
            return;  // a value the statement does not use, as SQLite would not complain
        }
        values_[index - 1] = std::string(bytes);
        formats_[index - 1] = format;
        types_[index - 1] = format == 1 ? ByteaType : typeOf(index);
    }

    // The server infers a parameter's type from where the text uses it; one the text does
    // not use still needs a type, or the server refuses the statement.
    Oid typeOf(int index) const { return used_[index] ? 0 : TextType; }

    void clearValues() {
        types_.clear();
        for (int index = 1; index <= parameterCount_; ++index) {
            values_[index - 1].reset();
            types_.push_back(typeOf(index));
        }
        formats_.assign(parameterCount_, 0);
    }

    void send() {
        std::vector<const char*> values;
        std::vector<int> lengths;
        for (const auto& value : values_) {
            values.push_back(value ? value->data() : nullptr);
            lengths.push_back(value ? static_cast<int>(value->size()) : 0);
        }
        connection_.takeOver(this);
        started_ = true;
        keptAll_ = false;
        if (!PQsendQueryParams(connection_.handle, sql_.c_str(), parameterCount_, types_.data(),
                               values.data(), lengths.data(), formats_.data(), 0) ||
            !PQsetSingleRowMode(connection_.handle)) {
            finished_ = true;
            const std::string why = failureOf(nullptr, connection_.handle);
            drain();
            throw DatabaseError(why);
        }
    }

    // A statement left before its last row: what the server still sends is read away, so
    // that the connection is ready for the next statement. (A cancel request could reach
    // the server after this statement and stop the next one instead.)
    void abandon() {
        row_.reset();
        if (started_ && !finished_) {
            drain();
            finished_ = true;
        }
    }

    Result nextResult() {
        if (!keptAll_) {
            return Result(PQgetResult(connection_.handle));
        }
        if (kept_.empty()) {
            return nullptr;
        }
        Result next = std::move(kept_.front());
        kept_.pop_front();
        return next;
    }

    void drain() {
        if (keptAll_) {
            kept_.clear();
        } else {
            while (PGresult* result = PQgetResult(connection_.handle)) {
                PQclear(result);
            }
        }
        if (connection_.streaming == this) {
            connection_.streaming = nullptr;
        }
    }

    PostgresConnection& connection_;
    std::deque<Result> kept_;
    bool keptAll_ = false;
    std::string sql_;
    int parameterCount_ = 0;
    std::string used_;  // used_[n]: whether the text uses parameter n
    std::vector<std::optional<std::string>> values_;
    std::vector<int> formats_;
    std::vector<Oid> types_;
    Result row_;
    mutable std::string blob_;
    bool started_ = false;
    bool finished_ = false;
};

void PostgresConnection::takeOver(PostgresStatement* next) {
    if (streaming != nullptr && streaming != next) {
        streaming->keepTheRest();
    }
    streaming = next;
}

class PostgresEngine : public DatabaseEngine {
  public:
    PostgresEngine(const std::string& url, Database::Mode mode) {
        // The URL's own settings win over these, which come first.
        const char* keys[] = {"connect_timeout", "application_name", "client_encoding", "dbname",
                              nullptr};
        const char* values[] = {"10", "kv820-callcenter", "UTF8", url.c_str(), nullptr};
        connection_.handle = PQconnectdbParams(keys, values, 1);
        if (PQstatus(connection_.handle) != CONNECTION_OK) {
            const std::string why = failureOf(nullptr, connection_.handle);
            PQfinish(connection_.handle);
            throw DatabaseError("cannot open " + shownLocation(url) + ": " + why);
        }
        // "relation already exists, skipping" and the like are not for the operator.
        PQsetNoticeProcessor(
            connection_.handle, [](void*, const char*) {}, nullptr);
        if (mode == Database::Mode::ReadOnly) {
            execute("SET default_transaction_read_only = on");
        }
    }
    ~PostgresEngine() override { PQfinish(connection_.handle); }
    PostgresEngine(const PostgresEngine&) = delete;
    PostgresEngine& operator=(const PostgresEngine&) = delete;

    std::unique_ptr<PreparedStatement> prepare(std::string_view sql) override {
        if (PQstatus(connection_.handle) != CONNECTION_OK) {
            throw DatabaseError(failureOf(nullptr, connection_.handle));
        }
        return std::make_unique<PostgresStatement>(connection_, sql);
    }
    void execute(const std::string& sql) override {
        connection_.takeOver(nullptr);
        Result result(PQexec(connection_.handle, sql.c_str()));
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            throw DatabaseError(failureOf(result.get(), connection_.handle));
        }
    }
    int changes() const override { return connection_.changes; }
    const char* tableNamesSql() const override {
        return "SELECT tablename FROM pg_catalog.pg_tables WHERE schemaname = current_schema() "
               "ORDER BY tablename";
    }
    const char* columnNamesSql() const override {
        return "SELECT column_name FROM information_schema.columns WHERE table_schema = "
               "current_schema() AND table_name = ?1 ORDER BY ordinal_position";
    }
    // The server keeps no counter of commits a connection could ask for cheaply: every
    // call counts as changed, so what is read from it is read again.
    std::int64_t dataVersion() override { return ++dataVersion_; }
    const char* beginSql() const override { return "BEGIN"; }
    void listen(std::string_view channel) override { execute("LISTEN " + quotedChannel(channel)); }
    // Inside a transaction the server sends it at the commit, and not at all on a rollback.
    void notify(std::string_view channel) override { execute("NOTIFY " + quotedChannel(channel)); }
    std::vector<std::string> takeNotifications() override {
        if (PQconsumeInput(connection_.handle) == 0) {
            throw DatabaseError(failureOf(nullptr, connection_.handle));
        }
        std::vector<std::string> channels;
        while (PGnotify* notification = PQnotifies(connection_.handle)) {
            channels.emplace_back(notification->relname);
            PQfreemem(notification);
        }
        return channels;
    }
    int notificationSocket() const override { return PQsocket(connection_.handle); }
    // The connection object stays the same, so the statements made on it stay usable.
    void reconnect() override {
        connection_.streaming = nullptr;  // what it was sending went with the old connection
        PQreset(connection_.handle);
        if (PQstatus(connection_.handle) != CONNECTION_OK) {
            throw DatabaseError(failureOf(nullptr, connection_.handle));
        }
    }

  private:
    // The program's channels are its own fixed words; quoting keeps any other harmless.
    static std::string quotedChannel(std::string_view channel) {
        std::string quoted = "\"";
        for (const char c : channel) {
            quoted += c;
            if (c == '"') {
                quoted += c;
            }
        }
        return quoted + '"';
    }

    PostgresConnection connection_;
    std::int64_t dataVersion_ = 0;
};

}  // namespace

std::string postgresPlaceholders(std::string_view sql, int* highest, std::string* used) {
    std::string out;
    std::string marks;
    int top = 0;
    int next = 1;
    char quote = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote != 0 || c == '\'' || c == '"') {
            quote = quote == 0 ? c : (c == quote ? 0 : quote);
            out += c;
            continue;
        }
        if (c != '?') {
            out += c;
            continue;
        }
        int number = 0;
        const auto [end, error] =
            std::from_chars(sql.data() + i + 1, sql.data() + sql.size(), number);
        if (error == std::errc()) {
            i = static_cast<std::size_t>(end - sql.data()) - 1;
        } else {
            number = next;
        }
        next = number + 1;
        top = std::max(top, number);
        if (marks.size() <= static_cast<std::size_t>(number)) {
            marks.resize(number + 1, 0);
        }
        marks[number] = 1;
        out += '$' + std::to_string(number);
    }
    if (highest) {
        *highest = top;
    }
    if (used) {
        marks.resize(top + 1, 0);
        *used = marks;
    }
    return out;
}

std::unique_ptr<DatabaseEngine> openPostgresEngine(const std::string& url, Database::Mode mode) {
    return std::make_unique<PostgresEngine>(url, mode);
}

}  // namespace kv820
