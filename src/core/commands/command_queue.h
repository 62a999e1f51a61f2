#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv820 {

class Database;

// A command a desk without a modem queued for the receivers.
struct QueuedCommand {
    std::int64_t id = 0;
    std::string phone;
    std::string text;
};

// Where a queued command stands, and what the modem log showed of its send.
struct QueuedCommandResult {
    enum class State { Queued, Sending, Sent, NotSent };
    State state = State::Queued;
    std::string log;
};

// The commands desks hand to the receivers of a shared database (the command_queue table).
// A desk queues one; the receiver whose modem is free claims it (on a server with
// FOR UPDATE SKIP LOCKED, so that two receivers never take the same one), sends it and
// writes the outcome with the log of its send, which the desk shows. Every method throws
// DatabaseError.
class CommandQueue {
  public:
    explicit CommandQueue(Database& db) : db_(db) {}

    static void ensureTable(Database& db);
    static bool hasTable(Database& db);

    // A desk: queues a command and tells the receivers; returns its id. `at` is the local
    // moment, kept for whoever reads the table.
    std::int64_t enqueue(const std::string& phone, const std::string& text, const std::string& at);
    // A desk: takes back a command no receiver has claimed yet; false once one has.
    bool withdraw(std::int64_t id);
    // None for a command the table does not hold (withdrawn).
    std::optional<QueuedCommandResult> result(std::int64_t id);

    // A receiver: the oldest queued command that no other receiver is taking, now marked as
    // being sent by `receiver`.
    std::optional<QueuedCommand> claim(const std::string& receiver);
    // A receiver: the outcome of a claimed command and the log of its send; tells the desks.
    void finish(std::int64_t id, bool sent, const std::string& log);

  private:
    Database& db_;
};

}  // namespace kv820
