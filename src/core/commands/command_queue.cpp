#include "core/commands/command_queue.h"

#include <array>
#include <string_view>

#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"

namespace kv820 {

namespace {

constexpr const char* TableSql =
    "CREATE TABLE IF NOT EXISTS command_queue (id INTEGER PRIMARY KEY AUTOINCREMENT, phone TEXT "
    "NOT NULL, text TEXT NOT NULL, state TEXT NOT NULL, queued_at TEXT NOT NULL, sent_by TEXT, "
    "log TEXT NOT NULL DEFAULT '');\n"
    "CREATE INDEX IF NOT EXISTS command_queue_by_state ON command_queue (state, id);";

// The states as stored, in the order of QueuedCommandResult::State.
constexpr std::array<std::string_view, 4> StateTexts = {"queued", "sending", "sent", "not sent"};

std::string stateText(QueuedCommandResult::State state) {
    return std::string(StateTexts[static_cast<std::size_t>(state)]);
}

}  // namespace

void CommandQueue::ensureTable(Database& db) {
    if (!hasTable(db)) {
        db.execute(db.schemaSql(TableSql));
    }
}

bool CommandQueue::hasTable(Database& db) {
    return db.hasTable("command_queue");
}

std::int64_t CommandQueue::enqueue(const std::string& phone, const std::string& text,
                                   const std::string& at) {
    Transaction transaction(db_);
    const std::int64_t id = Statement(db_,
                                      "INSERT INTO command_queue (phone, text, state, queued_at) "
                                      "VALUES (?1, ?2, ?3, ?4) RETURNING id")
                                .bind(1, phone)
                                .bind(2, text)
                                .bind(3, stateText(QueuedCommandResult::State::Queued))
                                .bind(4, at)
                                .runReturningId();
    db_.notify(CommandsChannel);
    transaction.commit();
    return id;
}

bool CommandQueue::withdraw(std::int64_t id) {
    Statement(db_, "DELETE FROM command_queue WHERE id = ?1 AND state = ?2")
        .bind(1, id)
        .bind(2, stateText(QueuedCommandResult::State::Queued))
        .run();
    return db_.changes() == 1;
}

std::optional<QueuedCommandResult> CommandQueue::result(std::int64_t id) {
    Statement query(db_, "SELECT state, log FROM command_queue WHERE id = ?1");
    query.bind(1, id);
    if (!query.step()) {
        return std::nullopt;
    }
    QueuedCommandResult result;
    const std::string state = query.text(0).value_or("");
    for (std::size_t s = 0; s < StateTexts.size(); ++s) {
        if (StateTexts[s] == state) {
            result.state = static_cast<QueuedCommandResult::State>(s);
        }
    }
    result.log = query.text(1).value_or("");
    return result;
}

std::optional<QueuedCommand> CommandQueue::claim(const std::string& receiver) {
    // A server's receivers claim at once: each passes over the row another has locked. A
    // file has one writer at a time anyway.
    const std::string skipLocked =
        db_.kind() == Database::Kind::Postgres ? " FOR UPDATE SKIP LOCKED" : "";
    Statement claim(db_,
                    "UPDATE command_queue SET state = ?1, sent_by = ?2 WHERE id = (SELECT id FROM "
                    "command_queue WHERE state = ?3 ORDER BY id LIMIT 1" +
                        skipLocked + ") RETURNING id, phone, text");
    claim.bind(1, stateText(QueuedCommandResult::State::Sending))
        .bind(2, receiver)
        .bind(3, stateText(QueuedCommandResult::State::Queued));
    if (!claim.step()) {
        return std::nullopt;
    }
    QueuedCommand command{claim.integer(0), claim.text(1).value_or(""), claim.text(2).value_or("")};
    while (claim.step()) {
    }
    return command;
}

void CommandQueue::finish(std::int64_t id, bool sent, const std::string& log) {
    Transaction transaction(db_);
    Statement(db_, "UPDATE command_queue SET state = ?2, log = ?3 WHERE id = ?1")
        .bind(1, id)
        .bind(2, stateText(sent ? QueuedCommandResult::State::Sent
                                : QueuedCommandResult::State::NotSent))
        .bind(3, log)
        .run();
    db_.notify(CommandsChannel);
    transaction.commit();
}

}  // namespace kv820
